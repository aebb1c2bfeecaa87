#include "ListColumns.h"

#include "core/Settings.h"

#include <QAbstractItemDelegate>
#include <QFont>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeView>

#include <algorithm>

namespace ListColumns {

double letterWidth(const QFont& font) {
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return QFontMetricsF(font).horizontalAdvance(letters) / letters.size();
}

double scaleFor(const QFont& font) {
    return letterWidth(font) / kReferenceLetterWidth;
}

bool stored(const CProfileFile& profile, const SettingKey& key) {
    return !profile.readText(QLatin1String(key.section), QLatin1String(key.key), QString())
                .trimmed()
                .isEmpty();
}

QList<int> read(const CProfileFile& profile, const SettingKey& key, int columns,
                const QFont& font) {
    return Settings::readWidths(profile, key, columns, scaleFor(font));
}

QList<int> defaults(const SettingKey& key, int columns, const QFont& font) {
    return Settings::defaultWidths(key, columns, scaleFor(font));
}

void apply(QHeaderView& header, const QList<int>& widths) {
    header.setStretchLastSection(true);
    for (int column = 0; column < widths.size(); ++column)
        header.resizeSection(column, widths.at(column));
}

namespace {

// The width the first row's cell of `column` needs, as the list draws it.
int firstRowNeed(QTreeView& view, int column) {
    QAbstractItemModel* model = view.model();
    if (!model || model->rowCount() == 0)
        return 0;
    const QModelIndex first = model->index(0, column);
    QStyleOptionViewItem option;
    option.initFrom(view.viewport());
    option.font = view.font();
    option.fontMetrics = QFontMetrics(view.font());
    const int icon = view.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &view);
    option.decorationSize = view.iconSize().isValid() ? view.iconSize() : QSize(icon, icon);
    return view.itemDelegateForIndex(first)->sizeHint(option, first).width();
}

// Each shown column as wide as `needs` says; hidden ones (width 0) stay hidden.
QList<int> exactly(const QList<int>& widths, const QList<int>& needs) {
    QList<int> result = widths;
    for (int column = 0; column < result.size(); ++column) {
        if (result.at(column) > 0)
            result[column] = needs.at(column);
    }
    return result;
}

} // namespace

QList<int> fitted(QTreeView& view, const QList<int>& widths) {
    QHeaderView& header = *view.header();
    QAbstractItemView& items = view;
    const int width = view.viewport()->width();
    if (width <= 0)
        return widths;
    // Each shown column's needs, never less than its default: at the least its title and the
    // first row whole, better every row in view.
    QList<int> least;
    QList<int> full;
    int leastSum = 0;
    int fullSum = 0;
    for (int column = 0; column < widths.size(); ++column) {
        int first = 0;
        int all = 0;
        if (widths.at(column) > 0 && !header.isSectionHidden(column)) {
            first = std::max(
                {widths.at(column), header.sectionSizeHint(column), firstRowNeed(view, column)});
            all = std::max(first, items.sizeHintForColumn(column));
        }
        least << first;
        full << all;
        leastSum += first;
        fullSum += all;
    }
    if (fullSum <= width)
        return exactly(widths, full);
    // Wider than the list even so: nothing is cut, the list scrolls sideways.
    if (leastSum >= width)
        return exactly(widths, least);
    // The titles and the first row fit: the room left goes to the other rows by their need.
    QList<int> result = widths;
    const int room = width - leastSum;
    const int wanted = fullSum - leastSum;
    for (int column = 0; column < result.size(); ++column) {
        if (result.at(column) > 0)
            result[column] = least.at(column) + int(qint64(full.at(column) - least.at(column)) *
                                                    room / std::max(wanted, 1));
    }
    return result;
}

} // namespace ListColumns
