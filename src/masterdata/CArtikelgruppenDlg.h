#pragma once

#include <QDialog>

#include <memory>

class CDatabase;
class QTreeWidgetItem;

namespace Ui {
class CArtikelgruppenDlg;
}

// "Artikelgruppen": the live article groups (T_Stamm_Artikelgruppe) by name, with adding,
// editing and deleting. Deleting only flags a group: its articles and past sales keep it.
class CArtikelgruppenDlg : public QDialog {
    Q_OBJECT
public:
    explicit CArtikelgruppenDlg(CDatabase& db, QWidget* parent = nullptr);
    ~CArtikelgruppenDlg() override;

    void onAdd();
    void onEdit();
    void onDelete();

private:
    void fillList();
    // Selects the entry of the group, or none.
    void selectGroup(const QString& name);
    void select(QTreeWidgetItem* row);
    void updateButtons();

    CDatabase& m_db;
    std::unique_ptr<Ui::CArtikelgruppenDlg> m_ui;
};
