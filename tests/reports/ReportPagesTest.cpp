// The recorded pages of the Gig-Update and the set-list print, against reviewed text dumps of a
// small fixed database, and the rules of the page frame.
#include "ReportTestSupport.h"

#include "core/GigUpdateSelection.h"
#include "reports/GigUpdateReport.h"
#include "reports/PageFrame.h"
#include "reports/PageRenderer.h"
#include "reports/SetListPrint.h"

#include <QImage>
#include <QPainter>

using namespace ReportTest;

namespace {

class ReportPagesTest : public ::testing::Test {
protected:
    void SetUp() override { fill(database); }

    Report::Document gigUpdate(const GigUpdate::Selection& selection,
                               const PageMetrics& metrics = PageMetrics::defaults()) {
        return GigUpdateReport::render(database.db(), selection, band(), metrics, today());
    }
    // The texts of the rows' middle column (kind, venue, town), page by page.
    static QStringList rowTexts(const Report::Document& document) {
        QStringList texts;
        for (const auto& page : document.pages) {
            for (const Report::Op& op : page->ops())
                if (op.kind == Report::Op::Kind::TextInRect && op.x1 == 450)
                    texts << op.text;
        }
        return texts;
    }

    TestDatabase database;
};

TEST_F(ReportPagesTest, AllEventsOfAnEmptyPeriodStillPrintTheirPage) {
    const Report::Document document = gigUpdate(period(QDate(2023, 1, 1), QDate(2023, 1, 31)));
    ASSERT_EQ(document.pageCount(), 1);
    expectDump(document, "gigupdate_empty.txt");
}

TEST_F(ReportPagesTest, RowsBelowTheBottomLimitContinueOnANewPage) {
    // A printer that cannot print the lower three quarters of the sheet leaves room for two
    // rows on the first page.
    PageMetrics metrics = PageMetrics::defaults();
    metrics.bottomMargin = 2219;
    GigUpdate::Selection selection = period(QDate(2024, 3, 4), QDate(2024, 3, 6));
    const Report::Document document = gigUpdate(selection, metrics);
    ASSERT_EQ(document.pageCount(), 2);
    expectDump(document, "gigupdate_pagebreak.txt");

    // On A4, 37 rows fit on the first page and 40 on each further one; a page ends only when a
    // row follows.
    database.exec("DELETE FROM \"T_Event\" WHERE \"EventID\" > 0");
    database.exec("BEGIN");
    for (int i = 0; i < 77; ++i)
        database.exec(QStringLiteral("INSERT INTO \"T_Event\" (\"EBeginn\", \"EArt\", \"Status\") "
                                     "VALUES ('2024-03-05 20:00:00', 'Gig %1', 2)")
                          .arg(i, 2, 10, QLatin1Char('0'))
                          .toUtf8()
                          .constData());
    database.exec("COMMIT");
    const Report::Document full = gigUpdate(selection);
    ASSERT_EQ(full.pageCount(), 2);
    int firstPageRows = 0;
    for (const Report::Op& op : full.pages[0]->ops())
        firstPageRows += op.kind == Report::Op::Kind::TextInRect && op.x1 == 450 ? 1 : 0;
    EXPECT_EQ(firstPageRows, 37);
    EXPECT_EQ(rowTexts(full).size(), 77);
}

TEST_F(ReportPagesTest, PerPersonRunsGivePagesOnlyToPersonsWithEvents) {
    GigUpdate::Selection selection = period(QDate(2024, 3, 1), QDate(2024, 3, 31));
    selection.crew = {
        {2, GigUpdate::Musician}, {1, GigUpdate::Musician}, {10, GigUpdate::Technician}};
    const Report::Document document = gigUpdate(selection);
    ASSERT_EQ(document.pageCount(), 2);
    expectDump(document, "gigupdate_crew.txt");

    // Nobody with events: no page at all.
    selection.crew = {{2, GigUpdate::Musician}};
    EXPECT_EQ(gigUpdate(selection).pageCount(), 0);
}

TEST_F(ReportPagesTest, SetListSheetsCarryTheStoredSetNumbers) {
    const Report::Document document =
        SetListPrint::render(database.db(), 1, band(), PageMetrics::defaults());
    ASSERT_EQ(document.pageCount(), 2);
    expectDump(document, "setlist_two_sets.txt");
    // An event without a set list has no sheets.
    EXPECT_EQ(SetListPrint::render(database.db(), 2, band(), PageMetrics::defaults()).pageCount(),
              0);
}

TEST_F(ReportPagesTest, PeriodAndStatusFilterChooseTheRows) {
    // One day covers its events from 00:00 to 23:59, and only those.
    GigUpdate::Selection selection = period(QDate(2024, 3, 5), QDate(2024, 3, 5));
    EXPECT_EQ(
        rowTexts(gigUpdate(selection)),
        (QStringList{QStringLiteral("Ball Halle Au"), QStringLiteral("Hochzeit Gasthof Post Au")}));

    // All four statuses or none: no condition; angefragt and abgesagt alone: those two.
    EXPECT_EQ(GigUpdate::statusCondition({{true, true, true, true}}), QString());
    EXPECT_EQ(GigUpdate::statusCondition({{false, false, false, false}}), QString());
    selection = period(QDate(2024, 3, 1), QDate(2024, 4, 30));
    selection.statuses = {{true, false, false, true}};
    EXPECT_EQ(
        GigUpdateReport::allEventsFilter(selection),
        QStringLiteral("[EventID]>0 AND ([Status]=0 OR [Status]=3) AND "
                       "[EBeginn]>#02/29/2024  23:59:59# AND [EBeginn]<#05/01/2024 00:00:00#"));
    EXPECT_EQ(rowTexts(gigUpdate(selection)),
              (QStringList{QStringLiteral("Probe Keller Au"), QStringLiteral("Ball Halle Au")}));

    // The reserved status covers events without a status; status 4 prints no status text.
    selection.statuses = {{false, true, false, false}};
    EXPECT_EQ(rowTexts(gigUpdate(selection)), QStringList{});
    EXPECT_EQ(GigUpdate::statusText(4), QString());
    EXPECT_EQ(GigUpdate::statusText(1), QStringLiteral("reserviert"));
}

TEST_F(ReportPagesTest, CrewListCountsEachPersonsEventsAndSkipsHireFirms) {
    database.exec("INSERT INTO \"T_Event_Besetzung\" (\"EventID\", \"MusikerID\") VALUES (2, 1)");
    std::vector<GigUpdate::CrewRow> rows;
    GigUpdate::loadCrew(database.db(),
                        GigUpdate::filter(period(QDate(2024, 3, 1), QDate(2024, 3, 31))), rows);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, QStringLiteral("Max Muster"));
    EXPECT_EQ(rows[0].function, QStringLiteral("Musiker"));
    EXPECT_EQ(rows[0].gigs, 3);
    EXPECT_EQ(rows[1].name, QStringLiteral("Ton GmbH"));
    EXPECT_EQ(rows[1].function, QStringLiteral("Techniker"));
    EXPECT_EQ(rows[1].entry, (GigUpdate::CrewEntry{10, GigUpdate::Technician}));
}

TEST_F(ReportPagesTest, HeaderContactLinesFollowTheUserData) {
    UserProfile user;
    user.band = QStringLiteral("Band");
    EXPECT_EQ(PageFrame::infoLine(user), QStringLiteral("Info: "));
    EXPECT_EQ(PageFrame::contactLine(user), QString());
    user.homepage = QStringLiteral("www.band.example");
    EXPECT_EQ(PageFrame::contactLine(user), QStringLiteral("Web: www.band.example"));
    user.email = QStringLiteral("a@band.example");
    user.name = QStringLiteral("Berg");
    user.mobile = QStringLiteral("0170");
    EXPECT_EQ(PageFrame::contactLine(user),
              QStringLiteral("EMail: a@band.example \u00B7 Web: www.band.example"));
    EXPECT_EQ(PageFrame::infoLine(user), QStringLiteral("Info:  Berg \u00B7 Mobil 0170"));

    // Drawn: without e-mail and homepage the header has the info line only.
    const auto headerTexts = [](const UserProfile& profile) {
        Report::PageRecorder page(QSize(2100, 2969));
        PageFrame::centredBandHeader(page, PageMetrics::defaults(), profile);
        QStringList texts;
        const Report::RecordedPage recorded = page.finish();
        for (const Report::Op& op : recorded.ops())
            if (op.kind == Report::Op::Kind::TextInRect)
                texts << op.text;
        return texts;
    };
    UserProfile plain;
    plain.band = QStringLiteral("Band");
    plain.firstName = QStringLiteral("Anna");
    EXPECT_EQ(headerTexts(plain),
              (QStringList{QStringLiteral("Band"), QStringLiteral("Info: Anna")}));
    plain.homepage = QStringLiteral("www.band.example");
    EXPECT_EQ(headerTexts(plain), (QStringList{QStringLiteral("Band"), QStringLiteral("Info: Anna"),
                                               QStringLiteral("Web: www.band.example")}));
}

TEST_F(ReportPagesTest, APageDrawnAtTheTopStillSpansTheWholeSheet) {
    PageFrame::Run run(PageMetrics::defaults(), UserProfile(), QStringLiteral("Test"));
    run.beginPage().line(100, 200, 2000, 200);
    const Report::Document document = run.take();
    const auto page = document.pages.front();
    EXPECT_EQ(page->extent(), QRectF(0, 0, 2100, 2970));

    // Replayed into half the sheet's size, the line lands at half its height, not stretched.
    Report::PageRecorder sheet(QSize(2100, 2970));
    sheet.page(QRect(0, 0, 1050, 1485), page);
    QImage image(1050, 1485, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Report::replay(painter, sheet.finish());
    painter.end();
    const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    EXPECT_TRUE(dark(500, 100));
    EXPECT_FALSE(dark(500, 200));
    EXPECT_FALSE(dark(10, 100));
}

TEST_F(ReportPagesTest, LongRunsAndLargeCrewChoicesArePrintedWhole) {
    // Three hundred musicians, each on one event of March: three hundred pages.
    database.exec("BEGIN");
    for (int i = 0; i < 300; ++i) {
        const int musician = 100 + i;
        database.exec(QStringLiteral("INSERT INTO \"T_Stamm_Musiker\" (\"MusikerID\", \"MName\", "
                                     "\"MVorname\") VALUES (%1, 'M%1', 'V');"
                                     "INSERT INTO \"T_Event_Besetzung\" (\"EventID\", "
                                     "\"MusikerID\") VALUES (1, %1)")
                          .arg(musician)
                          .toUtf8()
                          .constData());
    }
    database.exec("COMMIT");
    GigUpdate::Selection selection = period(QDate(2024, 3, 1), QDate(2024, 3, 31));
    for (int i = 0; i < 300; ++i)
        selection.crew.push_back({100 + i, GigUpdate::Musician});
    const Report::Document crew = gigUpdate(selection);
    ASSERT_EQ(crew.pageCount(), 300);
    QStringList titles;
    for (const Report::Op& op : crew.pages.back()->ops())
        if (op.kind == Report::Op::Kind::TextInRect && op.y1 == 320)
            titles << op.text;
    EXPECT_EQ(titles, QStringList{QStringLiteral("Termine V M399")});

    // 37 rows on the first page and 40 on each further one: 1,197 events fill 30 pages.
    database.exec("BEGIN");
    for (int i = 0; i < 1197 - 4; ++i)
        database.exec("INSERT INTO \"T_Event\" (\"EBeginn\", \"EArt\", \"Status\") VALUES "
                      "('2024-03-20 20:00:00', 'Gig', 2)");
    database.exec("COMMIT");
    const Report::Document all =
        gigUpdate(selection = period(QDate(2024, 3, 1), QDate(2024, 3, 31)));
    EXPECT_EQ(all.pageCount(), 30);
    EXPECT_EQ(rowTexts(all).size(), 1197);
}

} // namespace
