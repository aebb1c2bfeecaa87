#include "CAnsprechDlg.h"

#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"
#include "widgets/FormFields.h"

#include "ui_CAnsprechDlg.h"

CAnsprechDlg::CAnsprechDlg(CDatabase& db, int firmKind, std::int32_t extId, std::int32_t apId,
                           QWidget* parent)
    : CRecordFormDialog(db, CSetStammExtAnsprech::definition(), "APID", apId, parent),
      m_firmKind(firmKind), m_extId(extId), m_ui(std::make_unique<Ui::CAnsprechDlg>()) {
    m_ui->setupUi(this);
    FormFields::fillFromLines(m_ui->comboAnrede, Strings::kSalutations);

    // Name first: the save checks it.
    FieldBindings& f = fields();
    m_name = f.add<TextBinding>(m_ui->editName, "APName", 20);
    f.add<TextBinding>(m_ui->editVorname, "APVorname", 20);
    f.add<TextBinding>(m_ui->editFunktion, "APFunktion", 30);
    f.add<TextBinding>(m_ui->editTel, "APTel", 20);
    f.add<TextBinding>(m_ui->editFax, "APFax", 20);
    f.add<TextBinding>(m_ui->editHandy, "APTelm", 20);
    f.add<TextBinding>(m_ui->editEmail, "APEmail", 30);
    f.add<ComboIndexBinding>(m_ui->comboAnrede, "APAnrede");
    f.add<DateBinding>(m_ui->editGebDate, "APGebDate", DateBinding::Kind::Birth);
    loadRow();
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CAnsprechDlg::~CAnsprechDlg() = default;

void CAnsprechDlg::showRow(const CRecordset& row) {
    // A stored contact belongs to the firm it names.
    m_firmKind = row.getInt("Art");
    m_extId = row.getLong("ExtID");
}

bool CAnsprechDlg::checkInput() {
    if (!m_name->value().isEmpty())
        return true;
    m_ui->editName->setFocus(Qt::OtherFocusReason);
    MessageService::exclamation(this, QStringLiteral("Bitte \"Name\" eingegeben."));
    return false;
}

void CAnsprechDlg::storeRow(CRecordset& row, bool) {
    row.setInt("Art", m_firmKind);
    row.setLong("ExtID", m_extId);
}

void CAnsprechDlg::rowSaved() {
    ChangeNotifier::instance().notify(ChangeNotifier::Topic::Contacts, key(), m_firmKind);
}
