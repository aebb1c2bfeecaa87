#include "CKostenDlg.h"

#include "CKostenBuchenDlg.h"
#include "core/ChangeNotifier.h"
#include "core/ListRows.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "planning/CPlanUebernachtungDlg.h"
#include "resources/Strings.h"
#include "widgets/CReportList.h"

#include "ui_CKostenDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <map>
#include <set>

namespace {

// The line naming a hire firm: name, postcode, town and street as far as they are known.
QString firmLine(const CRecordset& row) {
    QString line =
        row.getBool("fPrivat")
            ? ListTexts::joined(row.getText("Vorname"), row.getText("Name"), QStringLiteral(" "))
            : row.getText("Firma");
    if (!row.isNull("PLZ"))
        line += QStringLiteral(", ") + row.getText("PLZ");
    if (!row.isNull("Ort"))
        line += QLatin1Char(' ') + row.getText("Ort");
    if (!row.isNull("Strasse"))
        line += QStringLiteral(", ") + row.getText("Strasse");
    return line;
}

QStringList firmTax(const CRecordset& row) {
    return {row.getText("SteuerNr"), row.getText("Finanzamt"), row.getText("Bank"),
            row.getText("Konto"), row.getText("BLZ")};
}

QLabel* buddyLabel(const char* text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setBuddy(buddy);
    return label;
}

} // namespace

// --- the frame ----------------------------------------------------------------------------

int CKostenDlg::showArea(CDatabase& db, CProfileFile& profile, int costGroup, std::int32_t eventId,
                         Finance::VatMode mode, QWidget* parent) {
    std::optional<PlanningContext> event;
    try {
        event = PlanningContext::read(db, eventId);
    } catch (const CDaoException& error) {
        MessageService::stop(parent, error.description());
        return QDialog::Rejected;
    }
    if (!event)
        return QDialog::Rejected;
    std::unique_ptr<CKostenDlg> form;
    switch (costGroup) {
    case Finance::Personnel:
        form = std::make_unique<CKostenPersonalDlg>(db, profile, *event, mode, parent);
        break;
    case Finance::PAHire:
        form = std::make_unique<CKostenFirmaDlg>(db, profile, CKostenFirmaDlg::kPA, *event, mode,
                                                 parent);
        break;
    case Finance::LightHire:
        form = std::make_unique<CKostenFirmaDlg>(db, profile, CKostenFirmaDlg::kLight, *event, mode,
                                                 parent);
        break;
    case Finance::Overnight:
        form = std::make_unique<CKostenHotelDlg>(db, profile, *event, mode, parent);
        break;
    case Finance::Transport:
    case Finance::Expenses:
        form = std::make_unique<CKostenListeDlg>(db, profile, costGroup, *event, mode, parent);
        break;
    default:
        return QDialog::Rejected;
    }
    const int result = form->exec();
    Changes::planning(eventId);
    return result;
}

CKostenDlg::CKostenDlg(CDatabase& db, CProfileFile& profile, int costGroup,
                       const PlanningContext& event, Finance::VatMode mode, QWidget* parent)
    : CFormDialog(db, parent), m_db(db), m_profile(profile), m_costGroup(costGroup), m_event(event),
      m_mode(mode), m_ui(std::make_unique<Ui::CKostenDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupBudget->setTitle(m_ui->groupBudget->title() + Finance::modeSuffix(mode));
    try {
        m_base = BaseData::read(db);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    for (QLabel* label : {m_ui->labelW1, m_ui->labelW2, m_ui->labelW3, m_ui->labelW4})
        label->setText(m_base.currencyShort);
    m_ui->groupEvent->setEvent(event);
    m_ui->groupStatus->loadAccounting(db, event.eventId, costGroup);

    connect(m_ui->groupKosten, &CBookingGroup::changed, this, [this] {
        m_bookingTouched = true;
        setChanged();
    });
    connect(m_ui->groupKosten, &CBookingGroup::amountChanged, this, &CKostenDlg::showLiveBudget);
    connect(m_ui->groupStatus, &CPlanningStatusGroup::touched, this, [this] { setChanged(); });
}

CKostenDlg::~CKostenDlg() = default;

QVBoxLayout* CKostenDlg::partyLayout() const {
    return m_ui->layoutParty;
}

void CKostenDlg::done(int result) {
    for (CReportList* list : m_lists)
        list->saveWidths();
    CFormDialog::done(result);
}

void CKostenDlg::refreshBudget() {
    m_summaryValid = false;
    try {
        m_summary = Finance::BudgetSummary::compute(m_db, m_event.eventId, m_base, m_mode);
        m_summaryValid = true;
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    showLiveBudget();
}

void CKostenDlg::showLiveBudget() {
    QLineEdit* const fields[] = {m_ui->editSummePersonal, m_ui->editSummeSach,
                                 m_ui->editBudgetGesamt, m_ui->editBudgetRest};
    if (!m_summaryValid) {
        for (QLineEdit* field : fields)
            field->clear();
        return;
    }
    // What the typed amount adds to the costs, compared with the stored booking.
    double difference = 0;
    if (m_ui->groupKosten->isVisibleTo(this) && m_costGroup != Finance::Overnight)
        difference = m_ui->groupKosten->typedDisplayAmount(m_mode) - m_storedDisplay;
    const bool personnel = livePersonnel();
    m_ui->editSummePersonal->setText(
        Finance::formatAmount(m_summary.personnel + (personnel ? difference : 0)));
    m_ui->editSummeSach->setText(
        Finance::formatAmount(m_summary.material + (personnel ? 0 : difference)));
    m_ui->editBudgetGesamt->setText(Finance::formatAmount(m_summary.total));
    m_ui->editBudgetRest->setText(Finance::formatAmount(m_summary.rest() - difference));
}

void CKostenDlg::showTax(const QStringList& texts) {
    QLineEdit* const fields[] = {m_ui->editSteuerNr, m_ui->editFinanzamt, m_ui->editBank,
                                 m_ui->editKonto, m_ui->editBLZ};
    for (int index = 0; index < 5; ++index) {
        fields[index]->setText(texts.value(index));
        // A long bank name shows its beginning.
        fields[index]->setCursorPosition(0);
    }
}

void CKostenDlg::hideBookingFields() {
    m_ui->groupKosten->hide();
    m_ui->widgetTax->hide();
}

bool CKostenDlg::bookingEdited() const {
    if (m_bookingTouched)
        return true;
    for (QLineEdit* edit : m_ui->groupKosten->findChildren<QLineEdit*>()) {
        if (edit->isModified())
            return true;
    }
    for (QPlainTextEdit* edit : m_ui->groupKosten->findChildren<QPlainTextEdit*>()) {
        if (edit->document()->isModified())
            return true;
    }
    return false;
}

void CKostenDlg::showBooking(const CRecordset* row) {
    m_bookingTouched = false;
    if (row) {
        m_financeId = row->getLong("FinanzID");
        m_ui->groupKosten->load(*row);
        m_storedDisplay = Finance::displayAmount(*row, m_base, m_mode);
    } else {
        m_financeId = 0;
        m_ui->groupKosten->clear();
        m_storedDisplay = 0;
    }
    showLiveBudget();
}

bool CKostenDlg::storeBooking(int costCentre, std::int32_t partyId) {
    if (!m_ui->groupKosten->read())
        return false;
    CSetEventFinanzen row(m_db);
    try {
        if (m_financeId > 0)
            row.open(QString::asprintf("[FinanzID]=%ld", long(m_financeId)));
        else
            row.open(QStringLiteral("[FinanzID]=0"));
        // A booking deleted meanwhile is written anew: what was typed is not lost.
        if (row.atEnd()) {
            row.addNew();
            row.setLong("EventID", m_event.eventId);
            row.setInt("Kostengruppe", m_costGroup);
            row.setInt("Kostenstelle", costCentre);
            row.setLong("ID", partyId);
        } else {
            row.edit();
        }
        m_ui->groupKosten->store(row);
        storeExtra(row);
        row.update();
        row.moveToBookmark(row.lastModified());
    } catch (const CDaoException& error) {
        if (row.isEditing())
            row.cancelUpdate();
        MessageService::stop(this, error.description());
        return false;
    }
    m_financeId = row.getLong("FinanzID");
    m_storedDisplay = Finance::displayAmount(row, m_base, m_mode);
    m_savedWhileOpen = true;
    m_bookingTouched = false;
    return true;
}

// --- light and PA hire --------------------------------------------------------------------

const CKostenFirmaDlg::Hire CKostenFirmaDlg::kLight = {
    Finance::LightHire,   Finance::CentreLight, 4,
    "Kosten Lichtanlage", "Lichtanlage (LA)",   "LA-Verleiher",
    "LA Beschreibung",    "Bemerkungen",        0};
const CKostenFirmaDlg::Hire CKostenFirmaDlg::kPA = {
    Finance::PAHire,   Finance::CentrePA, 3, "Kosten PA", "PA", "PA-Verleiher",
    "PA Beschreibung", "EBemerkung",      -1};

CKostenFirmaDlg::CKostenFirmaDlg(CDatabase& db, CProfileFile& profile, const Hire& hire,
                                 const PlanningContext& event, Finance::VatMode mode,
                                 QWidget* parent)
    : CKostenDlg(db, profile, hire.costGroup, event, mode, parent), m_hire(hire) {
    setWindowTitle(QString::fromUtf8(hire.title));
    ui().groupParty->setTitle(QString::fromUtf8(hire.groupTitle));
    m_firm = new QLineEdit;
    m_firm->setReadOnly(true);
    m_description = new QPlainTextEdit;
    m_description->setReadOnly(true);
    m_description->setMaximumHeight(50);
    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(hire.firmLabel, m_firm), 0, 0);
    grid->addWidget(m_firm, 0, 1);
    grid->addWidget(buddyLabel(hire.descriptionLabel, m_description), 1, 0);
    grid->addWidget(m_description, 1, 1);
    partyLayout()->addLayout(grid);
    ui().groupKosten->setUp(CBookingGroup::Setup(), base());
    connect(ui().buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);

    loadParty();
    loadBooking();
    refreshBudget();
    markSaved();
}

void CKostenFirmaDlg::loadParty() {
    m_party = m_hire.noParty;
    try {
        CSetAbfrEventExtFirma row(database());
        row.open(QString::asprintf("[EventID]=%ld AND [Art]=%d", long(event().eventId),
                                   m_hire.firmKind));
        if (row.atEnd())
            return;
        m_party = row.getLong("ExtID");
        // Present equipment has no firm to show.
        if (m_party <= 0)
            return;
        m_firm->setText(firmLine(row));
        m_firm->setCursorPosition(0);
        m_description->setPlainText(row.getText(m_hire.descriptionColumn));
        showTax(firmTax(row));
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

void CKostenFirmaDlg::loadBooking() {
    try {
        CSetEventFinanzen row(database());
        row.open(QString::asprintf(
            "[EventID]=%ld AND [Kostengruppe]=%d AND [Kostenstelle]=%d AND [ID]=%ld",
            long(event().eventId), m_hire.costGroup, m_hire.costCentre, long(m_party)));
        showBooking(row.atEnd() ? nullptr : &row);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        showBooking(nullptr);
    }
}

bool CKostenFirmaDlg::save() {
    if (!storeBooking(m_hire.costCentre, m_party))
        return false;
    // Asked at every save unless the user chose the status.
    const bool stored = ui().groupStatus->store(true);
    refreshBudget();
    return stored;
}

// --- personnel ----------------------------------------------------------------------------

CKostenPersonalDlg::CKostenPersonalDlg(CDatabase& db, CProfileFile& profile,
                                       const PlanningContext& event, Finance::VatMode mode,
                                       QWidget* parent)
    : CKostenDlg(db, profile, Finance::Personnel, event, mode, parent) {
    setWindowTitle(QStringLiteral("Personalkosten"));
    ui().groupParty->setTitle(QStringLiteral("Personal"));
    m_list = new CReportList;
    m_list->setObjectName(QStringLiteral("listPersonal"));
    m_list->setUp(profile, Settings::FinPerson,
                  {QStringLiteral("Crew"), QStringLiteral("Funktion")});
    m_list->setMinimumHeight(120);
    m_lists.push_back(m_list);
    partyLayout()->addWidget(m_list);
    CBookingGroup::Setup setup;
    setup.amountLabel = "Auszahlung";
    setup.paymentDateLabel = "ausgezahlt am";
    setup.receiptText = "Unkostenvergütungsbeleg";
    setup.numberWithReceipt = true;
    ui().groupKosten->setUp(setup, base());
    connect(ui().buttonEnde, &QPushButton::clicked, this, [this] {
        // Only "&Ende" asks whether the accounting is complete; Escape and the close box do not.
        m_closingByEnde = true;
        onEnde();
        m_closingByEnde = false;
    });
    // Whichever way the highlighted person changes (mouse, keys, code), the booking shown follows.
    connect(m_list, &QTreeWidget::currentItemChanged, this, &CKostenPersonalDlg::onPersonChanged);

    refreshBudget();
    fillList(-1);
}

int CKostenPersonalDlg::costCentre(const Person& person) const {
    return person.kind == 0   ? Finance::CentreMusician
           : person.kind == 1 ? Finance::CentreTechnician
                              : Finance::CentreBackliner;
}

void CKostenPersonalDlg::fillList(int select) {
    const std::int32_t selectedKey =
        select >= 0 && size_t(select) < m_persons.size() ? m_persons[size_t(select)].key : -1;
    const int selectedKind =
        select >= 0 && size_t(select) < m_persons.size() ? m_persons[size_t(select)].kind : -1;
    m_persons.clear();
    std::set<std::pair<int, std::int32_t>> booked;
    const long eventId = long(event().eventId);
    try {
        CSetEventFinanzen bookings(database());
        for (bookings.open(QString::asprintf("[EventID]=%ld AND [Kostengruppe]=%d", eventId,
                                             int(Finance::Personnel)));
             !bookings.atEnd(); bookings.moveNext()) {
            if (!bookings.isNull("Auszahlung") && bookings.getSingle("Auszahlung") > 0)
                booked.insert({bookings.getInt("Kostenstelle"), bookings.getLong("ID")});
        }
        CSetAbfrEventBesetzung musicians(database());
        for (musicians.open(QString::asprintf("[EventID]=%ld", eventId), QStringLiteral("[MName]"));
             !musicians.atEnd(); musicians.moveNext())
            m_persons.push_back(
                {0, musicians.getLong("MusikerID"),
                 ListTexts::joined(musicians.getText("MName"), musicians.getText("MVorname"),
                                   QStringLiteral(", ")),
                 QStringLiteral("Musiker")});
        for (const auto& [firmKind, function] :
             {std::pair<int, const char*>{1, "Techniker"}, {2, "Backliner"}}) {
            CSetAbfrEventExtFirma firm(database());
            firm.open(QString::asprintf("[EventID]=%ld AND [Art]=%d", eventId, firmKind));
            if (firm.atEnd() || firm.getBool("bVorhanden") || firm.getLong("ExtID") <= 0)
                continue;
            const QString name = ListTexts::firmName(firm.getBool("fPrivat"), firm.getText("Firma"),
                                                     firm.getText("Name"), firm.getText("Vorname"));
            m_persons.push_back(
                {firmKind, firm.getLong("ExtID"), name, QString::fromUtf8(function)});
        }
    } catch (const CDaoException& error) {
        // The list shows what could be read.
        MessageService::stop(this, error.description());
    }
    const QSignalBlocker quiet(m_list);
    m_list->clearRows();
    int row = 0;
    int toSelect = -1;
    for (const Person& person : m_persons) {
        const bool hasBooking = booked.count({costCentre(person), person.key}) > 0;
        m_list->addRow(
            {(hasBooking ? QStringLiteral("* ") : QString()) + person.name, person.function}, row);
        if (person.kind == selectedKind && person.key == selectedKey)
            toSelect = row;
        ++row;
    }
    if (toSelect < 0 && !m_persons.empty())
        toSelect = 0;
    if (toSelect >= 0)
        m_list->selectKey(toSelect);
    choosePerson(toSelect);
}

void CKostenPersonalDlg::choosePerson(int index) {
    m_current = index;
    if (index < 0) {
        showBooking(nullptr);
        showTax({});
        markSaved();
        if (ui().groupStatus->isTouched())
            setChanged();
        return;
    }
    const Person& person = m_persons[size_t(index)];
    try {
        CSetEventFinanzen row(database());
        row.open(QString::asprintf(
            "[EventID]=%ld AND [Kostengruppe]=%d AND [Kostenstelle]=%d AND [ID]=%ld",
            long(event().eventId), int(Finance::Personnel), costCentre(person), long(person.key)));
        showBooking(row.atEnd() ? nullptr : &row);
        if (person.kind == 0) {
            CSetStammMusiker musician(database());
            musician.open(QString::asprintf("[MusikerID]=%ld", long(person.key)));
            showTax(musician.atEnd()
                        ? QStringList()
                        : QStringList{musician.getText("MSteuerNr"), musician.getText("MFinanzamt"),
                                      musician.getText("MBank"), musician.getText("MKonto"),
                                      musician.getText("MBLZ")});
        } else {
            CSetStammExtFirma firm(database());
            firm.open(QString::asprintf("[Art]=%d AND [ExtID]=%ld", person.kind, long(person.key)));
            showTax(firm.atEnd() ? QStringList() : firmTax(firm));
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        showBooking(nullptr);
    }
    markSaved();
    // A status clicked stays to be saved at "&Ende".
    if (ui().groupStatus->isTouched())
        setChanged();
}

void CKostenPersonalDlg::onPersonChanged(QTreeWidgetItem* current) {
    const int wanted = current ? current->data(0, Qt::UserRole).toInt() : -1;
    if (wanted == m_current)
        return;
    // The booking of the person left is saved first when it was edited; the status is the
    // form's and waits for "&Ende".
    if (bookingEdited()) {
        const MessageService::Answer answer =
            MessageService::askYesNoCancel(this, QString::fromUtf8(kSaveQuestion));
        if (answer == MessageService::Answer::Cancel ||
            (answer == MessageService::Answer::Yes && !save())) {
            const QSignalBlocker quiet(m_list);
            m_list->selectKey(m_current);
            return;
        }
        // After a save the list was built again; the wanted person is still at its place.
        const QSignalBlocker quiet(m_list);
        m_list->selectKey(wanted);
    }
    choosePerson(wanted);
}

bool CKostenPersonalDlg::save() {
    if (m_current < 0) {
        if (ui().groupStatus->isTouched())
            return ui().groupStatus->storeChecked();
        return true;
    }
    // A touched status alone stores no booking for the person shown.
    if (bookingEdited()) {
        const Person person = m_persons[size_t(m_current)];
        if (!storeBooking(costCentre(person), person.key))
            return false;
    }
    if (ui().groupStatus->isTouched() && !ui().groupStatus->storeChecked())
        return false;
    refreshBudget();
    fillList(m_current);
    return true;
}

void CKostenPersonalDlg::done(int result) {
    if (m_closingByEnde && m_savedWhileOpen && !ui().groupStatus->isTouched()) {
        ui().groupStatus->storeAfterQuestion();
        m_savedWhileOpen = false;
    }
    CKostenDlg::done(result);
}

// --- overnight stays ----------------------------------------------------------------------

CKostenHotelDlg::CKostenHotelDlg(CDatabase& db, CProfileFile& profile, const PlanningContext& event,
                                 Finance::VatMode mode, QWidget* parent)
    : CKostenDlg(db, profile, Finance::Overnight, event, mode, parent) {
    setWindowTitle(QStringLiteral("Übernachtungskosten"));
    ui().groupParty->setTitle(QStringLiteral("Übernachtungen"));
    m_rooms = new CReportList;
    m_rooms->setObjectName(QStringLiteral("listZimmer"));
    m_rooms->setUp(profile, Settings::AccntHotel,
                   {QStringLiteral("Hotel"), QStringLiteral("Zimmer"), QStringLiteral("Personen"),
                    QStringLiteral("Nächte"), QStringLiteral("Preis"), QStringLiteral("Gesamt")});
    m_rooms->setMinimumHeight(120);
    m_lists.push_back(m_rooms);
    partyLayout()->addWidget(m_rooms);
    m_organiserPays = new QCheckBox(QStringLiteral("Übernachtungskosten trägt Veranstalter"));
    auto* edit = new QPushButton(QStringLiteral("&Buchungen bearbeiten..."));
    edit->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addWidget(m_organiserPays);
    row->addStretch();
    row->addWidget(edit);
    partyLayout()->addLayout(row);
    CBookingGroup::Setup setup;
    setup.amountLabel = "Preis ges.";
    setup.vatChoice = false;
    ui().groupKosten->setUp(setup, base());
    if (auto* amount = qobject_cast<QLineEdit*>(ui().groupKosten->amountField()))
        amount->setReadOnly(true);
    ui().widgetTax->hide();

    connect(ui().buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
    connect(m_organiserPays, &QCheckBox::clicked, this, [this] { setChanged(); });
    // The overnight planning books the stays and keeps a stored booking's amount with them; the
    // rooms are read again when it closes.
    const auto planStays = [this] {
        {
            CPlanUebernachtungDlg planning(database(), this->profile(), this->event(), this);
            planning.exec();
        }
        Changes::planning(this->event().eventId);
        fillRooms();
        refreshBudget();
    };
    connect(edit, &QPushButton::clicked, this, planStays);
    connect(m_rooms, &QTreeWidget::itemDoubleClicked, this, planStays);

    fillRooms();
    loadBooking();
    refreshBudget();
    markSaved();
}

void CKostenHotelDlg::fillRooms() {
    m_rooms->clearRows();
    m_roomsTotal = 0;
    const long eventId = long(event().eventId);
    try {
        std::map<std::int32_t, QString> hotels;
        CSetNachtZimmer rooms(database());
        int index = 0;
        for (rooms.open(QString::asprintf("[EventID]=%ld", eventId),
                        QStringLiteral("[HotelID], [ZimmerNr]"));
             !rooms.atEnd(); rooms.moveNext(), ++index) {
            const std::int32_t hotelId = rooms.getLong("HotelID");
            const int number = rooms.getInt("ZimmerNr");
            if (!hotels.count(hotelId)) {
                CSetHotel hotel(database());
                hotel.open(QString::asprintf("[HotelID]=%ld", long(hotelId)));
                hotels[hotelId] = hotel.atEnd() ? QString() : hotel.getText("Name");
            }
            // The persons of the room, each once, in the order of their keys.
            QStringList persons;
            std::set<std::pair<int, std::int32_t>> seen;
            CSetEventNacht stays(database());
            for (stays.open(QString::asprintf("[EventID]=%ld AND [HotelID]=%ld AND [ZimmerNr]=%d",
                                              eventId, long(hotelId), number),
                            QStringLiteral("[PersonID]"));
                 !stays.atEnd(); stays.moveNext()) {
                const int function = stays.getInt("Funktion");
                const std::int32_t person = stays.getLong("PersonID");
                if (!seen.insert({function, person}).second)
                    continue;
                if (function == 0) {
                    CSetStammMusiker musician(database());
                    musician.open(QString::asprintf("[MusikerID]=%ld", long(person)));
                    if (!musician.atEnd())
                        persons << ListTexts::joined(musician.getText("MVorname"),
                                                     musician.getText("MName"),
                                                     QStringLiteral(" "));
                } else {
                    CSetStammExtFirma firm(database());
                    firm.open(
                        QString::asprintf("[Art]=%d AND [ExtID]=%ld", function, long(person)));
                    if (!firm.atEnd())
                        persons << (firm.getBool("fPrivat")
                                        ? ListTexts::joined(firm.getText("Vorname"),
                                                            firm.getText("Name"),
                                                            QStringLiteral(" "))
                                        : firm.getText("Firma"));
                }
            }
            const int nights = Finance::roomNights(database(), event().eventId, hotelId, number);
            const double price = rooms.isNull("Preis") ? 0.0 : rooms.getSingle("Preis");
            const double total = Finance::roomTotal(nights, price);
            m_roomsTotal += total;
            m_rooms->addRow({hotels[hotelId], number >= 1 ? QString::number(number) : QString(),
                             persons.join(QStringLiteral(", ")), QString::number(nights),
                             Finance::formatAmount(price), Finance::formatAmount(total)},
                            index);
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    if (auto* amount = qobject_cast<QLineEdit*>(ui().groupKosten->amountField()))
        amount->setText(Finance::formatAmount(m_roomsTotal));
}

void CKostenHotelDlg::loadBooking() {
    try {
        CSetEventFinanzen row(database());
        row.open(QString::asprintf("[EventID]=%ld AND [Kostengruppe]=%d AND [Kostenstelle]=%d",
                                   long(event().eventId), int(Finance::Overnight),
                                   int(Finance::CentreOvernight)));
        showBooking(row.atEnd() ? nullptr : &row);
        m_organiserPays->setChecked(!row.atEnd() && row.getBool("fZahltVeranstalter"));
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    // The price shown is that of the rooms as they are now.
    if (auto* amount = qobject_cast<QLineEdit*>(ui().groupKosten->amountField()))
        amount->setText(Finance::formatAmount(m_roomsTotal));
}

void CKostenHotelDlg::storeExtra(CRecordset& row) {
    // The booking holds the rooms as they are stored now, by the finance model's one rule.
    row.setSingle("Auszahlung", Finance::overnightTotal(database(), event().eventId));
    const bool organiser = m_organiserPays->isChecked();
    row.setBool("fZahltVeranstalter", organiser);
    if (organiser) {
        // The organiser pays: the band records no payment.
        for (const char* column : {"ZDatum", "RDatum", "RechnungNr", "ZahlungGegen", "Zahlungsart"})
            row.setNull(column);
    }
}

bool CKostenHotelDlg::save() {
    if (!storeBooking(Finance::CentreOvernight, 0))
        return false;
    const bool stored = ui().groupStatus->store(true);
    refreshBudget();
    return stored;
}

// --- transport and expenses ---------------------------------------------------------------

namespace {

const char* const kCostKinds[] = {"Mietkosten", "Tankbeleg", "Reparaturkosten", "Strassengebühren"};

QString costKindName(int kind) {
    return kind >= 1 && kind <= 4 ? QString::fromUtf8(kCostKinds[kind - 1])
                                  : QStringLiteral("Sonstiges");
}

} // namespace

CKostenListeDlg::CKostenListeDlg(CDatabase& db, CProfileFile& profile, int costGroup,
                                 const PlanningContext& event, Finance::VatMode mode,
                                 QWidget* parent)
    : CKostenDlg(db, profile, costGroup, event, mode, parent) {
    hideBookingFields();
    const bool transport = isTransport();
    setWindowTitle(transport ? QStringLiteral("Transportkosten")
                             : QStringLiteral("Spesen / Sonstiges"));
    const QString amountTitle = QStringLiteral("Betrag ") + Finance::modeText(mode);
    if (transport) {
        ui().groupParty->setTitle(QStringLiteral("Transportmittel"));
        m_vehicles = new CReportList;
        m_vehicles->setObjectName(QStringLiteral("listKfz"));
        m_vehicles->setUp(profile, Settings::AccntTransp1,
                          {QStringLiteral("Typ"), QStringLiteral("Kennzeichen"),
                           QStringLiteral("Kfz Verleiher")});
        m_vehicles->setMaximumHeight(110);
        m_lists.push_back(m_vehicles);
        partyLayout()->addWidget(m_vehicles);
    } else {
        ui().groupParty->setTitle(QStringLiteral("Spesen / Sonstiges"));
    }
    auto* positionsGroup = new QGroupBox(transport ? QStringLiteral("Transportmittel Kosten")
                                                   : QStringLiteral("Positionen"));
    auto* positionsLayout = new QVBoxLayout(positionsGroup);
    m_positions = new CReportList;
    m_positions->setObjectName(QStringLiteral("listPositionen"));
    if (transport)
        m_positions->setUp(profile, Settings::AccntTransp2,
                           {QStringLiteral("Kostenart"), amountTitle,
                            QStringLiteral("BelegNr./RechNr."), QStringLiteral("Bemerkung")});
    else
        m_positions->setUp(profile, Settings::AccntOther,
                           {QStringLiteral("BelegNr./RechNr."), QStringLiteral("Datum"),
                            amountTitle, QStringLiteral("Verwendung")});
    m_positions->setMinimumHeight(140);
    m_lists.push_back(m_positions);
    positionsLayout->addWidget(m_positions);
    m_new = new QPushButton(transport ? QStringLiteral("&Neue Position ...")
                                      : QStringLiteral("Position &Neu..."));
    m_edit = new QPushButton(transport ? QStringLiteral("Position &bearbeiten...")
                                       : QStringLiteral("Position &Bearbeiten..."));
    m_delete = new QPushButton(transport ? QStringLiteral("Position &löschen...")
                                         : QStringLiteral("Position &Löschen"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_new, m_edit, m_delete}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    positionsLayout->addLayout(buttons);
    partyLayout()->addWidget(positionsGroup);

    connect(ui().buttonEnde, &QPushButton::clicked, this, &CKostenListeDlg::onEndeList);
    connect(m_new, &QPushButton::clicked, this, &CKostenListeDlg::onNew);
    connect(m_edit, &QPushButton::clicked, this, &CKostenListeDlg::onEdit);
    connect(m_delete, &QPushButton::clicked, this, &CKostenListeDlg::onDelete);
    connect(m_positions, &QTreeWidget::itemDoubleClicked, this, &CKostenListeDlg::onEdit);
    if (m_vehicles)
        connect(m_vehicles, &QTreeWidget::currentItemChanged, this, [this] { fillPositions(-1); });

    refreshBudget();
    if (m_vehicles)
        fillVehicles();
    fillPositions(-1);
    setChanged(false);
}

bool CKostenListeDlg::isTransport() const {
    return costGroup() == Finance::Transport;
}

void CKostenListeDlg::fillVehicles() {
    const QSignalBlocker quiet(m_vehicles);
    m_vehicles->clearRows();
    try {
        CSetAbfrEventTransport row(database());
        for (row.open(QString::asprintf("[EventID]=%d", int(event().eventId))); !row.atEnd();
             row.moveNext()) {
            const QString firm = ListTexts::firmName(row.getBool("fPrivat"), row.getText("Firma"),
                                                     row.getText("Name"), row.getText("Vorname"));
            m_vehicles->addRow({row.getText("Typ"), row.getText("Kennzeichen"), firm},
                               row.getLong("KfzID"));
            m_vehicleFirms[row.getLong("KfzID")] = row.getLong("VerleiherID");
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    if (m_vehicles->topLevelItemCount() > 0)
        m_vehicles->setCurrentItem(m_vehicles->topLevelItem(0));
}

void CKostenListeDlg::fillPositions(std::int32_t select) {
    m_positions->clearRows();
    const bool transport = isTransport();
    const std::int32_t vehicle = transport ? m_vehicles->selectedKey() : 0;
    if (!transport || vehicle > 0) {
        try {
            CSetEventFinanzen row(database());
            const QString filter =
                transport ? QString::asprintf("[EventID]=%ld AND [Kostengruppe]=%d AND "
                                              "[Kostenstelle]=%d AND [ID]=%ld",
                                              long(event().eventId), int(Finance::Transport),
                                              int(Finance::CentreTransport), long(vehicle))
                          : QString::asprintf("[EventID]=%ld AND [Kostengruppe]=%d AND "
                                              "[Kostenstelle]=%d",
                                              long(event().eventId), int(Finance::Expenses),
                                              int(Finance::CentreExpenses));
            for (row.open(filter); !row.atEnd(); row.moveNext()) {
                const QString amount =
                    row.isNull("Auszahlung")
                        ? QString()
                        : Finance::formatAmount(Finance::displayAmount(row, base(), mode()));
                if (transport) {
                    QString remark = row.getText("Bemerkung");
                    remark.replace(QLatin1String("\r\n"), QLatin1String(" "));
                    remark.replace(QLatin1Char('\n'), QLatin1Char(' '));
                    m_positions->addRow({costKindName(row.getInt("Kostenart")), amount,
                                         row.getText("RechnungNr"), remark},
                                        row.getLong("FinanzID"));
                } else {
                    const QDateTime date = row.getDate("RDatum");
                    m_positions->addRow({row.getText("RechnungNr"),
                                         date.isValid()
                                             ? date.date().toString(QStringLiteral("dd.MM.yyyy"))
                                             : QString(),
                                         amount, row.getText("Verwendung")},
                                        row.getLong("FinanzID"));
                }
            }
        } catch (const CDaoException& error) {
            MessageService::stop(this, error.description());
        }
    }
    if (select > 0)
        m_positions->selectKey(select);
    if (m_positions->selectedKey() < 0 && m_positions->topLevelItemCount() > 0)
        m_positions->setCurrentItem(m_positions->topLevelItem(0));
    updateButtons();
}

void CKostenListeDlg::updateButtons() {
    const bool rows = m_positions->topLevelItemCount() > 0;
    m_new->setEnabled(!isTransport() || m_vehicles->selectedKey() > 0);
    m_edit->setEnabled(rows);
    m_delete->setEnabled(rows);
}

void CKostenListeDlg::onNew() {
    const std::int32_t vehicle = isTransport() ? m_vehicles->selectedKey() : 0;
    if (isTransport() && vehicle <= 0)
        return;
    std::int32_t key = -1;
    const int result = isTransport()
                           ? CKostenBuchenDlg::showModal(database(), event(), mode(), vehicle,
                                                         m_vehicleFirms[vehicle], key, this)
                           : CSpesenBuchenDlg::showModal(database(), event(), mode(), key, this);
    if (result != QDialog::Accepted)
        return;
    m_positionsChanged = true;
    refreshBudget();
    fillPositions(key);
}

void CKostenListeDlg::onEdit() {
    std::int32_t key = m_positions->selectedKey();
    if (key <= 0)
        return;
    const std::int32_t vehicle = isTransport() ? m_vehicles->selectedKey() : 0;
    const int result = isTransport()
                           ? CKostenBuchenDlg::showModal(database(), event(), mode(), vehicle,
                                                         m_vehicleFirms[vehicle], key, this)
                           : CSpesenBuchenDlg::showModal(database(), event(), mode(), key, this);
    if (result != QDialog::Accepted)
        return;
    m_positionsChanged = true;
    refreshBudget();
    fillPositions(key);
}

void CKostenListeDlg::onDelete() {
    const std::int32_t key = m_positions->selectedKey();
    if (key <= 0)
        return;
    const QString text = m_positions->selectedText(isTransport() ? 1 : 2);
    if (!MessageService::askYesNo(this, QString::fromUtf8(Strings::kDeleteQuestion).arg(text)))
        return;
    try {
        CSetEventFinanzen row(database());
        row.open(QString::asprintf("[FinanzID]=%ld", long(key)));
        if (!row.atEnd())
            row.deleteCurrent();
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    m_positionsChanged = true;
    refreshBudget();
    fillPositions(-1);
}

bool CKostenListeDlg::save() {
    return ui().groupStatus->storeChecked();
}

void CKostenListeDlg::onEndeList() {
    if (ui().groupStatus->isTouched()) {
        // The positions are stored already: only the status chosen is left to save.
        onEnde();
        return;
    }
    if (m_positionsChanged)
        ui().groupStatus->storeAfterQuestion();
    reject();
}
