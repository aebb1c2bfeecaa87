#pragma once

#include "core/PlanningContext.h"
#include "core/TimePlan.h"
#include "widgets/CRecordFormDialog.h"

#include <QDate>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class CDatabase;
class CProfileFile;
class AmountBinding;
class DateTimeBinding;
class RadioBinding;
class TextBinding;
class QLineEdit;
class QTimeEdit;

namespace Ui {
class CEventDlg;
}

// "Event bearbeiten": one event (T_Event) with its status, organiser and contact, venue, fee and
// time plan. Opened with EventID -1 for a new event. The time plan is checked before the event
// is stored; "Event Planun&g..." hands the stored event over to the planning hub.
class CEventDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    // Event status codes, as column Status stores them. A null status reads as Reserved.
    enum Status { Requested = 0, Reserved, Booked, Cancelled, Invoiced };

    CEventDlg(CDatabase& db, CProfileFile& profile, std::int32_t eventId,
              QWidget* parent = nullptr);
    ~CEventDlg() override;

    // Opens the form modally and returns QDialog::Accepted when it saved the event or handed it
    // over to planning; the planning hub then follows once the form has closed. A new event
    // (-1) starts on `newDate` when it is given.
    static int showModal(CDatabase& db, CProfileFile& profile, std::int32_t eventId,
                         QWidget* parent = nullptr, const QDate& newDate = QDate());

    // Puts every time of a new event's plan on this day; the form counts as unchanged.
    void presetDate(const QDate& date);

    // -1 until a new event is stored.
    std::int32_t eventId() const { return key(); }
    // The event as handed over to planning, once the form closed for it.
    const std::optional<PlanningContext>& planningContext() const { return m_planning; }

    // The date field and the time field of one time of the plan.
    QLineEdit* dateField(TimePlan::Time time) const;
    QTimeEdit* timeField(TimePlan::Time time) const;

protected:
    void showRow(const CRecordset& row) override;
    void showNewRow() override;
    bool checkInput() override;
    void storeRow(CRecordset& row, bool isNew) override;
    void rowSaved() override;
    QString fieldLabel(const QString& table, const QString& column) const override;

private:
    void fillOrganisers();
    void fillContacts();
    void chooseOrganiser();
    void chooseContact();
    void copyBeginDate(const QString& text);

    void onNewOrganiser();
    void onEditOrganiser();
    void onNewContact();
    void onPlanning();

    CProfileFile& m_profile;
    // The organiser and contact the stored event refers to: listed even when flagged deleted.
    std::int32_t m_storedOrganiser = -1;
    std::int32_t m_storedContact = -1;
    // The organiser and contact whose details are shown.
    std::int32_t m_shownOrganiser = -1;
    std::int32_t m_shownContact = -1;
    // What checkInput() read of the organiser and contact.
    std::int32_t m_organiser = 0;
    std::int32_t m_contact = 0;
    TextBinding* m_location = nullptr;
    AmountBinding* m_fee = nullptr;
    std::array<DateTimeBinding*, TimePlan::kTimes> m_times{};
    std::optional<PlanningContext> m_planning;
    std::unique_ptr<Ui::CEventDlg> m_ui;
};
