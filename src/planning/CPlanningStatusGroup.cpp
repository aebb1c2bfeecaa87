#include "CPlanningStatusGroup.h"

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
    m_db = &db;
    m_eventId = eventId;
    m_area = area;
    m_touched = false;
    int value = PlanningStatus::Open;
    try {
        value =
            PlanningStatus::readArea(db, eventId, PlanningStatus::kPlanningColumns[size_t(area)]);
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
    const bool complete = MessageService::askYesNo(window(), completionQuestion(m_area));
    const int value = complete ? PlanningStatus::Complete : PlanningStatus::Begun;
    if (!write(value))
        return false;
    check(value);
    return true;
}

bool CPlanningStatusGroup::storeAfterQuestion() {
    int value = PlanningStatus::Complete;
    if (!MessageService::askYesNo(window(), completionQuestion(m_area)))
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
    if (!m_db)
        return false;
    try {
        PlanningStatus::writeArea(*m_db, m_eventId,
                                  PlanningStatus::kPlanningColumns[size_t(m_area)], value);
    } catch (const CDaoException& error) {
        MessageService::stop(window(), error.description());
        return false;
    }
    return true;
}
