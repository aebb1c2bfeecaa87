#pragma once

#include <QSize>

class QPageLayout;

// The sheet and its unprintable edges, in tenths of a millimetre and in device pixels. Reports
// lay out their pages with it; without a printer the defaults describe A4 at 300 dpi.
struct PageMetrics {
    // Tenths of a millimetre.
    int offsetX = 35;       // unprintable strip at the left edge
    int offsetY = 18;       // ... at the top edge
    int rightMargin = 34;   // ... at the right edge
    int bottomMargin = 116; // ... at the bottom edge
    int width = 2100;       // the whole sheet
    int height = 2969;
    // Device pixels.
    int offsetXPx = 41;
    int offsetYPx = 21;
    int rightMarginPx = 40;
    int bottomMarginPx = 137;
    int widthPx = 2480;
    int heightPx = 3507;
    int printableWidthPx = 2399;
    int printableHeightPx = 3349;
    int dpiX = 300;
    int dpiY = 300;

    static PageMetrics defaults() { return PageMetrics(); }
    // A4 laid out for a PDF file: 4.2 mm (12 pt) kept free on every side, as on a printer with
    // those margins, so that the file prints on any office printer without losing an edge.
    static PageMetrics pdf();
    // The strip every page keeps free of text on each side, in tenths of a millimetre.
    static constexpr int kSafeMargin = 42;
    // The metrics of a device with this page layout and resolution: the unprintable strips are
    // the layout's margins.
    static PageMetrics fromLayout(const QPageLayout& layout, int dpiX, int dpiY);

    QSize sheet() const { return QSize(width, height); }
    double pixelsPerUnitX() const { return dpiX / 254.0; }
    double pixelsPerUnitY() const { return dpiY / 254.0; }
    double unitsPerPixelX() const { return 254.0 / dpiX; }
    double unitsPerPixelY() const { return 254.0 / dpiY; }
};
