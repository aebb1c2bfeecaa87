#include "CEventHeaderGroup.h"

#include "core/PlanningContext.h"

#include "ui_CEventHeaderGroup.h"

#include <utility>

CEventHeaderGroup::CEventHeaderGroup(QWidget* parent)
    : QGroupBox(parent), m_ui(std::make_unique<Ui::CEventHeaderGroup>()) {
    m_ui->setupUi(this);
}

CEventHeaderGroup::~CEventHeaderGroup() = default;

void CEventHeaderGroup::setEvent(const PlanningContext& context) {
    // Dates in the short date format, times to the minute; an unset time shows nothing.
    const auto date = [](const QDateTime& moment) {
        return moment.isValid() ? moment.date().toString(QStringLiteral("dd.MM.yy")) : QString();
    };
    const auto time = [](const QDateTime& moment) {
        return moment.isValid() ? moment.time().toString(QStringLiteral("HH:mm")) : QString();
    };
    const std::pair<QLineEdit*, QString> fields[] = {{m_ui->editArt, context.kind},
                                                     {m_ui->editBeginnDatum, date(context.begin)},
                                                     {m_ui->editBeginnZeit, time(context.begin)},
                                                     {m_ui->editEndeDatum, date(context.end)},
                                                     {m_ui->editEndeZeit, time(context.end)},
                                                     {m_ui->editLocation, context.location},
                                                     {m_ui->editStrasse, context.street},
                                                     {m_ui->editOrt, context.postcodeAndTown}};
    for (const auto& [field, text] : fields) {
        field->setText(text);
        // A long text shows its beginning.
        field->setCursorPosition(0);
    }
}
