#include "PlanningStatus.h"

#include <algorithm>

const std::array<const char*, PlanningStatus::kPlanningAreas> PlanningStatus::kPlanningColumns = {
    "Stat_Plan_Besetzung", "Stat_Plan_Technik",   "Stat_Plan_Backline", "Stat_Plan_PA",
    "Stat_Plan_LA",        "Stat_Plan_Transport", "Stat_Plan_Nacht",    "Stat_Plan_Setliste"};

const std::array<const char*, PlanningStatus::kAccountingAreas> PlanningStatus::kAccountingColumns =
    {"Stat_Fin_Personal",  "Stat_Fin_PA",    "Stat_Fin_LA",
     "Stat_Fin_Transport", "Stat_Fin_Nacht", "Stat_Fin_Sonst"};

namespace {
template <size_t N> int imageOf(const std::array<int, N>& states) {
    if (std::all_of(states.begin(), states.end(), [](int s) { return s == 2; }))
        return 2;
    if (std::any_of(states.begin(), states.end(), [](int s) { return s != 0; }))
        return 1;
    return 0;
}
} // namespace

int PlanningStatus::planningImage() const {
    return exists ? imageOf(planning) : 0;
}

int PlanningStatus::financeImage() const {
    if (!exists || planningImage() != 2)
        return 3;
    return imageOf(accounting);
}
