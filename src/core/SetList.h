#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CDatabase;

// The set list of an event: numbered sets, each an ordered list of songs copied from the song
// list. The planning form shows it as one list of rows, each either the header of a set
// ("Set 1", "Set 2", ...) or a song; the database keeps one T_Event_Setliste head per event and
// one T_Event_Setliste_Songs row per song with its set number (SetNr) and its position within
// the set (LfdNr).
//
// Every editing rule below leaves the list in order: the header of set 1 first, the headers
// numbered 1, 2, 3 ... from the top, so that turning it into rows never gives two songs the same
// position or a song a place above set 1.
namespace SetList {

// The ten columns of a song, as the planning lists show them: "Titel", "Tonart", "Tempo",
// "Bemerkung", "Interpret", "GEMA-Werk-Nr.", "P/F", "Komponist", "Bearbeiter", "Verleger".
constexpr int kColumnCount = 10;
constexpr int kTempoColumn = 2;

// One row of the list: a set's header or a song.
struct Entry {
    int setNumber = 0;   // a header's set number (1 or more); 0 for a song
    QStringList columns; // a song's ten texts; empty for a header

    static Entry header(int setNumber) { return {setNumber, {}}; }
    static Entry song(const QStringList& columns);
    bool isHeader() const { return setNumber > 0; }
    bool operator==(const Entry& other) const {
        return setNumber == other.setNumber && columns == other.columns;
    }
};
using Entries = std::vector<Entry>;

// One song as stored: its set, its position in the set and its ten texts.
struct StoredSong {
    int setNumber = 1;
    int position = 1;
    QStringList columns;
    bool operator==(const StoredSong& other) const {
        return setNumber == other.setNumber && position == other.position &&
               columns == other.columns;
    }
};

// "Set 3".
QString headerText(int setNumber);
// The name of an event's set list: its kind and its begin date ("dd.MM.yy") joined by "_",
// e.g. "Hochzeit_21.06.24"; cut to the length a text column holds.
QString headName(const QString& eventKind, const QDateTime& begin);

// A new list: the header of set 1 alone.
Entries emptyList();
// The list the stored songs give, read in the order of set and position: the header of set 1
// first and a header for every set up to the last song's, empty sets in between included.
Entries fromStored(const std::vector<StoredSong>& songs);
// The rows to store: the set of each song by the header above it, positions from 1 within
// each set. Empty sets give no rows.
std::vector<StoredSong> toStored(const Entries& entries);
bool hasSongs(const Entries& entries);

// Puts the header of set 1 first (adding it when missing) and numbers the headers 1, 2, 3 ...
// from the top. Every change below ends with it.
void renumber(Entries& entries);
// Appends the header of a new set; returns its row.
int addSet(Entries& entries);
// Inserts a song after the row `after` (at the end when `after` is no row); returns its row.
int insertSong(Entries& entries, int after, const QStringList& columns);
// Removes a row; the header of set 1 (row 0) stays. Removing a header joins its songs to the
// set before it. False when nothing was removed.
bool removeRow(Entries& entries, int row);
// Moves a row to the place of the row `to` (to the end when `to` is no row); nothing goes
// above the header of set 1, and that header does not move. Returns the moved row's new row,
// or -1 when nothing moved.
int moveRow(Entries& entries, int from, int to);

// --- database ---------------------------------------------------------------------------
// The event's set list (the header of set 1 alone when it has none). Throws CDaoException.
Entries load(CDatabase& db, std::int32_t eventId);
// Replaces the event's stored set list with `entries` under the name `name`, in one
// transaction: on an error (CDaoException) the stored set list is left as it was. A list
// without songs stores nothing: the stored set list is deleted and false is returned.
bool store(CDatabase& db, std::int32_t eventId, const QString& name, const Entries& entries);
// Deletes the event's set list with its songs. Throws CDaoException.
void remove(CDatabase& db, std::int32_t eventId);

} // namespace SetList
