// Record sets on a band database kept on a PostgreSQL server, as the forms use them: every
// type stored and read back, filters and sorts, two people saving the same row, a refused
// statement inside a transaction, and a login that may only read.
#include "data/CDaoException.h"
#include "data/CQuery.h"
#include "data/PgConnection.h"
#include "data/RecordSets.h"
#include "data/ServerSchema.h"
#include "support/PgTestServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
    std::int32_t addEvent(const QString& place, const QString& location = QString()) {
        CSetEvent events(db);
        events.open(QStringLiteral("[EventID]=-1"));
        events.addNew();
        events.setText("EOrt", place);
        if (!location.isNull())
            events.setText("ELocation", location);
        events.update();
        events.moveToBookmark(events.lastModified());
        return events.getLong("EventID");
    }

    PgTestDatabase database;
    CDatabase db;
};

TEST_F(ServerRecordsetTest, EveryTypeIsStoredAndReadBackAsWritten) {
    const QDateTime begin(QDate(2026, 10, 3), QTime(20, 15), Qt::UTC);
    CSetEvent events(db);
    events.open(QStringLiteral("[EventID]=-1"));
    EXPECT_TRUE(events.atEnd());
    events.addNew();
    events.setText("EOrt", QStringLiteral("Straßkirchen an der Würm"));
    events.setDate("EBeginn", begin);
    events.setSingle("EGageVereinb", 1234.56);
    events.setBool("EfMWST", true);
    events.setLong("Status", 3);
    events.setText("EVereinbarung", QString());
    events.update();
    events.moveToBookmark(events.lastModified());

    EXPECT_GT(events.getLong("EventID"), 0);
    EXPECT_EQ(events.getText("EOrt"), QStringLiteral("Straßkirchen an der Würm"));
    EXPECT_EQ(events.getDate("EBeginn"), begin);
    EXPECT_EQ(events.getSingle("EGageVereinb"), 1234.56f);
    EXPECT_TRUE(events.getBool("EfMWST"));
    EXPECT_EQ(events.getLong("Status"), 3);
    EXPECT_TRUE(events.isNull("EEnde"));
    EXPECT_FALSE(events.isNull("EVereinbarung"));
    EXPECT_EQ(events.getText("EVereinbarung"), QLatin1String(""));
    // The amount is kept as typed, so sums on the server are exact.
    EXPECT_EQ(db.queryText(R"(SELECT "EGageVereinb"::text FROM "T_Event")"),
              QStringLiteral("1234.56"));

    // Queries over several tables read the same values.
    CQuery query(db, R"(SELECT "EOrt", "EBeginn", "EGageVereinb", "EfMWST" FROM "T_Event"
                        WHERE "EOrt" = ?1)");
    query.bindText(1, QStringLiteral("Straßkirchen an der Würm"));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.getDate(1), begin);
    EXPECT_EQ(query.getSingle(2), 1234.56f);
    EXPECT_TRUE(query.getBool(3));
    EXPECT_FALSE(query.next());
}

TEST_F(ServerRecordsetTest, FiltersIgnoreCaseAndSortsAreGerman) {
    for (const char* place : {"Zwiesel", "Ötztal", "oberndorf", "München", "Augsburg"})
        addEvent(QString::fromUtf8(place));
    CSetEvent events(db);
    events.open(QStringLiteral("[EOrt]=\"MÜNCHEN\" OR [EOrt]>=\"Ö\""), QStringLiteral("[EOrt]"));
    QStringList found;
    for (; !events.atEnd(); events.moveNext())
        found << events.getText("EOrt");
    // "oberndorf" comes after "Ö" too: an umlaut sorts as its base letter.
    EXPECT_EQ(found, (QStringList{QStringLiteral("München"), QStringLiteral("oberndorf"),
                                  QStringLiteral("Ötztal"), QStringLiteral("Zwiesel")}));

    events.open(QString(), QStringLiteral("[EOrt] DESC"));
    found.clear();
    for (; !events.atEnd(); events.moveNext())
        found << events.getText("EOrt");
    EXPECT_EQ(found, (QStringList{QStringLiteral("Zwiesel"), QStringLiteral("Ötztal"),
                                  QStringLiteral("oberndorf"), QStringLiteral("München"),
                                  QStringLiteral("Augsburg")}));
}

TEST_F(ServerRecordsetTest, TwoPeopleSavingOneRowAreToldWhatChanged) {
    const std::int32_t id = addEvent(QStringLiteral("Passau"), QStringLiteral("Stadthalle"));
    const QString filter = QStringLiteral("[EventID]=%1").arg(id);
    CDatabase other;
    other.openServer(database.uri().toStdString());

    // I read the row; the other person changes the venue and saves first.
    CSetEvent mine(db);
    mine.open(filter);
    EXPECT_EQ(mine.getText("ELocation"), QStringLiteral("Stadthalle"));
    const CRecordset::ReadImage asRead = mine.readImage();
    CSetEvent theirs(other);
    theirs.open(filter);
    theirs.edit();
    theirs.setText("ELocation", QStringLiteral("Dreiländerhalle"));
    theirs.update();

    // My save over it writes nothing and names the column.
    mine.edit(asRead);
    mine.setText("EArt", QStringLiteral("Ball"));
    try {
        mine.update();
        FAIL() << "saved over the other person's change";
    } catch (const CDaoException& error) {
        EXPECT_EQ(error.code(), CDaoException::RowChanged);
        EXPECT_EQ(error.changedColumns(), QStringList{QStringLiteral("ELocation")});
        EXPECT_EQ(error.ownColumns(), QStringList{QStringLiteral("EArt")});
        // The server says who saved it, and when.
        EXPECT_EQ(error.changedBy(), QStringLiteral("vorlanto"));
        EXPECT_LT(std::abs(error.changedAt().secsTo(QDateTime::currentDateTime())), 60);
        EXPECT_TRUE(error.description().startsWith(
            QStringLiteral("Der Datensatz wurde inzwischen von vorlanto (")))
            << error.description().toStdString();
    }
    EXPECT_EQ(db.queryText(R"(SELECT "EArt" IS NULL FROM "T_Event")"), QStringLiteral("t"));

    // Told so, I may write mine over theirs.
    {
        CDbWriteOver over(db);
        mine.update();
    }
    mine.open(filter);
    EXPECT_EQ(mine.getText("EArt"), QStringLiteral("Ball"));
    EXPECT_EQ(mine.getText("ELocation"), QStringLiteral("Dreiländerhalle"));

    // A row the other person deleted is not there to change or to delete.
    theirs.open(filter);
    theirs.deleteCurrent();
    mine.edit();
    mine.setText("EArt", QStringLiteral("Konzert"));
    EXPECT_EQ(errorOf([&] { mine.update(); }), CDaoException::RecordDeleted);
    EXPECT_EQ(errorOf([&] { mine.deleteCurrent(); }), CDaoException::RecordDeleted);
}

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
