#pragma once

#include "core/PlanningContext.h"
#include "widgets/CFormDialog.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class CDatabase;
class CProfileFile;

namespace Ui {
class CFanartikelDlg;
class CFanartikelDetailDlg;
} // namespace Ui

// "Fanartikel": the merchandise sold at one event, position by position, with the total.
class CFanartikelDlg : public CFormDialog {
    Q_OBJECT
public:
    CFanartikelDlg(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                   const PlanningContext& event, QWidget* parent = nullptr);
    ~CFanartikelDlg() override;

    static int showModal(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                         std::int32_t eventId, QWidget* parent);

    void done(int result) override;

protected:
    bool save() override { return true; }

private:
    void fillList(std::int32_t select);
    void onNew();
    void onEdit();
    void onDelete();

    CDatabase& m_db;
    CProfileFile& m_profile;
    const QString m_programDirectory;
    const PlanningContext m_event;
    std::unique_ptr<Ui::CFanartikelDlg> m_ui;
};

// "Fanartikel Detail": one sales position (T_Event_Merchandising): article group, article,
// quantity and unit price.
class CFanartikelDetailDlg : public CFormDialog {
    Q_OBJECT
public:
    // `merchId` -1: a new position.
    CFanartikelDetailDlg(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                         const PlanningContext& event, std::int32_t merchId,
                         QWidget* parent = nullptr);
    ~CFanartikelDetailDlg() override;

    std::int32_t merchId() const { return m_merchId; }
    bool isReady() const { return m_ready; }

protected:
    bool save() override;

private:
    void fillGroups();
    void fillArticles();
    // An existing position names an article (by key or by name) to keep when editing.
    bool hasStoredArticle() const;
    void fillPrices();
    void showTotal();
    // The unit price: the chosen entry's amount, or the typed text (comma or point).
    std::optional<double> unitPrice() const;
    void onArticleManagement();

    CDatabase& m_db;
    CProfileFile& m_profile;
    const QString m_programDirectory;
    const PlanningContext m_event;
    std::int32_t m_merchId;
    bool m_ready = true;
    // What the stored position names: listed even when deleted since.
    QString m_storedGroup;
    std::int32_t m_storedArticle = -1;
    QString m_storedArticleName;
    std::unique_ptr<Ui::CFanartikelDetailDlg> m_ui;
};
