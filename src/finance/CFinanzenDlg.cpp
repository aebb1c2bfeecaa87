#include "CFinanzenDlg.h"

#include "CKostenDlg.h"
#include "core/ChangeNotifier.h"
#include "core/FieldRules.h"
#include "core/MessageService.h"
#include "core/PlanningStatus.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "widgets/Pictures.h"

#include "ui_CFinanzenDlg.h"

#include <QGroupBox>
#include <QLabel>

CFinanzenDlg::CFinanzenDlg(CDatabase& db, CProfileFile& profile, std::int32_t eventId,
                           QWidget* parent)
    : CFormDialog(db, parent), m_db(db), m_profile(profile), m_eventId(eventId),
      m_mode(Finance::vatMode(profile)), m_ui(std::make_unique<Ui::CFinanzenDlg>()) {
    m_ui->setupUi(this);
    m_buttons = {m_ui->buttonPersonal,  m_ui->buttonPA,    m_ui->buttonLA,
                 m_ui->buttonTransport, m_ui->buttonNacht, m_ui->buttonSonst};
    m_costs = {m_ui->editKostenPersonal,  m_ui->editKostenPA,    m_ui->editKostenLA,
               m_ui->editKostenTransport, m_ui->editKostenNacht, m_ui->editKostenSonst};
    for (QGroupBox* group : {m_ui->groupBudgetGesamt, m_ui->groupVerplant, m_ui->groupSummeKosten,
                             m_ui->groupBudgetRest})
        group->setTitle(group->title() + Finance::modeSuffix(m_mode));
    m_opener = [this](int costGroup) {
        return CKostenDlg::showArea(m_db, m_profile, costGroup, m_eventId, m_mode, this);
    };

    // The warning stays until all eight planning areas are complete.
    bool planned = false;
    try {
        const PlanningStatus status = PlanningStatus::read(db, eventId);
        planned = status.exists && status.planningImage() == 2;
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    m_ui->labelWarnung->setVisible(!planned);

    try {
        m_base = BaseData::read(db);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label->text() == QStringLiteral("€"))
            label->setText(m_base.currencyShort);
    }
    enableHire();
    showStatus();
    showSummary();
    markSaved();

    for (int index = 0; index < 6; ++index) {
        m_buttons[size_t(index)]->setIconSize(QSize(16, 16));
        connect(m_buttons[size_t(index)], &QPushButton::clicked, this,
                [this, index] { openArea(index + 1); });
    }
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CFinanzenDlg::~CFinanzenDlg() = default;

int CFinanzenDlg::showModal(CDatabase& db, CProfileFile& profile, std::int32_t eventId, int area,
                            QWidget* parent) {
    CFinanzenDlg form(db, profile, eventId, parent);
    if (area >= 1 && area <= 6) {
        // The cost form comes first; the overview closes with it.
        form.openArea(area);
        return QDialog::Accepted;
    }
    return form.exec();
}

QPushButton* CFinanzenDlg::areaButton(int costGroup) const {
    return costGroup >= 1 && costGroup <= 6 ? m_buttons[size_t(costGroup - 1)] : nullptr;
}

void CFinanzenDlg::enableHire() {
    // PA and light hire are booked only when the band hires them.
    bool pa = false;
    bool light = false;
    try {
        CSetEventExtFirma row(m_db);
        for (int kind : {3, 4}) {
            row.open(QString::asprintf("[EventID]=%d AND [Art]=%d", int(m_eventId), kind));
            const bool hired = !row.atEnd() && !row.getBool("bVorhanden");
            (kind == 3 ? pa : light) = hired;
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    m_ui->buttonPA->setEnabled(pa);
    m_ui->buttonLA->setEnabled(light);
}

void CFinanzenDlg::showStatus() {
    PlanningStatus status;
    try {
        status = PlanningStatus::read(m_db, m_eventId);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    for (int index = 0; index < 6; ++index)
        m_buttons[size_t(index)]->setIcon(Pictures::statusIcon(status.accounting[size_t(index)]));
}

void CFinanzenDlg::showSummary() {
    QLineEdit* const totals[] = {m_ui->editBudgetGesamt, m_ui->editSummeKosten,
                                 m_ui->editNichtGebucht, m_ui->editBudgetRest};
    try {
        const Finance::BudgetSummary summary =
            Finance::BudgetSummary::compute(m_db, m_eventId, m_base, m_mode);
        // The part of the costs that the plan holds and no booking covers yet.
        const Finance::UnbookedCosts unbooked =
            Finance::unbookedCosts(m_db, m_eventId, m_base, m_mode);
        m_ui->editBudgetGesamt->setText(Finance::formatAmount(summary.total));
        m_ui->editSummeKosten->setText(Finance::formatAmount(summary.costs));
        m_ui->editNichtGebucht->setText(Finance::formatAmount(unbooked.total()));
        m_ui->editBudgetRest->setText(Finance::formatAmount(summary.rest()));
        for (int group = 1; group <= 6; ++group) {
            const bool empty = group == Finance::Overnight && summary.organiserPays;
            m_costs[size_t(group - 1)]->setText(empty ? QString()
                                                      : Finance::formatAmount(summary.area(group)));
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        for (QLineEdit* field : totals)
            field->clear();
        for (QLineEdit* field : m_costs)
            field->clear();
    }
}

bool CFinanzenDlg::save() {
    const std::optional<double> typed = Finance::parseAmount(m_ui->editBudgetGesamt->text());
    if (!typed && !m_ui->editBudgetGesamt->text().trimmed().isEmpty()) {
        MessageService::stop(this, QString::fromUtf8(FieldRules::kNotANumber));
        m_ui->editBudgetGesamt->setFocus();
        m_ui->editBudgetGesamt->selectAll();
        return false;
    }
    CSetEvent row(m_db);
    try {
        row.open(QString::asprintf("[EventID]=%ld", long(m_eventId)));
        if (!row.atEnd()) {
            row.edit();
            if (typed)
                row.setSingle("EGageBezahlt", Finance::budgetToStore(*typed, row.getBool("EfMWST"),
                                                                     m_base.vatRate1, m_mode));
            else
                row.setNull("EGageBezahlt");
            row.update();
        }
    } catch (const CDaoException& error) {
        if (row.isEditing())
            row.cancelUpdate();
        MessageService::stop(this, error.description());
        return false;
    }
    markSaved();
    showSummary();
    Changes::events(m_eventId);
    return true;
}

void CFinanzenDlg::openArea(int costGroup) {
    if (isChanged()) {
        switch (MessageService::askYesNoCancel(this, QString::fromUtf8(kSaveQuestion))) {
        case MessageService::Answer::Yes:
            if (!save())
                return;
            break;
        case MessageService::Answer::No:
            break;
        default:
            return;
        }
    }
    m_opener(costGroup);
    // However the cost form closed, what it stored shows now.
    showSummary();
    showStatus();
    markSaved();
    Changes::planning(m_eventId);
}
