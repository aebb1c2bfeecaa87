#pragma once

#include "data/JetFilter.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CDatabase;
class QWidget;

// Double bookings: a musician, vehicle, firm or travelling person planned for two events at the
// same time. An event's time span runs from the earliest to the latest of its eight date-times
// (begin, end, set-up, sound check and strike, each from and to); two events clash when their
// spans overlap. Spans that only touch (one ends when the other begins) do not clash, an event
// without any date clashes with nothing, and a cancelled event (status 3) never clashes. Each
// check is one query over all events.
namespace Conflicts {

constexpr int kCancelled = 3;

struct Conflict {
    QString who; // "Anna Berg", "B-AB 123 (Sprinter)", "Tontechnik Süd"
    std::int32_t otherEvent = 0;
    QDateTime otherBegin;     // EBeginn of the other event
    QString otherDescription; // "Gig, Stadthalle Köln"
};

// The musicians of `musicians` who play in another line-up at the same time as `eventId`.
std::vector<Conflict> musicians(CDatabase& db, std::int32_t eventId,
                                const QList<std::int32_t>& musicians);
// The vehicles (KfzID) planned for another event's transport at the same time.
std::vector<Conflict> vehicles(CDatabase& db, std::int32_t eventId,
                               const QList<std::int32_t>& vehicles);
// The firm (ExtID) assigned as technician or backliner of another event at the same time.
std::vector<Conflict> firm(CDatabase& db, std::int32_t eventId, int firmKind, std::int32_t extId);
// The persons (PersonID, Funktion) with an overnight stay at another event at the same time.
std::vector<Conflict> travellers(CDatabase& db, std::int32_t eventId,
                                 const QList<QPair<std::int32_t, int>>& persons);

// The statements of those checks: ?1 the event, ?2 the keys as a JSON array ("[3,7]"; for the
// travellers pairs "[[3,0]]"). Columns: who, other event, its begin, kind, location, town.
const std::string& musiciansQuery(Jet::Dialect dialect);
const std::string& vehiclesQuery(Jet::Dialect dialect);
const std::string& firmQuery(Jet::Dialect dialect);
const std::string& travellersQuery(Jet::Dialect dialect);

// The events (other than the placeholder 0) of which anyone is booked twice, for the event list.
// One query reads every booking with its event's span; the clashes are found in memory.
QSet<std::int32_t> eventsWithConflicts(CDatabase& db);

// The parts of that, for code that reads the bookings itself.
// One booking of a musician, vehicle, firm or person (kind, resource, sub-key) for an event whose
// span runs from `begin` to `end` (see packedMoment()).
struct Booking {
    int kind = 0;
    std::int32_t resource = 0;
    std::int32_t sub = 0;
    std::int32_t eventId = 0;
    std::int64_t begin = 0;
    std::int64_t end = 0;
};
// The query of the bookings, each once, with the columns kind, resource, sub-key, event, and
// the span's begin and end as stored date-times; events without a span are left out.
const std::string& bookingsQuery(Jet::Dialect dialect);
// A stored date-time ("yyyy-MM-dd HH:mm:ss") as the number yyyyMMddHHmmss, which orders as the
// texts do.
std::int64_t packedMoment(std::string_view stored);
// The events of which a resource is booked twice at overlapping spans.
QSet<std::int32_t> clashingEvents(std::vector<Booking> bookings);

// Asks whether to save when the check finds a conflict; true when there is none or the user
// saves anyway. A check that fails to run does not keep anything from being saved.
bool confirmSave(QWidget* parent, const std::function<std::vector<Conflict>()>& check);

// "Achtung: Anna Berg ist am 01.05.2024 bereits für Gig, Stadthalle Köln eingeplant." one line
// per conflict, and the question whether to save anyway. Empty without conflicts.
QString warning(const std::vector<Conflict>& conflicts);

} // namespace Conflicts
