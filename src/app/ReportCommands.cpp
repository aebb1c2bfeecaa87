#include "ReportCommands.h"

#include "CKavioApp.h"
#include "CMainFrame.h"
#include "core/MessageService.h"
#include "events/CEventSelectDlg.h"
#include "events/CGigUpdateDlg.h"
#include "reports/AccountingReport.h"
#include "reports/GigRiderReport.h"
#include "reports/GigUpdateReport.h"
#include "views/CViewPrintPreview.h"
#include "views/ReportPrinting.h"

#include <QInputDialog>

ReportCommands::ReportCommands(CMainFrame& frame) : QObject(&frame), m_frame(frame) {}

void ReportCommands::gigUpdate() {
    CKavioApp& app = m_frame.app();
    CGigUpdateDlg form(app.database(), app.profile(), QDate::currentDate(), &m_frame);
    if (form.exec() != QDialog::Accepted)
        return;
    closePreview();
    CDatabase& db = app.database();
    const GigUpdate::Selection selection = form.selection();
    const UserProfile user = app.userProfile();
    const ReportPrinting::Renderer render = [&db, selection, user](const PageMetrics& metrics) {
        return GigUpdateReport::render(db, selection, user, metrics, QDate::currentDate());
    };
    Report::Document document = render(ReportPrinting::metricsOf(&m_frame.printer()));
    if (document.pages.empty()) {
        MessageService::exclamation(
            &m_frame, QStringLiteral("Keiner der gewählten Einträge hat Termine im Zeitraum."));
        return;
    }
    // The Gig-Update covers a period rather than one gig: its file carries the period's first
    // day.
    const QString pdfName = ReportPrinting::suggestedPdfName(document.title, selection.from);
    showPreview(render, std::move(document), pdfName);
}

void ReportCommands::showPreview(const ReportPrinting::Renderer& render, std::int32_t eventId) {
    Report::Document document = render(ReportPrinting::metricsOf(&m_frame.printer()));
    const QString pdfName =
        ReportPrinting::eventPdfName(m_frame.app().database(), document.title, eventId);
    showPreview(render, std::move(document), pdfName);
}

void ReportCommands::showPreview(const ReportPrinting::Renderer& render, Report::Document document,
                                 const QString& pdfName) {
    CKavioApp& app = m_frame.app();
    auto* preview = new CViewPrintPreview;
    preview->setDocument(std::move(document));
    preview->setPdfFolder(app.programDirectory());
    preview->setPdfName(pdfName);
    preview->setRenderer(render);
    // Printing leaves the preview and renders the report again for the printer chosen.
    preview->setPrintHandler([this, render, preview] {
        const int pages = preview->document().pageCount();
        closePreview();
        ReportPrinting::print(&m_frame, render, pages, true);
    });
    connect(preview, &CViewPrintPreview::closeRequested, this, &ReportCommands::closePreview);
    m_preview = preview;
    m_frame.setReportPreview(preview);
    preview->setFocus();
}

std::int32_t ReportCommands::chooseEvent() {
    CKavioApp& app = m_frame.app();
    CEventSelectDlg form(app.database(), app.profile(), &m_frame);
    if (form.exec() != QDialog::Accepted || form.eventId() <= 0)
        return 0;
    closePreview();
    return form.eventId();
}

int ReportCommands::printEvent(std::int32_t eventId) {
    QInputDialog choice(&m_frame);
    choice.setWindowTitle(QStringLiteral("Drucken"));
    choice.setLabelText(QStringLiteral("Was soll für den gewählten Event gedruckt werden?"));
    choice.setComboBoxItems({QStringLiteral("Gig-Rider"), QStringLiteral("Abrechnung")});
    choice.setComboBoxEditable(false);
    choice.setOkButtonText(QStringLiteral("&Drucken"));
    choice.setCancelButtonText(QStringLiteral("&Abbrechen"));
    if (choice.exec() != QDialog::Accepted)
        return QDialog::Rejected;
    closePreview();
    if (choice.textValue() == QLatin1String("Gig-Rider"))
        gigRider(eventId);
    else
        accounting(eventId);
    return QDialog::Accepted;
}

void ReportCommands::gigRider() {
    const std::int32_t eventId = chooseEvent();
    if (eventId > 0)
        gigRider(eventId);
}

void ReportCommands::gigRider(std::int32_t eventId) {
    CDatabase& db = m_frame.app().database();
    const UserProfile user = m_frame.app().userProfile();
    showPreview(
        [&db, eventId, user](const PageMetrics& metrics) {
            return GigRiderReport::render(db, eventId, user, metrics);
        },
        eventId);
}

void ReportCommands::accounting() {
    const std::int32_t eventId = chooseEvent();
    if (eventId > 0)
        accounting(eventId);
}

void ReportCommands::accounting(std::int32_t eventId) {
    CDatabase& db = m_frame.app().database();
    const UserProfile user = m_frame.app().userProfile();
    const ReportPrinting::Renderer render = [&db, eventId, user](const PageMetrics& metrics) {
        return AccountingReport::render(db, eventId, user, metrics);
    };
    Report::Document document = render(ReportPrinting::metricsOf(&m_frame.printer()));
    // A statement that could not be read has been reported already; there is nothing to show.
    if (document.pages.empty())
        return;
    const QString pdfName = ReportPrinting::eventPdfName(db, document.title, eventId);
    showPreview(render, std::move(document), pdfName);
}

void ReportCommands::closePreview() {
    if (!m_preview)
        return;
    m_frame.setReportPreview(nullptr);
    m_preview->deleteLater();
    m_preview = nullptr;
}
