#include "StatementCache.h"

#include "CDaoException.h"

#include <sqlite3.h>

StatementCache::~StatementCache() {
    clear();
}

sqlite3_stmt* StatementCache::acquire(const std::string& sql) {
    auto it = m_idle.find(sql);
    if (it != m_idle.end() && !it->second.empty()) {
        sqlite3_stmt* statement = it->second.back();
        it->second.pop_back();
        --m_idleCount;
        return statement;
    }
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql.c_str(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        throw CDaoException::fromSqlite(m_db, rc);
    }
    return statement;
}

void StatementCache::release(const std::string& sql, sqlite3_stmt* statement) {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (m_idleCount >= kMaxIdle) {
        sqlite3_finalize(statement);
        return;
    }
    m_idle[sql].push_back(statement);
    ++m_idleCount;
}

void StatementCache::clear() {
    for (auto& entry : m_idle) {
        for (sqlite3_stmt* statement : entry.second)
            sqlite3_finalize(statement);
    }
    m_idle.clear();
    m_idleCount = 0;
}

CachedStatement::CachedStatement(StatementCache* cache, std::string sql)
    : m_cache(cache), m_sql(std::move(sql)), m_statement(cache->acquire(m_sql)) {}

CachedStatement::CachedStatement(CachedStatement&& other) noexcept
    : m_cache(other.m_cache), m_sql(std::move(other.m_sql)), m_statement(other.m_statement) {
    other.m_statement = nullptr;
}

CachedStatement& CachedStatement::operator=(CachedStatement&& other) noexcept {
    if (this != &other) {
        reset();
        m_cache = other.m_cache;
        m_sql = std::move(other.m_sql);
        m_statement = other.m_statement;
        other.m_statement = nullptr;
    }
    return *this;
}

void CachedStatement::reset() {
    if (m_statement)
        m_cache->release(m_sql, m_statement);
    m_statement = nullptr;
}
