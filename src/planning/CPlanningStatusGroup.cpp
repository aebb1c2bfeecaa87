#include "CPlanningStatusGroup.h"

#include "core/FinanceModel.h"
#include "core/MessageService.h"
#include "core/PlanningStatus.h"
#include "data/CDaoException.h"

#include "ui_CPlanningStatusGroup.h"

CPlanningStatusGroup::CPlanningStatusGroup(QWidget* parent)
    : QGroupBox(parent), m_ui(std::make_unique<Ui::CPlanningStatusGroup>()) {
    m_ui->setupUi(this);
    for (QRadioButton* button : {m_ui->radioOffen, m_ui->radioBegonnen, m_ui->radioAbgeschlossen})
        connect(button, &QRadioButton::clicked, this, [this] {
            m_touched = true;
            Q_EMIT touched();
        });
}

CPlanningStatusGroup::~CPlanningStatusGroup() = default;

QString CPlanningStatusGroup::completionQuestion(int area) {
    if (area < 0 || area >= PlanningStatus::kPlanningAreas)
        return QString();
    return QStringLiteral("Ist die Planung %1 abgeschlossen?")
        .arg(QString::fromUtf8(PlanningStatus::kPlanningAreaNames[size_t(area)]));
}

void CPlanningStatusGroup::load(CDatabase& db, std::int32_t eventId, int area) {
    m_question = completionQuestion(area);
    loadColumn(db, eventId, PlanningStatus::kPlanningColumns[size_t(area)]);
}

void CPlanningStatusGroup::loadAccounting(CDatabase& db, std::int32_t eventId, int costGroup) {
    m_question =
        QStringLiteral("Ist die Abrechnung %1 abgeschlossen?").arg(Finance::areaName(costGroup));
    loadColumn(db, eventId, PlanningStatus::kAccountingColumns[size_t(costGroup - 1)]);
}

void CPlanningStatusGroup::loadColumn(CDatabase& db, std::int32_t eventId, const char* column) {
    m_db = &db;
    m_eventId = eventId;
    m_column = column;
    m_touched = false;
    int value = PlanningStatus::Open;
    try {
        value = PlanningStatus::readArea(db, eventId, column);
    } catch (const CDaoException& error) {
        MessageService::stop(window(), error.description());
    }
    check(value);
}

int CPlanningStatusGroup::checkedValue() const {
    if (m_ui->radioAbgeschlossen->isChecked())
        return PlanningStatus::Complete;
    if (m_ui->radioBegonnen->isChecked())
        return PlanningStatus::Begun;
    return PlanningStatus::Open;
}

bool CPlanningStatusGroup::store(bool planningSaved) {
    if (m_touched)
        return write(checkedValue());
    if (!planningSaved)
        return true;
    const bool complete = MessageService::askYesNo(window(), m_question);
    const int value = complete ? PlanningStatus::Complete : PlanningStatus::Begun;
    if (!write(value))
        return false;
    check(value);
    return true;
}

bool CPlanningStatusGroup::storeAfterQuestion() {
    int value = PlanningStatus::Complete;
    if (!MessageService::askYesNo(window(), m_question))
        value = m_touched ? checkedValue() : int(PlanningStatus::Begun);
    if (!write(value))
        return false;
    check(value);
    return true;
}

void CPlanningStatusGroup::check(int value) {
    QRadioButton* button = value == PlanningStatus::Complete ? m_ui->radioAbgeschlossen
                           : value == PlanningStatus::Begun  ? m_ui->radioBegonnen
                                                             : m_ui->radioOffen;
    button->setChecked(true);
}

bool CPlanningStatusGroup::write(int value) {
    if (!m_db || !m_column)
        return false;
    try {
        PlanningStatus::writeArea(*m_db, m_eventId, m_column, value);
    } catch (const CDaoException& error) {
        MessageService::stop(window(), error.description());
        return false;
    }
    return true;
}
