#pragma once

#include "widgets/CRecordFormDialog.h"

#include <memory>

class CDatabase;

namespace Ui {
class CWaehrungDlg;
}

// "Währung": the long and the short currency text of the base data (T_Grunddaten). The short
// text is shown beside every amount of the finance forms.
class CWaehrungDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    explicit CWaehrungDlg(CDatabase& db, QWidget* parent = nullptr);
    ~CWaehrungDlg() override;

protected:
    // An empty table gets its row here, with the VAT rates 16 and 7.
    void storeRow(CRecordset& row, bool isNew) override;
    void rowSaved() override;

private:
    std::unique_ptr<Ui::CWaehrungDlg> m_ui;
};
