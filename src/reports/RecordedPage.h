#pragma once

#include "ReportFonts.h"
#include "TextFit.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// A printed page as a list of drawing operations in tenths of a millimetre, measured from the
// top-left corner of the sheet. A page is recorded once and then only read: the preview, the
// printer and a PDF file all replay the same operations (see PageRenderer).
namespace Report {

enum class Align { Left, Center, Right };
enum class Pen { Hairline, Solid2, Solid3, None, Solid1 };
enum class Brush { White, Grey, LightGrey }; // grey 192, light grey 224
enum class VAlign { Top, Centre };

class RecordedPage;

struct Op {
    enum class Kind {
        Font,       // font
        Background, // opaque: text cells are filled white first
        SetPen,     // pen
        SetBrush,   // brush
        Text,       // text with its cell's top-left at (x1, y1)
        TextInRect, // one line in (x1, y1)-(x2, y2), aligned, not wrapped; clipped if `clip`
        Line,       // (x1, y1)-(x2, y2) with the current pen
        Rectangle,  // filled with the brush, outlined with the pen
        CornerMark, // a stroke that pins the page's extent to the sheet
        Page,       // another recorded page scaled into (x1, y1)-(x2, y2)
        TextColor,  // colour of the texts that follow
        Picture,    // a drawing (a chart) scaled into (x1, y1)-(x2, y2)
    };
    Kind kind = Kind::Line;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    QString text;
    ReportFont font;
    Align align = Align::Left;
    int letterSpacing = 0; // extra room after each character, in report units
    Pen pen = Pen::Hairline;
    Brush brush = Brush::White;
    bool opaque = false;
    bool clip = false;
    QRgb color = 0xff000000; // text colour, black unless set
    std::shared_ptr<const RecordedPage> page;
    std::shared_ptr<const QImage> picture;
};

class RecordedPage {
public:
    RecordedPage() = default;
    // sheet: the size of the paper in report units (2100 × 2969 for A4).
    explicit RecordedPage(QSize sheet) : m_sheet(sheet) {}

    const std::vector<Op>& ops() const { return m_ops; }
    QSize sheet() const { return m_sheet; }
    // The bounding box of everything drawn (texts by their measured cells); empty before
    // anything is drawn. Measured when first asked for: pages replayed at their sheet's size
    // never need it.
    QRectF extent() const;
    bool isEmpty() const { return m_ops.empty(); }

private:
    friend class PageRecorder;
    std::vector<Op> m_ops;
    QSize m_sheet;
    mutable std::optional<QRectF> m_extent;
};

// Records the drawing of one page.
class PageRecorder {
public:
    explicit PageRecorder(QSize sheet = QSize()) : m_page(sheet) {}
    // Continues drawing on a finished page. Nothing is assumed of the state the page ended in:
    // the first font, pen, brush and text colour chosen are recorded.
    explicit PageRecorder(const RecordedPage& page);

    // Selects a font and returns the one selected before (none at the start of a page).
    std::optional<ReportFont> selectFont(const ReportFont& font);
    // Selects the font again that was selected before; with none before, the page is back to
    // no font of its own (texts then use font 2, and the next selection is recorded).
    void restoreFont(const std::optional<ReportFont>& previous);
    const std::optional<ReportFont>& currentFont() const { return m_font; }
    void setBackgroundOpaque(bool opaque);
    void setPen(Pen pen);
    void setBrush(Brush brush);
    // The colour of the texts drawn from now on; a new page starts with black.
    void setTextColor(QColor color);

    void text(int x, int y, const QString& text);
    void textInRect(const QRect& rect, Align align, const QString& text, int letterSpacing = 0);
    // One line cut off at the rectangle's edges: for a text that may be wider than its box.
    void clippedText(const QRect& rect, Align align, const QString& text);
    // A text kept inside its box (see TextFit.h): drawn as textInRect() when it fits, else
    // wrapped onto the box's lines, set smaller or ended with "…". A single line set smaller
    // keeps the baseline of the full size at the top of the box; `vertical` centres the lines
    // in the box instead. `smallestPercent` is the fit rule's floor.
    void fittedText(const QRect& box, Align align, const QString& text,
                    VAlign vertical = VAlign::Top, int smallestPercent = kSmallestFitPercent);
    void line(int x1, int y1, int x2, int y2);
    void rectangle(const QRect& rect);
    void cornerMark(int x1, int y1, int x2, int y2);
    void page(const QRect& target, std::shared_ptr<const RecordedPage> page);
    // A drawing made elsewhere (a chart), its bounding rectangle scaled into the target.
    void picture(const QRect& target, std::shared_ptr<const QImage> picture);

    // Ends the recording; the recorder starts a new empty page of the same sheet.
    RecordedPage finish();

private:
    void add(Op op);
    const ReportFont& font() const;

    RecordedPage m_page;
    std::optional<ReportFont> m_font;
    Pen m_pen = Pen::Hairline;
    Brush m_brush = Brush::White;
    QRgb m_textColor = 0xff000000;
};

// The pages of one report run, with the name the report goes by ("Gig-Update", "Setliste").
struct Document {
    QString title;
    std::vector<std::shared_ptr<const RecordedPage>> pages;

    int pageCount() const { return int(pages.size()); }
};

// The page as text, one operation a line ("text 100,28 ARIAL 100 cell \"Gig-Update\"").
QString dump(const RecordedPage& page);
// Every page, each headed "page N".
QString dump(const Document& document);

} // namespace Report
