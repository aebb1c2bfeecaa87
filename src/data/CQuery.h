#pragma once

#include "StatementCache.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CDatabase;
struct ServerRows;

// A read-only query over several tables, walked once from the first row to the last: for lists
// and figures that read many rows joined together, where one statement does what a record set
// per table and a look-up per row would do. Columns are addressed by their position in the
// SELECT; dates come back as the record sets give them (wall-clock, Qt::UTC).
//
// The statement is prepared once per connection and SQL text and kept for the next query.
// Nothing may be written on the connection while a query walks.
class CQuery {
public:
    // Prepares the statement; throws CDaoException when the database refuses it.
    CQuery(CDatabase& db, const std::string& sql);
    ~CQuery();

    // Parameters are numbered from 1, as ?1, ?2 … in the SQL.
    void bindText(int parameter, const QString& text);
    void bindInt(int parameter, std::int64_t number);
    void bindNull(int parameter);

    // Moves to the next row (the first at the first call); false after the last. Throws
    // CDaoException when reading fails.
    bool next();

    bool isNull(int column) const;
    // Whole numbers (and Yes/No as -1/0); 0 when null.
    std::int32_t getLong(int column) const;
    // Whole numbers beyond the 32 bits of getLong (counters, keys of other programs); 0 when
    // null.
    std::int64_t getInt64(int column) const;
    // A Single column's value as the record sets give it: the stored number rounded to single
    // precision; 0 when null.
    float getSingle(int column) const;
    // Yes/No; false when null.
    bool getBool(int column) const { return getLong(column) != 0; }
    // A null QString when null.
    QString getText(int column) const;
    // An invalid QDateTime when null or not a stored date.
    QDateTime getDate(int column) const;
    // The stored text as UTF-8 bytes, valid until the next call of next(); empty when null.
    // For readers that keep many rows and share texts that repeat.
    std::string_view getUtf8(int column) const;

private:
    void check(int resultCode) const;

    CDatabase& m_db;
    CachedStatement m_statement;
    // On a server: the statement's values and, once run, its rows.
    std::unique_ptr<ServerRows> m_server;
};
