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
        if (op.kind == Report::Op::Kind::TextInRect && op.x1 == 590)
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

TEST(GemaForm, EveryWordOfLongNamesIsPrintedInsideItsCell) {
    Gema::Work long60;
    long60.title = QStringLiteral("Auf der Vogelwiese, Polka aus dem Egerland für Blasorchester");
    long60.composer = QStringLiteral("Korbinian Brandl, Veronika Stadlmaier");
    long60.arranger = QStringLiteral("Maximiliane-Theresia Kollmannsberger-Stadlmaier");
    long60.publisher = QStringLiteral("Verlag Blechwerk Haselried");
    const Report::Document document =
        GemaReport::render(Gema::FormValues(), {long60}, PageMetrics::defaults());
    // The lines drawn in the first row, joined again, hold every cell's text whole.
    QString printed;
    for (const Report::Op& op : document.pages.front()->ops()) {
        if (op.kind == Report::Op::Kind::TextInRect && op.y1 >= 2055 && op.y1 < 2055 + 76) {
            printed += op.text;
            EXPECT_FALSE(op.text.contains(QChar(0x2026))) << op.text.toStdString();
        }
    }
    printed.remove(QLatin1Char(' '));
    for (const QString* text :
         {&long60.title, &long60.composer, &long60.arranger, &long60.publisher})
        EXPECT_TRUE(printed.contains(QString(*text).remove(QLatin1Char(' '))))
            << text->toStdString();
    // Each cell's lines stay between the column rules (the page checker says more).
    for (const Report::Op& op : document.pages.front()->ops()) {
        if (op.kind == Report::Op::Kind::TextInRect &&
            op.text.startsWith(QStringLiteral("Korbinian"))) {
            EXPECT_LE(op.font.textWidth(op.text), 1445 - 1230);
        }
    }
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

TEST(GemaForm, AWordTooLongForItsCellIsBrokenThenEndedButNeverCut) {
    // 60 characters without a blank go on lines of their own; 200 are ended with "…".
    const QString word(60, QLatin1Char('W'));
    const QString endless(200, QLatin1Char('W'));
    const Report::Document document = GemaReport::render(
        Gema::FormValues(), {work(word), work(endless)}, PageMetrics::defaults());
    const QStringList lines = titleTexts(*document.pages[0]);
    ASSERT_GE(lines.size(), 4);
    int first = 0;
    QString joined;
    while (joined.size() < word.size() && first < lines.size())
        joined += lines[first++];
    EXPECT_EQ(joined, word);
    EXPECT_TRUE(lines.back().endsWith(QChar(0x2026)));
    for (const Report::Op& op : document.pages[0]->ops()) {
        if (op.kind == Report::Op::Kind::TextInRect && op.x1 == 590) {
            EXPECT_LE(op.font.textWidth(op.text), op.x2 - op.x1) << op.text.toStdString();
        }
    }
}

} // namespace
