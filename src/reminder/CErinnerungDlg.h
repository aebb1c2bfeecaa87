#pragma once

#include "widgets/CFormDialog.h"

#include <memory>

class CProfileFile;

namespace Ui {
class CErinnerungDlg;
}

// "Erinnerungsfunktion": switches the birthday reminder at start-up on or off and sets the days
// before and after today that it covers; switches the start-up note of due GEMA reports on or
// off. Stored in Kavio.ini on the "&Ende" question.
class CErinnerungDlg : public CFormDialog {
    Q_OBJECT
public:
    // More days than this would list every birthday of the year several times over.
    static constexpr int kMaximumDays = 366;

    explicit CErinnerungDlg(CProfileFile& profile, QWidget* parent = nullptr);
    ~CErinnerungDlg() override;

protected:
    bool save() override;

private:
    CProfileFile& m_profile;
    std::unique_ptr<Ui::CErinnerungDlg> m_ui;
};
