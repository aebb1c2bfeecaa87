#include "GigRiderReport.h"

#include "PageFrame.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"

using Report::Align;
using Report::PageRecorder;
using Report::Pen;

namespace GigRiderReport {

QString instruments(const QStringList& shortNames) {
    QString text = shortNames.value(0);
    for (int slot = 1; slot < 6; ++slot)
        text += QStringLiteral(", ") + shortNames.value(slot);
    int end = int(text.size());
    while (end > 0 && (text[end - 1] == QLatin1Char(',') || text[end - 1] == QLatin1Char(' ')))
        --end;
    return text.left(end);
}

QString firmName(bool isPrivate, const QString& firstName, const QString& lastName,
                 const QString& firm) {
    if (!isPrivate)
        return firm;
    if (firstName.isEmpty() || lastName.isEmpty())
        return firstName + lastName;
    return firstName + QLatin1Char(' ') + lastName;
}

QString contactName(const QString& firstName, const QString& lastName) {
    return firstName.isEmpty() ? lastName : firstName + QLatin1Char(' ') + lastName;
}

QString postcodeTown(const QString& postcode, const QString& town) {
    if (postcode.isEmpty())
        return town;
    return postcode + QLatin1Char(' ') + town;
}

namespace {

const ReportFont& labelFont() {
    return ReportFonts::font(5);
}

// A text between x and `right`, top and bottom, kept inside that box.
void cell(PageRecorder& page, int x, int right, int top, int bottom, const QString& text,
          Align align = Align::Left) {
    page.fittedText(QRect(QPoint(x, top), QPoint(right - 1, bottom - 1)), align, text);
}

// Where a text ends that stands before the next column at x `next`.
constexpr int before(int next) {
    return next - PageFrame::kTextGap;
}

void greyBand(PageRecorder& page, int left, int top, int right, int bottom) {
    page.setPen(Pen::None);
    page.setBrush(Report::Brush::Grey);
    page.rectangle(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
    page.setBrush(Report::Brush::White);
}

void outline(PageRecorder& page, int left, int top, int right, int bottom) {
    page.setPen(Pen::Solid3);
    page.line(left, top, right, top);
    page.line(right, top, right, bottom);
    page.line(right, bottom, left, bottom);
    page.line(left, bottom, left, top);
}

void notesLines(PageRecorder& page, int top, const QString& label) {
    page.setPen(Pen::Solid2);
    for (int y = top + 50; y <= top + 260; y += 70)
        page.line(200, y, 1900, y);
    page.selectFont(labelFont());
    cell(page, 200, 1900, top, top + 50, label);
}

QString timeRow(const QDateTime& from, const QDateTime& to) {
    const auto time = [](const QDateTime& moment) {
        return moment.isValid() ? moment.toString(QStringLiteral("HH:mm")) : QString();
    };
    return QStringLiteral("%1 %2     %3     %4 %5")
        .arg(time(from), QStringLiteral("Uhr"), QStringLiteral("bis"), time(to),
             QStringLiteral("Uhr"));
}

void page1(PageFrame::Run& run, CDatabase& db, std::int32_t eventId) {
    const PageMetrics& metrics = run.metrics();
    const int w = metrics.width;
    CSetEvent event(db);
    try {
        event.open(QStringLiteral("[EventID]=%1").arg(eventId));
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr, error.description());
        return;
    }
    if (event.atEnd())
        return;
    PageRecorder& page = run.beginPage();
    PageFrame::centredBandHeader(page, metrics, run.user());
    const auto previous = page.selectFont(ReportFonts::font(11));
    cell(page, 100, w - 100, 320, 390, QStringLiteral("GIG-RIDER"), Align::Center);
    page.selectFont(labelFont());
    cell(page, 100, w - 100, 420, 490, QStringLiteral("Gig am"), Align::Center);
    // The date interrupts the rule behind it.
    page.setBackgroundOpaque(true);
    page.setPen(Pen::Solid2);
    page.line(700, 540, w - 700, 540);
    page.selectFont(ReportFonts::font(7));
    cell(page, 100, w - 100, 500, 570, PageFrame::shortDate(event.getDate("EBeginn").date()),
         Align::Center);
    page.setBackgroundOpaque(false);
    page.selectFont(labelFont());
    if (!event.isNull("EArt"))
        cell(page, 100, w - 100, 600, 670, event.getText("EArt"), Align::Center);
    page.selectFont(ReportFonts::font(8));
    cell(page, 100, w - 100, 700, 770, QStringLiteral("Anschrift der Location:"), Align::Center);
    page.selectFont(ReportFonts::font(7));
    if (!event.isNull("ELocation"))
        cell(page, 100, w - 100, 800, 870, event.getText("ELocation"), Align::Center);
    if (!event.isNull("EStrasse"))
        cell(page, 100, w - 100, 900, 970, event.getText("EStrasse"), Align::Center);
    cell(page, 100, w - 100, 1000, 1070,
         event.getText("EPLZ") + QLatin1Char(' ') + event.getText("EOrt"), Align::Center);

    greyBand(page, 550, 1170, 1600, 1230);
    outline(page, 550, 1170, 1600, 1480);
    cell(page, 100, w - 100, 1180, 1250, QStringLiteral("Zeitplan"), Align::Center);
    page.selectFont(labelFont());
    const struct {
        const char* label;
        const char* from;
        const char* to;
    } times[] = {{"Aufbau:", "ETAufbauVon", "ETAufbauBis"},
                 {"Soundcheck:", "ESCheckVon", "ESCheckBis"},
                 {"Showtime:", "EBeginn", "EEnde"},
                 {"Abbau:", "ETAbbauVon", "ETAbbauBis"}};
    int top = 1250;
    for (const auto& row : times) {
        cell(page, 570, before(870), top, top + 50, QString::fromUtf8(row.label));
        cell(page, 870, before(1600), top, top + 50,
             timeRow(event.getDate(row.from), event.getDate(row.to)));
        top += 60;
    }

    const char* const labels[] = {"Veranstalter:", "Strasse:", "Ort:",    "Tel.",
                                  "Handy:",        "Fax:",     "E-Mail:", "Web:"};
    const int rows[] = {1600, 1660, 1720, 1820, 1880, 1940, 2000, 2060};
    for (int i = 0; i < 8; ++i)
        cell(page, 570, before(870), rows[i], rows[i] + 50, QString::fromUtf8(labels[i]));
    try {
        CSetStammExtFirma organiser(db);
        organiser.open(
            QStringLiteral("[Art]=0 AND [ExtID]=%1").arg(event.getLong("VeranstalterID")));
        std::int32_t organiserId = 0;
        if (!organiser.atEnd()) {
            organiserId = organiser.getLong("ExtID");
            cell(page, 870, before(1600), rows[0], rows[0] + 50,
                 firmName(organiser.getBool("fPrivat"), organiser.getText("Vorname"),
                          organiser.getText("Name"), organiser.getText("Firma")));
            if (!organiser.isNull("Strasse"))
                cell(page, 870, before(1600), rows[1], rows[1] + 50, organiser.getText("Strasse"));
            if (!organiser.isNull("PLZ") || !organiser.isNull("Ort"))
                cell(page, 870, before(1600), rows[2], rows[2] + 50,
                     postcodeTown(organiser.getText("PLZ"), organiser.getText("Ort")));
            const char* const columns[] = {"Tel", "Telm", "Fax", "Email", "Homepage"};
            for (int i = 0; i < 5; ++i)
                if (!organiser.isNull(columns[i]))
                    cell(page, 870, before(1600), rows[i + 3], rows[i + 3] + 50,
                         organiser.getText(columns[i]));
        }
        greyBand(page, 550, 2150, 1600, 2200);
        cell(page, 570, before(970), 2150, 2200, QStringLiteral("Ansprechpartner"));
        cell(page, 970, before(1280), 2150, 2200, QStringLiteral("Tel."));
        cell(page, 1280, before(1600), 2150, 2200, QStringLiteral("Handy"));
        CSetStammExtAnsprech contacts(db);
        contacts.open(QStringLiteral("[Art]=0 AND [ExtID]=%1").arg(organiserId),
                      QStringLiteral("[APName]"));
        int bottom = 2250;
        for (; !contacts.atEnd(); contacts.moveNext()) {
            const int rowTop = bottom - 50;
            cell(page, 570, before(970), rowTop, bottom,
                 contactName(contacts.getText("APVorname"), contacts.getText("APName")));
            if (!contacts.isNull("APTel"))
                cell(page, 970, before(1280), rowTop, bottom, contacts.getText("APTel"));
            if (!contacts.isNull("APTelm"))
                cell(page, 1280, before(1600), rowTop, bottom, contacts.getText("APTelm"));
            bottom += 50;
        }
        outline(page, 550, 1580, 1600, bottom - 20);
        notesLines(page, 2400, QStringLiteral("Besonderheiten:"));
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr, error.description());
    }
    page.restoreFont(previous);
    run.endPage();
}

// One booked firm of kind `kind` with its first contact person, in a box from y0 to y0 + 620.
void firmBlock(PageRecorder& page, CDatabase& db, std::int32_t eventId, int y0, int kind,
               const QString& heading) {
    greyBand(page, 200, y0, 1900, y0 + 50);
    outline(page, 200, y0, 1900, y0 + 620);
    page.selectFont(ReportFonts::font(8));
    cell(page, 220, before(1900), y0, y0 + 70, heading);
    page.selectFont(labelFont());
    const char* const labels[] = {"Firma:", "Strasse:", "Ort:",    "Tel.",
                                  "Handy:", "Fax:",     "E-Mail:", "Web:"};
    const int offsets[] = {60, 110, 160, 230, 280, 330, 380, 430};
    for (int i = 0; i < 8; ++i)
        cell(page, 220, before(550), y0 + offsets[i], y0 + offsets[i] + 50,
             QString::fromUtf8(labels[i]));
    CSetAbfrEventExtFirma firm(db);
    firm.open(QStringLiteral("[Art]=%1 AND [EventID]=%2").arg(kind).arg(eventId));
    std::int32_t firmId = 0;
    const bool booked = !firm.atEnd();
    if (booked) {
        firmId = firm.getLong("ExtID");
        const QString values[] = {firmName(firm.getBool("fPrivat"), firm.getText("Vorname"),
                                           firm.getText("Name"), firm.getText("Firma")),
                                  firm.getText("Strasse"),
                                  firm.isNull("PLZ") && firm.isNull("Ort")
                                      ? QString()
                                      : postcodeTown(firm.getText("PLZ"), firm.getText("Ort")),
                                  firm.getText("Tel"),
                                  firm.getText("Telm"),
                                  firm.getText("Fax"),
                                  firm.getText("Email"),
                                  firm.getText("Homepage")};
        for (int i = 0; i < 8; ++i)
            if (!values[i].isEmpty())
                cell(page, 550, before(1900), y0 + offsets[i], y0 + offsets[i] + 50, values[i]);
    }
    greyBand(page, 200, y0 + 500, 1900, y0 + 550);
    cell(page, 220, before(970), y0 + 500, y0 + 550, QStringLiteral("Ansprechpartner"));
    cell(page, 970, before(1380), y0 + 500, y0 + 550, QStringLiteral("Tel."));
    cell(page, 1380, before(1900), y0 + 500, y0 + 550, QStringLiteral("Handy"));
    if (!booked)
        return;
    CSetStammExtAnsprech contact(db);
    contact.open(QStringLiteral("[Art]=%1 AND [ExtID]=%2").arg(kind).arg(firmId),
                 QStringLiteral("[APName]"));
    if (contact.atEnd())
        return;
    cell(page, 220, before(970), y0 + 560, y0 + 610,
         contactName(contact.getText("APVorname"), contact.getText("APName")));
    if (!contact.isNull("APTel"))
        cell(page, 970, before(1380), y0 + 560, y0 + 610, contact.getText("APTel"));
    if (!contact.isNull("APTelm"))
        cell(page, 1380, before(1900), y0 + 560, y0 + 610, contact.getText("APTelm"));
}

void page2(PageFrame::Run& run, CDatabase& db, std::int32_t eventId) {
    const PageMetrics& metrics = run.metrics();
    PageRecorder& page = run.beginPage();
    PageFrame::centredBandHeader(page, metrics, run.user());
    greyBand(page, 200, 300, 1900, 350);
    const auto previous = page.selectFont(ReportFonts::font(8));
    cell(page, 220, before(1900), 300, 370, QStringLiteral("Besetzung"));
    page.selectFont(labelFont());
    try {
        CSetAbfrEventBesetzung lineUp(db);
        lineUp.open(QStringLiteral("[EventID]=%1").arg(eventId),
                    QStringLiteral("[MName],[MVorname]"));
        int bottom = 410;
        for (; !lineUp.atEnd(); lineUp.moveNext()) {
            const int top = bottom - 50;
            cell(page, 220, before(650), top, bottom,
                 QStringLiteral("%1 %2").arg(lineUp.getText("MVorname"), lineUp.getText("MName")));
            QStringList shortNames;
            for (int slot = 1; slot <= 6; ++slot)
                shortNames << lineUp.getText(QStringLiteral("Kurz%1").arg(slot).toStdString());
            cell(page, 650, before(1050), top, bottom, instruments(shortNames));
            if (!lineUp.isNull("MTel"))
                cell(page, 1050, before(1450), top, bottom,
                     QStringLiteral("Tel. ") + lineUp.getText("MTel"));
            if (!lineUp.isNull("MTelm"))
                cell(page, 1450, before(1900), top, bottom,
                     QStringLiteral("Handy: ") + lineUp.getText("MTelm"));
            bottom += 50;
        }
        outline(page, 200, 300, 1900, bottom - 30);
        const int y0 = bottom - 30 + 50;
        firmBlock(page, db, eventId, y0, 1, QStringLiteral("Technik"));
        firmBlock(page, db, eventId, y0 + 670, 2, QStringLiteral("Backline:"));
        notesLines(page, 2400, QStringLiteral("Besonderheiten:"));
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr, error.description());
    }
    page.restoreFont(previous);
    run.endPage();
}

void page3(PageFrame::Run& run, CDatabase& db, std::int32_t eventId) {
    const PageMetrics& metrics = run.metrics();
    PageRecorder& page = run.beginPage();
    PageFrame::centredBandHeader(page, metrics, run.user());
    const auto previous = page.currentFont();
    try {
        firmBlock(page, db, eventId, 300, 3, QStringLiteral("PA"));
        firmBlock(page, db, eventId, 970, 4, QStringLiteral("Lichtanlage"));
        notesLines(page, 2000, QStringLiteral("Besonderheiten:"));
        notesLines(page, 2400, QStringLiteral("Pressetermine:"));
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr, error.description());
    }
    page.restoreFont(previous);
    run.endPage();
}

} // namespace

Report::Document render(CDatabase& db, std::int32_t eventId, const UserProfile& user,
                        const PageMetrics& metrics) {
    PageFrame::Run run(metrics, user, QStringLiteral("Gig-Rider"));
    page1(run, db, eventId);
    page2(run, db, eventId);
    page3(run, db, eventId);
    return run.take();
}

} // namespace GigRiderReport
