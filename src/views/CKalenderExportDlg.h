#pragma once

#include <QDialog>

#include <memory>

class CDatabase;

namespace Ui {
class CKalenderExportDlg;
}

// "Termine exportieren (iCalendar)": the events of a period, for everybody or for one crew
// member, written into a calendar file the user chooses.
class CKalenderExportDlg : public QDialog {
    Q_OBJECT
public:
    explicit CKalenderExportDlg(CDatabase& db, QWidget* parent = nullptr);
    ~CKalenderExportDlg() override;

private:
    void fillPeople();
    void onExport();

    CDatabase& m_db;
    std::unique_ptr<Ui::CKalenderExportDlg> m_ui;
};
