#include "AccountingReport.h"

#include "GigRiderReport.h"
#include "PageFrame.h"
#include "core/FinanceModel.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"

#include <QStringList>

#include <cmath>

using Report::Align;
using Report::PageRecorder;
using Report::Pen;

namespace AccountingReport {

QString vehicleCostName(int costKind) {
    static const QStringList names =
        QStringLiteral("Mietkosten\nTankbeleg\nReparaturkosten\nStrassengebühren\nSonstiges")
            .split(QLatin1Char('\n'));
    return names.value(costKind >= 1 && costKind <= 5 ? costKind - 1 : 4);
}

QString amountText(double amount) {
    if (std::fabs(amount) < 0.005)
        amount = 0;
    return QString::asprintf("%.2f", amount);
}

QString unbookedLine(const Finance::AreaCosts& unbooked) {
    static const char* const names[] = {
        "Personal", "PA", "LA", "Transport", "Übernachtungen", "Spesen / Sonstiges"};
    QStringList parts;
    for (int group = Finance::Personnel; group <= Finance::Expenses; ++group) {
        const double amount = Finance::roundToCent(unbooked.area(group));
        if (amount >= 0.005)
            parts << QString::fromUtf8(names[group - 1]) + QLatin1Char(' ') + amountText(amount);
    }
    if (parts.isEmpty())
        return QString();
    return QStringLiteral("Noch nicht gebucht: ") + parts.join(QStringLiteral(", "));
}

namespace {

std::optional<double> optionalSingle(const CRecordset& row, const char* column) {
    if (row.isNull(column))
        return std::nullopt;
    return double(row.getSingle(column));
}

// The rate a booking is printed with. A booking without a stored rate counts at rate 1, as its
// amount does.
double shownRate(const CRecordset& booking, const BaseData& base) {
    if (booking.isNull("MwSt_Satz") || booking.getInt("MwSt_Satz") == 1)
        return base.vatRate1;
    return base.vatRate2;
}

QString withRole(const QString& name, const char* role) {
    return name.isEmpty() ? name : name + QStringLiteral(" / ") + QString::fromUtf8(role);
}

// The name of a firm of this kind, or empty.
QString firmName(CDatabase& db, int kind, std::int32_t firmId) {
    CSetStammExtFirma firm(db);
    firm.open(QString::asprintf("[Art]=%d AND [ExtID]=%ld", kind, long(firmId)));
    if (firm.atEnd())
        return QString();
    return GigRiderReport::firmName(firm.getBool("fPrivat"), firm.getText("Vorname"),
                                    firm.getText("Name"), firm.getText("Firma"));
}

// Who a booking of the personnel, PA or light group paid: "Vorname Name / Musiker" and the like.
QString bookingDescription(CDatabase& db, const CRecordset& booking) {
    const std::int32_t id = booking.getLong("ID");
    try {
        switch (booking.getInt("Kostenstelle")) {
        case Finance::CentreMusician: {
            CSetStammMusiker musician(db);
            musician.open(QString::asprintf("[MusikerID]=%ld", long(id)));
            if (musician.atEnd())
                return QString();
            // A musician's name follows the rule of a private firm's.
            return withRole(GigRiderReport::firmName(true, musician.getText("MVorname"),
                                                     musician.getText("MName"), QString()),
                            "Musiker");
        }
        case Finance::CentreBackliner:
            return withRole(firmName(db, 2, id), "Backliner");
        case Finance::CentreTechnician:
            return withRole(firmName(db, 1, id), "Techniker");
        case Finance::CentrePA:
            return firmName(db, 3, id);
        case Finance::CentreLight:
            return firmName(db, 4, id);
        default:
            return QString();
        }
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr, error.description());
        return QString();
    }
}

// "Mietkosten Rechnung Nr. 17" or "Tankbeleg Beleg Nr. 3".
QString transportDescription(const CRecordset& booking) {
    QString text = vehicleCostName(booking.getInt("Kostenart"));
    const QString number = booking.getText("RechnungNr").trimmed();
    if (!number.isEmpty())
        text += (booking.getInt("ZahlungGegen") != 0 ? QStringLiteral(" Beleg Nr. ")
                                                     : QStringLiteral(" Rechnung Nr. ")) +
                number;
    return text;
}

// The hotels of the event's overnight stays, each once: "Post Au, Krone".
QString hotelDescription(CDatabase& db, std::int32_t eventId) {
    try {
        CSetAbfrEventNacht stays(db);
        stays.open(QString::asprintf("[EventID]=%ld", long(eventId)));
        QStringList names;
        QStringList hotels;
        for (; !stays.atEnd(); stays.moveNext()) {
            const QString name = stays.getText("HName");
            // A hotel met again after another one is not listed twice.
            if (name.isEmpty() || names.contains(name))
                continue;
            names << name;
            hotels << (stays.isNull("HOrt") ? name
                                            : name + QLatin1Char(' ') + stays.getText("HOrt"));
        }
        return hotels.join(QStringLiteral(", "));
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr, error.description());
        return QString();
    }
}

class StatementBuilder {
public:
    StatementBuilder(CDatabase& db, std::int32_t eventId, const BaseData& base)
        : m_db(db), m_eventId(eventId), m_base(base) {}

    // Each amount is rounded to the cent as it is printed, so that the totals are the sums of
    // the printed rows.
    void income(const QString& group, const QString& description, double amount) {
        amount = Finance::roundToCent(amount);
        m_statement.rows.push_back({group, description, m_base.vatRate1, amount, std::nullopt});
        m_statement.income = Finance::roundToCent(m_statement.income + amount);
    }
    void expense(const QString& group, const QString& description, double rate, double amount) {
        amount = Finance::roundToCent(amount);
        m_statement.rows.push_back({group, description, rate, std::nullopt, amount});
        m_statement.expenses = Finance::roundToCent(m_statement.expenses + amount);
    }
    void emptyRow() { m_statement.rows.push_back(Row()); }

    void costGroup(int group) {
        static const char* const labels[] = {"Personalkosten", "PA-Anlage",
                                             "Lichtanlage",    "KFZ-Kosten",
                                             "Übernachtungen", "Spesen / Sonstiges"};
        const QString label = QString::fromUtf8(labels[group - 1]);
        QString sort = QStringLiteral("[Kostenstelle]");
        if (group == Finance::Transport || group == Finance::Overnight)
            sort = QStringLiteral("[Kostenart],[RechnungNr]");
        else if (group == Finance::Expenses)
            sort = QStringLiteral("[Verwendung]");
        CSetEventFinanzen bookings(m_db);
        bookings.open(
            QString::asprintf("[EventID]=%ld AND [Kostengruppe]=%d", long(m_eventId), group), sort);
        if (bookings.atEnd()) {
            // The personnel costs are always listed, if only by their label.
            if (group == Finance::Personnel) {
                m_statement.rows.push_back({label, QString(), {}, {}, {}});
                emptyRow();
            }
            return;
        }
        // Hire, transport and overnight stays that the organiser pays are not the band's costs.
        if (group != Finance::Personnel && group != Finance::Expenses &&
            bookings.getBool("fZahltVeranstalter"))
            return;
        const bool everyBooking = group == Finance::Personnel || group == Finance::Transport ||
                                  group == Finance::Expenses;
        QString rowLabel = label;
        for (; !bookings.atEnd(); bookings.moveNext()) {
            const double gross = Finance::grossAmount(bookings, m_base);
            const double rate = shownRate(bookings, m_base);
            switch (group) {
            case Finance::Transport:
                expense(rowLabel, transportDescription(bookings), rate, gross);
                break;
            case Finance::Overnight:
                // The booked total of the stays, entered with its VAT at rate 1.
                expense(rowLabel, hotelDescription(m_db, m_eventId), m_base.vatRate1,
                        bookings.isNull("Auszahlung") ? 0.0 : bookings.getSingle("Auszahlung"));
                break;
            case Finance::Expenses:
                expense(rowLabel, bookings.getText("Verwendung"), rate, gross);
                break;
            default:
                expense(rowLabel, bookingDescription(m_db, bookings), rate, gross);
                break;
            }
            rowLabel.clear();
            if (!everyBooking)
                break;
        }
        emptyRow();
    }

    Statement take() { return std::move(m_statement); }

private:
    CDatabase& m_db;
    const std::int32_t m_eventId;
    const BaseData& m_base;
    Statement m_statement;
};

} // namespace

Statement read(CDatabase& db, const CRecordset& event, const BaseData& base) {
    const std::int32_t eventId = event.getLong("EventID");
    StatementBuilder builder(db, eventId, base);
    builder.income(QStringLiteral("Erlöse"), QStringLiteral("Gage"),
                   Finance::budgetTotal(
                       optionalSingle(event, "EGageBezahlt"), optionalSingle(event, "EGageVereinb"),
                       event.getBool("EfMWST"), base.vatRate1, Finance::VatMode::Inclusive));
    CSetEventMerchandising sales(db);
    double sold = 0;
    for (sales.open(QString::asprintf("[EventID]=%ld", long(eventId))); !sales.atEnd();
         sales.moveNext()) {
        if (!sales.isNull("Menge") && !sales.isNull("Preis"))
            sold += double(sales.getLong("Menge")) * sales.getSingle("Preis");
    }
    if (sold > 0)
        builder.income(QString(), QStringLiteral("Fan-Artikel-Verkauf"), sold);
    builder.emptyRow();
    for (int group = Finance::Personnel; group <= Finance::Expenses; ++group)
        builder.costGroup(group);
    Statement statement = builder.take();
    statement.unbooked = Finance::unbookedCosts(db, eventId, base, Finance::VatMode::Inclusive);
    return statement;
}

namespace {

// Column edges of the table.
constexpr int kLeft = 200;
constexpr int kGroupRight = 630;
constexpr int kDescriptionRight = 1380;
constexpr int kRateRight = 1530;
constexpr int kIncomeRight = 1760;
constexpr int kRight = 1960;
constexpr int kRowHeight = 50;
// Top of the table on the first page, below the event's data.
constexpr int kFirstTableTop = 700;
// The totals row and the balance with its note below it take this much.
constexpr int kClosingHeight = 150;

QRect cell(int left, int right, int top, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QString rateText(double rate) {
    return QString::asprintf("%.f", rate);
}

// "05.03.24 20:00"; empty without a date.
QString dateAndTime(const QDateTime& moment) {
    if (!moment.isValid())
        return QString();
    return QStringLiteral("%1 %2").arg(PageFrame::shortDate(moment.date()),
                                       moment.toString(QStringLiteral("HH:mm")));
}

// Lays the rows out page by page.
class Layout {
public:
    Layout(PageFrame::Run& run, const QDate& eventDay) : m_run(run), m_eventDay(eventDay) {}

    void firstPage(const CRecordset& event) {
        const PageMetrics& metrics = m_run.metrics();
        const int w = metrics.width;
        PageRecorder& page = m_run.beginPage();
        header(page);
        page.selectFont(ReportFonts::font(5));
        const struct {
            const char* label;
            QString value;
            int top;
        } left[] = {
            {"Eventart:", event.getText("EArt"), 320},
            {"Location:", event.getText("ELocation"), 380},
            {"Straße:", event.getText("EStrasse"), 440},
            {"Ort:", GigRiderReport::postcodeTown(event.getText("EPLZ"), event.getText("EOrt")),
             500},
        };
        // The values on the left end before the labels on the right ("Beginn:", "Ende:").
        for (const auto& row : left) {
            page.textInRect(cell(200, 400, row.top, row.top + 60), Align::Left,
                            QString::fromUtf8(row.label));
            page.fittedText(cell(400, w - 600 - PageFrame::kTextGap, row.top, row.top + 60),
                            Align::Left, row.value);
        }
        const struct {
            const char* label;
            const char* column;
            int top;
        } right[] = {{"Beginn:", "EBeginn", 320}, {"Ende:", "EEnde", 380}};
        for (const auto& row : right) {
            const QRect box = cell(w - 600, w - 100, row.top, row.top + 70);
            page.textInRect(box, Align::Left, QString::fromUtf8(row.label));
            page.textInRect(box, Align::Right, dateAndTime(event.getDate(row.column)));
        }
        tableHead(kFirstTableTop);
    }

    void row(const Row& row) {
        const bool empty = row.group.isEmpty() && row.description.isEmpty() && !row.rate &&
                           !row.income && !row.expense;
        if (m_line > PageFrame::bottomLimit(m_run.metrics())) {
            // A spacer is not carried over: the new page begins with the table head.
            if (empty)
                return;
            continuePage();
        }
        PageRecorder& page = m_run.page();
        const int top = m_line + 5;
        const int bottom = m_line + kRowHeight;
        if (!row.group.isEmpty())
            page.fittedText(cell(210, kGroupRight - 10, top, bottom), Align::Left, row.group);
        if (!row.description.isEmpty())
            page.fittedText(cell(640, kDescriptionRight - 10, top, bottom), Align::Left,
                            row.description);
        if (row.rate)
            page.fittedText(cell(kDescriptionRight + 10, 1500, top, bottom), Align::Right,
                            rateText(*row.rate));
        if (row.income)
            page.fittedText(cell(kRateRight + 10, 1730, top, bottom), Align::Right,
                            amountText(*row.income));
        if (row.expense)
            page.fittedText(cell(kIncomeRight + 10, 1930, top, bottom), Align::Right,
                            amountText(*row.expense));
        advance();
    }

    // The totals row, the balance and the note, kept together on one page.
    void close(const Statement& statement) {
        const QString unbooked = unbookedLine(statement.unbooked);
        const int closing = kClosingHeight + (unbooked.isEmpty() ? 0 : kRowHeight);
        if (m_line + closing > PageFrame::bottomLimit(m_run.metrics()) + kRowHeight)
            continuePage();
        PageRecorder& page = m_run.page();
        page.setPen(Pen::None);
        page.setBrush(Report::Brush::Grey);
        page.rectangle(cell(kLeft, kRight, m_line, m_line + kRowHeight));
        page.setBrush(Report::Brush::White);
        page.setPen(Pen::Solid1);
        const auto body = page.selectFont(ReportFonts::font(6));
        const int top = m_line + 5;
        const int bottom = m_line + kRowHeight;
        page.textInRect(cell(210, kGroupRight, top, bottom), Align::Left, QStringLiteral("Summe"));
        page.fittedText(cell(kRateRight + 10, 1730, top, bottom), Align::Right,
                        amountText(statement.income));
        page.fittedText(cell(kIncomeRight + 10, 1930, top, bottom), Align::Right,
                        amountText(statement.expenses));
        advance();
        tableLines();

        const double balance = statement.balance();
        // A balance that prints as 0.00 is not a loss.
        const bool loss = balance <= -0.005;
        if (loss)
            page.setTextColor(QColor(128, 0, 0));
        page.textInRect(cell(kRateRight, 1730, m_line + 55, m_line + 100), Align::Right,
                        QStringLiteral("Saldo"));
        page.fittedText(cell(kIncomeRight + 10, 1930, m_line + 55, m_line + 100), Align::Right,
                        amountText(balance));
        page.restoreFont(body);
        if (loss)
            page.setTextColor(Qt::black);
        const auto previous = page.selectFont(ReportFonts::font(2));
        page.textInRect(cell(200, 800, m_line + 65, m_line + 100), Align::Left,
                        QStringLiteral("* alle Beträge inkl. MwSt."));
        page.restoreFont(previous);
        // What the plan holds beyond the bookings, so that the statement and the finance
        // overview can be read together.
        if (!unbooked.isEmpty())
            page.fittedText(cell(200, kRight, m_line + 110, m_line + 150), Align::Left, unbooked);
        page.restoreFont(m_pageFont);
        m_run.endPage();
    }

private:
    // "Abrechnung", the day of the event and, on the right, the band with its contact lines.
    void header(PageRecorder& page) {
        const PageMetrics& metrics = m_run.metrics();
        const int y0 = metrics.offsetY;
        m_pageFont = page.selectFont(ReportFonts::font(10));
        const QString title = QStringLiteral("Abrechnung");
        page.text(200, y0 + 20, title);
        page.selectFont(ReportFonts::font(9));
        const QString day = PageFrame::shortDate(m_eventDay);
        page.textInRect(cell(200, metrics.width - 100, y0 + 110, y0 + 260), Align::Left, day);
        // The band and its contact lines keep clear of the title and the date on the left.
        const auto endOf = [](const ReportFont& font, const QString& text) {
            return 200 + int(std::ceil(font.textWidth(text))) + PageFrame::kTextGap;
        };
        PageFrame::HeadLeftEdges left;
        left.besideBand = endOf(ReportFonts::font(10), title);
        left.besideInfo = std::max(left.besideBand, endOf(ReportFonts::font(9), day));
        left.besideContact = endOf(ReportFonts::font(9), day);
        PageFrame::bandAtRight(page, metrics, m_run.user(), left);
        page.line(200, y0 + 185, metrics.width - 100, y0 + 185);
    }

    void tableHead(int top) {
        PageRecorder& page = m_run.page();
        m_tableTop = top;
        page.setPen(Pen::None);
        page.setBrush(Report::Brush::Grey);
        page.rectangle(cell(kLeft, kRight, top, top + 130));
        page.setBrush(Report::Brush::White);
        page.setPen(Pen::Solid1);
        page.selectFont(ReportFonts::font(4));
        page.textInRect(cell(kLeft, kDescriptionRight, top + 10, top + 80), Align::Center,
                        QStringLiteral("Beschreibung"));
        page.textInRect(cell(kDescriptionRight, kRateRight, top + 10, top + 80), Align::Center,
                        QStringLiteral("Steuer-"));
        page.textInRect(cell(kDescriptionRight, kRateRight, top + 50, top + 130), Align::Center,
                        QStringLiteral("Satz"));
        page.textInRect(cell(kRateRight, kIncomeRight, top + 10, top + 80), Align::Center,
                        QStringLiteral("Einnahmen"));
        page.textInRect(cell(kIncomeRight, kRight, top + 10, top + 80), Align::Center,
                        QStringLiteral("Ausgaben"));
        page.textInRect(cell(210, kGroupRight, top + 85, top + 130), Align::Left,
                        QStringLiteral("Rubrik"));
        page.textInRect(cell(640, kDescriptionRight, top + 85, top + 130), Align::Left,
                        QStringLiteral("Art der Aufwendungen"));
        page.line(kLeft, top, kRight, top);
        page.line(kLeft, top + 80, kDescriptionRight, top + 80);
        page.line(kLeft, top + 130, kRight, top + 130);
        page.selectFont(ReportFonts::font(3));
        m_line = top + 130;
    }

    void advance() {
        m_line += kRowHeight;
        m_run.page().line(kLeft, m_line, kRight, m_line);
    }

    // The column lines of the page's part of the table.
    void tableLines() {
        PageRecorder& page = m_run.page();
        for (int x : {kLeft, kDescriptionRight, kRateRight, kIncomeRight, kRight})
            page.line(x, m_tableTop, x, m_line);
        page.line(kGroupRight, m_tableTop + 80, kGroupRight, m_line);
    }

    void continuePage() {
        tableLines();
        m_run.page().restoreFont(m_pageFont);
        m_run.endPage();
        header(m_run.beginPage());
        tableHead(PageFrame::continuationTop(m_run.metrics()));
    }

    PageFrame::Run& m_run;
    const QDate m_eventDay;
    std::optional<ReportFont> m_pageFont;
    int m_tableTop = kFirstTableTop;
    int m_line = kFirstTableTop;
};

} // namespace

Report::Document render(CDatabase& db, std::int32_t eventId, const UserProfile& user,
                        const PageMetrics& metrics) {
    PageFrame::Run run(metrics, user, QStringLiteral("Abrechnung"));
    CSetEvent event(db);
    Statement statement;
    try {
        event.open(QString::asprintf("[EventID]=%ld", long(eventId)));
        if (event.atEnd())
            return run.take();
        // Read before anything is drawn: a statement that cannot be read completely is not
        // printed at all.
        statement = read(db, event, BaseData::read(db));
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr, error.description());
        return run.take();
    }
    Layout layout(run, event.getDate("EBeginn").date());
    layout.firstPage(event);
    for (const Row& row : statement.rows)
        layout.row(row);
    layout.close(statement);
    return run.take();
}

} // namespace AccountingReport
