#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class CServerLoginDlg;
}

// Asks for the name and password with which a person logs in on the server that keeps the
// band database. "&Anmelden" hands them to the login, which says why it failed (the form then
// stays for another try) or accepts them; "Abbrechen" rejects the form.
class CServerLoginDlg : public QDialog {
    Q_OBJECT
public:
    // Tries the login; the German reason when it failed, else empty.
    using Login = std::function<QString(const QString& user, const QString& password)>;

    CServerLoginDlg(const QString& serverName, const QString& suggestedUser, Login login,
                    QWidget* parent = nullptr);
    ~CServerLoginDlg() override;

private:
    void onOk();

    Login m_login;
    std::unique_ptr<Ui::CServerLoginDlg> m_ui;
};
