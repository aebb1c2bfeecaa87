#include "CEventDlg.h"

#include "core/MessageService.h"
#include "core/ChangeNotifier.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "masterdata/CAnsprechDlg.h"
#include "masterdata/CExtFirmaDlg.h"
#include "planning/CEventPlanDlg.h"
#include "resources/Strings.h"
#include "core/FieldRules.h"
#include "widgets/FormFields.h"
#include "core/ListRows.h"
#include "widgets/RecordFields.h"

#include "ui_CEventDlg.h"

#include <QSignalBlocker>

namespace {

using TimePlan::Time;

constexpr int kOrganiser = 0; // firm kind of organisers
constexpr int kTextLength = 50;
constexpr int kPostcodeLength = 10;
// The longest text the database keeps in a text column.
constexpr int kAgreementLength = 255;

const char* const kSalutations = "Herr\nFrau";
const char* const kLocationMissing = "Bitte \"Location\" eingeben.";
const char* const kInvalidInput = "Ungültige Eingabe!";

// The columns of the time plan, in the order of TimePlan::Time.
const char* const kTimeColumns[TimePlan::kTimes] = {"EBeginn",     "EEnde",      "ETAufbauVon",
                                                    "ETAufbauBis", "ESCheckVon", "ESCheckBis",
                                                    "ETAbbauVon",  "ETAbbauBis"};
// The times of day of a new event.
const QTime kNewEventTimes[TimePlan::kTimes] = {{20, 0}, {22, 0}, {16, 0}, {18, 0},
                                                {18, 0}, {19, 0}, {22, 0}, {23, 0}};

QString filterOfEvent(std::int32_t eventId) {
    return QString::asprintf("[EventID]=%ld", long(eventId));
}

// The short currency text of the base data; "€" while there are none.
QString currencyText(CDatabase& db) {
    CSetGrunddaten base(db);
    base.open();
    return base.atEnd() ? QStringLiteral("€") : base.getText("Waehrungkurz");
}

std::optional<double> storedAmount(const CRecordset& set, std::string_view column) {
    if (set.isNull(column))
        return std::nullopt;
    return double(set.getSingle(column));
}

// The amount to write: what the field holds, unless it shows the stored amount unchanged. That
// one is kept as stored, so that saving never rounds it to the two decimals shown.
std::optional<double> amountToStore(const std::optional<double>& read,
                                    const std::optional<double>& stored) {
    return FieldRules::formatDecimal(read) == FieldRules::formatDecimal(stored) ? stored : read;
}

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

// What the form holds, read back and checked.
struct CEventDlg::Values {
    QString kind, location, street, postcode, town, agreement;
    std::optional<double> fee, extensionFee;
    bool includesVat = false;
    TimePlan::Times times;
    std::int32_t organiser = 0;
    std::optional<std::int32_t> contact;
    int status = Reserved;
};

CEventDlg::CEventDlg(CDatabase& db, CProfileFile& profile, std::int32_t eventId, QWidget* parent)
    : CFormDialog(parent), m_db(db), m_profile(profile), m_eventId(eventId),
      m_ui(std::make_unique<Ui::CEventDlg>()) {
    m_ui->setupUi(this);

    // The event's record set stays open while the form lives; every save goes through it.
    try {
        m_set = std::make_unique<CSetEvent>(m_db);
        m_set->open(filterOfEvent(m_eventId));
    } catch (const CDaoException& error) {
        MessageService::stop(parentWidget(), error.description());
        m_set.reset();
        return;
    }
    // A key that matches no event opens an empty form for a new one.
    if (m_set->atEnd()) {
        m_eventId = -1;
    } else {
        m_storedOrganiser = m_set->isNull("VeranstalterID") ? -1 : m_set->getLong("VeranstalterID");
        m_storedContact = m_set->isNull("VAnsprechID") ? -1 : m_set->getLong("VAnsprechID");
    }

    QString currency = QStringLiteral("€");
    try {
        currency = currencyText(m_db);
    } catch (const CDaoException& error) {
        MessageService::stop(parentWidget(), error.description());
    }
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

    fillOrganisers();
    if (m_eventId == -1)
        showNewEvent();
    else
        loadRecord();

    // Connected only now, so that filling the form is no change.
    for (QRadioButton* status :
         {m_ui->radioAngefragt, m_ui->radioReserviert, m_ui->radioGebucht, m_ui->radioAbgesagt})
        connect(status, &QRadioButton::clicked, this, [this] { setChanged(); });
    connect(m_ui->checkMWST, &QCheckBox::clicked, this, [this] { setChanged(); });
    for (int time = 0; time < TimePlan::kTimes; ++time)
        connect(timeField(Time(time)), &QTimeEdit::timeChanged, this, [this] { setChanged(); });
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
    setChanged(false);
}

CEventDlg::~CEventDlg() = default;

int CEventDlg::showModal(CDatabase& db, CProfileFile& profile, std::int32_t eventId,
                         QWidget* parent) {
    std::optional<PlanningContext> planning;
    int result = QDialog::Rejected;
    {
        CEventDlg form(db, profile, eventId, parent);
        if (!form.isReady())
            return QDialog::Rejected;
        result = form.exec();
        planning = form.planningContext();
    }
    if (planning) {
        CEventPlanDlg hub(db, *planning, parent);
        hub.exec();
    }
    return result;
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
    CPickList* list = m_ui->listVeranstalter;
    {
        const QSignalBlocker quiet(list);
        list->clearRows();
    }
    try {
        // Live organisers, and the event's own even when it was deleted since.
        CSetStammExtFirma firms(m_db);
        firms.open(QString::asprintf("[Art]=%d AND ([fDeleted]=False OR [ExtID]=%ld)", kOrganiser,
                                     long(m_storedOrganiser)),
                   QStringLiteral("[fPrivat] DESC, [Firma], [Name], [Vorname]"));
        for (; !firms.atEnd(); firms.moveNext()) {
            const bool isPrivate = firms.getBool("fPrivat");
            list->addRow({ListTexts::firmName(isPrivate, firms.getText("Firma"),
                                              firms.getText("Name"), firms.getText("Vorname")),
                          QString::fromUtf8(isPrivate ? Strings::kPrivate : Strings::kBusiness),
                          ListTexts::postcodeAndTown(firms.getText("PLZ"), firms.getText("Ort")),
                          firms.getText("Strasse"), firms.getText("Tel"), firms.getText("Telm"),
                          firms.getText("Fax"), firms.getText("Email"), firms.getText("Homepage"),
                          firms.getText("Name"), firms.getText("Vorname")},
                         firms.getLong("ExtID"));
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

void CEventDlg::fillContacts() {
    CPickList* list = m_ui->listAnsprech;
    {
        const QSignalBlocker quiet(list);
        list->clearRows();
    }
    list->addRow({QString(), QString()}, 0);
    m_shownContact = -1;
    for (QLineEdit* detail : {m_ui->editAPTel, m_ui->editAPHandy, m_ui->editAPFax})
        detail->clear();
    if (m_shownOrganiser <= 0)
        return;
    // The event's own contact stays listable when it was deleted since.
    const QString filter =
        m_storedContact < 1
            ? QString::asprintf("[Art]=%d AND [ExtID]=%ld AND [fDeleted]=False", kOrganiser,
                                long(m_shownOrganiser))
            : QString::asprintf("[Art]=%d AND [ExtID]=%ld AND ([fDeleted]=False OR [APID]=%ld)",
                                kOrganiser, long(m_shownOrganiser), long(m_storedContact));
    try {
        CSetStammExtAnsprech contacts(m_db);
        contacts.open(filter, QStringLiteral("[APName]"));
        for (; !contacts.atEnd(); contacts.moveNext())
            list->addRow({contacts.getText("APName"), contacts.getText("APVorname")},
                         contacts.getLong("APID"));
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
            CSetStammExtFirma firm(m_db);
            firm.open(QString::asprintf("[Art]=%d AND [ExtID]=%ld", kOrganiser, long(key)));
            if (!firm.atEnd()) {
                isPrivate = firm.getBool("fPrivat");
                const QStringList salutations = QString::fromUtf8(kSalutations).split(u'\n');
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
            CSetStammExtAnsprech contact(m_db);
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

void CEventDlg::showNewEvent() {
    m_ui->radioReserviert->setChecked(true);
    FormFields::setText(m_ui->editArt, QString(), kTextLength);
    FormFields::setText(m_ui->editLocation, QString(), kTextLength);
    FormFields::setText(m_ui->editStrasse, QString(), kTextLength);
    FormFields::setText(m_ui->editPLZ, QString(), kPostcodeLength);
    FormFields::setText(m_ui->editOrt, QString(), kTextLength);
    const QDate today = QDate::currentDate();
    for (int time = 0; time < TimePlan::kTimes; ++time) {
        FormFields::setDate(dateField(Time(time)), today);
        timeField(Time(time))->setTime(kNewEventTimes[time]);
    }
    chooseOrganiser();
}

void CEventDlg::loadRecord() {
    const CSetEvent& set = *m_set;
    m_storedOrganiser = set.isNull("VeranstalterID") ? -1 : set.getLong("VeranstalterID");
    m_storedContact = set.isNull("VAnsprechID") ? -1 : set.getLong("VAnsprechID");

    FormFields::setText(m_ui->editArt, set.getText("EArt"), kTextLength);
    FormFields::setText(m_ui->editLocation, set.getText("ELocation"), kTextLength);
    FormFields::setText(m_ui->editStrasse, set.getText("EStrasse"), kTextLength);
    FormFields::setText(m_ui->editPLZ, set.getText("EPLZ"), kPostcodeLength);
    FormFields::setText(m_ui->editOrt, set.getText("EOrt"), kTextLength);
    FormFields::setDecimal(m_ui->editGage, storedAmount(set, "EGageVereinb"));
    FormFields::setDecimal(m_ui->editVerlStd, storedAmount(set, "EVerlStd"));
    m_ui->checkMWST->setChecked(set.getBool("EfMWST"));
    m_ui->editVereinbarung->setPlainText(set.getText("EVereinbarung"));
    m_ui->editVereinbarung->document()->setModified(false);
    for (int time = 0; time < TimePlan::kTimes; ++time) {
        const QDateTime moment = set.getDate(kTimeColumns[time]);
        FormFields::setDate(dateField(Time(time)),
                            moment.isValid() ? std::optional<QDate>(moment.date()) : std::nullopt);
        timeField(Time(time))->setTime(moment.isValid() ? moment.time() : QTime(0, 0));
    }

    const bool organiserFound = m_ui->listVeranstalter->selectData(m_storedOrganiser);
    chooseOrganiser();
    if (organiserFound && m_storedContact != -1 && m_ui->listAnsprech->selectData(m_storedContact))
        chooseContact();

    QRadioButton* const statuses[] = {m_ui->radioAngefragt, m_ui->radioReserviert,
                                      m_ui->radioGebucht, m_ui->radioAbgesagt,
                                      m_ui->radioFakturiert};
    const int status = set.isNull("Status") ? Reserved : set.getInt("Status");
    statuses[status >= Requested && status <= Invoiced ? status : Reserved]->setChecked(true);
    setChanged(false);
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

bool CEventDlg::readForm(Values& values) {
    if (!FormFields::readText(m_ui->editArt, kTextLength, values.kind) ||
        !FormFields::readText(m_ui->editLocation, kTextLength, values.location) ||
        !FormFields::readText(m_ui->editStrasse, kTextLength, values.street) ||
        !FormFields::readText(m_ui->editPLZ, kPostcodeLength, values.postcode) ||
        !FormFields::readText(m_ui->editOrt, kTextLength, values.town))
        return false;
    values.agreement = m_ui->editVereinbarung->toPlainText();
    if (values.agreement.size() > kAgreementLength)
        return refuse(m_ui->editVereinbarung,
                      QString::fromUtf8(FieldRules::kTooLong).arg(kAgreementLength));
    if (!FormFields::readDecimal(m_ui->editGage, values.fee) ||
        !FormFields::readDecimal(m_ui->editVerlStd, values.extensionFee))
        return false;
    values.includesVat = m_ui->checkMWST->isChecked();

    if (values.location.trimmed().isEmpty())
        return refuse(m_ui->editLocation, QString::fromUtf8(kLocationMissing));

    // Each time of the plan to the minute, from its date field and its time field.
    const QString notADate = QString::fromUtf8(FieldRules::kNotADate);
    for (int time = 0; time < TimePlan::kTimes; ++time) {
        std::optional<QDate> date;
        if (!FormFields::readDate(dateField(Time(time)), date))
            return false;
        if (!date)
            return refuse(dateField(Time(time)), notADate);
        const QTime clock = timeField(Time(time))->time();
        values.times[size_t(time)] = QDateTime(*date, QTime(clock.hour(), clock.minute()), Qt::UTC);
    }
    if (values.times[Time::Ende] == QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC))
        return refuse(dateField(Time::Ende), notADate);
    if (const std::optional<TimePlan::Violation> broken = TimePlan::check(values.times)) {
        QWidget* field = broken->onTimeField ? static_cast<QWidget*>(timeField(broken->time))
                                             : dateField(broken->time);
        return refuse(field, QString::fromUtf8(broken->message));
    }

    if (m_ui->listVeranstalter->currentIndex() < 0)
        return refuse(m_ui->listVeranstalter, QString::fromUtf8(kInvalidInput));
    values.organiser = m_ui->listVeranstalter->selectedData();
    const std::int32_t contact = m_ui->listAnsprech->selectedData(0);
    values.contact = contact != 0 ? std::optional<std::int32_t>(contact) : std::nullopt;

    values.status = m_ui->radioReserviert->isChecked()   ? Reserved
                    : m_ui->radioGebucht->isChecked()    ? Booked
                    : m_ui->radioAbgesagt->isChecked()   ? Cancelled
                    : m_ui->radioFakturiert->isChecked() ? Invoiced
                                                         : Requested;
    return true;
}

bool CEventDlg::save() {
    if (!m_set)
        return false; // the events could not be read; the form is not shown
    Values values;
    if (!readForm(values))
        return false;

    CSetEvent& set = *m_set;
    const bool isNew = m_eventId == -1;
    const bool written = RecordFields::writeRow(this, set, "EventID", m_eventId, [&] {
        std::optional<double> storedFee;
        std::optional<double> storedExtensionFee;
        if (isNew) {
            set.addNew();
        } else {
            storedFee = storedAmount(set, "EGageVereinb");
            storedExtensionFee = storedAmount(set, "EVerlStd");
            set.edit();
        }
        RecordFields::setText(set, "EArt", values.kind);
        RecordFields::setText(set, "ELocation", values.location);
        RecordFields::setText(set, "EStrasse", values.street);
        RecordFields::setText(set, "EPLZ", values.postcode);
        RecordFields::setText(set, "EOrt", values.town);
        RecordFields::setText(set, "EVereinbarung", values.agreement);
        const std::optional<double> fee = amountToStore(values.fee, storedFee);
        RecordFields::setAmount(set, "EGageVereinb", fee);
        RecordFields::setAmount(set, "EVerlStd",
                                amountToStore(values.extensionFee, storedExtensionFee));
        // What was paid belonged to the fee agreed before.
        if (!isNew && fee != storedFee)
            set.setNull("EGageBezahlt");
        set.setBool("EfMWST", values.includesVat);
        for (int time = 0; time < TimePlan::kTimes; ++time)
            set.setDate(kTimeColumns[time], values.times[size_t(time)]);
        set.setLong("VeranstalterID", values.organiser);
        if (values.contact)
            set.setLong("VAnsprechID", *values.contact);
        else
            set.setNull("VAnsprechID");
        set.setInt("Status", values.status);
    });
    if (!written)
        return false;
    try {
        loadRecord();
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return false;
    }
    markSaved();
    Changes::events(m_eventId);
    return true;
}

void CEventDlg::onNewOrganiser() {
    std::int32_t extId = -1;
    if (CExtFirmaDlg::showModal(m_db, m_profile, kOrganiser, extId, this) != QDialog::Accepted)
        return;
    fillOrganisers();
    m_ui->listVeranstalter->selectData(extId);
    chooseOrganiser();
}

void CEventDlg::onEditOrganiser() {
    std::int32_t extId = m_ui->listVeranstalter->selectedData();
    if (extId <= 0)
        return;
    const std::int32_t contact = m_ui->listAnsprech->selectedData(-1);
    if (CExtFirmaDlg::showModal(m_db, m_profile, kOrganiser, extId, this) != QDialog::Accepted)
        return;
    fillOrganisers();
    m_ui->listVeranstalter->selectData(extId);
    chooseOrganiser();
    if (contact > 0 && m_ui->listAnsprech->selectData(contact))
        chooseContact();
}

void CEventDlg::onNewContact() {
    const std::int32_t organiser = m_ui->listVeranstalter->selectedData();
    if (organiser <= 0)
        return;
    CAnsprechDlg contact(m_db, kOrganiser, organiser, -1, this);
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
    if (m_eventId == -1)
        return;
    try {
        m_planning = PlanningContext::read(m_db, m_eventId);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    if (m_planning)
        accept();
}
