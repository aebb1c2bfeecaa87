#pragma once

#include "widgets/CFormDialog.h"

#include <cstdint>
#include <memory>

class CDatabase;

namespace Ui {
class CAnsprechDlg;
}

// "Ansprechpartner": one contact person of a firm (T_Stamm_ExtAnsprech). Opened for a firm's
// kind and key with APID -1 for a new contact; accepted after a successful save.
class CAnsprechDlg : public CFormDialog {
    Q_OBJECT
public:
    CAnsprechDlg(CDatabase& db, int firmKind, std::int32_t extId, std::int32_t apId,
                 QWidget* parent = nullptr);
    ~CAnsprechDlg() override;

    // The contact's key; for a new contact the one the database gave it once saved.
    std::int32_t apId() const { return m_apId; }

protected:
    // Checks the lengths, the date and that a name is given, then writes the contact.
    bool save() override;

private:
    void load();

    CDatabase& m_db;
    int m_firmKind;
    std::int32_t m_extId;
    std::int32_t m_apId;
    std::unique_ptr<Ui::CAnsprechDlg> m_ui;
};
