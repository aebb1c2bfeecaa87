#include "GemaReport.h"

#include "PageFrame.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"

#include <cmath>

using Report::Align;
using Report::PageRecorder;
using Report::Pen;

namespace Gema {

bool Work::operator==(const Work& other) const {
    return number == other.number && pf == other.pf && title == other.title &&
           composer == other.composer && arranger == other.arranger && publisher == other.publisher;
}

std::vector<Office> offices(CDatabase& db) {
    std::vector<Office> list;
    CSetStammGema set(db);
    set.open(QString(), QStringLiteral("[Bezirksdirektion]"));
    for (; !set.atEnd(); set.moveNext())
        list.push_back({set.getText("Bezirksdirektion"), set.getText("Strasse"), set.getText("PLZ"),
                        set.getText("Ort"), set.getText("ZustBereich")});
    return list;
}

FormValues initialValues(CDatabase& db, std::int32_t eventId, const UserProfile& user) {
    FormValues values;
    values.band = user.band;
    values.leader = user.firstName + QLatin1Char(' ') + user.name;
    values.leaderStreet = user.street;
    values.leaderPostcode = user.postcode;
    values.leaderTown = user.town;
    values.lineUpKind = user.lineUpKind;
    CSetAbfrDruckGema event(db);
    event.open(QStringLiteral("[EventID]=%1").arg(eventId));
    if (!event.atEnd()) {
        if (event.getBool("fPrivat")) {
            const QString first = event.getText("Vorname");
            values.organiser = first.isEmpty()
                                   ? event.getText("Name")
                                   : QStringLiteral("%1, %2").arg(event.getText("Name"), first);
        } else {
            values.organiser = event.getText("Firma");
        }
        values.organiserStreet = event.getText("Strasse");
        values.organiserPostcode = event.getText("PLZ");
        values.organiserTown = event.getText("Ort");
        values.location = event.getText("ELocation");
        values.venueStreet = event.getText("EStrasse");
        values.venuePostcode = event.getText("EPLZ");
        values.venueTown = event.getText("EOrt");
        values.eventKind = event.getText("EArt");
        const QDateTime begin = event.getDate("EBeginn");
        const QDateTime end = event.getDate("EEnde");
        values.date = PageFrame::shortDate(begin.date());
        if (begin.isValid())
            values.from = begin.toString(QStringLiteral("HH:mm"));
        if (end.isValid())
            values.to = end.toString(QStringLiteral("HH:mm"));
    }
    CSetAbfrEventBesetzung lineUp(db);
    lineUp.open(QStringLiteral("[EventID]=%1").arg(eventId));
    for (; !lineUp.atEnd(); lineUp.moveNext())
        ++values.musicians;
    return values;
}

std::vector<Work> distinct(const std::vector<Work>& records) {
    std::vector<Work> list;
    for (const Work& work : records)
        if (std::find(list.begin(), list.end(), work) == list.end())
            list.push_back(work);
    return list;
}

std::vector<Work> works(CDatabase& db, std::int32_t eventId) {
    std::vector<Work> records;
    CSetAbfrEventSetliste set(db);
    set.open(QStringLiteral("[EventID]=%1").arg(eventId),
             QStringLiteral("[Titel], [Komponist], [SetNr], [LfdNr]"));
    for (; !set.atEnd(); set.moveNext())
        records.push_back({set.getText("GemaWerkNr"), set.getText("pf"), set.getText("Titel"),
                           set.getText("Komponist"), set.getText("Bearbeiter"),
                           set.getText("Verleger")});
    return distinct(records);
}

std::vector<int> planPages(int workCount) {
    std::vector<int> rows{std::min(std::max(workCount, 0), kFirstPageRows)};
    int left = workCount - kFirstPageRows;
    while (left > kLastPageRows) {
        rows.push_back(std::min(left, kContinuationRows));
        left -= kContinuationRows;
    }
    rows.push_back(std::max(left, 0));
    return rows;
}

} // namespace Gema

namespace GemaReport {

namespace {

ReportFont fontOf(ReportFont::Face face, int height, bool bold) {
    ReportFont font;
    font.face = face;
    font.height = height;
    font.bold = bold;
    return font;
}

const ReportFont T42 = fontOf(ReportFont::TimesNewRoman, 42, false);
const ReportFont T84 = fontOf(ReportFont::TimesNewRoman, 84, true);
const ReportFont A21 = fontOf(ReportFont::Arial, 21, false);
const ReportFont A24 = fontOf(ReportFont::Arial, 24, false);
const ReportFont A27 = fontOf(ReportFont::Arial, 27, false);
const ReportFont A31 = fontOf(ReportFont::Arial, 31, false);
const ReportFont A35 = fontOf(ReportFont::Arial, 35, false);
const ReportFont A45 = fontOf(ReportFont::Arial, 45, false);
const ReportFont B31 = fontOf(ReportFont::Arial, 31, true); // the two longest labels
const ReportFont B35 = fontOf(ReportFont::Arial, 35, true);
const ReportFont B38 = fontOf(ReportFont::Arial, 38, true);
const ReportFont B42 = fontOf(ReportFont::Arial, 42, true);
const ReportFont B76 = fontOf(ReportFont::Arial, 76, true);

constexpr int kLeft = 200;
constexpr int kWidth = 1770;
constexpr int kHeading = 95;
// The smallest type of a work cell: 21 of 35, the size of the form's own smallest print.
constexpr int kSmallestCellPercent = 60;

// The rectangle from (left, top) to (right, bottom), the right and bottom edges outside.
QRect box(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void textIn(PageRecorder& page, const ReportFont& font, int left, int top, int right, int bottom,
            Align align, const QString& text) {
    page.selectFont(font);
    page.fittedText(box(left, top, right, bottom), align, text);
}

// The box of a value written on a rule at y `rule`: its line ends just above the rule, so that
// descenders do not cross it.
QRect onRule(int left, int right, int rule) {
    const int height = int(std::ceil(A35.lineHeight())) + 1;
    return box(left, rule - 1 - height, right, rule - 1);
}

// A value of the form in A35 on its rule, kept inside its box by the fit rule.
void valueOnRule(PageRecorder& page, int left, int right, int rule, Align align,
                 const QString& text) {
    page.selectFont(A35);
    page.fittedText(onRule(left, right, rule), align, text);
}

void textAt(PageRecorder& page, const ReportFont& font, int x, int y, const QString& text) {
    page.selectFont(font);
    page.text(x, y, text);
}

void frame(PageRecorder& page, Pen pen, Report::Brush brush, int left, int top, int right,
           int bottom) {
    page.setPen(pen);
    page.setBrush(brush);
    page.rectangle(box(left, top, right, bottom));
    page.setBrush(Report::Brush::White);
}

void rule(PageRecorder& page, int x1, int x2, int y) {
    page.setPen(Pen::Solid1);
    page.line(x1, y, x2, y);
}

// The first `count` characters of a text, each centred in its own box `width` wide from `left`.
void characterBoxes(PageRecorder& page, const QString& text, int count, int left, int width,
                    int top, int bottom, bool drawBoxes) {
    if (drawBoxes) {
        page.setPen(Pen::Solid1);
        page.setBrush(Report::Brush::White);
        for (int k = 0; k < count; ++k)
            page.rectangle(box(left + k * width, top, left + (k + 1) * width, bottom));
    }
    page.selectFont(A35);
    const int y = top + int(std::lround((bottom - top - A35.lineHeight()) / 2));
    for (int k = 0; k < std::min(count, int(text.size())); ++k)
        page.textInRect(box(left + k * width, y, left + (k + 1) * width, bottom), Align::Center,
                        text.mid(k, 1));
}

// "Straße", "PLZ" with five boxes and "Ort" with its rule, values filled in.
void addressRows(PageRecorder& page, int streetTop, int streetBottom, int postTop, int postBottom,
                 const QString& street, const QString& postcode, const QString& town) {
    textIn(page, B35, kLeft, streetTop, 530, streetBottom, Align::Left, QStringLiteral("Straße"));
    rule(page, 530, 1630, streetBottom);
    textIn(page, B35, kLeft, postTop, 530, postBottom, Align::Left, QStringLiteral("PLZ"));
    textIn(page, B35, 780, postTop, 830, postBottom, Align::Left, QStringLiteral("Ort"));
    rule(page, 830, 1630, postBottom);
    characterBoxes(page, postcode, 5, 530, 43, postTop, postBottom, true);
    page.selectFont(A35);
    page.fittedText(onRule(550, 1630, streetBottom), Align::Left, street);
    page.fittedText(onRule(850, 1630, postBottom), Align::Left, town);
}

// The grid of works: heading, columns, character boxes of the work number and `rows` rows, of
// which the first works.size() are filled.
void workGrid(PageRecorder& page, int top, int height, int rows,
              const std::vector<Gema::Work>& works) {
    const int rowHeight = (height - kHeading) / rows;
    const int bottom = top + height;
    const int right = kLeft + kWidth;
    frame(page, Pen::Solid2, Report::Brush::LightGrey, kLeft, top, right, top + kHeading);
    frame(page, Pen::Solid2, Report::Brush::White, kLeft, top + kHeading, right, bottom);
    const int columns[] = {0, 265, 380, 1015, 1255, 1520, 1770};
    page.setPen(Pen::Solid2);
    for (int c = 1; c < 6; ++c)
        page.line(kLeft + columns[c], top, kLeft + columns[c], bottom);
    page.setPen(Pen::Solid1);
    for (int k = 1; k < 7; ++k)
        page.line(kLeft + 37 * k, top + kHeading, kLeft + 37 * k, bottom);
    for (int r = 1; r < rows; ++r)
        page.line(kLeft, top + kHeading + r * rowHeight, right, top + kHeading + r * rowHeight);

    const int headingTextTop = top + int(std::lround((kHeading - A31.lineHeight()) / 2));
    textIn(page, A31, kLeft, top + 10, kLeft + 265, top + 50, Align::Center,
           QStringLiteral("GEMA-Werk-Nr."));
    textIn(page, A31, kLeft, top + 48, kLeft + 265, top + 90, Align::Center,
           QStringLiteral("(falls bekannt)"));
    const char* const headings[] = {"P/F", "Titel des Musikwerkes", "Komponist", "Bearbeiter",
                                    "Verleger"};
    for (int c = 1; c < 6; ++c)
        textIn(page, A31, kLeft + columns[c], headingTextTop, kLeft + columns[c + 1],
               top + kHeading, Align::Center, QString::fromUtf8(headings[c - 1]));
    textAt(page, A21, kLeft + 350, top + 10, QStringLiteral("1)"));
    textAt(page, A21, kLeft + 1465, top + 10, QStringLiteral("2)"));
    textAt(page, A21, kLeft + 1705, top + 10, QStringLiteral("2)"));

    // Each cell keeps its text between the column rules: on one line, or on two or three lines
    // in a smaller size, down to the form's own smallest type (A21), so that every word of a
    // name is printed.
    for (int i = 0; i < std::min(rows, int(works.size())); ++i) {
        const Gema::Work& work = works[size_t(i)];
        const int rowTop = top + kHeading + i * rowHeight;
        characterBoxes(page, work.number, 7, kLeft, 37, rowTop, rowTop + rowHeight, false);
        page.selectFont(A35);
        const struct {
            int left, right;
            const QString& text;
        } cells[] = {{kLeft + columns[1] + 5, kLeft + columns[2] - 5, work.pf},
                     {590, kLeft + columns[3] - 10, work.title},
                     {1230, kLeft + columns[4] - 10, work.composer},
                     {1470, kLeft + columns[5] - 10, work.arranger},
                     {1730, kLeft + columns[6] - 10, work.publisher}};
        for (const auto& cell : cells) {
            if (cell.text.isEmpty())
                continue;
            page.fittedText(box(cell.left, rowTop + 2, cell.right, rowTop + rowHeight - 1),
                            &cell == cells ? Align::Center : Align::Left, cell.text,
                            Report::VAlign::Centre, kSmallestCellPercent);
        }
    }
}

void footerLine(PageRecorder& page, const PageMetrics& metrics) {
    page.setPen(Pen::Hairline);
    const int y = metrics.height - metrics.bottomMargin - 50;
    page.line(kLeft, y, kLeft + kWidth, y);
}

PageRecorder& beginPage(PageRecorder& page) {
    page.setBackgroundOpaque(false);
    page.cornerMark(0, 0, 1, 0);
    page.cornerMark(2099, 2970, 2100, 2970);
    return page;
}

void firstPage(PageRecorder& page, const Gema::FormValues& v,
               const std::vector<Gema::Work>& works) {
    // Head.
    const auto head = [&](const ReportFont& font, int top, int bottom, const char* text) {
        textIn(page, font, kLeft, top, 1950, bottom, Align::Center, QString::fromUtf8(text));
    };
    head(T84, 205, 290, "GEMA");
    head(T42, 300, 340, "GESELLSCHAFT FÜR MUSIKALISCHE AUFFÜHRUNGS-");
    head(T42, 340, 390, "UND MECHANISCHE VERVIELFÄLTIGUNGSRECHTE");
    head(B76, 430, 510, "Musikfolge");
    head(B38, 515, 560, "für eine Einzelveranstaltung");
    head(B38, 560, 600, "(Live-Musik)");
    if (v.direct) {
        head(B38, 605, 640, "bei Netto-Einzelverrechnung");
        head(B38, 655, 680, "(DIREKTVERRECHNUNG)");
    }

    // The boxes GEMA fills in.
    frame(page, Pen::Solid3, Report::Brush::LightGrey, 1370, 410, 1955, 865);
    rule(page, 1370, 1955, 490);
    rule(page, 1370, 1955, 570);
    textIn(page, B38, 1370, 430, 1955, 480, Align::Center,
           QStringLiteral("Wird durch GEMA ausgefüllt"));
    textAt(page, A24, 1385, 500, QStringLiteral("Programm-Nr."));
    textAt(page, A24, 1385, 580, QStringLiteral("Eingangsstempel"));

    frame(page, Pen::Solid3, Report::Brush::LightGrey, 1645, 880, 1955, 1505);
    page.setPen(Pen::Solid1);
    for (int k = 1; k < 6; ++k)
        page.line(1645 + 310 * k / 6, 880, 1645 + 310 * k / 6, 935);
    rule(page, 1645, 1955, 935);
    const char* const codes[] = {"GSZ",    "Progr.-Kennz.", "DM/EUR",     "Inkasso",
                                 "Liz.BD", "Veranst. BD",   "Musiker-Nr."};
    for (int i = 0; i < 7; ++i) {
        const int top = 935 + i * 570 / 7;
        if (i > 0)
            rule(page, 1645, 1955, top);
        textAt(page, A24, 1655, top + 5, QString::fromUtf8(codes[i]));
    }

    frame(page, Pen::Solid3, Report::Brush::White, 1645, 1530, 1955, 1680);
    textIn(page, A31, 1645, 1535, 1955, 1570, Align::Center, QStringLiteral("GEMA-Mitglieds-Nr."));
    textIn(page, A31, 1645, 1570, 1955, 1605, Align::Center, QStringLiteral("(falls bekannt)"));
    characterBoxes(page, v.memberNumber, Gema::kMemberNumberLength, 1665, 45, 1620, 1670, true);

    // The office the form goes to, its texts fitted before the GEMA boxes. A name
    // entered as "Bezirksdirektion Süd" is not given the word a second time.
    const QString office = QStringLiteral("Bezirksdirektion");
    // With direct settlement the head's last lines stand beside the office's name.
    page.selectFont(B38);
    page.fittedText(box(kLeft, 645, v.direct ? 800 : 1340, 690), Align::Left,
                    v.office.name.startsWith(office, Qt::CaseInsensitive)
                        ? v.office.name
                        : office + QLatin1Char(' ') + v.office.name);
    page.selectFont(A45);
    page.fittedText(box(kLeft, 705, 1340, 755), Align::Left, v.office.street);
    page.fittedText(box(kLeft, 775, 1340, 825), Align::Left,
                    v.office.postcode + QLatin1Char(' ') + v.office.town);

    // Organiser.
    textIn(page, B35, kLeft, 905, 530, 950, Align::Left, QStringLiteral("Veranstalter"));
    rule(page, 530, 1630, 950);
    valueOnRule(page, 550, 1630, 950, Align::Left, v.organiser);
    addressRows(page, 982, 1020, 1045, 1080, v.organiserStreet, v.organiserPostcode,
                v.organiserTown);

    // Venue.
    textIn(page, B35, kLeft, 1100, 530, 1140, Align::Left, QStringLiteral("Veranstaltungs-"));
    textIn(page, B35, kLeft, 1140, 530, 1180, Align::Left, QStringLiteral("raum"));
    rule(page, 530, 1630, 1180);
    valueOnRule(page, 550, 1630, 1180, Align::Left, v.location);
    addressRows(page, 1215, 1250, 1275, 1310, v.venueStreet, v.venuePostcode, v.venueTown);
    textIn(page, B35, kLeft, 1340, 650, 1370, Align::Left, QStringLiteral("Art der Veranstaltung"));
    rule(page, 650, 1630, 1370);
    valueOnRule(page, 650, 1630, 1370, Align::Center, v.eventKind);
    textIn(page, A27, kLeft, 1390, 1630, 1420, Align::Left,
           QStringLiteral("(z.B.: Tanz / Unterhaltungsmusik / Konzert / Gesellige Veranstaltung "
                          "/ Straßenfest / ...)"));

    // Date and times.
    textIn(page, B35, kLeft, 1460, 440, 1500, Align::Left, QStringLiteral("Veranstaltung"));
    textIn(page, B35, 440, 1460, 530, 1500, Align::Left, QStringLiteral("am"));
    rule(page, 530, 860, 1500);
    textIn(page, B35, 880, 1460, 950, 1500, Align::Left, QStringLiteral("von"));
    rule(page, 950, 1190, 1500);
    textIn(page, B35, 1210, 1460, 1330, 1500, Align::Left, QStringLiteral("Uhr bis"));
    rule(page, 1330, 1560, 1500);
    textIn(page, B35, 1580, 1460, 1640, 1500, Align::Left, QStringLiteral("Uhr"));
    valueOnRule(page, 530, 860, 1500, Align::Center, v.date);
    valueOnRule(page, 950, 1190, 1500, Align::Center, v.from);
    valueOnRule(page, 1330, 1560, 1500, Align::Center, v.to);

    // Band.
    textIn(page, B35, kLeft, 1537, 530, 1570, Align::Left, QStringLiteral("Name der Kapelle"));
    rule(page, 530, 1630, 1580);
    valueOnRule(page, 550, 1630, 1580, Align::Left, v.band);
    textIn(page, B31, kLeft, 1614, 530, 1650, Align::Left, QStringLiteral("Name des Musikleiters"));
    rule(page, 530, 1630, 1650);
    valueOnRule(page, 550, 1630, 1650, Align::Left, v.leader);
    addressRows(page, 1685, 1720, 1745, 1780, v.leaderStreet, v.leaderPostcode, v.leaderTown);
    textIn(page, B31, kLeft, 1820, 640, 1860, Align::Left,
           QStringLiteral("Anzahl der Musiker und Sänger"));
    rule(page, 640, 760, 1850);
    if (v.musicians > 0)
        valueOnRule(page, 650, 770, 1850, Align::Center, QString::number(v.musicians));
    textIn(page, B35, 790, 1820, 1050, 1860, Align::Left, QStringLiteral("Art der Besetzung"));
    rule(page, 1050, 1630, 1850);
    valueOnRule(page, 1050, 1630, 1850, Align::Center, v.lineUpKind);
    textIn(page, A27, 1050, 1865, 1630, 1897, Align::Center,
           QStringLiteral("(z.B.: Alleinunterhalter / Tanzband /"));
    textIn(page, A27, 1050, 1897, 1630, 1930, Align::Center,
           QStringLiteral("Rockgruppe / Orchester / Blaskapelle / ...)"));

    workGrid(page, 1962, 705, Gema::kFirstPageRows, works);

    textIn(page, A31, kLeft, 2690, 1970, 2740, Align::Center,
           QStringLiteral("Bitte mit Schreibmaschine oder in deutlich lesbarer Schrift "
                          "ausfüllen!"));
    textIn(page, A31, kLeft, 2725, 1970, 2770, Align::Center,
           QStringLiteral("Unterschriften auf der letzten Seite bitte nicht vergessen!"));
}

void lastPage(PageRecorder& page, const PageMetrics& metrics,
              const std::vector<Gema::Work>& works) {
    workGrid(page, 210, 1705, Gema::kLastPageRows, works);
    frame(page, Pen::Solid1, Report::Brush::White, kLeft, 1935, 1970, 2155);
    textAt(page, A21, 220, 1940, QStringLiteral("1)"));
    textAt(page, A27, 250, 1950, QStringLiteral("Potpourris stets mit einem <P> kennzeichnen."));
    textAt(page, A27, 250, 1980,
           QStringLiteral("Bei Werkfragmenten (Pausen- und Vorlaufmusik, Zwischen- und "
                          "Schlußmusik, Titel- und Erkennungsmusiken) bitte den angegebenen "
                          "Titel"));
    textAt(page, A27, 250, 2010, QStringLiteral("mit <F> kennzeichnen."));
    textAt(page, A21, 220, 2050, QStringLiteral("2)"));
    textAt(page, A27, 250, 2060,
           QStringLiteral("Die Druckbearbeiter und Verleger immer angeben, wenn Notenmaterial "
                          "verwandt wurde."));
    textAt(page, A27, 220, 2110,
           QStringLiteral("Die GEMA verpflichtet sich, die Bestimmungen des Datenschutzes "
                          "einzuhalten."));
    textAt(page, A31, kLeft, 2170,
           QStringLiteral("Es wird versichert, daß alle Angaben über die Musikaufführung nach "
                          "bestem Wissen gemacht worden sind."));
    textIn(page, B42, kLeft, 2260, 1970, 2310, Align::Center,
           QStringLiteral("VOLLSTÄNDIGKEITSBESTÄTIGUNG"));
    textAt(page, A35, kLeft, 2340,
           QStringLiteral("Der Veranstalter erklärt mit seiner Unterschrift die Vollständigkeit "
                          "nicht nur des Musikprogramms einer einzelnen"));
    textAt(page, A35, kLeft, 2375,
           QStringLiteral("Gruppe bzw. eines einzelnen Musikleiters, sondern die "
                          "Vollständigkeit des gesamten Live-Musikprogramms der"));
    textAt(page, A35, kLeft, 2410, QStringLiteral("Veranstaltung."));
    textAt(page, B35, kLeft, 2490,
           QStringLiteral("Die zu dieser Veranstaltung aufgeführten Werke sind das vollständige "
                          "Live-Musikprogramm der Veranstaltung."));
    page.setPen(Pen::Solid1);
    page.line(kLeft, 2715, 1000, 2715);
    page.line(1070, 2715, 1970, 2715);
    textAt(page, A31, 210, 2725, QStringLiteral("Datum"));
    textAt(page, A31, 480, 2725, QStringLiteral("Unterschrift des Ausfertigers"));
    textAt(page, A31, 1080, 2725, QStringLiteral("Datum"));
    textAt(page, A31, 1410, 2725, QStringLiteral("Unterschrift des Veranstalters"));
    footerLine(page, metrics);
}

} // namespace

Report::Document render(const Gema::FormValues& values, const std::vector<Gema::Work>& works,
                        const PageMetrics& metrics) {
    Report::Document document;
    document.title = QStringLiteral("GEMA-Liste");
    const std::vector<int> plan = Gema::planPages(int(works.size()));
    PageRecorder recorder(metrics.sheet());
    size_t next = 0;
    for (size_t index = 0; index < plan.size(); ++index) {
        const std::vector<Gema::Work> rows(works.begin() + std::ptrdiff_t(next),
                                           works.begin() +
                                               std::ptrdiff_t(next + size_t(plan[index])));
        next += size_t(plan[index]);
        PageRecorder& page = beginPage(recorder);
        if (index == 0) {
            firstPage(page, values, rows);
        } else if (index + 1 == plan.size()) {
            lastPage(page, metrics, rows);
        } else {
            workGrid(page, 210, 2510, Gema::kContinuationRows, rows);
            footerLine(page, metrics);
        }
        document.pages.push_back(std::make_shared<const Report::RecordedPage>(recorder.finish()));
    }
    PageFrame::numberPages(document, metrics, kLeft + kWidth);
    return document;
}

Report::Document render(CDatabase& db, std::int32_t eventId, const Gema::FormValues& values,
                        const PageMetrics& metrics) {
    std::vector<Gema::Work> works;
    try {
        works = Gema::works(db, eventId);
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr, error.description());
        Report::Document none;
        none.title = QStringLiteral("GEMA-Liste");
        return none;
    }
    return render(values, works, metrics);
}

} // namespace GemaReport
