#include "CPlanTransportDlg.h"

#include "CPlanTransportKfzDlg.h"
#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "resources/Strings.h"

#include "ui_CPlanTransportDlg.h"

namespace {
// The planning area of transport in the status row.
constexpr int kTransportArea = 5;
} // namespace

CPlanTransportDlg::CPlanTransportDlg(CDatabase& db, CProfileFile& profile,
                                     const PlanningContext& event, QWidget* parent)
    : CFormDialog(db, parent), m_db(db), m_profile(profile), m_event(event),
      m_ui(std::make_unique<Ui::CPlanTransportDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupEvent->setEvent(event);
    m_ui->listTransport->setUp(profile, Settings::PlanTransp,
                               {QStringLiteral("Kfz Verleiher"), QStringLiteral("Typ"),
                                QStringLiteral("Fahrer"), QStringLiteral("Kennzeichen"),
                                QStringLiteral("Sitzpl."), QStringLiteral("Zul. Gewicht")});
    fillList(-1, -1);
    m_ui->groupStatus->load(db, event.eventId, kTransportArea);

    connect(m_ui->groupStatus, &CPlanningStatusGroup::touched, this, [this] { setChanged(); });
    connect(m_ui->buttonNeu, &QPushButton::clicked, this, &CPlanTransportDlg::onNew);
    connect(m_ui->buttonBearbeiten, &QPushButton::clicked, this, &CPlanTransportDlg::onEdit);
    connect(m_ui->listTransport, &QTreeWidget::itemDoubleClicked, this, &CPlanTransportDlg::onEdit);
    connect(m_ui->buttonLoeschen, &QPushButton::clicked, this, &CPlanTransportDlg::onDelete);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CPlanTransportDlg::onEnde);
    setChanged(false);
}

CPlanTransportDlg::~CPlanTransportDlg() = default;

void CPlanTransportDlg::done(int result) {
    m_ui->listTransport->saveWidths();
    CFormDialog::done(result);
}

void CPlanTransportDlg::fillList(std::int32_t firm, std::int32_t vehicle) {
    CReportList& list = *m_ui->listTransport;
    const int before = list.indexOfTopLevelItem(list.currentItem());
    list.clearRows();
    m_entries.clear();
    try {
        m_entries = TransportPlan::read(m_db, m_event.eventId);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    int select = -1;
    for (size_t index = 0; index < m_entries.size(); ++index) {
        const TransportPlan::Entry& entry = m_entries[index];
        // The row carries its index into m_entries.
        list.addRow(entry.texts, std::int32_t(index));
        if (entry.firm == firm && entry.vehicle == vehicle)
            select = int(index);
    }
    if (!m_entries.empty()) {
        if (select < 0)
            select = before >= 0 && before < int(m_entries.size()) ? before : 0;
        list.setCurrentItem(list.topLevelItem(select));
    }
    updateButtons();
}

const TransportPlan::Entry* CPlanTransportDlg::selectedEntry() const {
    const std::int32_t index = m_ui->listTransport->selectedKey();
    if (index < 0 || size_t(index) >= m_entries.size())
        return nullptr;
    return &m_entries[size_t(index)];
}

void CPlanTransportDlg::updateButtons() {
    const bool rows = !m_entries.empty();
    m_ui->buttonBearbeiten->setEnabled(rows);
    m_ui->buttonLoeschen->setEnabled(rows);
}

void CPlanTransportDlg::onNew() {
    CPlanTransportKfzDlg entry(m_db, m_profile, m_event.eventId, -1, -1, this);
    if (!entry.isReady() || entry.exec() != QDialog::Accepted)
        return;
    m_entriesChanged = true;
    fillList(entry.firm(), entry.vehicle());
}

void CPlanTransportDlg::onEdit() {
    const TransportPlan::Entry* selected = selectedEntry();
    if (!selected)
        return;
    CPlanTransportKfzDlg entry(m_db, m_profile, m_event.eventId, selected->firm, selected->vehicle,
                               this);
    if (!entry.isReady() || entry.exec() != QDialog::Accepted)
        return;
    m_entriesChanged = true;
    fillList(entry.firm(), entry.vehicle());
}

void CPlanTransportDlg::onDelete() {
    const TransportPlan::Entry* selected = selectedEntry();
    if (!selected)
        return;
    if (!MessageService::askYesNo(
            this, QString::fromUtf8(Strings::kDeleteQuestion).arg(selected->texts.value(1))))
        return;
    try {
        // The vehicle's transport bookings of this event go with it.
        TransportPlan::remove(m_db, m_event.eventId, selected->firm, selected->vehicle);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    m_entriesChanged = true;
    fillList(-1, -1);
}

bool CPlanTransportDlg::save() {
    return m_ui->groupStatus->storeChecked();
}

void CPlanTransportDlg::onEnde() {
    if (m_entriesChanged) {
        // The entries are stored already: only whether the planning is complete is asked.
        m_ui->groupStatus->storeAfterQuestion();
        Changes::planning(m_event.eventId);
        reject();
        return;
    }
    if (m_ui->groupStatus->isTouched()) {
        CFormDialog::onEnde();
        Changes::planning(m_event.eventId);
        return;
    }
    reject();
}
