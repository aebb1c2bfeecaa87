#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class CDatabase;
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

// A copy of the open database, wherever it is kept: a file as write() copies it; a database on
// a server is first read into a new database file (one consistent state of the server, every
// row checked by counts and sums), which is then copied in the same way. Either way the copy is
// a Kavio.mde that opens as a normal file database. Throws CDaoException with a German message.
QString writeOf(CDatabase& db, const QString& backupFolder, const QDateTime& now);

// How many other programs are connected to the database: on a server its other connections; a
// file's other users are kept out by its lock, so there it is 0.
int otherPrograms(CDatabase& db);

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

// Replaces the data of the server database the open connection works on by the chosen copy,
// the same core as restore(): the copy is checked, brought up to date in a scratch file and
// checked once more; refused, with the number in words, while any other program is connected
// to the server database; then the server's current data is saved as a copy in the folder, and
// only then every table is emptied and filled from the copy in one transaction on the server
// (the tables, rights and triggers stay). Returns the path of the copy of the replaced data.
// Throws CDaoException with a German message; then the server's data is as it was.
QString restoreOnServer(CDatabase& db, const QString& copyPath, const QString& backupFolder,
                        const QDateTime& now);

} // namespace Backup
