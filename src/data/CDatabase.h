#pragma once

#include "JetFilter.h"
#include "PgConnection.h"
#include "StatementCache.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
class CRecordset;
class SelectCache;
class SourceDef;

// The one connection to the program's database file. Record sets are opened on it and it keeps
// their prepared statements; it never shows a message: errors are thrown as CDaoException.
class CDatabase {
public:
    CDatabase();
    ~CDatabase();
    CDatabase(const CDatabase&) = delete;
    CDatabase& operator=(const CDatabase&) = delete;

    // Opens an existing database file read-write and shared. Throws CDaoException when the
    // file is missing, is no database, is not one of ours (application_id), comes from a newer
    // version, or lacks a table or column. A file of an older version is upgraded. While open,
    // the connection holds a shared lock on the file (flock), so the exit maintenance of
    // another running program never replaces the file under it.
    void open(const QString& path);
    // Opens the band database on a PostgreSQL server, given as a libpq connection URI; `user`
    // and `password`, when not empty, log in in place of the URI's. Throws CDaoException when
    // the server cannot be reached, refuses the login, or holds no band database or one of a
    // newer version. Nothing else changes for the callers: record sets, queries and
    // transactions work as on a file.
    void openServer(const std::string& uri, const QString& user = QString(),
                    const QString& password = QString());
    // Closes every record set still open on it, then the connection.
    void close();
    bool isOpen() const { return m_db != nullptr || m_server != nullptr; }
    // True when the file could only be opened for reading (write-protected file or folder), the
    // server's login may only read, or the session was made read-only. Asks nothing of the
    // engine: forms and menus may ask it at any time, even with the connection lost.
    bool isReadOnly() const;
    // Makes the rest of this connection's life read-only: the engine refuses every write. For a
    // program started beside another one on the same database, which must not overwrite its
    // work. Throws CDaoException when the engine refuses the setting.
    void setReadOnlySession();

    // A lost server connection. The statement that notices it throws CDaoException
    // ConnectionLost; the next statement outside a transaction connects again with the same
    // URI, role and password (and sets the session up as before) and runs when that works;
    // otherwise it throws ConnectionLost again. Every loss, from its first failed statement until
    // the connection works again, counts once in lossesSoFar(), over all connections of the
    // program: so the message about it is shown once per loss (see MessageService).
    bool connectionLost() const { return m_lost; }
    // Counts the times the server connection was made again since the database was opened;
    // whoever waits on its socket (watchOthersChanges) watches the new one when it changed.
    int reconnections() const { return m_reconnections; }
    static int lossesSoFar();
    // The file's path; on a server the database and host in words.
    const QString& path() const { return m_path; }
    // The SQL dialect of the engine this connection runs on. Code above the data layer only
    // passes it on to the data layer's SQL helpers (SqlText) and never branches on it.
    Jet::Dialect dialect() const { return m_server ? Jet::Dialect::Server : Jet::Dialect::File; }
    // The server connection, or nullptr on a file: for the data layer's own classes.
    PgConnection* server() const { return m_server.get(); }

    // Runs statements that need no result (schema, maintenance); throws CDaoException.
    void execute(const std::string& sql);
    // Runs one statement that changes rows, its parameters ?1, ?2 … bound to the texts in
    // order; throws CDaoException.
    void execute(const std::string& sql, const std::vector<QString>& texts);
    // The first column of the first row of a query, as text; empty when there is no row.
    QString queryText(const std::string& sql);

    sqlite3* handle() const { return m_db; }

    // Changes that other programs save on the same database, told as they happen: a socket
    // that becomes readable when there are some, or -1 where no other program writes (a
    // file). takeOthersChanges() reads what arrived, without waiting: per change the table and
    // the key it is told by (the table's key, or the event of a row that belongs to one).
    struct SavedChange {
        std::string table;
        std::int64_t key = 0;
    };
    int watchOthersChanges();
    std::vector<SavedChange> takeOthersChanges();

    // --- used by the record sets and transactions ------------------------------------
    // On a server: runs one statement written with "?"/"?N" parameters. A statement that
    // `writes` stops live reads first and, inside a transaction, is undone alone when refused.
    // `types` as for PgConnection::query.
    PgResult serverQuery(const std::string& sql,
                         const std::vector<std::optional<std::string>>& values, bool writes,
                         const std::vector<unsigned>& types = {});
    CachedStatement prepare(const std::string& sql);
    // The SELECT of a record set on the source with filter and sort, its values bound. Throws
    // CDaoException for a filter or sort it cannot translate.
    CachedStatement prepareSelect(const SourceDef& source, const QString& filter,
                                  const QString& sort);
    void attach(CRecordset* recordset);
    void detach(CRecordset* recordset);
    // Called before every write: open record sets stop reading from a live statement, so a
    // write never changes a result that is being read.
    void beforeWrite();
    int& transactionDepth() { return m_transactionDepth; }
    // The condition "column holds the bound value", null included, as this engine writes it.
    std::string sameValueCondition(const std::string& quotedColumn) const;
    // While a CDbWriteOver exists, edits write their values without comparing (see there).
    bool writesOver() const { return m_writeOverDepth > 0; }
    int& writeOverDepth() { return m_writeOverDepth; }

private:
    // The server connection, connected again first when it broke and no transaction is open;
    // throws ConnectionLost otherwise.
    PgConnection& liveServer();
    // Runs a call on the server connection, counting a loss it meets.
    template <class Call> auto onServer(Call call);
    void noteLoss();
    bool connect(const QString& path);
    void checkSchema();
    void throwIfFailed(int resultCode);

    sqlite3* m_db = nullptr;
    QString m_path;
    std::unique_ptr<StatementCache> m_statements;
    std::unique_ptr<SelectCache> m_selects; // refers to m_statements
    std::vector<CRecordset*> m_recordsets;
    int m_transactionDepth = 0;
    int m_writeOverDepth = 0;
    int m_useLock = -1; // descriptor holding a shared lock on the file while it is open
    std::unique_ptr<PgConnection> m_server;
    bool m_serverReadOnly = false; // the server's login may only read
    bool m_readOnlySession = false;
    bool m_listening = false; // told of others' changes (LISTEN), again after a reconnect
    bool m_lost = false;      // the server connection broke and has not come back yet
    int m_reconnections = 0;
};

// Reads several statements from one state of the file: a deferred transaction that only reads,
// ended when it goes out of scope. Inside a transaction of the caller it does nothing.
class CDbReadSnapshot {
public:
    explicit CDbReadSnapshot(CDatabase& db);
    ~CDbReadSnapshot();
    CDbReadSnapshot(const CDbReadSnapshot&) = delete;
    CDbReadSnapshot& operator=(const CDbReadSnapshot&) = delete;

private:
    CDatabase& m_db;
    const bool m_own;
};

// Every connection to a database file reads "Name" only as a column name, never as a text.
void disableDoubleQuotedStrings(sqlite3* db);

// Changes several rows together: rolled back when it goes out of scope without commit().
// Nested guards become savepoints of the outer transaction.
class CDbTransaction {
public:
    explicit CDbTransaction(CDatabase& db);
    ~CDbTransaction();
    CDbTransaction(const CDbTransaction&) = delete;
    CDbTransaction& operator=(const CDbTransaction&) = delete;

    void commit();

private:
    CDatabase& m_db;
    int m_level;
    bool m_open = true;
};

// The user chose to write his values over a row that someone else changed since it was read:
// while it exists, edits on the connection write every column set and only check that the row
// still exists.
class CDbWriteOver {
public:
    explicit CDbWriteOver(CDatabase& db) : m_db(db) { ++m_db.writeOverDepth(); }
    ~CDbWriteOver() { --m_db.writeOverDepth(); }
    CDbWriteOver(const CDbWriteOver&) = delete;
    CDbWriteOver& operator=(const CDbWriteOver&) = delete;

private:
    CDatabase& m_db;
};
