#include "CPasswortDlg.h"

#include "CSicherheitsabfrageDlg.h"
#include "LowerCaseField.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"

#include "ui_CPasswortDlg.h"

CPasswortDlg::CPasswortDlg(CDatabase& db, Credentials& current, QWidget* parent)
    : QDialog(parent), m_db(db), m_current(current), m_ui(std::make_unique<Ui::CPasswortDlg>()) {
    m_ui->setupUi(this);
    // The old password is compared as typed; new ones are always lower case.
    keepLowerCase(m_ui->editNeu);
    connect(m_ui->buttonOk, &QPushButton::clicked, this, &CPasswortDlg::onOk);
    connect(m_ui->buttonAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

CPasswortDlg::~CPasswortDlg() = default;

int CPasswortDlg::changePassword(CDatabase& db, Credentials& current, QWidget* parent) {
    CPasswortDlg form(db, current, parent);
    const int result = form.exec();
    if (result == QDialog::Accepted)
        MessageService::information(parent, QStringLiteral("Passwort wurde geändert."));
    return result;
}

void CPasswortDlg::onOk() {
    if (m_ui->editAlt->text().trimmed() != m_current.password) {
        MessageService::stop(this,
                             QStringLiteral("Sie sind nicht berechtigt, das Passwort zu ändern."));
        reject();
        return;
    }
    const QString newPassword = m_ui->editNeu->text().trimmed();
    CSicherheitsabfrageDlg confirmation(newPassword, this);
    if (confirmation.exec() != QDialog::Accepted)
        return;

    try {
        if (Credentials::changePassword(m_db, m_current, newPassword) ==
            Credentials::Change::NoMatchingRow) {
            // Someone else's row must not be changed, and a password that was not stored must
            // not become the one asked for.
            MessageService::stop(this, QStringLiteral("Das Passwort konnte nicht geändert werden: "
                                                      "Zu Ihrem Benutzernamen und Passwort gibt "
                                                      "es keine Benutzerdaten."));
            reject();
            return;
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    m_current.password = newPassword;
    accept();
}
