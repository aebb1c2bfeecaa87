#pragma once

#include "reports/GemaReport.h"
#include "views/PrintRegistration.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <vector>

class CDatabase;
class CPrintPreviewWindow;

namespace Ui {
class CDruckGemaDlg;
}

// "Druck GEMA-Liste": the values the GEMA music report of an event prints, shown for checking
// and correction before the form is previewed. The district office addresses the form; its
// area of responsibility is shown below it. "&Drucken" takes the values over (a member number
// has at most six characters) and opens the preview, from which the form is printed or saved
// as PDF; either marks the event's GEMA form as printed. "Keine GEMA-Meldung nötig" is stored
// as soon as it is clicked: such an event is no longer reminded of.
//
// While open, the form is the registered print source; closing it gives the registration back
// to whoever held it before (the set-list planning form).
class CDruckGemaDlg : public QDialog {
    Q_OBJECT
public:
    CDruckGemaDlg(CDatabase& db, std::int32_t eventId, PrintRegistration& registration,
                  QWidget* parent = nullptr);
    ~CDruckGemaDlg() override;

    // The values as "&Drucken" last took them over.
    const Gema::FormValues& values() const { return m_values; }
    // The values the form shows now, unchecked.
    Gema::FormValues shownValues() const;

    // Discards the pages and gives the print registration back.
    void done(int result) override;

    static const char* const kHelpTitle;
    static const char* const kHelpText;

private:
    void showValues(const Gema::FormValues& values);
    void onOfficeChanged(int index);
    void onHelp();
    void onPrint();
    void onNoReportNeeded(bool noReport);
    // The form went to the printer or into a PDF file.
    void markPrinted();

    CDatabase& m_db;
    const std::int32_t m_eventId;
    std::vector<Gema::Office> m_offices;
    Gema::FormValues m_values;
    PrintSource m_source;
    PrintRegistration& m_registration;
    PrintRegistration::Scope m_registered;
    CPrintPreviewWindow* m_preview = nullptr;
    std::unique_ptr<Ui::CDruckGemaDlg> m_ui;
};
