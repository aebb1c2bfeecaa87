#pragma once

#include "core/OvernightPlan.h"
#include "widgets/CRecordFormDialog.h"

#include <QDateTime>

#include <cstdint>
#include <memory>
#include <optional>

class CDatabase;
class DateTimeBinding;

namespace Ui {
class CPlanReservierungDlg;
}

// "Reservierung": one overnight stay of a person at an event (one row of T_Event_Uebernachtung)
// with its hotel, room, arrival, departure and remarks, and the price per night of the room
// (T_Event_Uebernachtung_Zimmer). Opened with the stay's person key, function and arrival, or
// with the person key -1 for a new stay; accepted after a successful save, and stayKey() then
// identifies the stored stay.
class CPlanReservierungDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    static const char* const kAlreadyBooked;
    static const char* const kDepartureBeforeArrival;

    CPlanReservierungDlg(CDatabase& db, std::int32_t eventId, std::int32_t personId, int function,
                         const QDateTime& arrival, QWidget* parent = nullptr);
    ~CPlanReservierungDlg() override;

    OvernightPlan::StayKey stayKey() const { return m_key; }
    // A new stay starts with this person chosen; a stored stay keeps its own.
    void presetPerson(std::int32_t id, int function);

protected:
    QString rowFilter(std::int32_t key) const override;
    void showRow(const CRecordset& row) override;
    void showNewRow() override;
    bool checkInput() override;
    void storeRow(CRecordset& row, bool isNew) override;
    void storeDependents(const CRecordset& row, bool isNew) override;
    QString fieldLabel(const QString& table, const QString& column) const override;
    QString refusalText(const CDaoException& error) override;
    bool save() override;

private:
    void fillPersons(std::int32_t inUse, int inUseFunction);
    bool selectPerson(std::int32_t id, int function);
    void fillHotels(std::int32_t inUse);
    // Shows the chosen hotel's address and numbers.
    void chooseHotel();
    // Shows the chosen room's guests and, unless the user typed one, its stored price.
    void showRoom();
    OvernightPlan::Room chosenRoom() const;
    void onNewHotel();
    void onEditHotel();

    const std::int32_t m_eventId;
    // The stored stay (person -1 while there is none) and its room; the stay is found and
    // changed by this key.
    OvernightPlan::StayKey m_key;
    OvernightPlan::Room m_room;
    OvernightPlan::StayDefaults m_defaults;
    DateTimeBinding* m_arrival = nullptr;
    DateTimeBinding* m_departure = nullptr;
    // What checkInput() read.
    std::int32_t m_chosenPerson = 0;
    int m_chosenFunction = 0;
    OvernightPlan::Room m_chosenRoom;
    bool m_priceEntered = false;
    std::optional<double> m_priceShown; // the chosen room's price as read when it was shown
    std::optional<double> m_price;
    std::unique_ptr<Ui::CPlanReservierungDlg> m_ui;
};
