#pragma once

#include "views/CViewPrintPreview.h"
#include "views/ReportPrinting.h"

#include <QObject>
#include <QPointer>

#include <cstdint>

class CMainFrame;

// The commands of the menu "D&rucken": each opens its selection form, renders the report and
// shows it in the preview inside the main window, from where it is printed or saved as PDF.
class ReportCommands : public QObject {
    Q_OBJECT
public:
    explicit ReportCommands(CMainFrame& frame);

    void gigUpdate();
    void gigRider();
    void accounting();
    // "Dr&ucken..." of the print list: asks whether the event's Gig-Rider or its accounting
    // statement is wanted and shows it. Returns the choice's QDialog result.
    int printEvent(std::int32_t eventId);

    // The preview shown in the main window, or nullptr.
    CViewPrintPreview* preview() const { return m_preview; }
    void closePreview();

private:
    // The event the user picks in the event choice form, or 0 when cancelled.
    std::int32_t chooseEvent();
    void gigRider(std::int32_t eventId);
    void accounting(std::int32_t eventId);
    // Shows the rendered pages in the preview; printing or saving them renders them again. The
    // PDF file is named after the event (or, without one, the first day of the period).
    void showPreview(const ReportPrinting::Renderer& render, std::int32_t eventId);
    void showPreview(const ReportPrinting::Renderer& render, Report::Document document,
                     const QString& pdfName);

    CMainFrame& m_frame;
    QPointer<CViewPrintPreview> m_preview;
};
