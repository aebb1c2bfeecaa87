#pragma once
// Checks a recorded page the way a reader of the printed sheet would: every text inside its box
// and inside the printable sheet, no text over another, no text across a rule.

#include "reports/PageMetrics.h"
#include "reports/RecordedPage.h"

#include <QStringList>

namespace PageCheck {

// The faults of one page, one readable line each; empty when the page is sound. `margin` is the
// strip on every side of the sheet that must stay free of text.
QStringList faults(const Report::RecordedPage& page, int margin = PageMetrics::kSafeMargin);
// The faults of every page, each line headed "Seite N: ".
QStringList faults(const Report::Document& document, int margin = PageMetrics::kSafeMargin);

// The texts a page prints with the box each stands in (nested pages mapped onto the sheet).
struct PlacedText {
    QString text;
    QRectF box; // the rectangle of a text in a rectangle; the cell of a text at a point
    QRectF ink; // where the glyphs put black on the sheet
    Report::Align align = Report::Align::Left;
};
std::vector<PlacedText> texts(const Report::RecordedPage& page);

} // namespace PageCheck
