#pragma once

#include <array>
#include <cstdint>

class CDatabase;

// The planning and accounting state of one event (one row of T_Event_Status): 0 open,
// 1 begun, 2 complete per area. An event without a row reads as all open, and so does any
// stored value other than 1 or 2.
struct PlanningStatus {
    // The eight planning areas, then the six accounting areas, in column order.
    static constexpr int kPlanningAreas = 8;
    static constexpr int kAccountingAreas = 6;
    static const std::array<const char*, kPlanningAreas> kPlanningColumns;
    static const std::array<const char*, kAccountingAreas> kAccountingColumns;
    // The planning areas as the question "Ist die Planung %s abgeschlossen?" names them.
    static const std::array<const char*, kPlanningAreas> kPlanningAreaNames;

    enum Value { Open = 0, Begun = 1, Complete = 2 };

    bool exists = false;
    std::array<int, kPlanningAreas> planning{};
    std::array<int, kAccountingAreas> accounting{};

    // Overall planning image of the event lists: 0 red, 1 yellow, 2 green.
    int planningImage() const;
    // Image of the accounting list: 3 until all planning is complete, then 0, 1 or 2 by the
    // six accounting areas.
    int financeImage() const;

    // A stored value as the forms read it: 1 and 2 stay, anything else (null, 3 ...) is open.
    static int normalised(int stored) { return stored == Begun || stored == Complete ? stored : 0; }

    // The event's row, every value normalised. Throws CDaoException.
    static PlanningStatus read(CDatabase& db, std::int32_t eventId);
    // One area's status, by its column of T_Event_Status. Throws CDaoException.
    static int readArea(CDatabase& db, std::int32_t eventId, const char* column);
    // Writes one area's status, creating the event's row when it has none (its other columns
    // then read as open); the other columns keep their values. Throws CDaoException, and then
    // nothing has been written.
    static void writeArea(CDatabase& db, std::int32_t eventId, const char* column, int value);
};
