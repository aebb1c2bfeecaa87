// The pieces of SQL the engines say differently compute the same on both: evaluated once by
// SQLite on stored texts and once by the server on timestamps.
#include "data/SqlText.h"
#include "data/PgConnection.h"
#include "support/PgTestServer.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <memory>

namespace {

using Jet::Dialect;

// A date-time as each engine keeps it: a text in the file, a timestamp on the server; nullptr
// for none.
std::string moment(Dialect dialect, const char* value) {
    const std::string text = value ? std::string("'") + value + "'" : "NULL";
    return dialect == Dialect::Server ? "CAST(" + text + " AS timestamp)" : text;
}

std::vector<std::string> moments(Dialect dialect, const std::vector<const char*>& values) {
    std::vector<std::string> list;
    for (const char* value : values)
        list.push_back(moment(dialect, value));
    return list;
}

class SqlTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &m_file), SQLITE_OK);
        ASSERT_FALSE(m_database.uri().isEmpty());
        m_server = std::make_unique<PgConnection>(m_database.uri().toStdString());
    }
    void TearDown() override { sqlite3_close(m_file); }

    // The value of `expression` in the server's dialect as text ("<null>" for null), after
    // checking that the file's dialect gives the same.
    std::string value(const std::function<std::string(Dialect)>& expression) {
        std::string inFile = "<none>";
        sqlite3_stmt* statement = nullptr;
        const std::string fileSql = "SELECT " + expression(Dialect::File);
        EXPECT_EQ(sqlite3_prepare_v2(m_file, fileSql.c_str(), -1, &statement, nullptr), SQLITE_OK)
            << fileSql;
        if (sqlite3_step(statement) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            inFile = text ? text : "<null>";
        }
        sqlite3_finalize(statement);
        const PgResult result = m_server->query("SELECT " + expression(Dialect::Server));
        const std::string onServer =
            result.isNull(0, 0) ? "<null>" : std::string(result.text(0, 0));
        if (inFile != onServer && inFile != "<null>" && onServer != "<null>")
            EXPECT_NEAR(std::stod(inFile), std::stod(onServer), 1e-6) << fileSql;
        else
            EXPECT_EQ(inFile, onServer) << fileSql;
        return onServer;
    }

    double days(const char* from, const char* to) {
        return std::stod(value(
            [&](Dialect d) { return SqlText::daysBetween(d, moment(d, from), moment(d, to)); }));
    }

    sqlite3* m_file = nullptr;
    PgTestDatabase m_database;
    std::unique_ptr<PgConnection> m_server;
};

TEST_F(SqlTextTest, DaysBetweenAndBeforeCountWholeDaysAndFractions) {
    EXPECT_NEAR(days("2026-03-01 12:00:00", "2026-03-02 18:00:00"), 1.25, 1e-6);
    // Across a leap day and the change to summer time: days of 24 hours.
    EXPECT_NEAR(days("2024-02-28 00:00:00", "2024-03-31 12:00:00"), 32.5, 1e-6);
    EXPECT_NEAR(days("2026-01-02 00:00:00", "2026-01-01 00:00:00"), -1.0, 1e-6);

    // A day and a half before, compared with stored date-times on both sides of it.
    for (const char* stored : {"2026-02-27 23:59:59", "2026-02-28 00:00:00", "2026-02-28 00:00:01"})
        EXPECT_EQ(value([&](Dialect d) {
                      return SqlText::asNumber(
                          moment(d, stored) +
                          " >= " + SqlText::daysBefore(d, moment(d, "2026-03-01 12:00:00"), "1.5"));
                  }),
                  std::string(stored) >= "2026-02-28 00:00:00" ? "1" : "0")
            << stored;
}

TEST_F(SqlTextTest, EarliestAndLatestLeaveOutMissingValues) {
    const std::vector<const char*> some = {"2026-05-01 20:00:00", nullptr, "2026-05-01 14:00:00",
                                           "2026-05-02 01:30:00"};
    EXPECT_EQ(value([&](Dialect d) { return SqlText::earliestMoment(d, moments(d, some)); }),
              "2026-05-01 14:00:00");
    EXPECT_EQ(value([&](Dialect d) { return SqlText::latestMoment(d, moments(d, some)); }),
              "2026-05-02 01:30:00");
    // Without any value the span is empty: its earliest is not before its latest.
    EXPECT_EQ(value([](Dialect d) {
                  const std::vector<std::string> none = moments(d, {nullptr, nullptr});
                  return SqlText::asNumber(SqlText::earliestMoment(d, none) +
                                           " <= " + SqlText::latestMoment(d, none));
              }),
              "0");
}

TEST_F(SqlTextTest, DaysAndMonthsOfAMoment) {
    // 42 days on, over a month's and a year's end, compared with a day parameter.
    EXPECT_EQ(value([](Dialect d) {
                  return SqlText::asNumber(SqlText::dayOf(d, moment(d, "2025-11-25 23:30:00"), 42) +
                                           " = " + SqlText::dayOf(d, "'2026-01-06'"));
              }),
              "1");
    EXPECT_EQ(value([](Dialect d) {
                  return SqlText::asNumber(SqlText::dayOf(d, moment(d, "2026-01-06 23:59:59")) +
                                           " < '2026-01-07'");
              }),
              "1");
    EXPECT_EQ(
        value([](Dialect d) { return SqlText::monthOf(d, moment(d, "2026-09-30 23:59:59")); }),
        "9");
}

} // namespace
