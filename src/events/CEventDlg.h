#pragma once

#include "core/TimePlan.h"
#include "core/PlanningContext.h"
#include "widgets/CFormDialog.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class CDatabase;
class CProfileFile;
class CSetEvent;
class QLineEdit;
class QTimeEdit;

namespace Ui {
class CEventDlg;
}

// "Event bearbeiten": one event (T_Event) with its status, organiser and contact, venue, fee and
// time plan. Opened with EventID -1 for a new event. The time plan is checked before the event
// is stored; "Event Planun&g..." hands the stored event over to the planning hub.
class CEventDlg : public CFormDialog {
    Q_OBJECT
public:
    // Event status codes, as column Status stores them. A null status reads as Reserved.
    enum Status { Requested = 0, Reserved, Booked, Cancelled, Invoiced };

    CEventDlg(CDatabase& db, CProfileFile& profile, std::int32_t eventId,
              QWidget* parent = nullptr);
    ~CEventDlg() override;

    // Opens the form modally and returns QDialog::Accepted when it saved the event or handed it
    // over to planning; the planning hub then follows once the form has closed.
    static int showModal(CDatabase& db, CProfileFile& profile, std::int32_t eventId,
                         QWidget* parent = nullptr);

    // False when the events could not be read: the error has been shown and the form must not be.
    bool isReady() const { return m_set != nullptr; }
    // -1 until a new event is stored.
    std::int32_t eventId() const { return m_eventId; }
    // The event as handed over to planning, once the form closed for it.
    const std::optional<PlanningContext>& planningContext() const { return m_planning; }

    // The date field and the time field of one time of the plan.
    QLineEdit* dateField(TimePlan::Time time) const;
    QTimeEdit* timeField(TimePlan::Time time) const;

protected:
    bool save() override;

private:
    struct Values;

    void fillOrganisers();
    void fillContacts();
    void chooseOrganiser();
    void chooseContact();
    void showNewEvent();
    void loadRecord();
    bool readForm(Values& values);
    void copyBeginDate(const QString& text);

    void onNewOrganiser();
    void onEditOrganiser();
    void onNewContact();
    void onPlanning();

    CDatabase& m_db;
    CProfileFile& m_profile;
    std::int32_t m_eventId;
    // The organiser and contact the stored event refers to: listed even when flagged deleted.
    std::int32_t m_storedOrganiser = -1;
    std::int32_t m_storedContact = -1;
    // The organiser and contact whose details are shown.
    std::int32_t m_shownOrganiser = -1;
    std::int32_t m_shownContact = -1;
    std::unique_ptr<CSetEvent> m_set;
    std::optional<PlanningContext> m_planning;
    std::unique_ptr<Ui::CEventDlg> m_ui;
};
