#pragma once

#include "widgets/CRecordFormDialog.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class CDatabase;
class CProfileFile;
class TextBinding;

namespace Ui {
class CArtikelDlg;
}

// "Artikel hinzufügen" / "Artikel bearbeiten": one merchandise article (T_Stamm_Artikel) with
// its group, name, label and performer, description, up to four prices and a photo. Articles of
// a group of the category "Sonstiges" have no label and no performer.
//
// Opened with ArtikelID -1 for a new article. The form is accepted after a successful save;
// artikelId() then gives the article's key.
class CArtikelDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    // Asks for a photo file: starts in the folder, offers the filter; an empty path when the
    // user cancels.
    using FilePicker =
        std::function<QString(QWidget* parent, const QString& startFolder, const QString& filter)>;
    static const char* const kPhotoFilter;

    static constexpr int kNameLength = 30;
    static constexpr int kLabelLength = 50;
    static constexpr int kPerformerLength = 50;
    static constexpr int kDescriptionLength = 255;

    CArtikelDlg(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                std::int32_t artikelId, QWidget* parent = nullptr);
    ~CArtikelDlg() override;

    // Opens the form modally and returns its result; QDialog::Rejected without showing it when
    // the article could not be read. `artikelId` receives the key after an accepted form.
    static int showModal(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                         std::int32_t& artikelId, QWidget* parent = nullptr);

    std::int32_t artikelId() const { return key(); }
    const QString& photoPath() const { return m_photoPath; }

    // Replaces the file dialog of "&Foto einfügen".
    void setFilePicker(FilePicker picker) { m_pickFile = std::move(picker); }

protected:
    void showRow(const CRecordset& row) override;
    void showNewRow() override;
    bool checkInput() override;
    void storeRow(CRecordset& row, bool isNew) override;

private:
    // The live groups and the one the article belongs to, even when it was deleted since.
    void fillGroups();
    // Selects the group by name (case aside); none when it is not listed.
    void selectGroup(const QString& name);
    QString chosenGroup() const;
    bool chosenGroupHasLabel() const;
    // Shows or hides label and performer by the category of the chosen group.
    void showCategory();
    // The labels and performers the live articles use.
    void fillChoices();
    void showPhoto();

    void onGroupChosen();
    void onNewGroup();
    void onInsertPhoto();
    void onRemovePhoto();

    CProfileFile& m_profile;
    const QString m_programDirectory;
    // The group the stored article belongs to; empty for a new article.
    QString m_groupInUse;
    QString m_photoPath;
    FilePicker m_pickFile;
    TextBinding* m_name = nullptr;
    std::unique_ptr<Ui::CArtikelDlg> m_ui;
};
