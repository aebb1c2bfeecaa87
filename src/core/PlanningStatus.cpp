#include "PlanningStatus.h"

#include "data/CDaoException.h"
#include "data/RecordSets.h"

#include <algorithm>

const std::array<const char*, PlanningStatus::kPlanningAreas> PlanningStatus::kPlanningColumns = {
    "Stat_Plan_Besetzung", "Stat_Plan_Technik",   "Stat_Plan_Backline", "Stat_Plan_PA",
    "Stat_Plan_LA",        "Stat_Plan_Transport", "Stat_Plan_Nacht",    "Stat_Plan_Setliste"};

const std::array<const char*, PlanningStatus::kAccountingAreas> PlanningStatus::kAccountingColumns =
    {"Stat_Fin_Personal",  "Stat_Fin_PA",    "Stat_Fin_LA",
     "Stat_Fin_Transport", "Stat_Fin_Nacht", "Stat_Fin_Sonst"};

const std::array<const char*, PlanningStatus::kPlanningAreas> PlanningStatus::kPlanningAreaNames = {
    "Besetzung",    "Techniker",     "Backline",     "PA Verleiher",
    "LA Verleiher", "Kfz Verleiher", "Übernachtung", "Setliste"};

namespace {

template <size_t N> int imageOf(const std::array<int, N>& states) {
    if (std::all_of(states.begin(), states.end(), [](int s) { return s == 2; }))
        return 2;
    if (std::any_of(states.begin(), states.end(),
                    [](int s) { return PlanningStatus::normalised(s) != 0; }))
        return 1;
    return 0;
}

QString eventFilter(std::int32_t eventId) {
    return QString::asprintf("[EventID]=%ld", long(eventId));
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

PlanningStatus PlanningStatus::read(CDatabase& db, std::int32_t eventId) {
    PlanningStatus status;
    CSetEventStatus row(db);
    row.open(eventFilter(eventId));
    if (row.atEnd())
        return status;
    status.exists = true;
    for (int i = 0; i < kPlanningAreas; ++i)
        status.planning[size_t(i)] = normalised(row.getInt(kPlanningColumns[size_t(i)]));
    for (int i = 0; i < kAccountingAreas; ++i)
        status.accounting[size_t(i)] = normalised(row.getInt(kAccountingColumns[size_t(i)]));
    return status;
}

int PlanningStatus::readArea(CDatabase& db, std::int32_t eventId, const char* column) {
    CSetEventStatus row(db);
    row.open(eventFilter(eventId));
    return row.atEnd() ? Open : normalised(row.getInt(column));
}

void PlanningStatus::writeArea(CDatabase& db, std::int32_t eventId, const char* column, int value) {
    CSetEventStatus row(db);
    row.open(eventFilter(eventId));
    if (row.atEnd()) {
        row.addNew();
        row.setLong("EventID", eventId);
    } else {
        row.edit();
    }
    try {
        row.setInt(column, value);
        row.update();
    } catch (const CDaoException&) {
        row.cancelUpdate();
        throw;
    }
}
