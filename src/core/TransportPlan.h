#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CDatabase;

// The vehicles planned for an event (T_Event_Transport): one row per event, car-hire firm and
// vehicle, and their transport cost bookings (cost group 4, cost centre 15, ID = the vehicle).
namespace TransportPlan {

constexpr int kCarHire = 5;     // firm kind of car-hire firms
constexpr int kCostGroup = 4;   // transport
constexpr int kCostCentre = 15; // hired vehicles

// A planned vehicle as the transport list shows it.
struct Entry {
    std::int32_t firm = 0;    // VerleiherID
    std::int32_t vehicle = 0; // KfzID
    // "Kfz Verleiher", "Typ", "Fahrer", "Kennzeichen", "Sitzpl.", "Zul. Gewicht".
    QStringList texts;
};

// The event's planned vehicles in the order the database gives them. Throws CDaoException.
std::vector<Entry> read(CDatabase& db, std::int32_t eventId);

// Removes a planned vehicle and every transport booking of that vehicle for the event, together
// or not at all. A vehicle that is not planned (any more) is no error. Throws CDaoException.
void remove(CDatabase& db, std::int32_t eventId, std::int32_t firm, std::int32_t vehicle);

// The bookings of a planned vehicle follow it when the entry is changed to another vehicle.
// Part of the caller's transaction. Throws CDaoException.
void moveBookings(CDatabase& db, std::int32_t eventId, std::int32_t fromVehicle,
                  std::int32_t toVehicle);

} // namespace TransportPlan
