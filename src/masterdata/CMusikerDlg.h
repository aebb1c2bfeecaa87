#pragma once

#include "widgets/CRecordFormDialog.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class CDatabase;
class CPickList;
class CProfileFile;
class PickKeyBinding;
class TextBinding;

namespace Ui {
class CMusikerDlg;
}

// "Musiker": one musician of the band (T_Stamm_Musiker) with personal, contact, tax and bank
// data, a photo, a minimum fee and up to six instruments.
//
// Opened with MusikerID -1 for a new musician. The form is accepted after a successful save;
// musikerId() then gives the musician's key.
class CMusikerDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    // Asks for a photo file: starts in the folder, offers the filter; an empty path when the
    // user cancels.
    using FilePicker =
        std::function<QString(QWidget* parent, const QString& startFolder, const QString& filter)>;
    static const char* const kPhotoFilter;

    CMusikerDlg(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                std::int32_t musikerId, QWidget* parent = nullptr);
    ~CMusikerDlg() override;

    // Opens the form modally and returns its result; QDialog::Rejected without showing it when
    // the musicians could not be read. `musikerId` receives the key after an accepted form.
    static int showModal(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                         std::int32_t& musikerId, QWidget* parent = nullptr);

    std::int32_t musikerId() const { return key(); }
    const QString& photoPath() const { return m_photoPath; }

    // Replaces the file dialog of "&Foto einfügen".
    void setFilePicker(FilePicker picker) { m_pickFile = std::move(picker); }

protected:
    QString rowFilter(std::int32_t key) const override;
    void showRow(const CRecordset& row) override;
    void showNewRow() override;
    bool checkInput() override;
    void storeRow(CRecordset& row, bool isNew) override;
    void rowSaved() override;

private:
    // Live instruments, and those the shown musician plays although they were deleted since.
    void fillInstrumentLists(const CRecordset* row);
    void showPhoto();
    void onInsertPhoto();
    void onRemovePhoto();

    CProfileFile& m_profile;
    const QString m_programDirectory;
    QString m_photoPath;
    FilePicker m_pickFile;
    std::array<CPickList*, 6> m_instruments{};
    std::array<PickKeyBinding*, 6> m_slots{};
    TextBinding* m_name = nullptr;
    std::unique_ptr<Ui::CMusikerDlg> m_ui;
};
