#include "FormLauncher.h"

#include "views/CViewSplitRight.h"

int openListForm(QWidget*, int, std::int32_t) {
    // The firm, musician, event, finance and merchandise forms are added here as they arrive.
    return CViewSplitRight::kFormNotAvailable;
}
