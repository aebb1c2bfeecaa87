#pragma once

#include "CMasterListDlg.h"

#include <cstdint>
#include <memory>

namespace Ui {
class CFahrzeugeDlg;
}

// "Fahrzeuge": the live vehicles of one car-hire firm, under the firm's name and numbers, with
// adding, editing and deleting. Deleting only flags a vehicle: the transport plans of events
// that used it keep it.
//
// Only a stored firm has vehicles: for any other key, or when the firm cannot be read, the
// reason has been shown and isReady() is false; such a dialog is not shown.
class CFahrzeugeDlg : public CMasterListDlg {
    Q_OBJECT
public:
    CFahrzeugeDlg(CDatabase& db, CProfileFile& profile, std::int32_t extId,
                  QWidget* parent = nullptr);
    ~CFahrzeugeDlg() override;

    bool isReady() const { return m_ready; }

protected:
    void fillRows() override;
    bool openForm(std::int32_t key, std::int32_t& saved) override;
    void deleteRow(std::int32_t key) override;

private:
    // Shows the firm's name and numbers; false when it is not a stored car-hire firm.
    bool showFirm();

    const std::int32_t m_extId;
    bool m_ready = false;
    std::unique_ptr<Ui::CFahrzeugeDlg> m_ui;
};
