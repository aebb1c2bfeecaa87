#pragma once

#include "core/FinanceModel.h"
#include "core/PlanningContext.h"
#include "widgets/CRecordFormDialog.h"

#include <cstdint>
#include <memory>

class CBookingGroup;

namespace Ui {
class CKostenBuchenDlg;
class CSpesenBuchenDlg;
} // namespace Ui

// One position of the transport or expenses costs: a row of T_Event_Finanzen found by its
// FinanzID (-1: a new one), with the booking fields of the cost forms.
class CBuchungPositionDlg : public CRecordFormDialog {
    Q_OBJECT
protected:
    CBuchungPositionDlg(CDatabase& db, int costGroup, int costCentre, std::int32_t partyId,
                        std::int32_t eventId, std::int32_t financeId, QWidget* parent);

    // Call once the form's widgets exist.
    void setUpBooking(CBookingGroup* booking);

    void showRow(const CRecordset& row) override;
    void showNewRow() override;
    bool checkInput() override;
    void storeRow(CRecordset& row, bool isNew) override;

    CBookingGroup* m_booking = nullptr;

private:
    const int m_costGroup;
    const int m_costCentre;
    const std::int32_t m_partyId;
    const std::int32_t m_eventId;
};

// "Kosten buchen": a transport cost of one vehicle.
class CKostenBuchenDlg : public CBuchungPositionDlg {
    Q_OBJECT
public:
    CKostenBuchenDlg(CDatabase& db, const PlanningContext& event, std::int32_t vehicle,
                     std::int32_t firm, std::int32_t financeId, QWidget* parent = nullptr);
    ~CKostenBuchenDlg() override;

    // Shows the form; on Accepted `financeId` holds the stored position's key.
    static int showModal(CDatabase& db, const PlanningContext& event, Finance::VatMode mode,
                         std::int32_t vehicle, std::int32_t firm, std::int32_t& financeId,
                         QWidget* parent);

protected:
    void showRow(const CRecordset& row) override;
    void showNewRow() override;
    void storeRow(CRecordset& row, bool isNew) override;

private:
    void showVehicle(std::int32_t vehicle, std::int32_t firm);

    std::unique_ptr<Ui::CKostenBuchenDlg> m_ui;
};

// "Spesen buchen": one expenses position.
class CSpesenBuchenDlg : public CBuchungPositionDlg {
    Q_OBJECT
public:
    CSpesenBuchenDlg(CDatabase& db, const PlanningContext& event, std::int32_t financeId,
                     QWidget* parent = nullptr);
    ~CSpesenBuchenDlg() override;

    static int showModal(CDatabase& db, const PlanningContext& event, Finance::VatMode mode,
                         std::int32_t& financeId, QWidget* parent);

protected:
    bool checkInput() override;

private:
    TextBinding* m_purpose = nullptr;
    std::unique_ptr<Ui::CSpesenBuchenDlg> m_ui;
};
