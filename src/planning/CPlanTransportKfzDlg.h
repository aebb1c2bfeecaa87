#pragma once

#include "widgets/CRecordFormDialog.h"

#include <cstdint>
#include <memory>

class CDatabase;
class CProfileFile;

namespace Ui {
class CPlanTransportKfzDlg;
}

// "Planung Transport" for one planned vehicle: the car-hire firm, its vehicle, the driver and a
// remark (one row of T_Event_Transport). Opened with the firm and vehicle keys of a planned
// vehicle, or -1 and -1 for a new one; accepted after a successful save, and firm() and
// vehicle() then give the keys of the stored row.
class CPlanTransportKfzDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    static const char* const kAlreadyPlanned;

    CPlanTransportKfzDlg(CDatabase& db, CProfileFile& profile, std::int32_t eventId,
                         std::int32_t firm, std::int32_t vehicle, QWidget* parent = nullptr);
    ~CPlanTransportKfzDlg() override;

    std::int32_t firm() const { return m_firm; }
    std::int32_t vehicle() const { return m_vehicle; }

protected:
    QString rowFilter(std::int32_t key) const override;
    void showRow(const CRecordset& row) override;
    void showNewRow() override;
    bool checkInput() override;
    void storeRow(CRecordset& row, bool isNew) override;
    void storeDependents(const CRecordset& row, bool isNew) override;
    QString refusalText(const CDaoException& error) override;

private:
    void fillFirms();
    void chooseFirm();
    void fillVehicles(std::int32_t select);
    void chooseVehicle();
    void markChanged() { setChanged(); }

    void onNewFirm();
    void onEditFirm();
    void onNewVehicle();

    CProfileFile& m_profile;
    const std::int32_t m_eventId;
    // The keys of the stored row (-1 while there is none); the row is found and changed by them.
    std::int32_t m_firm;
    std::int32_t m_vehicle;
    // What checkInput() read.
    std::int32_t m_chosenFirm = 0;
    std::int32_t m_chosenVehicle = 0;
    std::unique_ptr<Ui::CPlanTransportKfzDlg> m_ui;
};
