// The month calendar: which day shows which event, how it is marked, and the form around it.
#include "core/MonthCalendar.h"
#include "core/CProfileFile.h"
#include "core/ChangeNotifier.h"
#include "core/FieldRules.h"
#include "events/CEventDlg.h"
#include "support/TestDatabase.h"
#include "views/CMonatskalenderDlg.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// May 2024 begins on a Wednesday: the grid starts on Monday, 29 April. Event 1 on the first,
// 2 on the last day running past midnight, 3 and 4 overlap on the 11th, 5 is cancelled on the
// same evening, 6 and 7 only touch on the 18th.
class MonthCalendarTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.exec(R"(INSERT INTO T_Event (EventID, EArt, ELocation, EOrt, EBeginn, EEnde, Status)
            VALUES
            (1, 'Gig', 'Stadthalle', 'Köln', '2024-05-01 20:00:00', '2024-05-01 23:00:00', 2),
            (2, 'Party', 'Keller', 'Mainz', '2024-05-31 23:00:00', '2024-06-01 03:00:00', NULL),
            (3, 'Gig', 'Halle', 'Bonn', '2024-05-11 18:00:00', '2024-05-11 22:00:00', 1),
            (4, 'Hochzeit', 'Schloss', 'Trier', '2024-05-11 21:00:00', '2024-05-11 23:30:00', 0),
            (5, 'Gig', 'Club', 'Worms', '2024-05-11 19:00:00', '2024-05-11 22:00:00', 3),
            (6, 'Probe', 'Raum', '', '2024-05-18 10:00:00', '2024-05-18 12:00:00', 2),
            (7, 'Gig', 'Markt', '', '2024-05-18 12:00:00', '2024-05-18 14:00:00', 2),
            (8, 'Gig', 'Zelt', '', '2024-06-02 20:00:00', '2024-06-02 23:00:00', 2))");
        data.exec("INSERT INTO T_Event_Status (EventID, Stat_Plan_Besetzung, Stat_Plan_Technik, "
                  "Stat_Plan_Backline, Stat_Plan_PA, Stat_Plan_LA, Stat_Plan_Transport, "
                  "Stat_Plan_Nacht, Stat_Plan_Setliste) VALUES (1, 2, 2, 2, 2, 2, 2, 2, 2), "
                  "(3, 1, 0, 0, 0, 0, 0, 0, 0)");
    }
    const MonthCalendar::Day& day(const MonthCalendar::Month& month, const QDate& date) {
        return month.days[size_t(MonthCalendar::firstShown(2024, 5).daysTo(date))];
    }
    TestDatabase data;
};

} // namespace

TEST_F(MonthCalendarTest, EventsLandOnTheirBeginDayWithStatusAndMarks) {
    const MonthCalendar::Month month = MonthCalendar::load(data.db(), 2024, 5);
    EXPECT_EQ(month.days.front().date, QDate(2024, 4, 29));
    EXPECT_FALSE(month.days.front().inMonth);
    EXPECT_EQ(month.days.back().date, QDate(2024, 6, 9));

    const auto& first = day(month, QDate(2024, 5, 1)).entries;
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].text(), QStringLiteral("20:00 Gig, Stadthalle Köln"));
    EXPECT_EQ(first[0].planningImage, 2);
    // Across midnight: on its begin day only, a null status read as reserved.
    const auto& last = day(month, QDate(2024, 5, 31)).entries;
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].eventId, 2);
    EXPECT_EQ(last[0].status, 1);
    EXPECT_EQ(last[0].planningImage, 0);
    EXPECT_TRUE(day(month, QDate(2024, 6, 1)).entries.empty());
    // The days after the month that the grid shows carry their events too.
    EXPECT_EQ(day(month, QDate(2024, 6, 2)).entries.size(), 1u);

    // Overlap on the 11th: 3 and 4 are marked, the cancelled 5 is not.
    const auto& eleventh = day(month, QDate(2024, 5, 11)).entries;
    ASSERT_EQ(eleventh.size(), 3u);
    EXPECT_EQ(eleventh[0].eventId, 3);
    EXPECT_EQ(eleventh[0].planningImage, 1);
    EXPECT_EQ(eleventh[1].eventId, 5);
    EXPECT_EQ(eleventh[2].eventId, 4);
    EXPECT_TRUE(eleventh[0].doubleBooked);
    EXPECT_FALSE(eleventh[1].doubleBooked);
    EXPECT_TRUE(eleventh[2].doubleBooked);
    // Touching events are no double booking.
    for (const auto& entry : day(month, QDate(2024, 5, 18)).entries)
        EXPECT_FALSE(entry.doubleBooked);
}

TEST(MonthCalendarGridTest, WeeksStartOnMondayAndMonthsStepAcrossYears) {
    // July 2024 begins on a Monday, September 2024 on a Sunday.
    EXPECT_EQ(MonthCalendar::firstShown(2024, 7), QDate(2024, 7, 1));
    EXPECT_EQ(MonthCalendar::firstShown(2024, 9), QDate(2024, 8, 26));
    int year = 2024;
    int month = 1;
    MonthCalendar::step(year, month, -1);
    EXPECT_EQ(std::make_pair(year, month), std::make_pair(2023, 12));
    MonthCalendar::step(year, month, 25);
    EXPECT_EQ(std::make_pair(year, month), std::make_pair(2026, 1));
    MonthCalendar::step(year, month, -13);
    EXPECT_EQ(std::make_pair(year, month), std::make_pair(2024, 12));
}

TEST_F(MonthCalendarTest, FormDrawsMarksNavigatesAndOpensEvents) {
    CProfileFile profile;
    CMonatskalenderDlg form(data.db(), profile, nullptr, QDate(2024, 5, 20));
    std::vector<std::pair<std::int32_t, QDate>> opened;
    form.openEvent = [&](std::int32_t event, const QDate& date) {
        opened.emplace_back(event, date);
    };
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.caption(), QStringLiteral("Mai 2024"));

    // The cancelled event keeps the white of its status; the overlapping ones get a red frame.
    CMonthGrid* grid = form.grid();
    const int eleventh = int(MonthCalendar::firstShown(2024, 5).daysTo(QDate(2024, 5, 11)));
    const QImage image = grid->grab().toImage();
    const QRect cancelled = grid->entryRect(eleventh, 1);
    EXPECT_EQ(image.pixelColor(cancelled.right() - 3, cancelled.center().y()), QColor(Qt::white));
    const QRect booked = grid->entryRect(eleventh, 0);
    const QColor frame = image.pixelColor(booked.right() - 1, booked.center().y());
    EXPECT_GT(frame.red(), 150);
    EXPECT_LT(frame.green(), 60);

    // A double click on an event opens it, on the free part of a day a new event of that day.
    QTest::mouseDClick(grid, Qt::LeftButton, {}, booked.center());
    const QRect free = grid->dayRect(eleventh + 1);
    QTest::mouseDClick(grid, Qt::LeftButton, {}, free.bottomLeft() + QPoint(5, -5));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], std::make_pair(std::int32_t(3), QDate()));
    EXPECT_EQ(opened[1], std::make_pair(std::int32_t(-1), QDate(2024, 5, 12)));

    // The new event's form starts on the clicked day, every time of its plan, and is unchanged.
    CEventDlg newEvent(data.db(), profile, -1);
    newEvent.presetDate(QDate(2024, 5, 12));
    for (int time = 0; time < TimePlan::kTimes; ++time)
        EXPECT_EQ(newEvent.dateField(TimePlan::Time(time))->text(),
                  FieldRules::formatDate(QDate(2024, 5, 12)));
    EXPECT_FALSE(newEvent.isChanged());

    // A new event shows once the change is announced.
    data.exec("INSERT INTO T_Event (EventID, EArt, EBeginn, Status) VALUES "
              "(9, 'Gig', '2024-05-12 20:00:00', 2)");
    Changes::events(9);
    EXPECT_EQ(grid->month().days[size_t(eleventh + 1)].entries.size(), 1u);

    // Across the year's end in both directions, and back to today's month.
    form.showMonth(2024, 12);
    form.nextMonth();
    EXPECT_EQ(form.caption(), QStringLiteral("Januar 2025"));
    EXPECT_EQ(grid->month().days.front().date, QDate(2024, 12, 30));
    form.previousMonth();
    form.previousMonth();
    EXPECT_EQ(form.caption(), QStringLiteral("November 2024"));
    form.thisMonth();
    EXPECT_EQ(form.caption(), QStringLiteral("Mai 2024"));

    // A stray Enter turns no month and leaves the calendar open, whichever button has the focus.
    for (QPushButton* button : form.findChildren<QPushButton*>()) {
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        EXPECT_EQ(form.caption(), QStringLiteral("Mai 2024")) << button->text().toStdString();
        EXPECT_TRUE(form.isVisible());
    }
}
