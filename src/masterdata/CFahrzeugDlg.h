#pragma once

#include "widgets/CRecordFormDialog.h"

#include <cstdint>
#include <memory>

class CDatabase;
class TextBinding;

namespace Ui {
class CFahrzeugDlg;
}

// "Fahrzeuge": one vehicle (T_Stamm_KfzVerleiher_Kfz) of a car-hire firm: type, permitted
// weight, registration, seats, tow bar and the rent or other remarks. Opened for the firm's
// ExtID with KfzID -1 for a new vehicle; accepted after a successful save, and kfzId() then
// gives the key the database assigned.
class CFahrzeugDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    CFahrzeugDlg(CDatabase& db, std::int32_t extId, std::int32_t kfzId, QWidget* parent = nullptr);
    ~CFahrzeugDlg() override;

    std::int32_t kfzId() const { return key(); }

protected:
    QString rowFilter(std::int32_t key) const override;
    void showRow(const CRecordset& row) override;
    void showNewRow() override;
    bool checkInput() override;
    void storeRow(CRecordset& row, bool isNew) override;

private:
    const std::int32_t m_extId;
    TextBinding* m_type = nullptr;
    // The seats read by checkInput(); none for an empty field.
    int m_seats = 0;
    bool m_hasSeats = false;
    std::unique_ptr<Ui::CFahrzeugDlg> m_ui;
};
