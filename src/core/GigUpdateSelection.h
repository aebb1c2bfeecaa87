#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class CDatabase;

// What the Gig-Update prints: a period, the event statuses it covers and, optionally, the crew
// members it is printed for one by one. The selection form fills it, the report reads it.
namespace GigUpdate {

// The crew kinds of a chosen entry: a musician (key MusikerID) or a firm of kind technician or
// backliner (key ExtID, the kind is the firm's Art).
enum CrewKind { Musician = 0, Technician = 1, Backliner = 2 };

struct CrewEntry {
    std::int32_t key = 0;
    int kind = Musician;
    bool operator==(const CrewEntry& other) const { return key == other.key && kind == other.kind; }
};

// Whether the entry names a stored musician, or a stored firm of the entry's kind. Throws
// CDaoException.
bool exists(CDatabase& db, const CrewEntry& entry);
// Why an entry that does not exist is refused: "Kein Techniker mit der Nummer 11.".
QString unknownText(const CrewEntry& entry);

struct Selection {
    QDate from;
    QDate to;
    // By event status: 0 angefragt, 1 reserviert, 2 gebucht, 3 abgesagt.
    std::array<bool, 4> statuses{{true, true, true, true}};
    // Empty: the list of all events. Not limited in number: every chosen entry is printed.
    std::vector<CrewEntry> crew;
};

// What the selection form shows when it opens: all statuses, from today to the begin of the
// latest event (today when there is none or it lies in the past), no crew. Throws CDaoException.
Selection openingSelection(CDatabase& db, const QDate& today);

// The status texts of the report ("angefragt" ...); empty for any other status.
QString statusText(int status);

// The condition on the statuses: empty when all four or none are chosen, else
// "[Status]=0 OR [Status]=3" for the chosen ones in the order 0 to 3.
QString statusCondition(const std::array<bool, 4>& statuses);
// The whole days from `from` to `to` on EBeginn, both included.
QString periodCondition(const QDate& from, const QDate& to);
// "(status condition) AND period condition", or the period condition alone.
QString filter(const Selection& selection);

// One row of the crew list of the selection form: a musician or a technician or backliner firm
// booked for events of the period, with the number of those events.
struct CrewRow {
    CrewEntry entry;
    QString name;     // "Vorname Name", or the firm
    QString function; // "Musiker", "Techniker", "Backliner"
    int gigs = 0;
};

// The crew of the events that `eventFilter` (see filter()) covers: the musicians by MusikerID,
// then the technicians and backliners by ExtID, each once with the number of its events. Firms
// of other kinds are left out. Throws CDaoException; `rows` then holds what was read so far.
void loadCrew(CDatabase& db, const QString& eventFilter, std::vector<CrewRow>& rows);

} // namespace GigUpdate
