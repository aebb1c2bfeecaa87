#include "YearOverviewReport.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace YearOverviewReport {

namespace {

constexpr int kLeft = 100;
constexpr int kRight = kSheetWidth - 100;
constexpr int kTop = 100;
constexpr int kRowHeight = 52;
constexpr int kLabelWidth = 150;
constexpr int kCountWidth = 105;
// Room between a cell's text and the rules beside it.
constexpr int kInset = 8;

ReportFont font(int height, bool bold) {
    ReportFont f;
    f.height = height;
    f.bold = bold;
    return f;
}

// The left edges of the table's columns and, last, the table's right edge: the month, then
// narrow columns for counts of gigs and wide ones, sharing the rest, for amounts.
std::vector<int> columnEdges(int columns) {
    int counts = 0;
    for (int column = 1; column < columns; ++column)
        counts += YearOverview::isCountColumn(column) ? 1 : 0;
    const int amounts = columns - 1 - counts;
    const int amountWidth = (kRight - kLeft - kLabelWidth - counts * kCountWidth) / amounts;
    std::vector<int> edges{kLeft};
    int x = kLeft + kLabelWidth;
    for (int column = 1; column < columns; ++column) {
        edges.push_back(x);
        x += YearOverview::isCountColumn(column) ? kCountWidth : amountWidth;
    }
    edges.push_back(x);
    return edges;
}

} // namespace

Report::Document render(const YearOverview::Year& year, const YearOverview::Year& previous,
                        const QString& modeText, const QString& band,
                        std::shared_ptr<const QImage> chart) {
    Report::PageRecorder page(QSize(kSheetWidth, kSheetHeight));
    page.setBackgroundOpaque(false);
    // Pins the page's extent to the whole sheet, so a preview scales it as printed.
    page.cornerMark(0, 0, 1, 0);
    page.cornerMark(kSheetWidth - 1, kSheetHeight, kSheetWidth, kSheetHeight);

    const ReportFont titleFont = font(60, true);
    const QString title = QStringLiteral("Jahresübersicht %1 (%2)").arg(year.year).arg(modeText);
    page.selectFont(titleFont);
    page.textInRect(QRect(kLeft, kTop, 1800, 80), Report::Align::Left, title);
    page.selectFont(font(35, false));
    const int bandLeft = kLeft + int(std::ceil(titleFont.textWidth(title))) + 60;
    page.fittedText(QRect(QPoint(bandLeft, kTop + 20), QPoint(kRight - 1, kTop + 79)),
                    Report::Align::Right, band);
    page.setPen(Report::Pen::Solid1);
    page.line(kLeft, kTop + 95, kRight, kTop + 95);

    const QStringList header = YearOverview::tableHeader(year.year);
    const std::vector<QStringList> rows = YearOverview::tableRows(year, previous);
    const int columns = int(header.size());
    const std::vector<int> edges = columnEdges(columns);
    const auto cellRect = [&](int column, int y) {
        return QRect(QPoint(edges[size_t(column)] + kInset, y),
                     QPoint(edges[size_t(column) + 1] - kInset - 1, y + kRowHeight - 1));
    };
    // The year before's columns stand apart behind a rule.
    const int previousColumn = columns - 4;
    const int previousX = edges[size_t(previousColumn)];
    const int amountsX = edges[size_t(YearOverview::kStatuses + 1)];

    // Captions over the column groups; the year before's columns then go by their short names.
    int y = kTop + 130;
    page.selectFont(font(26, true));
    const auto caption = [&](int left, int right, const QString& text) {
        page.fittedText(
            QRect(QPoint(left + kInset, y), QPoint(right - kInset - 1, y + kRowHeight - 1)),
            Report::Align::Center, text);
    };
    caption(edges[1], amountsX, QStringLiteral("Gigs nach Status"));
    caption(amountsX, previousX, QStringLiteral("Beträge %1").arg(year.year));
    caption(previousX, kRight, QStringLiteral("Vorjahr %1").arg(previous.year));
    y += kRowHeight;
    const QString yearSuffix = QStringLiteral(" %1").arg(previous.year);
    for (int column = 0; column < columns; ++column) {
        QString text = header[column];
        if (column >= previousColumn && text.endsWith(yearSuffix))
            text.chop(yearSuffix.size());
        page.fittedText(cellRect(column, y),
                        column == 0 ? Report::Align::Left : Report::Align::Right, text);
    }
    y += kRowHeight;
    page.setPen(Report::Pen::Hairline);
    page.line(kLeft, y, kRight, y);
    for (size_t r = 0; r < rows.size(); ++r) {
        const bool total = r + 1 == rows.size();
        if (total) {
            page.setPen(Report::Pen::Solid1);
            page.line(kLeft, y + 2, kRight, y + 2);
        }
        page.selectFont(font(26, total));
        for (int column = 0; column < int(rows[r].size()); ++column)
            page.fittedText(cellRect(column, y + 4),
                            column == 0 ? Report::Align::Left : Report::Align::Right,
                            rows[r][column]);
        y += kRowHeight;
    }
    page.setPen(Report::Pen::Hairline);
    page.line(previousX, kTop + 130, previousX, y);
    page.line(amountsX, kTop + 130, amountsX, y);

    // Which gigs the money counts.
    page.selectFont(font(24, false));
    page.fittedText(QRect(QPoint(kLeft, y + 12), QPoint(kRight - 1, y + 45)), Report::Align::Left,
                    YearOverview::statusNote());
    y += 45;

    if (chart) {
        const int top = y + 40;
        const int width = kRight - kLeft;
        const int height = std::min(kSheetHeight - 120 - top, width * kChartHeight / kChartWidth);
        page.picture(QRect(kLeft, top, width, height), std::move(chart));
    }

    Report::Document document;
    document.title = QStringLiteral("Jahresübersicht");
    document.pages.push_back(std::make_shared<Report::RecordedPage>(page.finish()));
    return document;
}

} // namespace YearOverviewReport
