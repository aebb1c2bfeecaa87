#include "Navigation.h"

#include "core/ListKinds.h"

NavigationStep navigationStep(int group, int listButton) {
    NavigationStep step;
    if (listButton < 0 || listButton > 6)
        return step;
    switch (group) {
    case 0: {
        static const int kinds[] = {
            ListKind::Organizers, ListKind::Musicians, ListKind::Technicians, ListKind::Backliners,
            ListKind::PAHire,     ListKind::LightHire, ListKind::CarHire};
        step.view = 3;
        step.listKind = kinds[listButton];
        break;
    }
    case 1:
        if (listButton == 0) {
            step.view = 2;
            step.listKind = ListKind::Events;
            step.eventFlags = true;
        } else if (listButton == 6) {
            step.view = 2;
            step.listKind = ListKind::Print;
        }
        break;
    case 2:
        if (listButton == 0) {
            step.view = 2;
            step.listKind = ListKind::Accounting;
            step.accountingFlag = true;
        } else if (listButton == 1) {
            step.view = 2;
            step.listKind = ListKind::Merchandise;
        }
        break;
    default:
        break;
    }
    return step;
}

int visibleListButtons(int group) {
    switch (group) {
    case 0:
        return 7;
    case 1:
        return 1;
    case 2:
        return 2;
    default:
        return 0;
    }
}
