#pragma once

#include "widgets/CRecordFormDialog.h"

#include <memory>

class CDatabase;

namespace Ui {
class CBenutzerDlg;
}

// "Benutzerdaten": the band's own data in the single User row (band name, line-up kind, contact
// person, address, phone numbers, e-mail, homepage), printed in the reports' headers. An empty
// table gets its row when the form is first saved; the login name and password are not part of
// the form and stay as they are.
class CBenutzerDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    explicit CBenutzerDlg(CDatabase& db, QWidget* parent = nullptr);
    ~CBenutzerDlg() override;

protected:
    // Whoever prints the band's data reads it again.
    void rowSaved() override;

private:
    std::unique_ptr<Ui::CBenutzerDlg> m_ui;
};
