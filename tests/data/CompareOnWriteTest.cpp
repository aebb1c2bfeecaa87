// Two programs on one database: an edit writes only what its caller changed, and only while the row
// still holds what the caller read; otherwise nothing is written and the error names the columns.
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "support/EngineDatabase.h"
#include "support/QStringPrinting.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

class CompareOnWriteTest : public OnBothEngines {
protected:
    CompareOnWriteTest() {
        t.exec(R"(INSERT INTO "T_Event" ("EventID", "EArt", "ELocation", "EOrt", "EGageVereinb") )"
               "VALUES (4, 'Gala', 'Halle', 'Bonn', 1500)");
        t.openAgain(other);
    }

    // The event as a form reads it: the row and the columns it shows.
    CRecordset::ReadImage readEvent() {
        CSetEvent event(t.db());
        event.open(QStringLiteral("[EventID]=4"));
        event.getText("EArt");
        event.getText("ELocation");
        event.getSingle("EGageVereinb");
        return event.readImage();
    }

    // Writes a changed type of event over the row as read; gives the error, if any.
    std::optional<CDaoException> writeType(const CRecordset::ReadImage& asRead,
                                           const QString& type) {
        CSetEvent event(t.db());
        event.open(QStringLiteral("[EventID]=4"));
        try {
            event.edit(asRead);
            event.setText("EArt", type);
            event.setText("ELocation", QStringLiteral("Halle")); // as read: not written
            event.update();
        } catch (const CDaoException& error) {
            return error;
        }
        return std::nullopt;
    }

    QString stored(const char* column) {
        return t.db().queryText(std::string("SELECT \"") + column +
                                R"(" FROM "T_Event" WHERE "EventID" = 4)");
    }
    // The fee as stored: a number, whichever way the engine writes it as text.
    double storedFee() { return stored("EGageVereinb").toDouble(); }

    CDatabase other; // the second program
};

TEST_P(CompareOnWriteTest, AnEditOverARowChangedMeanwhileWritesNothingAndNamesTheColumns) {
    const CRecordset::ReadImage asRead = readEvent();
    other.execute(
        R"(UPDATE "T_Event" SET "EGageVereinb" = 1800, "ELocation" = 'Aula' WHERE "EventID" = 4)");

    const std::optional<CDaoException> error = writeType(asRead, QStringLiteral("Hochzeit"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), CDaoException::RowChanged);
    EXPECT_EQ(error->table(), QLatin1String("T_Event"));
    EXPECT_EQ(error->changedColumns(), QStringList({"ELocation", "EGageVereinb"}));
    EXPECT_EQ(error->ownColumns(), QStringList({"EArt"}));
    // The server knows who changed the row and when, and says so.
    QString changed = QStringLiteral("geändert");
    if (t.engine() == Engine::Server) {
        EXPECT_EQ(error->changedBy(), QLatin1String("vorlanto"));
        EXPECT_LT(error->changedAt().secsTo(QDateTime::currentDateTime()), 120);
        changed = QStringLiteral("von vorlanto (%1) geändert")
                      .arg(error->changedAt().toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    }
    EXPECT_EQ(error->description(), QStringLiteral("Der Datensatz wurde inzwischen %1: "
                                                   "ELocation, EGageVereinb. Ihre Änderungen: "
                                                   "EArt.")
                                        .arg(changed));
    EXPECT_EQ(stored("EArt"), QLatin1String("Gala"));
    EXPECT_EQ(stored("ELocation"), QLatin1String("Aula"));
    EXPECT_EQ(storedFee(), 1800);
}

TEST_P(CompareOnWriteTest, ChangesOfColumnsNotReadStayAndOnlyChangedColumnsAreWritten) {
    const CRecordset::ReadImage asRead = readEvent();
    // The town was not read; the location is written back unchanged by the edit.
    other.execute(R"(UPDATE "T_Event" SET "EOrt" = 'Köln' WHERE "EventID" = 4)");
    EXPECT_FALSE(writeType(asRead, QStringLiteral("Hochzeit")));
    EXPECT_EQ(stored("EArt"), QLatin1String("Hochzeit"));
    EXPECT_EQ(stored("EOrt"), QStringLiteral("Köln"));

    // A column set to the value it had when read is not written, read or not: the town set
    // back to "Bonn" as the form had it leaves the other program's "Köln".
    t.exec(R"(UPDATE "T_Event" SET "EOrt" = 'Bonn' WHERE "EventID" = 4)");
    const CRecordset::ReadImage withBonn = readEvent();
    other.execute(R"(UPDATE "T_Event" SET "EOrt" = 'Köln' WHERE "EventID" = 4)");
    CSetEvent event(t.db());
    event.open(QStringLiteral("[EventID]=4"));
    event.edit(withBonn);
    event.setText("EOrt", QStringLiteral("Bonn"));
    event.setText("EArt", QStringLiteral("Ball"));
    EXPECT_NO_THROW(event.update());
    EXPECT_EQ(stored("EArt"), QLatin1String("Ball"));
    EXPECT_EQ(stored("EOrt"), QStringLiteral("Köln"));
}

TEST_P(CompareOnWriteTest, WritingOverTheOtherChangesIsTheCallersChoice) {
    const CRecordset::ReadImage asRead = readEvent();
    other.execute(R"(UPDATE "T_Event" SET "ELocation" = 'Aula' WHERE "EventID" = 4)");
    ASSERT_TRUE(writeType(asRead, QStringLiteral("Hochzeit")));
    {
        CDbWriteOver over(t.db());
        EXPECT_FALSE(writeType(asRead, QStringLiteral("Hochzeit")));
    }
    EXPECT_EQ(stored("EArt"), QLatin1String("Hochzeit"));
    EXPECT_EQ(stored("ELocation"), QLatin1String("Halle"));
    // Outside the guard the comparison holds again.
    other.execute(R"(UPDATE "T_Event" SET "EGageVereinb" = 900 WHERE "EventID" = 4)");
    EXPECT_TRUE(writeType(asRead, QStringLiteral("Ball")));
}

TEST_P(CompareOnWriteTest, ARowDeletedMeanwhileIsNeitherEditedNorDeleted) {
    CSetEvent event(t.db());
    event.open(QStringLiteral("[EventID]=4"));
    // Standing on the row without a statement still reading, as a form's read does.
    event.moveToBookmark(
        t.db().queryText(R"(SELECT rowid FROM "T_Event" WHERE "EventID" = 4)").toLongLong());
    event.getText("EArt");
    other.execute(R"(DELETE FROM "T_Event" WHERE "EventID" = 4)");

    event.edit();
    event.setText("EArt", QStringLiteral("Ball"));
    try {
        event.update();
        ADD_FAILURE() << "the edit of a deleted row went through";
    } catch (const CDaoException& error) {
        EXPECT_EQ(error.code(), CDaoException::RecordDeleted);
    }
    event.cancelUpdate();
    try {
        event.deleteCurrent();
        ADD_FAILURE() << "the deletion of a deleted row went through";
    } catch (const CDaoException& error) {
        EXPECT_EQ(error.code(), CDaoException::RecordDeleted);
        EXPECT_EQ(error.description(), QStringLiteral("Der Datensatz wurde inzwischen gelöscht."));
    }
}

TEST_P(CompareOnWriteTest, AValueReadElsewhereIsComparedLikeOneReadHere) {
    // A form showed the fee 1500 and the user entered 1600; meanwhile it became 1800.
    other.execute(R"(UPDATE "T_Event" SET "EGageVereinb" = 1800 WHERE "EventID" = 4)");
    CSetEvent event(t.db());
    event.open(QStringLiteral("[EventID]=4"));
    event.edit();
    event.expect("EGageVereinb", 1500.0);
    event.setSingle("EGageVereinb", 1600);
    try {
        event.update();
        ADD_FAILURE() << "the fee shown was not compared";
    } catch (const CDaoException& error) {
        EXPECT_EQ(error.code(), CDaoException::RowChanged);
        EXPECT_EQ(error.changedColumns(), QStringList({"EGageVereinb"}));
    }
    event.cancelUpdate();
    EXPECT_EQ(storedFee(), 1800);

    // With the fee as stored (a single, as the column holds it) the edit goes through.
    event.edit();
    event.expect("EGageVereinb", 1800.0);
    event.setSingle("EGageVereinb", 1600);
    EXPECT_NO_THROW(event.update());
    EXPECT_EQ(storedFee(), 1600);
}

INSTANTIATE_ON_BOTH_ENGINES(CompareOnWriteTest);

} // namespace
