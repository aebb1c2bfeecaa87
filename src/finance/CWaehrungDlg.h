#pragma once

#include "widgets/CFormDialog.h"

#include <memory>

class CDatabase;

namespace Ui {
class CWaehrungDlg;
}

// "Währung": the long and the short currency text of the base data (T_Grunddaten). The short
// text is shown beside every amount of the finance forms.
class CWaehrungDlg : public CFormDialog {
    Q_OBJECT
public:
    explicit CWaehrungDlg(CDatabase& db, QWidget* parent = nullptr);
    ~CWaehrungDlg() override;

protected:
    // Writes both texts into the first base-data record; an empty table gets its record here,
    // with the VAT rates 16 and 7.
    bool save() override;

private:
    void load();

    CDatabase& m_db;
    std::unique_ptr<Ui::CWaehrungDlg> m_ui;
};
