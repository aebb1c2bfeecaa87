#include "CQuery.h"

#include "CDaoException.h"
#include "CDatabase.h"
#include "CRecordset.h"

#include <sqlite3.h>

CQuery::CQuery(CDatabase& db, const std::string& sql) : m_db(db), m_statement(db.prepare(sql)) {}

void CQuery::bindText(int parameter, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    const int rc = sqlite3_bind_text(m_statement.get(), parameter, bytes.constData(),
                                     static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    check(rc);
}

void CQuery::bindInt(int parameter, std::int64_t number) {
    check(sqlite3_bind_int64(m_statement.get(), parameter, number));
}

void CQuery::bindNull(int parameter) {
    check(sqlite3_bind_null(m_statement.get(), parameter));
}

void CQuery::check(int resultCode) const {
    if (resultCode != SQLITE_OK)
        throw CDaoException::fromSqlite(m_db.handle(), resultCode);
}

bool CQuery::next() {
    const int rc = sqlite3_step(m_statement.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw CDaoException::fromSqlite(m_db.handle(), rc);
}

bool CQuery::isNull(int column) const {
    return sqlite3_column_type(m_statement.get(), column) == SQLITE_NULL;
}

std::int32_t CQuery::getLong(int column) const {
    return sqlite3_column_int(m_statement.get(), column);
}

std::int64_t CQuery::getInt64(int column) const {
    return sqlite3_column_int64(m_statement.get(), column);
}

float CQuery::getSingle(int column) const {
    return static_cast<float>(sqlite3_column_double(m_statement.get(), column));
}

QString CQuery::getText(int column) const {
    const auto* text =
        reinterpret_cast<const char*>(sqlite3_column_text(m_statement.get(), column));
    if (!text)
        return QString();
    return QString::fromUtf8(text, sqlite3_column_bytes(m_statement.get(), column));
}

QDateTime CQuery::getDate(int column) const {
    if (sqlite3_column_type(m_statement.get(), column) != SQLITE_TEXT)
        return QDateTime();
    return parseStoredDate(
        reinterpret_cast<const char*>(sqlite3_column_text(m_statement.get(), column)),
        sqlite3_column_bytes(m_statement.get(), column));
}

std::string_view CQuery::getUtf8(int column) const {
    const auto* text =
        reinterpret_cast<const char*>(sqlite3_column_text(m_statement.get(), column));
    if (!text)
        return {};
    return {text, static_cast<size_t>(sqlite3_column_bytes(m_statement.get(), column))};
}
