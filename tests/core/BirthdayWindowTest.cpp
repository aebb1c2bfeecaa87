// Which birthdays fall into the reminder's days around today, on which day they are celebrated
// and how old the person becomes. Every case names its own "today".
#include "core/BirthdayWindow.h"
#include "support/QStringPrinting.h"

#include <gtest/gtest.h>

namespace {

using namespace BirthdayWindow;

TEST(BirthdayWindowTest, DefaultWindowReachesTwoWeeksBothWays) {
    const Window window = around(QDate(2026, 6, 15), 14, 14);
    EXPECT_EQ(window.start, QDate(2026, 6, 1));
    EXPECT_EQ(window.end, QDate(2026, 6, 29));
    EXPECT_EQ(occurrence(window, QDate(1986, 6, 15)), QDate(2026, 6, 15));
    EXPECT_EQ(ageOn(QDate(2026, 6, 15), QDate(1986, 6, 15)), 40);
    EXPECT_EQ(occurrence(window, QDate(1990, 6, 5)), QDate(2026, 6, 5));   // 10 days ago
    EXPECT_EQ(occurrence(window, QDate(1990, 6, 1)), QDate(2026, 6, 1));   // first day
    EXPECT_EQ(occurrence(window, QDate(1990, 6, 29)), QDate(2026, 6, 29)); // last day
    EXPECT_FALSE(occurrence(window, QDate(1990, 5, 31)).isValid());
    EXPECT_FALSE(occurrence(window, QDate(1990, 6, 30)).isValid());
    EXPECT_FALSE(occurrence(window, QDate()).isValid()); // no birth date, no reminder
}

TEST(BirthdayWindowTest, ZeroDaysIsTodayOnly) {
    const Window window = around(QDate(2026, 6, 15), 0, 0);
    EXPECT_EQ(occurrence(window, QDate(1970, 6, 15)), QDate(2026, 6, 15));
    EXPECT_FALSE(occurrence(window, QDate(1970, 6, 14)).isValid());
    EXPECT_FALSE(occurrence(window, QDate(1970, 6, 16)).isValid());
    // Nonsense from the settings file neither turns the window round nor runs for ever.
    const Window odd = around(QDate(2026, 6, 15), -5, 1000000);
    EXPECT_EQ(odd.start, QDate(2026, 6, 15));
    EXPECT_EQ(odd.end, QDate(2026, 6, 15).addDays(kMaximumDays));
}

TEST(BirthdayWindowTest, WindowAcrossTheTurnOfTheYearRunsIntoJanuary) {
    // 24 December with 9 days after: 2 January of the next year is inside.
    Window window = around(QDate(2026, 12, 24), 0, 9);
    EXPECT_EQ(occurrence(window, QDate(1980, 1, 2)), QDate(2027, 1, 2));
    EXPECT_EQ(occurrence(window, QDate(1980, 12, 31)), QDate(2026, 12, 31));
    EXPECT_FALSE(occurrence(window, QDate(1980, 1, 3)).isValid());
    EXPECT_FALSE(occurrence(window, QDate(1980, 12, 23)).isValid());

    // 29 December with 14 days after: 5 January is the coming birthday, the age the coming one.
    window = around(QDate(2026, 12, 29), 14, 14);
    const QDate fifth = occurrence(window, QDate(1990, 1, 5));
    EXPECT_EQ(fifth, QDate(2027, 1, 5));
    EXPECT_EQ(ageOn(fifth, QDate(1990, 1, 5)), 37);
    // December comes before January.
    EXPECT_LT(occurrence(window, QDate(1990, 12, 20)), fifth);

    // Early January looks back into December of the year before.
    window = around(QDate(2027, 1, 3), 14, 0);
    const QDate christmas = occurrence(window, QDate(2000, 12, 25));
    EXPECT_EQ(christmas, QDate(2026, 12, 25));
    EXPECT_EQ(ageOn(christmas, QDate(2000, 12, 25)), 26);
}

TEST(BirthdayWindowTest, TwentyNinthOfFebruaryFallsOnTheTwentyEighthInOtherYears) {
    const QDate leapling(1988, 2, 29);
    EXPECT_EQ(occurrence(around(QDate(2028, 2, 29), 0, 0), leapling), QDate(2028, 2, 29));
    EXPECT_EQ(occurrence(around(QDate(2027, 2, 28), 0, 0), leapling), QDate(2027, 2, 28));
    EXPECT_FALSE(occurrence(around(QDate(2027, 3, 1), 0, 0), leapling).isValid());
    EXPECT_FALSE(occurrence(around(QDate(2028, 2, 28), 0, 0), leapling).isValid());
    EXPECT_EQ(ageOn(QDate(2027, 2, 28), leapling), 39);
    EXPECT_EQ(birthdayKey(leapling), 229);
    EXPECT_EQ(birthdayKey(QDate(2026, 3, 14)), 314);
}

} // namespace
