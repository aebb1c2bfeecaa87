#pragma once

#include "data/JetFilter.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class CDatabase;
class CProfileFile;

// The music report of an event must reach GEMA within six weeks after it. An event that took
// place, is not cancelled, is not marked "Keine GEMA-Meldung nötig", and whose set-list planning
// is not complete or whose GEMA form was never printed, is due once fewer than 14 days of that
// time are left (and stays due when the time has run out; the event list marks it).
namespace GemaDeadline {

constexpr int kDaysAllowed = 42;
constexpr int kWarnDays = 14;
// The start-up note names missed deadlines only this many days back; older ones stay marked in
// the event list, where they do not interrupt every start.
constexpr int kStartupDaysPast = 28;

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
// Of those, the ones whose deadline passed at most kStartupDaysPast days ago or lies ahead: what
// the start-up note names. Reads only the events of those weeks.
std::vector<Due> dueForStartup(CDatabase& db, const QDate& today);

// The rule as an SQL condition, for queries that read the events as "e" with their status row
// as "s" and their GEMA row as "g" (both joined with LEFT JOIN), and today as ?1 (yyyy-MM-dd).
const std::string& dueCondition(Jet::Dialect dialect);
// The query of the due events, ordered by their begin: event, begin, set list complete (1/0),
// form printed (1/0), kind, location, town. ?1 is today; with `fromEarliest` only the events
// that began on or after ?2 (yyyy-MM-dd).
std::string dueQuery(Jet::Dialect dialect, bool fromEarliest);
// A due event as the condition's query reads it (without its description).
Due dueOf(std::int32_t eventId, const QDate& eventDate, bool setListComplete, bool printed,
          const QDate& today);

// "GEMA-Meldung bis 12.06.2024 (noch 5 Tage): Setliste unvollständig, Formular nicht gedruckt";
// a missed one "GEMA-Meldung: Frist abgelaufen am 12.06.2024: ...".
QString reminderText(const Due& due);

// How many events the start-up note names at most.
constexpr int kStartupLines = 10;

// The start-up note, empty when nothing in its window is due: the events whose deadline lies
// ahead (the nearest first), then those whose deadline passed at most kStartupDaysPast days ago
// (the most recent first), at most kStartupLines of them and then how many more there are.
// `due` as dueForStartup() (or dueEvents()) gives it for the same day.
QString startupText(const std::vector<Due>& due);

// Whether the start-up note is switched on (Kavio.ini, OPTIONS/GemaReminder; default on).
bool startupNoteOn(const CProfileFile& profile);
bool setStartupNoteOn(CProfileFile& profile, bool on);

// Notes that the GEMA form of an event was printed on `date` (the latest print counts).
// Throws CDaoException; then nothing is stored.
void markGemaPrinted(CDatabase& db, std::int32_t eventId, const QDate& date);

// "Keine GEMA-Meldung nötig": the event owes no music report (no music of GEMA members, a
// private party ...). It is no longer due and the event list drops its mark.
// Throws CDaoException; then nothing is stored.
bool noReportNeeded(CDatabase& db, std::int32_t eventId);
void setNoReportNeeded(CDatabase& db, std::int32_t eventId, bool noReport);

} // namespace GemaDeadline
