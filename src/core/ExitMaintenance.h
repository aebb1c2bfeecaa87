#pragma once

#include "Backup.h"

#include <QDateTime>
#include <QString>

class CDatabase;

// What the exit maintenance did, for the maintenance tool to print.
struct MaintenanceReport {
    int purged = -1;        // rows removed; -1 when the purge did not run or failed
    QString purgeError;     // the database's description when the purge failed
    bool checked = false;   // the integrity check ran
    bool intact = false;    // and found the file intact
    bool compacted = false; // the compacted copy replaced the file
    QString compactError;   // why compaction failed (also shown to the user)
    QString damageNotice;   // what the user should do about a file that failed the check
    qint64 sizeBefore = 0;
    qint64 sizeAfter = 0;
    QString backupPath;         // the versioned copy written after the maintenance
    QString backupError;        // why it was not written
    QStringList backupsRemoved; // older copies the rotation removed
    // On a server: how many other programs were connected; the purge waited for them to leave.
    int othersConnected = 0;
};

// Runs at exit, in this order: quick check (a damaged file is left untouched, not even purged),
// purge of flagged master rows (database still open), close, integrity check, compaction.
// Compaction writes a complete copy beside the file, syncs it and renames it over the file, so the
// database is never missing or half-written, whenever the process stops. A failed check skips
// compaction; a failed compaction leaves the file as it was. Nothing is shown here: the caller
// tells the user what the report says.
MaintenanceReport runExitMaintenance(CDatabase& db, const QString& databasePath);

// The integrity check and compaction alone, on a closed database file.
void checkAndCompact(const QString& databasePath, MaintenanceReport& report);

// After a successful maintenance (the compacted file is in place): a versioned copy in the
// folder "Sicherung" beside the database, then the rotation of the older copies. Does nothing
// when the maintenance failed or copies are switched off. A failed copy leaves the database
// untouched and is reported in backupError.
void backupAfterMaintenance(const QString& databasePath, const Backup::Options& options,
                            const QDateTime& now, MaintenanceReport& report);

// At exit on a database kept on a server, while the connection is still open: the purge, but
// only while no other program is connected to the database (the last one to leave purges; a
// purge under others' feet would remove rows they are just choosing), then a versioned copy in
// the folder "Sicherung" of the program directory and the rotation, when copies are switched
// on. The server checks and vacuums its database itself: no check, no compaction. Nothing is
// shown here; a failed copy is reported in backupError.
MaintenanceReport runServerMaintenance(CDatabase& db, const QString& programDirectory,
                                       const Backup::Options& options, const QDateTime& now);

// The one message to show after the maintenance: what to do about a damaged file, else why
// compaction failed, else why the backup failed, else nothing (empty).
QString maintenanceNotice(const MaintenanceReport& report);
