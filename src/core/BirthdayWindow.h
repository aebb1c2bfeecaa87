#pragma once

#include <QDate>

// The days around today that the birthday reminder covers, and where a birthday falls in them.
// Pure rules: "today" is always a parameter.
namespace BirthdayWindow {

// More days than this on either side would only repeat birthdays.
constexpr int kMaximumDays = 366;

struct Window {
    QDate start; // today minus the days before
    QDate end;   // today plus the days after
};

// The window from `daysBefore` days before today to `daysAfter` days after it; negative numbers
// count as 0, numbers above kMaximumDays as kMaximumDays.
Window around(const QDate& today, int daysBefore, int daysAfter);

// Month × 100 + day (14 March: 314); 0 for an invalid date.
int birthdayKey(const QDate& date);

// The day inside the window on which the birthday is celebrated: the first day of the window
// that carries the birth date's month and day. A window that crosses the turn of the year runs
// on into January. Someone born on 29 February celebrates on 28 February in a year without a
// 29 February. An invalid QDate when the birthday does not fall inside the window or the birth
// date is invalid (null).
QDate occurrence(const Window& window, const QDate& birthDate);

// The age reached on that birthday: the year of the occurrence minus the birth year.
int ageOn(const QDate& occurrence, const QDate& birthDate);

} // namespace BirthdayWindow
