#include "PlanningContext.h"

#include "app/CKavioApp.h"
#include "app/CMainFrame.h"
#include "data/RecordSets.h"
#include "views/ListKinds.h"

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

void requestEventListRefresh(std::int32_t eventId) {
    const CKavioApp* app = CKavioApp::instance();
    if (app && app->mainFrame())
        app->mainFrame()->requestListRefresh(ListKind::Events, eventId);
}
