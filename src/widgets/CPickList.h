#pragma once

#include <QComboBox>
#include <QList>
#include <QStringList>

#include <cstdint>

class PickListRows;
class QTreeView;

// A drop-down list whose rows hold several text columns with widths of their own (width 0 hides
// a column) and an integer per row. The closed list shows the row's first visible column.
//
// It asks for the room a combo box asks for: as wide as its widest shown text when its size is
// first asked for and again when it is first shown, then steady until its font or style changes. A
// combo box measures every row for each of its two size hints; a pick list measures its rows once
// for both, and again only when rows changed in between, which keeps forms with thousands of rows
// quick to open.
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

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The combo box's size for a text of `textWidth` pixels (-1: only minimumContentsLength).
    QSize hintFor(int textWidth) const;
    // The width of the widest shown text, measured once per change of the rows.
    int widestText() const;
    void rowsChanged() { ++m_rowsVersion; }

    PickListRows* m_rows;
    QTreeView* m_popup;
    QList<int> m_widths;
    // The size hints as computed, kept as a combo box keeps them; invalid until asked for.
    mutable QSize m_sizeHint;
    mutable QSize m_minimumSizeHint;
    mutable int m_widest = -1;
    mutable int m_widestVersion = -1; // the rows version m_widest was measured on
    int m_rowsVersion = 0;
    bool m_shownOnce = false;
};
