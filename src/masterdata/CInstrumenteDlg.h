#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>

class CDatabase;
class QTreeWidgetItem;

namespace Ui {
class CInstrumenteDlg;
}

// "Instrumente": the live instruments (T_Stamm_Instrument) in alphabetical order, with adding,
// editing and deleting. Deleting only flags an instrument: musicians who play it keep it.
class CInstrumenteDlg : public QDialog {
    Q_OBJECT
public:
    explicit CInstrumenteDlg(CDatabase& db, QWidget* parent = nullptr);
    ~CInstrumenteDlg() override;

    void onAdd();
    void onEdit();
    void onDelete();

private:
    void fillList();
    // Adds the row at its place in the alphabetical order and returns it.
    QTreeWidgetItem* insertRow(const QString& name, const QString& shortName, std::int32_t key);
    void select(QTreeWidgetItem* row);
    void updateButtons();

    CDatabase& m_db;
    std::unique_ptr<Ui::CInstrumenteDlg> m_ui;
};
