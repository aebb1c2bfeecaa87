// The purge at exit: flagged master rows go for good once no event data refers to them; rows
// still referred to keep their flag for the next exit, and unflagged rows are never touched.
#include "core/Purge.h"
#include "ShellTestSupport.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace {

class PurgeTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.exec("INSERT INTO T_Event (EventID, ELocation) VALUES (1, 'Stadthalle'), "
               "(2, 'Festzelt'), (3, 'Gasthof')");
    }

    int purge() { return purgeDeletedMasterRecords(t.db()); }

    // The keys left in a table, in order.
    std::vector<int> keys(const char* table, const char* key) {
        CachedStatement statement =
            t.db().prepare(std::string("SELECT \"") + key + "\" FROM \"" + table + "\" ORDER BY 1");
        std::vector<int> result;
        while (sqlite3_step(statement.get()) == SQLITE_ROW)
            result.push_back(sqlite3_column_int(statement.get(), 0));
        return result;
    }

    TestDatabase t;
};

using Keys = std::vector<int>;

TEST_F(PurgeTest, MusicianStaysWhileLineUpFeeOrOvernightNamesHim) {
    t.exec("INSERT INTO T_Stamm_Musiker (MusikerID, MName, fDeleted) VALUES "
           "(1, 'Besetzung', -1), (2, 'Gage', -1), (3, 'Hotel', -1), (4, 'Frei', -1), "
           "(5, 'Fremde Buchung', -1), (6, 'Technikerzimmer', -1), (7, 'Aktiv', 0)");
    t.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (2, 1)");
    // Only a musician's fee (cost group 1, cost centre 10) counts, not other bookings of the key.
    t.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID) VALUES "
           "(1, 1, 10, 2), (1, 1, 12, 5), (1, 4, 10, 5)");
    // Only a musician's overnight stay (function 0) counts, not a firm's person with that key.
    t.exec("INSERT INTO T_Event_Uebernachtung (EventID, PersonID, Funktion) VALUES "
           "(1, 3, 0), (1, 6, 1), (1, 6, 2)");

    EXPECT_EQ(purge(), 3);
    EXPECT_EQ(keys("T_Stamm_Musiker", "MusikerID"), (Keys{1, 2, 3, 7}));
    EXPECT_EQ(t.count("T_Stamm_Musiker", "fDeleted = -1"), 3);

    // Once the line-up entry is gone, the next exit removes the musician.
    t.exec("DELETE FROM T_Event_Besetzung");
    EXPECT_EQ(purge(), 1);
    EXPECT_EQ(keys("T_Stamm_Musiker", "MusikerID"), (Keys{2, 3, 7}));
    EXPECT_EQ(purge(), 0);
}

TEST_F(PurgeTest, InstrumentStaysWhileAnyMusicianNamesItInAnySlot) {
    t.exec("INSERT INTO T_Stamm_Instrument (InstrumentID, Instrument, fDeleted) VALUES "
           "(1, 'Gitarre', -1), (2, 'Bass', -1), (3, 'Schlagzeug', -1), (4, 'Keyboard', -1), "
           "(5, 'Saxophon', -1), (6, 'Trompete', -1), (7, 'Geige', -1), (8, 'Harfe', -1), "
           "(9, 'Tuba', 0)");
    t.exec("INSERT INTO T_Stamm_Musiker (MusikerID, MName, fDeleted, MInstID1, MInstID2, "
           "MInstID3, MInstID4, MInstID5, MInstID6) VALUES "
           "(1, 'Aktiv', 0, 1, 2, 3, 4, 5, NULL), "
           // flagged but kept by a line-up: its instruments stay too
           "(2, 'Gelöscht, noch besetzt', -1, NULL, NULL, NULL, NULL, NULL, 6), "
           // flagged and removed in the same run: its instrument goes with it
           "(3, 'Gelöscht', -1, 8, NULL, NULL, NULL, NULL, NULL)");
    t.exec("INSERT INTO T_Event_Besetzung (EventID, MusikerID) VALUES (1, 2)");

    EXPECT_EQ(purge(), 3); // musician 3, instruments 7 and 8
    EXPECT_EQ(keys("T_Stamm_Instrument", "InstrumentID"), (Keys{1, 2, 3, 4, 5, 6, 9}));
    EXPECT_EQ(keys("T_Stamm_Musiker", "MusikerID"), (Keys{1, 2}));
}

TEST_F(PurgeTest, OrganiserStaysOnlyWhileAnEventNamesIt) {
    t.exec("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, Firma, fDeleted) VALUES "
           "(1, 0, 'Veranstalter mit Event', -1), (2, 0, 'Veranstalter ohne Event', -1), "
           "(3, 0, 'Aktiv', 0)");
    t.exec("UPDATE T_Event SET VeranstalterID = 1 WHERE EventID = 3");
    // Bookings, overnight stays and event firms that happen to carry key 2 do not keep it.
    t.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID) VALUES "
           "(1, 1, 12, 2), (1, 1, 10, 2)");
    t.exec("INSERT INTO T_Event_Uebernachtung (EventID, PersonID, Funktion) VALUES "
           "(1, 2, 0), (1, 2, 1)");
    t.exec("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID) VALUES (1, 0, 2)");

    EXPECT_EQ(purge(), 1);
    EXPECT_EQ(keys("T_Stamm_ExtFirma", "ExtID"), (Keys{1, 3}));

    t.exec("UPDATE T_Event SET VeranstalterID = NULL");
    EXPECT_EQ(purge(), 1);
    EXPECT_EQ(keys("T_Stamm_ExtFirma", "ExtID"), (Keys{3}));
}

TEST_F(PurgeTest, ServiceFirmStaysWhileItsOwnKindOfReferenceNamesIt) {
    t.exec("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, Firma, fDeleted) VALUES "
           "(10, 1, 'Technik im Event', -1), (11, 1, 'Technik gebucht', -1), "
           "(12, 1, 'Technik im Hotel', -1), (13, 1, 'Technik, fremde Bezüge', -1), "
           "(20, 2, 'Backline im Hotel', -1), (21, 2, 'Backline gebucht', -1), "
           "(30, 3, 'PA gebucht', -1), (31, 3, 'PA im Hotel', -1), "
           "(40, 4, 'Licht gebucht', -1), (41, 4, 'Licht frei', -1), "
           "(50, 5, 'Kfz im Transport', -1), (51, 5, 'Kfz gebucht', -1), (52, 5, 'Kfz frei', -1), "
           "(53, 5, 'Kfz aktiv', 0), (14, 1, 'Technik aktiv', 0)");
    t.exec("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID) VALUES (1, 1, 10), (1, 2, 13)");
    t.exec("INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID) VALUES "
           "(1, 1, 12, 11), (1, 1, 11, 13), (1, 1, 11, 21), (1, 2, 13, 30), (1, 3, 14, 40), "
           "(1, 4, 15, 51), (1, 1, 12, 41)");
    // Overnight stays keep technician (function 1) and backliner (function 2) firms only.
    t.exec("INSERT INTO T_Event_Uebernachtung (EventID, PersonID, Funktion) VALUES "
           "(1, 12, 1), (1, 13, 2), (1, 20, 2), (1, 31, 1), (1, 52, 1)");
    // A car-hire firm named by a planned transport stays, so the transport keeps its firm.
    t.exec("INSERT INTO T_Event_Transport (EventID, VerleiherID, KfzID) VALUES (2, 50, NULL)");

    EXPECT_EQ(purge(), 4); // 13, 31, 41, 52
    EXPECT_EQ(keys("T_Stamm_ExtFirma", "ExtID"),
              (Keys{10, 11, 12, 14, 20, 21, 30, 40, 50, 51, 53}));

    t.exec("DELETE FROM T_Event_Transport");
    EXPECT_EQ(purge(), 1);
    EXPECT_EQ(t.count("T_Stamm_ExtFirma", "ExtID = 50"), 0);
}

TEST_F(PurgeTest, ContactStaysWhileTheEventDataOfItsKindNamesIt) {
    t.exec(
        "INSERT INTO T_Stamm_ExtAnsprech (APID, ExtID, Art, APName, fDeleted) VALUES "
        "(1, 10, 1, 'Technik im Event', -1), (2, 10, 1, 'Technik, andere Art', -1), "
        "(3, 1, 0, 'Veranstalter im Event', -1), (4, 1, 0, 'Veranstalter, nur Firmenzeile', -1), "
        "(5, 10, 1, 'Technik, nur Eventkopf', -1), (6, 10, 1, 'Aktiv', 0)");
    t.exec("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID, AnsprechID) VALUES "
           "(1, 1, 10, 1), (1, 3, 30, 2), (1, 0, 1, 4)");
    t.exec("UPDATE T_Event SET VAnsprechID = 3 WHERE EventID = 2");
    t.exec("UPDATE T_Event SET VAnsprechID = 5 WHERE EventID = 3");

    EXPECT_EQ(purge(), 3);
    EXPECT_EQ(keys("T_Stamm_ExtAnsprech", "APID"), (Keys{1, 3, 6}));
}

TEST_F(PurgeTest, HotelsAndVehiclesStayWhileEventsUseThem) {
    t.exec("INSERT INTO T_Stamm_Hotel (HotelID, Name, fDeleted) VALUES "
           "(1, 'Belegt', -1), (2, 'Leer', -1), (3, 'Aktiv', 0)");
    t.exec("INSERT INTO T_Event_Uebernachtung (EventID, PersonID, Funktion, HotelID) VALUES "
           "(1, 7, 0, 1)");
    t.exec("INSERT INTO T_Stamm_KfzVerleiher_Kfz (KfzID, ExtID, Typ, fDeleted) VALUES "
           "(1, 50, 'Gefahren', -1), (2, 50, 'Ungenutzt', -1), (3, 50, 'Aktiv', 0)");
    t.exec("INSERT INTO T_Event_Transport (EventID, VerleiherID, KfzID) VALUES (1, 50, 1)");

    EXPECT_EQ(purge(), 2);
    EXPECT_EQ(keys("T_Stamm_Hotel", "HotelID"), (Keys{1, 3}));
    EXPECT_EQ(keys("T_Stamm_KfzVerleiher_Kfz", "KfzID"), (Keys{1, 3}));
}

TEST_F(PurgeTest, ArticleGroupsGoByExactNameArticlesByKey) {
    t.exec("INSERT INTO T_Stamm_Artikelgruppe (Artikelgruppe, fDeleted) VALUES "
           "('SHIRT \"XL\"', -1), ('SHIRT', -1), ('CD', -1), ('Poster', 0)");
    t.exec("INSERT INTO T_Stamm_Artikel (ArtikelID, Artikelgruppe, Artikel, fDeleted) VALUES "
           "(1, 'CD', 'Live-Album', 0), (2, 'SHIRT', 'Tourshirt', -1), (3, 'CD', 'Single', -1), "
           "(4, 'Poster', 'Plakat', 0)");
    t.exec("INSERT INTO T_Event_Merchandising (EventID, ArtikelID, Artikelgruppe, Menge) VALUES "
           "(1, 2, 'SHIRT \"XL\"', 5)");

    // "SHIRT" goes although a sale's group name begins with it; "CD" goes although articles of
    // the group still exist.
    EXPECT_EQ(purge(), 3);
    EXPECT_EQ(t.db().queryText("SELECT group_concat(Artikelgruppe, '|') FROM "
                               "(SELECT Artikelgruppe FROM T_Stamm_Artikelgruppe ORDER BY 1)"),
              QStringLiteral("Poster|SHIRT \"XL\""));
    EXPECT_EQ(keys("T_Stamm_Artikel", "ArtikelID"), (Keys{1, 2, 4}));

    t.exec("DELETE FROM T_Event_Merchandising");
    EXPECT_EQ(purge(), 2);
    EXPECT_EQ(t.count("T_Stamm_Artikelgruppe"), 1);
    EXPECT_EQ(keys("T_Stamm_Artikel", "ArtikelID"), (Keys{1, 4}));
}

TEST_F(PurgeTest, UnflaggedRowsAreNeverTouched) {
    t.exec("INSERT INTO T_Stamm_Musiker (MName) VALUES ('A'), ('B')");
    t.exec("INSERT INTO T_Stamm_Instrument (Instrument) VALUES ('Gitarre')");
    t.exec("INSERT INTO T_Stamm_ExtFirma (Art, Firma) VALUES (0, 'V'), (1, 'T'), (2, 'B'), "
           "(3, 'P'), (4, 'L'), (5, 'K')");
    t.exec("INSERT INTO T_Stamm_ExtAnsprech (ExtID, Art, APName) VALUES (1, 0, 'X'), (2, 1, 'Y')");
    t.exec("INSERT INTO T_Stamm_Hotel (Name) VALUES ('H')");
    t.exec("INSERT INTO T_Stamm_KfzVerleiher_Kfz (ExtID, Typ) VALUES (6, 'Bus')");
    t.exec("INSERT INTO T_Stamm_Artikelgruppe (Artikelgruppe) VALUES ('CD')");
    t.exec("INSERT INTO T_Stamm_Artikel (Artikelgruppe, Artikel) VALUES ('CD', 'Album')");

    EXPECT_EQ(purge(), 0);
    EXPECT_EQ(t.count("T_Stamm_Musiker"), 2);
    EXPECT_EQ(t.count("T_Stamm_Instrument"), 1);
    EXPECT_EQ(t.count("T_Stamm_ExtFirma"), 6);
    EXPECT_EQ(t.count("T_Stamm_ExtAnsprech"), 2);
    EXPECT_EQ(t.count("T_Stamm_Hotel"), 1);
    EXPECT_EQ(t.count("T_Stamm_KfzVerleiher_Kfz"), 1);
    EXPECT_EQ(t.count("T_Stamm_Artikelgruppe"), 1);
    EXPECT_EQ(t.count("T_Stamm_Artikel"), 1);
}

} // namespace
