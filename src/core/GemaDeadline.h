#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

class CDatabase;

// The music report of an event must reach GEMA within six weeks after it. An event that took
// place, is not cancelled, and whose set-list planning is not complete or whose GEMA form was
// never printed, is due once fewer than 14 days of that time are left (and stays due when the
// time has run out).
namespace GemaDeadline {

constexpr int kDaysAllowed = 42;
constexpr int kWarnDays = 14;

struct Due {
    std::int32_t eventId = 0;
    QDate eventDate;
    QDate deadline;
    int daysLeft = 0; // negative when the deadline has passed
    bool setListComplete = false;
    bool printed = false;
    QString description; // "Gig, Stadthalle Köln"
};

// The events due on `today`, the most urgent first. One query. Throws CDaoException.
std::vector<Due> dueEvents(CDatabase& db, const QDate& today);

// "GEMA-Meldung bis 12.06.2024 (noch 5 Tage): Setliste unvollständig, Formular nicht gedruckt"
QString reminderText(const Due& due);

// How many events the start-up reminder names at most.
constexpr int kStartupLines = 6;

// The start-up reminder, empty when none is due: one line per event, those whose deadline is
// still ahead first (the nearest first), then those past it (the most recent first), at most
// kStartupLines of them and then how many more the event list marks.
QString startupText(const std::vector<Due>& due);

// Notes that the GEMA form of an event was printed on `date` (the latest print counts).
// Throws CDaoException; then nothing is stored.
void markGemaPrinted(CDatabase& db, std::int32_t eventId, const QDate& date);

} // namespace GemaDeadline
