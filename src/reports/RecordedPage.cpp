#include "RecordedPage.h"

#include "TextFit.h"

#include <algorithm>
#include <cmath>

namespace Report {

namespace {
// An operation drawn into a box; the far corner is exclusive, as the page's rectangles are.
Op boxOp(Op::Kind kind, const QRect& box) {
    Op op;
    op.kind = kind;
    op.x1 = box.left();
    op.y1 = box.top();
    op.x2 = box.left() + box.width();
    op.y2 = box.top() + box.height();
    return op;
}
} // namespace

PageRecorder::PageRecorder(const RecordedPage& page) : m_page(page) {
    m_page.m_extent.reset();
    m_pen = Pen::None;
    m_brush = Brush::Grey;
    m_textColor = 0; // transparent: no colour a page chooses
    // The pen and brush of a continued page are unknown: record the first ones chosen.
    setPen(Pen::Hairline);
    setBrush(Brush::White);
}

std::optional<ReportFont> PageRecorder::selectFont(const ReportFont& font) {
    std::optional<ReportFont> previous = m_font;
    if (m_font != font) {
        Op op;
        op.kind = Op::Kind::Font;
        op.font = font;
        m_page.m_ops.push_back(op);
        m_font = font;
    }
    return previous;
}

void PageRecorder::restoreFont(const std::optional<ReportFont>& previous) {
    if (previous)
        selectFont(*previous);
    else
        m_font.reset(); // back to no font of the report's: the next selection is recorded
}

void PageRecorder::setBackgroundOpaque(bool opaque) {
    Op op;
    op.kind = Op::Kind::Background;
    op.opaque = opaque;
    m_page.m_ops.push_back(op);
}

void PageRecorder::setPen(Pen pen) {
    if (pen == m_pen)
        return;
    m_pen = pen;
    Op op;
    op.kind = Op::Kind::SetPen;
    op.pen = pen;
    m_page.m_ops.push_back(op);
}

void PageRecorder::setBrush(Brush brush) {
    if (brush == m_brush)
        return;
    m_brush = brush;
    Op op;
    op.kind = Op::Kind::SetBrush;
    op.brush = brush;
    m_page.m_ops.push_back(op);
}

void PageRecorder::setTextColor(QColor color) {
    const QRgb rgb = color.rgb();
    if (rgb == m_textColor)
        return;
    m_textColor = rgb;
    Op op;
    op.kind = Op::Kind::TextColor;
    op.color = rgb;
    m_page.m_ops.push_back(op);
}

const ReportFont& PageRecorder::font() const {
    // Text before any font is chosen is drawn in the smallest plain font of the reports.
    return m_font ? *m_font : ReportFonts::font(2);
}

void PageRecorder::text(int x, int y, const QString& text) {
    Op op;
    op.kind = Op::Kind::Text;
    op.x1 = x;
    op.y1 = y;
    op.text = text;
    op.font = font();
    add(std::move(op));
}

void PageRecorder::textInRect(const QRect& rect, Align align, const QString& text,
                              int letterSpacing) {
    Op op = boxOp(Op::Kind::TextInRect, rect);
    op.align = align;
    op.text = text;
    op.font = font();
    op.letterSpacing = letterSpacing;
    add(std::move(op));
}

void PageRecorder::clippedText(const QRect& rect, Align align, const QString& text) {
    textInRect(rect, align, text);
    m_page.m_ops.back().clip = true;
}

void PageRecorder::fittedText(const QRect& box, Align align, const QString& text, VAlign vertical,
                              int smallestPercent) {
    const ReportFont original = font();
    const FittedText fit = fitText(text, original, box.width(), box.height(), smallestPercent);
    if (fit.unchanged(original) && vertical == VAlign::Top) {
        textInRect(box, align, text);
        return;
    }
    const double pitch = fit.font.lineHeight();
    double top = box.top();
    if (vertical == VAlign::Centre)
        top += (box.height() - pitch * fit.lines.size()) / 2;
    else if (fit.lines.size() == 1)
        top += original.ascent() - fit.font.ascent();
    const std::optional<ReportFont> previous = m_font;
    selectFont(fit.font);
    for (int index = 0; index < fit.lines.size(); ++index) {
        const int lineTop = int(std::lround(top + index * pitch));
        textInRect(QRect(box.left(), lineTop, box.width(), int(std::ceil(pitch))), align,
                   fit.lines[index]);
    }
    if (previous)
        selectFont(*previous);
    else
        selectFont(original);
}

void PageRecorder::line(int x1, int y1, int x2, int y2) {
    Op op;
    op.kind = Op::Kind::Line;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.pen = m_pen;
    add(std::move(op));
}

void PageRecorder::rectangle(const QRect& rect) {
    Op op = boxOp(Op::Kind::Rectangle, rect);
    add(std::move(op));
}

void PageRecorder::cornerMark(int x1, int y1, int x2, int y2) {
    Op op;
    op.kind = Op::Kind::CornerMark;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    add(std::move(op));
}

void PageRecorder::page(const QRect& target, std::shared_ptr<const RecordedPage> page) {
    Op op = boxOp(Op::Kind::Page, target);
    op.page = std::move(page);
    add(std::move(op));
}

void PageRecorder::picture(const QRect& target, std::shared_ptr<const QImage> picture) {
    Op op = boxOp(Op::Kind::Picture, target);
    op.picture = std::move(picture);
    add(std::move(op));
}

void PageRecorder::add(Op op) {
    m_page.m_extent.reset();
    m_page.m_ops.push_back(std::move(op));
}

namespace {

// What an operation covers; nothing for the operations that only set the state.
std::optional<QRectF> covered(const Op& op) {
    switch (op.kind) {
    case Op::Kind::Text:
        return QRectF(op.x1, op.y1, op.font.textWidth(op.text), op.font.lineHeight());
    case Op::Kind::TextInRect: {
        const double width = op.font.textWidth(op.text) + op.letterSpacing * double(op.text.size());
        double left = op.x1;
        if (op.align == Align::Center)
            left = (op.x1 + op.x2 - width) / 2;
        else if (op.align == Align::Right)
            left = op.x2 - width;
        return QRectF(left, op.y1, width, op.font.lineHeight());
    }
    case Op::Kind::Line:
    case Op::Kind::Rectangle:
    case Op::Kind::CornerMark:
    case Op::Kind::Page:
    case Op::Kind::Picture:
        return QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
    default:
        return std::nullopt;
    }
}

} // namespace

QRectF RecordedPage::extent() const {
    if (m_extent)
        return *m_extent;
    std::optional<QRectF> extent;
    for (const Op& op : m_ops) {
        const std::optional<QRectF> box = covered(op);
        if (!box)
            continue;
        if (!extent) {
            extent = *box;
            continue;
        }
        // Lines along one axis have no area, so the boxes are joined by their edges.
        extent->setCoords(
            std::min(extent->left(), box->left()), std::min(extent->top(), box->top()),
            std::max(extent->right(), box->right()), std::max(extent->bottom(), box->bottom()));
    }
    m_extent = extent.value_or(QRectF());
    return *m_extent;
}

RecordedPage PageRecorder::finish() {
    RecordedPage done = std::move(m_page);
    m_page = RecordedPage(done.sheet());
    m_font.reset();
    m_pen = Pen::Hairline;
    m_brush = Brush::White;
    m_textColor = QColor(Qt::black).rgb();
    return done;
}

namespace {

QString quotedText(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString points(const Op& op) {
    return QStringLiteral("%1,%2-%3,%4").arg(op.x1).arg(op.y1).arg(op.x2).arg(op.y2);
}

void dumpOps(const RecordedPage& page, const QString& indent, QString& out) {
    static const char* const pens[] = {"hairline", "solid 2", "solid 3", "none", "solid 1"};
    static const char* const aligns[] = {"left", "center", "right"};
    for (const Op& op : page.ops()) {
        QString line;
        switch (op.kind) {
        case Op::Kind::Font:
            line = QStringLiteral("font ") + op.font.describe();
            break;
        case Op::Kind::Background:
            line = op.opaque ? QStringLiteral("background opaque")
                             : QStringLiteral("background transparent");
            break;
        case Op::Kind::SetPen:
            line = QStringLiteral("pen ") + QLatin1String(pens[int(op.pen)]);
            break;
        case Op::Kind::SetBrush:
            line = op.brush == Brush::Grey        ? QStringLiteral("brush grey")
                   : op.brush == Brush::LightGrey ? QStringLiteral("brush light grey")
                                                  : QStringLiteral("brush white");
            break;
        case Op::Kind::Text:
            line = QStringLiteral("text %1,%2 [%3] %4")
                       .arg(op.x1)
                       .arg(op.y1)
                       .arg(op.font.describe(), quotedText(op.text));
            break;
        case Op::Kind::TextInRect:
            line = QStringLiteral("textrect %1 %2 ")
                       .arg(points(op), QLatin1String(aligns[int(op.align)]));
            if (op.letterSpacing != 0)
                line += QStringLiteral("spacing %1 ").arg(op.letterSpacing);
            if (op.clip)
                line += QStringLiteral("clip ");
            line += QStringLiteral("[%1] %2").arg(op.font.describe(), quotedText(op.text));
            break;
        case Op::Kind::TextColor:
            line = QStringLiteral("textcolor %1,%2,%3")
                       .arg(qRed(op.color))
                       .arg(qGreen(op.color))
                       .arg(qBlue(op.color));
            break;
        case Op::Kind::Line:
            line = QStringLiteral("line ") + points(op);
            break;
        case Op::Kind::Rectangle:
            line = QStringLiteral("rect ") + points(op);
            break;
        case Op::Kind::CornerMark:
            line = QStringLiteral("mark ") + points(op);
            break;
        case Op::Kind::Picture:
            line = QStringLiteral("picture ") + points(op);
            break;
        case Op::Kind::Page:
            out += indent + QStringLiteral("page ") + points(op) + QStringLiteral(" of ") +
                   QStringLiteral("%1,%2")
                       .arg(qRound(op.page->extent().right()))
                       .arg(qRound(op.page->extent().bottom())) +
                   QLatin1Char('\n');
            dumpOps(*op.page, indent + QStringLiteral("  "), out);
            continue;
        }
        out += indent + line + QLatin1Char('\n');
    }
}

} // namespace

QString dump(const RecordedPage& page) {
    QString out;
    dumpOps(page, QString(), out);
    return out;
}

QString dump(const Document& document) {
    QString out;
    for (size_t index = 0; index < document.pages.size(); ++index) {
        out += QStringLiteral("page %1\n").arg(index + 1);
        out += dump(*document.pages[index]);
    }
    return out;
}

} // namespace Report
