#include "CFahrzeugDlg.h"

#include "core/MessageService.h"
#include "data/RecordSets.h"
#include "widgets/FormFields.h"

#include "ui_CFahrzeugDlg.h"

#include <QRegularExpressionValidator>

namespace {

constexpr int kCarHire = 5;
constexpr int kText = Schema::kMaxTextLength;
// Column Sitzpl is a 16-bit integer.
constexpr int kMostSeats = 32767;

} // namespace

CFahrzeugDlg::CFahrzeugDlg(CDatabase& db, std::int32_t extId, std::int32_t kfzId, QWidget* parent)
    : CRecordFormDialog(db, CSetStammKfz::definition(), "KfzID", kfzId, parent), m_extId(extId),
      m_ui(std::make_unique<Ui::CFahrzeugDlg>()) {
    m_ui->setupUi(this);
    m_ui->editSitzpl->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,5}")), m_ui->editSitzpl));
    // The type first: the save checks it. The seats are read by checkInput().
    FieldBindings& f = fields();
    m_type = f.add<TextBinding>(m_ui->editTyp, "Typ", kText);
    f.add<AmountBinding>(m_ui->editGewicht, "ZulGewicht");
    f.add<TextBinding>(m_ui->editKennzeichen, "Kennzeichen", kText);
    f.add<CheckBinding>(m_ui->checkKupplung, "Kupplung");
    f.add<MemoBinding>(m_ui->editBemerkung, "Bemerkung");
    loadRow();
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CFahrzeugDlg::~CFahrzeugDlg() = default;

QString CFahrzeugDlg::rowFilter(std::int32_t key) const {
    return QString::asprintf("[Art]=%d AND [ExtID]=%ld AND [KfzID]=%ld", kCarHire, long(m_extId),
                             long(key));
}

void CFahrzeugDlg::showRow(const CRecordset& row) {
    FormFields::setText(m_ui->editSitzpl,
                        row.isNull("Sitzpl") ? QString() : QString::number(row.getInt("Sitzpl")),
                        5);
}

void CFahrzeugDlg::showNewRow() {
    FormFields::setText(m_ui->editSitzpl, QString(), 5);
}

bool CFahrzeugDlg::checkInput() {
    if (m_type->value().trimmed().isEmpty()) {
        m_ui->editTyp->setFocus(Qt::OtherFocusReason);
        MessageService::exclamation(this, QStringLiteral("Ungültige Eingabe!"));
        return false;
    }
    // A vehicle belongs to a stored firm; without one it would be lost in the table.
    if (m_extId <= 0) {
        MessageService::stop(this, QStringLiteral("Das Fahrzeug gehört zu keinem gespeicherten "
                                                  "Kfz-Verleiher und wird nicht gespeichert."));
        return false;
    }
    m_hasSeats = !m_ui->editSitzpl->text().trimmed().isEmpty();
    m_seats = 0;
    return !m_hasSeats || readWholeNumber(m_ui->editSitzpl, 0, kMostSeats, m_seats);
}

void CFahrzeugDlg::storeRow(CRecordset& row, bool) {
    row.setInt("Art", kCarHire);
    row.setLong("ExtID", m_extId);
    if (m_hasSeats)
        row.setInt("Sitzpl", m_seats);
    else
        row.setNull("Sitzpl");
}
