#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CDatabase;

// The line-up of an event: which of the band's musicians play. Stored as rows of
// T_Event_Besetzung; the rows of the placeholder event 0 are the standard line-up.
namespace LineUp {

// The placeholder event that owns the standard line-up. Event lists never show it.
constexpr std::int32_t kStandardEvent = 0;
// The key of "<Alle Anzeigen>" in the instrument choice.
constexpr std::int32_t kAllInstruments = -1;

// One row of the musician list or the line-up list.
struct Row {
    std::int32_t musicianId = 0;
    QString instruments; // the short names of the musician's six slots
    QString name;        // first name and surname
    // The slot (0..5) in which the musician plays the chosen instrument; -1 without a choice.
    int slot = -1;
};

// The short names of the six slots in slot order, each followed by ", ", with the trailing
// blanks and commas removed. An empty slot keeps its separator: "Git, , Voc".
QString instrumentText(const QStringList& shortNames);
// First name and surname, joined by one blank.
QString musicianName(const QString& firstName, const QString& surname);

// Order of the musician list: by slot when both rows have one and they differ, then by the
// instrument text regardless of case, then by name.
bool listedBefore(const Row& a, const Row& b);
// Order of a freshly read line-up: by instrument text regardless of case, then by name.
bool lineUpBefore(const Row& a, const Row& b);

// The short names of the instruments, by key. Instruments deleted since are kept, so that a
// musician who still plays one shows it as the line-up query does; a key not in the table
// reads as an empty text.
class InstrumentTable {
public:
    // Throws CDaoException.
    void load(CDatabase& db);
    QString shortName(std::int32_t key) const { return m_shortNames.value(key); }

private:
    QHash<std::int32_t, QString> m_shortNames;
};

// The line-up rows of an event (or the standard line-up), in line-up order. Throws
// CDaoException.
std::vector<Row> readLineUp(CDatabase& db, std::int32_t eventId);

// The live musicians who are not in the line-up, in musician-list order. With an instrument
// chosen only those who play it, one row per slot in which they play it. Throws CDaoException.
std::vector<Row> readMusicians(CDatabase& db, const InstrumentTable& instruments,
                               std::int32_t instrumentId, const QSet<std::int32_t>& lineUp);

// Stores the line-up of an event: a row for every musician of the list that has none yet, and
// for every stored musician no longer in the list removeMusician(). A failed row does not stop
// the others; the texts of the errors are returned (empty when all went well).
QStringList store(CDatabase& db, std::int32_t eventId, const QList<std::int32_t>& musicians);

// Takes a musician out of an event's line-up, and with him what only a line-up member has: his
// overnight stays as a musician (function 0), the rooms nobody else stays in, and his personnel
// cost bookings (cost group 1, cost centre 10); the overnight booking then holds what the rooms
// left cost. All of it or nothing: throws CDaoException and leaves the rows as they were.
void removeMusician(CDatabase& db, std::int32_t eventId, std::int32_t musicianId);

// Creates the placeholder event 0 "Standard" when it is missing. Throws CDaoException.
void ensureStandardEvent(CDatabase& db);

} // namespace LineUp
