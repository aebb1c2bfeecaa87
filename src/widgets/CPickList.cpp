#include "CPickList.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTreeView>

#include <algorithm>

CPickList::CPickList(QWidget* parent)
    : QComboBox(parent), m_rows(new QStandardItemModel(this)), m_popup(new QTreeView) {
    setModel(m_rows);
    m_popup->setRootIsDecorated(false);
    m_popup->setItemsExpandable(false);
    m_popup->setHeaderHidden(true);
    m_popup->setUniformRowHeights(true);
    m_popup->setAllColumnsShowFocus(true);
    m_popup->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_popup->setSelectionMode(QAbstractItemView::SingleSelection);
    m_popup->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_popup->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_popup->header()->setStretchLastSection(true);
    // The combo box takes the view over as its popup.
    setView(m_popup);
}

void CPickList::setColumnWidths(const QList<int>& widths) {
    m_widths = widths;
    m_rows->setColumnCount(std::max<int>(1, static_cast<int>(widths.size())));
    int shown = -1;
    int total = 0;
    for (int column = 0; column < widths.size(); ++column) {
        const int width = widths.at(column);
        m_popup->setColumnHidden(column, width <= 0);
        if (width <= 0)
            continue;
        m_popup->setColumnWidth(column, width);
        total += width;
        if (shown < 0)
            shown = column;
    }
    // The closed list shows the first column that the open list shows.
    setModelColumn(shown < 0 ? 0 : shown);
    // Wide enough for every shown column side by side, plus the frame and a scroll bar.
    const int extra = 2 * m_popup->frameWidth() + m_popup->verticalScrollBar()->sizeHint().width();
    m_popup->setMinimumWidth(total > 0 ? total + extra : 0);
}

void CPickList::clearRows() {
    m_rows->removeRows(0, m_rows->rowCount());
}

int CPickList::addRow(const QStringList& texts, std::int32_t data) {
    const int columns = m_widths.isEmpty() ? std::max<int>(1, static_cast<int>(texts.size()))
                                           : static_cast<int>(m_widths.size());
    QList<QStandardItem*> items;
    for (int column = 0; column < columns; ++column) {
        auto* item = new QStandardItem(column < texts.size() ? texts.at(column) : QString());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        items.append(item);
    }
    items.at(0)->setData(static_cast<int>(data), Qt::UserRole);

    // A combo box picks its first row by itself when rows arrive in an empty list; a pick list
    // stays without a choice until the form or the user makes one.
    const int before = currentIndex();
    {
        const QSignalBlocker quiet(this);
        m_rows->appendRow(items);
        if (before < 0 && currentIndex() >= 0)
            setCurrentIndex(-1);
    }
    return m_rows->rowCount() - 1;
}

QString CPickList::text(int row, int column) const {
    const QStandardItem* item = m_rows->item(row, column);
    return item ? item->text() : QString();
}

std::int32_t CPickList::rowData(int row) const {
    const QStandardItem* item = m_rows->item(row, 0);
    return item ? static_cast<std::int32_t>(item->data(Qt::UserRole).toInt()) : 0;
}

bool CPickList::selectData(std::int32_t data) {
    for (int row = 0; row < m_rows->rowCount(); ++row) {
        if (rowData(row) == data) {
            setCurrentIndex(row);
            return true;
        }
    }
    setCurrentIndex(-1);
    return false;
}

std::int32_t CPickList::selectedData(std::int32_t none) const {
    const int row = currentIndex();
    return row < 0 ? none : rowData(row);
}
