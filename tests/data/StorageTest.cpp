// How values are stored: type ranges, Single rounding, Yes/No, null vs empty text, dates,
// the checks the schema carries itself, and opening and creating the database file.
#include "data/CDaoException.h"
#include "data/DatabaseFactory.h"
#include "data/RecordSets.h"
#include "data/Schema.h"
#include "support/EngineDatabase.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <string>

namespace {

struct Refusal {
    int code = 0; // 0: nothing was thrown
    QString description;
};

Refusal refusalOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CDaoException& e) {
        return {e.code(), e.description()};
    }
    return {};
}

// The value exactly as SQLite holds it, past the record sets.
double rawReal(CDatabase& db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &statement, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_type(statement, 0), SQLITE_FLOAT);
    const double value = sqlite3_column_double(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

QDateTime utc(int y, int m, int d, int h = 0, int min = 0, int s = 0, int ms = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, min, s, ms), Qt::UTC);
}

// Every test works on one booking of the placeholder event.
class StorageTest : public OnBothEngines {
protected:
    void SetUp() override {
        booking.open();
        booking.addNew();
        booking.setLong("EventID", 0);
        booking.setText("Verwendung", QStringLiteral("Gage"));
        booking.update();
        booking.moveToBookmark(booking.lastModified());
    }

    QString raw(const char* column) {
        return t.db().queryText(std::string("SELECT \"") + column + "\" FROM \"T_Event_Finanzen\"");
    }

    // Edits the booking with one change; returns how the database answered.
    Refusal store(const std::function<void(CRecordset&)>& change) {
        booking.edit();
        Refusal refusal = refusalOf([&] {
            change(booking);
            booking.update();
        });
        if (booking.isEditing())
            booking.cancelUpdate();
        return refusal;
    }

    CSetEventFinanzen booking{t.db()};
};

// The file's own checks of values that SQL writes past the record sets. SQLite keeps any value
// in any column, so the file's schema checks every one; the server's typed columns refuse or
// convert them on their own terms (see the server schema's tests).
class StorageFileChecksTest : public StorageTest {};

TEST_P(StorageTest, SingleIsRoundedToItsNearest32BitValue) {
    ASSERT_EQ(store([](CRecordset& r) { r.setSingle("Auszahlung", 0.1); }).code, 0);
    EXPECT_EQ(booking.getSingle("Auszahlung"), 0.1f);
    // The file holds the single's own value; the server keeps its shortest decimal, so that
    // sums of amounts come out exact.
    if (t.engine() == Engine::File)
        EXPECT_EQ(rawReal(t.db(), "SELECT \"Auszahlung\" FROM \"T_Event_Finanzen\""),
                  static_cast<double>(0.1f));
    else
        EXPECT_EQ(raw("Auszahlung"), QLatin1String("0.1"));

    // Beyond the largest Single there is no nearest value.
    EXPECT_EQ(store([](CRecordset& r) { r.setSingle("Auszahlung", 1e39); }).code,
              CDaoException::NumericOverflow);

    CSetEventFinanzen again(t.db());
    again.open();
    EXPECT_EQ(again.getSingle("Auszahlung"), 0.1f);
    EXPECT_FLOAT_EQ(again.value("Auszahlung").toFloat(), 0.1f);
}

TEST_P(StorageTest, TextUpTo255CharactersIsStoredAndLongerIsRefused) {
    // Characters count, not bytes: 255 umlauts are 510 bytes in the file.
    const QString longest(255, QChar(u'ä'));
    ASSERT_EQ(store([&](CRecordset& r) { r.setText("Bemerkung", longest); }).code, 0);
    EXPECT_EQ(booking.getText("Bemerkung"), longest);

    const Refusal refusal =
        store([](CRecordset& r) { r.setText("Bemerkung", QString(256, QLatin1Char('x'))); });
    EXPECT_EQ(refusal.code, CDaoException::FieldTooSmall);
    EXPECT_TRUE(refusal.description.contains(QLatin1String("Bemerkung")))
        << refusal.description.toStdString();
    EXPECT_EQ(booking.getText("Bemerkung"), longest);
    EXPECT_EQ(raw("Bemerkung"), longest);
}

TEST_P(StorageTest, WholeNumbersOutsideTheirRangeAreRefused) {
    struct Case {
        const char* column;
        std::int64_t value;
        bool stored;
    };
    const Case cases[] = {
        {"Status", 0, true}, // Byte
        {"Status", 255, true},
        {"Status", 256, false},
        {"Status", -1, false},
        {"Kostenstelle", -32768, true}, // Integer
        {"Kostenstelle", 32767, true},
        {"Kostenstelle", 32768, false},
        {"Kostenstelle", -32769, false},
        {"ID", -2147483648LL, true}, // Long
        {"ID", 2147483647LL, true},
        {"ID", 2147483648LL, false},
        {"ID", -2147483649LL, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " = " + std::to_string(c.value));
        const QString before = raw(c.column);
        const Refusal refusal = store([&](CRecordset& r) { r.setLong(c.column, c.value); });
        if (c.stored) {
            EXPECT_EQ(refusal.code, 0) << refusal.description.toStdString();
            EXPECT_EQ(booking.getLong(c.column), c.value);
            EXPECT_EQ(raw(c.column), QString::number(c.value));
        } else {
            EXPECT_EQ(refusal.code, CDaoException::NumericOverflow);
            EXPECT_TRUE(refusal.description.contains(QLatin1String(c.column)))
                << refusal.description.toStdString();
            EXPECT_EQ(raw(c.column), before);
        }
    }
}

TEST_P(StorageTest, YesNoIsStoredAsMinusOneAndZero) {
    // A new row that never touched the flag holds No, not null.
    EXPECT_EQ(t.count("T_Event_Finanzen", "\"fZahltVeranstalter\" = 0"), 1);
    EXPECT_FALSE(booking.isNull("fZahltVeranstalter"));

    ASSERT_EQ(store([](CRecordset& r) { r.setBool("fZahltVeranstalter", true); }).code, 0);
    EXPECT_EQ(t.count("T_Event_Finanzen", "\"fZahltVeranstalter\" = -1"), 1);
    EXPECT_TRUE(booking.getBool("fZahltVeranstalter"));
    EXPECT_EQ(booking.getLong("fZahltVeranstalter"), -1);

    ASSERT_EQ(store([](CRecordset& r) { r.setBool("fZahltVeranstalter", false); }).code, 0);
    EXPECT_EQ(t.count("T_Event_Finanzen", "\"fZahltVeranstalter\" = 0"), 1);
    EXPECT_FALSE(booking.getBool("fZahltVeranstalter"));
}

TEST_P(StorageTest, NullAndEmptyTextAreKeptApart) {
    ASSERT_EQ(store([](CRecordset& r) {
                  r.setNull("Bemerkung");
                  r.setText("RechnungNr", QStringLiteral(""));
                  r.setText("Empfaenger", QString()); // a null QString stores empty text
              }).code,
              0);
    CSetEventFinanzen again(t.db());
    again.open();
    EXPECT_TRUE(again.isNull("Bemerkung"));
    EXPECT_TRUE(again.getText("Bemerkung").isNull());
    EXPECT_FALSE(again.value("Bemerkung").isValid());
    for (const char* column : {"RechnungNr", "Empfaenger"}) {
        SCOPED_TRACE(column);
        EXPECT_FALSE(again.isNull(column));
        EXPECT_FALSE(again.getText(column).isNull());
        EXPECT_EQ(again.getText(column), QLatin1String(""));
    }
    EXPECT_EQ(t.count("T_Event_Finanzen", "\"Bemerkung\" IS NULL"), 1);
    EXPECT_EQ(t.count("T_Event_Finanzen", "\"RechnungNr\" = '' AND \"Empfaenger\" = ''"), 1);
}

TEST_P(StorageTest, DatesKeepTheSecondAndDateOnlyValuesCarryMidnight) {
    ASSERT_EQ(store([](CRecordset& r) {
                  r.setDate("ZDatum", utc(2026, 3, 14, 21, 30, 15, 750));
                  r.setValue("RDatum", QDate(2026, 12, 31));
              }).code,
              0);
    EXPECT_EQ(raw("ZDatum"), QLatin1String("2026-03-14 21:30:15"));
    EXPECT_EQ(raw("RDatum"), QLatin1String("2026-12-31 00:00:00"));

    CSetEventFinanzen again(t.db());
    again.open();
    EXPECT_EQ(again.getDate("ZDatum"), utc(2026, 3, 14, 21, 30, 15));
    EXPECT_EQ(again.getDate("ZDatum").offsetFromUtc(), 0);
    EXPECT_EQ(again.getDate("RDatum"), utc(2026, 12, 31));

    // A local wall-clock time is kept as written, whatever the machine's time zone.
    ASSERT_EQ(store([](CRecordset& r) {
                  r.setDate("ZDatum", QDateTime(QDate(2026, 7, 1), QTime(20, 0), Qt::LocalTime));
              }).code,
              0);
    EXPECT_EQ(raw("ZDatum"), QLatin1String("2026-07-01 20:00:00"));

    ASSERT_EQ(store([](CRecordset& r) { r.setNull("ZDatum"); }).code, 0);
    EXPECT_TRUE(booking.isNull("ZDatum"));
    EXPECT_FALSE(booking.getDate("ZDatum").isValid());
    EXPECT_EQ(t.count("T_Event_Finanzen", "\"ZDatum\" IS NULL"), 1);
}

// A date that is no date never turns silently into "no date": the caller says null with
// setNull, and whatever else is invalid is refused, leaving the stored date as it was.
TEST_P(StorageTest, InvalidDatesAreRefusedNotStoredAsNull) {
    ASSERT_EQ(store([](CRecordset& r) { r.setDate("ZDatum", utc(2026, 3, 14, 20)); }).code, 0);
    const QDateTime invalid[] = {
        QDateTime(QDate(2020, 2, 30), QTime()),
        QDateTime(QDate(2020, 2, 30), QTime(10, 0), Qt::UTC),
        QDateTime(QDate(2026, 13, 1), QTime(0, 0), Qt::UTC),
        QDateTime(),
    };
    for (const QDateTime& moment : invalid) {
        const Refusal refusal = store([&](CRecordset& r) { r.setDate("ZDatum", moment); });
        EXPECT_EQ(refusal.code, CDaoException::ConversionError);
        EXPECT_TRUE(refusal.description.contains(QLatin1String("ZDatum")))
            << refusal.description.toStdString();
        EXPECT_EQ(raw("ZDatum"), QLatin1String("2026-03-14 20:00:00"));
    }

    // A new row with a refused date is not written at all.
    booking.addNew();
    booking.setLong("EventID", 0);
    EXPECT_EQ(refusalOf([&] {
                  booking.setDate("RDatum", QDateTime(QDate(2020, 2, 30), QTime()));
                  booking.update();
              }).code,
              CDaoException::ConversionError);
    booking.cancelUpdate();
    EXPECT_EQ(t.count("T_Event_Finanzen"), 1);
}

// SQLite's length() stops at a NUL character, so the file's length check alone would let a
// long text through; the record set refuses NUL and counts every character itself.
TEST_P(StorageTest, TextWithANulCharacterIsRefused) {
    ASSERT_EQ(store([](CRecordset& r) { r.setText("Bemerkung", QStringLiteral("vorher")); }).code,
              0);
    const QString shortWithNul = QStringLiteral("ab") + QChar(0) + QStringLiteral("cd");
    const QString longWithNul =
        QStringLiteral("ab") + QChar(0) + QString(399, QLatin1Char('x')); // 402 characters

    Refusal refusal = store([&](CRecordset& r) { r.setText("Bemerkung", shortWithNul); });
    EXPECT_EQ(refusal.code, CDaoException::ConversionError);
    EXPECT_TRUE(refusal.description.contains(QLatin1String("Bemerkung")))
        << refusal.description.toStdString();
    EXPECT_EQ(raw("Bemerkung"), QLatin1String("vorher"));

    refusal = store([&](CRecordset& r) { r.setText("Bemerkung", longWithNul); });
    EXPECT_NE(refusal.code, 0);
    EXPECT_TRUE(refusal.description.contains(QLatin1String("Bemerkung")))
        << refusal.description.toStdString();
    EXPECT_EQ(raw("Bemerkung"), QLatin1String("vorher"));
    EXPECT_EQ(t.count("T_Event_Finanzen", t.engine() == Engine::File
                                              ? "length(CAST(\"Bemerkung\" AS BLOB)) > 255"
                                              : "octet_length(\"Bemerkung\") > 255"),
              0);

    booking.addNew();
    booking.setLong("EventID", 0);
    booking.setText("Verwendung", shortWithNul);
    EXPECT_EQ(refusalOf([&] { booking.update(); }).code, CDaoException::ConversionError);
    booking.cancelUpdate();
    EXPECT_EQ(t.count("T_Event_Finanzen"), 1);

    // 255 characters without NUL, some outside the 16-bit range, still fit.
    const QString emoji = QString::fromUcs4(U"\U0001F3B8");
    const QString longest = QString(254, QLatin1Char('y')) + emoji;
    ASSERT_EQ(store([&](CRecordset& r) { r.setText("Bemerkung", longest); }).code, 0);
    EXPECT_EQ(raw("Bemerkung"), longest);
    EXPECT_EQ(store([&](CRecordset& r) { r.setText("Bemerkung", longest + emoji); }).code,
              CDaoException::FieldTooSmall);
}

TEST_P(StorageTest, PurposeOfABookingMayStayEmptyButNotNull) {
    // SetUp stored one with a purpose; a booking that never touches it stores empty text.
    booking.addNew();
    booking.setLong("EventID", 0);
    ASSERT_EQ(refusalOf([&] { booking.update(); }).code, 0);
    booking.moveToBookmark(booking.lastModified());
    EXPECT_FALSE(booking.isNull("Verwendung"));
    EXPECT_EQ(booking.getText("Verwendung"), QLatin1String(""));
    EXPECT_EQ(t.count("T_Event_Finanzen", "\"Verwendung\" = ''"), 1);

    booking.addNew();
    booking.setLong("EventID", 0);
    booking.setNull("Verwendung");
    Refusal refusal = refusalOf([&] { booking.update(); });
    EXPECT_EQ(refusal.code, CDaoException::Required);
    EXPECT_TRUE(refusal.description.contains(QLatin1String("\"Verwendung\"")))
        << refusal.description.toStdString();
    EXPECT_FALSE(refusal.description.contains(QLatin1String("constraint")));
    booking.cancelUpdate();
    EXPECT_EQ(t.count("T_Event_Finanzen"), 2);

    refusal = store([](CRecordset& r) { r.setNull("Verwendung"); });
    EXPECT_EQ(refusal.code, CDaoException::Required);
    EXPECT_EQ(t.count("T_Event_Finanzen", "\"Verwendung\" IS NULL"), 0);
}

// Another SQLite client writing past our record sets meets the same checks.
TEST_P(StorageFileChecksTest, SchemaRefusesBadValuesWrittenBySql) {
    constexpr int kAny = -1;
    struct Case {
        const char* sql;
        int code; // kAny: refused, whatever the number
    };
    const Case cases[] = {
        {R"(INSERT INTO "T_Event_Besetzung" ("EventID", "MusikerID") VALUES ('abc', 1))", kAny},
        {R"(INSERT INTO "T_Event_Besetzung" ("EventID", "MusikerID") VALUES (2147483648, 1))",
         CDaoException::NumericOverflow},
        {R"(INSERT INTO "T_Event_Finanzen" ("EventID", "Status") VALUES (0, 2.5))", kAny},
        {R"(INSERT INTO "T_Event_Finanzen" ("EventID", "Auszahlung") VALUES (0, 'viel'))", kAny},
        {R"(INSERT INTO "T_Event" ("EBeginn") VALUES ('2026-02-30 00:00:00'))",
         CDaoException::ConversionError},
        {R"(INSERT INTO "T_Event" ("EBeginn") VALUES ('14.03.2026'))",
         CDaoException::ConversionError},
        {R"(INSERT INTO "T_Event" ("EBeginn") VALUES ('2026-03-14'))",
         CDaoException::ConversionError},
        {R"(INSERT INTO "T_Stamm_Instrument" ("Instrument", "fDeleted") VALUES ('Harfe', 1))",
         CDaoException::ConversionError},
        {R"(INSERT INTO "T_Stamm_Instrument" ("Instrument", "fDeleted") VALUES ('Harfe', NULL))",
         CDaoException::Required},
        {R"(INSERT INTO "T_Stamm_Instrument" ("Instrument") VALUES
            (replace(hex(zeroblob(128)), '0', 'x')))",
         CDaoException::FieldTooSmall},
        {R"(UPDATE "T_Event" SET "EfMWST" = 1)", CDaoException::ConversionError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        const Refusal refusal = refusalOf([&] { t.exec(c.sql); });
        if (c.code == kAny)
            EXPECT_NE(refusal.code, 0);
        else
            EXPECT_EQ(refusal.code, c.code);
    }
    EXPECT_EQ(t.count("T_Event"), 1);
    EXPECT_EQ(t.count("T_Event", "\"EfMWST\" = 0"), 1);
    EXPECT_EQ(t.count("T_Event_Besetzung"), 0);
    EXPECT_EQ(t.count("T_Event_Finanzen"), 1);
    EXPECT_EQ(t.count("T_Stamm_Instrument"), 0);

    // Well-formed values pass.
    t.exec(R"(INSERT INTO "T_Event" ("EBeginn", "EfMWST") VALUES ('2026-03-14 20:00:00', -1))");
    EXPECT_EQ(t.count("T_Event"), 2);
}

INSTANTIATE_ON_BOTH_ENGINES(StorageTest);
INSTANTIATE_TEST_SUITE_P(, StorageFileChecksTest, ::testing::Values(Engine::File), engineName);

// --- the database file -----------------------------------------------------------------------

TEST(StorageFileTest, NewDatabaseHoldsThePlaceholderEventAndItsVersion) {
    TestDatabase t;
    CSetEvent events(t.db());
    events.open();
    ASSERT_FALSE(events.atEnd());
    EXPECT_EQ(events.getLong("EventID"), 0);
    EXPECT_EQ(events.getText("ELocation"), QLatin1String("Standard"));
    events.moveNext();
    EXPECT_TRUE(events.atEnd());

    EXPECT_EQ(t.db().queryText("PRAGMA user_version").toInt(), Schema::kVersion);
    EXPECT_EQ(t.db().queryText("PRAGMA application_id").toInt(), Schema::kApplicationId);
    EXPECT_EQ(t.db().queryText("PRAGMA integrity_check"), QLatin1String("ok"));
    for (const SourceDef* table : Schema::tables())
        EXPECT_EQ(t.count(table->name()), table->name() == std::string("T_Event") ? 1 : 0)
            << table->name();
}

TEST(StorageFileTest, OpeningAFileThatIsNotOurDatabaseIsRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kavio.mde"));
    CDatabase db;

    EXPECT_EQ(refusalOf([&] { db.open(path); }).code, CDaoException::CannotOpen);
    EXPECT_FALSE(db.isOpen());

    QFile garbage(path);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, '\x5a'));
    garbage.close();
    EXPECT_EQ(refusalOf([&] { db.open(path); }).code, CDaoException::NotADatabase);
    EXPECT_FALSE(db.isOpen());

    // A real SQLite file, but none of our tables.
    const QString foreign = dir.filePath(QStringLiteral("fremd.mde"));
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.toUtf8().constData(), &other), SQLITE_OK);
    sqlite3_exec(other, "CREATE TABLE Kunden (Name TEXT)", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(refusalOf([&] { db.open(foreign); }).code, CDaoException::NotADatabase);

    const QString empty = dir.filePath(QStringLiteral("leer.mde"));
    QFile emptyFile(empty);
    ASSERT_TRUE(emptyFile.open(QIODevice::WriteOnly));
    emptyFile.close();
    EXPECT_EQ(refusalOf([&] { db.open(empty); }).code, CDaoException::NotADatabase);
    EXPECT_FALSE(db.isOpen());
}

TEST(StorageFileTest, FileOfANewerVersionIsRefused) {
    TestDatabase t;
    t.exec(("PRAGMA user_version = " + std::to_string(Schema::kVersion + 1)).c_str());
    t.db().close();
    CDatabase db;
    EXPECT_EQ(refusalOf([&] { db.open(t.databasePath()); }).code, CDaoException::NotADatabase);
}

TEST(StorageFileTest, CreateDatabaseNeverOverwritesAFile) {
    TestDatabase t;
    t.exec(R"(INSERT INTO "T_Event" ("ELocation") VALUES ('Stadthalle'))");
    t.db().close();
    EXPECT_NE(refusalOf([&] { createDatabase(t.databasePath()); }).code, 0);
    t.db().open(t.databasePath());
    EXPECT_EQ(t.count("T_Event", "\"ELocation\" = 'Stadthalle'"), 1);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kavio.mde"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keine Datenbank");
    file.close();
    EXPECT_NE(refusalOf([&] { createDatabase(path); }).code, 0);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("keine Datenbank"));
}

} // namespace
