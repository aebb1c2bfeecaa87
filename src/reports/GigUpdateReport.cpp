#include "GigUpdateReport.h"

#include "PageFrame.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"

using Report::Align;

namespace GigUpdateReport {

QString allEventsFilter(const GigUpdate::Selection& selection) {
    return QStringLiteral("[EventID]>0 AND ") + GigUpdate::filter(selection);
}

QString musicianFilter(std::int32_t musicianId, const GigUpdate::Selection& selection) {
    return QStringLiteral("[MusikerID]=%1 AND [EventID]>0 AND ").arg(musicianId) +
           GigUpdate::filter(selection);
}

QString firmFilter(std::int32_t firmId, int firmKind, const GigUpdate::Selection& selection) {
    return QStringLiteral("[ExtID]=%1 AND [Art]=%2 AND [EventID]>0 AND ")
               .arg(firmId)
               .arg(firmKind) +
           GigUpdate::filter(selection);
}

namespace {

QRect rowRect(int left, int right, int top) {
    return QRect(left, top, right - left, 60);
}

// One section: the header and title on its first page, then a row per event. The record set
// stands on its first record (the all-events section may have none).
void renderSection(PageFrame::Run& run, CRecordset& events, const QString& title,
                   const GigUpdate::Selection& selection, const QDate& today) {
    const PageMetrics& metrics = run.metrics();
    Report::PageRecorder& page = run.beginPage();
    PageFrame::gigUpdateHeader(page, metrics, run.user(), today);
    const auto previous = page.selectFont(ReportFonts::font(9));
    page.fittedText(QRect(100, 320, metrics.width - 200, 80), Align::Center, title);
    page.selectFont(ReportFonts::font(7));
    page.textInRect(
        QRect(100, 400, metrics.width - 200, 60), Align::Center,
        QStringLiteral("Zeitraum: %1 bis %2")
            .arg(PageFrame::shortDate(selection.from), PageFrame::shortDate(selection.to)));
    page.selectFont(ReportFonts::font(5));
    try {
        const int begin = events.columnIndex("EBeginn");
        const int kind = events.columnIndex("EArt");
        const int location = events.columnIndex("ELocation");
        const int town = events.columnIndex("EOrt");
        const int status = events.columnIndex("Status");
        int top = metrics.offsetY + 500;
        bool first = true;
        if (events.atEnd())
            page.textInRect(rowRect(200, metrics.width - 100, top), Align::Left,
                            QStringLiteral("Keine Termine in diesem Zeitraum."));
        for (; !events.atEnd(); events.moveNext()) {
            // A page ends only for a row that still has to be printed, so that the last page
            // is never left with a header alone.
            if (!first && top > PageFrame::bottomLimit(metrics)) {
                run.endPage();
                Report::PageRecorder& next = run.beginPage();
                PageFrame::gigUpdateHeader(next, metrics, run.user(), today);
                next.selectFont(ReportFonts::font(5));
                top = PageFrame::continuationTop(metrics);
            }
            first = false;
            Report::PageRecorder& current = run.page();
            current.textInRect(rowRect(200, 450, top), Align::Left,
                               PageFrame::shortDate(events.getDate(begin).date()));
            current.fittedText(
                rowRect(450, 1650, top), Align::Left,
                QStringLiteral("%1 %2 %3")
                    .arg(events.getText(kind), events.getText(location), events.getText(town)));
            // A missing status reads as reserved, as everywhere else.
            const int code = events.isNull(status) ? 1 : events.getInt(status);
            current.fittedText(rowRect(1700, metrics.width - 100, top), Align::Left,
                               GigUpdate::statusText(code));
            top += 60;
        }
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr, error.description());
    }
    run.page().restoreFont(previous);
    run.endPage();
}

// A section of one crew member: nothing when the member has no events in the period.
void renderPerson(PageFrame::Run& run, CRecordset& events, const GigUpdate::CrewEntry& entry,
                  const GigUpdate::Selection& selection, const QDate& today) {
    try {
        if (entry.kind == GigUpdate::Musician)
            events.open(musicianFilter(entry.key, selection), QStringLiteral("[EBeginn]"));
        else
            events.open(firmFilter(entry.key, entry.kind, selection), QStringLiteral("[EBeginn]"));
        if (events.atEnd())
            return;
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr, error.description());
        return;
    }
    QString title;
    if (entry.kind == GigUpdate::Musician)
        title = QStringLiteral("Termine %1 %2")
                    .arg(events.getText("MVorname"), events.getText("MName"));
    else if (events.getBool("fPrivat"))
        title =
            QStringLiteral("Termine %1 %2").arg(events.getText("Vorname"), events.getText("Name"));
    else
        title = QStringLiteral("Termine %1").arg(events.getText("Firma"));
    renderSection(run, events, title, selection, today);
}

} // namespace

Report::Document render(CDatabase& db, const GigUpdate::Selection& selection,
                        const UserProfile& user, const PageMetrics& metrics, const QDate& today) {
    PageFrame::Run run(metrics, user, QStringLiteral("Gig-Update"));
    if (selection.crew.empty()) {
        CSetEvent events(db);
        try {
            events.open(allEventsFilter(selection), QStringLiteral("[EBeginn]"));
        } catch (const CDaoException& error) {
            // The page is printed without its rows.
            MessageService::stop(nullptr, error.description());
        }
        renderSection(run, events, QStringLiteral("Termine"), selection, today);
        return run.take();
    }
    CSetAbfrGigMusiker musicians(db);
    CSetAbfrGigFirma firms(db);
    for (const GigUpdate::CrewEntry& entry : selection.crew) {
        if (entry.kind == GigUpdate::Musician)
            renderPerson(run, musicians, entry, selection, today);
        else if (entry.kind == GigUpdate::Technician || entry.kind == GigUpdate::Backliner)
            renderPerson(run, firms, entry, selection, today);
    }
    return run.take();
}

} // namespace GigUpdateReport
