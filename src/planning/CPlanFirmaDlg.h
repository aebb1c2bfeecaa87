#pragma once

#include "core/PlanningContext.h"
#include "widgets/CRecordFormDialog.h"

#include <cstdint>
#include <memory>

class CDatabase;
class CProfileFile;
class MemoBinding;

namespace Ui {
class CPlanFirmaDlg;
}

// The planning of one outside firm for an event: the sound technician, the backliner, the PA
// hire or the light hire. One form for the four areas; what differs between them is data
// (ServiceArea). The assignment is one row of T_Event_ExtFirma per event and firm kind.
class CPlanFirmaDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    // What one member of the family is.
    struct ServiceArea {
        int planningArea; // index into the planning status columns
        int firmKind;     // Art of the firms and of the assignment row
        const char* title;
        const char* groupTitle;
        const char* firmLabel;
        const char* newFirmButton;
        const char* editFirmButton;
        const char* remarkLabel;
        int costGroup; // the booking that goes when no firm is chosen
        int costCentre;
        const char* presentText; // "PA vorhanden"; nullptr without that choice
        const char* hiredText;
        bool contactButtons;
    };
    static const ServiceArea kTechnician;
    static const ServiceArea kBackliner;
    static const ServiceArea kPAHire;
    static const ServiceArea kLightHire;
    // The member for a planning area (1 technician ... 4 light hire), or nullptr.
    static const ServiceArea* forPlanningArea(int area);

    CPlanFirmaDlg(CDatabase& db, CProfileFile& profile, const ServiceArea& area,
                  const PlanningContext& event, QWidget* parent = nullptr);
    ~CPlanFirmaDlg() override;

protected:
    QString rowFilter(std::int32_t key) const override;
    void showRow(const CRecordset& row) override;
    void showNewRow() override;
    void storeRow(CRecordset& row, bool isNew) override;
    void storeDependents(const CRecordset& row, bool isNew) override;
    // Stores the assignment only when it changed, then the planning status.
    bool save() override;

private:
    bool isPresent() const;
    void fillFirms(std::int32_t inUse);
    void chooseFirm();
    void fillContacts(std::int32_t select);
    void chooseContact();
    void choosePresent(bool present);
    void markChanged();

    void onNewFirm();
    void onEditFirm();
    void onNewContact();
    void onEditContact();

    CProfileFile& m_profile;
    const ServiceArea& m_area;
    const PlanningContext m_event;
    // The firm and contact the stored assignment names: listed even when deleted since.
    std::int32_t m_storedFirm = -1;
    std::int32_t m_storedContact = -1;
    // Choosing a firm or contact, or present/hired: the assignment changed.
    bool m_assignmentChanged = false;
    MemoBinding* m_remark = nullptr;
    std::unique_ptr<Ui::CPlanFirmaDlg> m_ui;
};
