#include "SelectCache.h"

#include "Schema.h"

#include <QHash>

#include <functional>

namespace {

bool sameParameter(const Jet::Parameter& a, const Jet::Parameter& b) {
    return a.kind == b.kind && a.integer == b.integer && a.real == b.real && a.text == b.text;
}

} // namespace

size_t SelectCache::KeyHash::operator()(const Key& key) const {
    return std::hash<const void*>()(key.source) ^ qHash(key.shape) ^ (qHash(key.sort) * 31);
}

CachedStatement SelectCache::prepare(const SourceDef& source, const QString& filter,
                                     const QString& sort, std::vector<Jet::Parameter>& parameters) {
    const bool split = Jet::splitLiterals(filter, m_literals);
    if (split) {
        const auto it = m_entries.find(Key{&source, m_literals.shape, sort});
        if (it != m_entries.end()) {
            parameters.swap(m_literals.values);
            for (size_t i = 0; i < parameters.size(); ++i) {
                if (it->second.single[i]) {
                    parameters[i].single = true;
                    Jet::roundForSingle(parameters[i]);
                }
            }
            return CachedStatement(&m_statements, it->second.statement);
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
    parameters = std::move(where.parameters);
    CachedStatement statement(&m_statements, entry.statement);
    if (same) {
        if (m_entries.size() >= kMaxEntries)
            m_entries.clear();
        m_entries.emplace(Key{&source, m_literals.shape, sort}, std::move(entry));
    }
    return statement;
}
