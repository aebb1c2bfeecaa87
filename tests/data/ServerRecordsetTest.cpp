// Record sets on a band database kept on a PostgreSQL server where it differs from a file: a
// refused statement inside a transaction, and a database that is not a band database. What both
// engines share runs on both in the record-set, compare-on-write, storage and filter tests.
#include "data/CDaoException.h"
#include "data/CQuery.h"
#include "data/PgConnection.h"
#include "data/RecordSets.h"
#include "data/ServerSchema.h"
#include "support/PgTestServer.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CDaoException& error) {
        return error.code();
    }
    return 0;
}

class ServerRecordsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(database.uri().isEmpty());
        PgConnection admin(database.uri().toStdString());
        for (const std::string& statement : ServerSchema::createStatements())
            admin.execute(statement);
        db.openServer(database.uri().toStdString());
    }

    // Adds an event and returns its key.
    std::int32_t addEvent(const QString& place) {
        CSetEvent events(db);
        events.open(QStringLiteral("[EventID]=-1"));
        events.addNew();
        events.setText("EOrt", place);
        events.update();
        events.moveToBookmark(events.lastModified());
        return events.getLong("EventID");
    }

    PgTestDatabase database;
    CDatabase db;
};

TEST_F(ServerRecordsetTest, ARefusedRowInATransactionLeavesTheOthers) {
    {
        CDbTransaction transaction(db);
        CSetEventTransport transport(db);
        transport.open(QStringLiteral("[EventID]=-1"));
        for (int round = 0; round < 2; ++round) {
            transport.addNew();
            transport.setLong("EventID", 1);
            transport.setLong("VerleiherID", 2);
            transport.setLong("KfzID", 3);
            const int error = errorOf([&] { transport.update(); });
            EXPECT_EQ(error, round == 0 ? 0 : int(CDaoException::DuplicateKey));
            if (error)
                transport.cancelUpdate();
        }
        addEvent(QStringLiteral("Deggendorf"));
        transaction.commit();
    }
    EXPECT_EQ(db.queryText(R"(SELECT count(*) FROM "T_Event_Transport")"), QStringLiteral("1"));
    EXPECT_EQ(db.queryText(R"(SELECT count(*) FROM "T_Event")"), QStringLiteral("1"));

    // Without commit nothing stays.
    {
        CDbTransaction transaction(db);
        addEvent(QStringLiteral("Cham"));
    }
    EXPECT_EQ(db.queryText(R"(SELECT count(*) FROM "T_Event")"), QStringLiteral("1"));
}

TEST_F(ServerRecordsetTest, ADatabaseThatIsNotOursIsRefused) {
    PgTestDatabase empty;
    CDatabase other;
    try {
        other.openServer(empty.uri().toStdString());
        FAIL() << "opened a database without the band's tables";
    } catch (const CDaoException& error) {
        EXPECT_EQ(error.code(), CDaoException::NotADatabase);
        EXPECT_TRUE(error.description().contains(QStringLiteral("keine Vorlanto-Datenbank")));
    }
    EXPECT_FALSE(other.isOpen());
}

} // namespace
