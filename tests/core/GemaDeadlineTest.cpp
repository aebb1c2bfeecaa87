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
    GemaDeadline::setNoReportNeeded(data.db(), event, true);
    EXPECT_EQ(data.count("T_Event_Gema"), 1);
    EXPECT_TRUE(GemaDeadline::noReportNeeded(data.db(), event));
    // Deleting the event takes its row along, as in a new file.
    data.exec(("DELETE FROM T_Event WHERE EventID = " + std::to_string(event)).c_str());
    EXPECT_EQ(data.count("T_Event_Gema"), 0);
}

TEST(GemaSchemaUpgrade, PrintedFormsOfVersionThreeGetTheNoReportMark) {
    TestDatabase data;
    data.exec("INSERT INTO T_Event (EventID, EBeginn) VALUES (1, '2024-05-01 20:00:00'), "
              "(2, '2024-05-02 20:00:00')");
    // The table as version 3 had it, with one printed form.
    data.exec("DROP TABLE T_Event_Gema");
    data.exec(Schema::createTableStatement("T_Event_Gema", 2).c_str());
    data.exec("INSERT INTO T_Event_Gema (EventID, GedrucktAm) VALUES (1, '2024-06-01 00:00:00')");
    data.exec("PRAGMA user_version = 3");
    data.db().close();

    data.db().open(data.databasePath());
    EXPECT_EQ(data.db().queryText("PRAGMA user_version").toInt(), Schema::kVersion);
    EXPECT_EQ(data.count("T_Event_Gema",
                         "EventID = 1 AND GedrucktAm = '2024-06-01 00:00:00' AND KeineMeldung = 0"),
              1);
    EXPECT_FALSE(GemaDeadline::noReportNeeded(data.db(), 1));
    GemaDeadline::setNoReportNeeded(data.db(), 2, true);
    EXPECT_TRUE(GemaDeadline::noReportNeeded(data.db(), 2));
    EXPECT_THROW(data.exec("UPDATE T_Event_Gema SET KeineMeldung = 5"), CDaoException);
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
    EXPECT_EQ(GemaDeadline::reminderText(due[0]),
              QStringLiteral("GEMA-Meldung: Frist abgelaufen am 21.02.2024: Setliste "
                             "unvollständig, Formular nicht gedruckt"));
    // Event 4 missed its deadline months ago: the event list marks it, the start-up note not.
    // The start reads only the weeks the note names, and names the same.
    EXPECT_EQ(idsOf(GemaDeadline::dueForStartup(data.db(), today)), (QList<std::int32_t>{1, 3}));
    EXPECT_EQ(GemaDeadline::startupText(GemaDeadline::dueForStartup(data.db(), today)),
              GemaDeadline::startupText(due));
    const QStringList lines = GemaDeadline::startupText(due).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("Für diese Events ist die GEMA-Meldung fällig:"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("09.05.2024 Gig, Halle Köln - GEMA-Meldung")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("17.05.2024 Gig - GEMA-Meldung")));
    EXPECT_TRUE(lines[4].contains(QStringLiteral("\"Keine GEMA-Meldung nötig\"")));
    EXPECT_TRUE(GemaDeadline::startupText({}).isEmpty());

    // Printing the form of event 1 settles it; printing again only moves the date.
    GemaDeadline::markGemaPrinted(data.db(), 1, QDate(2024, 6, 15));
    GemaDeadline::markGemaPrinted(data.db(), 1, QDate(2024, 6, 16));
    EXPECT_EQ(idsOf(GemaDeadline::dueEvents(data.db(), today)), (QList<std::int32_t>{4, 3}));
    EXPECT_EQ(data.count("T_Event_Gema", "EventID = 1 AND GedrucktAm = '2024-06-16 00:00:00'"), 1);

    // "Keine GEMA-Meldung nötig" settles an event whatever is missing, and keeps its print date;
    // taking the mark back makes it due again.
    GemaDeadline::setNoReportNeeded(data.db(), 4, true);
    GemaDeadline::setNoReportNeeded(data.db(), 1, true);
    EXPECT_EQ(idsOf(GemaDeadline::dueEvents(data.db(), today)), (QList<std::int32_t>{3}));
    EXPECT_EQ(data.count("T_Event_Gema", "EventID = 1 AND GedrucktAm = '2024-06-16 00:00:00'"), 1);
    GemaDeadline::setNoReportNeeded(data.db(), 4, false);
    EXPECT_EQ(idsOf(GemaDeadline::dueEvents(data.db(), today)), (QList<std::int32_t>{4, 3}));
    // Printing again does not take the mark away.
    GemaDeadline::markGemaPrinted(data.db(), 1, QDate(2024, 6, 17));
    EXPECT_TRUE(GemaDeadline::noReportNeeded(data.db(), 1));
    EXPECT_THROW(GemaDeadline::setNoReportNeeded(data.db(), 99, true), CDaoException);
    EXPECT_EQ(data.count("T_Event_Gema", "EventID = 99"), 0);
}

TEST(GemaDeadline, MarkingAMissingEventOrABadDateStoresNothing) {
    TestDatabase data;
    EXPECT_THROW(GemaDeadline::markGemaPrinted(data.db(), 99, QDate(2024, 6, 1)), CDaoException);
    data.exec("INSERT INTO T_Event (EventID, EBeginn) VALUES (1, '2024-05-01 20:00:00')");
    EXPECT_THROW(GemaDeadline::markGemaPrinted(data.db(), 1, QDate()), CDaoException);
    EXPECT_EQ(data.count("T_Event_Gema"), 0);
}

TEST(GemaDeadline, StartupNoteNamesTheNextTwoWeeksAndTheLastFourAtMostTenLines) {
    const QDate today(2024, 6, 15);
    std::vector<GemaDeadline::Due> due;
    // An event whose deadline is `daysLeft` days from today.
    const auto add = [&](int daysLeft, const QString& description) {
        GemaDeadline::Due entry;
        entry.deadline = today.addDays(daysLeft);
        entry.eventDate = entry.deadline.addDays(-GemaDeadline::kDaysAllowed);
        entry.daysLeft = daysLeft;
        entry.description = description;
        due.push_back(entry);
    };
    // Years of missed deadlines, the edges of the window, and two still ahead.
    for (int month = 0; month < 28; ++month)
        add(-30 - 30 * month, QStringLiteral("Alt %1").arg(month + 1));
    add(-29, QStringLiteral("Vor 29 Tagen"));
    add(-28, QStringLiteral("Vor 28 Tagen"));
    add(-1, QStringLiteral("Gestern"));
    add(13, QStringLiteral("Fest"));
    add(0, QStringLiteral("Heute"));
    QStringList lines = GemaDeadline::startupText(due).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 1 + 4 + 2);
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("Heute - GEMA-Meldung bis 15.06.2024 (heute "
                                                 "letzter Tag): Setliste unvollständig, Formular "
                                                 "nicht gedruckt")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("Fest - GEMA-Meldung bis 28.06.2024 (noch 13")));
    EXPECT_TRUE(lines[3].contains(QStringLiteral("Gestern - GEMA-Meldung: Frist abgelaufen am "
                                                 "14.06.2024")));
    EXPECT_TRUE(lines[4].contains(QStringLiteral("Vor 28 Tagen - GEMA-Meldung: Frist abgelaufen "
                                                 "am 18.05.2024")));
    EXPECT_FALSE(lines.join(QString()).contains(QStringLiteral("Alt ")));
    EXPECT_FALSE(lines.join(QString()).contains(QStringLiteral("29 Tagen")));

    // Only old ones: no note at all.
    EXPECT_TRUE(
        GemaDeadline::startupText(std::vector<GemaDeadline::Due>(due.begin(), due.begin() + 29))
            .isEmpty());

    // Many in the window: ten lines and the rest counted.
    due.clear();
    for (int day = 0; day < 14; ++day)
        add(-day, QStringLiteral("Gig %1").arg(day));
    lines = GemaDeadline::startupText(due).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 1 + GemaDeadline::kStartupLines + 1 + 2);
    EXPECT_EQ(lines[GemaDeadline::kStartupLines + 1],
              QStringLiteral("... und 4 weitere (in der Eventliste markiert)"));
    // One more than the limit is named rather than counted.
    due.resize(size_t(GemaDeadline::kStartupLines) + 1);
    lines = GemaDeadline::startupText(due).split(QLatin1Char('\n'));
    EXPECT_EQ(lines.size(), 1 + GemaDeadline::kStartupLines + 1 + 2);
    EXPECT_FALSE(lines.join(QString()).contains(QStringLiteral("weitere")));
}
