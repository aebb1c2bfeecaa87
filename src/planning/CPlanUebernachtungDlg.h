#pragma once

#include "core/OvernightPlan.h"
#include "core/PlanningContext.h"
#include "widgets/CFormDialog.h"

#include <memory>
#include <optional>
#include <vector>

class CDatabase;
class CProfileFile;

namespace Ui {
class CPlanUebernachtungDlg;
}

// "Übernachtungen planen": who travels to the event, the hotel rooms booked for them (each
// stay opened in the reservation form) and the planning status of the overnight area. Stays
// are stored by the reservation form as they are made; "&Ende" only settles the status.
class CPlanUebernachtungDlg : public CFormDialog {
    Q_OBJECT
public:
    // The overnight area among the planning areas of the status row.
    static constexpr int kPlanningArea = 6;

    CPlanUebernachtungDlg(CDatabase& db, CProfileFile& profile, const PlanningContext& event,
                          QWidget* parent = nullptr);
    ~CPlanUebernachtungDlg() override;

    void done(int result) override;

protected:
    // Only the status is left to store.
    bool save() override;

private:
    void fillPersons();
    // The person selected in the persons list, if any (key and function only).
    std::optional<OvernightPlan::Person> chosenPerson() const;
    // Fills the reservation list, selecting the stay of this key, else a stay of the person
    // selected before, else the first row.
    void fillStays(const std::optional<OvernightPlan::StayKey>& select);
    const OvernightPlan::Stay* selectedStay() const;
    void updateButtons();
    void staysChanged(const std::optional<OvernightPlan::StayKey>& select);
    void onNew();
    void onEdit();
    void onDelete();
    void onEnde();

    CDatabase& m_db;
    CProfileFile& m_profile;
    const PlanningContext m_event;
    std::vector<OvernightPlan::Stay> m_stays;
    // A stay was stored, changed or deleted while the form was open.
    bool m_staysChanged = false;
    std::unique_ptr<Ui::CPlanUebernachtungDlg> m_ui;
};
