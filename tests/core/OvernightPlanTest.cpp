// The rules of overnight stays without a window: when a room is released, what taking a
// musician out of the line-up leaves of his stays and rooms, and how the overnight booking
// follows every change of the stays.
#include "core/OvernightPlan.h"
#include "core/FinanceModel.h"
#include "core/LineUp.h"
#include "data/CDaoException.h"
#include "support/QStringPrinting.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

class OvernightPlanTest : public ::testing::Test {
protected:
    void SetUp() override {
        database.exec("INSERT INTO T_Event (EventID, ELocation, EBeginn) VALUES "
                      "(12, 'Halle', '2026-03-07 20:00:00'), (13, 'Zelt', NULL)");
        database.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (12, 7), "
                      "(12, 8)");
        database.exec("INSERT INTO T_Event_Uebernachtung (EventID, PersonID, Funktion, HotelID, "
                      "ZimmerNr, Anreise) VALUES "
                      "(12, 7, 0, 3, 1, '2026-03-07 14:00:00'), "
                      "(12, 7, 0, 3, 2, '2026-03-08 14:00:00'), "
                      "(12, 8, 0, 3, 2, '2026-03-08 14:00:00'), "
                      "(12, 7, 1, 3, 4, '2026-03-07 14:00:00'), "
                      "(13, 7, 0, 3, 1, '2026-03-07 14:00:00')");
        database.exec("INSERT INTO T_Event_Uebernachtung_Zimmer (EventID, HotelID, ZimmerNr, "
                      "Preis) VALUES (12, 3, 1, 52), (12, 3, 2, 70), (12, 3, 4, 38), "
                      "(13, 3, 1, 52)");
    }
    QString rooms(int event) {
        return database.db().queryText(
            "SELECT group_concat(HotelID || '/' || ZimmerNr, ' ') FROM (SELECT * FROM "
            "T_Event_Uebernachtung_Zimmer WHERE EventID = " +
            std::to_string(event) + " ORDER BY HotelID, ZimmerNr)");
    }

    TestDatabase database;
};

TEST_F(OvernightPlanTest, ARoomIsReleasedOnlyWhenNobodyOfTheEventStaysInIt) {
    // Room 2 is still taken, room 1 too; a room number below 1 is no room.
    OvernightPlan::releaseRoom(database.db(), 12, {3, 2});
    OvernightPlan::releaseRoom(database.db(), 12, {3, 0});
    EXPECT_EQ(rooms(12), QStringLiteral("3/1 3/2 3/4"));
    // The stay of the same person in the same room at another event does not keep it.
    database.exec("DELETE FROM T_Event_Uebernachtung WHERE EventID = 12 AND ZimmerNr = 1");
    OvernightPlan::releaseRoom(database.db(), 12, {3, 1});
    EXPECT_EQ(rooms(12), QStringLiteral("3/2 3/4"));
    EXPECT_EQ(rooms(13), QStringLiteral("3/1"));
}

TEST_F(OvernightPlanTest, LeavingTheLineUpTakesTheMusiciansStaysAndTheRoomsLeftEmpty) {
    LineUp::removeMusician(database.db(), 12, 7);
    // His stays as a musician go; the firm with the same key keeps its stay and room; room 2
    // keeps the other musician.
    EXPECT_EQ(database.db().queryText(
                  "SELECT group_concat(PersonID || '/' || Funktion || '@' || ZimmerNr, ' ') FROM "
                  "(SELECT * FROM T_Event_Uebernachtung WHERE EventID = 12 ORDER BY PersonID, "
                  "Funktion)"),
              QStringLiteral("7/1@4 8/0@2"));
    EXPECT_EQ(rooms(12), QStringLiteral("3/2 3/4"));
    EXPECT_EQ(rooms(13), QStringLiteral("3/1"));
}

TEST_F(OvernightPlanTest, ANewStayStartsFromTheEventsDays) {
    const OvernightPlan::StayDefaults defaults = OvernightPlan::readDefaults(database.db(), 12);
    // Without an end the event lasts its first day.
    EXPECT_EQ(defaults.arrival, QDateTime(QDate(2026, 3, 7), QTime(9, 0), Qt::UTC));
    EXPECT_EQ(defaults.departure, QDateTime(QDate(2026, 3, 8), QTime(9, 0), Qt::UTC));
    EXPECT_EQ(defaults.eventBegin, QDateTime(QDate(2026, 3, 7), QTime(20, 0), Qt::UTC));
    // Without a begin: today.
    EXPECT_EQ(OvernightPlan::readDefaults(database.db(), 13).arrival.date(), QDate::currentDate());
}

class OvernightBookingFollowsTest : public OvernightPlanTest {
protected:
    void SetUp() override {
        OvernightPlanTest::SetUp();
        // Every stay above lasts one night (no departure: none); give them one.
        database.exec("UPDATE T_Event_Uebernachtung SET Abreise = datetime(Anreise, '+1 day')");
        database.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID, "
                      "Auszahlung, fMWST) VALUES (12, 5, 16, 0, 0, 1), (13, 5, 16, 0, 0, 1)");
        Finance::updateOvernightBooking(database.db(), 12);
    }
    QString booked(int event) {
        return database.db().queryText(
            "SELECT Auszahlung FROM T_Event_Finanzen WHERE Kostengruppe = 5 AND EventID = " +
            std::to_string(event));
    }
    static QDateTime at(int day, int hour) {
        return QDateTime(QDate(2026, 3, day), QTime(hour, 0), Qt::UTC);
    }
};

TEST_F(OvernightBookingFollowsTest, EveryChangeOfTheStaysUpdatesTheBooking) {
    // 52 + 70 + 38.
    EXPECT_EQ(booked(12), QStringLiteral("160.0"));
    // A new stay in a new room with its price.
    OvernightPlan::StayKey key{12, 9, OvernightPlan::Musician, at(7, 14)};
    OvernightPlan::bookStay(database.db(), key, {3, 5}, at(9, 11), 45.5);
    EXPECT_EQ(booked(12), QStringLiteral("251.0"));
    // Moved to room 4 of the technician: that room's price stays, room 5 is released.
    database.exec("UPDATE T_Event_Uebernachtung SET ZimmerNr = 4 WHERE PersonID = 9");
    OvernightPlan::settleRooms(database.db(), 12, {3, 5}, {3, 4}, false, std::nullopt,
                               std::nullopt);
    EXPECT_EQ(booked(12), QStringLiteral("198.0"));
    // Deleting a stay.
    OvernightPlan::removeStay(database.db(), key);
    EXPECT_EQ(booked(12), QStringLiteral("160.0"));
    // A musician leaving the line-up takes his stays, and their cost, with him.
    LineUp::removeMusician(database.db(), 12, 7);
    EXPECT_EQ(booked(12), QStringLiteral("108.0"));
    // Nothing of it touched the other event's booking.
    EXPECT_EQ(booked(13), QStringLiteral("0.0"));
}

TEST_F(OvernightBookingFollowsTest, ARefusedStayChangesNothing) {
    OvernightPlan::StayKey key{12, 8, OvernightPlan::Musician, at(8, 14)};
    EXPECT_THROW(OvernightPlan::bookStay(database.db(), key, {3, 6}, at(9, 11), 99), CDaoException);
    EXPECT_EQ(rooms(12), QStringLiteral("3/1 3/2 3/4"));
    EXPECT_EQ(booked(12), QStringLiteral("160.0"));
}

} // namespace
