#pragma once

#include "widgets/CRecordFormDialog.h"

#include <QString>

#include <cstdint>
#include <memory>

class CDatabase;
class CProfileFile;
class TextBinding;

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
class CExtFirmaDlg : public CRecordFormDialog {
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

    std::int32_t extId() const { return key(); }
    int firmKind() const { return m_firmKind; }
    bool isPrivate() const;

    // Stores the contact list's widths, whichever way the form closes.
    void done(int result) override;

protected:
    QString rowFilter(std::int32_t key) const override;
    void showRow(const CRecordset& row) override;
    void showNewRow() override;
    bool checkInput() override;
    void storeRow(CRecordset& row, bool isNew) override;
    void rowSaved() override;
    // Saves only a changed form.
    bool save() override;
    bool acceptWhenUnchanged() const override { return m_savedWhileOpen; }

private:
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

    CProfileFile& m_profile;
    const int m_firmKind;
    bool m_savedWhileOpen = false;
    TextBinding* m_firma = nullptr;
    TextBinding* m_name = nullptr;
    TextBinding* m_vorname = nullptr;
    // The texts of the mode not shown.
    QString m_stashFirma;
    QString m_stashName;
    QString m_stashVorname;
    std::unique_ptr<Ui::CExtFirmaDlg> m_ui;
};
