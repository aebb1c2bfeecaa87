#include "CHotelDlg.h"

#include "core/MessageService.h"
#include "data/RecordSets.h"

#include "ui_CHotelDlg.h"

namespace {

// The form sets no limits of its own: each text takes what its column holds.
constexpr int kText = Schema::kMaxTextLength;

} // namespace

CHotelDlg::CHotelDlg(CDatabase& db, std::int32_t hotelId, QWidget* parent)
    : CRecordFormDialog(db, CSetHotel::definition(), "HotelID", hotelId, parent),
      m_ui(std::make_unique<Ui::CHotelDlg>()) {
    m_ui->setupUi(this);
    // In the order of the form, so that the first faulty field is the one refused. The category
    // is not edited here and keeps what it holds.
    FieldBindings& f = fields();
    m_name = f.add<TextBinding>(m_ui->editName, "Name", kText);
    f.add<TextBinding>(m_ui->editStrasse, "Strasse", kText);
    f.add<TextBinding>(m_ui->editPLZ, "PLZ", kText);
    f.add<TextBinding>(m_ui->editOrt, "Ort", kText);
    f.add<TextBinding>(m_ui->editTel, "Tel", kText);
    f.add<TextBinding>(m_ui->editFax, "Fax", kText);
    f.add<TextBinding>(m_ui->editHandy, "Telm", kText);
    f.add<TextBinding>(m_ui->editEmail, "Email", kText);
    f.add<TextBinding>(m_ui->editHomepage, "Homepage", kText);
    f.add<MemoBinding>(m_ui->editBemerkungen, "Bemerkungen");
    loadRow();
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CHotelDlg::~CHotelDlg() = default;

bool CHotelDlg::checkInput() {
    // A hotel without a name could not be told apart in the lists that offer it.
    if (!m_name->value().trimmed().isEmpty())
        return true;
    m_ui->editName->setFocus(Qt::OtherFocusReason);
    MessageService::exclamation(this, QStringLiteral("Ungültige Eingabe!"));
    return false;
}
