#include "CPlanTransportKfzDlg.h"

#include "core/Conflicts.h"
#include "core/MessageService.h"
#include "core/TransportPlan.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "masterdata/CExtFirmaDlg.h"
#include "masterdata/CFahrzeugDlg.h"
#include "resources/Strings.h"
#include "widgets/CPickList.h"
#include "widgets/PickListFillers.h"

#include "ui_CPlanTransportKfzDlg.h"

#include <QSignalBlocker>

namespace {

const char* const kInvalidInput = "Ungültige Eingabe!";
using TransportPlan::kCarHire;

QString decimalText(double value, int decimals) {
    return QString::number(value, 'f', decimals).replace(u'.', u',');
}

} // namespace

const char* const CPlanTransportKfzDlg::kAlreadyPlanned =
    "Fahrzeug wurde für diesen Event bereits verplant.";

CPlanTransportKfzDlg::CPlanTransportKfzDlg(CDatabase& db, CProfileFile& profile,
                                           std::int32_t eventId, std::int32_t firm,
                                           std::int32_t vehicle, QWidget* parent)
    : CRecordFormDialog(db, CSetEventTransport::definition(), nullptr, 0, parent),
      m_profile(profile), m_eventId(eventId), m_firm(firm), m_vehicle(vehicle),
      m_ui(std::make_unique<Ui::CPlanTransportKfzDlg>()) {
    m_ui->setupUi(this);
    // The tow bar is kept by the vehicle form; here it is neither shown nor changed.
    m_ui->checkKupplung->setVisible(false);
    m_ui->checkKupplung->setEnabled(false);
    m_ui->listVerleiher->setColumnWidths({m_ui->listVerleiher->minimumWidth(), 60, 200, 200});
    m_ui->listKfz->setColumnWidths({m_ui->listKfz->minimumWidth(), 50, 50, 100});

    fields().add<TextBinding>(m_ui->editFahrer, "Fahrer", 255);
    fields().add<MemoBinding>(m_ui->editBemerkung, "Bemerkungen");
    loadRow();

    connect(m_ui->listVerleiher, &QComboBox::activated, this, [this] {
        chooseFirm();
        markChanged();
    });
    connect(m_ui->listKfz, &QComboBox::activated, this, [this] {
        chooseVehicle();
        markChanged();
    });
    connect(m_ui->buttonNeuVerleiher, &QPushButton::clicked, this,
            &CPlanTransportKfzDlg::onNewFirm);
    connect(m_ui->buttonBearbeitenVerleiher, &QPushButton::clicked, this,
            &CPlanTransportKfzDlg::onEditFirm);
    connect(m_ui->buttonNeuKfz, &QPushButton::clicked, this, &CPlanTransportKfzDlg::onNewVehicle);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CPlanTransportKfzDlg::~CPlanTransportKfzDlg() = default;

QString CPlanTransportKfzDlg::rowFilter(std::int32_t) const {
    return QString::asprintf("[EventID]=%ld AND [VerleiherID]=%ld AND [KfzID]=%ld", long(m_eventId),
                             long(m_firm), long(m_vehicle));
}

void CPlanTransportKfzDlg::showNewRow() {
    m_firm = -1;
    m_vehicle = -1;
    fillFirms();
    chooseFirm();
}

void CPlanTransportKfzDlg::showRow(const CRecordset& row) {
    const std::int32_t firm = row.getLong("VerleiherID");
    const std::int32_t vehicle = row.getLong("KfzID");
    // A row shown with the user's changes merged in (being edited) is still found by what is
    // stored.
    if (!row.isEditing()) {
        m_firm = firm;
        m_vehicle = vehicle;
    }
    fillFirms();
    {
        const QSignalBlocker quiet(m_ui->listVerleiher);
        m_ui->listVerleiher->selectData(firm);
    }
    chooseFirm();
    fillVehicles(vehicle);
}

void CPlanTransportKfzDlg::fillFirms() {
    try {
        // Live car-hire firms, and the one of this entry even when deleted since.
        PickListFillers::fillFirms(*m_ui->listVerleiher, database(), kCarHire, m_firm);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

void CPlanTransportKfzDlg::chooseFirm() {
    const std::int32_t key = m_ui->listVerleiher->selectedData(0);
    QLineEdit* const details[] = {m_ui->editArt, m_ui->editTel,      m_ui->editEmail,
                                  m_ui->editFax, m_ui->editHomepage, m_ui->editHandy};
    for (QLineEdit* detail : details)
        detail->clear();
    bool found = false;
    if (key > 0) {
        try {
            CSetStammExtFirma firm(database());
            firm.open(QString::asprintf("[Art]=%d AND [ExtID]=%ld", kCarHire, long(key)));
            if (!firm.atEnd()) {
                found = true;
                m_ui->editArt->setText(QString::fromUtf8(
                    firm.getBool("fPrivat") ? Strings::kPrivate : Strings::kBusiness));
                m_ui->editTel->setText(firm.getText("Tel"));
                m_ui->editEmail->setText(firm.getText("Email"));
                m_ui->editFax->setText(firm.getText("Fax"));
                m_ui->editHomepage->setText(firm.getText("Homepage"));
                m_ui->editHandy->setText(firm.getText("Telm"));
                for (QLineEdit* detail : details)
                    detail->setCursorPosition(0);
            }
        } catch (const CDaoException& error) {
            MessageService::stop(this, error.description());
        }
    }
    m_ui->buttonBearbeitenVerleiher->setEnabled(found);
    m_ui->buttonNeuKfz->setEnabled(found);
    fillVehicles(-1);
}

void CPlanTransportKfzDlg::fillVehicles(std::int32_t select) {
    CPickList& list = *m_ui->listKfz;
    {
        const QSignalBlocker quiet(&list);
        list.clearRows();
    }
    const std::int32_t firm = m_ui->listVerleiher->selectedData(0);
    if (firm > 0) {
        try {
            // The vehicle of this entry stays listed when it was deleted since.
            const QString filter =
                select > 0 ? QString::asprintf("[Art]=%d AND [ExtID]=%ld AND ([fDeleted]=False "
                                               "OR [KfzID]=%ld)",
                                               kCarHire, long(firm), long(select))
                           : QString::asprintf("[Art]=%d AND [ExtID]=%ld AND [fDeleted]=False",
                                               kCarHire, long(firm));
            CSetStammKfz vehicles(database());
            for (vehicles.open(filter, QStringLiteral("[Typ]")); !vehicles.atEnd();
                 vehicles.moveNext()) {
                const QSignalBlocker quiet(&list);
                list.addRow({vehicles.getText("Typ"),
                             vehicles.isNull("Sitzpl") ? QString()
                                                       : QString::number(vehicles.getInt("Sitzpl")),
                             vehicles.isNull("ZulGewicht")
                                 ? QString()
                                 : decimalText(vehicles.getSingle("ZulGewicht"), 1),
                             vehicles.getText("Kennzeichen")},
                            vehicles.getLong("KfzID"));
            }
        } catch (const CDaoException& error) {
            MessageService::stop(this, error.description());
        }
    }
    {
        const QSignalBlocker quiet(&list);
        if (select <= 0 || !list.selectData(select))
            list.setCurrentIndex(-1);
    }
    chooseVehicle();
}

void CPlanTransportKfzDlg::chooseVehicle() {
    for (QLineEdit* detail :
         {m_ui->editKennzeichen, m_ui->editGewicht, m_ui->editSitzpl, m_ui->editMietpreis})
        detail->clear();
    m_ui->checkKupplung->setChecked(false);
    const std::int32_t key = m_ui->listKfz->selectedData(0);
    if (key <= 0)
        return;
    try {
        CSetStammKfz vehicle(database());
        vehicle.open(QString::asprintf("[Art]=%d AND [ExtID]= %ld AND [KfzID]= %ld", kCarHire,
                                       long(m_ui->listVerleiher->selectedData(0)), long(key)));
        if (vehicle.atEnd())
            return;
        m_ui->editKennzeichen->setText(vehicle.getText("Kennzeichen"));
        if (!vehicle.isNull("ZulGewicht"))
            m_ui->editGewicht->setText(decimalText(vehicle.getSingle("ZulGewicht"), 1));
        if (!vehicle.isNull("Sitzpl"))
            m_ui->editSitzpl->setText(QString::number(vehicle.getInt("Sitzpl")));
        m_ui->checkKupplung->setChecked(vehicle.getBool("Kupplung"));
        // The vehicle's remark holds its rent.
        m_ui->editMietpreis->setText(vehicle.getText("Bemerkung"));
        m_ui->editMietpreis->setCursorPosition(0);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

bool CPlanTransportKfzDlg::checkInput() {
    for (CPickList* list : {m_ui->listVerleiher, m_ui->listKfz}) {
        if (list->currentIndex() < 0) {
            MessageService::exclamation(this, QString::fromUtf8(kInvalidInput));
            list->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    m_chosenFirm = m_ui->listVerleiher->selectedData(0);
    m_chosenVehicle = m_ui->listKfz->selectedData(0);
    return Conflicts::confirmSave(
        this, [this] { return Conflicts::vehicles(database(), m_eventId, {m_chosenVehicle}); });
}

void CPlanTransportKfzDlg::storeRow(CRecordset& row, bool) {
    // A changed firm or vehicle changes this entry; it does not plan a further vehicle.
    row.setLong("EventID", m_eventId);
    row.setLong("VerleiherID", m_chosenFirm);
    row.setLong("KfzID", m_chosenVehicle);
}

void CPlanTransportKfzDlg::storeDependents(const CRecordset& row, bool isNew) {
    if (!isNew)
        TransportPlan::moveBookings(database(), m_eventId, m_vehicle, row.getLong("KfzID"));
    // From now on the entry is found by its new keys.
    m_firm = row.getLong("VerleiherID");
    m_vehicle = row.getLong("KfzID");
}

QString CPlanTransportKfzDlg::refusalText(const CDaoException& error) {
    if (error.code() == CDaoException::DuplicateKey)
        return QString::fromUtf8(kAlreadyPlanned);
    return CRecordFormDialog::refusalText(error);
}

void CPlanTransportKfzDlg::onNewFirm() {
    std::int32_t extId = -1;
    if (CExtFirmaDlg::showModal(database(), m_profile, kCarHire, extId, this) != QDialog::Accepted)
        return;
    fillFirms();
    {
        const QSignalBlocker quiet(m_ui->listVerleiher);
        m_ui->listVerleiher->selectData(extId);
    }
    chooseFirm();
    markChanged();
}

void CPlanTransportKfzDlg::onEditFirm() {
    std::int32_t extId = m_ui->listVerleiher->selectedData(0);
    if (extId <= 0)
        return;
    const std::int32_t vehicle = m_ui->listKfz->selectedData(-1);
    if (CExtFirmaDlg::showModal(database(), m_profile, kCarHire, extId, this) ==
        QDialog::Accepted) {
        fillFirms();
        {
            const QSignalBlocker quiet(m_ui->listVerleiher);
            m_ui->listVerleiher->selectData(extId);
        }
        chooseFirm();
        markChanged();
    }
    // The firm form may have changed the firm's vehicles.
    fillVehicles(vehicle);
}

void CPlanTransportKfzDlg::onNewVehicle() {
    const std::int32_t firm = m_ui->listVerleiher->selectedData(0);
    if (firm <= 0)
        return;
    CFahrzeugDlg vehicle(database(), firm, -1, this);
    if (!vehicle.isReady() || vehicle.exec() != QDialog::Accepted)
        return;
    fillVehicles(vehicle.kfzId());
    markChanged();
}
