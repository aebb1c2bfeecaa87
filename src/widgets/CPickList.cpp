#include "CPickList.h"

#include <QAbstractTableModel>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTreeView>
#include <QtMath>

#include <algorithm>
#include <utility>
#include <vector>

// The rows of a pick list: their texts, one per column, and the integer of each row (column 0,
// Qt::UserRole), read-only. Rows are kept as plain texts rather than an item object per cell, so
// that filling a list with thousands of firms stays cheap.
class PickListRows : public QAbstractTableModel {
public:
    explicit PickListRows(QObject* parent) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : m_columns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount())
            return QVariant();
        const Row& row = m_rows[static_cast<size_t>(index.row())];
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return index.column() < row.texts.size() ? row.texts.at(index.column()) : QString();
        if (role == Qt::UserRole && index.column() == 0)
            return row.data;
        return QVariant();
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    void setColumns(int columns) {
        if (columns > m_columns) {
            beginInsertColumns(QModelIndex(), m_columns, columns - 1);
            m_columns = columns;
            endInsertColumns();
        } else if (columns < m_columns) {
            beginRemoveColumns(QModelIndex(), columns, m_columns - 1);
            m_columns = columns;
            endRemoveColumns();
        }
    }
    void clear() {
        if (m_rows.empty())
            return;
        beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
        m_rows.clear();
        endRemoveRows();
    }
    // A row with more texts than columns adds columns.
    void append(QStringList texts, int data) {
        if (texts.size() > m_columns)
            setColumns(static_cast<int>(texts.size()));
        const int at = rowCount();
        beginInsertRows(QModelIndex(), at, at);
        m_rows.push_back({std::move(texts), data});
        endInsertRows();
    }
    QString text(int row, int column) const {
        if (row < 0 || row >= rowCount())
            return QString();
        const QStringList& texts = m_rows[static_cast<size_t>(row)].texts;
        return column >= 0 && column < texts.size() ? texts.at(column) : QString();
    }
    int rowData(int row) const {
        return row < 0 || row >= rowCount() ? 0 : m_rows[static_cast<size_t>(row)].data;
    }

private:
    struct Row {
        QStringList texts;
        int data;
    };
    std::vector<Row> m_rows;
    int m_columns = 1;
};

CPickList::CPickList(QWidget* parent)
    : QComboBox(parent), m_rows(new PickListRows(this)), m_popup(new QTreeView) {
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
    m_rows->setColumns(std::max<int>(1, static_cast<int>(widths.size())));
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
    rowsChanged(); // the shown column may be another one
}

void CPickList::clearRows() {
    m_rows->clear();
    rowsChanged();
}

int CPickList::addRow(const QStringList& texts, std::int32_t data) {
    const int columns = m_widths.isEmpty() ? std::max<int>(1, static_cast<int>(texts.size()))
                                           : static_cast<int>(m_widths.size());
    QStringList row = texts.mid(0, columns);
    while (row.size() < columns)
        row.append(QString());

    // A combo box picks its first row by itself when rows arrive in an empty list; a pick list
    // stays without a choice until the form or the user makes one.
    const int before = currentIndex();
    {
        const QSignalBlocker quiet(this);
        m_rows->append(std::move(row), static_cast<int>(data));
        if (before < 0 && currentIndex() >= 0)
            setCurrentIndex(-1);
    }
    rowsChanged();
    return m_rows->rowCount() - 1;
}

QString CPickList::text(int row, int column) const {
    return m_rows->text(row, column);
}

std::int32_t CPickList::rowData(int row) const {
    return static_cast<std::int32_t>(m_rows->rowData(row));
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

// The hints follow the rules of a combo box that adjusts to its contents on first show: each is
// computed when first asked for, the size hint once more on the first show and after a change of
// font, both after a change of style; rows added or removed later leave them as they are.
QSize CPickList::sizeHint() const {
    if (!m_sizeHint.isValid())
        m_sizeHint = hintFor(widestText());
    return m_sizeHint;
}

QSize CPickList::minimumSizeHint() const {
    if (!m_minimumSizeHint.isValid())
        m_minimumSizeHint = hintFor(minimumContentsLength() == 0 ? widestText() : -1);
    return m_minimumSizeHint;
}

void CPickList::showEvent(QShowEvent* event) {
    if (!m_shownOnce) {
        m_shownOnce = true;
        m_sizeHint = QSize();
        updateGeometry();
    }
    QComboBox::showEvent(event);
}

void CPickList::changeEvent(QEvent* event) {
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange) {
        m_sizeHint = QSize();
        m_widestVersion = -1;
        // A new font leaves the minimum as it was; a new style does not.
        if (event->type() == QEvent::StyleChange)
            m_minimumSizeHint = QSize();
    }
    QComboBox::changeEvent(event);
}

int CPickList::widestText() const {
    if (m_widestVersion != m_rowsVersion) {
        const QFontMetrics& metrics = fontMetrics();
        const int rows = count();
        int widest = rows == 0 ? 7 * metrics.horizontalAdvance(u'x') : 0;
        // A pick list's rows carry no icons.
        for (int row = 0; row < rows; ++row)
            widest = std::max(widest, metrics.boundingRect(itemText(row)).width());
        m_widest = widest;
        m_widestVersion = m_rowsVersion;
    }
    return m_widest;
}

QSize CPickList::hintFor(int textWidth) const {
    const QFontMetrics& metrics = fontMetrics();
    QSize size(std::max(textWidth, 0), 0);
    if (minimumContentsLength() > 0)
        size.setWidth(
            std::max(size.width(), minimumContentsLength() * metrics.horizontalAdvance(u'X')));
    if (!placeholderText().isEmpty())
        size.setWidth(std::max(size.width(), metrics.boundingRect(placeholderText()).width()));
    size.setHeight(std::max(qCeil(QFontMetricsF(metrics).height()), 14) + 2);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, size, this);
}
