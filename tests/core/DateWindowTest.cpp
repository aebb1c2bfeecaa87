// Two-digit years in date fields: gigs and bookings on a window around today, birthdays never
// after today. Every case names its own "today" so the results do not move with the clock.
#include "core/FieldRules.h"
#include "support/QStringPrinting.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using FieldRules::DateKind;

std::optional<QDate> parse(const char* text, DateKind kind, const QDate& today) {
    bool ok = false;
    const std::optional<QDate> date =
        FieldRules::parseDate(QString::fromUtf8(text), &ok, kind, today);
    EXPECT_EQ(ok, date.has_value()) << text;
    return date;
}

TEST(DateWindowTest, EventYearsReachTwentyYearsAhead) {
    const QDate today(2026, 3, 15);
    struct Case {
        const char* input;
        QDate date;
    };
    const Case cases[] = {{"15.03.30", QDate(2030, 3, 15)}, {"150330", QDate(2030, 3, 15)},
                          {"1.1.26", QDate(2026, 1, 1)},    {"31.12.46", QDate(2046, 12, 31)},
                          {"1.1.47", QDate(1947, 1, 1)},    {"010199", QDate(1999, 1, 1)},
                          {"1.1.00", QDate(2000, 1, 1)},    {"15.03.1930", QDate(1930, 3, 15)},
                          {"01012099", QDate(2099, 1, 1)},  {"29.02.28", QDate(2028, 2, 29)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(parse(c.input, DateKind::Event, today), c.date);
    }
}

TEST(DateWindowTest, EventWindowMovesWithTheYear) {
    // Near the end of a century the window reaches into the next one.
    EXPECT_EQ(parse("1.6.10", DateKind::Event, QDate(2095, 1, 1)), QDate(2110, 6, 1));
    EXPECT_EQ(parse("1.6.16", DateKind::Event, QDate(2095, 1, 1)), QDate(2016, 6, 1));
    EXPECT_EQ(parse("1.6.15", DateKind::Event, QDate(2095, 1, 1)), QDate(2115, 6, 1));
    // Early in a century the rest of the window lies in the last one.
    EXPECT_EQ(parse("1.6.21", DateKind::Event, QDate(2001, 1, 1)), QDate(2021, 6, 1));
    EXPECT_EQ(parse("1.6.22", DateKind::Event, QDate(2001, 1, 1)), QDate(1922, 6, 1));
}

TEST(DateWindowTest, BirthdaysNeverLieAfterToday) {
    const QDate today(2026, 3, 15);
    struct Case {
        const char* input;
        std::optional<QDate> date;
    };
    const Case cases[] = {{"15.03.26", QDate(2026, 3, 15)}, // born today
                          {"16.03.26", QDate(1926, 3, 16)}, // tomorrow: a hundred years ago
                          {"14.3.26", QDate(2026, 3, 14)},
                          {"1.1.30", QDate(1930, 1, 1)},
                          {"010105", QDate(2005, 1, 1)},
                          {"24.12.99", QDate(1999, 12, 24)},
                          {"31.12.25", QDate(2025, 12, 31)},
                          {"1.1.2030", QDate(2030, 1, 1)}, // four digits are taken as typed
                          {"01011850", QDate(1850, 1, 1)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(parse(c.input, DateKind::Birth, today), c.date);
    }
    // A 29 February that moves to a century year without leap day does not exist.
    EXPECT_EQ(parse("29.02.24", DateKind::Birth, QDate(2024, 1, 1)), QDate(1924, 2, 29));
    EXPECT_EQ(parse("29.02.00", DateKind::Birth, QDate(2000, 1, 1)), std::nullopt);
    EXPECT_EQ(parse("29.02.00", DateKind::Birth, QDate(2000, 3, 1)), QDate(2000, 2, 29));
}

TEST(DateWindowTest, WithoutAReferenceDayTheClockDecides) {
    // Next year's 1 January: a gig date by default, a hundred years back as a birthday.
    const int year = QDate::currentDate().year() + 1;
    const QString typed = QStringLiteral("1.1.%1").arg(year % 100, 2, 10, QChar(u'0'));
    bool ok = false;
    EXPECT_EQ(FieldRules::parseDate(typed, &ok), QDate(year, 1, 1));
    EXPECT_EQ(FieldRules::parseDate(typed, &ok, DateKind::Birth), QDate(year - 100, 1, 1));
}

} // namespace
