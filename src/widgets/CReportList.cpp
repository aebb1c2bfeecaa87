#include "CReportList.h"

#include "ListColumns.h"
#include "core/Settings.h"

#include <QHeaderView>
#include <QTimer>

namespace {

// The one selected row, or nullptr.
QTreeWidgetItem* selectedRow(const QTreeWidget& list) {
    const QList<QTreeWidgetItem*> rows = list.selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

} // namespace

CReportList::CReportList(QWidget* parent) : QTreeWidget(parent) {
    // The same small font as the main lists; default widths are scaled for it.
    QFont listFont(QStringLiteral("Liberation Sans"));
    listFont.setPointSize(8);
    setFont(listFont);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsMovable(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CReportList::setUp(CProfileFile& profile, const SettingKey& widths,
                        const QStringList& titles) {
    m_profile = &profile;
    m_widths = &widths;
    setColumnCount(static_cast<int>(titles.size()));
    setHeaderLabels(titles);
    const QList<int> shown =
        ListColumns::read(profile, widths, static_cast<int>(titles.size()), font());
    ListColumns::apply(*header(), shown);
    m_defaultWidths = ListColumns::stored(profile, widths) ? QList<int>() : shown;
}

void CReportList::showEvent(QShowEvent* event) {
    QTreeWidget::showEvent(event);
    if (m_defaultWidths.isEmpty())
        return;
    // After the layout has given the list its width.
    QTimer::singleShot(0, this, [this] {
        if (m_defaultWidths.isEmpty())
            return;
        ListColumns::apply(*header(), ListColumns::fitted(*this, m_defaultWidths));
        m_defaultWidths.clear();
    });
}

void CReportList::saveWidths() {
    if (!m_profile || !m_widths)
        return;
    QList<int> widths;
    for (int column = 0; column < columnCount(); ++column)
        widths << header()->sectionSize(column);
    Settings::writeWidths(*m_profile, *m_widths, widths);
}

void CReportList::clearRows() {
    clear();
}

void CReportList::addRow(const QStringList& texts, std::int32_t key) {
    auto* row = new QTreeWidgetItem(this, texts);
    row->setData(0, Qt::UserRole, static_cast<int>(key));
}

std::int32_t CReportList::selectedKey() const {
    const QTreeWidgetItem* row = selectedRow(*this);
    if (!row)
        return -1;
    return static_cast<std::int32_t>(row->data(0, Qt::UserRole).toInt());
}

QString CReportList::selectedText(int column) const {
    const QTreeWidgetItem* row = selectedRow(*this);
    return row ? row->text(column) : QString();
}

void CReportList::selectKey(std::int32_t key) {
    for (int index = 0; index < topLevelItemCount(); ++index) {
        QTreeWidgetItem* row = topLevelItem(index);
        if (row->data(0, Qt::UserRole).toInt() == key) {
            setCurrentItem(row);
            scrollToItem(row);
            return;
        }
    }
}

void CReportList::removeSelectedRow() {
    // The neighbour that takes over the current row is not chosen for the user.
    delete selectedRow(*this);
    clearSelection();
}
