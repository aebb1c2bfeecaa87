#pragma once

#include "widgets/CRecordFormDialog.h"

#include <memory>

class CDatabase;
class CProfileFile;

namespace Ui {
class CMwStDlg;
}

// "Mehrwertsteuer": the two VAT rates of the base data (T_Grunddaten) and whether the finance
// forms show amounts with or without VAT (Kavio.ini, OPTIONS/MwStInkl).
class CMwStDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    CMwStDlg(CDatabase& db, CProfileFile& profile, QWidget* parent = nullptr);
    ~CMwStDlg() override;

protected:
    void showRow(const CRecordset& row) override;
    void showNewRow() override;
    // Both rates must be whole numbers from 1 to 99.
    bool checkInput() override;
    // An empty table gets its row with the typed rates and the default currency texts.
    void storeRow(CRecordset& row, bool isNew) override;
    void rowSaved() override;
    // Stores the rates, then the display mode.
    bool save() override;

private:
    CProfileFile& m_profile;
    int m_rate1 = 0;
    int m_rate2 = 0;
    std::unique_ptr<Ui::CMwStDlg> m_ui;
};
