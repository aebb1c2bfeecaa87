// The dynaset as the forms use it: adding, editing and deleting rows, walking a set while
// rows change under it, unique keys and transactions.
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "support/EngineDatabase.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CDaoException& e) {
        return e.code();
    }
    return 0;
}

QString byKey(const char* column, std::int64_t key) {
    return QStringLiteral("[%1]=%2").arg(QLatin1String(column)).arg(key);
}

class RecordsetTest : public OnBothEngines {
protected:
    // Adds an event through a record set and returns the key the database gave it.
    std::int32_t addEvent(const QString& location) {
        CSetEvent events(t.db());
        events.open();
        events.addNew();
        events.setText("ELocation", location);
        events.update();
        events.moveToBookmark(events.lastModified());
        EXPECT_EQ(events.getText("ELocation"), location);
        return events.getLong("EventID");
    }

    QString location(std::int32_t eventId) {
        return t.db().queryText("SELECT \"ELocation\" FROM \"T_Event\" WHERE \"EventID\" = " +
                                std::to_string(eventId));
    }
};

// --- adding and changing rows ------------------------------------------------------------------

TEST_P(RecordsetTest, NewRowsCarryTheKeyTheDatabaseGaveThem) {
    const std::int32_t first = addEvent(QStringLiteral("Stadthalle"));
    const std::int32_t second = addEvent(QStringLiteral("Gasthof"));
    EXPECT_GT(first, 0);
    EXPECT_GT(second, first);
    EXPECT_EQ(location(second), QLatin1String("Gasthof"));

    CSetEventFinanzen booking(t.db());
    booking.open();
    booking.addNew();
    booking.setLong("EventID", second);
    booking.update();
    EXPECT_FALSE(booking.isEditing());
    booking.moveToBookmark(booking.lastModified());
    EXPECT_EQ(QString::number(booking.getLong("FinanzID")),
              t.db().queryText(R"(SELECT max("FinanzID") FROM "T_Event_Finanzen")"));
    EXPECT_EQ(booking.getLong("EventID"), second);

    CSetStammExtFirma firm(t.db());
    firm.open();
    firm.addNew();
    firm.setText("Firma", QStringLiteral("Kulturamt"));
    firm.update();
    firm.moveToBookmark(firm.lastModified());
    EXPECT_EQ(firm.getText("Firma"), QLatin1String("Kulturamt"));
    EXPECT_EQ(QString::number(firm.getLong("ExtID")),
              t.db().queryText(R"(SELECT "ExtID" FROM "T_Stamm_ExtFirma")"));
}

TEST_P(RecordsetTest, KeysAreNeverReusedAfterDeletingTheHighestRow) {
    addEvent(QStringLiteral("A"));
    const std::int32_t highest = addEvent(QStringLiteral("B"));
    CSetEvent events(t.db());
    events.open(byKey("EventID", highest));
    ASSERT_FALSE(events.atEnd());
    events.deleteCurrent();
    EXPECT_EQ(t.count("T_Event", ("\"EventID\" = " + std::to_string(highest)).c_str()), 0);
    EXPECT_GT(addEvent(QStringLiteral("C")), highest);
}

TEST_P(RecordsetTest, UpdateOfAnEditShowsTheStoredRow) {
    const std::int32_t id = addEvent(QStringLiteral("Alt"));
    CSetEvent events(t.db());
    events.open(byKey("EventID", id));
    events.edit();
    events.setText("ELocation", QStringLiteral("Neu"));
    events.setSingle("EGageVereinb", 1234.567);
    events.setDate("EBeginn", QDateTime(QDate(2026, 5, 1), QTime(20, 0, 0, 999), Qt::UTC));
    events.update();
    EXPECT_FALSE(events.isEditing());
    EXPECT_EQ(events.getText("ELocation"), QLatin1String("Neu"));
    EXPECT_EQ(events.getSingle("EGageVereinb"), 1234.567f);
    EXPECT_EQ(events.getDate("EBeginn"), QDateTime(QDate(2026, 5, 1), QTime(20, 0), Qt::UTC));
    EXPECT_EQ(location(id), QLatin1String("Neu"));

    // The bookmark of an edited row leads back to it from elsewhere in the set.
    const CRecordset::Bookmark edited = events.lastModified();
    events.open();
    events.moveToBookmark(edited);
    EXPECT_EQ(events.getLong("EventID"), id);
}

TEST_P(RecordsetTest, CancelUpdateDropsThePendingChange) {
    const std::int32_t id = addEvent(QStringLiteral("Alt"));
    CSetEvent events(t.db());
    events.open(byKey("EventID", id));
    events.edit();
    events.setText("ELocation", QStringLiteral("Neu"));
    EXPECT_EQ(events.getText("ELocation"), QLatin1String("Neu"));
    events.cancelUpdate();
    EXPECT_FALSE(events.isEditing());
    EXPECT_EQ(events.getText("ELocation"), QLatin1String("Alt"));
    EXPECT_EQ(location(id), QLatin1String("Alt"));

    events.addNew();
    events.setText("ELocation", QStringLiteral("Verworfen"));
    events.cancelUpdate();
    EXPECT_EQ(events.getLong("EventID"), id); // back on the row it stood on
    EXPECT_EQ(t.count("T_Event"), 2);

    // requery drops a pending edit as well
    events.edit();
    events.setText("ELocation", QStringLiteral("Verworfen"));
    events.requery();
    EXPECT_FALSE(events.isEditing());
    EXPECT_EQ(location(id), QLatin1String("Alt"));
}

TEST_P(RecordsetTest, WritesOutsideAddNewOrEditAreRefused) {
    CSetEvent events(t.db());
    events.open();
    EXPECT_EQ(errorOf([&] { events.setText("ELocation", QStringLiteral("x")); }),
              CDaoException::UpdateWithoutEdit);
    EXPECT_EQ(errorOf([&] { events.setNull("EBeginn"); }), CDaoException::UpdateWithoutEdit);
    EXPECT_EQ(errorOf([&] { events.update(); }), CDaoException::UpdateWithoutEdit);
    EXPECT_EQ(location(0), QLatin1String("Standard"));

    events.moveNext();
    ASSERT_TRUE(events.atEnd());
    EXPECT_EQ(errorOf([&] { events.getText("ELocation"); }), CDaoException::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { events.edit(); }), CDaoException::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { events.deleteCurrent(); }), CDaoException::NoCurrentRecord);
}

TEST_P(RecordsetTest, ColumnsThatDoNotExistAreRefused) {
    CSetEvent events(t.db());
    events.open();
    EXPECT_EQ(errorOf([&] { events.getLong(22); }), CDaoException::UnknownField);
    EXPECT_EQ(errorOf([&] { events.getText(-1); }), CDaoException::UnknownField);
    EXPECT_EQ(errorOf([&] { events.getText("Veranstalter"); }), CDaoException::UnknownField);
    // Names compare without regard to case, as the forms have always written them.
    EXPECT_EQ(events.getText("elocation"), QLatin1String("Standard"));
    // A column read with the wrong type is a refusal, not a crash.
    EXPECT_EQ(errorOf([&] { events.getText("EventID"); }), CDaoException::TypeMismatch);
    events.addNew();
    EXPECT_EQ(errorOf([&] { events.setValue(22, QVariant(1)); }), CDaoException::UnknownField);
}

TEST_P(RecordsetTest, SavedQueriesCannotBeWritten) {
    CSetAbfrDruckGema gema(t.db());
    gema.open();
    ASSERT_FALSE(gema.atEnd());
    EXPECT_NE(errorOf([&] {
                  gema.addNew();
                  gema.setText("ELocation", QStringLiteral("x"));
                  gema.update();
              }),
              0);
    if (gema.isEditing())
        gema.cancelUpdate();
    EXPECT_NE(errorOf([&] {
                  gema.edit();
                  gema.setText("ELocation", QStringLiteral("x"));
                  gema.update();
              }),
              0);
    if (gema.isEditing())
        gema.cancelUpdate();
    EXPECT_NE(errorOf([&] { gema.deleteCurrent(); }), 0);
    EXPECT_EQ(t.count("T_Event"), 1);
    EXPECT_EQ(location(0), QLatin1String("Standard"));
}

// --- unique keys ---------------------------------------------------------------------------

TEST_P(RecordsetTest, SecondTransportOfTheSameCarIsRefused) {
    CSetEventTransport transport(t.db());
    transport.open();
    auto add = [&](std::int64_t kfz) {
        transport.addNew();
        transport.setLong("EventID", 0);
        transport.setLong("VerleiherID", 5);
        transport.setLong("KfzID", kfz);
        transport.update();
    };
    add(7);
    add(8);
    try {
        add(7);
        FAIL() << "duplicate stored";
    } catch (const CDaoException& e) {
        EXPECT_EQ(e.code(), 3022);
        EXPECT_TRUE(e.isDuplicateKey());
        EXPECT_EQ(e.scode(), 0x800A0BCEL);
        EXPECT_FALSE(e.description().isEmpty());
    }
    EXPECT_TRUE(transport.isEditing()); // the pending values stay for the user to fix
    EXPECT_EQ(transport.getLong("KfzID"), 7);
    transport.cancelUpdate();
    EXPECT_EQ(t.count("T_Event_Transport"), 2);

    // Changing the second car into the first one is refused and leaves the row as it was.
    transport.requery();
    while (!transport.atEnd() && transport.getLong("KfzID") != 8)
        transport.moveNext();
    ASSERT_FALSE(transport.atEnd());
    transport.edit();
    transport.setLong("KfzID", 7);
    EXPECT_EQ(errorOf([&] { transport.update(); }), CDaoException::DuplicateKey);
    transport.cancelUpdate();
    EXPECT_EQ(transport.getLong("KfzID"), 8);
    EXPECT_EQ(t.count("T_Event_Transport", "\"KfzID\" = 8"), 1);
}

TEST_P(RecordsetTest, SecondNightOfThePersonInTheSameRoleAndArrivalIsRefused) {
    CSetEventNacht nights(t.db());
    nights.open();
    auto add = [&](int function, const QDate& arrival) {
        return errorOf([&] {
            nights.addNew();
            nights.setLong("EventID", 0);
            nights.setLong("PersonID", 3);
            nights.setLong("Funktion", function);
            nights.setDate("Anreise", QDateTime(arrival, QTime(0, 0), Qt::UTC));
            nights.update();
        });
    };
    EXPECT_EQ(add(1, QDate(2026, 5, 1)), 0);
    EXPECT_EQ(add(1, QDate(2026, 5, 2)), 0);
    EXPECT_EQ(add(2, QDate(2026, 5, 1)), 0);
    EXPECT_EQ(add(1, QDate(2026, 5, 1)), CDaoException::DuplicateKey);
    nights.cancelUpdate();
    EXPECT_EQ(t.count("T_Event_Uebernachtung"), 3);
}

// --- walking while rows change -----------------------------------------------------------------

TEST_P(RecordsetTest, RenumberingWhileWalkingVisitsEverySongOnce) {
    t.exec(R"(INSERT INTO "T_Event_Setliste" ("SetlisteID", "EventID") VALUES (1, 0))");
    CSetEventSetlisteSongs songs(t.db());
    songs.open();
    for (int set = 2; set >= 1; --set) {
        for (int position = 3; position >= 1; --position) {
            songs.addNew();
            songs.setLong("SetlisteID", 1);
            songs.setLong("SetNr", set);
            songs.setLong("LfdNr", position);
            songs.update();
        }
    }

    songs.open(QStringLiteral("[SetlisteID]=1"), QStringLiteral("[SetNr], [LfdNr]"));
    std::vector<std::pair<int, int>> visited;
    for (; !songs.atEnd(); songs.moveNext()) {
        visited.emplace_back(songs.getInt("SetNr"), songs.getInt("LfdNr"));
        songs.edit();
        songs.setLong("LfdNr", songs.getInt("LfdNr") + 10);
        songs.update();
        EXPECT_EQ(songs.getInt("LfdNr"), visited.back().second + 10);
    }
    const std::vector<std::pair<int, int>> expected = {{1, 1}, {1, 2}, {1, 3},
                                                       {2, 1}, {2, 2}, {2, 3}};
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(t.count("T_Event_Setliste_Songs", "\"LfdNr\" BETWEEN 11 AND 13"), 6);
}

TEST_P(RecordsetTest, WalkSkipsRowsDeletedMeanwhileAndSeesChangedOnes) {
    std::vector<std::int32_t> ids;
    for (const char* name : {"A", "B", "C", "D", "E", "F"})
        ids.push_back(addEvent(QLatin1String(name)));

    CSetEvent walk(t.db());
    walk.open(QStringLiteral("[EventID]>0"), QStringLiteral("[EventID]"));
    QStringList seen;
    seen << walk.getText("ELocation"); // A, read before anything changes

    // A second set on the same connection deletes C and changes D ahead of the walk.
    CSetEvent other(t.db());
    other.open(byKey("EventID", ids[2]));
    other.deleteCurrent();
    other.open(byKey("EventID", ids[3]));
    other.edit();
    other.setText("ELocation", QStringLiteral("D2"));
    other.update();
    // Plain SQL on the connection is a write like any other.
    t.exec(("DELETE FROM \"T_Event\" WHERE \"EventID\" = " + std::to_string(ids[5])).c_str());

    for (walk.moveNext(); !walk.atEnd(); walk.moveNext()) {
        seen << walk.getText("ELocation");
        if (walk.getText("ELocation") == QLatin1String("B")) {
            walk.deleteCurrent();
            EXPECT_EQ(errorOf([&] { walk.getText("ELocation"); }), CDaoException::RecordDeleted);
        }
    }
    EXPECT_EQ(seen, QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("D2"),
                                 QStringLiteral("E")}));
    EXPECT_EQ(t.count("T_Event"), 4); // placeholder, A, D2, E
}

TEST_P(RecordsetTest, MoveNextAfterMoveToBookmarkContinuesAfterTheBookmarkedRow) {
    for (const char* name : {"A", "B", "C", "D"})
        addEvent(QLatin1String(name));
    CSetEvent events(t.db());
    events.open(QString(), QStringLiteral("[ELocation]"));
    while (events.getText("ELocation") != QLatin1String("B"))
        events.moveNext();
    events.edit();
    events.setText("EOrt", QStringLiteral("Passau"));
    events.update();
    const CRecordset::Bookmark b = events.lastModified();

    events.requery(); // stands on A again
    ASSERT_EQ(events.getText("ELocation"), QLatin1String("A"));
    events.moveToBookmark(b);
    EXPECT_EQ(events.getText("EOrt"), QLatin1String("Passau"));
    events.moveNext();
    ASSERT_FALSE(events.atEnd());
    EXPECT_EQ(events.getText("ELocation"), QLatin1String("C"));
}

TEST_P(RecordsetTest, RequerySeesRowsAddedSinceOpen) {
    CSetEvent walk(t.db());
    walk.open(QString(), QStringLiteral("[EventID]"));
    const std::int32_t added = addEvent(QStringLiteral("Neu"));
    walk.requery();
    std::vector<std::int32_t> keys;
    for (; !walk.atEnd(); walk.moveNext())
        keys.push_back(walk.getLong("EventID"));
    EXPECT_EQ(keys, (std::vector<std::int32_t>{0, added}));
}

// --- transactions ----------------------------------------------------------------------------

TEST_P(RecordsetTest, TransactionRollsBackUnlessCommitted) {
    {
        CDbTransaction transaction(t.db());
        addEvent(QStringLiteral("Verworfen"));
        EXPECT_EQ(t.count("T_Event"), 2);
    }
    EXPECT_EQ(t.count("T_Event"), 1);
    {
        CDbTransaction transaction(t.db());
        addEvent(QStringLiteral("Behalten"));
        transaction.commit();
    }
    EXPECT_EQ(t.count("T_Event", "\"ELocation\" = 'Behalten'"), 1);
    EXPECT_EQ(t.count("T_Event"), 2);
}

TEST_P(RecordsetTest, NestedTransactionsUndoOnlyTheirOwnPartUntilTheOuterOneEnds) {
    {
        CDbTransaction outer(t.db());
        addEvent(QStringLiteral("Aussen"));
        {
            CDbTransaction inner(t.db());
            addEvent(QStringLiteral("Innen verworfen"));
        }
        {
            CDbTransaction inner(t.db());
            addEvent(QStringLiteral("Innen"));
            inner.commit();
        }
        EXPECT_EQ(t.count("T_Event"), 3);
        outer.commit();
    }
    EXPECT_EQ(t.count("T_Event", "\"ELocation\" IN ('Aussen', 'Innen')"), 2);
    EXPECT_EQ(t.count("T_Event"), 3);

    {
        CDbTransaction outer(t.db());
        {
            CDbTransaction inner(t.db());
            addEvent(QStringLiteral("Innen bestätigt, außen verworfen"));
            inner.commit();
        }
    }
    EXPECT_EQ(t.count("T_Event"), 3);

    // After all guards are gone, writes stand on their own again.
    addEvent(QStringLiteral("Danach"));
    EXPECT_EQ(t.count("T_Event"), 4);
}

TEST_P(RecordsetTest, RolledBackDeleteBringsTheEventsRowsBack) {
    const std::int32_t id = addEvent(QStringLiteral("Stadthalle"));
    t.exec(("INSERT INTO \"T_Event_Besetzung\" (\"EventID\", \"MusikerID\") VALUES (" +
            std::to_string(id) + ", 1)")
               .c_str());
    {
        CDbTransaction transaction(t.db());
        CSetEvent events(t.db());
        events.open(byKey("EventID", id));
        events.deleteCurrent();
        EXPECT_EQ(t.count("T_Event_Besetzung"), 0);
    }
    EXPECT_EQ(location(id), QLatin1String("Stadthalle"));
    EXPECT_EQ(t.count("T_Event_Besetzung"), 1);
}

INSTANTIATE_ON_BOTH_ENGINES(RecordsetTest);

} // namespace
