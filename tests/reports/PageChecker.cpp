#include "PageChecker.h"

#include <QLineF>

#include <cmath>

using Report::Op;

namespace PageCheck {

namespace {

// A tenth of a unit is far below what a printer resolves; it absorbs the rounding of measures.
constexpr double kTolerance = 0.1;

struct Transform {
    double dx = 0, dy = 0, sx = 1, sy = 1;
    QPointF map(double x, double y) const { return {dx + sx * x, dy + sy * y}; }
    QRectF map(const QRectF& r) const {
        return QRectF(map(r.left(), r.top()), map(r.right(), r.bottom())).normalized();
    }
};

struct Segment {
    QPointF a, b;
};

struct Collected {
    std::vector<PlacedText> texts;
    std::vector<bool> opaque; // drawn on a white cell, as over an interrupted rule
    std::vector<bool> clipped;
    std::vector<Segment> segments;
};

QString describe(const QRectF& r) {
    return QStringLiteral("%1,%2-%3,%4")
        .arg(r.left(), 0, 'f', 1)
        .arg(r.top(), 0, 'f', 1)
        .arg(r.right(), 0, 'f', 1)
        .arg(r.bottom(), 0, 'f', 1);
}

void collect(const Report::RecordedPage& page, const Transform& t, Collected& out) {
    bool opaque = false;
    Report::Pen pen = Report::Pen::Hairline;
    for (const Op& op : page.ops()) {
        switch (op.kind) {
        case Op::Kind::Background:
            opaque = op.opaque;
            break;
        case Op::Kind::SetPen:
            pen = op.pen;
            break;
        case Op::Kind::Text:
        case Op::Kind::TextInRect: {
            const double spacing = op.letterSpacing * double(op.text.size());
            const double width = op.font.textWidth(op.text) + spacing;
            QRectF box;
            double left = op.x1;
            if (op.kind == Op::Kind::Text) {
                box = QRectF(op.x1, op.y1, width, op.font.lineHeight());
            } else {
                box = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2));
                if (op.align == Report::Align::Center)
                    left = (op.x1 + op.x2 - width) / 2;
                else if (op.align == Report::Align::Right)
                    left = op.x2 - width;
            }
            QRectF ink = op.font.inkBounds(op.text);
            if (ink.isEmpty())
                break; // blanks only
            ink.setRight(ink.right() + spacing);
            ink.translate(left, op.y1);
            PlacedText placed;
            placed.text = op.text;
            placed.align = op.align;
            // The advance is what a box must hold; the ink may reach a little past it.
            placed.box = t.map(box);
            placed.ink = t.map(ink);
            if (op.kind == Op::Kind::TextInRect) {
                const QRectF advance(left, op.y1, width, op.font.lineHeight());
                if (advance.left() < box.left() - kTolerance ||
                    advance.right() > box.right() + kTolerance)
                    placed.box = QRectF(); // marks a text wider than its box
            }
            out.texts.push_back(placed);
            out.opaque.push_back(opaque);
            out.clipped.push_back(op.clip);
            break;
        }
        case Op::Kind::Line:
            if (op.pen != Report::Pen::None)
                out.segments.push_back({t.map(op.x1, op.y1), t.map(op.x2, op.y2)});
            break;
        case Op::Kind::Rectangle:
            if (pen != Report::Pen::None) {
                const QPointF a = t.map(op.x1, op.y1), b = t.map(op.x2, op.y1);
                const QPointF c = t.map(op.x2, op.y2), d = t.map(op.x1, op.y2);
                out.segments.push_back({a, b});
                out.segments.push_back({b, c});
                out.segments.push_back({c, d});
                out.segments.push_back({d, a});
            }
            break;
        case Op::Kind::Page: {
            const QRectF extent = op.page->extent();
            if (extent.right() <= 0 || extent.bottom() <= 0)
                break;
            Transform inner;
            inner.sx = t.sx * (op.x2 - op.x1) / extent.right();
            inner.sy = t.sy * (op.y2 - op.y1) / extent.bottom();
            const QPointF origin = t.map(op.x1, op.y1);
            inner.dx = origin.x();
            inner.dy = origin.y();
            collect(*op.page, inner, out);
            break;
        }
        default:
            break;
        }
    }
}

// Whether a straight horizontal or vertical segment runs through the inside of a rectangle.
bool crosses(const Segment& s, const QRectF& r) {
    const QRectF inner = r.adjusted(kTolerance, kTolerance, -kTolerance, -kTolerance);
    if (inner.isEmpty())
        return false;
    if (std::abs(s.a.y() - s.b.y()) < 1e-9) {
        const double y = s.a.y();
        const double x1 = std::min(s.a.x(), s.b.x()), x2 = std::max(s.a.x(), s.b.x());
        return y > inner.top() && y < inner.bottom() && x2 > inner.left() && x1 < inner.right();
    }
    if (std::abs(s.a.x() - s.b.x()) < 1e-9) {
        const double x = s.a.x();
        const double y1 = std::min(s.a.y(), s.b.y()), y2 = std::max(s.a.y(), s.b.y());
        return x > inner.left() && x < inner.right() && y2 > inner.top() && y1 < inner.bottom();
    }
    return QLineF(s.a, s.b).intersects(QLineF(inner.topLeft(), inner.bottomRight()), nullptr) ==
           QLineF::BoundedIntersection;
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

std::vector<PlacedText> texts(const Report::RecordedPage& page) {
    Collected collected;
    collect(page, Transform(), collected);
    return collected.texts;
}

QStringList faults(const Report::RecordedPage& page, int margin) {
    Collected c;
    collect(page, Transform(), c);
    QStringList found;
    const QSize sheet = page.sheet().isValid() ? page.sheet() : QSize(2100, 2969);
    const QRectF printable(margin, margin, sheet.width() - 2 * margin, sheet.height() - 2 * margin);
    for (size_t i = 0; i < c.texts.size(); ++i) {
        const PlacedText& t = c.texts[i];
        if (c.clipped[i])
            found << QStringLiteral("%1 is cut at its box's edge").arg(quoted(t.text));
        if (t.box.isNull())
            found << QStringLiteral("%1 is wider than its box").arg(quoted(t.text));
        if (!printable.contains(t.ink))
            found << QStringLiteral("%1 at %2 lies in the sheet's outer %3 mm")
                         .arg(quoted(t.text), describe(t.ink))
                         .arg(margin / 10.0);
        for (size_t j = i + 1; j < c.texts.size(); ++j) {
            const QRectF overlap = t.ink.intersected(c.texts[j].ink);
            if (overlap.width() > kTolerance && overlap.height() > kTolerance)
                found << QStringLiteral("%1 at %2 and %3 at %4 overlap")
                             .arg(quoted(t.text), describe(t.ink), quoted(c.texts[j].text),
                                  describe(c.texts[j].ink));
        }
        if (c.opaque[i])
            continue; // a text on its own white cell interrupts the rule behind it
        for (const Segment& s : c.segments)
            if (crosses(s, t.ink)) {
                found << QStringLiteral("%1 at %2 is crossed by the rule %3")
                             .arg(quoted(t.text), describe(t.ink),
                                  describe(QRectF(s.a, s.b).normalized()));
                break;
            }
    }
    return found;
}

QStringList faults(const Report::Document& document, int margin) {
    QStringList found;
    for (int index = 0; index < document.pageCount(); ++index)
        for (const QString& fault : faults(*document.pages[size_t(index)], margin))
            found << QStringLiteral("Seite %1: %2").arg(index + 1).arg(fault);
    return found;
}

} // namespace PageCheck
