#include "FormLauncher.h"

#include "CKavioApp.h"
#include "core/ListKinds.h"
#include "events/CEventDlg.h"
#include "masterdata/CExtFirmaDlg.h"
#include "masterdata/CMusikerDlg.h"
#include "views/CViewSplitRight.h"

int openListForm(QWidget* parent, int listKind, std::int32_t key) {
    // The finance and merchandise forms are added here as they arrive.
    const ListKindInfo* info = listKindInfo(listKind);
    if (info && info->firmKind >= 0) {
        CKavioApp& app = *CKavioApp::instance();
        std::int32_t extId = key;
        return CExtFirmaDlg::showModal(app.database(), app.profile(), info->firmKind, extId,
                                       parent);
    }
    if (listKind == ListKind::Musicians) {
        CKavioApp& app = *CKavioApp::instance();
        std::int32_t musikerId = key;
        return CMusikerDlg::showModal(app.database(), app.profile(), app.programDirectory(),
                                      musikerId, parent);
    }
    if (listKind == ListKind::Events) {
        CKavioApp& app = *CKavioApp::instance();
        return CEventDlg::showModal(app.database(), app.profile(), key, parent);
    }
    return CViewSplitRight::kFormNotAvailable;
}
