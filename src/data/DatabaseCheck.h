#pragma once

#include <QString>

struct sqlite3;

// The one check of a database file, shared by opening, backup and restore: a file of ours
// (application id), not from a newer version, with every table and column opening needs. The
// full check adds SQLite's integrity check, which opening leaves out so that start-up stays fast.
//
// Each part throws CDaoException with the reason, naming the file as `shownName`: NotADatabase
// for a file that is not ours or from a newer version, Corrupt for a damaged or incomplete one.
namespace DatabaseCheck {

enum class Depth { Opening, Full };

// The whole check on a connection to the file. A file of an older version passes the table
// check: opening upgrades it first and then checks its tables (see checkTables).
void check(sqlite3* db, const QString& shownName, Depth depth);

// The file is ours and not newer than this program; gives its schema version.
int checkIdentity(sqlite3* db, const QString& shownName);
// Every table with every column this program reads and writes.
void checkTables(sqlite3* db, const QString& shownName);
// SQLite's full integrity check.
void checkIntegrity(sqlite3* db, const QString& shownName);

} // namespace DatabaseCheck
