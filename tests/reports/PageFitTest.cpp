// Every printed page keeps its texts inside their boxes: the fit rule itself, and every report
// of the example data and of a copy full of long names and large amounts, read by the page
// checker as a reader of the sheet would.
#include "PageChecker.h"
#include "ReportTestSupport.h"

#include "core/BaseData.h"
#include "core/FinanceModel.h"
#include "core/GigUpdateSelection.h"
#include "core/UserProfile.h"
#include "core/YearOverview.h"
#include "data/RecordSets.h"
#include "reports/AccountingReport.h"
#include "reports/GemaReport.h"
#include "reports/GigRiderReport.h"
#include "reports/GigUpdateReport.h"
#include "reports/SetListPrint.h"
#include "reports/TextFit.h"
#include "reports/YearOverviewReport.h"
#include "tool/DemoData.h"

#include <QImage>

#include <cmath>
#include <set>

namespace {

using Report::fitText;

const ReportFont kArial35 = ReportFonts::font(3);

TEST(TextFit, ATextThatFitsIsLeftAlone) {
    const auto fit = fitText(QStringLiteral("Gasthof Post"), kArial35, 1000, 45);
    EXPECT_TRUE(fit.unchanged(kArial35));
    EXPECT_EQ(fit.lines, QStringList{QStringLiteral("Gasthof Post")});
}

TEST(TextFit, WrapsWhereTheBoxHasLinesThenShrinksThenEnds) {
    const QString names = QStringLiteral("Korbinian Brandl, Veronika Stadlmaier");
    const double width = kArial35.textWidth(QStringLiteral("Veronika Stadlmaier")) + 1;
    // A box two lines high takes the names on two lines in the full size.
    auto fit = fitText(names, kArial35, width, 2 * kArial35.lineHeight() + 1);
    EXPECT_EQ(fit.font, kArial35);
    EXPECT_EQ(fit.lines, (QStringList{QStringLiteral("Korbinian Brandl,"),
                                      QStringLiteral("Veronika Stadlmaier")}));
    // A one-line box sets the text smaller, and ends it with "…" only below 70 %.
    const double full = kArial35.textWidth(names);
    fit = fitText(names, kArial35, full * 0.85, 45);
    ASSERT_EQ(fit.lines.size(), 1);
    EXPECT_LT(fit.font.height, 35);
    EXPECT_GE(fit.font.height, 28);
    EXPECT_FALSE(fit.elided);
    fit = fitText(names, kArial35, full * 0.5, 45);
    ASSERT_EQ(fit.lines.size(), 1);
    EXPECT_EQ(fit.font.height, 25); // 70 % of 35, rounded up
    EXPECT_TRUE(fit.elided);
    EXPECT_TRUE(fit.lines.front().endsWith(QChar(0x2026)));
    EXPECT_LE(fit.font.textWidth(fit.lines.front()), full * 0.5);
}

TEST(TextFit, TheQuickWidthCheckAgreesWithTheMeasuredWidth) {
    for (const ReportFont& font : {kArial35, ReportFonts::font(10), ReportFonts::Info}) {
        for (const QString& text :
             {QStringLiteral("Gasthof zur Post, Saal 12"), QStringLiteral("Überlänge fi fl ffi"),
              QStringLiteral("WWWWiiii…"), QStringLiteral("Straße 7 · Tel. 0123")}) {
            const double exact = font.textWidth(text);
            for (double width : {exact - 0.05, exact, exact + 0.05, exact * 1.3})
                EXPECT_EQ(font.fitsWidth(text, width), exact <= width)
                    << text.toStdString() << " " << width;
        }
    }
}

TEST(TextFit, HyphenatedWordsBreakAfterTheirHyphens) {
    const QString name = QStringLiteral("Maximiliane-Theresia Kollmannsberger-Stadlmaier");
    const double width = kArial35.textWidth(QStringLiteral("Kollmannsberger-")) + 1;
    const auto fit = fitText(name, kArial35, width, 4 * kArial35.lineHeight());
    EXPECT_EQ(fit.lines,
              (QStringList{QStringLiteral("Maximiliane-"), QStringLiteral("Theresia"),
                           QStringLiteral("Kollmannsberger-"), QStringLiteral("Stadlmaier")}));
    EXPECT_EQ(fit.font, kArial35);
}

TEST(TextFit, AWordWithoutBlanksIsBrokenBeforeItIsEnded) {
    const QString word = QStringLiteral("Donaudampfschifffahrtsgesellschaftskapitänsmütze");
    const double width = kArial35.textWidth(word) * 0.3;
    const auto fit = fitText(word, kArial35, width, 2 * kArial35.lineHeight());
    ASSERT_EQ(fit.lines.size(), 2);
    EXPECT_TRUE(fit.elided);
    EXPECT_TRUE(word.startsWith(fit.lines[0]));
    for (const QString& line : fit.lines)
        EXPECT_LE(fit.font.textWidth(line), width);
}

TEST(PageChecker, FindsWhatAReaderWouldSee) {
    Report::PageRecorder page(QSize(2100, 2969));
    page.selectFont(kArial35);
    page.textInRect(QRect(200, 200, 1000, 50), Report::Align::Left, QStringLiteral("Gasthof"));
    EXPECT_TRUE(PageCheck::faults(page.finish()).isEmpty());
    // Text over text, a rule through a text, a text wider than its box, a text at the edge.
    page.textInRect(QRect(200, 200, 1000, 50), Report::Align::Left, QStringLiteral("Gasthof"));
    page.textInRect(QRect(210, 210, 1000, 50), Report::Align::Left, QStringLiteral("Post"));
    page.line(100, 500 + 20, 1000, 500 + 20);
    page.textInRect(QRect(200, 500, 1000, 50), Report::Align::Left, QStringLiteral("Zelt"));
    page.textInRect(QRect(200, 800, 40, 50), Report::Align::Left, QStringLiteral("Festzelt"));
    page.text(2080, 1000, QStringLiteral("Rand"));
    const QStringList found = PageCheck::faults(page.finish());
    ASSERT_EQ(found.size(), 4) << found.join(u'\n').toStdString();
    EXPECT_TRUE(found[0].contains(QStringLiteral("overlap")));
    EXPECT_TRUE(found[1].contains(QStringLiteral("crossed by the rule")));
    EXPECT_TRUE(found[2].contains(QStringLiteral("wider than its box")));
    EXPECT_TRUE(found[3].contains(QStringLiteral("outer 4.2 mm")));
}

// ---------------------------------------------------------------------------------------------

// Long names, long addresses and amounts of five to seven digits in every field a report
// prints, written over the example data.
void makeEverythingLong(TestDatabase& database) {
    database.exec(R"sql(
UPDATE "User" SET "Band" = 'Original Kranichtaler Blech- und Tanzmusik Oberlangenhausen e.V.',
    "Vorname" = 'Maximiliane-Theresia', "Name" = 'Kollmannsberger-Stadlmaier',
    "Tel" = '+49 (0) 8031 / 123 456 789', "Telm" = '+49 (0) 170 / 987 654 321',
    "Email" = 'maximiliane-theresia.kollmannsberger@kranichtaler-blechmusik.example',
    "Homepage" = 'www.original-kranichtaler-blech-und-tanzmusik-oberlangenhausen.example';
UPDATE "T_Event" SET
    "EArt" = 'Hochzeitsfeier mit anschließendem Tanzabend und Mitternachtseinlage',
    "ELocation" = 'Landgasthof und Hotel Zur Alten Post am Kranichtaler Marktplatz',
    "EStrasse" = 'Oberer Kirchplatz und Mühlbachweg 123 (Hintereingang Saal)',
    "EOrt" = 'Oberlangenhausen-Kranichtal an der Mangfall (Landkreis Rosenheim)',
    "EGageVereinb" = 123456.78, "EGageBezahlt" = NULL WHERE "EventID" > 0;
UPDATE "T_Stamm_ExtFirma" SET
    "Firma" = 'Trachtenverein Edelweiß Oberlangenhausen-Kranichtal und Umgebung e.V.',
    "Vorname" = 'Maximiliane-Theresia', "Name" = 'Kollmannsberger-Stadlmaier',
    "Strasse" = 'Oberer Kirchplatz und Mühlbachweg 123 (Hintereingang Saal)',
    "Ort" = 'Oberlangenhausen-Kranichtal an der Mangfall (Landkreis Rosenheim)',
    "Tel" = '+49 (0) 8031 / 123 456 789 - 0', "Telm" = '+49 (0) 170 / 987 654 321 - 12',
    "Fax" = '+49 (0) 8031 / 123 456 789 - 99',
    "Email" = 'veranstaltungen.und.buchungen@trachtenverein-edelweiss-kranichtal.example',
    "Homepage" = 'www.trachtenverein-edelweiss-oberlangenhausen-kranichtal.example';
UPDATE "T_Stamm_ExtAnsprech" SET "APVorname" = 'Maximiliane-Theresia',
    "APName" = 'Kollmannsberger-Stadlmaier', "APTel" = '+49 (0) 8031 / 123 456 789 - 0',
    "APTelm" = '+49 (0) 170 / 987 654 321 - 12';
UPDATE "T_Stamm_Musiker" SET "MVorname" = 'Maximiliane-Theresia',
    "MName" = 'Kollmannsberger-Stadlmaier', "MTel" = '+49 (0) 8031 / 123 456 789 - 0',
    "MTelm" = '+49 (0) 170 / 987 654 321 - 12';
UPDATE "T_Stamm_Instrument" SET "Kurz" = 'Flügelhorn';
UPDATE "T_Stamm_Hotel" SET "Name" = 'Landgasthof und Hotel Zur Alten Post am Marktplatz',
    "Ort" = 'Oberlangenhausen-Kranichtal an der Mangfall';
UPDATE "T_Event_Setliste_Songs" SET
    "Titel" = 'Auf der Vogelwiese, Polka aus dem Egerland für großes Blasorchester',
    "Komponist" = 'Korbinian Brandl, Veronika Stadlmaier, Sebastian Huber-Kollmannsberger',
    "Bearbeiter" = 'Maximiliane-Theresia Kollmannsberger-Stadlmaier',
    "Verleger" = 'Verlag Blechwerk Haselried Musikverlag und Notendruckerei GmbH',
    "Tonart" = 'As-Dur / f-Moll', "Tempo" = 240,
    "Bemerkung" = 'zweimal Refrain, dann Modulation nach B-Dur und Schluss mit Fermate';
UPDATE "T_Event_Setliste_Songs" SET
    "Titel" = 'Donaudampfschifffahrtsgesellschaftskapitänsmützenpolka' WHERE "LfdNr" = 1;
UPDATE "T_Event_Finanzen" SET "Auszahlung" = 98765.43,
    "Verwendung" = 'Verpflegung der Kapelle und Fahrtkosten nach Oberlangenhausen-Kranichtal',
    "RechnungNr" = 'RE-2026-0001234567';
UPDATE "T_Event_Merchandising" SET "Preis" = 12345.67, "Menge" = 9;
)sql");
}

class EveryReport : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        fillDemoData(database.db());
        if (GetParam())
            makeEverythingLong(database);
        user = UserProfile::load(database.db());
        CSetEvent set(database.db());
        set.open(QStringLiteral("[EventID]>0"), QStringLiteral("[EventID]"));
        for (; !set.atEnd(); set.moveNext()) {
            events.push_back(set.getInt("EventID"));
            years.insert(set.getDate("EBeginn").date().year());
        }
        ASSERT_FALSE(events.empty());
    }

    void expectSound(const Report::Document& document, const QString& what) {
        const QStringList found = PageCheck::faults(document);
        EXPECT_TRUE(found.isEmpty()) << what.toStdString() << ":\n  "
                                     << found.mid(0, 12).join(QStringLiteral("\n  ")).toStdString();
    }

    TestDatabase database;
    UserProfile user;
    std::vector<std::int32_t> events;
    std::set<int> years;
    const PageMetrics metrics = PageMetrics::pdf();
};

TEST_P(EveryReport, GigUpdatesOfAllEventsAndOfEachCrewMember) {
    GigUpdate::Selection selection;
    selection.from = QDate(2000, 1, 1);
    selection.to = QDate(2100, 1, 1);
    expectSound(
        GigUpdateReport::render(database.db(), selection, user, metrics, QDate::currentDate()),
        QStringLiteral("Gig-Update"));
    CSetStammMusiker musicians(database.db());
    musicians.open(QString());
    for (; !musicians.atEnd(); musicians.moveNext())
        selection.crew.push_back({musicians.getInt("MusikerID"), GigUpdate::Musician});
    expectSound(
        GigUpdateReport::render(database.db(), selection, user, metrics, QDate::currentDate()),
        QStringLiteral("Gig-Update per musician"));
}

// The statement's totals are the sums of its printed rows, the balance their difference.
void expectStatementAddsUp(const Report::Document& document, const QString& what) {
    std::vector<double> income, expenses;
    for (const auto& page : document.pages)
        for (const Report::Op& op : page->ops()) {
            if (op.kind != Report::Op::Kind::TextInRect)
                continue;
            bool number = false;
            const double value = op.text.toDouble(&number);
            if (number && op.x2 == 1730)
                income.push_back(value);
            else if (number && op.x2 == 1930)
                expenses.push_back(value);
        }
    ASSERT_GE(income.size(), 2u) << what.toStdString();
    ASSERT_GE(expenses.size(), 2u) << what.toStdString();
    const double balance = expenses.back();
    expenses.pop_back();
    const auto addsUp = [](const std::vector<double>& column) {
        double sum = 0;
        for (size_t i = 0; i + 1 < column.size(); ++i)
            sum += column[i];
        return std::abs(sum - column.back()) < 0.001;
    };
    EXPECT_TRUE(addsUp(income)) << what.toStdString();
    EXPECT_TRUE(addsUp(expenses)) << what.toStdString();
    EXPECT_NEAR(income.back() - expenses.back(), balance, 0.001) << what.toStdString();
}

TEST_P(EveryReport, RidersStatementsSetListsAndGemaFormsOfEveryEvent) {
    for (std::int32_t event : events) {
        const QString id = QString::number(event);
        expectSound(GigRiderReport::render(database.db(), event, user, metrics),
                    QStringLiteral("Gig-Rider ") + id);
        const Report::Document statement =
            AccountingReport::render(database.db(), event, user, metrics);
        expectSound(statement, QStringLiteral("Abrechnung ") + id);
        expectStatementAddsUp(statement, QStringLiteral("Abrechnung ") + id);
        expectSound(SetListPrint::render(database.db(), event, user, metrics),
                    QStringLiteral("Setliste ") + id);
        Gema::FormValues values = Gema::initialValues(database.db(), event, user);
        const std::vector<Gema::Office> offices = Gema::offices(database.db());
        if (!offices.empty())
            values.office = offices.front();
        values.memberNumber = QStringLiteral("123456");
        expectSound(GemaReport::render(database.db(), event, values, metrics),
                    QStringLiteral("GEMA ") + id);
    }
}

TEST_P(EveryReport, YearOverviews) {
    const BaseData base = BaseData::read(database.db());
    for (int year : years) {
        const auto now =
            YearOverview::compute(database.db(), year, base, Finance::VatMode::Inclusive);
        const auto before =
            YearOverview::compute(database.db(), year - 1, base, Finance::VatMode::Inclusive);
        auto chart =
            std::make_shared<const QImage>(YearOverviewReport::kChartWidth,
                                           YearOverviewReport::kChartHeight, QImage::Format_RGB32);
        expectSound(YearOverviewReport::render(now, before, QStringLiteral("inkl. MwSt."),
                                               user.band, chart),
                    QStringLiteral("Jahresübersicht %1").arg(year));
    }
    // The example's cancelled gig of June 2026 brings no money; its reserved and requested
    // gigs of 2027 show their fees only as "in Aussicht".
    const auto year2026 =
        YearOverview::compute(database.db(), 2026, base, Finance::VatMode::Inclusive);
    EXPECT_EQ(year2026.months[5].gigs[3], 1);
    EXPECT_EQ(YearOverview::tableRows(year2026, year2026)[5][6], QStringLiteral("0,00"));
    EXPECT_EQ(year2026.months[5].costs, 0.0);
    const auto year2027 =
        YearOverview::compute(database.db(), 2027, base, Finance::VatMode::Inclusive);
    EXPECT_EQ(year2027.months[3].fees, 0.0); // April: reserved
    EXPECT_GT(year2027.months[3].prospective, 0.0);
}

INSTANTIATE_TEST_SUITE_P(ExampleData, EveryReport, ::testing::Values(false));
INSTANTIATE_TEST_SUITE_P(LongTextsLargeAmounts, EveryReport, ::testing::Values(true));

} // namespace
