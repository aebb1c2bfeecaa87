#include "CSicherheitsabfrageDlg.h"

#include "LowerCaseField.h"
#include "core/MessageService.h"

#include "ui_CSicherheitsabfrageDlg.h"

CSicherheitsabfrageDlg::CSicherheitsabfrageDlg(const QString& newPassword, QWidget* parent)
    : QDialog(parent), m_newPassword(newPassword),
      m_ui(std::make_unique<Ui::CSicherheitsabfrageDlg>()) {
    m_ui->setupUi(this);
    keepLowerCase(m_ui->editNeu);
    connect(m_ui->buttonOk, &QPushButton::clicked, this, &CSicherheitsabfrageDlg::onOk);
    connect(m_ui->buttonAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

CSicherheitsabfrageDlg::~CSicherheitsabfrageDlg() = default;

void CSicherheitsabfrageDlg::onOk() {
    if (m_ui->editNeu->text().trimmed() != m_newPassword) {
        MessageService::stop(this, QStringLiteral("Passwort stimmt nicht überein."));
        reject();
        return;
    }
    accept();
}
