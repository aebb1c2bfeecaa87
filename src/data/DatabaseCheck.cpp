#include "DatabaseCheck.h"

#include "CDaoException.h"
#include "Schema.h"

#include <QFile>

#include <sqlite3.h>
#include <string>

namespace DatabaseCheck {

namespace {

// The first column of the first row of a query; the result code of the first failing step.
int queryText(sqlite3* db, const char* sql, std::string& result) {
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            result = text ? text : "";
            rc = SQLITE_OK;
        } else if (rc == SQLITE_DONE) {
            result.clear();
            rc = SQLITE_OK;
        }
    }
    sqlite3_finalize(statement);
    return rc;
}

// A file that starts like an SQLite database but cannot be read as one is damaged or was cut
// short (a copy that stopped midway); any other file is simply not ours.
bool startsLikeADatabase(sqlite3* db) {
    const char* path = sqlite3_db_filename(db, "main");
    if (!path || !*path)
        return false;
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

CDaoException damaged(const QString& shownName, int engineCode = 0) {
    return CDaoException(
        CDaoException::Corrupt,
        QStringLiteral("Die Datei %1 ist beschädigt oder unvollständig.").arg(shownName),
        engineCode);
}

CDaoException notOurs(const QString& shownName) {
    return CDaoException(
        CDaoException::NotADatabase,
        QStringLiteral("Die Datei %1 ist keine Vorlanto-Datenbank.").arg(shownName));
}

// A query that failed: a file that cannot be opened says so; one that cannot be read as a
// database is damaged or not ours.
CDaoException readFailure(sqlite3* db, int rc, const QString& shownName) {
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_IOERR:
    case SQLITE_FORMAT:
        return startsLikeADatabase(db) ? damaged(shownName, rc) : notOurs(shownName);
    default:
        return CDaoException::fromSqlite(db, rc, shownName);
    }
}

} // namespace

int checkIdentity(sqlite3* db, const QString& shownName) {
    std::string value;
    int rc = queryText(db, "PRAGMA application_id", value);
    if (rc != SQLITE_OK)
        throw readFailure(db, rc, shownName);
    if (std::stoll(value.empty() ? "0" : value) != Schema::kApplicationId)
        throw notOurs(shownName);
    rc = queryText(db, "PRAGMA user_version", value);
    if (rc != SQLITE_OK)
        throw readFailure(db, rc, shownName);
    const int version = std::stoi(value.empty() ? "0" : value);
    if (version > Schema::kVersion)
        throw CDaoException(CDaoException::NotADatabase,
                            QStringLiteral("Die Datenbank %1 stammt von einer neueren "
                                           "Vorlanto-Version und kann nicht geöffnet werden.")
                                .arg(shownName));
    return version;
}

void checkTables(sqlite3* db, const QString& shownName) {
    // Reading the schema once tells a file that cannot be read; after that each table and
    // column is looked up in the schema as read, without a query of its own.
    std::string count;
    int rc = queryText(db, "SELECT count(*) FROM sqlite_schema", count);
    if (rc != SQLITE_OK)
        throw readFailure(db, rc, shownName);
    const auto present = [&](const char* table, const char* column) {
        rc = sqlite3_table_column_metadata(db, "main", table, column, nullptr, nullptr, nullptr,
                                           nullptr, nullptr);
        if (rc != SQLITE_OK && rc != SQLITE_ERROR)
            throw readFailure(db, rc, shownName);
        return rc == SQLITE_OK;
    };
    const auto missing = [&](const QString& what) {
        return CDaoException(
            CDaoException::Corrupt,
            QStringLiteral("Die Datenbank %1 ist beschädigt: %2.").arg(shownName, what));
    };
    for (const SourceDef* table : Schema::tables()) {
        if (!present(table->name(), nullptr))
            throw missing(
                QStringLiteral("die Tabelle %1 fehlt").arg(QString::fromUtf8(table->name())));
        for (const ColumnDef& column : table->columns()) {
            if (!present(table->name(), column.name))
                throw missing(
                    QStringLiteral("in der Tabelle %1 fehlt die Spalte %2")
                        .arg(QString::fromUtf8(table->name()), QString::fromUtf8(column.name)));
        }
    }
    for (const char* table : Schema::calendarTables()) {
        if (!present(table, nullptr))
            throw missing(QStringLiteral("die Tabelle %1 fehlt").arg(QString::fromUtf8(table)));
    }
}

void checkIntegrity(sqlite3* db, const QString& shownName) {
    std::string value;
    const int rc = queryText(db, "PRAGMA integrity_check", value);
    if (rc != SQLITE_OK)
        throw readFailure(db, rc, shownName);
    if (value != "ok")
        throw damaged(shownName);
}

void check(sqlite3* db, const QString& shownName, Depth depth) {
    if (checkIdentity(db, shownName) == Schema::kVersion)
        checkTables(db, shownName);
    if (depth == Depth::Full)
        checkIntegrity(db, shownName);
}

} // namespace DatabaseCheck
