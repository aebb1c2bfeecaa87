#include "YearOverviewReport.h"

#include <algorithm>

namespace YearOverviewReport {

namespace {

constexpr int kLeft = 100;
constexpr int kRight = kSheetWidth - 100;
constexpr int kTop = 100;
constexpr int kRowHeight = 52;
constexpr int kLabelWidth = 160;

ReportFont font(int height, bool bold) {
    ReportFont f;
    f.height = height;
    f.bold = bold;
    return f;
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

    page.selectFont(font(60, true));
    page.textInRect(QRect(kLeft, kTop, 1800, 80), Report::Align::Left,
                    QStringLiteral("Jahresübersicht %1 (%2)").arg(year.year).arg(modeText));
    page.selectFont(font(35, false));
    page.clippedText(QRect(kRight - 900, kTop + 20, 900, 60), Report::Align::Right, band);
    page.setPen(Report::Pen::Solid1);
    page.line(kLeft, kTop + 95, kRight, kTop + 95);

    const QStringList header = YearOverview::tableHeader(year.year);
    const std::vector<QStringList> rows = YearOverview::tableRows(year, previous);
    const int columns = int(header.size()) - 1;
    const int cellWidth = (kRight - kLeft - kLabelWidth) / columns;
    const auto cellRect = [&](int column, int y) {
        const int x = column == 0 ? kLeft : kLeft + kLabelWidth + (column - 1) * cellWidth;
        const int width = column == 0 ? kLabelWidth : cellWidth;
        return QRect(x + 8, y, width - 16, kRowHeight);
    };
    // The year before's columns stand apart behind a rule.
    const int previousColumn = columns - 3;
    const int previousX = kLeft + kLabelWidth + (previousColumn - 1) * cellWidth;

    // Captions over the column groups; the year before's columns then go by their short names.
    int y = kTop + 130;
    page.selectFont(font(28, true));
    const int firstX = kLeft + kLabelWidth;
    page.clippedText(QRect(firstX + 8, y, 5 * cellWidth - 16, kRowHeight), Report::Align::Center,
                     QStringLiteral("Gigs nach Status"));
    page.clippedText(
        QRect(firstX + 5 * cellWidth + 8, y, (previousColumn - 6) * cellWidth - 16, kRowHeight),
        Report::Align::Center, QStringLiteral("Beträge %1").arg(year.year));
    page.clippedText(QRect(previousX + 8, y, kRight - previousX - 16, kRowHeight),
                     Report::Align::Center, QStringLiteral("Vorjahr %1").arg(previous.year));
    y += kRowHeight;
    const QString yearSuffix = QStringLiteral(" %1").arg(previous.year);
    for (int column = 0; column < int(header.size()); ++column) {
        QString caption = header[column];
        if (column >= previousColumn && caption.endsWith(yearSuffix))
            caption.chop(yearSuffix.size());
        page.clippedText(cellRect(column, y),
                         column == 0 ? Report::Align::Left : Report::Align::Right, caption);
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
        page.selectFont(font(28, total));
        for (int column = 0; column < int(rows[r].size()); ++column)
            page.clippedText(cellRect(column, y + 4),
                             column == 0 ? Report::Align::Left : Report::Align::Right,
                             rows[r][column]);
        y += kRowHeight;
    }
    page.setPen(Report::Pen::Hairline);
    page.line(previousX, kTop + 130, previousX, y);
    page.line(firstX + 5 * cellWidth, kTop + 130, firstX + 5 * cellWidth, y);

    if (chart) {
        const int top = y + 60;
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
