#include "CPlanReservierungDlg.h"

#include "core/BaseData.h"
#include "core/Conflicts.h"
#include "core/ListRows.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "masterdata/CHotelDlg.h"
#include "widgets/CPickList.h"
#include "widgets/FormFields.h"

#include "ui_CPlanReservierungDlg.h"

#include <QSignalBlocker>

#include <algorithm>
#include <tuple>

namespace {

const char* const kChoosePerson = "Wählen Sie bitte eine Person aus der Liste.";
const char* const kChooseHotel = "Wählen Sie bitte ein Hotel aus der Liste.";
const char* const kEnterRoom = "Bitte \"ZimmerNr.\" eingeben.";
// The function code is the third column of the person pick list.
constexpr int kFunctionColumn = 2;
// Room numbers are Integer columns.
constexpr int kLowestNumber = -32768;
constexpr int kHighestNumber = 32767;

QString priceText(const std::optional<double>& price) {
    if (!price)
        return QString();
    return QString::number(*price, 'f', 2).replace(u'.', u',');
}

} // namespace

const char* const CPlanReservierungDlg::kAlreadyBooked =
    "Zu diesem Zeitpunkt wurde bereits ein Zimmer für diese Person geplant.";
const char* const CPlanReservierungDlg::kDepartureBeforeArrival =
    "Abreisedatum muß größer als Anreisedatum sein.";

CPlanReservierungDlg::CPlanReservierungDlg(CDatabase& db, std::int32_t eventId,
                                           std::int32_t personId, int function,
                                           const QDateTime& arrival, QWidget* parent)
    : CRecordFormDialog(db, CSetEventNacht::definition(), nullptr, 0, parent), m_eventId(eventId),
      m_ui(std::make_unique<Ui::CPlanReservierungDlg>()) {
    m_key.eventId = eventId;
    m_key.person = personId;
    m_key.function = function;
    m_key.arrival = arrival;
    m_ui->setupUi(this);
    m_ui->listPerson->setColumnWidths({m_ui->listPerson->minimumWidth(), 70, 0});
    m_ui->listHotel->setColumnWidths({m_ui->listHotel->minimumWidth(), 0});
    m_ui->labelWaehrung->setText(BaseData::currency(db));
    try {
        m_defaults = OvernightPlan::readDefaults(db, eventId);
    } catch (const CDaoException& error) {
        MessageService::stop(parent ? parent : this, error.description());
    }

    FieldBindings& f = fields();
    m_arrival = f.add<DateTimeBinding>(m_ui->editAnreiseDatum, m_ui->timeAnreise, "Anreise");
    m_departure = f.add<DateTimeBinding>(m_ui->editAbreiseDatum, m_ui->timeAbreise, "Abreise");
    f.add<MemoBinding>(m_ui->editBemerkungen, "Bemerkungen");
    loadRow();

    connect(m_ui->listPerson, &QComboBox::activated, this, [this] { setChanged(); });
    connect(m_ui->listHotel, &QComboBox::activated, this, [this] {
        chooseHotel();
        showRoom();
        setChanged();
    });
    connect(m_ui->editZimmerNr, &QLineEdit::textEdited, this, [this] { showRoom(); });
    connect(m_ui->buttonNeuHotel, &QPushButton::clicked, this, &CPlanReservierungDlg::onNewHotel);
    connect(m_ui->buttonBearbeitenHotel, &QPushButton::clicked, this,
            &CPlanReservierungDlg::onEditHotel);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CPlanReservierungDlg::~CPlanReservierungDlg() = default;

QString CPlanReservierungDlg::rowFilter(std::int32_t) const {
    return OvernightPlan::stayFilter(m_key);
}

void CPlanReservierungDlg::showNewRow() {
    m_room = OvernightPlan::Room();
    for (const auto& [date, time, moment] :
         {std::make_tuple(m_ui->editAnreiseDatum, m_ui->timeAnreise, m_defaults.arrival),
          std::make_tuple(m_ui->editAbreiseDatum, m_ui->timeAbreise, m_defaults.departure)}) {
        FormFields::setDate(date, moment.date());
        const QSignalBlocker quiet(time);
        time->setTime(moment.time());
    }
    fillPersons(-1, 0);
    fillHotels(-1);
    m_ui->listHotel->setCurrentIndex(-1);
    chooseHotel();
    FormFields::setText(m_ui->editZimmerNr, QString());
    FormFields::setText(m_ui->editPreis, QString());
    showRoom();
}

void CPlanReservierungDlg::showRow(const CRecordset& row) {
    OvernightPlan::StayKey shown = m_key;
    shown.person = row.getLong("PersonID");
    shown.function = row.getInt("Funktion");
    shown.arrival = row.getDate("Anreise");
    OvernightPlan::Room room;
    room.hotel = row.getLong("HotelID");
    room.number = row.getInt("ZimmerNr");
    // A row shown with the user's changes merged in (being edited) is still found, and its room
    // still settled, by what is stored.
    if (!row.isEditing()) {
        m_key = shown;
        m_room = room;
    }
    // A stay without its dates starts from the event's.
    for (const auto& [column, date, time, moment] :
         {std::make_tuple("Anreise", m_ui->editAnreiseDatum, m_ui->timeAnreise,
                          m_defaults.eventBegin),
          std::make_tuple("Abreise", m_ui->editAbreiseDatum, m_ui->timeAbreise,
                          m_defaults.dayAfterEnd)}) {
        if (!row.isNull(column))
            continue;
        FormFields::setDate(date, moment.date());
        const QSignalBlocker quiet(time);
        time->setTime(moment.time());
    }
    fillPersons(shown.person, shown.function);
    selectPerson(shown.person, shown.function);
    fillHotels(room.hotel);
    {
        const QSignalBlocker quiet(m_ui->listHotel);
        if (!m_ui->listHotel->selectData(room.hotel))
            m_ui->listHotel->setCurrentIndex(-1);
    }
    chooseHotel();
    FormFields::setText(m_ui->editZimmerNr,
                        room.number > 0 ? QString::number(room.number) : QString());
    FormFields::setText(m_ui->editPreis, QString());
    showRoom();
}

void CPlanReservierungDlg::fillPersons(std::int32_t inUse, int inUseFunction) {
    CPickList& list = *m_ui->listPerson;
    const QSignalBlocker quiet(&list);
    list.clearRows();
    try {
        std::vector<OvernightPlan::Person> persons =
            OvernightPlan::readPersons(database(), m_eventId);
        // The person of this stay stays listed when no longer travelling with the event.
        if (inUse > 0) {
            const bool listed = std::any_of(persons.begin(), persons.end(), [&](const auto& p) {
                return p.id == inUse && p.function == inUseFunction;
            });
            if (!listed) {
                if (std::optional<OvernightPlan::Person> person =
                        OvernightPlan::readPerson(database(), inUse, inUseFunction))
                    persons.push_back(*person);
            }
        }
        for (const OvernightPlan::Person& person : persons)
            list.addRow({person.name, OvernightPlan::functionText(person.function),
                         QString::number(person.function)},
                        person.id);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    list.setCurrentIndex(-1);
}

void CPlanReservierungDlg::presetPerson(std::int32_t id, int function) {
    if (m_key.person < 0)
        selectPerson(id, function);
}

bool CPlanReservierungDlg::selectPerson(std::int32_t id, int function) {
    CPickList& list = *m_ui->listPerson;
    const QSignalBlocker quiet(&list);
    // A musician and a firm may carry the same key: the function tells them apart.
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.rowData(row) == id && list.text(row, kFunctionColumn).toInt() == function) {
            list.setCurrentIndex(row);
            return true;
        }
    }
    list.setCurrentIndex(-1);
    return false;
}

void CPlanReservierungDlg::fillHotels(std::int32_t inUse) {
    CPickList& list = *m_ui->listHotel;
    const QSignalBlocker quiet(&list);
    const std::int32_t selected = list.selectedData(-1);
    list.clearRows();
    try {
        // Live hotels, and the one of this stay even when deleted since.
        CSetHotel hotels(database());
        for (hotels.open(QString::asprintf("([fDeleted]=False OR [HotelID]=%ld)", long(inUse)),
                         QStringLiteral("[Name]"));
             !hotels.atEnd(); hotels.moveNext()) {
            const QString name = hotels.getText("Name");
            const QString town = hotels.getText("Ort");
            list.addRow({town.isEmpty() ? name : name + QStringLiteral(", ") + town},
                        hotels.getLong("HotelID"));
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    if (selected < 0 || !list.selectData(selected))
        list.setCurrentIndex(-1);
}

void CPlanReservierungDlg::chooseHotel() {
    QLineEdit* const details[] = {m_ui->editStrasse, m_ui->editPLZOrt, m_ui->editTel,
                                  m_ui->editHandy,   m_ui->editFax,    m_ui->editEmail};
    for (QLineEdit* detail : details)
        detail->clear();
    const std::int32_t key = m_ui->listHotel->selectedData(0);
    m_ui->buttonBearbeitenHotel->setEnabled(key > 0);
    if (key <= 0)
        return;
    try {
        CSetHotel hotel(database());
        hotel.open(QString::asprintf("[HotelID]=%ld", long(key)));
        if (hotel.atEnd())
            return;
        m_ui->editStrasse->setText(hotel.getText("Strasse"));
        m_ui->editPLZOrt->setText(
            ListTexts::postcodeAndTown(hotel.getText("PLZ"), hotel.getText("Ort")));
        m_ui->editTel->setText(hotel.getText("Tel"));
        m_ui->editHandy->setText(hotel.getText("Telm"));
        m_ui->editFax->setText(hotel.getText("Fax"));
        m_ui->editEmail->setText(hotel.getText("Email"));
        for (QLineEdit* detail : details)
            detail->setCursorPosition(0);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

OvernightPlan::Room CPlanReservierungDlg::chosenRoom() const {
    OvernightPlan::Room room;
    room.hotel = m_ui->listHotel->selectedData(0);
    bool ok = false;
    const int number = m_ui->editZimmerNr->text().trimmed().toInt(&ok);
    room.number = ok ? number : 0;
    return room;
}

void CPlanReservierungDlg::showRoom() {
    const OvernightPlan::Room room = chosenRoom();
    int guests = 0;
    std::optional<double> price;
    if (room.isRoom()) {
        try {
            guests = OvernightPlan::occupants(database(), m_eventId, room);
            price = OvernightPlan::roomPrice(database(), m_eventId, room);
        } catch (const CDaoException& error) {
            MessageService::stop(this, error.description());
        }
    }
    m_priceShown = price;
    m_ui->editAnzPers->setText(room.isRoom() ? QString::number(guests) : QString());
    // A price the user typed is his; otherwise a booked room's stored price is shown. A room
    // nobody is booked into yet has no price of its own: the price shown goes with the guest
    // who moves there.
    if (!m_ui->editPreis->isModified() && guests > 0)
        FormFields::setText(m_ui->editPreis, priceText(price));
}

bool CPlanReservierungDlg::checkInput() {
    if (m_arrival->value().date() >= m_departure->value().date()) {
        MessageService::stop(this, QString::fromUtf8(kDepartureBeforeArrival));
        m_ui->editAbreiseDatum->setFocus(Qt::OtherFocusReason);
        m_ui->editAbreiseDatum->selectAll();
        return false;
    }
    const int person = m_ui->listPerson->currentIndex();
    if (person < 0) {
        MessageService::exclamation(this, QString::fromUtf8(kChoosePerson));
        m_ui->listPerson->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (m_ui->listHotel->currentIndex() < 0) {
        MessageService::exclamation(this, QString::fromUtf8(kChooseHotel));
        m_ui->listHotel->setFocus(Qt::OtherFocusReason);
        return false;
    }
    int number = 0;
    if (!m_ui->editZimmerNr->text().trimmed().isEmpty() &&
        !readWholeNumber(m_ui->editZimmerNr, kLowestNumber, kHighestNumber, number))
        return false;
    if (number <= 0) {
        MessageService::exclamation(this, QString::fromUtf8(kEnterRoom));
        m_ui->editZimmerNr->setFocus(Qt::OtherFocusReason);
        m_ui->editZimmerNr->selectAll();
        return false;
    }
    std::optional<double> price;
    if (!FormFields::readDecimal(m_ui->editPreis, price))
        return false;

    m_chosenPerson = m_ui->listPerson->rowData(person);
    m_chosenFunction = m_ui->listPerson->text(person, kFunctionColumn).toInt();
    m_chosenRoom.hotel = m_ui->listHotel->selectedData(0);
    m_chosenRoom.number = number;
    // A price left as shown leaves the room's price as it is.
    m_priceEntered = m_ui->editPreis->isModified();
    m_price = price;
    return Conflicts::confirmSave(this, [this] {
        return Conflicts::travellers(database(), m_eventId, {{m_chosenPerson, m_chosenFunction}});
    });
}

void CPlanReservierungDlg::storeRow(CRecordset& row, bool) {
    row.setLong("EventID", m_eventId);
    row.setLong("PersonID", m_chosenPerson);
    row.setLong("Funktion", m_chosenFunction);
    row.setLong("HotelID", m_chosenRoom.hotel);
    if (m_chosenRoom.number > 0)
        row.setLong("ZimmerNr", m_chosenRoom.number);
    else
        row.setNull("ZimmerNr");
}

void CPlanReservierungDlg::storeDependents(const CRecordset& row, bool) {
    OvernightPlan::settleRooms(database(), m_eventId, m_room, m_chosenRoom, m_priceEntered, m_price,
                               m_priceShown);
    // From now on the stay is found by what was stored.
    m_key.person = row.getLong("PersonID");
    m_key.function = row.getInt("Funktion");
    m_key.arrival = row.getDate("Anreise");
    m_room = m_chosenRoom;
}

bool CPlanReservierungDlg::save() {
    // A save that fails leaves the stay to be found as before.
    const OvernightPlan::StayKey key = m_key;
    const OvernightPlan::Room room = m_room;
    if (CRecordFormDialog::save())
        return true;
    m_key = key;
    m_room = room;
    return false;
}

QString CPlanReservierungDlg::fieldLabel(const QString& table, const QString& column) const {
    if (table == QLatin1String(CSetNachtZimmer::definition().name()) &&
        column == QLatin1String("Preis"))
        return labelOf(m_ui->editPreis);
    return CRecordFormDialog::fieldLabel(table, column);
}

QString CPlanReservierungDlg::refusalText(const CDaoException& error) {
    if (error.code() == CDaoException::DuplicateKey)
        return QString::fromUtf8(kAlreadyBooked);
    return CRecordFormDialog::refusalText(error);
}

void CPlanReservierungDlg::onNewHotel() {
    CHotelDlg hotel(database(), -1, this);
    if (!hotel.isReady() || hotel.exec() != QDialog::Accepted)
        return;
    fillHotels(m_room.hotel);
    {
        const QSignalBlocker quiet(m_ui->listHotel);
        m_ui->listHotel->selectData(hotel.hotelId());
    }
    chooseHotel();
    showRoom();
    setChanged();
}

void CPlanReservierungDlg::onEditHotel() {
    const std::int32_t key = m_ui->listHotel->selectedData(0);
    if (key <= 0)
        return;
    CHotelDlg hotel(database(), key, this);
    if (!hotel.isReady() || hotel.exec() != QDialog::Accepted)
        return;
    // The hotel's name or town may have changed.
    fillHotels(m_room.hotel);
    chooseHotel();
}
