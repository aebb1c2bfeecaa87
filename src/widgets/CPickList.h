#pragma once

#include <QComboBox>
#include <QList>
#include <QStringList>

#include <cstdint>

class QStandardItemModel;
class QTreeView;

// A drop-down list whose rows hold several text columns with widths of their own (width 0 hides
// a column) and an integer per row. The closed list shows the row's first visible column.
class CPickList : public QComboBox {
    Q_OBJECT
public:
    explicit CPickList(QWidget* parent = nullptr);

    // Column widths in pixels, in column order; also fixes the number of columns.
    void setColumnWidths(const QList<int>& widths);
    void clearRows();
    // Adds a row; missing texts are empty. Returns the row's index.
    int addRow(const QStringList& texts, std::int32_t data);
    int rowCount() const { return count(); }
    QString text(int row, int column) const;
    std::int32_t rowData(int row) const;

    // Selects the first row carrying the data; false (and no row selected) when none does.
    bool selectData(std::int32_t data);
    // The data of the selected row, or `none` when no row is selected.
    std::int32_t selectedData(std::int32_t none = -1) const;

private:
    QStandardItemModel* m_rows;
    QTreeView* m_popup;
    QList<int> m_widths;
};
