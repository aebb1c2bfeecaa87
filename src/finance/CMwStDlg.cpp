#include "CMwStDlg.h"

#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"

#include "ui_CMwStDlg.h"

CMwStDlg::CMwStDlg(CDatabase& db, CProfileFile& profile, QWidget* parent)
    : CFormDialog(parent), m_db(db), m_profile(profile), m_ui(std::make_unique<Ui::CMwStDlg>()) {
    m_ui->setupUi(this);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
    // A click counts as a change even on the button that is already chosen.
    connect(m_ui->radioInkl, &QRadioButton::clicked, this, [this] { setChanged(); });
    connect(m_ui->radioOhne, &QRadioButton::clicked, this, [this] { setChanged(); });
    load();
}

CMwStDlg::~CMwStDlg() = default;

void CMwStDlg::load() {
    int rate1 = 0;
    int rate2 = 0;
    try {
        CSetGrunddaten set(m_db);
        set.open();
        if (!set.atEnd()) {
            // The form edits whole percentages: 7.5 shows as 7.
            rate1 = static_cast<int>(set.getSingle("MWST_Satz1"));
            rate2 = static_cast<int>(set.getSingle("MWST_Satz2"));
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    m_ui->editSatz1->setText(QString::number(rate1));
    m_ui->editSatz2->setText(QString::number(rate2));

    // 1 means "inkl. MwSt.", 0 "ohne MwSt."; a stray other value counts as the default 1.
    const bool inclusive = Settings::readInt(m_profile, Settings::MwStInkl) != 0;
    m_ui->radioInkl->setChecked(inclusive);
    m_ui->radioOhne->setChecked(!inclusive);
}

bool CMwStDlg::save() {
    int rate1 = 0;
    int rate2 = 0;
    if (!readWholeNumber(m_ui->editSatz1, 1, 99, rate1) ||
        !readWholeNumber(m_ui->editSatz2, 1, 99, rate2))
        return false;

    try {
        CSetGrunddaten set(m_db);
        set.open();
        // Without a base-data record there is nothing to change here; the currency form
        // creates it.
        if (!set.atEnd()) {
            set.edit();
            set.setSingle("MWST_Satz1", rate1);
            set.setSingle("MWST_Satz2", rate2);
            set.update();
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return false;
    }

    if (!Settings::writeInt(m_profile, Settings::MwStInkl, m_ui->radioInkl->isChecked() ? 1 : 0)) {
        MessageService::stop(this, QStringLiteral("Die Einstellung \"Beträge anzeigen\" konnte "
                                                  "nicht in der Datei %1 gespeichert werden.")
                                       .arg(m_profile.path()));
        return false;
    }
    return true;
}
