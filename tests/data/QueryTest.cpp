// Reading with a forward-only query and writing with bound texts: parameters of every kind,
// numbers past 32 bits, nulls, Single rounding as the record sets give it, and a reused
// statement that starts afresh.
#include "data/CDaoException.h"
#include "data/CQuery.h"
#include "data/RecordSets.h"
#include "support/EngineDatabase.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

class QueryTest : public OnBothEngines {};

TEST_P(QueryTest, NumbersAndNullsComeBackAsBound) {
    const std::int64_t big = std::int64_t(1) << 40;
    const std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
    for (const std::int64_t number : {std::int64_t(0), std::int64_t(-1), big, -big, lowest}) {
        CQuery query(t.db(), "SELECT ?1, ?2, ?1 IS NULL, ?1 IS NOT NULL");
        query.bindInt(1, number);
        query.bindNull(2);
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.getInt64(0), number);
        EXPECT_FALSE(query.isNull(0));
        EXPECT_FALSE(query.getBool(2));
        EXPECT_TRUE(query.getBool(3));
        // A null reads as nothing, whatever the accessor.
        EXPECT_TRUE(query.isNull(1));
        EXPECT_EQ(query.getInt64(1), 0);
        EXPECT_EQ(query.getLong(1), 0);
        EXPECT_EQ(query.getSingle(1), 0.0f);
        EXPECT_TRUE(query.getText(1).isNull());
        EXPECT_FALSE(query.getDate(1).isValid());
        EXPECT_FALSE(query.next());
    }
}

TEST_P(QueryTest, SingleColumnReadsAsTheRecordSetGivesIt) {
    CSetEventFinanzen booking(t.db());
    booking.open();
    booking.addNew();
    booking.setLong("EventID", 0);
    booking.setSingle("Auszahlung", -1234.56);
    booking.update();
    booking.close();
    booking.open();
    ASSERT_FALSE(booking.atEnd());
    const float stored = booking.getSingle("Auszahlung");

    CQuery query(t.db(), "SELECT \"Auszahlung\", 0.1 FROM \"T_Event_Finanzen\"");
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.getSingle(0), stored);
    EXPECT_EQ(query.getSingle(0), -1234.56f);
    // A number stored in double precision is rounded to single precision on reading.
    EXPECT_EQ(query.getSingle(1), 0.1f);
}

TEST_P(QueryTest, AReusedStatementForgetsTheRowsAndValuesOfItsLastUse) {
    const std::string sql = "SELECT coalesce(?1, 'leer'), ?2";
    {
        CQuery first(t.db(), sql);
        first.bindText(1, QStringLiteral("Köln"));
        first.bindInt(2, 7);
        ASSERT_TRUE(first.next());
        EXPECT_EQ(first.getText(0), QStringLiteral("Köln"));
    }
    CQuery second(t.db(), sql);
    second.bindNull(1);
    second.bindInt(2, -7);
    ASSERT_TRUE(second.next());
    EXPECT_EQ(second.getText(0), QStringLiteral("leer"));
    EXPECT_EQ(second.getLong(1), -7);
    EXPECT_FALSE(second.next());
}

TEST_P(QueryTest, WritingWithBoundTextsStoresThemAndReportsARefusal) {
    const std::string insert = "INSERT INTO \"X_Kalender\" (\"Nr\", \"Kennung\") VALUES (?1, ?2)";
    t.db().execute(insert, {QStringLiteral("1"), QStringLiteral("ä'\"; DROP")});
    EXPECT_EQ(t.db().queryText("SELECT \"Kennung\" FROM \"X_Kalender\" WHERE \"Nr\" = 1"),
              QStringLiteral("ä'\"; DROP"));
    try {
        t.db().execute(insert, {QStringLiteral("1"), QStringLiteral("zweite")});
        ADD_FAILURE() << "a second row with the same key was written";
    } catch (const CDaoException& error) {
        EXPECT_EQ(error.code(), CDaoException::DuplicateKey);
    }
    EXPECT_EQ(t.count("X_Kalender"), 1);
    EXPECT_THROW(CQuery(t.db(), "SELECT \"Fehlt\" FROM \"X_Kalender\""), CDaoException);
}

INSTANTIATE_ON_BOTH_ENGINES(QueryTest);

} // namespace
