#pragma once

#include <array>

// The planning and accounting state of one event (one row of T_Event_Status): 0 open,
// 1 begun, 2 complete per area. An event without a row reads as all open.
struct PlanningStatus {
    // The eight planning areas, then the six accounting areas, in column order.
    static constexpr int kPlanningAreas = 8;
    static constexpr int kAccountingAreas = 6;
    static const std::array<const char*, kPlanningAreas> kPlanningColumns;
    static const std::array<const char*, kAccountingAreas> kAccountingColumns;

    bool exists = false;
    std::array<int, kPlanningAreas> planning{};
    std::array<int, kAccountingAreas> accounting{};

    // Overall planning image of the event lists: 0 red, 1 yellow, 2 green.
    int planningImage() const;
    // Image of the accounting list: 3 until all planning is complete, then 0, 1 or 2 by the
    // six accounting areas.
    int financeImage() const;
};
