#pragma once
// Default column widths as a list shows them: each scaled for the list's font.
#include "core/Settings.h"
#include "widgets/ListColumns.h"

#include <QStringList>
#include <QWidget>

#include <cmath>
#include <initializer_list>
#include <utility>

// "58,134,113" as shown in `list`'s font; `set` gives columns whose width the user set by hand.
inline QString scaledWidths(const char* defaults, const QWidget& list,
                            std::initializer_list<std::pair<int, int>> set = {}) {
    QList<int> widths = Settings::splitNumbers(QLatin1String(defaults));
    const double scale = ListColumns::scaleFor(list.font());
    for (int& width : widths)
        width = int(std::lround(width * scale));
    for (const auto& [column, width] : set)
        widths[column] = width;
    QStringList texts;
    for (int width : widths)
        texts << QString::number(width);
    return texts.join(QLatin1Char(','));
}

// A width list without its last number: the last column stretches to the list's right edge, so
// its width depends on the window.
inline QString leading(const QString& widths) {
    QStringList numbers = widths.split(QLatin1Char(','));
    numbers.removeLast();
    return numbers.join(QLatin1Char(','));
}
