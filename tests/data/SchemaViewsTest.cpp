// The saved queries the reports and lists read, and the triggers that keep an event's rows
// together.
#include "data/CDaoException.h"
#include "data/PgConnection.h"
#include "data/RecordSets.h"
#include "data/Schema.h"
#include "support/EngineDatabase.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <map>
#include <string>
#include <vector>

namespace {

// The names of a source's columns, in order, as the engine reports them.
std::vector<std::string> columnNames(CDatabase& db, const std::string& source) {
    const std::string sql = "SELECT * FROM \"" + source + "\"";
    if (PgConnection* server = db.server()) {
        const PgResult result = server->query(sql + " LIMIT 0");
        std::vector<std::string> names;
        for (int i = 0; i < result.columnCount(); ++i)
            names.emplace_back(PQfname(result.get(), i));
        return names;
    }
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &statement, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db.handle());
    std::vector<std::string> names;
    for (int i = 0; i < sqlite3_column_count(statement); ++i)
        names.emplace_back(sqlite3_column_name(statement, i));
    sqlite3_finalize(statement);
    return names;
}

// One event with everything the saved queries join: a musician with instruments in slots 1 and
// 3 (slot 2 holds 0 for "none"), a booked firm, a hotel night with its room price, a set list
// and a hired car. Event 2 has no organiser.
const char* const kFixture = R"sql(
INSERT INTO "T_Stamm_Instrument" ("InstrumentID", "Instrument", "Kurz")
    VALUES (1, 'Gitarre', 'Git'), (2, 'Bass', 'B'), (3, 'Schlagzeug', 'Dr');
INSERT INTO "T_Stamm_Musiker" ("MusikerID", "MName", "MVorname", "MInstID1", "MInstID2", "MInstID3")
    VALUES (1, 'Huber', 'Anna', 1, 0, 3);
INSERT INTO "T_Stamm_ExtFirma" ("ExtID", "Art", "Firma", "Bemerkungen")
    VALUES (1, 1, 'Kulturamt', 'Firmennotiz'), (2, 3, 'Autoverleih Maier', NULL);
INSERT INTO "T_Event" ("EventID", "EArt", "EBeginn", "ELocation", "EOrt", "Status", "VeranstalterID")
    VALUES (1, 'Konzert', '2026-05-01 20:00:00', 'Stadthalle', 'Regensburg', 2, 1),
           (2, 'Hochzeit', '2026-06-13 18:00:00', 'Gasthof', 'Landshut', 1, 0);
INSERT INTO "T_Event_Besetzung" ("EventID", "MusikerID") VALUES (1, 1);
INSERT INTO "T_Event_ExtFirma" ("EventID", "ExtID", "Art", "Bemerkungen", "bVorhanden")
    VALUES (1, 1, 1, 'Buchungsnotiz', -1);
INSERT INTO "T_Stamm_Hotel" ("HotelID", "Name", "Ort") VALUES (1, 'Hotel Post', 'Regensburg');
INSERT INTO "T_Event_Uebernachtung"
    ("EventID", "HotelID", "ZimmerNr", "PersonID", "Funktion", "Anreise", "Abreise", "fBreakfest",
     "Bemerkungen")
    VALUES (1, 1, 12, 1, 1, '2026-05-01 00:00:00', '2026-05-02 00:00:00', -1, 'spät');
INSERT INTO "T_Event_Uebernachtung_Zimmer" ("EventID", "HotelID", "ZimmerNr", "Preis")
    VALUES (1, 1, 12, 79.5), (1, 1, 14, 99.0);
INSERT INTO "T_Event_Setliste" ("SetlisteID", "EventID", "Bezeichnung") VALUES (1, 1, 'Abend');
INSERT INTO "T_Event_Setliste_Songs" ("SetlisteID", "SetNr", "LfdNr", "Titel", "Tempo")
    VALUES (1, 1, 1, 'Auftakt', 120);
INSERT INTO "T_Stamm_KfzVerleiher_Kfz"
    ("KfzID", "ExtID", "Typ", "Kennzeichen", "Sitzpl", "ZulGewicht", "Kupplung", "Bemerkung")
    VALUES (1, 2, 'Sprinter', 'R-AB 123', 9, 3.5, -1, 'Kfznotiz');
INSERT INTO "T_Event_Transport" ("EventID", "VerleiherID", "KfzID", "Fahrer", "Bemerkungen")
    VALUES (1, 2, 1, 'Sepp', 'Transportnotiz');
)sql";

class SchemaViewsTest : public OnBothEngines {
protected:
    void SetUp() override { t.exec(kFixture); }

    // Opens the saved query on event 1 and checks that every column reads as its type.
    template <class Set> void openOnFirstEvent(Set& set) {
        set.open(QStringLiteral("[EventID]=1"));
        ASSERT_FALSE(set.atEnd()) << Set::definition().name();
        for (int i = 0; i < set.source().columnCount(); ++i) {
            const ColumnDef& column = set.source().column(i);
            SCOPED_TRACE(std::string(Set::definition().name()) + "." + column.name);
            switch (column.type) {
            case JetType::Long:
            case JetType::Integer:
            case JetType::Byte:
                EXPECT_NO_THROW(set.getLong(i));
                break;
            case JetType::Single:
                EXPECT_NO_THROW(set.getSingle(i));
                break;
            case JetType::YesNo:
                EXPECT_NO_THROW(set.getBool(i));
                break;
            case JetType::DateTime:
                EXPECT_NO_THROW(set.getDate(i));
                break;
            case JetType::Text:
                EXPECT_NO_THROW(set.getText(i));
                break;
            }
        }
    }
};

TEST_P(SchemaViewsTest, EverySavedQueryYieldsItsColumnsInBindingOrder) {
    const std::vector<const SourceDef*>& views = Schema::views();
    const std::vector<const SourceDef*> classes = {
        &CSetAbfrEventBesetzung::definition(), &CSetAbfrEventExtFirma::definition(),
        &CSetAbfrEventNacht::definition(),     &CSetAbfrEventSetliste::definition(),
        &CSetAbfrEventTransport::definition(), &CSetAbfrGigFirma::definition(),
        &CSetAbfrGigMusiker::definition(),     &CSetAbfrDruckGema::definition(),
    };
    EXPECT_EQ(views.size(), 8u);
    for (const SourceDef* view : classes) {
        SCOPED_TRACE(view->name());
        EXPECT_TRUE(view->isView());
        std::vector<std::string> expected;
        for (const ColumnDef& column : view->columns())
            expected.emplace_back(column.name);
        EXPECT_EQ(columnNames(t.db(), view->name()), expected);
    }
}

TEST_P(SchemaViewsTest, LineUpShowsTheShortNamesOfTheFilledInstrumentSlots) {
    CSetAbfrEventBesetzung lineUp(t.db());
    openOnFirstEvent(lineUp);
    EXPECT_EQ(lineUp.getText("MName"), QLatin1String("Huber"));
    EXPECT_EQ(lineUp.getText("Kurz1"), QLatin1String("Git"));
    EXPECT_EQ(lineUp.getText("Kurz3"), QLatin1String("Dr"));
    for (const char* empty : {"Kurz2", "Kurz4", "Kurz5", "Kurz6"})
        EXPECT_TRUE(lineUp.getText(empty).isEmpty()) << empty;
    lineUp.moveNext();
    EXPECT_TRUE(lineUp.atEnd());
}

TEST_P(SchemaViewsTest, BookedFirmKeepsBookingRemarkAndFirmRemarkApart) {
    CSetAbfrEventExtFirma firms(t.db());
    openOnFirstEvent(firms);
    EXPECT_EQ(firms.getText("Firma"), QLatin1String("Kulturamt"));
    EXPECT_EQ(firms.getText("EBemerkung"), QLatin1String("Buchungsnotiz"));
    EXPECT_EQ(firms.getText("Bemerkungen"), QLatin1String("Firmennotiz"));
    EXPECT_TRUE(firms.getBool("bVorhanden"));
}

TEST_P(SchemaViewsTest, NightCarriesTheHotelAndThePriceOfItsRoom) {
    CSetAbfrEventNacht nights(t.db());
    openOnFirstEvent(nights);
    EXPECT_EQ(nights.getText("HName"), QLatin1String("Hotel Post"));
    EXPECT_EQ(nights.getText("EBemerkungen"), QStringLiteral("spät"));
    EXPECT_EQ(nights.getSingle("Preis"), 79.5f);
    EXPECT_EQ(nights.getInt("ZimmerNr"), 12);
    EXPECT_TRUE(nights.getBool("fBreakfest"));
    EXPECT_EQ(nights.getDate("Anreise"), QDateTime(QDate(2026, 5, 1), QTime(0, 0), Qt::UTC));
    nights.moveNext();
    EXPECT_TRUE(nights.atEnd()); // the second room has no guest
}

TEST_P(SchemaViewsTest, SetListAndTransportShowTheirJoinedRows) {
    CSetAbfrEventSetliste songs(t.db());
    openOnFirstEvent(songs);
    EXPECT_EQ(songs.getText("Titel"), QLatin1String("Auftakt"));
    EXPECT_EQ(songs.getInt("Tempo"), 120);

    CSetAbfrEventTransport cars(t.db());
    openOnFirstEvent(cars);
    EXPECT_EQ(cars.getText("Firma"), QLatin1String("Autoverleih Maier"));
    EXPECT_EQ(cars.getText("Bemerkungen"), QLatin1String("Transportnotiz"));
    EXPECT_EQ(cars.getText("KfzBemerkung"), QLatin1String("Kfznotiz"));
    EXPECT_EQ(cars.getSingle("ZulGewicht"), 3.5f);
    EXPECT_TRUE(cars.getBool("Kupplung"));
}

TEST_P(SchemaViewsTest, PrintQueriesJoinTheEvent) {
    CSetAbfrGigFirma gigFirms(t.db());
    openOnFirstEvent(gigFirms);
    EXPECT_EQ(gigFirms.getText("Firma"), QLatin1String("Kulturamt"));
    EXPECT_EQ(gigFirms.getText("ELocation"), QLatin1String("Stadthalle"));
    EXPECT_EQ(gigFirms.getDate("EBeginn"), QDateTime(QDate(2026, 5, 1), QTime(20, 0), Qt::UTC));

    CSetAbfrGigMusiker gigMusicians(t.db());
    openOnFirstEvent(gigMusicians);
    EXPECT_EQ(gigMusicians.getText("MName"), QLatin1String("Huber"));
    EXPECT_EQ(gigMusicians.getText("EOrt"), QLatin1String("Regensburg"));
    EXPECT_EQ(gigMusicians.getInt("Status"), 2);
}

TEST_P(SchemaViewsTest, GemaListHasEveryEventEvenWithoutOrganiser) {
    CSetAbfrDruckGema gema(t.db());
    openOnFirstEvent(gema);
    EXPECT_EQ(gema.getText("Firma"), QLatin1String("Kulturamt"));
    EXPECT_EQ(gema.getText("Bemerkungen"), QLatin1String("Firmennotiz"));

    gema.open(QStringLiteral("[EventID]=2"));
    ASSERT_FALSE(gema.atEnd());
    EXPECT_EQ(gema.getText("ELocation"), QLatin1String("Gasthof"));
    EXPECT_TRUE(gema.isNull("ExtID"));
    EXPECT_TRUE(gema.isNull("Firma"));
    EXPECT_TRUE(gema.isNull("fPrivat"));

    EXPECT_EQ(t.count("A_Druck_Gema"), t.count("T_Event"));
}

// --- triggers ------------------------------------------------------------------------------

class SchemaTriggersTest : public OnBothEngines {
protected:
    // Events 1 and 2 each hold a row in every table that belongs to an event; set list 10
    // belongs to event 1, set lists 20 and 21 to event 2.
    void SetUp() override {
        t.exec(R"sql(
INSERT INTO "T_Event" ("EventID", "ELocation") VALUES (1, 'A'), (2, 'B');
INSERT INTO "T_Event_Besetzung" ("EventID", "MusikerID") VALUES (1, 1), (2, 1), (0, 1);
INSERT INTO "T_Event_ExtFirma" ("EventID", "ExtID", "Art") VALUES (1, 1, 1), (2, 1, 1);
INSERT INTO "T_Event_Finanzen" ("EventID") VALUES (1), (2);
INSERT INTO "T_Event_Merchandising" ("EventID") VALUES (1), (2);
INSERT INTO "T_Event_Uebernachtung" ("EventID", "PersonID") VALUES (1, 1), (2, 1);
INSERT INTO "T_Event_Uebernachtung_Zimmer" ("EventID", "HotelID", "ZimmerNr")
    VALUES (1, 1, 1), (2, 1, 1);
INSERT INTO "T_Event_Setliste" ("SetlisteID", "EventID") VALUES (10, 1), (20, 2), (21, 2);
INSERT INTO "T_Event_Setliste_Songs" ("SetlisteID", "SetNr", "LfdNr")
    VALUES (10, 1, 1), (10, 1, 2), (20, 1, 1), (21, 1, 1);
INSERT INTO "T_Event_Status" ("EventID") VALUES (1), (2);
INSERT INTO "T_Event_Gema" ("EventID", "GedrucktAm") VALUES (1, '2024-06-01 00:00:00'),
    (2, '2024-06-01 00:00:00');
INSERT INTO "T_Event_Transport" ("EventID", "VerleiherID", "KfzID") VALUES (1, 1, 1), (2, 1, 1);
)sql");
    }

    // Rows per table that belong to an event (songs through their set list).
    std::map<std::string, int> rowsOf(int eventId) {
        std::map<std::string, int> rows;
        const std::string id = std::to_string(eventId);
        for (const SourceDef* table : Schema::tables()) {
            const std::string name = table->name();
            if (name == "T_Event_Setliste_Songs")
                rows[name] =
                    t.count(name.c_str(), ("\"SetlisteID\" IN (SELECT \"SetlisteID\" "
                                           "FROM \"T_Event_Setliste\" WHERE \"EventID\" = " +
                                           id + ")")
                                              .c_str());
            else if (name.rfind("T_Event", 0) == 0)
                rows[name] = t.count(name.c_str(), ("\"EventID\" = " + id).c_str());
        }
        return rows;
    }
};

TEST_P(SchemaTriggersTest, DeletingAnEventRemovesItsRowsInEveryEventTable) {
    const std::map<std::string, int> before = rowsOf(1);
    for (const auto& [table, rows] : before)
        ASSERT_GT(rows, 0) << table << " has no row of event 1 to delete";
    const std::map<std::string, int> otherBefore = rowsOf(2);
    const std::map<std::string, int> placeholderBefore = rowsOf(0);

    CSetEvent events(t.db());
    events.open(QStringLiteral("[EventID]=1"));
    ASSERT_FALSE(events.atEnd());
    events.deleteCurrent();

    for (const auto& [table, rows] : rowsOf(1))
        EXPECT_EQ(rows, 0) << table;
    // The songs of event 1 are gone, not just unreachable through their set list.
    EXPECT_EQ(t.count("T_Event_Setliste_Songs", "\"SetlisteID\" = 10"), 0);
    EXPECT_EQ(rowsOf(2), otherBefore);
    EXPECT_EQ(rowsOf(0), placeholderBefore);
}

TEST_P(SchemaTriggersTest, DeletingASetListRemovesOnlyItsSongs) {
    CSetEventSetliste setLists(t.db());
    setLists.open(QStringLiteral("[SetlisteID]=20"));
    ASSERT_FALSE(setLists.atEnd());
    setLists.deleteCurrent();

    EXPECT_EQ(t.count("T_Event_Setliste_Songs", "\"SetlisteID\" = 20"), 0);
    EXPECT_EQ(t.count("T_Event_Setliste_Songs"), 3);
    EXPECT_EQ(t.count("T_Event_Setliste"), 2);
    EXPECT_EQ(t.count("T_Event", "\"EventID\" = 2"), 1);
    EXPECT_EQ(rowsOf(2)["T_Event_Besetzung"], 1);
}

INSTANTIATE_ON_BOTH_ENGINES(SchemaViewsTest);
INSTANTIATE_ON_BOTH_ENGINES(SchemaTriggersTest);

} // namespace
