#include "StatementCache.h"

#include "CDaoException.h"

#include <sqlite3.h>

StatementCache::~StatementCache() {
    clear();
}

StatementCache::Slot* StatementCache::slot(const std::string& sql) {
    auto it = m_slots.find(sql);
    if (it == m_slots.end()) {
        it = m_slots.emplace(sql, Slot()).first;
        it->second.sql = sql;
    }
    return &it->second;
}

sqlite3_stmt* StatementCache::acquire(Slot* slot) {
    if (!slot->idle.empty()) {
        sqlite3_stmt* statement = slot->idle.back();
        slot->idle.pop_back();
        --m_idleCount;
        return statement;
    }
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, slot->sql.c_str(), static_cast<int>(slot->sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        throw CDaoException::fromSqlite(m_db, rc);
    }
    return statement;
}

void StatementCache::release(Slot* slot, sqlite3_stmt* statement) {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (m_idleCount >= kMaxIdle) {
        sqlite3_finalize(statement);
        return;
    }
    slot->idle.push_back(statement);
    ++m_idleCount;
}

void StatementCache::clear() {
    for (auto& entry : m_slots) {
        for (sqlite3_stmt* statement : entry.second.idle)
            sqlite3_finalize(statement);
        entry.second.idle.clear();
    }
    m_idleCount = 0;
}

CachedStatement::CachedStatement(StatementCache* cache, const std::string& sql)
    : CachedStatement(cache, cache->slot(sql)) {}

CachedStatement::CachedStatement(StatementCache* cache, StatementCache::Slot* slot)
    : m_cache(cache), m_slot(slot), m_statement(cache->acquire(slot)) {}

CachedStatement::CachedStatement(CachedStatement&& other) noexcept
    : m_cache(other.m_cache), m_slot(other.m_slot), m_statement(other.m_statement) {
    other.m_statement = nullptr;
}

CachedStatement& CachedStatement::operator=(CachedStatement&& other) noexcept {
    if (this != &other) {
        reset();
        m_cache = other.m_cache;
        m_slot = other.m_slot;
        m_statement = other.m_statement;
        other.m_statement = nullptr;
    }
    return *this;
}

void CachedStatement::reset() {
    if (m_statement)
        m_cache->release(m_slot, m_statement);
    m_statement = nullptr;
}
