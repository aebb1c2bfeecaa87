#include "BirthdayWindow.h"

#include <algorithm>

namespace BirthdayWindow {

Window around(const QDate& today, int daysBefore, int daysAfter) {
    const auto clamp = [](int days) { return std::clamp(days, 0, kMaximumDays); };
    return {today.addDays(-clamp(daysBefore)), today.addDays(clamp(daysAfter))};
}

int birthdayKey(const QDate& date) {
    return date.isValid() ? date.month() * 100 + date.day() : 0;
}

namespace {

// The birthday in a given year; 29 February falls on 28 February when the year has none.
QDate birthdayIn(int year, const QDate& birthDate) {
    if (birthDate.month() == 2 && birthDate.day() == 29 && !QDate::isLeapYear(year))
        return QDate(year, 2, 28);
    return QDate(year, birthDate.month(), birthDate.day());
}

} // namespace

QDate occurrence(const Window& window, const QDate& birthDate) {
    if (!birthDate.isValid() || !window.start.isValid() || !window.end.isValid())
        return QDate();
    for (int year = window.start.year(); year <= window.end.year(); ++year) {
        const QDate day = birthdayIn(year, birthDate);
        if (day >= window.start && day <= window.end)
            return day;
    }
    return QDate();
}

int ageOn(const QDate& occurrence, const QDate& birthDate) {
    return occurrence.year() - birthDate.year();
}

} // namespace BirthdayWindow
