#pragma once

#include "core/ArticleGroups.h"
#include "widgets/CFormDialog.h"

#include <QString>

#include <memory>

class CDatabase;

namespace Ui {
class CArtikelgruppeDlg;
}

// "Artikelgruppe hinzufügen" / "Artikelgruppe bearbeiten": name (in capital letters), category
// and description of one article group. Saving writes the group (see ArticleGroups::store): a
// new group under an existing name updates that group, a renamed group takes its articles
// along. The form is accepted once the group is stored; group() then gives what was stored.
class CArtikelgruppeDlg : public CFormDialog {
    Q_OBJECT
public:
    static constexpr int kNameLength = 20;
    static constexpr int kDescriptionLength = 255;

    // A new group.
    explicit CArtikelgruppeDlg(CDatabase& db, QWidget* parent = nullptr);
    // The group stored under `group.name`, shown with these values.
    CArtikelgruppeDlg(CDatabase& db, const ArticleGroups::Group& group, QWidget* parent = nullptr);
    ~CArtikelgruppeDlg() override;

    const ArticleGroups::Group& group() const { return m_group; }

protected:
    bool save() override;

private:
    void showGroup(const ArticleGroups::Group& group);

    CDatabase& m_db;
    // The name the group is stored under; empty for a new group.
    QString m_oldName;
    ArticleGroups::Group m_group;
    std::unique_ptr<Ui::CArtikelgruppeDlg> m_ui;
};
