// The same filters and sort strings on the same example data, once in the database file and
// once on a PostgreSQL server: both engines must return the same rows in the same order.
#include "data/JetFilter.h"
#include "data/PgConnection.h"
#include "data/Schema.h"
#include "data/ServerDialect.h"
#include "data/ServerMove.h"
#include "support/PgTestServer.h"
#include "support/TestDatabase.h"
#include "tool/DemoData.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>

namespace {

struct Case {
    const char* source;
    const char* filter;
    const char* sort;
};

// Filters as the forms and lists write them, and the corners of the filter language: texts of
// other case and with umlauts, dates, Yes/No, numbers of Single columns, Null, AND/OR/NOT.
const Case kCases[] = {
    {"T_Stamm_ExtFirma", "[fDeleted]=False", "[Firma], [Name]"},
    {"T_Stamm_ExtFirma", "[fDeleted]=False AND [fPrivat]=True", "[Name]"},
    {"T_Stamm_ExtFirma", "[Art]=0 AND [ExtID]=3", ""},
    {"T_Stamm_ExtFirma", "[Firma]=\"SONNKLANG EVENTS GMBH\"", ""},
    {"T_Stamm_ExtFirma", "[Ort]>=\"M\" AND [Ort]<\"T\"", "[Ort] DESC"},
    {"T_Stamm_ExtFirma", "[Firma] Is Null OR [Firma]=\"\"", "[Name]"},
    {"T_Stamm_ExtFirma", "NOT ([Art]=1 OR [Art]=2)", "[Art], [Firma]"},
    {"T_Stamm_Musiker", "", "[MName], [MVorname]"},
    {"T_Stamm_Musiker", "[MGeb] Is Not Null", "[MGeb] DESC"},
    {"T_Stamm_Musiker", "[MName]>\"R\"", "[MName]"},
    {"T_Stamm_Musiker", "[MMinGage]>=150", "[MMinGage]"},
    {"T_Event", "[EBeginn]>#1/1/2026# AND [EBeginn]<#12/31/2026 23:59:59#", "[EBeginn]"},
    {"T_Event", "[Status]=2 OR [Status]=3", "[EBeginn] DESC"},
    {"T_Event", "[EGageVereinb]>1500", "[EGageVereinb] DESC"},
    {"T_Event", "[EGageVereinb]=2500", ""},
    {"T_Event", "[EfMWST]=True", "[EOrt], [EBeginn]"},
    {"T_Event", "[EOrt]=\"lindenfeld am see\"", ""},
    {"T_Event", "[ELocation]>=\"Festhalle\"", "[ELocation]"},
    {"T_Event_Finanzen", "[EventID]=3", "[Kostengruppe], [Kostenstelle]"},
    {"T_Event_Finanzen", "[Auszahlung]>=99.9 AND [Auszahlung]<=1000.5", "[Auszahlung]"},
    {"T_Stamm_Songliste", "", "[Titel]"},
    {"T_Stamm_Songliste", "[Tonart]=\"c\" OR [Tonart]=\"G\"", "[Interpret], [Titel]"},
    {"T_Stamm_Artikel", "[fDeleted]=False OR [Artikelgruppe]=\"Textil\"", "[Artikelgruppe]"},
    {"T_Stamm_Hotel", "[Name] Is Not Null", "[Name] DESC"},
    {"A_Druck_Gema", "[EBeginn]>=#1/1/2026#", "[EBeginn]"},
    {"A_Event_Besetzung", "[EventID]=2", "[MName], [MVorname]"},
    {"A_Event_Setliste", "[EventID]=1", "[SetNr], [LfdNr]"},
    {"A_Druck_GigMusiker", "[MName]>=\"A\"", "[EBeginn], [MName]"},
};

// A value the same way from both engines: numbers of Single columns as their float.
std::string normalised(const ColumnDef& column, std::string value, bool isNull) {
    if (isNull)
        return "<null>";
    if (column.type == JetType::Single)
        return ServerDialect::singleText(std::stod(value));
    return value;
}

// The rows as lines of normalised values, without the file's row numbers.
using Rows = std::vector<std::string>;

Rows fileRows(CDatabase& db, const SourceDef& source, const Jet::Translation& where,
              const std::string& order) {
    const std::string sql = source.select(where.sql, order);
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &statement, nullptr), SQLITE_OK)
        << sql;
    int index = 1;
    for (const Jet::Parameter& parameter : where.parameters) {
        switch (parameter.kind) {
        case Jet::Parameter::Kind::Integer:
            sqlite3_bind_int64(statement, index++, parameter.integer);
            break;
        case Jet::Parameter::Kind::Real:
            sqlite3_bind_double(statement, index++, parameter.real);
            break;
        case Jet::Parameter::Kind::Text:
            sqlite3_bind_text(statement, index++, parameter.text.c_str(), -1, SQLITE_TRANSIENT);
            break;
        }
    }
    const int first = source.isView() ? 0 : 1;
    Rows rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::string line;
        for (int i = 0; i < source.columnCount(); ++i) {
            const bool isNull = sqlite3_column_type(statement, first + i) == SQLITE_NULL;
            const char* text =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, first + i));
            line += normalised(source.column(i), text ? text : "", isNull) + "|";
        }
        rows.push_back(line);
    }
    sqlite3_finalize(statement);
    return rows;
}

Rows serverRows(PgConnection& server, const SourceDef& source, const Jet::Translation& where,
                const std::string& order) {
    const std::string sql = source.select(where.sql, order);
    std::vector<std::optional<std::string>> parameters;
    for (const Jet::Parameter& parameter : where.parameters)
        parameters.emplace_back(ServerDialect::parameterText(parameter));
    const PgResult result = server.query(ServerDialect::placeholders(sql), parameters);
    const int first = source.isView() ? 0 : 1;
    Rows rows;
    for (int row = 0; row < result.rowCount(); ++row) {
        std::string line;
        for (int i = 0; i < source.columnCount(); ++i)
            line += normalised(source.column(i), std::string(result.text(row, first + i)),
                               result.isNull(row, first + i)) +
                    "|";
        rows.push_back(line);
    }
    return rows;
}

TEST(FilterDifferentialTest, BothEnginesReturnTheSameRowsInTheSameOrder) {
    TestDatabase file;
    fillDemoData(file.db());
    PgTestDatabase database;
    ASSERT_FALSE(database.uri().isEmpty());
    PgConnection server(database.uri().toStdString());
    file.db().close();
    ServerMove::copyIntoServer(file.databasePath(), server);
    CDatabase db;
    db.open(file.databasePath());

    int differences = 0;
    size_t rowsCompared = 0;
    for (const Case& each : kCases) {
        const SourceDef& source = Schema::source(each.source);
        const QString filter = QString::fromUtf8(each.filter);
        const QString sort = QString::fromUtf8(each.sort);
        Rows inFile = fileRows(db, source, Jet::translateFilter(filter, source),
                               Jet::translateSort(sort, source));
        Rows onServer =
            serverRows(server, source, Jet::translateFilter(filter, source, Jet::Dialect::Server),
                       Jet::translateSort(sort, source, Jet::Dialect::Server));
        // A saved query has no row number to settle ties: its rows are compared as a set.
        if (source.isView()) {
            std::sort(inFile.begin(), inFile.end());
            std::sort(onServer.begin(), onServer.end());
        }
        rowsCompared += inFile.size();
        if (inFile != onServer) {
            ++differences;
            ADD_FAILURE() << each.source << " WHERE " << each.filter << " ORDER BY " << each.sort
                          << ": " << inFile.size() << " rows in the file, " << onServer.size()
                          << " on the server";
        }
    }
    EXPECT_EQ(differences, 0);
    // The cases find rows, so that agreeing on nothing cannot pass.
    EXPECT_GT(rowsCompared, 150u);
}

} // namespace
