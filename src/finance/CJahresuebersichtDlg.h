#pragma once

#include "core/FinanceModel.h"
#include "core/YearOverview.h"
#include "views/ReportPrinting.h"

#include <QDialog>

class CDatabase;
class CProfileFile;
class QChartView;
class QLabel;
class QSpinBox;
class QTableWidget;

// "Jahresübersicht": for a chosen year and the year before, per month the gigs by status, fees,
// the six cost areas, costs and balance, in the VAT mode of the settings; below the table a chart
// of fees against costs with the running balance. "Als PDF speichern..." writes table and chart
// on one A4 landscape page.
class CJahresuebersichtDlg : public QDialog {
    Q_OBJECT
public:
    CJahresuebersichtDlg(CDatabase& db, CProfileFile& profile, QWidget* parent = nullptr,
                         int year = 0);

    void showYear(int year);
    const YearOverview::Year& year() const { return m_year; }
    QTableWidget* table() const { return m_table; }
    // Writes the page; false (after a German message) when the file cannot be written. Once
    // written, "Gespeichert: FILE" shows beside the buttons.
    bool savePdf(const QString& path);
    QString savedText() const;
    // Replaces the file dialog of "Als &PDF speichern..." (tests).
    void setFileChooser(ReportPrinting::PdfChooser chooser) { m_chooseFile = std::move(chooser); }

private:
    void onSavePdf();

    CDatabase& m_db;
    Finance::VatMode m_mode;
    YearOverview::Year m_year;
    YearOverview::Year m_previous;
    QSpinBox* m_yearField = nullptr;
    QTableWidget* m_table = nullptr;
    QChartView* m_chart = nullptr;
    QLabel* m_saved = nullptr;
    ReportPrinting::PdfChooser m_chooseFile = &ReportPrinting::choosePdfFile;
};
