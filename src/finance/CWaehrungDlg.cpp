#include "CWaehrungDlg.h"

#include "core/BaseData.h"
#include "core/ChangeNotifier.h"
#include "data/RecordSets.h"

#include "ui_CWaehrungDlg.h"

CWaehrungDlg::CWaehrungDlg(CDatabase& db, QWidget* parent)
    : CRecordFormDialog(db, CSetGrunddaten::definition(), nullptr, 0, parent),
      m_ui(std::make_unique<Ui::CWaehrungDlg>()) {
    m_ui->setupUi(this);
    // The form sets no length limit of its own; the database refuses what is too long.
    fields().add<TextBinding>(m_ui->editWaehrung, "Waehrunglang");
    fields().add<TextBinding>(m_ui->editAbkuerzung, "Waehrungkurz");
    loadRow();
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CWaehrungDlg::~CWaehrungDlg() = default;

void CWaehrungDlg::storeRow(CRecordset& row, bool isNew) {
    if (!isNew)
        return;
    BaseData::fillNewRow(row);
    // The texts are the user's, even empty ones.
    fields().store(row);
}

void CWaehrungDlg::rowSaved() {
    ChangeNotifier::instance().notify(ChangeNotifier::Topic::BaseData);
}
