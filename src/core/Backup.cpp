#include "Backup.h"

#include "Settings.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sqlite3.h>
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

// A raw read-only connection that closes itself.
class ReadConnection {
public:
    explicit ReadConnection(const QString& path) {
        m_rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
        if (m_db) {
            sqlite3_busy_timeout(m_db, 5000);
            disableDoubleQuotedStrings(m_db);
        }
    }
    ~ReadConnection() { sqlite3_close_v2(m_db); }
    ReadConnection(const ReadConnection&) = delete;
    ReadConnection& operator=(const ReadConnection&) = delete;
    bool ok() const { return m_rc == SQLITE_OK; }
    sqlite3* get() const { return m_db; }

    // The first column of the first row; false when the query fails or has no row.
    bool text(const char* sql, QString& result) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) {
            sqlite3_finalize(statement);
            return false;
        }
        const bool row = sqlite3_step(statement) == SQLITE_ROW;
        if (row)
            result =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return row;
    }

private:
    sqlite3* m_db = nullptr;
    int m_rc = SQLITE_ERROR;
};

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

// SQLite writes a complete, compacted copy of the source into `target` (which must not exist
// or be empty), which is then synced.
void copyDatabase(const QString& source, const QString& target) {
    ReadConnection connection(source);
    if (!connection.ok())
        throw CDaoException::fromSqlite(connection.get(), SQLITE_CANTOPEN, source);
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(connection.get(), "VACUUM INTO ?1", -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray name = target.toUtf8();
        sqlite3_bind_text(statement, 1, name.constData(), name.size(), SQLITE_TRANSIENT);
        rc = sqlite3_step(statement);
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE && rc != SQLITE_OK)
        throw CDaoException::fromSqlite(connection.get(), rc, source);
    if (!syncPath(target, O_RDONLY))
        throw ioError(QStringLiteral("Die Datensicherung %1 konnte nicht vollständig "
                                     "geschrieben werden: %2")
                          .arg(QDir::toNativeSeparators(target),
                               QString::fromLocal8Bit(std::strerror(errno))));
}

// An empty temporary file in the folder, for VACUUM INTO; removed again unless kept.
std::unique_ptr<QTemporaryFile> temporaryIn(const QString& folder, const QString& prefix) {
    auto file = std::make_unique<QTemporaryFile>(QDir(folder).filePath(prefix + "XXXXXX"));
    if (!file->open())
        throw ioError(QStringLiteral("Im Ordner %1 kann keine Datei angelegt werden. Bitte "
                                     "prüfen Sie, ob der Ordner beschreibbar ist und auf dem "
                                     "Datenträger noch Platz ist.")
                          .arg(QDir::toNativeSeparators(folder)));
    file->close();
    // VACUUM INTO refuses a target that exists with content; an empty file is accepted.
    return file;
}

QString freeName(const QDir& folder, const QDateTime& now) {
    const QString stem = QStringLiteral("Kavio-") + now.toString(QLatin1String(kTimeFormat));
    QString name = stem + QStringLiteral(".mde");
    for (int n = 2; folder.exists(name); ++n)
        name = stem + QStringLiteral("-%1.mde").arg(n);
    return folder.filePath(name);
}

// The copy, without taking a lock: the caller holds one.
QString writeUnlocked(const QString& databasePath, const QString& backupFolder,
                      const QDateTime& now) {
    QDir folder(backupFolder);
    if (!folder.exists() && !QDir().mkpath(backupFolder))
        throw ioError(QStringLiteral("Der Ordner %1 für die Datensicherung kann nicht angelegt "
                                     "werden.")
                          .arg(QDir::toNativeSeparators(backupFolder)));
    std::unique_ptr<QTemporaryFile> temporary =
        temporaryIn(backupFolder, QStringLiteral(".Kavio-backup-"));
    copyDatabase(databasePath, temporary->fileName());
    const QString problem = checkCopy(temporary->fileName());
    if (!problem.isEmpty())
        throw CDaoException(
            CDaoException::Corrupt,
            QStringLiteral("Die Datensicherung wurde nicht angelegt: %1").arg(problem));
    const QString target = freeName(folder, now);
    if (std::rename(QFile::encodeName(temporary->fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0)
        throw ioError(QStringLiteral("Die Datensicherung %1 konnte nicht angelegt werden: %2")
                          .arg(QDir::toNativeSeparators(target),
                               QString::fromLocal8Bit(std::strerror(errno))));
    temporary->setAutoRemove(false);
    syncPath(backupFolder, O_RDONLY | O_DIRECTORY);
    return target;
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
        ReadConnection connection(copy.path);
        QString count;
        if (connection.ok() &&
            connection.text("SELECT count(*) FROM \"T_Event\" WHERE \"EventID\" > 0", count))
            copy.events = count.toInt();
        copies.append(copy);
    }
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        return a.taken != b.taken ? a.taken > b.taken : a.path > b.path;
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
    const QString name = QDir::toNativeSeparators(path);
    ReadConnection connection(path);
    QString value;
    if (!connection.ok() || !connection.text("PRAGMA application_id", value))
        return QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(name);
    if (value.toLongLong() != Schema::kApplicationId)
        return QStringLiteral("Die Datei %1 ist keine Vorlanto-Datenbank.").arg(name);
    if (!connection.text("PRAGMA user_version", value) || value.toInt() > Schema::kVersion)
        return QStringLiteral("Die Datei %1 stammt von einer neueren Vorlanto-Version.").arg(name);
    if (!connection.text("PRAGMA integrity_check", value) || value != QLatin1String("ok"))
        return QStringLiteral("Die Datei %1 ist beschädigt.").arg(name);
    return QString();
}

QString restore(const QString& databasePath, const QString& copyPath, const QString& backupFolder,
                const QDateTime& now) {
    const QFileInfo database(databasePath);
    const QString problem = checkCopy(copyPath);
    if (!problem.isEmpty())
        throw CDaoException(CDaoException::Corrupt,
                            QStringLiteral("%1 Die Datenbank bleibt unverändert.").arg(problem));

    // The checked file that will take the database's place, beside it (rename stays on one
    // file system), written and checked in full before anything else happens.
    std::unique_ptr<QTemporaryFile> replacement =
        temporaryIn(database.absolutePath(), database.fileName() + QStringLiteral(".restore-"));
    copyDatabase(copyPath, replacement->fileName());
    const QString copyProblem = checkCopy(replacement->fileName());
    if (!copyProblem.isEmpty())
        throw CDaoException(CDaoException::Corrupt,
                            QStringLiteral("Die Kopie der Datensicherung ist fehlerhaft; die "
                                           "Datenbank bleibt unverändert."));

    FileLock exclusive(databasePath, LOCK_EX);
    if (!exclusive.held())
        throw CDaoException(CDaoException::Locked,
                            QStringLiteral("Die Datenbank wird noch von einem anderen Programm "
                                           "benutzt und wurde deshalb nicht ersetzt. Bitte "
                                           "beenden Sie das andere Programm und versuchen Sie "
                                           "es noch einmal."));
    const QString saved = writeUnlocked(databasePath, backupFolder, now);
    QFile::setPermissions(replacement->fileName(), database.permissions());
    if (std::rename(QFile::encodeName(replacement->fileName()).constData(),
                    QFile::encodeName(database.absoluteFilePath()).constData()) != 0)
        throw ioError(QStringLiteral("Die Datenbank konnte nicht ersetzt werden: %1")
                          .arg(QString::fromLocal8Bit(std::strerror(errno))));
    replacement->setAutoRemove(false);
    syncPath(database.absolutePath(), O_RDONLY | O_DIRECTORY);
    return saved;
}

} // namespace Backup
