#pragma once

#include "PageMetrics.h"
#include "RecordedPage.h"
#include "core/UserProfile.h"

#include <cstdint>

class CDatabase;

// The set list for the stage: one sheet per set of an event, headed with the set's number, the
// venue and date and the band; below, the set's songs with their keys and, in small print,
// tempo and remark. All sets are scaled by the one factor that lets the largest fill its sheet,
// so every sheet shows the same letter size.
namespace SetListPrint {

// The song lines of one set, drawn from (0, 0) in report units.
struct SetPage {
    int setNumber = 0;
    std::shared_ptr<const Report::RecordedPage> page;
};

// The scale that fits the largest set (Xmax × Ymax) into the sheet's content area.
double scale(const PageMetrics& metrics, double maxRight, double maxBottom);

// Renders every sheet. A database error is shown (MessageService); then no sheet is rendered.
// An event without a stored set list has no sheets.
Report::Document render(CDatabase& db, std::int32_t eventId, const UserProfile& user,
                        const PageMetrics& metrics);

} // namespace SetListPrint
