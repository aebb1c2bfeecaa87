#include "CMwStDlg.h"

#include "core/BaseData.h"
#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/RecordSets.h"

#include "ui_CMwStDlg.h"

CMwStDlg::CMwStDlg(CDatabase& db, CProfileFile& profile, QWidget* parent)
    : CRecordFormDialog(db, CSetGrunddaten::definition(), nullptr, 0, parent), m_profile(profile),
      m_ui(std::make_unique<Ui::CMwStDlg>()) {
    m_ui->setupUi(this);
    // 1 means "inkl. MwSt.", 0 "ohne MwSt."; a stray other value counts as the default 1.
    const bool inclusive = Settings::readInt(m_profile, Settings::MwStInkl) != 0;
    m_ui->radioInkl->setChecked(inclusive);
    m_ui->radioOhne->setChecked(!inclusive);
    loadRow();
    // A click counts as a change even on the button that is already chosen.
    connect(m_ui->radioInkl, &QRadioButton::clicked, this, [this] { setChanged(); });
    connect(m_ui->radioOhne, &QRadioButton::clicked, this, [this] { setChanged(); });
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CMwStDlg::~CMwStDlg() = default;

void CMwStDlg::showRow(const CRecordset& row) {
    // The form edits whole percentages: 7.5 shows as 7.
    m_ui->editSatz1->setText(QString::number(static_cast<int>(row.getSingle("MWST_Satz1"))));
    m_ui->editSatz2->setText(QString::number(static_cast<int>(row.getSingle("MWST_Satz2"))));
}

void CMwStDlg::showNewRow() {
    m_ui->editSatz1->setText(QStringLiteral("0"));
    m_ui->editSatz2->setText(QStringLiteral("0"));
}

bool CMwStDlg::checkInput() {
    return readWholeNumber(m_ui->editSatz1, 1, 99, m_rate1) &&
           readWholeNumber(m_ui->editSatz2, 1, 99, m_rate2);
}

void CMwStDlg::storeRow(CRecordset& row, bool isNew) {
    if (isNew)
        BaseData::fillNewRow(row);
    row.setSingle("MWST_Satz1", m_rate1);
    row.setSingle("MWST_Satz2", m_rate2);
}

void CMwStDlg::rowSaved() {
    ChangeNotifier::instance().notify(ChangeNotifier::Topic::BaseData);
}

bool CMwStDlg::save() {
    if (!CRecordFormDialog::save())
        return false;
    if (!Settings::writeInt(m_profile, Settings::MwStInkl, m_ui->radioInkl->isChecked() ? 1 : 0)) {
        MessageService::stop(this, QStringLiteral("Die Einstellung \"Beträge anzeigen\" konnte "
                                                  "nicht in der Datei %1 gespeichert werden.")
                                       .arg(m_profile.path()));
        return false;
    }
    return true;
}
