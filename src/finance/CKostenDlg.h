#pragma once

#include "core/BaseData.h"
#include "core/FinanceModel.h"
#include "core/PlanningContext.h"
#include "widgets/CFormDialog.h"

#include <QStringList>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class CDatabase;
class CProfileFile;
class CRecordset;
class CReportList;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidgetItem;
class QVBoxLayout;

namespace Ui {
class CKostenDlg;
}

// The frame of the six cost forms of an event: the event, the booked party, the booking
// ("Kosten"), the party's tax and bank data, the event's budget and the accounting status of the
// area. Each area is a small subclass that says what it books; all money comes from the finance
// model (core/FinanceModel.h).
class CKostenDlg : public CFormDialog {
    Q_OBJECT
public:
    // Opens the cost form of an area (cost group 1 personnel ... 6 expenses) modally and returns
    // its result. A form that cannot read its event is not shown (Rejected).
    static int showArea(CDatabase& db, CProfileFile& profile, int costGroup, std::int32_t eventId,
                        Finance::VatMode mode, QWidget* parent);

    ~CKostenDlg() override;

    int costGroup() const { return m_costGroup; }
    const Finance::BudgetSummary& summary() const { return m_summary; }

protected:
    CKostenDlg(CDatabase& db, CProfileFile& profile, int costGroup, const PlanningContext& event,
               Finance::VatMode mode, QWidget* parent);

    CDatabase& database() const { return m_db; }
    CProfileFile& profile() const { return m_profile; }
    const PlanningContext& event() const { return m_event; }
    const BaseData& base() const { return m_base; }
    Finance::VatMode mode() const { return m_mode; }
    Ui::CKostenDlg& ui() const { return *m_ui; }
    QVBoxLayout* partyLayout() const;

    // Reads the budget summary again and shows it (empty when it cannot be read).
    void refreshBudget();
    // Shows the tax and bank data (empty texts for none).
    void showTax(const QStringList& texts);
    // Hides the booking and tax groups: the area books in a sub-form of its own.
    void hideBookingFields();

    // The current booking of a one-booking form: shown, stored, and its display amount kept for
    // the live budget. Without a row the fields show a new booking.
    void showBooking(const CRecordset* row);
    // Writes the current booking: the one of m_financeId, or a new row with these codes. False
    // after a refusal or a database error (shown; the form keeps what was typed).
    bool storeBooking(int costCentre, std::int32_t partyId);
    // What the area writes beyond the booking fields.
    virtual void storeExtra(CRecordset& row) { (void)row; }

    // The booking fields were edited since the booking was shown or stored (a touched status
    // does not count).
    bool bookingEdited() const;

    // The live budget: which sum the typed amount adjusts.
    virtual bool livePersonnel() const { return false; }

    std::int32_t m_financeId = 0;
    double m_storedDisplay = 0;
    // A booking was stored while the form was open.
    bool m_savedWhileOpen = false;

    void done(int result) override;
    // Lists whose widths are written back when the form closes.
    std::vector<CReportList*> m_lists;

private:
    void showLiveBudget();

    bool m_bookingTouched = false;

    CDatabase& m_db;
    CProfileFile& m_profile;
    const int m_costGroup;
    const PlanningContext m_event;
    const Finance::VatMode m_mode;
    BaseData m_base;
    Finance::BudgetSummary m_summary;
    bool m_summaryValid = false;
    std::unique_ptr<Ui::CKostenDlg> m_ui;
};

// "Kosten Lichtanlage" and "Kosten PA": the one booking of the hire firm assigned to the event.
class CKostenFirmaDlg : public CKostenDlg {
    Q_OBJECT
public:
    struct Hire {
        int costGroup;
        int costCentre;
        int firmKind;
        const char* title;
        const char* groupTitle;
        const char* firmLabel;
        const char* descriptionLabel;
        // Column of A_Event_ExtFirma shown as the description: the firm's or the assignment's.
        const char* descriptionColumn;
        // The party key booked without an assignment.
        std::int32_t noParty;
    };
    static const Hire kLight;
    static const Hire kPA;

    CKostenFirmaDlg(CDatabase& db, CProfileFile& profile, const Hire& hire,
                    const PlanningContext& event, Finance::VatMode mode, QWidget* parent);

protected:
    bool save() override;

private:
    void loadParty();
    void loadBooking();

    const Hire& m_hire;
    std::int32_t m_party = 0;
    QLineEdit* m_firm = nullptr;
    QPlainTextEdit* m_description = nullptr;
};

// "Personalkosten": one booking per musician of the line-up and per technician and backliner.
class CKostenPersonalDlg : public CKostenDlg {
    Q_OBJECT
public:
    CKostenPersonalDlg(CDatabase& db, CProfileFile& profile, const PlanningContext& event,
                       Finance::VatMode mode, QWidget* parent);

    void done(int result) override;

protected:
    bool save() override;
    bool livePersonnel() const override { return true; }

private:
    struct Person {
        int kind; // 0 musician, 1 technician, 2 backliner
        std::int32_t key;
        QString name;
        QString function;
    };
    int costCentre(const Person& person) const;
    void fillList(int select);
    void choosePerson(int index);
    void onPersonChanged(QTreeWidgetItem* current);

    std::vector<Person> m_persons;
    int m_current = -1;
    bool m_closingByEnde = false;
    CReportList* m_list = nullptr;
};

// "Übernachtungskosten": the rooms of the event and their price, booked as one flag row that
// also says whether the organiser pays.
class CKostenHotelDlg : public CKostenDlg {
    Q_OBJECT
public:
    CKostenHotelDlg(CDatabase& db, CProfileFile& profile, const PlanningContext& event,
                    Finance::VatMode mode, QWidget* parent);

protected:
    bool save() override;
    void storeExtra(CRecordset& row) override;

private:
    void fillRooms();
    void loadBooking();

    double m_roomsTotal = 0;
    CReportList* m_rooms = nullptr;
    QCheckBox* m_organiserPays = nullptr;
};

// "Transportkosten" and "Spesen / Sonstiges": any number of positions, each booked in a sub-form
// ("Kosten buchen", "Spesen buchen").
class CKostenListeDlg : public CKostenDlg {
    Q_OBJECT
public:
    CKostenListeDlg(CDatabase& db, CProfileFile& profile, int costGroup,
                    const PlanningContext& event, Finance::VatMode mode, QWidget* parent);

public Q_SLOTS:
    void onEndeList();

protected:
    bool save() override;

private:
    void fillVehicles();
    void fillPositions(std::int32_t select);
    void updateButtons();
    void onNew();
    void onEdit();
    void onDelete();
    bool isTransport() const;

    CReportList* m_vehicles = nullptr;
    CReportList* m_positions = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    bool m_positionsChanged = false;
    // The hiring firm of each vehicle listed.
    std::map<std::int32_t, std::int32_t> m_vehicleFirms;
};
