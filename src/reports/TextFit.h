#pragma once

#include "ReportFonts.h"

#include <QString>
#include <QStringList>

// How a text is made to fit the box it is printed in. A text that fits is left as it is.
// Otherwise it is wrapped at blanks onto the lines the box has room for, set smaller step by
// step down to 70 % of its size, and only then ended with "…". So a printed text is never cut
// at an edge, never drawn over its neighbours and never leaves its box.
namespace Report {

// The smallest size a text is set in, in percent of its font's size.
constexpr int kSmallestFitPercent = 70;

struct FittedText {
    ReportFont font;   // the font the lines are set in: the given one or a smaller one
    QStringList lines; // at least one
    bool elided = false;

    bool unchanged(const ReportFont& original) const {
        return lines.size() == 1 && font == original && !elided;
    }
};

// Fits `text` into a box `width` wide and `height` high. The box has as many lines as it is
// high (at least one). Lines are broken at blanks and after the hyphens of a word. A word wider
// than the box at the smallest size is broken between its characters before the last line is
// ended with "…". `smallestPercent` lowers the floor for a form whose cells are small by design.
FittedText fitText(const QString& text, const ReportFont& font, double width, double height,
                   int smallestPercent = kSmallestFitPercent);

// The font at `percent` of its size (at least one unit).
ReportFont scaledFont(const ReportFont& font, int percent);

} // namespace Report
