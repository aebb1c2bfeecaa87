// The statements of the core's lists, checks and figures, once in the database file and once on
// a PostgreSQL server holding the same example data: both engines must return the same rows.
#include "core/Conflicts.h"
#include "core/FinanceModel.h"
#include "core/GemaDeadline.h"
#include "core/ListRows.h"
#include "core/MonthCalendar.h"
#include "core/YearOverview.h"
#include "data/CDaoException.h"
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
#include <cstdlib>
#include <cstring>
#include <functional>
#include <variant>

namespace {

using Parameter = std::variant<std::int64_t, std::string>;
using Rows = std::vector<std::string>;

// A value the same way from both engines: numbers (a Single column's REAL in the file, numeric
// on the server) as the float they are read as; whatever else as its text.
std::string normalised(const std::string& value, bool isNull) {
    if (isNull)
        return "<null>";
    char* end = nullptr;
    const double number = std::strtod(value.c_str(), &end);
    if (!value.empty() && end == value.c_str() + value.size())
        return ServerDialect::singleText(number);
    return value;
}

class QueryDifferentialTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_file = new TestDatabase;
        fillDemoData(s_file->db());
        // Double bookings and spans the example data lacks: event 2 at the time of event 1, a
        // third one beginning when event 1 ends, one without any date, one with a begin alone.
        const char* const columns = R"(("EBeginn", "EEnde", "ETAufbauVon", "ETAufbauBis", )"
                                    R"("ESCheckVon", "ESCheckBis", "ETAbbauVon", "ETAbbauBis"))";
        s_file->db().execute(std::string(R"(UPDATE "T_Event" SET )") + columns + " = (SELECT " +
                             std::string(columns + 1, std::strlen(columns) - 2) +
                             R"( FROM "T_Event" WHERE "EventID" = 1) WHERE "EventID" = 2)");
        s_file->db().execute(
            R"(UPDATE "T_Event" SET "EBeginn" = (SELECT )" + Schema::eventSpanEdge("", false) +
            R"( FROM "T_Event" WHERE "EventID" = 1), "EEnde" = NULL, "ETAufbauVon" = NULL, "ETAufbauBis" = NULL, )"
            R"("ESCheckVon" = NULL, "ESCheckBis" = NULL, "ETAbbauVon" = NULL, "ETAbbauBis" = NULL )"
            R"(WHERE "EventID" = 3)");
        s_file->db().execute(std::string(R"(UPDATE "T_Event" SET )") + columns +
                             R"( = (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL) )"
                             R"(WHERE "EventID" = 4)");
        s_file->db().execute(
            R"(UPDATE "T_Event" SET "EEnde" = NULL, "ETAufbauVon" = NULL, "ETAufbauBis" = NULL, )"
            R"("ESCheckVon" = NULL, "ESCheckBis" = NULL, "ETAbbauVon" = NULL, "ETAbbauBis" = NULL )"
            R"(WHERE "EventID" = 5)");
        s_database = new PgTestDatabase;
        if (s_database->uri().isEmpty())
            return;
        s_server = new PgConnection(s_database->uri().toStdString());
        s_file->db().close();
        ServerMove::copyIntoServer(s_file->databasePath(), *s_server);
        s_file->db().open(s_file->databasePath());
    }
    static void TearDownTestSuite() {
        delete s_server;
        delete s_database;
        delete s_file;
        s_server = nullptr;
        s_database = nullptr;
        s_file = nullptr;
    }
    void SetUp() override { ASSERT_NE(s_server, nullptr) << "no server for the test"; }

    static Rows fileRows(const std::string& sql, const std::vector<Parameter>& parameters) {
        sqlite3* handle = s_file->db().handle();
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(handle, sql.c_str(), -1, &statement, nullptr), SQLITE_OK)
            << sqlite3_errmsg(handle) << "\n"
            << sql;
        int index = 1;
        for (const Parameter& parameter : parameters) {
            if (const auto* number = std::get_if<std::int64_t>(&parameter))
                sqlite3_bind_int64(statement, index++, *number);
            else
                sqlite3_bind_text(statement, index++, std::get<std::string>(parameter).c_str(), -1,
                                  SQLITE_TRANSIENT);
        }
        Rows rows;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::string line;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                line +=
                    normalised(text ? text : "", sqlite3_column_type(statement, i) == SQLITE_NULL) +
                    "|";
            }
            rows.push_back(line);
        }
        sqlite3_finalize(statement);
        return rows;
    }

    static Rows serverRows(const std::string& sql, const std::vector<Parameter>& parameters) {
        std::vector<std::optional<std::string>> values;
        for (const Parameter& parameter : parameters) {
            if (const auto* number = std::get_if<std::int64_t>(&parameter))
                values.emplace_back(std::to_string(*number));
            else
                values.emplace_back(std::get<std::string>(parameter));
        }
        const PgResult result = s_server->query(ServerDialect::placeholders(sql), values);
        Rows rows;
        for (int row = 0; row < result.rowCount(); ++row) {
            std::string line;
            for (int i = 0; i < result.columnCount(); ++i)
                line += normalised(std::string(result.text(row, i)), result.isNull(row, i)) + "|";
            rows.push_back(line);
        }
        return rows;
    }

    // Runs the statement of each dialect with the same parameters and compares the rows, as a
    // set (rows that tie in the order may come in either order); returns how many there were.
    static size_t compare(const std::string& what,
                          const std::function<std::string(Jet::Dialect)>& query,
                          const std::vector<Parameter>& parameters) {
        Rows inFile = fileRows(query(Jet::Dialect::File), parameters);
        Rows onServer;
        try {
            onServer = serverRows(query(Jet::Dialect::Server), parameters);
        } catch (const CDaoException& error) {
            ADD_FAILURE() << what << ": the server refuses: " << error.description().toStdString()
                          << "\n"
                          << query(Jet::Dialect::Server);
            return 0;
        }
        std::sort(inFile.begin(), inFile.end());
        std::sort(onServer.begin(), onServer.end());
        EXPECT_EQ(inFile, onServer) << what;
        return inFile.size();
    }

    static std::vector<std::int64_t> keys(const std::string& sql) {
        std::vector<std::int64_t> result;
        for (const std::string& row : fileRows(sql, {}))
            result.push_back(std::stoll(row));
        return result;
    }

    // The first value of the statement's first row in the file, as text.
    static std::string fileValue(const std::string& sql) {
        const Rows rows = fileRows(sql, {});
        return rows.empty() ? std::string() : rows.front().substr(0, rows.front().find('|'));
    }

    static TestDatabase* s_file;
    static PgTestDatabase* s_database;
    static PgConnection* s_server;
};

TestDatabase* QueryDifferentialTest::s_file = nullptr;
PgTestDatabase* QueryDifferentialTest::s_database = nullptr;
PgConnection* QueryDifferentialTest::s_server = nullptr;

TEST_F(QueryDifferentialTest, DoubleBookingsAreFoundAlikeOnBothEngines) {
    size_t rows = compare("bookings", Conflicts::bookingsQuery, {});
    EXPECT_GT(rows, 50u);

    // Every event checked against every musician, vehicle, firm and travelling person.
    const std::string musicians =
        fileValue(R"(SELECT json_group_array("MusikerID") FROM "T_Stamm_Musiker")");
    const std::string vehicles =
        fileValue(R"(SELECT json_group_array("KfzID") FROM "T_Stamm_KfzVerleiher_Kfz")");
    const std::string firms =
        fileValue(R"(SELECT json_group_array("ExtID") FROM "T_Stamm_ExtFirma")");
    const std::string persons =
        fileValue(R"(SELECT json_group_array(json_array("PersonID", "Funktion")) FROM )"
                  R"((SELECT DISTINCT "PersonID", "Funktion" FROM "T_Event_Uebernachtung"))");
    size_t conflicts = 0;
    for (const std::int64_t event : keys(R"(SELECT "EventID" FROM "T_Event")")) {
        const std::string at = " at event " + std::to_string(event);
        conflicts += compare("musicians" + at, Conflicts::musiciansQuery, {event, musicians});
        conflicts += compare("vehicles" + at, Conflicts::vehiclesQuery, {event, vehicles});
        conflicts += compare("firms" + at, Conflicts::firmQuery, {event, firms});
        conflicts += compare("travellers" + at, Conflicts::travellersQuery, {event, persons});
    }
    // Events 1 and 2 book people twice, so that agreeing on nothing cannot pass.
    EXPECT_GT(conflicts, 10u);
}

// The server's span indexes are made from the same expressions as the check's statement: when
// the two drift apart, the server reads every event for every check.
TEST_F(QueryDifferentialTest, TheServerFindsOverlappingEventsThroughTheSpanIndex) {
    s_server->execute("SET enable_seqscan = off");
    const PgResult plan = s_server->query(
        "EXPLAIN " + ServerDialect::placeholders(Conflicts::musiciansQuery(Jet::Dialect::Server)),
        {std::string("1"), std::string("[1,2,3]")});
    s_server->execute("RESET enable_seqscan");
    std::string text;
    for (int row = 0; row < plan.rowCount(); ++row)
        text += std::string(plan.text(row, 0)) + "\n";
    EXPECT_NE(text.find("IX_T_Event_SpanBegin"), std::string::npos) << text;
    EXPECT_NE(text.find("IX_T_Event_SpanLength"), std::string::npos) << text;
}

TEST_F(QueryDifferentialTest, EventListsAndMusicReportsAgreeOnEveryDay) {
    // Days across the events, and the days on which each event's report falls due and the day
    // before: where a day too many or too few in the rule shows.
    std::vector<std::string> days = {"2021-06-01", "2024-11-30", "2026-12-07", "2031-01-01"};
    for (const std::string& row : fileRows(
             R"(SELECT DISTINCT date("EBeginn") FROM "T_Event" WHERE "EBeginn" IS NOT NULL)", {})) {
        const QDate begin =
            QDate::fromString(QString::fromStdString(row.substr(0, 10)), Qt::ISODate);
        for (const int offset : {-1, 0, GemaDeadline::kDaysAllowed - GemaDeadline::kWarnDays,
                                 GemaDeadline::kDaysAllowed - GemaDeadline::kWarnDays + 1})
            days.push_back(begin.addDays(offset).toString(Qt::ISODate).toStdString());
    }
    size_t due = 0;
    for (const std::string& day : days) {
        compare(std::string("event list on ") + day,
                [](Jet::Dialect d) { return eventListQuery(d); }, {day});
        due += compare(std::string("due reports on ") + day,
                       [](Jet::Dialect d) { return GemaDeadline::dueQuery(d, false); }, {day});
        compare(std::string("due reports at start on ") + day,
                [](Jet::Dialect d) { return GemaDeadline::dueQuery(d, true); },
                {day, std::string("2024-01-01")});
    }
    EXPECT_GT(due, 0u);
}

TEST_F(QueryDifferentialTest, CalendarsAndYearFiguresAgree) {
    size_t events = 0;
    for (int year = 2021; year <= 2031; ++year) {
        const std::string from = std::to_string(year) + "-01-01";
        const std::string to = std::to_string(year + 1) + "-01-01";
        events += compare("year " + from, YearOverview::monthsQuery, {from, to});
        compare(
            "summaries " + from,
            [](Jet::Dialect d) {
                return Finance::summaryQuery(
                    d,
                    R"(SELECT "EventID" FROM "T_Event" WHERE "EBeginn" >= ?1 AND "EBeginn" < ?2)");
            },
            {from, to});
        for (int month = 1; month <= 12; ++month) {
            const QDate first(year, month, 1);
            compare("month " + first.toString(Qt::ISODate).toStdString(),
                    [](Jet::Dialect d) { return MonthCalendar::monthQuery(d); },
                    {first.toString(Qt::ISODate).toStdString(),
                     first.addMonths(1).toString(Qt::ISODate).toStdString()});
        }
    }
    EXPECT_GE(events, 10u);
    // Every event's figures at once, the way the event lists read them.
    EXPECT_GT(compare("all summaries",
                      [](Jet::Dialect d) {
                          return Finance::summaryQuery(d, R"(SELECT "EventID" FROM "T_Event")");
                      },
                      {}),
              50u);
}

} // namespace
