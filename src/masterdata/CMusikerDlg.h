#pragma once

#include "widgets/CFormDialog.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class CDatabase;
class CPickList;
class CProfileFile;
class CSetStammMusiker;

namespace Ui {
class CMusikerDlg;
}

// "Musiker": one musician of the band (T_Stamm_Musiker) with personal, contact, tax and bank
// data, a photo, a minimum fee and up to six instruments.
//
// Opened with MusikerID -1 for a new musician. The form is accepted after a successful save;
// musikerId() then gives the musician's key.
class CMusikerDlg : public CFormDialog {
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

    // False when the musician could not be read: the error has been shown and the form must
    // not be.
    bool isReady() const { return m_ready; }
    std::int32_t musikerId() const { return m_musikerId; }
    const QString& photoPath() const { return m_photoPath; }

    // Replaces the file dialog of "&Foto einfügen".
    void setFilePicker(FilePicker picker) { m_pickFile = std::move(picker); }

    void done(int result) override;

protected:
    bool save() override;

private:
    void fillInstrumentLists();
    void showRecord();
    void showPhoto();
    void onInsertPhoto();
    void onRemovePhoto();

    CDatabase& m_db;
    CProfileFile& m_profile;
    const QString m_programDirectory;
    std::int32_t m_musikerId;
    bool m_ready = true;
    QString m_photoPath;
    FilePicker m_pickFile;
    std::array<CPickList*, 6> m_instruments{};
    std::unique_ptr<CSetStammMusiker> m_set;
    std::unique_ptr<Ui::CMusikerDlg> m_ui;
};
