// The GEMA form: page planning, which records are one work, line splitting, the fixed texts of
// the first and last pages against a reviewed dump, and the character boxes.
#include "ReportTestSupport.h"

#include "reports/GemaReport.h"

using namespace ReportTest;

namespace {

Gema::Work work(const QString& title, const QString& composer = QString()) {
    Gema::Work w;
    w.title = title;
    w.composer = composer;
    return w;
}

std::vector<Gema::Work> manyWorks(int count) {
    std::vector<Gema::Work> works;
    for (int i = 0; i < count; ++i)
        works.push_back(work(QStringLiteral("Titel %1").arg(i, 2, 10, QLatin1Char('0'))));
    return works;
}

// Every text a page draws in the title column of the grid.
QStringList titleTexts(const Report::RecordedPage& page) {
    QStringList texts;
    for (const Report::Op& op : page.ops())
        if (op.kind == Report::Op::Kind::TextInRect && op.clip && op.x1 == 590)
            texts << op.text;
    return texts;
}

bool drawsText(const Report::RecordedPage& page, const QString& text) {
    for (const Report::Op& op : page.ops())
        if ((op.kind == Report::Op::Kind::TextInRect || op.kind == Report::Op::Kind::Text) &&
            op.text == text)
            return true;
    return false;
}

TEST(GemaPlanning, PagesAtTheBoundaries) {
    EXPECT_EQ(Gema::planPages(0), (std::vector<int>{0, 0}));
    EXPECT_EQ(Gema::planPages(8), (std::vector<int>{8, 0}));
    EXPECT_EQ(Gema::planPages(29), (std::vector<int>{8, 21}));
    EXPECT_EQ(Gema::planPages(30), (std::vector<int>{8, 22, 0}));
    EXPECT_EQ(Gema::planPages(61), (std::vector<int>{8, 32, 21}));
    EXPECT_EQ(Gema::planPages(62), (std::vector<int>{8, 32, 22, 0}));
}

TEST(GemaPlanning, EveryWorkIsPrintedOnTheRowsPlanned) {
    for (int count : {3, 8, 29, 30, 61, 62}) {
        const Report::Document document =
            GemaReport::render(Gema::FormValues(), manyWorks(count), PageMetrics::defaults());
        int printed = 0;
        for (const auto& page : document.pages)
            printed += int(titleTexts(*page).size());
        EXPECT_EQ(printed, count) << count;
        EXPECT_EQ(document.pageCount(), int(Gema::planPages(count).size())) << count;
    }
    const Report::Document thirty =
        GemaReport::render(Gema::FormValues(), manyWorks(30), PageMetrics::defaults());
    ASSERT_EQ(thirty.pageCount(), 3);
    EXPECT_EQ(titleTexts(*thirty.pages[1]).size(), 22);
    EXPECT_TRUE(titleTexts(*thirty.pages[2]).isEmpty());
    EXPECT_TRUE(drawsText(*thirty.pages[2], QStringLiteral("VOLLSTÄNDIGKEITSBESTÄTIGUNG")));
}

TEST(GemaWorks, TheSameWorkInTwoSetsOnceTwoWorksSharingATitleBoth) {
    TestDatabase database;
    fill(database);
    database.exec(R"sql(
INSERT INTO "T_Event_Setliste_Songs" ("SetlisteID", "SetNr", "LfdNr", "Titel", "Komponist") VALUES
    (1, 3, 2, 'Walzer', NULL), (1, 3, 3, 'Polka', 'Anders');
)sql");
    const std::vector<Gema::Work> works = Gema::works(database.db(), 1);
    QStringList rows;
    for (const Gema::Work& w : works)
        rows << w.title + QLatin1Char('/') + w.composer;
    EXPECT_EQ(rows, (QStringList{"Marsch/", "Polka/", "Polka/Anders", "Walzer/"}));
}

TEST(GemaWorks, SortedByTitleAsTheListsSortUmlautsWithTheirBaseLetters) {
    TestDatabase database;
    fill(database);
    database.exec(R"sql(
INSERT INTO "T_Event_Setliste_Songs" ("SetlisteID", "SetNr", "LfdNr", "Titel") VALUES
    (1, 3, 2, 'Überlänge'), (1, 3, 3, 'Veilchen'), (1, 3, 4, 'Lied 40'), (1, 3, 5, 'ärger'),
    (1, 3, 6, 'Ast'), (1, 3, 7, 'Zebra'), (1, 3, 8, 'straße'), (1, 3, 9, 'Strasse 2');
)sql");
    QStringList titles;
    for (const Gema::Work& w : Gema::works(database.db(), 1))
        titles << w.title;
    EXPECT_EQ(titles, (QStringList{"ärger", "Ast", "Lied 40", "Marsch", "Polka", "straße",
                                   "Strasse 2", "Überlänge", "Veilchen", "Walzer", "Zebra"}));
}

TEST(GemaSplitting, AtTheLastBlankThatFitsOrWholeAndClipped) {
    const ReportFont font = [] {
        ReportFont f;
        f.height = 35;
        return f;
    }();
    const QString text = QStringLiteral("Ein Prosit der Gemütlichkeit aus dem Haselgrund");
    const double width = 620;
    ASSERT_GT(font.textWidth(text), width);
    const Gema::Split split = Gema::splitToWidth(text, font, width);
    EXPECT_LE(font.textWidth(split.first), width);
    EXPECT_EQ(split.first + QLatin1Char(' ') + split.rest, text);
    // One more word would not have fitted.
    const QString longer = split.first + QLatin1Char(' ') + split.rest.section(' ', 0, 0);
    EXPECT_GT(font.textWidth(longer), width);

    EXPECT_EQ(Gema::splitToWidth(QStringLiteral("Polka"), font, width).rest, QString());
    const QString word(60, QLatin1Char('W'));
    const Gema::Split whole = Gema::splitToWidth(word, font, width);
    EXPECT_EQ(whole.first, word);
    EXPECT_TRUE(whole.rest.isEmpty());
    // A blank only at the front leaves nothing that fits: drawn whole.
    EXPECT_EQ(Gema::splitToWidth(QLatin1Char(' ') + word, font, width).rest, QString());
}

TEST(GemaForm, FirstAndLastPageAgainstTheReviewedDump) {
    Gema::FormValues values;
    values.office = {QStringLiteral("Süd"), QStringLiteral("Weg 1"), QStringLiteral("80000"),
                     QStringLiteral("München"), QString()};
    values.memberNumber = QStringLiteral("123");
    values.organiser = QStringLiteral("Wirt, Hans");
    values.organiserPostcode = QStringLiteral("8300123"); // 7 characters: 5 are printed
    values.date = QStringLiteral("05.03.24");
    values.from = QStringLiteral("20:00");
    values.musicians = 4;
    Gema::Work first = work(QStringLiteral("Walzer"), QStringLiteral("Strauss"));
    first.number = QStringLiteral("123456789"); // 9 characters: 7 are printed
    first.pf = QStringLiteral("P");
    const Report::Document document = GemaReport::render(values, {first}, PageMetrics::defaults());
    ASSERT_EQ(document.pageCount(), 2);
    expectDump(document, "gema_form.txt");
}

TEST(GemaForm, OfficeNamedWithItsTitleIsNotTitledTwice) {
    Gema::FormValues values;
    values.office.name = QStringLiteral("Bezirksdirektion Mitte");
    const Report::Document document = GemaReport::render(values, {}, PageMetrics::defaults());
    EXPECT_TRUE(drawsText(*document.pages[0], QStringLiteral("Bezirksdirektion Mitte")));
    values.office.name = QStringLiteral("Mitte");
    EXPECT_TRUE(drawsText(*GemaReport::render(values, {}, PageMetrics::defaults()).pages[0],
                          QStringLiteral("Bezirksdirektion Mitte")));
}

TEST(GemaForm, DirectSettlementLinesOnlyWithTheCheckBox) {
    Gema::FormValues values;
    const auto has = [&] {
        const Report::Document document = GemaReport::render(values, {}, PageMetrics::defaults());
        return drawsText(*document.pages[0], QStringLiteral("bei Netto-Einzelverrechnung")) &&
               drawsText(*document.pages[0], QStringLiteral("(DIREKTVERRECHNUNG)"));
    };
    EXPECT_FALSE(has());
    values.direct = true;
    EXPECT_TRUE(has());
}

TEST(GemaForm, ALongWordIsDrawnOnceClipped) {
    Gema::Work w = work(QString(60, QLatin1Char('W')));
    const Report::Document document =
        GemaReport::render(Gema::FormValues(), {w}, PageMetrics::defaults());
    EXPECT_EQ(titleTexts(*document.pages[0]), QStringList{QString(60, QLatin1Char('W'))});
}

} // namespace
