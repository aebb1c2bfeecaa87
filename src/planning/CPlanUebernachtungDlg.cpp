#include "CPlanUebernachtungDlg.h"

#include "CPlanReservierungDlg.h"
#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "resources/Strings.h"

#include "ui_CPlanUebernachtungDlg.h"

#include <QHeaderView>

namespace {
// Where a row of the persons list keeps the person's function beside its key.
constexpr int kFunctionRole = Qt::UserRole + 1;
} // namespace

CPlanUebernachtungDlg::CPlanUebernachtungDlg(CDatabase& db, CProfileFile& profile,
                                             const PlanningContext& event, QWidget* parent)
    : CFormDialog(db, parent), m_db(db), m_profile(profile), m_event(event),
      m_ui(std::make_unique<Ui::CPlanUebernachtungDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupEvent->setEvent(event);
    // Who travels; the person chosen here is the one a new reservation starts with.
    QTreeWidget& persons = *m_ui->listPersonen;
    persons.setHeaderLabels({QStringLiteral("Crew"), QStringLiteral("Funktion")});
    persons.header()->resizeSection(0, 150);
    persons.header()->resizeSection(1, 80);
    m_ui->listReservierungen->setUp(profile, Settings::PlanHotel,
                                    {QStringLiteral("Person"), QStringLiteral("Hotel/Pension"),
                                     QStringLiteral("ZimmerNr."), QStringLiteral("Anreise"),
                                     QStringLiteral("Abreise")});
    fillPersons();
    fillStays(std::nullopt);
    m_ui->groupStatus->load(db, event.eventId, kPlanningArea);

    connect(m_ui->groupStatus, &CPlanningStatusGroup::touched, this, [this] { setChanged(); });
    connect(m_ui->buttonNeu, &QPushButton::clicked, this, &CPlanUebernachtungDlg::onNew);
    connect(m_ui->buttonBearbeiten, &QPushButton::clicked, this, &CPlanUebernachtungDlg::onEdit);
    connect(m_ui->listReservierungen, &QTreeWidget::itemDoubleClicked, this,
            &CPlanUebernachtungDlg::onEdit);
    connect(m_ui->buttonLoeschen, &QPushButton::clicked, this, &CPlanUebernachtungDlg::onDelete);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CPlanUebernachtungDlg::onEnde);
    setChanged(false);
}

CPlanUebernachtungDlg::~CPlanUebernachtungDlg() = default;

void CPlanUebernachtungDlg::done(int result) {
    m_ui->listReservierungen->saveWidths();
    CFormDialog::done(result);
}

void CPlanUebernachtungDlg::fillPersons() {
    QTreeWidget& list = *m_ui->listPersonen;
    // The chosen person stays chosen when the "* " marks are refreshed.
    const std::optional<OvernightPlan::Person> chosen = chosenPerson();
    list.clear();
    std::vector<OvernightPlan::Person> persons;
    try {
        persons = OvernightPlan::readPersons(m_db, m_event.eventId);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    for (const OvernightPlan::Person& person : persons) {
        auto* row = new QTreeWidgetItem(
            &list, {person.listedName(), OvernightPlan::functionText(person.function)});
        row->setData(0, Qt::UserRole, int(person.id));
        row->setData(0, kFunctionRole, person.function);
        if (chosen && chosen->id == person.id && chosen->function == person.function)
            list.setCurrentItem(row);
    }
}

std::optional<OvernightPlan::Person> CPlanUebernachtungDlg::chosenPerson() const {
    const QList<QTreeWidgetItem*> selected = m_ui->listPersonen->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    OvernightPlan::Person person;
    person.id = selected.first()->data(0, Qt::UserRole).toInt();
    person.function = selected.first()->data(0, kFunctionRole).toInt();
    return person;
}

void CPlanUebernachtungDlg::fillStays(const std::optional<OvernightPlan::StayKey>& select) {
    CReportList& list = *m_ui->listReservierungen;
    // A stay of the person selected before is selected again when the stay itself is gone.
    std::optional<OvernightPlan::StayKey> before;
    if (const OvernightPlan::Stay* selected = selectedStay())
        before = selected->key;
    list.clearRows();
    m_stays.clear();
    try {
        m_stays = OvernightPlan::readStays(m_db, m_event.eventId);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    int exact = -1;
    int samePerson = -1;
    for (size_t index = 0; index < m_stays.size(); ++index) {
        const OvernightPlan::Stay& stay = m_stays[index];
        // The row carries its index into m_stays, and the stay there its exact key.
        list.addRow(stay.texts, std::int32_t(index));
        if (select && stay.key == *select)
            exact = int(index);
        const std::optional<OvernightPlan::StayKey>& person = select ? select : before;
        if (samePerson < 0 && person && stay.key.person == person->person &&
            stay.key.function == person->function)
            samePerson = int(index);
    }
    if (!m_stays.empty()) {
        const int row = exact >= 0 ? exact : samePerson >= 0 ? samePerson : 0;
        list.setCurrentItem(list.topLevelItem(row));
    }
    updateButtons();
}

const OvernightPlan::Stay* CPlanUebernachtungDlg::selectedStay() const {
    const std::int32_t index = m_ui->listReservierungen->selectedKey();
    if (index < 0 || size_t(index) >= m_stays.size())
        return nullptr;
    return &m_stays[size_t(index)];
}

void CPlanUebernachtungDlg::updateButtons() {
    const bool rows = !m_stays.empty();
    m_ui->buttonBearbeiten->setEnabled(rows);
    m_ui->buttonLoeschen->setEnabled(rows);
}

void CPlanUebernachtungDlg::staysChanged(const std::optional<OvernightPlan::StayKey>& select) {
    m_staysChanged = true;
    fillStays(select);
    // The "* " of who has a room.
    fillPersons();
}

void CPlanUebernachtungDlg::onNew() {
    CPlanReservierungDlg form(m_db, m_event.eventId, -1, OvernightPlan::Musician, QDateTime(),
                              this);
    if (const std::optional<OvernightPlan::Person> person = chosenPerson())
        form.presetPerson(person->id, person->function);
    if (!form.isReady() || form.exec() != QDialog::Accepted)
        return;
    staysChanged(form.stayKey());
}

void CPlanUebernachtungDlg::onEdit() {
    const OvernightPlan::Stay* selected = selectedStay();
    if (!selected) {
        MessageService::exclamation(this, QString::fromUtf8(Strings::kChooseEntry));
        return;
    }
    // The stay is opened by its exact arrival, not by the minutes the list shows.
    const OvernightPlan::StayKey key = selected->key;
    CPlanReservierungDlg form(m_db, m_event.eventId, key.person, key.function, key.arrival, this);
    if (!form.isReady() || form.exec() != QDialog::Accepted)
        return;
    staysChanged(form.stayKey());
}

void CPlanUebernachtungDlg::onDelete() {
    const OvernightPlan::Stay* selected = selectedStay();
    if (!selected) {
        MessageService::exclamation(this, QString::fromUtf8(Strings::kChooseEntry));
        return;
    }
    const OvernightPlan::StayKey key = selected->key;
    if (!MessageService::askYesNo(
            this, QStringLiteral("Soll Reservierung \"%1\" wirklich gelöscht werden?")
                      .arg(selected->texts.value(0))))
        return;
    try {
        OvernightPlan::removeStay(m_db, key);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    staysChanged(key);
}

bool CPlanUebernachtungDlg::save() {
    return m_ui->groupStatus->storeChecked();
}

void CPlanUebernachtungDlg::onEnde() {
    if (m_ui->groupStatus->isTouched()) {
        // The status clicked: whether to store it.
        CFormDialog::onEnde();
        Changes::planning(m_event.eventId);
        return;
    }
    if (m_staysChanged) {
        // The stays are stored already: only whether the planning is complete is asked. A
        // status that could not be written keeps the form open.
        if (!m_ui->groupStatus->storeAfterQuestion())
            return;
        Changes::planning(m_event.eventId);
        accept();
        return;
    }
    reject();
}
