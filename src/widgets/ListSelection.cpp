#include "ListSelection.h"

#include <QTreeWidget>

namespace ListSelection {

void select(QTreeWidget& list, QTreeWidgetItem* row) {
    list.clearSelection();
    list.setCurrentItem(row);
    if (row)
        list.scrollToItem(row);
}

void removeAndSelectNeighbour(QTreeWidget& list, QTreeWidgetItem* row) {
    const int position = list.indexOfTopLevelItem(row);
    delete row;
    const int count = list.topLevelItemCount();
    select(list, count == 0 ? nullptr : list.topLevelItem(position < count ? position : count - 1));
}

} // namespace ListSelection
