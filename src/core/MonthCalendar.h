#pragma once

#include "data/JetFilter.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CDatabase;

// The month calendar of the gigs: six weeks from the Monday on or before the first of the month,
// each day with the events that begin on it. An event is shown on its begin day only, also when
// it runs past midnight. Two events of one day whose time spans overlap are marked as a double
// booking; a cancelled event never counts for that.
namespace MonthCalendar {

constexpr int kDays = 42;
constexpr int kCancelled = 3;

struct Entry {
    std::int32_t eventId = 0;
    QDateTime begin;
    // The event's whole span (earliest to latest of its eight times), for the overlap check.
    QDateTime spanBegin;
    QDateTime spanEnd;
    int status = 1;        // 0 requested, 1 reserved, 2 booked, 3 cancelled, 4 invoiced
    int planningImage = 0; // 0 open (red), 1 begun (yellow), 2 complete (green)
    QString kind;          // EArt
    QString location;      // ELocation
    QString town;          // EOrt
    bool doubleBooked = false;

    // "20:00 Gig, Stadthalle Köln": time, kind and venue.
    QString text() const;
};

struct Day {
    QDate date;
    bool inMonth = false;
    std::vector<Entry> entries; // by begin
};

struct Month {
    int year = 0;
    int month = 0;
    std::array<Day, kDays> days;
};

// The first day shown for the month: the Monday on or before its first day.
QDate firstShown(int year, int month);
// The month `delta` months away, across year ends: (2024, 12) + 1 gives (2025, 1).
void step(int& year, int& month, int delta);

// Reads the month's events with one query over the range shown. Throws CDaoException.
Month load(CDatabase& db, int year, int month);
// The query behind it: the events beginning in [?1, ?2) (yyyy-MM-dd) by their begin, each with
// its begin, span, status, kind, location, town, whether it has a planning state (1/0) and the
// state of each planning area.
const std::string& monthQuery(Jet::Dialect dialect);

// The status name: "angefragt", "reserviert", "gebucht", "abgesagt", "fakturiert".
QString statusText(int status);

} // namespace MonthCalendar
