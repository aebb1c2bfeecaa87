#include "CLoginDlg.h"

#include "LowerCaseField.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "widgets/Pictures.h"

#include "ui_CLoginDlg.h"

CLoginDlg::CLoginDlg(CDatabase& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_ui(std::make_unique<Ui::CLoginDlg>()) {
    m_ui->setupUi(this);
    m_ui->labelPicture->setPixmap(Pictures::makerPicture());
    keepLowerCase(m_ui->editPasswort);
    connect(m_ui->buttonOk, &QPushButton::clicked, this, &CLoginDlg::onOk);
}

CLoginDlg::~CLoginDlg() = default;

void CLoginDlg::onOk() {
    m_typed.user = m_ui->editBenutzer->text().trimmed();
    m_typed.password = m_ui->editPasswort->text().trimmed();
    bool allowed = false;
    try {
        allowed = Credentials::match(m_db, m_typed.user, m_typed.password);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    if (allowed) {
        accept();
        return;
    }
    // A mistyped password gets another try; after the last one the form is refused.
    if (++m_failed >= kTries) {
        reject();
        return;
    }
    MessageService::exclamation(this, QStringLiteral("Benutzername oder Passwort sind nicht "
                                                     "richtig. Bitte versuchen Sie es noch "
                                                     "einmal."));
    m_ui->editPasswort->clear();
    m_ui->editPasswort->setFocus();
}
