#include "SqlText.h"

namespace SqlText {

namespace {

bool onServer(Jet::Dialect dialect) {
    return dialect == Jet::Dialect::Server;
}

std::string parameterName(int parameter) {
    return "?" + std::to_string(parameter);
}

// min()/max() with several arguments in the file, where a missing value is replaced by one that
// never wins; LEAST()/GREATEST() on the server, which leave nulls out by themselves.
std::string edge(Jet::Dialect dialect, const std::vector<std::string>& values, bool earliest) {
    std::string sql =
        onServer(dialect) ? (earliest ? "LEAST(" : "GREATEST(") : (earliest ? "min(" : "max(");
    for (const std::string& value : values) {
        if (onServer(dialect))
            sql += value + ", ";
        else
            sql += "coalesce(" + value + (earliest ? ",'9')," : ",''),");
    }
    if (onServer(dialect))
        sql.resize(sql.size() - 2);
    else
        sql.pop_back();
    return sql + ")";
}

} // namespace

std::string earliestMoment(Jet::Dialect dialect, const std::vector<std::string>& values) {
    return edge(dialect, values, true);
}

std::string latestMoment(Jet::Dialect dialect, const std::vector<std::string>& values) {
    return edge(dialect, values, false);
}

std::string daysBetween(Jet::Dialect dialect, const std::string& from, const std::string& to) {
    if (onServer(dialect))
        return "(extract(epoch FROM (" + to + " - " + from + ")) / 86400)";
    return "(julianday(" + to + ") - julianday(" + from + "))";
}

std::string daysBefore(Jet::Dialect dialect, const std::string& moment, const std::string& days) {
    if (onServer(dialect))
        return "(" + moment + " - CAST(" + days + " AS double precision) * interval '1 day')";
    return "datetime(julianday(" + moment + ") - (" + days + "))";
}

std::string dayOf(Jet::Dialect dialect, const std::string& moment, int later) {
    if (onServer(dialect)) {
        const std::string day = "CAST(" + moment + " AS date)";
        return later == 0 ? day : "(" + day + " + " + std::to_string(later) + ")";
    }
    if (later == 0)
        return "date(" + moment + ")";
    return "date(" + moment + ", '" + (later > 0 ? "+" : "") + std::to_string(later) + " days')";
}

std::string monthOf(Jet::Dialect dialect, const std::string& moment) {
    if (onServer(dialect))
        return "CAST(extract(month FROM " + moment + ") AS integer)";
    return "CAST(substr(" + moment + ", 6, 2) AS INTEGER)";
}

std::string asNumber(const std::string& condition) {
    return "CASE WHEN " + condition + " THEN 1 ELSE 0 END";
}

std::string keysIn(Jet::Dialect dialect, int parameter) {
    if (onServer(dialect))
        return "SELECT CAST(value AS bigint) FROM jsonb_array_elements_text(CAST(" +
               parameterName(parameter) + " AS jsonb)) AS list(value)";
    return "SELECT value FROM json_each(" + parameterName(parameter) + ")";
}

std::string keyPairsIn(Jet::Dialect dialect, int parameter) {
    if (onServer(dialect))
        return "SELECT CAST(value ->> 0 AS bigint) AS id, CAST(value ->> 1 AS bigint) AS fn FROM "
               "jsonb_array_elements(CAST(" +
               parameterName(parameter) + " AS jsonb)) AS list(value)";
    return "SELECT json_extract(value, '$[0]') AS id, json_extract(value, '$[1]') AS fn FROM "
           "json_each(" +
           parameterName(parameter) + ")";
}

std::string firstOfGroups(Jet::Dialect dialect, const std::string& select,
                          const std::string& fromWhere, const std::string& groupBy) {
    // SQLite takes the other columns of a group with min() from the row the minimum comes
    // from, without sorting; the server picks that row with DISTINCT ON.
    if (onServer(dialect))
        return "(SELECT DISTINCT ON (" + groupBy + ") " + select + " FROM " + fromWhere +
               " ORDER BY " + groupBy + ", rowid)";
    return "SELECT " + select + " FROM " + fromWhere + " GROUP BY " + groupBy;
}

std::string firstRowNumber(Jet::Dialect dialect) {
    return onServer(dialect) ? "rowid" : "min(rowid)";
}

std::string readOnlySession(Jet::Dialect dialect) {
    if (onServer(dialect))
        return "SET default_transaction_read_only = on";
    return "PRAGMA query_only = ON";
}

} // namespace SqlText
