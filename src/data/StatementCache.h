#pragma once

#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Prepared statements kept per SQL text, so that the many small record sets a list opens
// (one look-up per row) do not prepare the same statement again each time.
class StatementCache {
public:
    explicit StatementCache(sqlite3* db) : m_db(db) {}
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // An idle statement for this SQL, or a newly prepared one; throws CDaoException.
    sqlite3_stmt* acquire(const std::string& sql);
    // Resets the statement and keeps it for the next caller of the same SQL.
    void release(const std::string& sql, sqlite3_stmt* statement);
    void clear();

private:
    static constexpr size_t kMaxIdle = 256;
    sqlite3* m_db;
    std::unordered_map<std::string, std::vector<sqlite3_stmt*>> m_idle;
    size_t m_idleCount = 0;
};

// A statement borrowed from the cache for one use; returned when this goes out of scope.
class CachedStatement {
public:
    CachedStatement() = default;
    CachedStatement(StatementCache* cache, std::string sql);
    ~CachedStatement() { reset(); }
    CachedStatement(CachedStatement&& other) noexcept;
    CachedStatement& operator=(CachedStatement&& other) noexcept;
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;

    sqlite3_stmt* get() const { return m_statement; }
    explicit operator bool() const { return m_statement != nullptr; }
    void reset();

private:
    StatementCache* m_cache = nullptr;
    std::string m_sql;
    sqlite3_stmt* m_statement = nullptr;
};
