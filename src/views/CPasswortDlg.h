#pragma once

#include "core/Credentials.h"

#include <QDialog>

#include <memory>

class CDatabase;

namespace Ui {
class CPasswortDlg;
}

// "Passwort ändern": the old password (as the current user logged in with it; none set yet is
// the empty text) and the new one, confirmed in "Sicherheitsabfrage". The new password is stored
// in the current user's User row and becomes the current password; the form is then accepted.
class CPasswortDlg : public QDialog {
    Q_OBJECT
public:
    // `current` is the running program's user and password; it must outlive the form.
    CPasswortDlg(CDatabase& db, Credentials& current, QWidget* parent = nullptr);
    ~CPasswortDlg() override;

    // Runs the form and, when the password was changed, says "Passwort wurde geändert.".
    static int changePassword(CDatabase& db, Credentials& current, QWidget* parent = nullptr);

private:
    void onOk();

    CDatabase& m_db;
    Credentials& m_current;
    std::unique_ptr<Ui::CPasswortDlg> m_ui;
};
