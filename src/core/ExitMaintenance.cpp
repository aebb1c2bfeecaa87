#include "ExitMaintenance.h"

#include "ProgramDirectory.h"
#include "Purge.h"
#include "TemporaryCopy.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/FileStore.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool syncPath(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QString::fromUtf8(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

// An exclusive lock on the file: only granted while no open database holds its shared lock.
class FileLock {
public:
    explicit FileLock(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)) {
        m_locked = m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
    }
    ~FileLock() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool locked() const { return m_locked; }
    // True when the locked file is still the one at the path: another compaction may have
    // renamed its copy over the path between our open and our lock.
    bool isFileAt(const QString& path) const {
        struct stat held {};
        struct stat current {};
        return m_locked && ::fstat(m_fd, &held) == 0 &&
               ::stat(QFile::encodeName(path).constData(), &current) == 0 &&
               held.st_dev == current.st_dev && held.st_ino == current.st_ino;
    }

private:
    int m_fd;
    bool m_locked = false;
};

void compact(const QString& databasePath) {
    const QFileInfo database(databasePath);

    // Another running program still using the file would go on writing into the replaced
    // file and lose its changes: then the file stays as it is until a later exit.
    FileLock exclusive(databasePath);
    if (!exclusive.locked())
        throw CDaoException(CDaoException::Locked,
                            QStringLiteral("Die Datenbank wird noch von einem anderen Programm "
                                           "benutzt und wurde deshalb nicht komprimiert."));
    if (!exclusive.isFileAt(databasePath))
        throw CDaoException(CDaoException::Locked,
                            QStringLiteral("Die Datenbank wurde gerade von einem anderen Programm "
                                           "komprimiert und wurde deshalb nicht noch einmal "
                                           "komprimiert."));
    removeLeftoverCopies(database.absolutePath());
    // While the copy is written and renamed, no other program may change the file.
    const FileStore::WriteLock guard(databasePath);

    TemporaryCopy copy(database.absolutePath(), QStringLiteral("compact"));

    FileStore::copyInto(databasePath, copy.path());

    if (!syncPath(copy.path(), O_RDONLY))
        throw CDaoException(CDaoException::IoError, systemError("Komprimieren der Datenbank"));
    if (!FileStore::isIntact(copy.path()))
        throw CDaoException(CDaoException::Corrupt,
                            QStringLiteral("Die komprimierte Kopie der Datenbank ist nicht "
                                           "fehlerfrei; die Datenbank bleibt unverändert."));
    QFile::setPermissions(copy.path(), database.permissions());
    // rename() replaces the file in one step: either the old or the new file is there.
    if (!copy.moveTo(database.absoluteFilePath()))
        throw CDaoException(CDaoException::IoError, systemError("Komprimieren der Datenbank"));
    syncPath(database.absolutePath(), O_RDONLY | O_DIRECTORY);
}

void reportDamage(const QString& databasePath, MaintenanceReport& report) {
    report.checked = true;
    report.intact = false;
    report.damageNotice =
        QStringLiteral("Die Datenbank %1 ist beschädigt. Die Datei wurde unverändert "
                       "gelassen und nicht komprimiert.\n\nBitte stellen Sie Ihre letzte "
                       "Datensicherung oder eine Kopie der Datei wieder her, bevor Sie "
                       "weiterarbeiten, damit keine weiteren Daten verloren gehen.")
            .arg(QDir::toNativeSeparators(databasePath));
    report.sizeBefore = QFileInfo(databasePath).size();
    report.sizeAfter = report.sizeBefore;
}

} // namespace

void checkAndCompact(const QString& databasePath, MaintenanceReport& report) {
    report.sizeBefore = QFileInfo(databasePath).size();
    report.checked = true;
    report.intact = FileStore::isIntact(databasePath);
    if (!report.intact) {
        reportDamage(databasePath, report);
        return;
    }
    try {
        compact(databasePath);
        report.compacted = true;
    } catch (const CDaoException& error) {
        report.compactError = error.description();
    }
    report.sizeAfter = QFileInfo(databasePath).size();
}

MaintenanceReport runExitMaintenance(CDatabase& db, const QString& databasePath) {
    MaintenanceReport report;
    if (db.isOpen()) {
        // Writing into a damaged file can make it worse: a file that fails the quick check is
        // left as it is, not even purged.
        if (!FileStore::quickCheckOk(db)) {
            db.close();
            reportDamage(databasePath, report);
            return report;
        }
        try {
            report.purged = purgeDeletedMasterRecords(db);
        } catch (const CDaoException& error) {
            // The purge runs silently; flagged rows are examined again next time.
            report.purgeError = error.description();
        }
    }
    db.close();
    checkAndCompact(databasePath, report);
    return report;
}

void backupAfterMaintenance(const QString& databasePath, const Backup::Options& options,
                            const QDateTime& now, MaintenanceReport& report) {
    if (!options.enabled || !report.intact || !report.compacted)
        return;
    const QString folder = Backup::folder(QFileInfo(databasePath).absolutePath());
    try {
        report.backupPath = Backup::write(databasePath, folder, now);
        report.backupsRemoved = Backup::rotate(folder, now, options.keepLast);
    } catch (const CDaoException& error) {
        report.backupError = error.description();
    }
}

MaintenanceReport runServerMaintenance(CDatabase& db, const QString& programDirectory,
                                       const Backup::Options& options, const QDateTime& now) {
    MaintenanceReport report;
    try {
        report.othersConnected = Backup::otherPrograms(db);
        if (report.othersConnected == 0)
            report.purged = purgeDeletedMasterRecords(db);
    } catch (const CDaoException& error) {
        // As on a file: silent, the flagged rows are examined again next time.
        report.purgeError = error.description();
    }
    if (!options.enabled)
        return report;
    const QString folder = Backup::folder(programDirectory);
    try {
        report.backupPath = Backup::writeOf(db, folder, now);
        report.backupsRemoved = Backup::rotate(folder, now, options.keepLast);
    } catch (const CDaoException& error) {
        report.backupError = error.description();
    }
    return report;
}

QString maintenanceNotice(const MaintenanceReport& report) {
    if (!report.damageNotice.isEmpty())
        return report.damageNotice;
    if (!report.compactError.isEmpty())
        return report.compactError;
    return report.backupError;
}
