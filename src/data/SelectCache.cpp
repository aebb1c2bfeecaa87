#include "SelectCache.h"

#include "Schema.h"

#include <QHash>

#include <sqlite3.h>

#include <functional>

namespace {

void bindValues(sqlite3_stmt* statement, const std::vector<Jet::Parameter>& parameters) {
    int index = 1;
    for (const Jet::Parameter& parameter : parameters) {
        switch (parameter.kind) {
        case Jet::Parameter::Kind::Integer:
            sqlite3_bind_int64(statement, index, parameter.integer);
            break;
        case Jet::Parameter::Kind::Real:
            sqlite3_bind_double(statement, index, parameter.real);
            break;
        case Jet::Parameter::Kind::Text:
            sqlite3_bind_text(statement, index, parameter.text.data(),
                              static_cast<int>(parameter.text.size()), SQLITE_TRANSIENT);
            break;
        }
        ++index;
    }
}

bool sameParameter(const Jet::Parameter& a, const Jet::Parameter& b) {
    return a.kind == b.kind && a.integer == b.integer && a.real == b.real && a.text == b.text;
}

} // namespace

size_t SelectCache::KeyHash::operator()(const Key& key) const {
    return std::hash<const void*>()(key.source) ^ qHash(key.shape) ^ (qHash(key.sort) * 31);
}

CachedStatement SelectCache::prepare(const SourceDef& source, const QString& filter,
                                     const QString& sort) {
    const bool split = Jet::splitLiterals(filter, m_literals);
    if (split) {
        const auto it = m_entries.find(Key{&source, m_literals.shape, sort});
        if (it != m_entries.end()) {
            std::vector<Jet::Parameter>& values = m_literals.values;
            for (size_t i = 0; i < values.size(); ++i) {
                if (it->second.single[i]) {
                    values[i].single = true;
                    Jet::roundForSingle(values[i]);
                }
            }
            CachedStatement statement(&m_statements, it->second.statement);
            bindValues(statement.get(), values);
            return statement;
        }
    }

    Jet::Translation where = Jet::translateFilter(filter, source);
    const std::string order = Jet::translateSort(sort, source);
    std::string sql = source.selectHead();
    if (!where.sql.empty())
        sql += " WHERE " + where.sql;
    if (!order.empty())
        sql += " ORDER BY " + order;
    Entry entry{m_statements.slot(sql), {}};

    // The shape is kept only when its values are exactly what the translation binds, so that a
    // later filter of the same shape binds what its own translation would.
    bool same = split && m_literals.values.size() == where.parameters.size();
    for (size_t i = 0; same && i < where.parameters.size(); ++i) {
        Jet::Parameter value = m_literals.values[i];
        if (where.parameters[i].single)
            Jet::roundForSingle(value);
        same = sameParameter(value, where.parameters[i]);
        entry.single.push_back(where.parameters[i].single);
    }
    CachedStatement statement(&m_statements, entry.statement);
    bindValues(statement.get(), where.parameters);
    if (same) {
        if (m_entries.size() >= kMaxEntries)
            m_entries.clear();
        m_entries.emplace(Key{&source, m_literals.shape, sort}, std::move(entry));
    }
    return statement;
}
