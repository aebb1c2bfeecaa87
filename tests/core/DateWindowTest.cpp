// Two-digit years in date fields: gigs and bookings on a window around today, birthdays never
// after today. Every case names its own "today" so the results do not move with the clock.
#include "core/FieldRules.h"
#include "support/QStringPrinting.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using FieldRules::DateKind;

struct Case {
    const char* input;
    QDate today;
    std::optional<QDate> date; // nullopt: refused
};

void expectDates(DateKind kind, std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.input) + " on " + c.today.toString().toStdString());
        bool ok = !c.date;
        EXPECT_EQ(FieldRules::parseDate(QString::fromUtf8(c.input), &ok, kind, c.today), c.date);
        EXPECT_EQ(ok, c.date.has_value());
    }
}

TEST(DateWindowTest, EventYearsReachTwentyYearsAheadOfToday) {
    const QDate today(2026, 3, 15);
    expectDates(DateKind::Event, {{"15.03.30", today, QDate(2030, 3, 15)},
                                  {"311246", today, QDate(2046, 12, 31)},
                                  {"1.1.47", today, QDate(1947, 1, 1)},
                                  {"1.1.00", today, QDate(2000, 1, 1)},
                                  {"15.03.1930", today, QDate(1930, 3, 15)}, // four digits as typed
                                  // Near the end of a century the window reaches into the next one.
                                  {"1.6.15", QDate(2095, 1, 1), QDate(2115, 6, 1)},
                                  {"1.6.16", QDate(2095, 1, 1), QDate(2016, 6, 1)},
                                  // Early in a century the rest of it lies in the last one.
                                  {"1.6.21", QDate(2001, 1, 1), QDate(2021, 6, 1)},
                                  {"1.6.22", QDate(2001, 1, 1), QDate(1922, 6, 1)}});
}

TEST(DateWindowTest, BirthdaysNeverLieAfterToday) {
    const QDate today(2026, 3, 15);
    expectDates(DateKind::Birth,
                {{"15.03.26", today, QDate(2026, 3, 15)}, // born today
                 {"16.03.26", today, QDate(1926, 3, 16)}, // tomorrow: a hundred years ago
                 {"010105", today, QDate(2005, 1, 1)},
                 {"1.1.30", today, QDate(1930, 1, 1)},
                 {"1.1.2030", today, QDate(2030, 1, 1)}, // four digits as typed
                 // 29 February moves with its year, and is refused where that has none.
                 {"29.02.24", QDate(2024, 1, 1), QDate(1924, 2, 29)},
                 {"29.02.00", QDate(2000, 1, 1), std::nullopt},
                 {"29.02.00", QDate(2000, 3, 1), QDate(2000, 2, 29)}});
}

} // namespace
