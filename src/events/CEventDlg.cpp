#include "CEventDlg.h"

#include "core/BaseData.h"
#include "core/ChangeNotifier.h"
#include "core/FieldRules.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "masterdata/CAnsprechDlg.h"
#include "masterdata/CExtFirmaDlg.h"
#include "planning/CEventPlanDlg.h"
#include "resources/Strings.h"
#include "widgets/FormFields.h"
#include "widgets/PickListFillers.h"

#include "ui_CEventDlg.h"

#include <QSignalBlocker>

namespace {

using TimePlan::Time;

constexpr int kOrganiser = 0; // firm kind of organisers
constexpr int kTextLength = 50;
constexpr int kPostcodeLength = 10;
// The longest text the database keeps in a text column.
constexpr int kAgreementLength = 255;

const char* const kLocationMissing = "Bitte \"Location\" eingeben.";
const char* const kInvalidInput = "Ungültige Eingabe!";

// The columns of the time plan, in the order of TimePlan::Time.
const char* const kTimeColumns[TimePlan::kTimes] = {"EBeginn",     "EEnde",      "ETAufbauVon",
                                                    "ETAufbauBis", "ESCheckVon", "ESCheckBis",
                                                    "ETAbbauVon",  "ETAbbauBis"};
// The times of day of a new event.
const QTime kNewEventTimes[TimePlan::kTimes] = {{20, 0}, {22, 0}, {16, 0}, {18, 0},
                                                {18, 0}, {19, 0}, {22, 0}, {23, 0}};

// A read-only detail shows the beginning of a long text.
void showDetail(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->setCursorPosition(0);
}

bool refuse(QWidget* field, const QString& message) {
    MessageService::stop(field->window(), message);
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    return false;
}

} // namespace

CEventDlg::CEventDlg(CDatabase& db, CProfileFile& profile, std::int32_t eventId, QWidget* parent)
    : CRecordFormDialog(db, CSetEvent::definition(), "EventID", eventId, parent),
      m_profile(profile), m_ui(std::make_unique<Ui::CEventDlg>()) {
    m_ui->setupUi(this);

    const QString currency = BaseData::currency(db);
    m_ui->labelWaehrungGage->setText(currency);
    m_ui->labelWaehrungVerlStd->setText(currency);

    // The salutation is shown for private persons only, without moving the other fields.
    for (QWidget* salutation : QList<QWidget*>{m_ui->labelVAnrede, m_ui->editVAnrede}) {
        QSizePolicy policy = salutation->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        salutation->setSizePolicy(policy);
    }
    const int listWidth = m_ui->listVeranstalter->minimumWidth();
    m_ui->listVeranstalter->setColumnWidths({listWidth, 60, 200, 200, 0, 0, 0, 0, 0, 0, 0});
    m_ui->listAnsprech->setColumnWidths({listWidth, 60});

    FieldBindings& f = fields();
    f.add<TextBinding>(m_ui->editArt, "EArt", kTextLength);
    m_location = f.add<TextBinding>(m_ui->editLocation, "ELocation", kTextLength);
    f.add<TextBinding>(m_ui->editStrasse, "EStrasse", kTextLength);
    f.add<TextBinding>(m_ui->editPLZ, "EPLZ", kPostcodeLength);
    f.add<TextBinding>(m_ui->editOrt, "EOrt", kTextLength);
    f.add<MemoBinding>(m_ui->editVereinbarung, "EVereinbarung", kAgreementLength);
    m_fee = f.add<AmountBinding>(m_ui->editGage, "EGageVereinb");
    f.add<AmountBinding>(m_ui->editVerlStd, "EVerlStd");
    f.add<CheckBinding>(m_ui->checkMWST, "EfMWST");
    f.add<RadioBinding>(QList<QPair<QRadioButton*, int>>{{m_ui->radioAngefragt, Requested},
                                                         {m_ui->radioReserviert, Reserved},
                                                         {m_ui->radioGebucht, Booked},
                                                         {m_ui->radioAbgesagt, Cancelled},
                                                         {m_ui->radioFakturiert, Invoiced}},
                        "Status", Reserved);
    for (int time = 0; time < TimePlan::kTimes; ++time) {
        m_times[size_t(time)] = f.add<DateTimeBinding>(dateField(Time(time)), timeField(Time(time)),
                                                       kTimeColumns[time]);
        m_times[size_t(time)]->setNewTime(kNewEventTimes[time]);
    }
    loadRow();

    connect(m_ui->editBeginnDatum, &QLineEdit::textEdited, this, &CEventDlg::copyBeginDate);
    connect(m_ui->listVeranstalter, &QComboBox::activated, this, [this] {
        if (m_ui->listVeranstalter->selectedData() != m_shownOrganiser)
            chooseOrganiser();
    });
    connect(m_ui->listAnsprech, &QComboBox::activated, this, [this] {
        if (m_ui->listAnsprech->selectedData() != m_shownContact)
            chooseContact();
    });
    connect(m_ui->buttonNeuVeranstalter, &QPushButton::clicked, this, &CEventDlg::onNewOrganiser);
    connect(m_ui->buttonBearbeitenVeranstalter, &QPushButton::clicked, this,
            &CEventDlg::onEditOrganiser);
    connect(m_ui->buttonNeuAnsprech, &QPushButton::clicked, this, &CEventDlg::onNewContact);
    connect(m_ui->buttonPlanung, &QPushButton::clicked, this, &CEventDlg::onPlanning);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CEventDlg::~CEventDlg() = default;

int CEventDlg::showModal(CDatabase& db, CProfileFile& profile, std::int32_t eventId,
                         QWidget* parent, const QDate& newDate) {
    std::optional<PlanningContext> planning;
    int result = QDialog::Rejected;
    {
        CEventDlg form(db, profile, eventId, parent);
        if (!form.isReady())
            return QDialog::Rejected;
        if (eventId < 0 && newDate.isValid())
            form.presetDate(newDate);
        result = form.exec();
        planning = form.planningContext();
    }
    if (planning) {
        CEventPlanDlg hub(db, profile, *planning, parent);
        hub.exec();
    }
    return result;
}

void CEventDlg::presetDate(const QDate& date) {
    for (int time = 0; time < TimePlan::kTimes; ++time)
        FormFields::setDate(dateField(Time(time)), date);
    markSaved();
}

QLineEdit* CEventDlg::dateField(Time time) const {
    QLineEdit* const fields[TimePlan::kTimes] = {
        m_ui->editBeginnDatum,    m_ui->editEndeDatum,          m_ui->editAufbauVonDatum,
        m_ui->editAufbauBisDatum, m_ui->editSoundcheckVonDatum, m_ui->editSoundcheckBisDatum,
        m_ui->editAbbauVonDatum,  m_ui->editAbbauBisDatum};
    return fields[time];
}

QTimeEdit* CEventDlg::timeField(Time time) const {
    QTimeEdit* const fields[TimePlan::kTimes] = {
        m_ui->timeBeginn,        m_ui->timeEnde,          m_ui->timeAufbauVon, m_ui->timeAufbauBis,
        m_ui->timeSoundcheckVon, m_ui->timeSoundcheckBis, m_ui->timeAbbauVon,  m_ui->timeAbbauBis};
    return fields[time];
}

void CEventDlg::fillOrganisers() {
    try {
        // Live organisers, and the event's own even when it was deleted since.
        PickListFillers::fillFirms(*m_ui->listVeranstalter, database(), kOrganiser,
                                   m_storedOrganiser);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

void CEventDlg::fillContacts() {
    m_shownContact = -1;
    for (QLineEdit* detail : {m_ui->editAPTel, m_ui->editAPHandy, m_ui->editAPFax})
        detail->clear();
    try {
        // The event's own contact stays listable when it was deleted since.
        PickListFillers::fillContacts(*m_ui->listAnsprech, database(), kOrganiser, m_shownOrganiser,
                                      m_storedContact);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

void CEventDlg::chooseOrganiser() {
    setChanged();
    const std::int32_t key = m_ui->listVeranstalter->selectedData();
    m_shownOrganiser = key;
    m_ui->buttonBearbeitenVeranstalter->setEnabled(key > 0);
    m_ui->buttonNeuAnsprech->setEnabled(key > 0);

    QLineEdit* const details[] = {m_ui->editVArt, m_ui->editVAnrede, m_ui->editVStrasse,
                                  m_ui->editVOrt, m_ui->editVTel,    m_ui->editVHandy,
                                  m_ui->editVFax, m_ui->editVEmail,  m_ui->editVHomepage};
    for (QLineEdit* detail : details)
        detail->clear();
    bool isPrivate = false;
    if (key > 0) {
        try {
            CSetStammExtFirma firm(database());
            firm.open(QString::asprintf("[Art]=%d AND [ExtID]=%ld", kOrganiser, long(key)));
            if (!firm.atEnd()) {
                isPrivate = firm.getBool("fPrivat");
                const QStringList salutations =
                    QString::fromUtf8(Strings::kSalutations).split(u'\n');
                const int salutation = firm.getInt("Anrede");
                showDetail(m_ui->editVArt,
                           QString::fromUtf8(isPrivate ? Strings::kPrivate : Strings::kBusiness));
                if (salutation >= 0 && salutation < salutations.size())
                    showDetail(m_ui->editVAnrede, salutations.at(salutation));
                showDetail(m_ui->editVStrasse, firm.getText("Strasse"));
                showDetail(m_ui->editVOrt,
                           QStringLiteral("%1 %2").arg(firm.getText("PLZ"), firm.getText("Ort")));
                showDetail(m_ui->editVTel, firm.getText("Tel"));
                showDetail(m_ui->editVHandy, firm.getText("Telm"));
                showDetail(m_ui->editVFax, firm.getText("Fax"));
                showDetail(m_ui->editVEmail, firm.getText("Email"));
                showDetail(m_ui->editVHomepage, firm.getText("Homepage"));
            }
        } catch (const CDaoException& error) {
            MessageService::stop(this, error.description());
        }
    }
    m_ui->labelVAnrede->setVisible(isPrivate);
    m_ui->editVAnrede->setVisible(isPrivate);
    fillContacts();
}

void CEventDlg::chooseContact() {
    setChanged();
    const std::int32_t key = m_ui->listAnsprech->selectedData(0);
    m_shownContact = key;
    QString phone, mobile, fax;
    if (key > 0) {
        try {
            CSetStammExtAnsprech contact(database());
            contact.open(QString::asprintf("[Art]=%d AND [ExtID]= %ld AND [APID]=%ld", kOrganiser,
                                           long(m_shownOrganiser), long(key)));
            if (!contact.atEnd()) {
                phone = contact.getText("APTel");
                mobile = contact.getText("APTelm");
                fax = contact.getText("APFax");
            }
        } catch (const CDaoException& error) {
            MessageService::stop(this, error.description());
        }
    }
    showDetail(m_ui->editAPTel, phone);
    showDetail(m_ui->editAPHandy, mobile);
    showDetail(m_ui->editAPFax, fax);
}

void CEventDlg::showNewRow() {
    m_storedOrganiser = -1;
    m_storedContact = -1;
    fillOrganisers();
    chooseOrganiser();
}

void CEventDlg::showRow(const CRecordset& row) {
    m_storedOrganiser = row.isNull("VeranstalterID") ? -1 : row.getLong("VeranstalterID");
    m_storedContact = row.isNull("VAnsprechID") ? -1 : row.getLong("VAnsprechID");
    fillOrganisers();
    bool organiserFound = false;
    {
        const QSignalBlocker quiet(m_ui->listVeranstalter);
        organiserFound = m_ui->listVeranstalter->selectData(m_storedOrganiser);
    }
    chooseOrganiser();
    if (organiserFound && m_storedContact != -1 && m_ui->listAnsprech->selectData(m_storedContact))
        chooseContact();
}

void CEventDlg::copyBeginDate(const QString& text) {
    setChanged();
    bool ok = false;
    const std::optional<QDate> date = FieldRules::parseDate(text, &ok);
    if (!ok || !date)
        return;
    // The other times of the plan move to the new day; their times of day stay.
    for (int time = Time::Ende; time < TimePlan::kTimes; ++time)
        FormFields::setDate(dateField(Time(time)), date);
}

bool CEventDlg::checkInput() {
    if (m_location->value().trimmed().isEmpty())
        return refuse(m_ui->editLocation, QString::fromUtf8(kLocationMissing));

    // Each time of the plan to the minute, from its date field and its time field.
    TimePlan::Times times;
    for (int time = 0; time < TimePlan::kTimes; ++time)
        times[size_t(time)] = m_times[size_t(time)]->value();
    if (times[Time::Ende] == QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC))
        return refuse(dateField(Time::Ende), QString::fromUtf8(FieldRules::kNotADate));
    if (const std::optional<TimePlan::Violation> broken = TimePlan::check(times)) {
        QWidget* field = broken->onTimeField ? static_cast<QWidget*>(timeField(broken->time))
                                             : dateField(broken->time);
        return refuse(field, QString::fromUtf8(broken->message));
    }

    if (m_ui->listVeranstalter->currentIndex() < 0)
        return refuse(m_ui->listVeranstalter, QString::fromUtf8(kInvalidInput));
    m_organiser = m_ui->listVeranstalter->selectedData();
    m_contact = m_ui->listAnsprech->selectedData(0);
    return true;
}

void CEventDlg::storeRow(CRecordset& row, bool isNew) {
    // What was paid belonged to the fee agreed before.
    if (!isNew && m_fee->value() != m_fee->stored())
        row.setNull("EGageBezahlt");
    row.setLong("VeranstalterID", m_organiser);
    if (m_contact != 0)
        row.setLong("VAnsprechID", m_contact);
    else
        row.setNull("VAnsprechID");
}

QString CEventDlg::fieldLabel(const QString& table, const QString& column) const {
    // The paid fee is emptied together with a new agreed fee.
    if (column == QLatin1String("EGageBezahlt"))
        return m_fee->label();
    if (column == QLatin1String("VeranstalterID"))
        return labelOf(m_ui->listVeranstalter);
    if (column == QLatin1String("VAnsprechID"))
        return labelOf(m_ui->listAnsprech);
    return CRecordFormDialog::fieldLabel(table, column);
}

void CEventDlg::rowSaved() {
    Changes::events(key());
}

void CEventDlg::onNewOrganiser() {
    std::int32_t extId = -1;
    if (CExtFirmaDlg::showModal(database(), m_profile, kOrganiser, extId, this) !=
        QDialog::Accepted)
        return;
    fillOrganisers();
    {
        const QSignalBlocker quiet(m_ui->listVeranstalter);
        m_ui->listVeranstalter->selectData(extId);
    }
    chooseOrganiser();
}

void CEventDlg::onEditOrganiser() {
    std::int32_t extId = m_ui->listVeranstalter->selectedData();
    if (extId <= 0)
        return;
    const std::int32_t contact = m_ui->listAnsprech->selectedData(-1);
    if (CExtFirmaDlg::showModal(database(), m_profile, kOrganiser, extId, this) !=
        QDialog::Accepted)
        return;
    fillOrganisers();
    {
        const QSignalBlocker quiet(m_ui->listVeranstalter);
        m_ui->listVeranstalter->selectData(extId);
    }
    chooseOrganiser();
    if (contact > 0 && m_ui->listAnsprech->selectData(contact))
        chooseContact();
}

void CEventDlg::onNewContact() {
    const std::int32_t organiser = m_ui->listVeranstalter->selectedData();
    if (organiser <= 0)
        return;
    CAnsprechDlg contact(database(), kOrganiser, organiser, -1, this);
    if (contact.exec() != QDialog::Accepted)
        return;
    fillContacts();
    m_ui->listAnsprech->selectData(contact.apId());
    chooseContact();
}

void CEventDlg::onPlanning() {
    if (isChanged()) {
        switch (MessageService::askYesNoCancel(this, QString::fromUtf8(kSaveQuestion))) {
        case MessageService::Answer::Yes:
            if (!save())
                return;
            break;
        case MessageService::Answer::No:
            break; // planned as stored, if it is stored at all
        default:
            return;
        }
    }
    if (isNew())
        return;
    try {
        m_planning = PlanningContext::read(database(), key());
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    if (m_planning)
        accept();
}
