#pragma once

#include "core/ListRows.h"

#include <QLatin1String>

#include <algorithm>
#include <vector>

// Whether the event list and its hand-written baseline give the very same rows, and whether
// both kinds of mark (double booking, GEMA report due) are among them, so that the comparison
// times the same work.
inline bool sameEventRows(const std::vector<ListRow>& viaList, const std::vector<ListRow>& byHand) {
    for (const char* mark : {"Doppelbuchung", "GEMA-Meldung"}) {
        if (std::none_of(viaList.begin(), viaList.end(), [mark](const ListRow& row) {
                return row.notice().contains(QLatin1String(mark));
            }))
            return false;
    }
    return std::equal(viaList.begin(), viaList.end(), byHand.begin(), byHand.end(),
                      [](const ListRow& a, const ListRow& b) {
                          return a.key == b.key && a.icon == b.icon && a.texts == b.texts &&
                                 a.notice() == b.notice();
                      });
}
