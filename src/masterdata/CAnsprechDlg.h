#pragma once

#include "widgets/CRecordFormDialog.h"

#include <cstdint>
#include <memory>

class CDatabase;
class TextBinding;

namespace Ui {
class CAnsprechDlg;
}

// "Ansprechpartner": one contact person of a firm (T_Stamm_ExtAnsprech). Opened for a firm's
// kind and key with APID -1 for a new contact; accepted after a successful save.
class CAnsprechDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    CAnsprechDlg(CDatabase& db, int firmKind, std::int32_t extId, std::int32_t apId,
                 QWidget* parent = nullptr);
    ~CAnsprechDlg() override;

    // The contact's key; for a new contact the one the database gave it once saved.
    std::int32_t apId() const { return key(); }

protected:
    void showRow(const CRecordset& row) override;
    bool checkInput() override;
    void storeRow(CRecordset& row, bool isNew) override;
    void rowSaved() override;

private:
    int m_firmKind;
    std::int32_t m_extId;
    TextBinding* m_name = nullptr;
    std::unique_ptr<Ui::CAnsprechDlg> m_ui;
};
