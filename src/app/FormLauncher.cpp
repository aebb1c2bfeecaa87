#include "FormLauncher.h"

#include "CKavioApp.h"
#include "masterdata/CExtFirmaDlg.h"
#include "views/CViewSplitRight.h"
#include "views/ListKinds.h"

int openListForm(QWidget* parent, int listKind, std::int32_t key) {
    // The musician, event, finance and merchandise forms are added here as they arrive.
    const ListKindInfo* info = listKindInfo(listKind);
    if (info && info->firmKind >= 0) {
        CKavioApp& app = *CKavioApp::instance();
        std::int32_t extId = key;
        return CExtFirmaDlg::showModal(app.database(), app.profile(), info->firmKind, extId,
                                       parent);
    }
    return CViewSplitRight::kFormNotAvailable;
}
