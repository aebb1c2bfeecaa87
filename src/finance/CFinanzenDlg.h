#pragma once

#include "core/BaseData.h"
#include "core/FinanceModel.h"
#include "widgets/CFormDialog.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class CDatabase;
class CProfileFile;
class QLineEdit;
class QPushButton;

namespace Ui {
class CFinanzenDlg;
}

// "Finanzen": the budget of one event and its costs in the six accounting areas, each area's
// cost form behind a button whose icon shows the area's accounting status.
class CFinanzenDlg : public CFormDialog {
    Q_OBJECT
public:
    // `area` 1 to 6 opens that area's cost form at once and closes the overview with it; 0 stays.
    CFinanzenDlg(CDatabase& db, CProfileFile& profile, std::int32_t eventId,
                 QWidget* parent = nullptr);
    ~CFinanzenDlg() override;

    // Shows the overview for the event; area 1 to 6 opens that cost form first.
    static int showModal(CDatabase& db, CProfileFile& profile, std::int32_t eventId, int area,
                         QWidget* parent);

    // The button of a cost group (1 personnel ... 6 expenses).
    QPushButton* areaButton(int costGroup) const;
    // Opens the cost form of an area, whether its button is enabled or not.
    void openArea(int costGroup);

    // Replaces how a cost form is opened (tests): returns the form's result.
    using AreaOpener = std::function<int(int costGroup)>;
    void setAreaOpener(AreaOpener opener) { m_opener = std::move(opener); }

protected:
    bool save() override;

private:
    void showSummary();
    void showStatus();
    void enableHire();

    CDatabase& m_db;
    CProfileFile& m_profile;
    const std::int32_t m_eventId;
    Finance::VatMode m_mode;
    BaseData m_base;
    AreaOpener m_opener;
    std::array<QPushButton*, 6> m_buttons{};
    std::array<QLineEdit*, 6> m_costs{};
    std::unique_ptr<Ui::CFinanzenDlg> m_ui;
};
