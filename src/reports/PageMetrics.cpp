#include "PageMetrics.h"

#include <QPageLayout>
#include <QRect>

#include <cmath>

namespace {
int toUnits(int pixels, int dpi) {
    return int(std::lround(pixels * 253.99956 / dpi));
}
} // namespace

PageMetrics PageMetrics::pdf() {
    PageMetrics metrics;
    metrics.dpiX = metrics.dpiY = 300;
    const auto pixels = [](int units) { return int(std::lround(units * 300 / 254.0)); };
    metrics.offsetX = metrics.offsetY = metrics.rightMargin = metrics.bottomMargin = kSafeMargin;
    metrics.offsetXPx = metrics.offsetYPx = metrics.rightMarginPx = metrics.bottomMarginPx =
        pixels(kSafeMargin);
    metrics.printableWidthPx = metrics.widthPx - 2 * metrics.offsetXPx;
    metrics.printableHeightPx = metrics.heightPx - 2 * metrics.offsetYPx;
    return metrics;
}

PageMetrics PageMetrics::fromLayout(const QPageLayout& layout, int dpiX, int dpiY) {
    PageMetrics metrics;
    if (dpiX <= 0 || dpiY <= 0)
        return metrics;
    // QPageLayout works with one resolution; a device with two gets the horizontal one scaled.
    const QRect full = layout.fullRectPixels(dpiX);
    const QRect paint = layout.paintRectPixels(dpiX);
    const double yScale = double(dpiY) / dpiX;
    metrics.dpiX = dpiX;
    metrics.dpiY = dpiY;
    metrics.widthPx = full.width();
    metrics.heightPx = int(std::lround(full.height() * yScale));
    metrics.offsetXPx = paint.left() - full.left();
    metrics.offsetYPx = int(std::lround((paint.top() - full.top()) * yScale));
    metrics.printableWidthPx = paint.width();
    metrics.printableHeightPx = int(std::lround(paint.height() * yScale));
    metrics.rightMarginPx = metrics.widthPx - metrics.printableWidthPx - metrics.offsetXPx;
    metrics.bottomMarginPx = metrics.heightPx - metrics.printableHeightPx - metrics.offsetYPx;
    metrics.width = toUnits(metrics.widthPx, dpiX);
    metrics.height = toUnits(metrics.heightPx, dpiY);
    metrics.offsetX = toUnits(metrics.offsetXPx, dpiX);
    metrics.offsetY = toUnits(metrics.offsetYPx, dpiY);
    metrics.rightMargin = metrics.width - toUnits(metrics.printableWidthPx, dpiX) - metrics.offsetX;
    metrics.bottomMargin =
        metrics.height - toUnits(metrics.printableHeightPx, dpiY) - metrics.offsetY;
    return metrics;
}
