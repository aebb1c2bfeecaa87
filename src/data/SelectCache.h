#pragma once

#include "JetFilter.h"
#include "StatementCache.h"

#include <QString>

#include <unordered_map>
#include <vector>

class SourceDef;

// The SELECT statements record sets run, kept per source, filter shape and sort. A list opens
// the same filter with other values over and over ("[ExtID]=17", then "[ExtID]=18"): from the
// second time on neither the filter is translated nor the SQL put together again; only the
// values are read from the filter. Belongs to one connection, as its statement cache does.
class SelectCache {
public:
    explicit SelectCache(StatementCache& statements) : m_statements(statements) {}
    SelectCache(const SelectCache&) = delete;
    SelectCache& operator=(const SelectCache&) = delete;

    // The statement of the source with filter and sort, its values bound. Throws CDaoException
    // for a filter or sort that cannot be translated.
    CachedStatement prepare(const SourceDef& source, const QString& filter, const QString& sort);

private:
    struct Key {
        const SourceDef* source;
        QString shape;
        QString sort;
        bool operator==(const Key& other) const {
            return source == other.source && shape == other.shape && sort == other.sort;
        }
    };
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };
    struct Entry {
        StatementCache::Slot* statement;
        std::vector<bool> single; // per value: rounded like a Single column
    };
    // Beyond this many shapes the cache starts afresh; a program uses far fewer.
    static constexpr size_t kMaxEntries = 1024;

    StatementCache& m_statements;
    std::unordered_map<Key, Entry, KeyHash> m_entries;
    Jet::Literals m_literals; // kept to reuse its memory
};
