#include "FileStore.h"

#include "CDaoException.h"
#include "CDatabase.h"

#include <sqlite3.h>

namespace FileStore {

namespace {

// A connection of its own to a file, closed when it goes out of scope.
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
    // Hands the connection over; the caller closes it.
    sqlite3* release() {
        sqlite3* db = m_db;
        m_db = nullptr;
        return db;
    }

private:
    sqlite3* m_db = nullptr;
    int m_rc = SQLITE_ERROR;
};

// The first column of the first row, if there is one; the result code of the step.
int firstText(sqlite3* db, const char* sql, QString& result, bool& found) {
    found = false;
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            found = true;
            result =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
                                  sqlite3_column_bytes(statement, 0));
        }
    }
    sqlite3_finalize(statement);
    return rc;
}

} // namespace

void copyInto(const QString& source, const QString& target, const QString& shownSource) {
    Connection connection(source, SQLITE_OPEN_READONLY);
    if (!connection.ok())
        throw CDaoException::fromSqlite(connection.get(), SQLITE_CANTOPEN, shownSource);
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(connection.get(), "VACUUM INTO ?1", -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray name = target.toUtf8();
        rc = sqlite3_bind_text(statement, 1, name.constData(), static_cast<int>(name.size()),
                               SQLITE_TRANSIENT);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(statement);
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE && rc != SQLITE_OK)
        throw CDaoException::fromSqlite(connection.get(), rc, shownSource);
}

void check(const QString& path, const QString& shownName, DatabaseCheck::Depth depth) {
    Connection connection(path, SQLITE_OPEN_READONLY);
    if (!connection.ok())
        throw CDaoException::fromSqlite(connection.get(), SQLITE_CANTOPEN, shownName);
    DatabaseCheck::check(connection.get(), shownName, depth);
}

bool isIntact(const QString& path) {
    Connection connection(path, SQLITE_OPEN_READONLY);
    if (!connection.ok())
        return false;
    QString result;
    bool found = false;
    firstText(connection.get(), "PRAGMA integrity_check", result, found);
    return found && result == QLatin1String("ok");
}

bool readText(const QString& path, const char* sql, QString& result) {
    Connection connection(path, SQLITE_OPEN_READONLY);
    if (!connection.ok())
        return false;
    bool found = false;
    firstText(connection.get(), sql, result, found);
    return found;
}

bool quickCheckOk(CDatabase& db) {
    try {
        return db.queryText("PRAGMA quick_check") == QLatin1String("ok");
    } catch (const CDaoException&) {
        return false;
    }
}

WriteLock::WriteLock(const QString& path) {
    Connection connection(path, SQLITE_OPEN_READWRITE);
    if (!connection.ok())
        throw CDaoException::fromSqlite(connection.get(), SQLITE_CANTOPEN);
    const int rc = sqlite3_exec(connection.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw CDaoException::fromSqlite(connection.get(), rc);
    m_db = connection.release();
}

WriteLock::~WriteLock() {
    // Closing ends the transaction that only held the lock.
    sqlite3_close_v2(m_db);
}

} // namespace FileStore
