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
    // The idle statements of one SQL text. Its address stays valid while the cache lives, so a
    // caller that runs the same SQL again and again keeps it and skips finding the text.
    struct Slot {
        std::string sql;
        std::vector<sqlite3_stmt*> idle;
    };

    explicit StatementCache(sqlite3* db) : m_db(db) {}
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // The slot of this SQL, made when it is new.
    Slot* slot(const std::string& sql);
    // An idle statement of the slot, or a newly prepared one; throws CDaoException.
    sqlite3_stmt* acquire(Slot* slot);
    // Resets the statement and keeps it for the next caller of the same SQL.
    void release(Slot* slot, sqlite3_stmt* statement);
    void clear();

private:
    static constexpr size_t kMaxIdle = 256;
    sqlite3* m_db;
    std::unordered_map<std::string, Slot> m_slots;
    size_t m_idleCount = 0;
};

// A statement borrowed from the cache for one use; returned when this goes out of scope.
class CachedStatement {
public:
    CachedStatement() = default;
    CachedStatement(StatementCache* cache, const std::string& sql);
    CachedStatement(StatementCache* cache, StatementCache::Slot* slot);
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
    StatementCache::Slot* m_slot = nullptr;
    sqlite3_stmt* m_statement = nullptr;
};
