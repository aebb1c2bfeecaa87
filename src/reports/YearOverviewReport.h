#pragma once

#include "RecordedPage.h"
#include "core/YearOverview.h"

#include <QImage>
#include <QString>

#include <memory>

// The year overview on one A4 landscape page: the band and the title, the table of the months
// (the year and the year before) and below it the chart, drawn elsewhere and handed in.
namespace YearOverviewReport {

// The sheet: A4 landscape in tenths of a millimetre.
constexpr int kSheetWidth = 2970;
constexpr int kSheetHeight = 2100;
// The chart's size in pixels when it is drawn for the page; it keeps the aspect of its box.
constexpr int kChartWidth = 1385;
constexpr int kChartHeight = 460;

// `modeText` is "inkl. MwSt." or "ohne MwSt.". Without a chart the page has only the table.
Report::Document render(const YearOverview::Year& year, const YearOverview::Year& previous,
                        const QString& modeText, const QString& band,
                        std::shared_ptr<const QImage> chart);

} // namespace YearOverviewReport
