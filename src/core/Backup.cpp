#include "Backup.h"

#include "Settings.h"
#include "TemporaryCopy.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/DatabaseCheck.h"
#include "data/FileStore.h"
#include "data/Schema.h"
#include "data/ServerMove.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Backup {

namespace {

const char* const kFolderName = "Sicherung";
const char* const kTimeFormat = "yyyy-MM-dd-HHmmss";

// "Kavio-2024-05-01-181500.mde", or with "-2" before ".mde" when two copies fall on the same
// second.
const QRegularExpression& namePattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^Kavio-(\\d{4}-\\d{2}-\\d{2}-\\d{6})(?:-(\\d+))?\\.mde$"));
    return pattern;
}

QDateTime takenFromName(const QString& fileName) {
    const QRegularExpressionMatch match = namePattern().match(fileName);
    if (!match.hasMatch())
        return QDateTime();
    return QDateTime::fromString(match.captured(1), QLatin1String(kTimeFormat));
}

// The number of a copy within its second: 1 for the first, then the "-2", "-3" ... of the name.
int counterFromName(const QString& fileName) {
    const QRegularExpressionMatch match = namePattern().match(fileName);
    return match.hasMatch() && !match.captured(2).isEmpty() ? match.captured(2).toInt() : 1;
}

bool syncPath(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// A lock on the database file, as CDatabase::open (shared) and the compaction (exclusive)
// take it.
class FileLock {
public:
    FileLock(const QString& path, int operation)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)) {
        m_locked = m_fd >= 0 && ::flock(m_fd, operation | LOCK_NB) == 0;
        if (m_locked) {
            struct stat held {};
            struct stat current {};
            m_current = ::fstat(m_fd, &held) == 0 &&
                        ::stat(QFile::encodeName(path).constData(), &current) == 0 &&
                        held.st_dev == current.st_dev && held.st_ino == current.st_ino;
        }
    }
    ~FileLock() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    // Locked, and the file at the path is still the locked one.
    bool held() const { return m_locked && m_current; }

private:
    int m_fd;
    bool m_locked = false;
    bool m_current = false;
};

CDaoException ioError(const QString& text) {
    return CDaoException(CDaoException::IoError, text);
}

// A complete, compacted copy of the source written into `target` (which must not exist or be
// empty), which is then synced.
void copyDatabase(const QString& source, const QString& target) {
    FileStore::copyInto(source, target, source);
    if (!syncPath(target, O_RDONLY))
        throw ioError(QStringLiteral("Die Datensicherung %1 konnte nicht vollständig "
                                     "geschrieben werden: %2")
                          .arg(QDir::toNativeSeparators(target),
                               QString::fromLocal8Bit(std::strerror(errno))));
}

QString freeName(const QDir& folder, const QDateTime& now, const QString& suffix = QString()) {
    const QString stem =
        QStringLiteral("Kavio-") + now.toString(QLatin1String(kTimeFormat)) + suffix;
    QString name = stem + QStringLiteral(".mde");
    for (int n = 2; folder.exists(name); ++n)
        name = stem + QStringLiteral("-%1.mde").arg(n);
    return folder.filePath(name);
}

// The full check of a file, naming it as the user knows it; empty when it is fit.
QString problemOf(const QString& path, const QString& shownName) {
    try {
        FileStore::check(path, shownName, DatabaseCheck::Depth::Full);
    } catch (const CDaoException& error) {
        return error.description();
    }
    return QString();
}

// The copy, without taking a lock: the caller holds one. The database file is checked as
// opening checks it before the folder is made; the copy gets the full check, and its messages
// name the database file, not the temporary copy.
QString writeUnlocked(const QString& databasePath, const QString& backupFolder,
                      const QDateTime& now, const QString& shownAs = QString()) {
    const QString shownName = shownAs.isEmpty() ? QDir::toNativeSeparators(databasePath) : shownAs;
    try {
        FileStore::check(databasePath, shownName, DatabaseCheck::Depth::Opening);
    } catch (const CDaoException& error) {
        throw CDaoException(
            error.code(),
            QStringLiteral("Die Datensicherung wurde nicht angelegt: %1").arg(error.description()));
    }
    QDir folder(backupFolder);
    const bool made = !folder.exists();
    if (made && !QDir().mkpath(backupFolder))
        throw ioError(QStringLiteral("Der Ordner %1 für die Datensicherung kann nicht angelegt "
                                     "werden.")
                          .arg(QDir::toNativeSeparators(backupFolder)));
    try {
        TemporaryCopy temporary(backupFolder, QStringLiteral("backup"));
        copyDatabase(databasePath, temporary.path());
        const QString problem = problemOf(temporary.path(), shownName);
        if (!problem.isEmpty())
            throw CDaoException(
                CDaoException::Corrupt,
                QStringLiteral("Die Datensicherung wurde nicht angelegt: %1").arg(problem));
        const QString target = freeName(folder, now);
        if (!temporary.moveTo(target))
            throw ioError(QStringLiteral("Die Datensicherung %1 konnte nicht angelegt werden: %2")
                              .arg(QDir::toNativeSeparators(target),
                                   QString::fromLocal8Bit(std::strerror(errno))));
        syncPath(backupFolder, O_RDONLY | O_DIRECTORY);
        return target;
    } catch (...) {
        // A folder made for this copy is not left behind empty.
        if (made)
            QDir().rmdir(backupFolder);
        throw;
    }
}

// A database that cannot be copied as a database (damaged, or not ours) is kept byte for byte
// beside the copies, named "Kavio-<time>-beschaedigt.mde": the copies' rotation does not know
// that name, so it stays until the user removes it.
QString keepAsItIs(const QString& databasePath, const QString& backupFolder, const QDateTime& now) {
    QDir folder(backupFolder);
    if (!folder.exists() && !QDir().mkpath(backupFolder))
        throw ioError(QStringLiteral("Der Ordner %1 für die Datensicherung kann nicht angelegt "
                                     "werden.")
                          .arg(QDir::toNativeSeparators(backupFolder)));
    TemporaryCopy temporary(backupFolder, QStringLiteral("damaged"));
    QFile source(databasePath);
    QFile target(temporary.path());
    bool copied = source.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly);
    while (copied && !source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        copied = source.error() == QFileDevice::NoError && target.write(block) == block.size();
    }
    copied = copied && target.flush() && ::fsync(target.handle()) == 0;
    target.close();
    const QString kept = freeName(folder, now, QStringLiteral("-beschaedigt"));
    if (!copied || !temporary.moveTo(kept))
        throw ioError(QStringLiteral("Die bisherige Datenbank konnte nicht gesichert werden; sie "
                                     "bleibt unverändert."));
    syncPath(backupFolder, O_RDONLY | O_DIRECTORY);
    return kept;
}

// True when both paths name the same file.
bool sameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Writes the chosen copy into `target` (empty, in a folder this process may write) and checks
// it in full before anything else happens: opened as the program opens it (which brings an
// older copy up to date and checks every table and column), then checked in full once more.
// Its messages name the chosen copy.
void prepareReplacement(const QString& copyPath, const QString& target) {
    const QString shownCopy = QDir::toNativeSeparators(copyPath);
    copyDatabase(copyPath, target);
    QString copyProblem;
    try {
        CDatabase probe;
        probe.open(target);
        if (probe.isReadOnly())
            throw ioError(QStringLiteral("Die Kopie im Ordner %1 kann nicht beschrieben werden.")
                              .arg(QDir::toNativeSeparators(QFileInfo(target).absolutePath())));
        probe.close();
    } catch (const CDaoException& error) {
        copyProblem = QString(error.description()).replace(target, shownCopy);
    }
    if (copyProblem.isEmpty())
        copyProblem = problemOf(target, shownCopy);
    if (!copyProblem.isEmpty())
        throw CDaoException(
            CDaoException::Corrupt,
            QStringLiteral("%1 Die Datenbank bleibt unverändert.").arg(copyProblem));
}

// A folder of this process's own for the files a server's data passes through on its way.
class ScratchFolder {
public:
    ScratchFolder() {
        if (!m_folder.isValid())
            throw ioError(QStringLiteral("Für die Datensicherung kann kein vorläufiger Ordner "
                                         "angelegt werden: %1")
                              .arg(m_folder.errorString()));
    }
    QString filePath(const QString& name) const { return m_folder.filePath(name); }

private:
    QTemporaryDir m_folder;
};

PgConnection& serverConnection(CDatabase& db) {
    PgConnection* server = db.server();
    if (!server)
        throw CDaoException(CDaoException::CannotOpen,
                            QStringLiteral("Die Datenbank %1 liegt auf keinem Server.")
                                .arg(QDir::toNativeSeparators(db.path())));
    return *server;
}

// The server's data as a new database file in the scratch folder.
QString serverDataInFile(CDatabase& db, const ScratchFolder& scratch) {
    const QString taken = scratch.filePath(QStringLiteral("Kavio.mde"));
    try {
        ServerMove::copyIntoFile(serverConnection(db), taken);
    } catch (const CDaoException& error) {
        throw CDaoException(
            error.code(),
            QStringLiteral("Die Datensicherung wurde nicht angelegt: %1").arg(error.description()));
    }
    return taken;
}

CDaoException othersConnected(int others) {
    return CDaoException(
        CDaoException::Locked,
        ServerMove::othersConnectedText(others) +
            QStringLiteral("; die Datensicherung wurde deshalb nicht wiederhergestellt. Bitte "
                           "beenden Sie Vorlanto an den anderen Arbeitsplätzen und versuchen Sie "
                           "es noch einmal."));
}

} // namespace

Options readOptions(const CProfileFile& profile) {
    const QList<int> numbers =
        Settings::splitNumbers(Settings::readText(profile, Settings::Backup));
    Options options;
    if (!numbers.isEmpty())
        options.enabled = numbers.at(0) != 0;
    if (numbers.size() > 1 && numbers.at(1) > 0)
        options.keepLast = numbers.at(1);
    return options;
}

QString folder(const QString& programDirectory) {
    return QDir(programDirectory).filePath(QLatin1String(kFolderName));
}

QList<Copy> list(const QString& backupFolder) {
    QList<Copy> copies;
    const QFileInfoList files =
        QDir(backupFolder).entryInfoList({QStringLiteral("Kavio-*.mde")}, QDir::Files);
    for (const QFileInfo& file : files) {
        Copy copy;
        copy.taken = takenFromName(file.fileName());
        if (!copy.taken.isValid())
            continue;
        copy.path = file.absoluteFilePath();
        copy.size = file.size();
        QString count;
        if (FileStore::readText(copy.path, "SELECT count(*) FROM \"T_Event\" WHERE \"EventID\" > 0",
                                count))
            copy.events = count.toInt();
        copies.append(copy);
    }
    // Newest first; within one second the later copy carries the higher counter.
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        if (a.taken != b.taken)
            return a.taken > b.taken;
        return counterFromName(QFileInfo(a.path).fileName()) >
               counterFromName(QFileInfo(b.path).fileName());
    });
    return copies;
}

QString write(const QString& databasePath, const QString& backupFolder, const QDateTime& now) {
    // Like an open database: no restore may replace the file while it is copied.
    FileLock shared(databasePath, LOCK_SH);
    if (!shared.held())
        throw CDaoException(CDaoException::Locked,
                            QStringLiteral("Die Datenbank %1 wird gerade ersetzt; die "
                                           "Datensicherung wurde nicht angelegt.")
                                .arg(QDir::toNativeSeparators(databasePath)));
    return writeUnlocked(databasePath, backupFolder, now);
}

QString writeOf(CDatabase& db, const QString& backupFolder, const QDateTime& now) {
    if (!db.server())
        return write(db.path(), backupFolder, now);
    const ScratchFolder scratch;
    return writeUnlocked(serverDataInFile(db, scratch), backupFolder, now, db.path());
}

int otherPrograms(CDatabase& db) {
    return db.server() ? ServerMove::otherConnections(*db.server()) : 0;
}

QStringList rotate(const QString& backupFolder, const QDateTime& now, int keepLast) {
    const QList<Copy> copies = list(backupFolder); // newest first
    const QDateTime yearAgo = now.addYears(-1);
    QSet<int> monthsSeen;
    QStringList removed;
    for (int i = 0; i < copies.size(); ++i) {
        const Copy& copy = copies.at(i);
        const int month = copy.taken.date().year() * 12 + copy.taken.date().month();
        bool keep = i < keepLast;
        if (copy.taken > yearAgo && !monthsSeen.contains(month)) {
            monthsSeen.insert(month);
            keep = true;
        }
        if (!keep && QFile::remove(copy.path))
            removed.append(copy.path);
    }
    return removed;
}

QString checkCopy(const QString& path) {
    return problemOf(path, QDir::toNativeSeparators(path));
}

QString restore(const QString& databasePath, const QString& copyPath, const QString& backupFolder,
                const QDateTime& now) {
    const QFileInfo database(databasePath);
    const QString shownCopy = QDir::toNativeSeparators(copyPath);
    if (sameFile(databasePath, copyPath))
        throw CDaoException(CDaoException::CannotOpen,
                            QStringLiteral("Die Datei %1 ist die Datenbank selbst; sie kann nicht "
                                           "über sich selbst zurückgesichert werden. Die "
                                           "Datenbank bleibt unverändert.")
                                .arg(shownCopy));
    const QString problem = checkCopy(copyPath);
    if (!problem.isEmpty())
        throw CDaoException(CDaoException::Corrupt,
                            QStringLiteral("%1 Die Datenbank bleibt unverändert.").arg(problem));

    // The checked file that will take the database's place, beside it (rename stays on one
    // file system), written and checked in full before anything else happens.
    TemporaryCopy replacement(database.absolutePath(), QStringLiteral("restore"));
    prepareReplacement(copyPath, replacement.path());

    FileLock exclusive(databasePath, LOCK_EX);
    if (!exclusive.held())
        throw CDaoException(CDaoException::Locked,
                            QStringLiteral("Die Datenbank wird noch von einem anderen Programm "
                                           "benutzt und wurde deshalb nicht ersetzt. Bitte "
                                           "beenden Sie das andere Programm und versuchen Sie "
                                           "es noch einmal."));
    // The state replaced is kept: as a checked copy, or, when it is damaged (the reason for many
    // a restore) or not ours, byte for byte.
    QString saved;
    try {
        saved = writeUnlocked(databasePath, backupFolder, now);
    } catch (const CDaoException& error) {
        if (error.code() != CDaoException::Corrupt && error.code() != CDaoException::NotADatabase)
            throw;
        saved = keepAsItIs(databasePath, backupFolder, now);
    }
    QFile::setPermissions(replacement.path(), database.permissions());
    if (!replacement.moveTo(database.absoluteFilePath()))
        throw ioError(QStringLiteral("Die Datenbank konnte nicht ersetzt werden: %1")
                          .arg(QString::fromLocal8Bit(std::strerror(errno))));
    syncPath(database.absolutePath(), O_RDONLY | O_DIRECTORY);
    return saved;
}

QString restoreOnServer(CDatabase& db, const QString& copyPath, const QString& backupFolder,
                        const QDateTime& now) {
    PgConnection& server = serverConnection(db);
    const QString problem = checkCopy(copyPath);
    if (!problem.isEmpty())
        throw CDaoException(CDaoException::Corrupt,
                            QStringLiteral("%1 Die Datenbank bleibt unverändert.").arg(problem));
    const ScratchFolder scratch;
    const QString replacement = scratch.filePath(QStringLiteral("Kavio.mde"));
    prepareReplacement(copyPath, replacement);
    if (const int others = otherPrograms(db))
        throw othersConnected(others);
    // No record set goes on reading while the rows change under it.
    db.beforeWrite();
    QString saved;
    try {
        saved = writeOf(db, backupFolder, now);
    } catch (const CDaoException& error) {
        throw CDaoException(error.code(),
                            QStringLiteral("Der bisherige Stand der Datenbank konnte nicht "
                                           "gesichert werden, deshalb wurde nichts "
                                           "wiederhergestellt. %1")
                                .arg(error.description()));
    }
    try {
        ServerMove::replaceServerData(replacement, server);
    } catch (const CDaoException& error) {
        throw CDaoException(error.code(),
                            QStringLiteral("Die Datensicherung wurde nicht wiederhergestellt: %1 "
                                           "Die Datenbank auf dem Server bleibt unverändert.")
                                .arg(error.description()));
    }
    return saved;
}

} // namespace Backup
