#include "CGemaBezirkDlg.h"

#include "core/MessageService.h"
#include "data/JetFilter.h"
#include "data/RecordSets.h"

#include "ui_CGemaBezirkDlg.h"

CGemaBezirkDlg::CGemaBezirkDlg(CDatabase& db, const QString& name, QWidget* parent)
    : CRecordFormDialog(db, CSetStammGema::definition(), nullptr, 0, parent), m_name(name),
      m_ui(std::make_unique<Ui::CGemaBezirkDlg>()) {
    m_ui->setupUi(this);
    // The name first: the save checks it.
    FieldBindings& f = fields();
    m_nameField = f.add<TextBinding>(m_ui->editName, "Bezirksdirektion", 50);
    f.add<TextBinding>(m_ui->editStrasse, "Strasse", 40);
    f.add<TextBinding>(m_ui->editPLZ, "PLZ", 10);
    f.add<TextBinding>(m_ui->editOrt, "Ort", 40);
    f.add<TextBinding>(m_ui->editTel1, "Tel1", 20);
    f.add<TextBinding>(m_ui->editTel2, "Tel2", 20);
    f.add<TextBinding>(m_ui->editFax1, "Fax1", 20);
    f.add<TextBinding>(m_ui->editFax2, "Fax2", 20);
    f.add<TextBinding>(m_ui->editEmail, "Email", 30);
    f.add<TextBinding>(m_ui->editHomepage, "Homepage", 50);
    f.add<MemoBinding>(m_ui->editZustBereich, "ZustBereich");
    loadRow();
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CGemaBezirkDlg::~CGemaBezirkDlg() = default;

QString CGemaBezirkDlg::nameFilter(const QString& name) {
    return QStringLiteral("[Bezirksdirektion]=") + Jet::quoted(name);
}

QString CGemaBezirkDlg::rowFilter(std::int32_t) const {
    // A new office matches no row, not even one stored with an empty name.
    if (m_name.isEmpty())
        return QStringLiteral("[Bezirksdirektion] Is Null AND [Bezirksdirektion] Is Not Null");
    return nameFilter(m_name);
}

bool CGemaBezirkDlg::checkInput() {
    if (!m_nameField->value().trimmed().isEmpty())
        return true;
    m_ui->editName->setFocus(Qt::OtherFocusReason);
    MessageService::exclamation(this, QStringLiteral("Ungültige Eingabe!"));
    return false;
}

void CGemaBezirkDlg::storeRow(CRecordset&, bool) {
    // From here on the row is found by the name it is stored with.
    m_name = m_nameField->value();
}

bool CGemaBezirkDlg::save() {
    const QString stored = m_name;
    if (CRecordFormDialog::save())
        return true;
    // Nothing was written: the row still has its old name.
    m_name = stored;
    return false;
}
