#include "CErinnerungDlg.h"

#include "core/BirthdayReminder.h"
#include "core/GemaDeadline.h"
#include "core/MessageService.h"

#include "ui_CErinnerungDlg.h"

#include <QRegularExpressionValidator>

CErinnerungDlg::CErinnerungDlg(CProfileFile& profile, QWidget* parent)
    : CFormDialog(parent), m_profile(profile), m_ui(std::make_unique<Ui::CErinnerungDlg>()) {
    m_ui->setupUi(this);
    static_assert(kMaximumDays == BirthdayWindow::kMaximumDays);
    const BirthdayReminder::Setting setting = BirthdayReminder::Setting::read(profile);
    m_ui->checkAktiv->setChecked(setting.on);
    for (QLineEdit* days : {m_ui->editVorher, m_ui->editNachher}) {
        days->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9]{0,3}")), days));
    }
    m_ui->editVorher->setText(QString::number(setting.daysBefore));
    m_ui->editNachher->setText(QString::number(setting.daysAfter));
    m_ui->checkGema->setChecked(GemaDeadline::startupNoteOn(profile));
    markSaved();
    connect(m_ui->checkAktiv, &QCheckBox::clicked, this, [this] { setChanged(); });
    connect(m_ui->checkGema, &QCheckBox::clicked, this, [this] { setChanged(); });
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CErinnerungDlg::~CErinnerungDlg() = default;

bool CErinnerungDlg::save() {
    BirthdayReminder::Setting setting;
    setting.on = m_ui->checkAktiv->isChecked();
    if (!readWholeNumber(m_ui->editVorher, 0, kMaximumDays, setting.daysBefore) ||
        !readWholeNumber(m_ui->editNachher, 0, kMaximumDays, setting.daysAfter))
        return false;
    if (!setting.write(m_profile) ||
        !GemaDeadline::setStartupNoteOn(m_profile, m_ui->checkGema->isChecked())) {
        MessageService::stop(this, QStringLiteral("Die Einstellung konnte nicht in Kavio.ini "
                                                  "gespeichert werden."));
        return false;
    }
    markSaved();
    return true;
}
