#include "CReportListModel.h"

#include "Pictures.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

void CReportListModel::setColumns(const QStringList& titles) {
    beginResetModel();
    m_titles = titles.mid(0, ListRow::kMaxColumns);
    // The entries' memory goes too, not only the entries: a list of 100,000 events is large.
    const size_t oldCount = m_rows.size();
    std::vector<ListRow>().swap(m_rows);
    endResetModel();
    releaseFreedMemory(oldCount);
}

void CReportListModel::setRows(std::vector<ListRow> rows) {
    const int oldCount = static_cast<int>(m_rows.size());
    const int newCount = static_cast<int>(rows.size());
    const int kept = std::min(oldCount, newCount);
    if (newCount < oldCount) {
        beginRemoveRows(QModelIndex(), newCount, oldCount - 1);
        m_rows.resize(static_cast<size_t>(newCount));
        endRemoveRows();
    }
    for (int i = 0; i < kept; ++i)
        m_rows[static_cast<size_t>(i)] = std::move(rows[static_cast<size_t>(i)]);
    if (kept > 0)
        Q_EMIT dataChanged(index(0, 0), index(kept - 1, columnCount() - 1));
    if (newCount > oldCount) {
        beginInsertRows(QModelIndex(), oldCount, newCount - 1);
        if (oldCount == 0) {
            m_rows = std::move(rows);
        } else {
            m_rows.reserve(rows.size());
            for (int i = oldCount; i < newCount; ++i)
                m_rows.push_back(std::move(rows[static_cast<size_t>(i)]));
        }
        endInsertRows();
    }
    rows = {};
    releaseFreedMemory(size_t(std::max(oldCount, newCount)));
}

void CReportListModel::releaseFreedMemory(size_t rows) {
#ifdef __GLIBC__
    // Filling a long list frees about as much as it keeps, in pieces the allocator holds on to;
    // handing them back keeps the program's memory at what the list needs. Short lists free
    // too little to be worth the walk through the heap.
    if (rows >= kLongList)
        malloc_trim(0);
#else
    Q_UNUSED(rows);
#endif
}

int CReportListModel::rowOfKey(std::int32_t key) const {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].key == key)
            return static_cast<int>(i);
    }
    return -1;
}

int CReportListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CReportListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

QVariant CReportListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return QVariant();
    const ListRow& entry = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::ToolTipRole:
        if (index.column() == 0) {
            if (const QString notice = entry.notice(); !notice.isEmpty())
                return notice;
        }
        return entry.texts[static_cast<size_t>(index.column())];
    case Qt::DisplayRole:
        return entry.texts[static_cast<size_t>(index.column())];
    case Qt::DecorationRole:
        if (index.column() == 0 && entry.icon >= 0)
            return Pictures::statusIcon(entry.icon);
        return QVariant();
    case Qt::UserRole:
        return entry.key;
    default:
        return QVariant();
    }
}

QVariant CReportListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_titles.size())
        return m_titles.at(section);
    return QVariant();
}
