#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class CProfileFile;

// Versioned copies of Kavio.mde in the folder "Sicherung" of the program directory, named
// Kavio-YYYY-MM-DD-HHMMSS.mde. A copy is written by the database engine itself (see
// FileStore::copyInto) into a temporary file, synced, checked and only then given its name, so
// a copy that carries a name is always complete.
namespace Backup {

struct Options {
    bool enabled = true;
    int keepLast = 10; // the newest copies always kept
};

// Settings "OPTIONS"/"Backup" in Kavio.ini: "1,10" = on, keep the last 10.
Options readOptions(const CProfileFile& profile);

// The folder of the copies of a program directory.
QString folder(const QString& programDirectory);

struct Copy {
    QString path;
    QDateTime taken; // from the file name
    qint64 size = 0;
    int events = -1; // number of events in the copy; -1 when it cannot be read
};

// The copies in the folder, newest first.
QList<Copy> list(const QString& backupFolder);

// Writes a copy of the database file (holding its shared lock meanwhile, like an open
// database) and returns its path. The database file is only read. Throws CDaoException with
// a German message when the folder cannot be created or written, the copy fails or is damaged.
QString write(const QString& databasePath, const QString& backupFolder, const QDateTime& now);

// Removes the copies nobody keeps any more and returns their paths: kept are the newest
// `keepLast` copies and, for each calendar month of the last year, the newest copy of that
// month. Files not named like a copy are never touched.
QStringList rotate(const QString& backupFolder, const QDateTime& now, int keepLast);

// Why a file cannot replace the database: damaged, not one of ours, or from a newer version.
// Empty when it is fit.
QString checkCopy(const QString& path);

// Replaces the database file by the chosen copy. In this order: the copy is written beside the
// database and checked; the database (which must be closed: nobody may hold its shared lock) is
// locked exclusively and saved as a copy itself (a damaged one byte for byte, as
// "Kavio-<time>-beschaedigt.mde"); only then the checked file is renamed over it.
// Returns the path of the copy of the replaced file. Throws CDaoException with a German message;
// then the database file is as it was.
QString restore(const QString& databasePath, const QString& copyPath, const QString& backupFolder,
                const QDateTime& now);

} // namespace Backup
