// Double bookings: who is planned for two events whose time spans overlap.
#include "core/Conflicts.h"
#include "core/ListKinds.h"
#include "core/ListRows.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

// Event 1: set-up 14:00, show 18:00-23:00. Event 2 overlaps its end, event 3 begins when event 1
// ends, event 4 overlaps but is cancelled, event 5 has no dates, event 6 lies a week later.
class ConflictsTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.exec(R"(INSERT INTO T_Event (EventID, EArt, ELocation, EOrt, EBeginn, EEnde,
                       ETAufbauVon, Status) VALUES
            (1, 'Gig', 'Halle', 'Köln', '2024-05-01 18:00:00', '2024-05-01 23:00:00',
             '2024-05-01 14:00:00', 1),
            (2, 'Hochzeit', 'Schloss', 'Bonn', '2024-05-01 22:30:00', '2024-05-02 02:00:00', NULL, 1),
            (3, 'Party', 'Keller', 'Mainz', '2024-05-01 23:00:00', '2024-05-02 03:00:00', NULL, 1),
            (4, 'Gig', 'Club', 'Trier', '2024-05-01 19:00:00', '2024-05-01 22:00:00', NULL, 3),
            (5, 'Probe', NULL, NULL, NULL, NULL, NULL, 1),
            (6, 'Gig', 'Zelt', 'Worms', '2024-05-08 18:00:00', '2024-05-08 23:00:00', NULL, 1))");
        data.exec("INSERT INTO T_Stamm_Musiker (MusikerID, MName, MVorname) VALUES "
                  "(11, 'Berg', 'Anna'), (12, 'Kurz', 'Ben'), (13, 'Lang', 'Carla')");
        // Anna plays at 1, 2 and the cancelled 4; Ben at 1 and the touching 3; Carla at 1 and 6.
        data.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (1, 11), (2, 11), "
                  "(4, 11), (1, 12), (3, 12), (1, 13), (6, 13), (5, 13)");
    }
    TestDatabase data;
};

QList<std::int32_t> eventsOf(const std::vector<Conflicts::Conflict>& conflicts) {
    QList<std::int32_t> events;
    for (const auto& conflict : conflicts)
        events << conflict.otherEvent;
    return events;
}

} // namespace

TEST_F(ConflictsTest, MusicianInTwoLineUps) {
    // Of three musicians only Anna clashes: Ben's other event only touches, Carla's is later.
    const auto conflicts = Conflicts::musicians(data.db(), 1, {11, 12, 13});
    ASSERT_EQ(conflicts.size(), 1u);
    EXPECT_EQ(conflicts[0].who, QStringLiteral("Anna Berg"));
    EXPECT_EQ(conflicts[0].otherEvent, 2);
    EXPECT_EQ(Conflicts::warning(conflicts),
              QStringLiteral("Achtung: Anna Berg ist am 01.05.2024 bereits für Hochzeit, Schloss "
                             "Bonn eingeplant.\n\nTrotzdem speichern?"));
    // Seen from the other side the same clash; the touching event clashes with nobody.
    EXPECT_EQ(eventsOf(Conflicts::musicians(data.db(), 2, {11})), QList<std::int32_t>{1});
    EXPECT_TRUE(Conflicts::musicians(data.db(), 3, {12}).empty());
    // An event never clashes with itself, nor does one without dates.
    EXPECT_TRUE(Conflicts::musicians(data.db(), 6, {13}).empty());
    EXPECT_TRUE(Conflicts::musicians(data.db(), 5, {11, 12, 13}).empty());
    EXPECT_TRUE(Conflicts::warning({}).isEmpty());
}

TEST_F(ConflictsTest, SetUpTimeCountsAndCancelledEventsNeverClash) {
    // Event 7 ends at 15:00, during event 1's set-up (which begins its span at 14:00).
    data.exec("INSERT INTO T_Event (EventID, EArt, EBeginn, EEnde, Status) VALUES "
              "(7, 'Matinee', '2024-05-01 11:00:00', '2024-05-01 15:00:00', 1)");
    data.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (7, 12)");
    EXPECT_EQ(eventsOf(Conflicts::musicians(data.db(), 1, {12})), QList<std::int32_t>{7});
    // Cancelled: event 4 is never reported, and event 4 itself clashes with nothing.
    EXPECT_TRUE(Conflicts::musicians(data.db(), 4, {11}).empty());
    data.exec("UPDATE T_Event SET Status = 3 WHERE EventID = 2");
    EXPECT_TRUE(Conflicts::musicians(data.db(), 1, {11}).empty());
}

TEST_F(ConflictsTest, VehiclesFirmsAndTravellers) {
    data.exec("INSERT INTO T_Stamm_KfzVerleiher_Kfz (KfzID, ExtID, Kennzeichen, Typ) VALUES "
              "(21, 30, 'B-AB 123', 'Sprinter'), (22, 30, 'B-CD 456', 'Crafter')");
    data.exec("INSERT INTO T_Event_Transport (EventID, KfzID, VerleiherID) VALUES (2, 21, 30), "
              "(3, 22, 30)");
    const auto vehicles = Conflicts::vehicles(data.db(), 1, {21, 22});
    ASSERT_EQ(vehicles.size(), 1u);
    EXPECT_EQ(vehicles[0].who, QStringLiteral("B-AB 123 (Sprinter)"));

    data.exec("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, Firma, fPrivat) VALUES "
              "(40, 1, 'Tontechnik Süd', 0), (41, 3, 'PA-Verleih Nord', 0)");
    data.exec("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID) VALUES (2, 1, 40), "
              "(2, 3, 41)");
    EXPECT_EQ(eventsOf(Conflicts::firm(data.db(), 1, 1, 40)), QList<std::int32_t>{2});
    // A hire firm serves several events at once.
    EXPECT_TRUE(Conflicts::firm(data.db(), 1, 3, 41).empty());
    EXPECT_TRUE(Conflicts::firm(data.db(), 1, 1, 0).empty());

    // Anna stays overnight at event 2; as a musician, not as the firm of the same number.
    data.exec("INSERT INTO T_Event_Uebernachtung (EventID, PersonID, Funktion, HotelID, "
              "Anreise) VALUES (2, 11, 0, 1, '2024-05-01 00:00:00')");
    EXPECT_EQ(eventsOf(Conflicts::travellers(data.db(), 1, {{11, 0}})), QList<std::int32_t>{2});
    EXPECT_TRUE(Conflicts::travellers(data.db(), 1, {{11, 1}}).empty());
}

TEST_F(ConflictsTest, EventListMarksEventsWithAnyClash) {
    EXPECT_EQ(Conflicts::eventsWithConflicts(data.db()), (QSet<std::int32_t>{1, 2}));
    QSet<std::int32_t> marked;
    for (const ListRow& row : loadListRows(data.db(), ListKind::Events)) {
        if (row.notice().contains(QStringLiteral("Doppelbuchung")))
            marked.insert(row.key);
    }
    EXPECT_EQ(marked, (QSet<std::int32_t>{1, 2}));
    data.exec("INSERT INTO T_Stamm_KfzVerleiher_Kfz (KfzID, ExtID, Kennzeichen) VALUES "
              "(21, 30, 'B-AB 123')");
    data.exec("INSERT INTO T_Event_Transport (EventID, KfzID, VerleiherID) VALUES (6, 21, 30), "
              "(3, 21, 30), (2, 21, 30)");
    EXPECT_EQ(Conflicts::eventsWithConflicts(data.db()), (QSet<std::int32_t>{1, 2, 3}));
    data.exec("UPDATE T_Event SET Status = 3 WHERE EventID = 2");
    EXPECT_TRUE(Conflicts::eventsWithConflicts(data.db()).isEmpty());
}

TEST(ConflictSweep, ALongSpanClashesWithEverySpanInsideItButNotWithOneThatTouchesItsEnd) {
    using Conflicts::Booking;
    // One musician: event 1 runs 10:00-20:00, 2 and 3 lie inside it one after the other, 4 begins
    // when 1 ends. Another musician at 5 overlaps 1 but is another resource; a vehicle of the
    // same number is another kind.
    const auto at = [](int hour) {
        return Conflicts::packedMoment("2024-05-01 00:00:00") + hour * 10000;
    };
    const std::vector<Booking> bookings = {
        {1, 11, 0, 4, at(20), at(22)}, {1, 11, 0, 1, at(10), at(20)}, {1, 11, 0, 2, at(11), at(12)},
        {1, 11, 0, 3, at(13), at(14)}, {1, 12, 0, 5, at(9), at(11)},  {2, 11, 0, 6, at(9), at(21)},
    };
    EXPECT_EQ(Conflicts::clashingEvents(bookings), (QSet<std::int32_t>{1, 2, 3}));
    // Spans that only touch never clash, however many there are.
    EXPECT_TRUE(Conflicts::clashingEvents({{1, 11, 0, 1, at(10), at(12)},
                                           {1, 11, 0, 2, at(12), at(14)},
                                           {1, 11, 0, 3, at(14), at(16)}})
                    .isEmpty());
    // Stored texts order as their numbers do; a date alone reads as its midnight.
    EXPECT_LT(Conflicts::packedMoment("2024-05-01 23:59:59"),
              Conflicts::packedMoment("2024-05-02 00:00:00"));
    EXPECT_EQ(Conflicts::packedMoment("2024-05-02"),
              Conflicts::packedMoment("2024-05-02 00:00:00"));
}
