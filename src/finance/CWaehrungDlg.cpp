#include "CWaehrungDlg.h"

#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"

#include "ui_CWaehrungDlg.h"

CWaehrungDlg::CWaehrungDlg(CDatabase& db, QWidget* parent)
    : CFormDialog(parent), m_db(db), m_ui(std::make_unique<Ui::CWaehrungDlg>()) {
    m_ui->setupUi(this);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
    load();
}

CWaehrungDlg::~CWaehrungDlg() = default;

void CWaehrungDlg::load() {
    try {
        CSetGrunddaten set(m_db);
        set.open();
        if (!set.atEnd()) {
            // A null text reads as an empty one.
            m_ui->editWaehrung->setText(set.getText("Waehrunglang"));
            m_ui->editAbkuerzung->setText(set.getText("Waehrungkurz"));
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

bool CWaehrungDlg::save() {
    const QString longName = m_ui->editWaehrung->text();
    const QString shortName = m_ui->editAbkuerzung->text();
    try {
        CSetGrunddaten set(m_db);
        set.open();
        if (set.atEnd()) {
            set.addNew();
            set.setSingle("MWST_Satz1", 16);
            set.setSingle("MWST_Satz2", 7);
            set.setText("Union_No", QString());
        } else {
            set.edit();
        }
        set.setText("Waehrungkurz", shortName);
        set.setText("Waehrunglang", longName);
        set.update();
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return false;
    }
    return true;
}
