// The print flow without a print dialog: the shared printer keeps its page mode across jobs, a
// page that cannot be started aborts the whole job, and PDF files are named after their event.
#include "../reports/ReportTestSupport.h"

#include "views/ReportPrinting.h"

#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>

using namespace ReportTest;

namespace {

Report::Document pages(int count) {
    Report::Document document;
    document.title = QStringLiteral("Test");
    for (int number = 1; number <= count; ++number) {
        Report::PageRecorder page(QSize(2100, 2969));
        page.text(100, 100, QStringLiteral("Seite %1").arg(number));
        document.pages.push_back(std::make_shared<const Report::RecordedPage>(page.finish()));
    }
    return document;
}

// A device whose n-th new page fails; it counts what the job asked of it.
class FailingDevice : public ReportPrinting::JobDevice {
public:
    explicit FailingDevice(int failingPage) : m_failingPage(failingPage) {}
    QPaintDevice& paintDevice() override { return m_image; }
    int resolution() const override { return 30; }
    bool newPage() override { return ++newPages + 1 != m_failingPage; }
    void abort() override { ++aborts; }

    int newPages = 0;
    int aborts = 0;

private:
    QImage m_image{QSize(248, 351), QImage::Format_RGB32};
    int m_failingPage;
};

TEST(PrintJob, ThePrinterGetsItsPageModeBackAfterEveryJob) {
    QTemporaryDir out;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(out.filePath(QStringLiteral("job.pdf")));
    printer.setPageMargins(QMarginsF(5, 6, 7, 8), QPageLayout::Millimeter);
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    ASSERT_FALSE(printer.fullPage());

    // A job that prints, and one that prints nothing, both leave the margins in place: the next
    // preview is laid out for them.
    EXPECT_TRUE(ReportPrinting::printPages(printer, pages(2), 1, 2));
    EXPECT_FALSE(printer.fullPage());
    EXPECT_EQ(printer.pageLayout().mode(), QPageLayout::StandardMode);
    EXPECT_EQ(printer.pageLayout().paintRectPixels(printer.resolution()), printable);
    EXPECT_FALSE(ReportPrinting::printPages(printer, pages(2), 3, 4));
    EXPECT_FALSE(printer.fullPage());

    // A printer set up for the whole sheet stays so.
    printer.setFullPage(true);
    EXPECT_TRUE(ReportPrinting::printPages(printer, pages(1), 1, 1));
    EXPECT_TRUE(printer.fullPage());
}

TEST(PrintJob, APageThatCannotBeStartedAbortsTheJob) {
    FailingDevice fails(3);
    EXPECT_FALSE(ReportPrinting::printPages(fails, pages(4), 1, 4));
    EXPECT_EQ(fails.aborts, 1);
    EXPECT_EQ(fails.newPages, 2); // no page after the failed one is begun

    // A job that goes through is never aborted; the range is limited to the document.
    FailingDevice works(0);
    EXPECT_TRUE(ReportPrinting::printPages(works, pages(3), 2, 9));
    EXPECT_EQ(works.newPages, 1);
    EXPECT_EQ(works.aborts, 0);
}

TEST(PdfNames, CarryTheEventsDayAndKindAsSafeCharacters) {
    using ReportPrinting::suggestedPdfName;
    EXPECT_EQ(suggestedPdfName(QStringLiteral("Setliste"), QDate(2026, 12, 12),
                               QStringLiteral("Weihnachtsfeier")),
              QStringLiteral("Setliste_2026-12-12_Weihnachtsfeier.pdf"));
    EXPECT_EQ(suggestedPdfName(QStringLiteral("Gig-Rider"), QDate(2024, 3, 5),
                               QStringLiteral("Fest: Tanz/Disco \"50?\"")),
              QStringLiteral("Gig-Rider_2024-03-05_Fest__Tanz_Disco__50__.pdf"));
    EXPECT_EQ(
        suggestedPdfName(QStringLiteral("Gig-Update"), QDate(2024, 3, 1), QStringLiteral(" ")),
        QStringLiteral("Gig-Update_2024-03-01.pdf"));

    TestDatabase database;
    fill(database);
    EXPECT_EQ(ReportPrinting::eventPdfName(database.db(), QStringLiteral("Abrechnung"), 1),
              QStringLiteral("Abrechnung_2024-03-05_Hochzeit.pdf"));
    // An event that cannot be read gives today's date.
    EXPECT_EQ(ReportPrinting::eventPdfName(database.db(), QStringLiteral("Setliste"), 999),
              suggestedPdfName(QStringLiteral("Setliste"), QDate::currentDate()));
}

} // namespace
