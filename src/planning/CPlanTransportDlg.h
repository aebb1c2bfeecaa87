#pragma once

#include "core/PlanningContext.h"
#include "core/TransportPlan.h"
#include "widgets/CFormDialog.h"

#include <cstdint>
#include <memory>
#include <vector>

class CDatabase;
class CProfileFile;

namespace Ui {
class CPlanTransportDlg;
}

// "Planung Transport": the vehicles planned for an event, each opened in the entry form, and the
// planning status of the transport area. Entries are stored by the entry form as they are
// made; "&Ende" only settles the status.
class CPlanTransportDlg : public CFormDialog {
    Q_OBJECT
public:
    CPlanTransportDlg(CDatabase& db, CProfileFile& profile, const PlanningContext& event,
                      QWidget* parent = nullptr);
    ~CPlanTransportDlg() override;

    void done(int result) override;

protected:
    // Only the status is left to store.
    bool save() override;

private:
    // Fills the list, selecting the entry of these keys, else the row selected before, else the
    // first row.
    void fillList(std::int32_t firm, std::int32_t vehicle);
    const TransportPlan::Entry* selectedEntry() const;
    void updateButtons();
    void onNew();
    void onEdit();
    void onDelete();
    void onEnde();

    CDatabase& m_db;
    CProfileFile& m_profile;
    const PlanningContext m_event;
    std::vector<TransportPlan::Entry> m_entries;
    // An entry was stored, changed or deleted while the form was open.
    bool m_entriesChanged = false;
    std::unique_ptr<Ui::CPlanTransportDlg> m_ui;
};
