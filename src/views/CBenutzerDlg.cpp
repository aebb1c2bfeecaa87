#include "CBenutzerDlg.h"

#include "core/ChangeNotifier.h"
#include "data/RecordSets.h"
#include "data/Schema.h"

#include "ui_CBenutzerDlg.h"

CBenutzerDlg::CBenutzerDlg(CDatabase& db, QWidget* parent)
    : CRecordFormDialog(db, CSetUser::definition(), nullptr, 0, parent),
      m_ui(std::make_unique<Ui::CBenutzerDlg>()) {
    m_ui->setupUi(this);
    const int text = Schema::kMaxTextLength;
    FieldBindings& f = fields();
    f.add<TextBinding>(m_ui->editBand, "Band", text);
    f.add<ComboTextBinding>(m_ui->comboArtBesetzung, "ArtBesetzung", text);
    f.add<TextBinding>(m_ui->editName, "Name", text);
    f.add<TextBinding>(m_ui->editVorname, "Vorname", text);
    f.add<TextBinding>(m_ui->editStrasse, "Strasse", text);
    f.add<TextBinding>(m_ui->editPLZ, "PLZ", text);
    f.add<TextBinding>(m_ui->editOrt, "Ort", text);
    f.add<TextBinding>(m_ui->editTel, "Tel", text);
    f.add<TextBinding>(m_ui->editFax, "Fax", text);
    f.add<TextBinding>(m_ui->editHandy, "Telm", text);
    f.add<TextBinding>(m_ui->editEmail, "Email", text);
    f.add<TextBinding>(m_ui->editHomepage, "Homepage", text);
    loadRow();
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CBenutzerDlg::~CBenutzerDlg() = default;

void CBenutzerDlg::rowSaved() {
    ChangeNotifier::instance().notify(ChangeNotifier::Topic::UserData);
}
