#pragma once

#include "core/PlanningContext.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <memory>

class CDatabase;
class CProfileFile;
class QPushButton;

namespace Ui {
class CEventPlanDlg;
}

// "Event planen": the planning hub of one event. One button per planning area opens the area's
// planning form; its icon shows how far that area is planned (red open, yellow begun, green
// complete).
class CEventPlanDlg : public QDialog {
    Q_OBJECT
public:
    CEventPlanDlg(CDatabase& db, CProfileFile& profile, const PlanningContext& context,
                  QWidget* parent = nullptr);
    ~CEventPlanDlg() override;

    // Reads the event and shows the hub for it modally. A database error is shown; an event
    // that no longer exists shows nothing.
    static void showForEvent(CDatabase& db, CProfileFile& profile, std::int32_t eventId,
                             QWidget* parent);

    // The button of a planning area (0 line-up ... 7 set list).
    QPushButton* areaButton(int area) const;
    // Reads the event's planning status again and shows it on the buttons.
    void showStatusIcons();

private:
    void openArea(int area);

    CDatabase& m_db;
    CProfileFile& m_profile;
    const PlanningContext m_context;
    std::array<QPushButton*, 8> m_buttons{};
    std::unique_ptr<Ui::CEventPlanDlg> m_ui;
};
