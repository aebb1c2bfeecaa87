#include "CPlanFirmaDlg.h"

#include "core/ChangeNotifier.h"
#include "core/Conflicts.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "masterdata/CAnsprechDlg.h"
#include "masterdata/CExtFirmaDlg.h"
#include "resources/Strings.h"
#include "widgets/PickListFillers.h"

#include "ui_CPlanFirmaDlg.h"

#include <QSignalBlocker>

const CPlanFirmaDlg::ServiceArea CPlanFirmaDlg::kTechnician = {1,
                                                               1,
                                                               "Planung Techniker",
                                                               "Techniker",
                                                               "Firma",
                                                               "&Neuer Techniker...",
                                                               "Techniker &bearbeiten...",
                                                               "Bemerkung",
                                                               1,
                                                               12,
                                                               nullptr,
                                                               nullptr,
                                                               true};
const CPlanFirmaDlg::ServiceArea CPlanFirmaDlg::kBackliner = {2,
                                                              2,
                                                              "Planung Backliner",
                                                              "Backliner",
                                                              "Firma",
                                                              "&Neuer Backliner...",
                                                              "Backliner &bearbeiten...",
                                                              "Bemerkung",
                                                              1,
                                                              11,
                                                              nullptr,
                                                              nullptr,
                                                              true};
const CPlanFirmaDlg::ServiceArea CPlanFirmaDlg::kPAHire = {3,
                                                           3,
                                                           "Planung PA",
                                                           "PA",
                                                           "PA-Verleiher",
                                                           "&Neuer PA-Verleiher...",
                                                           "PA-Verleiher &bearbeiten...",
                                                           "PA-Beschreibung",
                                                           2,
                                                           13,
                                                           "PA vorhanden",
                                                           "PA angemietet von:",
                                                           false};
const CPlanFirmaDlg::ServiceArea CPlanFirmaDlg::kLightHire = {4,
                                                              4,
                                                              "Planung Lichtanlage",
                                                              "Lichtanlage (LA)",
                                                              "LA-Verleiher",
                                                              "&Neuer LA-Verleiher...",
                                                              "LA-Verleiher &bearbeiten...",
                                                              "Bemerkung",
                                                              3,
                                                              14,
                                                              "LA vorhanden",
                                                              "LA angemietet von:",
                                                              false};

const CPlanFirmaDlg::ServiceArea* CPlanFirmaDlg::forPlanningArea(int area) {
    for (const ServiceArea* member : {&kTechnician, &kBackliner, &kPAHire, &kLightHire}) {
        if (member->planningArea == area)
            return member;
    }
    return nullptr;
}

CPlanFirmaDlg::CPlanFirmaDlg(CDatabase& db, CProfileFile& profile, const ServiceArea& area,
                             const PlanningContext& event, QWidget* parent)
    : CRecordFormDialog(db, CSetEventExtFirma::definition(), nullptr, 0, parent),
      m_profile(profile), m_area(area), m_event(event),
      m_ui(std::make_unique<Ui::CPlanFirmaDlg>()) {
    m_ui->setupUi(this);
    setWindowTitle(QString::fromUtf8(area.title));
    m_ui->groupFirma->setTitle(QString::fromUtf8(area.groupTitle));
    m_ui->labelFirma->setText(QString::fromUtf8(area.firmLabel));
    m_ui->buttonNeuFirma->setText(QString::fromUtf8(area.newFirmButton));
    m_ui->buttonBearbeitenFirma->setText(QString::fromUtf8(area.editFirmButton));
    m_ui->labelBemerkung->setText(QString::fromUtf8(area.remarkLabel));
    const bool presentChoice = area.presentText != nullptr;
    m_ui->radioVorhanden->setVisible(presentChoice);
    m_ui->radioAngemietet->setVisible(presentChoice);
    if (presentChoice) {
        m_ui->radioVorhanden->setText(QString::fromUtf8(area.presentText));
        m_ui->radioAngemietet->setText(QString::fromUtf8(area.hiredText));
    }
    m_ui->buttonNeuAnsprech->setVisible(area.contactButtons);
    m_ui->buttonBearbeitenAnsprech->setVisible(area.contactButtons);
    m_ui->groupEvent->setEvent(event);

    const int firmWidth = m_ui->listFirma->minimumWidth();
    m_ui->listFirma->setColumnWidths({firmWidth, 60, 200, 200});
    m_ui->listAnsprech->setColumnWidths({m_ui->listAnsprech->minimumWidth(), 100, 80, 80, 80, 150});

    m_remark = fields().add<MemoBinding>(m_ui->editBemerkung, "Bemerkungen");
    loadRow();
    m_ui->groupStatus->load(db, event.eventId, area.planningArea);
    m_assignmentChanged = false;
    setChanged(false);

    connect(m_ui->groupStatus, &CPlanningStatusGroup::touched, this, [this] { setChanged(); });
    connect(m_ui->listFirma, &QComboBox::activated, this, [this] {
        chooseFirm();
        markChanged();
    });
    connect(m_ui->listAnsprech, &QComboBox::activated, this, [this] {
        chooseContact();
        markChanged();
    });
    connect(m_ui->radioVorhanden, &QRadioButton::clicked, this, [this] {
        choosePresent(true);
        markChanged();
    });
    connect(m_ui->radioAngemietet, &QRadioButton::clicked, this, [this] {
        choosePresent(false);
        markChanged();
    });
    connect(m_ui->buttonNeuFirma, &QPushButton::clicked, this, &CPlanFirmaDlg::onNewFirm);
    connect(m_ui->buttonBearbeitenFirma, &QPushButton::clicked, this, &CPlanFirmaDlg::onEditFirm);
    connect(m_ui->buttonNeuAnsprech, &QPushButton::clicked, this, &CPlanFirmaDlg::onNewContact);
    connect(m_ui->buttonBearbeitenAnsprech, &QPushButton::clicked, this,
            &CPlanFirmaDlg::onEditContact);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CPlanFirmaDlg::~CPlanFirmaDlg() = default;

QString CPlanFirmaDlg::rowFilter(std::int32_t) const {
    return QString::asprintf("[EventID]=%ld AND [Art]=%d", long(m_event.eventId), m_area.firmKind);
}

bool CPlanFirmaDlg::isPresent() const {
    return m_area.presentText && m_ui->radioVorhanden->isChecked();
}

void CPlanFirmaDlg::markChanged() {
    m_assignmentChanged = true;
    setChanged();
}

void CPlanFirmaDlg::showNewRow() {
    m_storedFirm = -1;
    m_storedContact = -1;
    fillFirms(-1);
    m_ui->radioAngemietet->setChecked(true);
    choosePresent(false);
}

void CPlanFirmaDlg::showRow(const CRecordset& row) {
    m_storedFirm = row.isNull("ExtID") ? -1 : row.getLong("ExtID");
    m_storedContact = row.isNull("AnsprechID") ? -1 : row.getLong("AnsprechID");
    fillFirms(m_storedFirm);
    if (m_area.presentText && row.getBool("bVorhanden")) {
        m_ui->radioVorhanden->setChecked(true);
        choosePresent(true);
        return;
    }
    m_ui->radioAngemietet->setChecked(true);
    choosePresent(false);
    if (m_storedFirm > 0 && m_ui->listFirma->selectData(m_storedFirm)) {
        chooseFirm();
        if (m_storedContact > 0)
            fillContacts(m_storedContact);
    }
}

void CPlanFirmaDlg::fillFirms(std::int32_t inUse) {
    try {
        // Live firms of the kind, the one in use even when deleted since, and a blank row.
        PickListFillers::fillFirms(*m_ui->listFirma, database(), m_area.firmKind, inUse, true);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    const QSignalBlocker quiet(m_ui->listFirma);
    m_ui->listFirma->selectData(0);
    chooseFirm();
}

void CPlanFirmaDlg::chooseFirm() {
    const std::int32_t key = m_ui->listFirma->selectedData(0);
    QLineEdit* const details[] = {m_ui->editArt, m_ui->editTel,   m_ui->editHandy,
                                  m_ui->editFax, m_ui->editEmail, m_ui->editHomepage};
    for (QLineEdit* detail : details)
        detail->clear();
    bool usable = false;
    if (key > 0) {
        try {
            CSetStammExtFirma firm(database());
            firm.open(QString::asprintf("[Art]=%d AND [ExtID]=%ld", m_area.firmKind, long(key)));
            if (!firm.atEnd()) {
                const bool isPrivate = firm.getBool("fPrivat");
                m_ui->editArt->setText(
                    QString::fromUtf8(isPrivate ? Strings::kPrivate : Strings::kBusiness));
                m_ui->editTel->setText(firm.getText("Tel"));
                m_ui->editHandy->setText(firm.getText("Telm"));
                m_ui->editFax->setText(firm.getText("Fax"));
                m_ui->editEmail->setText(firm.getText("Email"));
                m_ui->editHomepage->setText(firm.getText("Homepage"));
                for (QLineEdit* detail : details)
                    detail->setCursorPosition(0);
                // A firm deleted since stays assigned, but is no longer edited from here.
                usable = !firm.getBool("fDeleted");
            }
        } catch (const CDaoException& error) {
            MessageService::stop(this, error.description());
        }
    }
    m_ui->buttonBearbeitenFirma->setEnabled(usable);
    m_ui->buttonNeuAnsprech->setEnabled(usable);
    fillContacts(-1);
}

void CPlanFirmaDlg::fillContacts(std::int32_t select) {
    for (QLineEdit* detail : {m_ui->editAPVorname, m_ui->editAPTel, m_ui->editAPHandy,
                              m_ui->editAPFax, m_ui->editAPEmail})
        detail->clear();
    try {
        PickListFillers::fillContacts(*m_ui->listAnsprech, database(), m_area.firmKind,
                                      m_ui->listFirma->selectedData(0), m_storedContact);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    {
        const QSignalBlocker quiet(m_ui->listAnsprech);
        if (select <= 0 || !m_ui->listAnsprech->selectData(select))
            m_ui->listAnsprech->selectData(0);
    }
    chooseContact();
}

void CPlanFirmaDlg::chooseContact() {
    const CPickList& list = *m_ui->listAnsprech;
    const int row = list.currentIndex();
    QLineEdit* const details[] = {m_ui->editAPVorname, m_ui->editAPTel, m_ui->editAPHandy,
                                  m_ui->editAPFax, m_ui->editAPEmail};
    for (int column = 0; column < 5; ++column)
        details[column]->setText(row >= 0 ? list.text(row, column + 1) : QString());
    m_ui->buttonBearbeitenAnsprech->setEnabled(list.selectedData(0) > 0 &&
                                               m_ui->buttonNeuAnsprech->isEnabled());
}

void CPlanFirmaDlg::choosePresent(bool present) {
    if (!m_area.presentText)
        return;
    if (present) {
        {
            const QSignalBlocker quiet(m_ui->listFirma);
            m_ui->listFirma->selectData(0);
        }
        chooseFirm();
    }
    m_ui->listFirma->setEnabled(!present);
    m_ui->listAnsprech->setEnabled(!present);
    m_ui->buttonNeuFirma->setEnabled(!present);
    if (present)
        m_ui->buttonBearbeitenFirma->setEnabled(false);
}

void CPlanFirmaDlg::storeRow(CRecordset& row, bool) {
    const std::int32_t firm = isPresent() ? 0 : m_ui->listFirma->selectedData(0);
    const std::int32_t contact = isPresent() ? 0 : m_ui->listAnsprech->selectedData(0);
    row.setLong("EventID", m_event.eventId);
    row.setInt("Art", m_area.firmKind);
    if (firm > 0)
        row.setLong("ExtID", firm);
    else
        row.setNull("ExtID");
    if (firm > 0 && contact > 0)
        row.setLong("AnsprechID", contact);
    else
        row.setNull("AnsprechID");
    if (m_area.presentText)
        row.setBool("bVorhanden", isPresent());
}

void CPlanFirmaDlg::storeDependents(const CRecordset& row, bool) {
    if (!row.isNull("ExtID"))
        return;
    // Without a firm the area has nothing to book: every booking of its cost group and centre
    // goes, also one booked under a firm chosen earlier.
    CSetEventFinanzen bookings(database());
    for (bookings.open(QString::asprintf("[EventID]=%ld AND [Kostengruppe]=%d AND "
                                         "[Kostenstelle]=%d",
                                         long(m_event.eventId), m_area.costGroup,
                                         m_area.costCentre));
         !bookings.atEnd(); bookings.moveNext())
        bookings.deleteCurrent();
}

bool CPlanFirmaDlg::save() {
    const bool assignmentChanged =
        m_assignmentChanged || m_ui->editBemerkung->document()->isModified();
    if (assignmentChanged) {
        const std::int32_t firm = isPresent() ? 0 : m_ui->listFirma->selectedData(0);
        if (!Conflicts::confirmSave(this, [&] {
                return Conflicts::firm(database(), m_event.eventId, m_area.firmKind, firm);
            }))
            return false;
        if (!CRecordFormDialog::save())
            return false;
        m_assignmentChanged = false;
    }
    const bool stored = m_ui->groupStatus->store(assignmentChanged);
    Changes::planning(m_event.eventId);
    // The assignment is stored, the status not: the form keeps its change, so that "&Ende"
    // still asks and the clicked status is not lost.
    if (!stored)
        setChanged();
    return stored;
}

void CPlanFirmaDlg::onNewFirm() {
    std::int32_t extId = -1;
    if (CExtFirmaDlg::showModal(database(), m_profile, m_area.firmKind, extId, this) !=
        QDialog::Accepted)
        return;
    fillFirms(m_storedFirm);
    {
        const QSignalBlocker quiet(m_ui->listFirma);
        m_ui->listFirma->selectData(extId);
    }
    chooseFirm();
    markChanged();
}

void CPlanFirmaDlg::onEditFirm() {
    std::int32_t extId = m_ui->listFirma->selectedData(0);
    if (extId <= 0)
        return;
    const std::int32_t contact = m_ui->listAnsprech->selectedData(-1);
    if (CExtFirmaDlg::showModal(database(), m_profile, m_area.firmKind, extId, this) !=
        QDialog::Accepted)
        return;
    fillFirms(m_storedFirm);
    {
        const QSignalBlocker quiet(m_ui->listFirma);
        m_ui->listFirma->selectData(extId);
    }
    chooseFirm();
    if (contact > 0)
        fillContacts(contact);
    markChanged();
}

void CPlanFirmaDlg::onNewContact() {
    const std::int32_t firm = m_ui->listFirma->selectedData(0);
    if (firm <= 0)
        return;
    CAnsprechDlg contact(database(), m_area.firmKind, firm, -1, this);
    if (contact.exec() != QDialog::Accepted)
        return;
    fillContacts(contact.apId());
    markChanged();
}

void CPlanFirmaDlg::onEditContact() {
    const std::int32_t firm = m_ui->listFirma->selectedData(0);
    const std::int32_t apId = m_ui->listAnsprech->selectedData(0);
    if (firm <= 0 || apId <= 0)
        return;
    CAnsprechDlg contact(database(), m_area.firmKind, firm, apId, this);
    if (contact.exec() != QDialog::Accepted)
        return;
    fillContacts(apId);
    markChanged();
}
