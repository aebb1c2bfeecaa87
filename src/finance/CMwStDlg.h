#pragma once

#include "widgets/CFormDialog.h"

#include <memory>

class CDatabase;
class CProfileFile;

namespace Ui {
class CMwStDlg;
}

// "Mehrwertsteuer": the two VAT rates of the base data (T_Grunddaten) and whether the finance
// forms show amounts with or without VAT (Kavio.ini, OPTIONS/MwStInkl).
class CMwStDlg : public CFormDialog {
    Q_OBJECT
public:
    CMwStDlg(CDatabase& db, CProfileFile& profile, QWidget* parent = nullptr);
    ~CMwStDlg() override;

protected:
    // Checks both rates (whole numbers 1 to 99), writes them into the first base-data record
    // when there is one (an empty table stays empty) and then stores the display mode.
    bool save() override;

private:
    void load();

    CDatabase& m_db;
    CProfileFile& m_profile;
    std::unique_ptr<Ui::CMwStDlg> m_ui;
};
