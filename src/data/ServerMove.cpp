#include "ServerMove.h"

#include "CDaoException.h"
#include "CDatabase.h"
#include "DatabaseFactory.h"
#include "PgConnection.h"
#include "Schema.h"
#include "ServerDialect.h"
#include "ServerSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>

namespace ServerMove {
namespace {

// A table as the move sees it: the schema's tables and the calendar bookkeeping beside them.
struct MovedTable {
    const char* name;
    std::vector<ColumnDef> columns;
    const char* autoKey;
};

const std::vector<MovedTable>& movedTables() {
    static const std::vector<MovedTable> tables = [] {
        std::vector<MovedTable> list;
        for (const SourceDef* table : Schema::tables())
            list.push_back({table->name(), table->columns(), table->autoKey()});
        list.push_back(
            {"X_Kalender", {{"Nr", JetType::Long}, {"Kennung", JetType::Text}}, nullptr});
        list.push_back({"X_Kalender_Event",
                        {{"EventID", JetType::Long},
                         {"Sequenz", JetType::Long},
                         {"Pruefsumme", JetType::Text},
                         {"Geaendert", JetType::Text}},
                        nullptr});
        return list;
    }();
    return tables;
}

std::string quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

std::string columnList(const MovedTable& table) {
    std::string list;
    for (const ColumnDef& column : table.columns)
        list += (list.empty() ? "" : ", ") + quoted(column.name);
    return list;
}

// The figures' SELECT; `textLength` is the engine's function for a text's characters.
std::string figuresQuery(const MovedTable& table, const char* textLength) {
    std::string sql = "SELECT count(*)";
    for (const ColumnDef& column : table.columns) {
        const std::string name = quoted(column.name);
        if (column.type == JetType::DateTime)
            sql += ", count(" + name + ")";
        else if (column.type == JetType::Text)
            sql += std::string(", coalesce(sum(") + textLength + "(" + name + ")), 0)";
        else
            sql += ", coalesce(sum(" + name + "), 0)";
    }
    return sql + " FROM " + quoted(table.name);
}

// One value in PostgreSQL's COPY text format.
void appendCopyText(std::string& line, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        default:
            line += c;
        }
    }
}

class FileReader {
public:
    explicit FileReader(const QString& path) { m_db.open(path); }
    CDatabase& database() { return m_db; }
    sqlite3* handle() { return m_db.handle(); }

private:
    CDatabase m_db;
};

// Runs a statement on the file and calls `row` for each row.
void forEachFileRow(sqlite3* db, const std::string& sql,
                    const std::function<void(sqlite3_stmt*)>& row) {
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        throw CDaoException::fromSqlite(db, rc);
    }
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        row(statement);
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE)
        throw CDaoException::fromSqlite(db, rc);
}

std::vector<TableFigures> fileFigures(sqlite3* db) {
    std::vector<TableFigures> figures;
    for (const MovedTable& table : movedTables()) {
        TableFigures counted{table.name, 0, {}};
        forEachFileRow(db, figuresQuery(table, "length"), [&](sqlite3_stmt* row) {
            counted.rows = sqlite3_column_int64(row, 0);
            for (size_t i = 0; i < table.columns.size(); ++i)
                counted.columns.push_back(sqlite3_column_double(row, int(i) + 1));
        });
        figures.push_back(std::move(counted));
    }
    return figures;
}

std::vector<TableFigures> serverFigures(PgConnection& server) {
    std::vector<TableFigures> figures;
    for (const MovedTable& table : movedTables()) {
        const PgResult result = server.query(figuresQuery(table, "char_length"));
        TableFigures counted{table.name, std::stoll(std::string(result.text(0, 0))), {}};
        for (size_t i = 0; i < table.columns.size(); ++i)
            counted.columns.push_back(
                std::strtod(std::string(result.text(0, int(i) + 1)).c_str(), nullptr));
        figures.push_back(std::move(counted));
    }
    return figures;
}

// The first difference between the two sides in words, or empty when they agree. Sums of
// Single columns may differ in the last places, as the file adds them as binary fractions.
QString difference(const std::vector<TableFigures>& from, const std::vector<TableFigures>& to) {
    for (size_t t = 0; t < from.size() && t < to.size(); ++t) {
        const MovedTable& table = movedTables()[t];
        const QString name = QString::fromUtf8(table.name);
        if (from[t].rows != to[t].rows)
            return QStringLiteral("In der Tabelle %1 kamen %2 statt %3 Zeilen an.")
                .arg(name)
                .arg(to[t].rows)
                .arg(from[t].rows);
        for (size_t c = 0; c < table.columns.size(); ++c) {
            const double a = from[t].columns[c];
            const double b = to[t].columns[c];
            const double allowed =
                table.columns[c].type == JetType::Single ? 1e-5 * std::max(1.0, std::fabs(a)) : 0;
            if (std::fabs(a - b) > allowed)
                return QStringLiteral("In der Tabelle %1 stimmt die Spalte %2 nicht überein.")
                    .arg(name, QString::fromUtf8(table.columns[c].name));
        }
    }
    return QString();
}

void copyTableIntoServer(sqlite3* file, const MovedTable& table, PgConnection& server) {
    const std::string columns = columnList(table);
    PGconn* connection = server.handle();
    PgResult started(PQexec(
        connection, ("COPY " + quoted(table.name) + " (" + columns + ") FROM STDIN").c_str()));
    if (PQresultStatus(started.get()) != PGRES_COPY_IN)
        throw CDaoException::fromServer(connection, started.get());
    std::string line;
    const auto send = [&] {
        if (PQputCopyData(connection, line.data(), int(line.size())) != 1)
            throw CDaoException::fromServer(connection, nullptr);
        line.clear();
    };
    // In the order the rows were added, so that the server numbers them alike.
    forEachFileRow(
        file, "SELECT " + columns + " FROM " + quoted(table.name) + " ORDER BY rowid",
        [&](sqlite3_stmt* row) {
            for (size_t i = 0; i < table.columns.size(); ++i) {
                const int column = int(i);
                if (i > 0)
                    line += '\t';
                if (sqlite3_column_type(row, column) == SQLITE_NULL) {
                    line += "\\N";
                    continue;
                }
                switch (table.columns[i].type) {
                case JetType::Single:
                    line += ServerDialect::singleText(sqlite3_column_double(row, column));
                    break;
                case JetType::Text:
                case JetType::DateTime:
                    appendCopyText(line,
                                   {reinterpret_cast<const char*>(sqlite3_column_text(row, column)),
                                    size_t(sqlite3_column_bytes(row, column))});
                    break;
                default:
                    line += std::to_string(sqlite3_column_int64(row, column));
                }
            }
            line += '\n';
            if (line.size() > 60000)
                send();
        });
    if (!line.empty())
        send();
    if (PQputCopyEnd(connection, nullptr) != 1)
        throw CDaoException::fromServer(connection, nullptr);
    PgResult finished(PQgetResult(connection));
    if (PQresultStatus(finished.get()) != PGRES_COMMAND_OK)
        throw CDaoException::fromServer(connection, finished.get());
    while (PGresult* rest = PQgetResult(connection))
        PQclear(rest);
    // New rows get keys after the highest one moved.
    if (table.autoKey)
        server.execute("SELECT setval(pg_get_serial_sequence('" + quoted(table.name) + "', '" +
                       table.autoKey + "'), coalesce(max(" + quoted(table.autoKey) +
                       "), 0) + 1, false) FROM " + quoted(table.name));
}

// Rolls the server's transaction back unless told it may stay.
class ServerTransaction {
public:
    explicit ServerTransaction(PgConnection& server) : m_server(server) {
        m_server.execute("BEGIN");
    }
    ~ServerTransaction() {
        if (m_open) {
            try {
                m_server.execute("ROLLBACK");
            } catch (const CDaoException&) {
                // A broken connection has ended the transaction anyway.
            }
        }
    }
    void commit() {
        m_server.execute("COMMIT");
        m_open = false;
    }

private:
    PgConnection& m_server;
    bool m_open = true;
};

void requireEmpty(PgConnection& server) {
    const PgResult objects = server.query(
        "SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
        "WHERE n.nspname = 'public'");
    if (objects.text(0, 0) != "0")
        throw CDaoException(CDaoException::CannotOpen,
                            QStringLiteral("Die Datenbank %1 auf dem Server ist nicht leer. "
                                           "Vorlanto zieht nur in eine leere Datenbank um.")
                                .arg(server.shownName()));
}

CDaoException moveFailed(const QString& reason) {
    return CDaoException(
        CDaoException::EngineError,
        QStringLiteral("Der Umzug wurde abgebrochen, nichts wurde übernommen: %1").arg(reason));
}

// Inserts the server's rows of one table into the new file.
void copyTableIntoFile(PgConnection& server, const MovedTable& table, sqlite3* file) {
    const std::string columns = columnList(table);
    std::string placeholders;
    for (size_t i = 0; i < table.columns.size(); ++i)
        placeholders += i ? ", ?" : "?";
    sqlite3_stmt* insert = nullptr;
    int rc = sqlite3_prepare_v2(
        file,
        ("INSERT INTO " + quoted(table.name) + " (" + columns + ") VALUES (" + placeholders + ")")
            .c_str(),
        -1, &insert, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(insert);
        throw CDaoException::fromSqlite(file, rc);
    }
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> guard(insert, sqlite3_finalize);
    const PgResult rows =
        server.query("SELECT " + columns + " FROM " + quoted(table.name) + " ORDER BY rowid");
    for (int row = 0; row < rows.rowCount(); ++row) {
        sqlite3_reset(insert);
        for (size_t i = 0; i < table.columns.size(); ++i) {
            const int column = int(i);
            if (rows.isNull(row, column)) {
                sqlite3_bind_null(insert, column + 1);
                continue;
            }
            const std::string value(rows.text(row, column));
            switch (table.columns[i].type) {
            case JetType::Single:
                sqlite3_bind_double(insert, column + 1,
                                    double(std::strtof(value.c_str(), nullptr)));
                break;
            case JetType::Text:
            case JetType::DateTime:
                sqlite3_bind_text(insert, column + 1, value.data(), int(value.size()),
                                  SQLITE_TRANSIENT);
                break;
            default:
                sqlite3_bind_int64(insert, column + 1, std::stoll(value));
            }
        }
        rc = sqlite3_step(insert);
        if (rc != SQLITE_DONE)
            throw CDaoException::fromSqlite(file, rc);
    }
}

// Every table the data lives in, the noted changes included, for one TRUNCATE.
std::string everyDataTable() {
    std::string list = quoted(ServerSchema::kChangeTable);
    for (const MovedTable& table : movedTables())
        list += ", " + quoted(table.name);
    return list;
}

} // namespace

QString othersConnectedText(int others) {
    return others == 1 ? QStringLiteral("Mit der Datenbank auf dem Server ist noch ein anderes "
                                        "Programm verbunden")
                       : QStringLiteral("Mit der Datenbank auf dem Server sind noch %1 andere "
                                        "Programme verbunden")
                             .arg(others);
}

int otherConnections(PgConnection& server) {
    const PgResult others =
        server.query("SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() "
                     "AND pid <> pg_backend_pid() AND backend_type = 'client backend'");
    return std::stoi(std::string(others.text(0, 0)));
}

void replaceServerData(const QString& filePath, PgConnection& server) {
    FileReader file(filePath);
    CDbReadSnapshot snapshot(file.database());
    const std::vector<TableFigures> expected = fileFigures(file.handle());

    ServerTransaction transaction(server);
    // A program that holds rows of a table would otherwise keep the restore waiting.
    server.execute("SET LOCAL lock_timeout = '10s'");
    // Emptied without the deletion rules and with the row numbers starting again, so that the
    // rows are numbered in the order the file added them, as after a move. The tables stay
    // locked until the end: whoever connects now waits for the restored rows.
    try {
        server.execute("TRUNCATE " + everyDataTable() + " RESTART IDENTITY");
    } catch (const CDaoException& error) {
        if (error.code() != CDaoException::ReadOnly)
            throw;
        throw CDaoException(CDaoException::ReadOnly,
                            QStringLiteral("Nur wer die Datenbank %1 auf dem Server besitzt, darf "
                                           "ihre Daten ersetzen.")
                                .arg(server.shownName()));
    }
    // A program that connected since the caller asked may hold what it read of the old data:
    // then nothing is replaced.
    if (const int others = otherConnections(server))
        throw CDaoException(CDaoException::Locked, othersConnectedText(others) + u'.');
    for (const MovedTable& table : movedTables())
        copyTableIntoServer(file.handle(), table, server);
    const QString mismatch = difference(expected, serverFigures(server));
    if (!mismatch.isEmpty())
        throw CDaoException(
            CDaoException::EngineError,
            QStringLiteral("Die Daten auf dem Server wurden nicht ersetzt: %1").arg(mismatch));
    // The copied rows noted themselves as changed; nobody changed them but the restore.
    server.execute("TRUNCATE " + quoted(ServerSchema::kChangeTable));
    transaction.commit();
}

std::vector<TableFigures> figuresOfFile(const QString& filePath) {
    FileReader file(filePath);
    return fileFigures(file.handle());
}

std::vector<TableFigures> figuresOfServer(PgConnection& server) {
    return serverFigures(server);
}

void copyIntoServer(const QString& filePath, PgConnection& server) {
    FileReader file(filePath);
    // The file is read as one state while it is copied.
    CDbReadSnapshot snapshot(file.database());
    const std::vector<TableFigures> expected = fileFigures(file.handle());

    ServerTransaction transaction(server);
    requireEmpty(server);
    for (const std::string& statement : ServerSchema::schemaStatements())
        server.execute(statement);
    for (const MovedTable& table : movedTables())
        copyTableIntoServer(file.handle(), table, server);
    const QString mismatch = difference(expected, serverFigures(server));
    if (!mismatch.isEmpty())
        throw moveFailed(mismatch);
    for (const std::string& statement : ServerSchema::trackingStatements())
        server.execute(statement);
    const std::string database(server.query("SELECT current_database()").text(0, 0));
    for (const std::string& statement : ServerSchema::accessStatements(database))
        server.execute(statement);
    transaction.commit();
}

void copyIntoFile(PgConnection& server, const QString& filePath) {
    requireNoFile(filePath);
    // Written beside the target and renamed at the end, so that no half file is ever there.
    const QString partial = filePath + QStringLiteral(".teil");
    QFile::remove(partial);
    try {
        createDatabase(partial);
        {
            ServerTransaction reading(server);
            server.execute("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY");
            const std::vector<TableFigures> expected = serverFigures(server);
            CDatabase file;
            file.open(partial);
            CDbTransaction writing(file);
            // The new file's own rows (the placeholder event) give way to the server's.
            for (const MovedTable& table : movedTables())
                file.execute("DELETE FROM " + quoted(table.name));
            for (const MovedTable& table : movedTables())
                copyTableIntoFile(server, table, file.handle());
            const QString mismatch = difference(expected, fileFigures(file.handle()));
            if (!mismatch.isEmpty())
                throw moveFailed(mismatch);
            writing.commit();
            file.close();
        }
        if (!QFile::rename(partial, filePath))
            throw CDaoException(
                CDaoException::IoError,
                QStringLiteral("Die Datei %1 kann nicht angelegt werden.").arg(filePath));
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
}

} // namespace ServerMove
