#pragma once

#include "CMasterListDlg.h"

#include <memory>

namespace Ui {
class CHotelListeDlg;
}

// "Hotel / Pension": the live hotels and guest houses, newest name in the alphabet first, with
// adding, editing and deleting. Deleting only flags a hotel: the overnight stays of events that
// used it keep it.
class CHotelListeDlg : public CMasterListDlg {
    Q_OBJECT
public:
    CHotelListeDlg(CDatabase& db, CProfileFile& profile, QWidget* parent = nullptr);
    ~CHotelListeDlg() override;

protected:
    void fillRows() override;
    bool openForm(std::int32_t key, std::int32_t& saved) override;
    void deleteRow(std::int32_t key) override;

private:
    std::unique_ptr<Ui::CHotelListeDlg> m_ui;
};
