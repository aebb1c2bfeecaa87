#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class CDatabase;

// The overnight stays of an event. A stay (T_Event_Uebernachtung) books one person into a room
// of a hotel from arrival to departure; it is identified by event, person, function and arrival.
// A booked room (T_Event_Uebernachtung_Zimmer) is one row per event, hotel and room number and
// holds the price per night; it exists as long as a stay of the event is booked into it.
namespace OvernightPlan {

// What kind of key a stay's PersonID holds (column Funktion).
enum Function : int {
    Musician = 0,   // MusikerID
    Technician = 1, // ExtID of the technician firm
    Backliner = 2,  // ExtID of the backliner firm
};

// "Musiker", "Techniker", "Backliner"; empty for another code.
QString functionText(int function);

// A person who travels to the event.
struct Person {
    std::int32_t id = 0;
    int function = Musician;
    // "Name, Vorname" of a musician or a private firm, else the firm's name.
    QString name;
    // The person has a stay at the event already.
    bool hasStay = false;

    // The name as the persons list shows it: "* " before it when the person has a stay.
    QString listedName() const;
};

// The persons of the event: the line-up's musicians by surname, then the event's technician
// and backliner, each when one is assigned and the firm is not deleted. Throws CDaoException.
std::vector<Person> readPersons(CDatabase& db, std::int32_t eventId);

// One person by key and function, named as in readPersons(), whether deleted or not; nothing
// when there is no such musician or firm. Throws CDaoException.
std::optional<Person> readPerson(CDatabase& db, std::int32_t id, int function);

// What identifies a stay.
struct StayKey {
    std::int32_t eventId = -1;
    std::int32_t person = -1;
    int function = Musician;
    QDateTime arrival;

    bool operator==(const StayKey& other) const {
        return eventId == other.eventId && person == other.person && function == other.function &&
               arrival == other.arrival;
    }
};

// The filter that finds the stay: event, person, function and the exact arrival.
QString stayFilter(const StayKey& key);

// A room of the event: hotel and room number. A number below 1 is no room.
struct Room {
    std::int32_t hotel = 0;
    int number = 0;

    bool isRoom() const { return hotel > 0 && number > 0; }
    bool operator==(const Room& other) const {
        return hotel == other.hotel && number == other.number;
    }
    bool operator!=(const Room& other) const { return !(*this == other); }
};

QString roomFilter(std::int32_t eventId, const Room& room);

// One stay as the reservation list shows it.
struct Stay {
    StayKey key;
    Room room;
    // "Person", "Hotel/Pension", "ZimmerNr.", "Anreise", "Abreise".
    QStringList texts;
};

// The event's stays by hotel, room, function, person and arrival. Throws CDaoException.
std::vector<Stay> readStays(CDatabase& db, std::int32_t eventId);

// How many stays of the event are booked into the room. Throws CDaoException.
int occupants(CDatabase& db, std::int32_t eventId, const Room& room);
// The room's price per night; nothing when the room has no row or no positive price. Throws
// CDaoException.
std::optional<double> roomPrice(CDatabase& db, std::int32_t eventId, const Room& room);

// Deletes the room's row when no stay of the event is booked into it any more; a room number
// below 1 is no room. Part of the caller's transaction. Throws CDaoException.
void releaseRoom(CDatabase& db, std::int32_t eventId, const Room& room);

// Deletes a stay, releases its room and updates the overnight booking, together or not at all. A
// stay that is gone already is no error. Throws CDaoException.
void removeStay(CDatabase& db, const StayKey& key);

// Settles the rooms after a stay was written or moved from room `before` to room `after`
// (either may be no room): the room left is released, the room taken gets its row. The price is
// written when it was entered, and into a new room's row; a price not positive is stored as null.
// An existing room's price is left alone when none was entered, so a second guest keeps the
// room's price. An entered price replaces an existing room's price only while the room still has
// `priceShown`, the price read when the room was shown; otherwise CDaoException RowChanged names
// "Preis" (see CRecordset::update). Then the event's overnight booking follows its rooms
// (Finance::updateOvernightBooking). Part of the caller's transaction. Throws CDaoException.
void settleRooms(CDatabase& db, std::int32_t eventId, const Room& before, const Room& after,
                 bool priceEntered, const std::optional<double>& price,
                 const std::optional<double>& priceShown);

// Books a new stay from key.arrival to `departure` into a room, with the room's price per night
// when one is given, as the reservation form does: the stay, its room and the overnight booking
// together or not at all. Throws CDaoException (code 3022 when the person has a stay from that
// arrival already).
void bookStay(CDatabase& db, const StayKey& key, const Room& room, const QDateTime& departure,
              const std::optional<double>& price);

// The moments a stay of the event starts from.
struct StayDefaults {
    // A new stay: the event's first day and the day after its last, both at 09:00.
    QDateTime arrival;
    QDateTime departure;
    // A stored stay without arrival or departure: the event's begin, its end plus one day.
    QDateTime eventBegin;
    QDateTime dayAfterEnd;
};

// An event without an end takes its begin, one without a begin (or no event) today. Throws
// CDaoException.
StayDefaults readDefaults(CDatabase& db, std::int32_t eventId);

} // namespace OvernightPlan
