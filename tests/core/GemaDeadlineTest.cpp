// The GEMA deadline: which events still owe their music report, and the table that notes the
// printed form, which older files get when they are opened.
#include "core/GemaDeadline.h"
#include "data/CDaoException.h"
#include "data/Schema.h"
#include "support/TestDatabase.h"
#include "tool/DemoData.h"

#include <gtest/gtest.h>
#include <map>

namespace {

std::map<std::string, int> rowCounts(TestDatabase& data) {
    std::map<std::string, int> counts;
    for (const SourceDef* table : Schema::tables())
        counts[table->name()] = data.count(table->name());
    return counts;
}

QList<std::int32_t> idsOf(const std::vector<GemaDeadline::Due>& due) {
    QList<std::int32_t> ids;
    for (const auto& entry : due)
        ids << entry.eventId;
    return ids;
}

} // namespace

TEST(GemaSchemaUpgrade, PreviousVersionKeepsEveryRowOfTheDemoDatabase) {
    TestDatabase data;
    fillDemoData(data.db());
    const std::map<std::string, int> before = rowCounts(data);
    ASSERT_GT(before.at("T_Event"), 1);
    // What a file of version 1 looks like: no table for the printed forms (nor the calendar
    // bookkeeping that came later).
    data.exec("DROP TABLE T_Event_Gema");
    data.exec("DROP TABLE X_Kalender");
    data.exec("DROP TABLE X_Kalender_Event");
    data.exec("DROP INDEX IX_T_Event_SpanBegin");
    data.exec("DROP INDEX IX_T_Event_SpanLength");
    data.exec("PRAGMA user_version = 1");
    data.db().close();

    data.db().open(data.databasePath());
    EXPECT_EQ(data.db().queryText("PRAGMA user_version").toInt(), Schema::kVersion);
    EXPECT_EQ(rowCounts(data), before);
    EXPECT_EQ(data.db().queryText("PRAGMA integrity_check"), QLatin1String("ok"));
    EXPECT_EQ(data.count("sqlite_master", "name LIKE 'IX_T_Event_Span%'"), 2);
    const std::int32_t event =
        data.db().queryText("SELECT min(EventID) FROM T_Event WHERE EventID > 0").toInt();
    GemaDeadline::markGemaPrinted(data.db(), event, QDate(2024, 6, 1));
    EXPECT_EQ(data.count("T_Event_Gema"), 1);
    // Deleting the event takes its row along, as in a new file.
    data.exec(("DELETE FROM T_Event WHERE EventID = " + std::to_string(event)).c_str());
    EXPECT_EQ(data.count("T_Event_Gema"), 0);
}

TEST(GemaDeadline, DueEventsAndThePrintedForm) {
    TestDatabase data;
    // Today is 2024-06-15. Deadlines: 1 on 06-20 (5 days left), 2 on 06-29 (14 left: not yet),
    // 3 on 06-28 (13 left), 4 long past, 5 cancelled, 6 in the future, 7 complete and printed.
    data.exec(R"(INSERT INTO T_Event (EventID, EArt, ELocation, EOrt, EBeginn, Status) VALUES
        (1, 'Gig', 'Halle', 'Köln', '2024-05-09 20:00:00', 1),
        (2, 'Gig', NULL, NULL, '2024-05-18 20:00:00', 1),
        (3, 'Gig', NULL, NULL, '2024-05-17 20:00:00', 1),
        (4, 'Gig', NULL, NULL, '2024-01-10 20:00:00', 1),
        (5, 'Gig', NULL, NULL, '2024-05-09 20:00:00', 3),
        (6, 'Gig', NULL, NULL, '2024-06-20 20:00:00', 1),
        (7, 'Gig', NULL, NULL, '2024-05-09 20:00:00', 1))");
    data.exec("INSERT INTO T_Event_Status (EventID, Stat_Plan_Setliste) VALUES (1, 2), (3, 1), "
              "(7, 2)");
    const QDate today(2024, 6, 15);
    GemaDeadline::markGemaPrinted(data.db(), 7, QDate(2024, 5, 20));
    GemaDeadline::markGemaPrinted(data.db(), 3, QDate(2024, 5, 20));

    std::vector<GemaDeadline::Due> due = GemaDeadline::dueEvents(data.db(), today);
    EXPECT_EQ(idsOf(due), (QList<std::int32_t>{4, 1, 3}));
    ASSERT_EQ(due.size(), 3u);
    EXPECT_EQ(GemaDeadline::reminderText(due[1]),
              QStringLiteral("GEMA-Meldung bis 20.06.2024 (noch 5 Tage): Formular nicht gedruckt"));
    EXPECT_EQ(due[1].description, QStringLiteral("Gig, Halle Köln"));
    EXPECT_EQ(GemaDeadline::reminderText(due[2]),
              QStringLiteral("GEMA-Meldung bis 28.06.2024 (noch 13 Tage): Setliste unvollständig"));
    EXPECT_TRUE(GemaDeadline::reminderText(due[0]).contains(QStringLiteral("Frist abgelaufen")));
    const QStringList lines = GemaDeadline::startupText(due).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);
    // The deadlines still ahead come before the one missed.
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("09.05.2024 Gig, Halle Köln - GEMA-Meldung")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("10.01.2024")));
    EXPECT_TRUE(GemaDeadline::startupText({}).isEmpty());

    // Printing the form of event 1 settles it; printing again only moves the date.
    GemaDeadline::markGemaPrinted(data.db(), 1, QDate(2024, 6, 15));
    GemaDeadline::markGemaPrinted(data.db(), 1, QDate(2024, 6, 16));
    EXPECT_EQ(idsOf(GemaDeadline::dueEvents(data.db(), today)), (QList<std::int32_t>{4, 3}));
    EXPECT_EQ(data.count("T_Event_Gema", "EventID = 1 AND GedrucktAm = '2024-06-16 00:00:00'"), 1);
}

TEST(GemaDeadline, MarkingAMissingEventOrABadDateStoresNothing) {
    TestDatabase data;
    EXPECT_THROW(GemaDeadline::markGemaPrinted(data.db(), 99, QDate(2024, 6, 1)), CDaoException);
    data.exec("INSERT INTO T_Event (EventID, EBeginn) VALUES (1, '2024-05-01 20:00:00')");
    EXPECT_THROW(GemaDeadline::markGemaPrinted(data.db(), 1, QDate()), CDaoException);
    EXPECT_EQ(data.count("T_Event_Gema"), 0);
}

TEST(GemaDeadline, StartupReminderOfManyEventsStaysShort) {
    // Years of events whose form was never printed, and two deadlines still ahead.
    const QDate today(2024, 6, 15);
    std::vector<GemaDeadline::Due> due;
    const auto add = [&](const QDate& day, const QString& description) {
        GemaDeadline::Due entry;
        entry.eventDate = day;
        entry.deadline = day.addDays(GemaDeadline::kDaysAllowed);
        entry.daysLeft = int(today.daysTo(entry.deadline));
        entry.description = description;
        due.push_back(entry);
    };
    for (int month = 0; month < 28; ++month)
        add(QDate(2022, 1, 10).addMonths(month), QStringLiteral("Gig %1").arg(month + 1));
    add(QDate(2024, 5, 15), QStringLiteral("Fest"));
    add(QDate(2024, 5, 10), QStringLiteral("Fest"));
    const QStringList lines = GemaDeadline::startupText(due).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 1 + GemaDeadline::kStartupLines + 1);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("10.05.2024 Fest")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("15.05.2024 Fest")));
    // Then the latest missed deadline.
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("10.04.2024 Gig 28")));
    EXPECT_EQ(lines.last(),
              QStringLiteral("... und 24 weitere Events (in der Eventliste markiert)"));

    // One more than the limit is named rather than counted.
    due.resize(size_t(GemaDeadline::kStartupLines) + 1);
    EXPECT_EQ(GemaDeadline::startupText(due).count(QLatin1Char('\n')),
              GemaDeadline::kStartupLines + 1);
}
