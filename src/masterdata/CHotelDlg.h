#pragma once

#include "widgets/CRecordFormDialog.h"

#include <cstdint>
#include <memory>

class CDatabase;
class TextBinding;

namespace Ui {
class CHotelDlg;
}

// "Hotel / Pension": one hotel or guest house (T_Stamm_Hotel) with address, contact numbers
// and remarks such as prices and beds. Opened with HotelID -1 for a new hotel; accepted after a
// successful save, and hotelId() then gives the key the database assigned.
class CHotelDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    CHotelDlg(CDatabase& db, std::int32_t hotelId, QWidget* parent = nullptr);
    ~CHotelDlg() override;

    std::int32_t hotelId() const { return key(); }

protected:
    bool checkInput() override;

private:
    TextBinding* m_name = nullptr;
    std::unique_ptr<Ui::CHotelDlg> m_ui;
};
