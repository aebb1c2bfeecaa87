// The calendar export: what a calendar program reads from it, how entries keep their identity
// across exports, and the publishing at the program's exit.
#include "exchange/CalendarExport.h"
#include "core/CProfileFile.h"
#include "core/Settings.h"
#include "data/CDatabase.h"
#include "support/QStringPrinting.h"
#include "support/TestDatabase.h"
#include "tool/DemoData.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <libical/ical.h>
#include <sqlite3.h>

#include <map>
#include <string>

namespace {

const QDateTime kNow(QDate(2024, 3, 1), QTime(12, 0));

// One VEVENT as read back by libical.
struct ParsedEvent {
    std::string uid;
    int sequence = -1;
    std::string start;
    std::string startZone;
    std::string end;
    std::string summary;
    std::string location;
    std::string description;
    std::string status;
    std::string lastModified;
};

struct ParsedCalendar {
    bool valid = false;
    std::string name;
    bool hasTimeZone = false;
    std::map<std::string, ParsedEvent> events; // by UID
};

std::string propertyText(icalcomponent* component, icalproperty_kind kind) {
    icalproperty* property = icalcomponent_get_first_property(component, kind);
    if (!property)
        return {};
    const char* value = icalproperty_get_value_as_string(property);
    return value ? value : "";
}

ParsedCalendar parse(const QByteArray& ics) {
    ParsedCalendar result;
    icalcomponent* calendar = icalparser_parse_string(ics.constData());
    if (!calendar)
        return result;
    result.valid = icalcomponent_isa(calendar) == ICAL_VCALENDAR_COMPONENT &&
                   icalcomponent_count_errors(calendar) == 0;
    for (icalproperty* p = icalcomponent_get_first_property(calendar, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(calendar, ICAL_X_PROPERTY)) {
        if (std::string(icalproperty_get_x_name(p)) == "X-WR-CALNAME")
            result.name = icalproperty_get_x(p);
    }
    result.hasTimeZone =
        icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT) != nullptr;
    for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        ParsedEvent event;
        event.uid = propertyText(e, ICAL_UID_PROPERTY);
        event.sequence = icalcomponent_get_sequence(e);
        event.start = propertyText(e, ICAL_DTSTART_PROPERTY);
        icalproperty* start = icalcomponent_get_first_property(e, ICAL_DTSTART_PROPERTY);
        icalparameter* zone =
            start ? icalproperty_get_first_parameter(start, ICAL_TZID_PARAMETER) : nullptr;
        event.startZone = zone ? icalparameter_get_tzid(zone) : "";
        event.end = propertyText(e, ICAL_DTEND_PROPERTY);
        event.summary = icalcomponent_get_summary(e) ? icalcomponent_get_summary(e) : "";
        event.location = icalcomponent_get_location(e) ? icalcomponent_get_location(e) : "";
        event.description =
            icalcomponent_get_description(e) ? icalcomponent_get_description(e) : "";
        event.status = propertyText(e, ICAL_STATUS_PROPERTY);
        event.lastModified = propertyText(e, ICAL_LASTMODIFIED_PROPERTY);
        result.events[event.uid] = event;
    }
    icalcomponent_free(calendar);
    return result;
}

class CalendarExportTest : public ::testing::Test {
protected:
    TestDatabase t;

    std::int32_t addEvent(const char* begin, const char* end, const char* status,
                          const char* venue = "Stadthalle") {
        t.db().execute(std::string(R"(INSERT INTO "T_Event" ("EArt", "EBeginn", "EEnde", )"
                                   R"("ELocation", "EStrasse", "EPLZ", "EOrt", "Status", )"
                                   R"("EGageVereinb") VALUES ('Hochzeit', ')") +
                       begin + "', '" + end + "', '" + venue +
                       "', 'Hauptstraße 1', '12345', 'Musterstadt', " + status + ", 4711.5)");
        return t.db().queryText("SELECT max(\"EventID\") FROM \"T_Event\"").toInt();
    }
    ParsedCalendar exportAll(const QDateTime& now = kNow) {
        return parse(Calendar::exportCalendar(t.db(), {}, now));
    }
    static const ParsedEvent& only(const ParsedCalendar& calendar) {
        static const ParsedEvent none;
        return calendar.events.size() == 1 ? calendar.events.begin()->second : none;
    }
};

TEST_F(CalendarExportTest, DemoDataGivesACalendarThatLibicalAndPythonRead) {
    fillDemoData(t.db());
    const QByteArray ics = Calendar::exportCalendar(t.db(), {}, kNow);
    const ParsedCalendar calendar = parse(ics);
    ASSERT_TRUE(calendar.valid);
    EXPECT_TRUE(calendar.hasTimeZone);
    EXPECT_EQ(static_cast<int>(calendar.events.size()), t.count("T_Event", "\"EventID\" > 0"));
    EXPECT_FALSE(ics.contains("4711")); // no fee anywhere
    for (const auto& [uid, event] : calendar.events) {
        EXPECT_EQ(event.startZone, "Europe/Berlin") << uid;
        EXPECT_FALSE(event.summary.empty()) << uid;
        EXPECT_LT(event.start, event.end) << uid;
    }

    // The system's Python first: that is where Debian's python3-icalendar lives.
    QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {"/usr/bin"});
    if (python.isEmpty())
        python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return;
    QProcess check;
    check.start(python,
                {QStringLiteral("-c"),
                 QStringLiteral("import sys\ntry:\n import icalendar\nexcept ImportError:\n "
                                "sys.exit(0)\nc=icalendar.Calendar.from_ical(sys.stdin."
                                "buffer.read())\nprint(len(c.walk('VEVENT')))")});
    ASSERT_TRUE(check.waitForStarted());
    check.write(ics);
    check.closeWriteChannel();
    ASSERT_TRUE(check.waitForFinished(30000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardError().toStdString();
    const QByteArray printed = check.readAllStandardOutput().trimmed();
    if (!printed.isEmpty()) {
        EXPECT_EQ(printed.toInt(), static_cast<int>(calendar.events.size()));
    }
}

TEST_F(CalendarExportTest, EntriesKeepTheirUidAndCountChanges) {
    const std::int32_t id = addEvent("2024-05-10 20:00:00", "2024-05-10 23:00:00", "2");
    const ParsedEvent first = only(exportAll());
    ASSERT_FALSE(first.uid.empty());
    EXPECT_NE(first.uid.find("event-" + std::to_string(id) + "-"), std::string::npos);
    EXPECT_EQ(first.sequence, 0);

    // Unchanged, or changed only where a calendar shows nothing: the same entry.
    t.db().execute(R"(UPDATE "T_Event" SET "EGageVereinb" = 100)");
    const ParsedEvent again = only(exportAll(kNow.addDays(1)));
    EXPECT_EQ(again.uid, first.uid);
    EXPECT_EQ(again.sequence, 0);
    EXPECT_EQ(again.lastModified, first.lastModified);

    t.db().execute(R"(UPDATE "T_Event" SET "EBeginn" = '2024-05-11 20:00:00', )"
                   R"("EEnde" = '2024-05-11 23:00:00')");
    const ParsedEvent moved = only(exportAll(kNow.addDays(2)));
    EXPECT_EQ(moved.uid, first.uid);
    EXPECT_EQ(moved.sequence, 1);
    EXPECT_GT(moved.lastModified, first.lastModified);
    EXPECT_EQ(moved.start, "20240511T200000");

    // The identifier survives closing and opening the file.
    const QString path = t.databasePath();
    t.db().close();
    t.db().open(path);
    EXPECT_EQ(only(exportAll(kNow.addDays(3))).uid, first.uid);
}

TEST_F(CalendarExportTest, StatusesTimesAndDescription) {
    EXPECT_STREQ(Calendar::statusValue(0), "TENTATIVE");
    EXPECT_STREQ(Calendar::statusValue(1), "TENTATIVE");
    EXPECT_STREQ(Calendar::statusValue(-1), "TENTATIVE");
    EXPECT_STREQ(Calendar::statusValue(2), "CONFIRMED");
    EXPECT_STREQ(Calendar::statusValue(4), "CONFIRMED");
    EXPECT_STREQ(Calendar::statusValue(3), "CANCELLED");

    addEvent("2024-06-01 20:00:00", "2024-06-01 22:00:00", "NULL", "Ohne Status");
    addEvent("2024-06-02 20:00:00", "2024-06-02 22:00:00", "3", "Abgesagt");
    // Across midnight.
    addEvent("2024-06-03 22:00:00", "2024-06-04 02:00:00", "2", "Nacht; Club, \"Keller\"");
    t.db().execute(R"(UPDATE "T_Event" SET "ETAufbauVon" = '2024-06-03 17:00:00', )"
                   R"("ETAufbauBis" = '2024-06-03 19:00:00', "ETAbbauVon" = '2024-06-04 02:15:00',)"
                   R"( "ETAbbauBis" = '2024-06-04 03:00:00' WHERE "EBeginn" LIKE '2024-06-03%')");
    std::map<std::string, ParsedEvent> byStart;
    for (const auto& [uid, event] : exportAll().events)
        byStart[event.start] = event;
    ASSERT_EQ(byStart.size(), 3u);
    EXPECT_EQ(byStart["20240601T200000"].status, "TENTATIVE");
    EXPECT_EQ(byStart["20240602T200000"].status, "CANCELLED");
    const ParsedEvent& night = byStart["20240603T220000"];
    EXPECT_EQ(night.status, "CONFIRMED");
    EXPECT_EQ(night.end, "20240604T020000");
    EXPECT_EQ(night.summary, "Hochzeit – Nacht; Club, \"Keller\"");
    EXPECT_EQ(night.location, "Nacht; Club, \"Keller\", Hauptstraße 1, 12345 Musterstadt");
    EXPECT_NE(night.description.find("Aufbau: 17:00 – 19:00"), std::string::npos);
    EXPECT_NE(night.description.find("Abbau: 04.06.2024 02:15 – 04.06.2024 03:00"),
              std::string::npos);
}

TEST_F(CalendarExportTest, ControlCharactersInTextsAreLeftOut) {
    // Every control character in the type of event, the location and the agreement.
    QString all;
    for (char16_t c = 1; c < 0x20; ++c)
        all += QChar(c);
    all += QChar(0x7F);
    all += QChar(0x85);
    const QString typed = QStringLiteral("A") + all + QStringLiteral("Z");
    const std::int32_t id = addEvent("2024-06-01 20:00:00", "2024-06-01 22:00:00", "2");
    // Bound as a parameter: the texts hold characters no SQL literal could carry.
    auto store = [&](const char* sql) {
        sqlite3_stmt* statement = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(t.db().handle(), sql, -1, &statement, nullptr), SQLITE_OK);
        const QByteArray text = typed.toUtf8();
        sqlite3_bind_text(statement, 1, text.constData(), text.size(), SQLITE_TRANSIENT);
        sqlite3_bind_int(statement, 2, id);
        EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE);
        sqlite3_finalize(statement);
    };
    store("UPDATE T_Event SET EArt = ?1, ELocation = ?1, VeranstalterID = 900 WHERE EventID = ?2");
    store("INSERT INTO T_Stamm_ExtFirma (ExtID, Art, fPrivat, Firma) VALUES (900, 0, 0, ?1)");
    const QByteArray ics = Calendar::exportCalendar(t.db(), {}, kNow);
    for (const char c : ics) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_TRUE(byte >= 0x20 || c == '\r' || c == '\n' || c == '\t') << int(byte);
        EXPECT_NE(byte, 0x7F);
    }
    const ParsedCalendar calendar = parse(ics);
    ASSERT_TRUE(calendar.valid);
    const ParsedEvent& event = only(calendar);
    // Tab and line feed stay (the line feed escaped in the file); the carriage return, here
    // not before a line feed, becomes one.
    EXPECT_EQ(event.location.substr(0, 5), "A\t\n\nZ");
    EXPECT_NE(event.summary.find("A\t\n\nZ"), std::string::npos) << event.summary;
    EXPECT_NE(event.description.find("A\t\n\nZ"), std::string::npos) << event.description;
}

TEST_F(CalendarExportTest, PeriodAndPersonChooseTheEvents) {
    addEvent("2024-05-10 20:00:00", "2024-05-10 23:00:00", "2");
    const std::int32_t booked = addEvent("2024-05-20 20:00:00", "2024-05-20 23:00:00", "1");
    t.exec(R"(INSERT INTO "T_Stamm_Musiker" ("MName", "MVorname") VALUES ('Müller', 'Anna'))");
    const std::int32_t musician = t.db()
                                      .queryText(R"(SELECT max("MusikerID") FROM )"
                                                 R"("T_Stamm_Musiker")")
                                      .toInt();
    t.db().execute("INSERT INTO \"T_Event_Besetzung\" VALUES (" + std::to_string(booked) + ", " +
                   std::to_string(musician) + ")");

    Calendar::Request empty;
    empty.from = QDate(2025, 1, 1);
    empty.to = QDate(2025, 12, 31);
    const ParsedCalendar none = parse(Calendar::exportCalendar(t.db(), empty, kNow));
    EXPECT_TRUE(none.valid);
    EXPECT_TRUE(none.hasTimeZone);
    EXPECT_TRUE(none.events.empty());

    Calendar::Request day;
    day.from = day.to = QDate(2024, 5, 10);
    EXPECT_EQ(parse(Calendar::exportCalendar(t.db(), day, kNow)).events.size(), 1u);

    Calendar::Request person;
    person.forPerson = true;
    person.person = {musician, GigUpdate::Musician};
    const ParsedCalendar own = parse(Calendar::exportCalendar(t.db(), person, kNow));
    EXPECT_EQ(own.name, "Termine Anna Müller");
    ASSERT_EQ(own.events.size(), 1u);
    EXPECT_EQ(only(own).start, "20240520T200000");

    t.exec(R"(UPDATE "User" SET "Band" = 'Die Tanzbären')");
    if (t.count("User") == 0)
        t.exec(R"(INSERT INTO "User" ("Band") VALUES ('Die Tanzbären'))");
    EXPECT_EQ(exportAll().name, "Die Tanzbären");
}

TEST_F(CalendarExportTest, PublishingWritesTheBandAndEachMusicianAndKeepsOldFilesOnFailure) {
    const std::int32_t event = addEvent("2024-05-20 20:00:00", "2024-05-20 23:00:00", "2");
    t.exec(R"(INSERT INTO "T_Stamm_Musiker" ("MName", "MVorname") VALUES ('Müller', 'Anna'),
              ('Müller', 'Anna'), ('Schmidt/Meier', 'Jo'), ('Ohne', 'Termin'))");
    t.db().execute("INSERT INTO \"T_Event_Besetzung\" SELECT " + std::to_string(event) +
                   R"(, "MusikerID" FROM "T_Stamm_Musiker" WHERE "MName" <> 'Ohne')");
    QTemporaryDir folder;
    const Calendar::PublishReport report = Calendar::publish(t.db(), folder.path(), kNow);
    EXPECT_TRUE(report.failures.isEmpty()) << report.failures.join(QLatin1Char('\n')).toStdString();
    QStringList files = QDir(folder.path()).entryList({QStringLiteral("*.ics")}, QDir::Files);
    files.sort();
    const QStringList expected = {QStringLiteral("Termine-Anna Müller (1).ics"),
                                  QStringLiteral("Termine-Anna Müller (2).ics"),
                                  QStringLiteral("Termine-Jo Schmidt_Meier.ics"),
                                  QStringLiteral("Termine.ics")};
    EXPECT_EQ(files, expected);
    for (const QString& name : files) {
        QFile file(QDir(folder.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(parse(file.readAll()).events.size(), 1u) << name.toStdString();
    }

    // A write that fails half-way leaves the previous file as it was; the others still go out.
    const QString bandFile = QDir(folder.path()).filePath(QStringLiteral("Termine.ics"));
    QFile before(bandFile);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray previous = before.readAll();
    before.close();
    t.db().execute(R"(UPDATE "T_Event" SET "ELocation" = 'Neue Halle')");
    const Calendar::PublishReport failing = Calendar::publish(
        t.db(), folder.path(), kNow, [](const QString& path, const QByteArray& data) {
            if (!path.endsWith(QLatin1String("/Termine.ics")))
                return Calendar::writeAtomically(path, data);
            QSaveFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(data.left(data.size() / 2));
            file.cancelWriting(); // as when the disk is full
            file.commit();
            return QStringLiteral("Die Datei %1 konnte nicht geschrieben werden.").arg(path);
        });
    EXPECT_EQ(failing.failures.size(), 1);
    EXPECT_EQ(failing.written.size(), 3);
    QFile after(bandFile);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), previous);

    // The exit publishes into the folder named in the settings, and never when none is named.
    QTemporaryDir exitFolder;
    CProfileFile profile(QDir(t.dir()).filePath(QStringLiteral("Kavio.ini")));
    EXPECT_TRUE(Calendar::publishAtExit(t.db(), profile).written.isEmpty());
    ASSERT_TRUE(Settings::writeText(profile, Calendar::PublishFolder, exitFolder.path()));
    EXPECT_EQ(Calendar::publishAtExit(t.db(), profile).written.size(), 4);
    EXPECT_TRUE(QFile::exists(QDir(exitFolder.path()).filePath(QStringLiteral("Termine.ics"))));

    // A folder that cannot be written gives a German reason, never an exception.
    EXPECT_FALSE(
        Calendar::writeAtomically(QDir(folder.path()).filePath(QStringLiteral("fehlt/x.ics")), "x")
            .isEmpty());
}

} // namespace
