#include "CKostenBuchenDlg.h"

#include "CBookingGroup.h"
#include "core/ListRows.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "widgets/FormFields.h"

#include "ui_CKostenBuchenDlg.h"
#include "ui_CSpesenBuchenDlg.h"

namespace {

constexpr const char* kInvalidInput = "Ungültige Eingabe!";
// The firm kind of car hire, which owns the vehicles.
constexpr int kCarHire = 5;
constexpr const char* kCostKinds =
    "Mietkosten\nTankbeleg\nReparaturkosten\nStrassengebühren\nSonstiges";

BaseData readBase(CDatabase& db, QWidget* parent) {
    try {
        return BaseData::read(db);
    } catch (const CDaoException& error) {
        MessageService::stop(parent, error.description());
        return BaseData();
    }
}

} // namespace

CBuchungPositionDlg::CBuchungPositionDlg(CDatabase& db, int costGroup, int costCentre,
                                         std::int32_t partyId, std::int32_t eventId,
                                         std::int32_t financeId, QWidget* parent)
    : CRecordFormDialog(db, CSetEventFinanzen::definition(), "FinanzID", financeId, parent),
      m_costGroup(costGroup), m_costCentre(costCentre), m_partyId(partyId), m_eventId(eventId) {}

void CBuchungPositionDlg::setUpBooking(CBookingGroup* booking) {
    m_booking = booking;
    connect(booking, &CBookingGroup::changed, this, [this] { setChanged(); });
}

void CBuchungPositionDlg::showRow(const CRecordset& row) {
    m_booking->load(row);
}

void CBuchungPositionDlg::showNewRow() {
    m_booking->clear();
}

bool CBuchungPositionDlg::checkInput() {
    if (!m_booking->read())
        return false;
    const std::optional<double> amount = m_booking->readAmount();
    if (!amount || *amount <= 0) {
        MessageService::exclamation(this, QString::fromUtf8(kInvalidInput));
        m_booking->amountField()->setFocus();
        return false;
    }
    return true;
}

void CBuchungPositionDlg::storeRow(CRecordset& row, bool isNew) {
    if (isNew) {
        row.setLong("EventID", m_eventId);
        row.setInt("Kostengruppe", m_costGroup);
        row.setInt("Kostenstelle", m_costCentre);
        row.setLong("ID", m_partyId);
    }
    m_booking->store(row);
}

// --- "Kosten buchen" ------------------------------------------------------------------------

CKostenBuchenDlg::CKostenBuchenDlg(CDatabase& db, const PlanningContext& event,
                                   std::int32_t vehicle, std::int32_t firm, std::int32_t financeId,
                                   QWidget* parent)
    : CBuchungPositionDlg(db, Finance::Transport, Finance::CentreTransport, vehicle, event.eventId,
                          financeId, parent),
      m_ui(std::make_unique<Ui::CKostenBuchenDlg>()) {
    m_ui->setupUi(this);
    FormFields::fillFromLines(m_ui->comboKostenart, kCostKinds);
    m_ui->groupKosten->setUp(CBookingGroup::Setup(), readBase(db, parent));
    setUpBooking(m_ui->groupKosten);
    showVehicle(vehicle, firm);
    connect(m_ui->comboKostenart, &QComboBox::activated, this, [this] { setChanged(); });
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
    loadRow();
}

CKostenBuchenDlg::~CKostenBuchenDlg() = default;

int CKostenBuchenDlg::showModal(CDatabase& db, const PlanningContext& event, Finance::VatMode,
                                std::int32_t vehicle, std::int32_t firm, std::int32_t& financeId,
                                QWidget* parent) {
    CKostenBuchenDlg form(db, event, vehicle, firm, financeId, parent);
    if (!form.isReady())
        return QDialog::Rejected;
    const int result = form.exec();
    financeId = form.key();
    return result;
}

void CKostenBuchenDlg::showVehicle(std::int32_t vehicle, std::int32_t firm) {
    try {
        CSetStammExtFirma hire(database());
        hire.open(QString::asprintf("[Art]=%d AND [ExtID]=%ld", kCarHire, long(firm)));
        if (!hire.atEnd()) {
            const bool isPrivate = hire.getBool("fPrivat");
            m_ui->editKfzVon->setText(ListTexts::firmName(
                isPrivate, hire.getText("Firma"), hire.getText("Name"), hire.getText("Vorname")));
            m_ui->editTel->setText(hire.getText("Tel"));
            m_ui->editFax->setText(hire.getText("Fax"));
            m_ui->editHandy->setText(hire.getText("Telm"));
            m_ui->editArt->setText(isPrivate ? QStringLiteral("Privat")
                                             : QStringLiteral("Gewerbe"));
            m_ui->editEMail->setText(hire.getText("Email"));
            m_ui->editHomepage->setText(hire.getText("Homepage"));
        }
        CSetStammKfz car(database());
        car.open(QString::asprintf("[Art]=%d AND [ExtID]=%ld AND [KfzID]=%ld", kCarHire, long(firm),
                                   long(vehicle)));
        if (!car.atEnd()) {
            m_ui->editKfzTyp->setText(car.getText("Typ"));
            m_ui->editKennzeichen->setText(car.getText("Kennzeichen"));
            if (!car.isNull("Sitzpl"))
                m_ui->editSitzplaetze->setText(QString::number(car.getInt("Sitzpl")));
            if (!car.isNull("ZulGewicht"))
                m_ui->editGewicht->setText(
                    QString::number(car.getSingle("ZulGewicht"), 'f', 1).replace(u'.', u','));
            m_ui->checkKupplung->setChecked(car.getBool("Kupplung"));
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    // Long names and addresses show their beginning.
    for (QLineEdit* detail : m_ui->groupKfz->findChildren<QLineEdit*>())
        detail->setCursorPosition(0);
}

void CKostenBuchenDlg::showRow(const CRecordset& row) {
    CBuchungPositionDlg::showRow(row);
    const int kind = row.getInt("Kostenart");
    m_ui->comboKostenart->setCurrentIndex(kind >= 1 && kind <= 5 ? kind - 1 : 4);
}

void CKostenBuchenDlg::showNewRow() {
    CBuchungPositionDlg::showNewRow();
    m_ui->comboKostenart->setCurrentIndex(0);
}

void CKostenBuchenDlg::storeRow(CRecordset& row, bool isNew) {
    CBuchungPositionDlg::storeRow(row, isNew);
    row.setInt("Kostenart", m_ui->comboKostenart->currentIndex() + 1);
}

// --- "Spesen buchen" ------------------------------------------------------------------------

CSpesenBuchenDlg::CSpesenBuchenDlg(CDatabase& db, const PlanningContext& event,
                                   std::int32_t financeId, QWidget* parent)
    : CBuchungPositionDlg(db, Finance::Expenses, Finance::CentreExpenses, 0, event.eventId,
                          financeId, parent),
      m_ui(std::make_unique<Ui::CSpesenBuchenDlg>()) {
    m_ui->setupUi(this);
    CBookingGroup::Setup setup;
    setup.remarkLabel = "Bemerkung";
    setup.cardPayment = true;
    setup.newPaymentMethod = 2;
    setup.newPaidAgainst = 0;
    m_ui->groupKosten->setUp(setup, readBase(db, parent));
    setUpBooking(m_ui->groupKosten);
    m_purpose = fields().add<TextBinding>(m_ui->editVerwendung, "Verwendung", 128);
    fields().add<TextBinding>(m_ui->editEmpfaenger, "Empfaenger", 255);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
    loadRow();
}

CSpesenBuchenDlg::~CSpesenBuchenDlg() = default;

int CSpesenBuchenDlg::showModal(CDatabase& db, const PlanningContext& event, Finance::VatMode,
                                std::int32_t& financeId, QWidget* parent) {
    CSpesenBuchenDlg form(db, event, financeId, parent);
    if (!form.isReady())
        return QDialog::Rejected;
    const int result = form.exec();
    financeId = form.key();
    return result;
}

bool CSpesenBuchenDlg::checkInput() {
    if (!CBuchungPositionDlg::checkInput())
        return false;
    if (m_purpose->value().trimmed().isEmpty()) {
        MessageService::exclamation(this, QStringLiteral("Bitte \"Verwendung\" eingeben."));
        m_ui->editVerwendung->setFocus();
        return false;
    }
    return true;
}
