#include "ExitMaintenance.h"

#include "ProgramDirectory.h"
#include "Purge.h"
#include "TemporaryCopy.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A raw connection that closes itself.
class Connection {
public:
    Connection(const QString& path, int flags) {
        m_rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
        if (m_db) {
            sqlite3_busy_timeout(m_db, 5000);
            sqlite3_extended_result_codes(m_db, 1);
            disableDoubleQuotedStrings(m_db);
        }
    }
    ~Connection() { sqlite3_close_v2(m_db); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool ok() const { return m_rc == SQLITE_OK; }
    sqlite3* get() const { return m_db; }

    void exec(const char* sql) {
        const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw CDaoException::fromSqlite(m_db, rc);
    }

private:
    sqlite3* m_db = nullptr;
    int m_rc = SQLITE_ERROR;
};

bool integrityOk(const QString& path) {
    Connection connection(path, SQLITE_OPEN_READONLY);
    if (!connection.ok())
        return false;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection.get(), "PRAGMA integrity_check", -1, &statement, nullptr) !=
        SQLITE_OK)
        return false;
    bool ok =
        sqlite3_step(statement) == SQLITE_ROW &&
        std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "ok") == 0;
    sqlite3_finalize(statement);
    return ok;
}

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
    Connection guard(databasePath, SQLITE_OPEN_READWRITE);
    if (!guard.ok())
        throw CDaoException::fromSqlite(guard.get(), SQLITE_CANTOPEN);
    guard.exec("BEGIN IMMEDIATE");

    TemporaryCopy copy(database.absolutePath(), QStringLiteral("compact"));

    Connection source(databasePath, SQLITE_OPEN_READONLY);
    if (!source.ok())
        throw CDaoException::fromSqlite(source.get(), SQLITE_CANTOPEN);
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(source.get(), "VACUUM INTO ?1", -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray target = copy.path().toUtf8();
        sqlite3_bind_text(statement, 1, target.constData(), target.size(), SQLITE_TRANSIENT);
        rc = sqlite3_step(statement);
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE && rc != SQLITE_OK)
        throw CDaoException::fromSqlite(source.get(), rc);

    if (!syncPath(copy.path(), O_RDONLY))
        throw CDaoException(CDaoException::IoError, systemError("Komprimieren der Datenbank"));
    if (!integrityOk(copy.path()))
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

// SQLite's quick check on the open database: what it reads, without the costly index checks.
bool quickCheckOk(CDatabase& db) {
    try {
        return db.queryText("PRAGMA quick_check") == QLatin1String("ok");
    } catch (const CDaoException&) {
        return false;
    }
}

} // namespace

void checkAndCompact(const QString& databasePath, MaintenanceReport& report) {
    report.sizeBefore = QFileInfo(databasePath).size();
    report.checked = true;
    report.intact = integrityOk(databasePath);
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
        if (!quickCheckOk(db)) {
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

QString maintenanceNotice(const MaintenanceReport& report) {
    if (!report.damageNotice.isEmpty())
        return report.damageNotice;
    if (!report.compactError.isEmpty())
        return report.compactError;
    return report.backupError;
}
