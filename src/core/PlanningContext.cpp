#include "PlanningContext.h"

#include "data/RecordSets.h"

std::optional<PlanningContext> PlanningContext::read(CDatabase& db, std::int32_t eventId) {
    CSetEvent event(db);
    event.open(QString::asprintf("[EventID]=%ld", long(eventId)));
    if (event.atEnd())
        return std::nullopt;
    PlanningContext context;
    context.eventId = event.getLong("EventID");
    context.kind = event.getText("EArt");
    context.location = event.getText("ELocation");
    context.street = event.getText("EStrasse");
    context.postcodeAndTown =
        QStringLiteral("%1 %2").arg(event.getText("EPLZ"), event.getText("EOrt"));
    context.begin = event.getDate("EBeginn");
    context.end = event.getDate("EEnde");
    return context;
}
