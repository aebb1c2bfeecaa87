#pragma once

#include "widgets/CFormDialog.h"

#include <QString>

#include <cstdint>
#include <memory>

class CDatabase;
class CProfileFile;
class CSetStammExtFirma;

namespace Ui {
class CExtFirmaDlg;
}

// One external firm (T_Stamm_ExtFirma) of a firm kind: organiser, technician, backliner, PA
// hire, light hire or car hire, with its contact persons. A firm is a business ("Gewerbe",
// named by "Firma") or a private person ("Privat", named by "Name" and "Vorname"); switching
// between the two keeps the texts of the other mode aside, so switching back restores them.
//
// Opened with ExtID -1 for a new firm. The form is accepted when the firm was saved while it
// was open; extId() then gives its key.
class CExtFirmaDlg : public CFormDialog {
    Q_OBJECT
public:
    // Firm kinds, as column Art stores them.
    enum Kind { Organizer = 0, Technician, Backliner, PAHire, LightHire, CarHire };

    CExtFirmaDlg(CDatabase& db, CProfileFile& profile, int firmKind, std::int32_t extId,
                 QWidget* parent = nullptr);
    ~CExtFirmaDlg() override;

    // The window title of a firm kind ("Veranstalter" ...); empty for an unknown kind.
    static QString kindTitle(int firmKind);

    // Opens the form modally and returns its result; QDialog::Rejected without showing it when
    // the firm could not be read. `extId` receives the firm's key after an accepted form.
    static int showModal(CDatabase& db, CProfileFile& profile, int firmKind, std::int32_t& extId,
                         QWidget* parent = nullptr);

    // False when the firm could not be read: the error has been shown and the form must not be.
    bool isReady() const { return m_ready; }
    std::int32_t extId() const { return m_extId; }
    int firmKind() const { return m_firmKind; }
    bool isPrivate() const;

    // Stores the contact list's widths, whichever way the form closes.
    void done(int result) override;

protected:
    bool save() override;
    bool acceptWhenUnchanged() const override { return m_savedWhileOpen; }

private:
    void loadRecord();
    void enterBusinessMode();
    void enterPrivateMode();
    void fillContacts();
    // A new firm is saved before anything can hang on it; false when the user declines or the
    // save fails.
    bool saveNewFirmFirst();

    void onNewContact();
    void onEditContact();
    void onDeleteContact();
    void onVehicles();
    void updateContactButtons();

    CDatabase& m_db;
    CProfileFile& m_profile;
    const int m_firmKind;
    std::int32_t m_extId;
    bool m_ready = true;
    bool m_savedWhileOpen = false;
    // The texts of the mode not shown.
    QString m_stashFirma;
    QString m_stashName;
    QString m_stashVorname;
    std::unique_ptr<CSetStammExtFirma> m_set;
    std::unique_ptr<Ui::CExtFirmaDlg> m_ui;
};
