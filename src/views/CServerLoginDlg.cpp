#include "CServerLoginDlg.h"

#include "core/MessageService.h"

#include "ui_CServerLoginDlg.h"

CServerLoginDlg::CServerLoginDlg(const QString& serverName, const QString& suggestedUser,
                                 Login login, QWidget* parent)
    : QDialog(parent), m_login(std::move(login)), m_ui(std::make_unique<Ui::CServerLoginDlg>()) {
    m_ui->setupUi(this);
    m_ui->labelServer->setText(QStringLiteral("Banddatenbank: %1\nBitte melden Sie sich mit "
                                              "Ihrem Namen und Passwort an.")
                                   .arg(serverName));
    m_ui->editBenutzer->setText(suggestedUser);
    (suggestedUser.isEmpty() ? m_ui->editBenutzer : m_ui->editPasswort)->setFocus();
    connect(m_ui->buttonOk, &QPushButton::clicked, this, &CServerLoginDlg::onOk);
    connect(m_ui->buttonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

CServerLoginDlg::~CServerLoginDlg() = default;

void CServerLoginDlg::onOk() {
    // A password is taken exactly as typed; a name without the blanks around it.
    const QString failure =
        m_login(m_ui->editBenutzer->text().trimmed(), m_ui->editPasswort->text());
    if (failure.isEmpty()) {
        accept();
        return;
    }
    MessageService::exclamation(this, failure);
    m_ui->editPasswort->clear();
    m_ui->editPasswort->setFocus();
}
