#pragma once

#include "widgets/CFormDialog.h"

#include <memory>

class CProfileFile;

namespace Ui {
class CKalenderDlg;
}

// "Kalender": the folder into which the program publishes the band's calendar and one per
// musician at every exit. Stored in Kavio.ini on the "&Ende" question; empty: no publishing.
class CKalenderDlg : public CFormDialog {
    Q_OBJECT
public:
    explicit CKalenderDlg(CProfileFile& profile, QWidget* parent = nullptr);
    ~CKalenderDlg() override;

protected:
    bool save() override;

private:
    CProfileFile& m_profile;
    std::unique_ptr<Ui::CKalenderDlg> m_ui;
};
