#pragma once

#include "core/ListRows.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

// The entries of a report-style list. Refilling reuses the entries in place: row i overwrites
// entry i, new rows are appended, surplus entries are removed from the end, so a selection on a
// row that is still there stays where it was.
class CReportListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // New columns; the entries are removed.
    void setColumns(const QStringList& titles);
    void setRows(std::vector<ListRow> rows);

    const ListRow& row(int index) const { return m_rows[static_cast<size_t>(index)]; }
    int rowOfKey(std::int32_t key) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    static constexpr size_t kLongList = 5000;
    static void releaseFreedMemory(size_t rows);

    QStringList m_titles;
    std::vector<ListRow> m_rows;
};
