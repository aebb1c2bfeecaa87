// The year overview: its months add up to the events' budget summaries, and its page.
#include "core/YearOverview.h"
#include "core/CProfileFile.h"
#include "finance/CJahresuebersichtDlg.h"
#include "reports/PageRenderer.h"
#include "reports/YearOverviewReport.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <algorithm>

using Finance::BudgetSummary;
using Finance::VatMode;

namespace {

// Five events of 2024 in three months and one of 2023, with fees, bookings of every area,
// a PA hire the band does not pay (present), rooms with nights and one where the organiser
// pays the overnight stay.
class YearOverviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.exec(R"(INSERT INTO T_Event (EventID, ELocation, EBeginn, Status, EGageVereinb,
                       EGageBezahlt, EfMWST) VALUES
            (1, 'A', '2024-01-20 20:00:00', 2, 1000, NULL, 0),
            (2, 'B', '2024-01-27 20:00:00', 0, 2380, NULL, -1),
            (3, 'C', '2024-05-04 20:00:00', 2, 1500, 1800, 0),
            (4, 'D', '2024-05-31 23:00:00', 3, 800, NULL, 0),
            (5, 'E', '2024-12-31 22:00:00', 4, 3000, NULL, 0),
            (6, 'F', '2023-05-10 20:00:00', 2, 900, NULL, 0))");
        data.exec("INSERT INTO T_Event_ExtFirma (EventID, Art, ExtID, bVorhanden) VALUES "
                  "(1, 3, 7, -1), (3, 3, 7, 0), (3, 4, 8, 0)");
        data.exec(R"(INSERT INTO T_Event_Finanzen (EventID, Kostengruppe, Kostenstelle, ID,
                       Auszahlung, fMWST, MwSt_Satz, fZahltVeranstalter) VALUES
            (1, 1, 10, 1, 300, 0, 1, 0), (1, 2, 13, 0, 200, 1, 1, 0), (1, 6, 17, 0, 40.5, 1, 2, 0),
            (2, 1, 10, 1, 250, 1, NULL, 0), (2, 4, 15, 0, 120, 0, 2, 0),
            (2, 5, 16, 0, NULL, 0, NULL, -1),
            (3, 2, 13, 0, 400, 0, 1, 0), (3, 3, 14, 0, 150, 1, 1, 0), (3, 1, 11, 2, 99.99, 0, 1, 0),
            (5, 6, 17, 0, 60, 0, NULL, 0), (6, 1, 10, 1, 100, 0, 1, 0))");
        data.exec("INSERT INTO T_Event_Uebernachtung_Zimmer (EventID, HotelID, ZimmerNr, Preis) "
                  "VALUES (2, 1, 1, 80), (3, 1, 1, 70), (3, 1, 2, 65)");
        data.exec(R"(INSERT INTO T_Event_Uebernachtung (EventID, HotelID, ZimmerNr, PersonID,
                       Funktion, Anreise, Abreise) VALUES
            (2, 1, 1, 1, 0, '2024-01-27 00:00:00', '2024-01-28 00:00:00'),
            (3, 1, 1, 1, 0, '2024-05-03 00:00:00', '2024-05-05 00:00:00'),
            (3, 1, 1, 2, 0, '2024-05-04 00:00:00', '2024-05-06 00:00:00'),
            (3, 1, 2, 3, 0, '2024-05-04 00:00:00', '2024-05-05 00:00:00'))");
    }
    TestDatabase data;
};

void expectSame(const YearOverview::Figures& figures, const BudgetSummary& sum, int gigs) {
    EXPECT_EQ(figures.gigCount(), gigs);
    EXPECT_NEAR(figures.fees, sum.total, 1e-6);
    EXPECT_NEAR(figures.costs, sum.costs, 1e-6);
    for (int group = 1; group <= YearOverview::kAreas; ++group)
        EXPECT_NEAR(figures.areas[size_t(group - 1)], sum.area(group), 1e-6) << group;
}

} // namespace

TEST_F(YearOverviewTest, MonthsAddUpTheBookedAndInvoicedEventsBudgetSummaries) {
    const BaseData base = BaseData::read(data.db());
    // Status of each event: 1, 3 booked, 5 invoiced bring money; 2 is requested, 4 cancelled.
    const std::map<int, int> status{{1, 2}, {2, 0}, {3, 2}, {4, 3}, {5, 4}};
    for (VatMode mode : {VatMode::Inclusive, VatMode::Exclusive}) {
        const auto summaries = YearOverview::summaries(data.db(), 2024, base, mode);
        ASSERT_EQ(summaries.size(), 5u);
        std::map<int, BudgetSummary> byMonth;
        for (const auto& [event, summary] : summaries) {
            const BudgetSummary one = BudgetSummary::compute(data.db(), event, base, mode);
            EXPECT_NEAR(summary.total, one.total, 1e-9) << event;
            EXPECT_NEAR(summary.costs, one.costs, 1e-9) << event;
            EXPECT_NEAR(summary.overnight, one.overnight, 1e-9) << event;
            EXPECT_EQ(summary.organiserPays, one.organiserPays) << event;
            if (!YearOverview::countsMoney(status.at(event)))
                continue;
            const int month = event <= 2 ? 1 : event <= 4 ? 5 : 12;
            BudgetSummary& sum = byMonth[month];
            sum.total += Finance::roundToCent(one.total);
            sum.costs += Finance::roundToCent(one.costs);
            sum.personnel += Finance::roundToCent(one.personnel);
            sum.pa += Finance::roundToCent(one.pa);
            sum.light += Finance::roundToCent(one.light);
            sum.transport += Finance::roundToCent(one.transport);
            sum.overnight += Finance::roundToCent(one.overnight);
            sum.expenses += Finance::roundToCent(one.expenses);
        }
        const YearOverview::Year year = YearOverview::compute(data.db(), 2024, base, mode);
        expectSame(year.months[0], byMonth[1], 2);
        expectSame(year.months[4], byMonth[5], 2);
        expectSame(year.months[11], byMonth[12], 1);
        EXPECT_EQ(year.months[1].gigCount(), 0);
        EXPECT_EQ(year.total.gigs, (std::array<int, 5>{1, 0, 2, 1, 1}));
    }
    // Known figures, gross: January's booked fee 1160, the requested gig's 2380 only in
    // prospect; the present PA hire costs nothing, the requested gig's room counts nothing;
    // May's rooms: 3 nights of room 1, 1 of room 2; the cancelled May gig adds no money.
    const YearOverview::Year year =
        YearOverview::compute(data.db(), 2024, base, VatMode::Inclusive);
    EXPECT_NEAR(year.months[0].fees, 1160, 1e-6);
    EXPECT_NEAR(year.months[0].prospective, 2380, 1e-6);
    EXPECT_NEAR(year.months[0].areas[1], 0, 1e-6);
    EXPECT_NEAR(year.months[0].areas[4], 0, 1e-6);
    EXPECT_NEAR(year.months[4].areas[4], 3 * 70 + 65, 1e-6);
    EXPECT_NEAR(year.months[4].fees,
                BudgetSummary::compute(data.db(), 3, base, VatMode::Inclusive).total, 1e-6);
    EXPECT_NEAR(year.months[4].prospective, 0, 1e-6);
    EXPECT_NEAR(year.runningBalance()[11], year.total.balance(), 1e-6);

    // Every amount column of the table: the months add up to the printed "Summe".
    const std::vector<QStringList> rows = YearOverview::tableRows(year, year);
    const QLocale german(QLocale::German, QLocale::Germany);
    for (int column = 1; column < int(rows.front().size()); ++column) {
        if (YearOverview::isCountColumn(column))
            continue;
        double sum = 0;
        for (int month = 0; month < 12; ++month)
            sum += german.toDouble(rows[size_t(month)][column]);
        EXPECT_EQ(YearOverview::groupedAmount(sum), rows[12][column]) << column;
    }
    EXPECT_EQ(YearOverview::groupedAmount(1234567.891), QStringLiteral("1.234.567,89"));
    EXPECT_EQ(YearOverview::groupedAmount(-0.001), QStringLiteral("0,00"));

    // The form shows the same figures and writes its page.
    CProfileFile profile;
    CJahresuebersichtDlg form(data.db(), profile, nullptr, 2024);
    ASSERT_EQ(form.table()->rowCount(), 13);
    EXPECT_EQ(form.table()->item(12, 0)->text(), QStringLiteral("Summe"));
    const YearOverview::Year shown =
        YearOverview::compute(data.db(), 2024, base, Finance::vatMode(profile));
    EXPECT_EQ(form.table()->item(12, 6)->text(), YearOverview::groupedAmount(shown.total.fees));
    EXPECT_EQ(form.table()->item(0, 7)->text(),
              YearOverview::groupedAmount(shown.months[0].prospective)); // in prospect
    EXPECT_GT(shown.months[0].prospective, 2000);
    EXPECT_EQ(form.table()->item(4, 16)->text(), QStringLiteral("1")); // May 2023: one gig
    // "Als &PDF speichern..." offers the program folder, the working directory; a name typed
    // without its ending gets ".pdf".
    const QString pdf = data.dir() + QStringLiteral("/jahr.pdf");
    QString offered;
    form.setFileChooser([&](QWidget*, const QString& suggested) {
        offered = suggested;
        return data.dir() + QStringLiteral("/jahr");
    });
    for (QPushButton* button : form.findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Als &PDF speichern..."))
            button->click();
    }
    EXPECT_EQ(QFileInfo(offered).absolutePath(), QDir::currentPath());
    EXPECT_TRUE(QFileInfo(offered).fileName().contains(QStringLiteral("_2024_")))
        << offered.toStdString();
    EXPECT_EQ(form.savedText(), QStringLiteral("Gespeichert: ") + QDir::toNativeSeparators(pdf));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
}

TEST_F(YearOverviewTest, YearWithoutEventsGivesAnEmptyValidPage) {
    const BaseData base = BaseData::read(data.db());
    const YearOverview::Year empty =
        YearOverview::compute(data.db(), 2030, base, VatMode::Inclusive);
    EXPECT_TRUE(empty.isEmpty());
    const YearOverview::Year before =
        YearOverview::compute(data.db(), 2029, base, VatMode::Inclusive);
    const Report::Document document = YearOverviewReport::render(
        empty, before, QStringLiteral("inkl. MwSt."), QString(), nullptr);
    ASSERT_EQ(document.pageCount(), 1);
    EXPECT_EQ(document.pages[0]->sheet(), QSize(2970, 2100));
    const QString dump = Report::dump(document);
    EXPECT_TRUE(dump.contains(QStringLiteral("\"Summe\""))) << dump.toStdString();
    EXPECT_FALSE(dump.contains(QStringLiteral("\"1\"")));

    // The tool writes the same page with its chart to a readable PDF file.
    const QString pdf = data.dir() + QStringLiteral("/leer.pdf");
    QProcess tool;
    tool.start(QStringLiteral(VORLANTO_TOOL_PATH),
               {QStringLiteral("overview"), data.dir(), QStringLiteral("--year"),
                QStringLiteral("2030"), QStringLiteral("--pdf"), pdf});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");

    // A year that is no number is refused in German, and nothing is written.
    QProcess refused;
    refused.start(QStringLiteral(VORLANTO_TOOL_PATH),
                  {QStringLiteral("overview"), data.dir(), QStringLiteral("--year"),
                   QStringLiteral("20x0"), QStringLiteral("--pdf"), pdf + QStringLiteral("2")});
    ASSERT_TRUE(refused.waitForFinished(60000));
    EXPECT_EQ(refused.exitCode(), 2);
    EXPECT_TRUE(refused.readAllStandardError().contains("Ungültiges Jahr: 20x0"));
    EXPECT_FALSE(QFile::exists(pdf + QStringLiteral("2")));
}

TEST(YearOverviewPageTest, ChartLiesBelowTheTableAndIsDrawn) {
    YearOverview::Year year;
    year.year = 2024;
    year.months[2].fees = 100;
    year.total.fees = 100;
    YearOverview::Year before;
    before.year = 2023;
    auto chart = std::make_shared<QImage>(200, 100, QImage::Format_RGB32);
    chart->fill(Qt::blue);
    const Report::Document document =
        YearOverviewReport::render(year, before, QStringLiteral("ohne MwSt."), QString(), chart);
    ASSERT_EQ(document.pageCount(), 1);
    const Report::RecordedPage& page = *document.pages[0];
    const auto picture = std::find_if(page.ops().begin(), page.ops().end(), [](const auto& op) {
        return op.kind == Report::Op::Kind::Picture;
    });
    ASSERT_NE(picture, page.ops().end());
    // Below the last row of the table, inside the sheet.
    int tableBottom = 0;
    for (const Report::Op& op : page.ops()) {
        if (op.kind == Report::Op::Kind::TextInRect && op.text == QStringLiteral("Summe"))
            tableBottom = op.y2;
    }
    EXPECT_GT(tableBottom, 0);
    EXPECT_GT(picture->y1, tableBottom);
    EXPECT_LE(picture->y2, 2100);
    EXPECT_LE(picture->x2, 2970);
    EXPECT_TRUE(Report::dump(document).contains(QStringLiteral("picture ")));

    // Replayed at 1/10 scale the chart's blue fills its box.
    QImage sheet(297, 210, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        painter.scale(0.1, 0.1);
        Report::replay(painter, page);
    }
    const QPoint middle((picture->x1 + picture->x2) / 20, (picture->y1 + picture->y2) / 20);
    EXPECT_EQ(sheet.pixelColor(middle), QColor(Qt::blue));
}
