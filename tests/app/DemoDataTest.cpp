// The example data of a new program directory, and the generated events for large databases:
// every list, planning form and report has something to show, the data pass the checks the
// forms make, and the generator is reproducible.
#include "tool/DemoData.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <string>

namespace {

// Events whose time plan the event form would refuse (set-up before the begin, sound check
// after the set-up, strike after the end, each span forward in time), or with a null time.
constexpr const char* kBadTimePlan = R"sql("EventID" > 0 AND NOT COALESCE(
    "EEnde" > "EBeginn" AND "ETAufbauVon" < "EBeginn" AND "ETAufbauBis" > "ETAufbauVon"
    AND "ETAufbauBis" < "EBeginn" AND "ESCheckVon" >= "ETAufbauBis"
    AND "ESCheckBis" > "ESCheckVon" AND "ETAbbauVon" >= "EEnde"
    AND "ETAbbauBis" > "ETAbbauVon", 0))sql";

// Events whose organiser is no organiser, or whose contact belongs to another firm.
constexpr const char* kBadOrganiser = R"sql("EventID" > 0 AND (
    NOT EXISTS (SELECT 1 FROM "T_Stamm_ExtFirma" f
                WHERE f."ExtID" = "T_Event"."VeranstalterID" AND f."Art" = 0)
    OR ("VAnsprechID" <> 0 AND NOT EXISTS (
        SELECT 1 FROM "T_Stamm_ExtAnsprech" a WHERE a."APID" = "T_Event"."VAnsprechID"
        AND a."ExtID" = "T_Event"."VeranstalterID" AND a."Art" = 0))))sql";

void expectEventsAsTheFormsWouldStoreThem(TestDatabase& t) {
    for (int status = 0; status <= 4; ++status) {
        const std::string where = "\"EventID\" > 0 AND \"Status\" = " + std::to_string(status);
        EXPECT_GT(t.count("T_Event", where.c_str()), 0) << "no event with status " << status;
    }
    EXPECT_EQ(t.count("T_Event", kBadTimePlan), 0);
    EXPECT_EQ(t.count("T_Event", kBadOrganiser), 0);
    EXPECT_EQ(t.count("T_Event_Status", R"("EventID" NOT IN (SELECT "EventID" FROM "T_Event"))"),
              0);
}

// Whether the saved query has a row for some real event (not the placeholder 0).
template <class Query> bool showsAnEvent(CDatabase& db) {
    Query query(db);
    query.open(QStringLiteral("[EventID]>0"));
    return !query.atEnd();
}

// Days from today to the next birthday of someone born on that day.
int daysToBirthday(const QDate& born) {
    const QDate today = QDate::currentDate();
    for (int days = 0; days <= 366; ++days) {
        const QDate day = today.addDays(days);
        if (day.month() == born.month() && day.day() == born.day())
            return days;
    }
    return -1;
}

// Every row of the tables the generator writes, as text, in the order of their keys.
std::string contents(CDatabase& db) {
    std::string text;
    for (const char* table : {"T_Event", "T_Event_Status", "T_Stamm_ExtFirma",
                              "T_Stamm_ExtAnsprech", "T_Stamm_KfzVerleiher_Kfz"}) {
        sqlite3_stmt* statement = nullptr;
        const std::string sql = std::string("SELECT * FROM \"") + table + "\" ORDER BY rowid";
        EXPECT_EQ(sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &statement, nullptr), SQLITE_OK);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const unsigned char* value = sqlite3_column_text(statement, i);
                text += value ? reinterpret_cast<const char*>(value) : "<null>";
                text += '|';
            }
            text += '\n';
        }
        sqlite3_finalize(statement);
    }
    return text;
}

int eventCount(TestDatabase& t) {
    return t.count("T_Event", "\"EventID\" > 0");
}

} // namespace

TEST(DemoDataTest, GivesEveryListFormAndReportSomethingToShow) {
    TestDatabase t;
    fillDemoData(t.db());

    expectEventsAsTheFormsWouldStoreThem(t);
    EXPECT_EQ(t.count("User"), 1);
    EXPECT_EQ(t.count("T_Grunddaten", R"("MWST_Satz1" = 19 AND "MWST_Satz2" = 7)"), 1);

    // The standard line-up, of musicians still in the band
    EXPECT_GT(t.count("T_Event_Besetzung", R"("EventID" = 0)"), 0);
    EXPECT_EQ(t.count("A_Event_Besetzung", R"("EventID" = 0 AND "fDeleted" <> 0)"), 0);

    // One event planned completely, so its list icon turns green
    EXPECT_GT(t.count("T_Event_Status", R"("Stat_Plan_Besetzung" = 2 AND "Stat_Plan_Technik" = 2
        AND "Stat_Plan_Backline" = 2 AND "Stat_Plan_PA" = 2 AND "Stat_Plan_LA" = 2
        AND "Stat_Plan_Transport" = 2 AND "Stat_Plan_Nacht" = 2 AND "Stat_Plan_Setliste" = 2)"),
              0);

    // Every firm list, a private organiser, something for the purge at exit
    for (int kind = 0; kind <= 5; ++kind) {
        const std::string where = "\"fDeleted\" = 0 AND \"Art\" = " + std::to_string(kind);
        EXPECT_GT(t.count("T_Stamm_ExtFirma", where.c_str()), 0) << "no firm of kind " << kind;
    }
    EXPECT_GT(t.count("T_Stamm_ExtFirma", R"("Art" = 0 AND "fPrivat" <> 0
        AND "Firma" IS NULL AND "Name" IS NOT NULL)"),
              0);
    EXPECT_GT(t.count("T_Stamm_ExtFirma", R"("fDeleted" <> 0)"), 0);
    EXPECT_GT(t.count("T_Stamm_Musiker", R"("fDeleted" <> 0)"), 0);

    // A song list with GEMA details to choose from, stored as the song form stores songs: no
    // tempo is null, never 0; some potpourris and fragments.
    EXPECT_GE(t.count("T_Stamm_Songliste"), 15);
    EXPECT_EQ(t.count("T_Stamm_Songliste", R"("Titel" IS NULL OR "Komponist" IS NULL
        OR "Tempo" < 1 OR "pf" NOT IN ('P', 'F'))"),
              0);
    EXPECT_GT(t.count("T_Stamm_Songliste", R"("Tempo" IS NULL)"), 0);
    EXPECT_GT(t.count("T_Stamm_Songliste", R"("pf" = 'P')"), 0);
    EXPECT_GT(t.count("T_Stamm_Songliste", R"("pf" = 'F')"), 0);
    EXPECT_GT(t.count("T_Stamm_Songliste", R"("GemaWerkNr" IS NOT NULL AND "Verleger" IS NOT NULL
        AND "Bearbeiter" IS NOT NULL)"),
              0);
    // Hotels, vehicles for every car-hire firm (each on a car-hire firm, with a type to list it
    // by) and GEMA offices, as their forms would store them
    EXPECT_GE(t.count("T_Stamm_Hotel", R"("fDeleted" = 0 AND "Name" <> '')"), 3);
    EXPECT_EQ(t.count("T_Stamm_ExtFirma", R"("Art" = 5 AND NOT EXISTS (
        SELECT 1 FROM "T_Stamm_KfzVerleiher_Kfz" k WHERE k."ExtID" = "T_Stamm_ExtFirma"."ExtID"
        AND k."fDeleted" = 0))"),
              0);
    EXPECT_EQ(t.count("T_Stamm_KfzVerleiher_Kfz", R"("Art" <> 5 OR COALESCE("Typ", '') = ''
        OR NOT EXISTS (SELECT 1 FROM "T_Stamm_ExtFirma" f
                       WHERE f."ExtID" = "T_Stamm_KfzVerleiher_Kfz"."ExtID" AND f."Art" = 5))"),
              0);
    EXPECT_GE(t.count("T_Stamm_Gema_Bezirk", R"("Bezirksdirektion" <> '' AND "Ort" IS NOT NULL)"),
              3);

    // Every saved query, hence every planning form and report, has rows for some event.
    CDatabase& db = t.db();
    EXPECT_TRUE(showsAnEvent<CSetAbfrEventBesetzung>(db));
    EXPECT_TRUE(showsAnEvent<CSetAbfrEventExtFirma>(db));
    EXPECT_TRUE(showsAnEvent<CSetAbfrEventNacht>(db));
    EXPECT_TRUE(showsAnEvent<CSetAbfrEventSetliste>(db));
    EXPECT_TRUE(showsAnEvent<CSetAbfrEventTransport>(db));
    EXPECT_TRUE(showsAnEvent<CSetAbfrGigFirma>(db));
    EXPECT_TRUE(showsAnEvent<CSetAbfrGigMusiker>(db));
    EXPECT_TRUE(showsAnEvent<CSetAbfrDruckGema>(db));

    // Merchandise of both categories, each article in a live group with a first price; other
    // merchandise has neither label nor performer, as the article form stores it.
    for (int category = 0; category <= 1; ++category) {
        const std::string where =
            "\"fDeleted\" = 0 AND \"Kategorie\" = " + std::to_string(category);
        EXPECT_GT(t.count("T_Stamm_Artikelgruppe", where.c_str()), 0) << category;
    }
    EXPECT_GE(t.count("T_Stamm_Artikel"), 6);
    EXPECT_EQ(t.count("T_Stamm_Artikel", R"("Preis1" IS NULL OR "Artikelgruppe" NOT IN
        (SELECT "Artikelgruppe" FROM "T_Stamm_Artikelgruppe" WHERE "fDeleted" = 0))"),
              0);
    EXPECT_EQ(t.count("T_Stamm_Artikel", R"(("Label" IS NOT NULL OR "Interpret" IS NOT NULL)
        AND "Artikelgruppe" IN (SELECT "Artikelgruppe" FROM "T_Stamm_Artikelgruppe"
                                WHERE "Kategorie" = 1))"),
              0);

    // The birthday reminder finds somebody within its default window of 14 days.
    CSetStammMusiker musicians(db);
    musicians.open(QStringLiteral("[fDeleted]=False"));
    int soonest = 366;
    for (; !musicians.atEnd(); musicians.moveNext())
        soonest = std::min(soonest, daysToBirthday(musicians.getDate("MGeb").date()));
    EXPECT_LE(soonest, 14);
}

TEST(DemoDataTest, MusiciansInstrumentsAreStoredAsTheMusicianFormStoresThem) {
    TestDatabase t;
    fillDemoData(t.db());

    // The form leaves a slot without an instrument null, and fills the slots from the first.
    for (int slot = 1; slot <= 6; ++slot) {
        const std::string column = "\"MInstID" + std::to_string(slot) + "\"";
        EXPECT_EQ(t.count("T_Stamm_Musiker", (column + " = 0").c_str()), 0)
            << "slot " << slot << " holds 0";
        const std::string unknown = column + " IS NOT NULL AND " + column +
                                    " NOT IN (SELECT \"InstrumentID\" FROM \"T_Stamm_Instrument\")";
        EXPECT_EQ(t.count("T_Stamm_Musiker", unknown.c_str()), 0)
            << "slot " << slot << " names no instrument";
        if (slot < 6) {
            const std::string gap =
                column + " IS NULL AND \"MInstID" + std::to_string(slot + 1) + "\" IS NOT NULL";
            EXPECT_EQ(t.count("T_Stamm_Musiker", gap.c_str()), 0) << "gap after slot " << slot;
        }
    }
    EXPECT_EQ(t.count("T_Stamm_Musiker", R"("MInstID1" IS NULL)"), 0);
    EXPECT_GT(t.count("T_Stamm_Musiker", R"("MInstID3" IS NULL)"), 0);
    EXPECT_EQ(t.count("T_Stamm_Musiker", R"("MInstID4" IS NULL AND "MInstID5" IS NULL
        AND "MInstID6" IS NULL)"),
              t.count("T_Stamm_Musiker"));
}

TEST(DemoDataTest, SecondFillIsRefusedWithoutLeavingHalfAnExample) {
    TestDatabase t;
    fillDemoData(t.db());
    const std::string before = contents(t.db());
    const int songs = t.count("T_Stamm_Songliste");
    const int musicians = t.count("T_Stamm_Musiker");

    // The article groups and GEMA offices are keyed by name: the second example collides.
    EXPECT_THROW(fillDemoData(t.db()), CDaoException);

    EXPECT_EQ(contents(t.db()), before);
    EXPECT_EQ(t.count("T_Stamm_Songliste"), songs);
    EXPECT_EQ(t.count("T_Stamm_Musiker"), musicians);
}

TEST(DemoDataTest, GeneratedEventsDependOnlyOnTheSeed) {
    TestDatabase first;
    TestDatabase second;
    TestDatabase other;
    generateEvents(first.db(), 500, 7);
    generateEvents(second.db(), 500, 7);
    generateEvents(other.db(), 500, 8);

    EXPECT_EQ(eventCount(first), 500);
    EXPECT_EQ(contents(first.db()), contents(second.db()));
    EXPECT_NE(contents(first.db()), contents(other.db()));
    expectEventsAsTheFormsWouldStoreThem(first);
    EXPECT_GT(first.count("T_Event_Status"), 0);
    EXPECT_LT(first.count("T_Event_Status"), 500);
    for (int kind = 1; kind <= 5; ++kind) {
        const std::string where = "\"Art\" = " + std::to_string(kind);
        EXPECT_GT(first.count("T_Stamm_ExtFirma", where.c_str()), 0) << "no firm of kind " << kind;
    }
}

TEST(DemoDataTest, GeneratedEventsAddToTheExample) {
    TestDatabase t;
    fillDemoData(t.db());
    const int before = eventCount(t);

    generateEvents(t.db(), 500, 7);

    EXPECT_EQ(eventCount(t), before + 500);
    expectEventsAsTheFormsWouldStoreThem(t);
}

TEST(DemoDataTest, CopiesRepeatTheExampleWithTheBandOnceAndUniqueNamesNumbered) {
    TestDatabase once;
    fillDemoData(once.db());
    TestDatabase thrice;
    fillDemoData(thrice.db(), 3);

    for (const char* table :
         {"T_Stamm_Musiker", "T_Stamm_Instrument", "T_Stamm_ExtFirma", "T_Stamm_ExtAnsprech",
          "T_Stamm_KfzVerleiher_Kfz", "T_Stamm_Hotel", "T_Stamm_Songliste", "T_Stamm_Artikelgruppe",
          "T_Stamm_Artikel", "T_Stamm_Gema_Bezirk", "T_Event_Transport", "T_Event_Uebernachtung",
          "T_Event_Finanzen", "T_Event_Status"})
        EXPECT_EQ(thrice.count(table), 3 * once.count(table)) << table;
    EXPECT_EQ(eventCount(thrice), 3 * eventCount(once));
    // One band, one set of base data, one standard line-up.
    EXPECT_EQ(thrice.count("User"), 1);
    EXPECT_EQ(thrice.count("T_Grunddaten"), 1);
    EXPECT_EQ(thrice.count("T_Event_Besetzung", R"("EventID" = 0)"),
              once.count("T_Event_Besetzung", R"("EventID" = 0)"));
    // Names that must be unique carry the copy's number; every article is in a group.
    EXPECT_EQ(thrice.count("T_Stamm_Artikelgruppe", R"("Artikelgruppe" = 'TEXTIL 3')"), 1);
    EXPECT_EQ(
        thrice.count("T_Stamm_Gema_Bezirk", R"("Bezirksdirektion" = 'Bezirksdirektion Süd 2')"), 1);
    EXPECT_EQ(thrice.count("T_Stamm_Artikel", R"("Artikelgruppe" NOT IN
        (SELECT "Artikelgruppe" FROM "T_Stamm_Artikelgruppe"))"),
              0);
    // A copy's line-ups name its own musicians, not those of the first copy.
    const char* const lineUpMusicians = R"("MusikerID" IN
        (SELECT "MusikerID" FROM "T_Event_Besetzung" WHERE "EventID" > 0))";
    EXPECT_EQ(thrice.count("T_Stamm_Musiker", lineUpMusicians),
              3 * once.count("T_Stamm_Musiker", lineUpMusicians));
    expectEventsAsTheFormsWouldStoreThem(thrice);
}
