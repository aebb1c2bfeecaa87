#pragma once

#include "DatabaseCheck.h"

#include <QString>

struct sqlite3;
class CDatabase;

// Work on database files as whole files, beside the program's connection: copies, checks, and
// the lock that keeps other programs from writing while a file is replaced. Each function opens
// its own short connection to the file. Errors are thrown as CDaoException.
namespace FileStore {

// Writes a complete, compacted copy of the database file at `source` into `target`, which must
// not exist or be empty; the caller syncs it. Other programs may go on reading and writing the
// source meanwhile: the copy shows one state of it. Throws CDaoException; where the engine
// names no file, the message names `shownSource`.
void copyInto(const QString& source, const QString& target, const QString& shownSource = {});

// Checks the file to the depth (see DatabaseCheck), opened for reading only; throws
// CDaoException naming it as `shownName`, also when it cannot be opened.
void check(const QString& path, const QString& shownName, DatabaseCheck::Depth depth);

// True when the file opens and the full integrity check finds nothing wrong.
bool isIntact(const QString& path);

// The first column of the first row of a query on the file, opened for reading only. False
// when the file cannot be opened or the query fails or gives no row.
bool readText(const QString& path, const char* sql, QString& result);

// True when the open database passes the quick check: everything it reads, without the costly
// index checks. False also when the check cannot run.
bool quickCheckOk(CDatabase& db);

// While it exists, no other connection can write the file (readers go on): taken before the
// file is replaced by a copy, so that no change is written into the file being replaced.
class WriteLock {
public:
    // Throws CDaoException when the file cannot be opened for writing or another connection
    // is writing it.
    explicit WriteLock(const QString& path);
    ~WriteLock();
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

private:
    sqlite3* m_db = nullptr;
};

} // namespace FileStore
