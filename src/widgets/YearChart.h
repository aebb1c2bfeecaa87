#pragma once

#include "core/YearOverview.h"

#include <QSize>

#include <memory>

class QChart;
class QImage;

// The chart of the year overview, drawn by Qt Charts: per month the fees against the costs as
// bars, for the year and the year before, and the running balance of the year as a line.
namespace YearChart {

// A new chart; the caller owns it (a QChartView takes it over).
QChart* create(const YearOverview::Year& year, const YearOverview::Year& previous);

// The chart laid out at `size` pixels, drawn twice as large into an image for a printed page.
// Needs a QApplication.
std::shared_ptr<QImage> picture(const YearOverview::Year& year, const YearOverview::Year& previous,
                                QSize size);

} // namespace YearChart
