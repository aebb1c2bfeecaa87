#include "CQuery.h"

#include "CDaoException.h"
#include "CDatabase.h"
#include "CRecordset.h"
#include "ServerDialect.h"

#include <sqlite3.h>

#include <cstdlib>
#include <optional>
#include <vector>

// A query on a server runs whole at the first next(); its rows are then read from the result.
struct ServerRows {
    // The type of a whole number bound, so that a parameter that no column gives a type (as in
    // "SELECT ?1 IS NULL") is still a number, as on a file.
    static constexpr unsigned kInt8 = 20;

    std::string sql;
    std::vector<std::optional<std::string>> values;
    std::vector<unsigned> types; // per parameter; 0: inferred by the server
    PgResult result;
    int row = -1;
    bool run = false;

    void set(int parameter, std::optional<std::string> value, unsigned type = 0) {
        if (parameter < 1)
            return;
        if (values.size() < size_t(parameter)) {
            values.resize(size_t(parameter));
            types.resize(size_t(parameter), 0);
        }
        values[size_t(parameter - 1)] = std::move(value);
        types[size_t(parameter - 1)] = type;
    }
    std::string_view text(int column) const { return result.text(row, column); }
};

CQuery::CQuery(CDatabase& db, const std::string& sql) : m_db(db) {
    if (db.server()) {
        m_server = std::make_unique<ServerRows>();
        m_server->sql = sql;
        // A statement the server refuses is refused here, as a file refuses it.
        db.server()->check(ServerDialect::placeholders(sql));
        return;
    }
    m_statement = db.prepare(sql);
}

CQuery::~CQuery() = default;

void CQuery::bindText(int parameter, const QString& text) {
    if (m_server)
        return m_server->set(parameter, text.toStdString());
    const QByteArray bytes = text.toUtf8();
    const int rc = sqlite3_bind_text(m_statement.get(), parameter, bytes.constData(),
                                     static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    check(rc);
}

void CQuery::bindInt(int parameter, std::int64_t number) {
    if (m_server)
        return m_server->set(parameter, std::to_string(number), ServerRows::kInt8);
    check(sqlite3_bind_int64(m_statement.get(), parameter, number));
}

void CQuery::bindNull(int parameter) {
    if (m_server)
        return m_server->set(parameter, std::nullopt);
    check(sqlite3_bind_null(m_statement.get(), parameter));
}

void CQuery::check(int resultCode) const {
    if (resultCode != SQLITE_OK)
        throw CDaoException::fromSqlite(m_db.handle(), resultCode);
}

bool CQuery::next() {
    if (m_server) {
        if (!m_server->run) {
            m_server->result =
                m_db.serverQuery(m_server->sql, m_server->values, false, m_server->types);
            m_server->run = true;
        }
        return ++m_server->row < m_server->result.rowCount();
    }
    const int rc = sqlite3_step(m_statement.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw CDaoException::fromSqlite(m_db.handle(), rc);
}

bool CQuery::isNull(int column) const {
    if (m_server)
        return m_server->result.isNull(m_server->row, column);
    return sqlite3_column_type(m_statement.get(), column) == SQLITE_NULL;
}

std::int32_t CQuery::getLong(int column) const {
    if (m_server)
        return static_cast<std::int32_t>(getInt64(column));
    return sqlite3_column_int(m_statement.get(), column);
}

std::int64_t CQuery::getInt64(int column) const {
    if (m_server) {
        // A condition ("x IS NULL", EXISTS …) comes back as t or f; a file gives 1 or 0.
        const std::string_view text = m_server->text(column);
        if (text == "t")
            return 1;
        return std::strtoll(std::string(text).c_str(), nullptr, 10);
    }
    return sqlite3_column_int64(m_statement.get(), column);
}

float CQuery::getSingle(int column) const {
    if (m_server)
        return std::strtof(std::string(m_server->text(column)).c_str(), nullptr);
    return static_cast<float>(sqlite3_column_double(m_statement.get(), column));
}

QString CQuery::getText(int column) const {
    if (m_server) {
        if (isNull(column))
            return QString();
        const std::string_view text = m_server->text(column);
        return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
    }
    const auto* text =
        reinterpret_cast<const char*>(sqlite3_column_text(m_statement.get(), column));
    if (!text)
        return QString();
    return QString::fromUtf8(text, sqlite3_column_bytes(m_statement.get(), column));
}

QDateTime CQuery::getDate(int column) const {
    if (m_server) {
        if (isNull(column))
            return QDateTime();
        const std::string_view text = m_server->text(column);
        return parseStoredDate(text.data(), static_cast<int>(text.size()));
    }
    if (sqlite3_column_type(m_statement.get(), column) != SQLITE_TEXT)
        return QDateTime();
    return parseStoredDate(
        reinterpret_cast<const char*>(sqlite3_column_text(m_statement.get(), column)),
        sqlite3_column_bytes(m_statement.get(), column));
}

std::string_view CQuery::getUtf8(int column) const {
    if (m_server)
        return m_server->text(column);
    const auto* text =
        reinterpret_cast<const char*>(sqlite3_column_text(m_statement.get(), column));
    if (!text)
        return {};
    return {text, static_cast<size_t>(sqlite3_column_bytes(m_statement.get(), column))};
}
