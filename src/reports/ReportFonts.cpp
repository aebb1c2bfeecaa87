#include "ReportFonts.h"

#include <QFontMetricsF>
#include <QHash>

#include <array>

namespace {

// Fonts are measured at this pixel size and scaled down: at the small sizes of a page the
// glyph advances would otherwise depend on hinting and rounding.
constexpr int kMeasureSize = 2000;

QFont baseFont(const ReportFont& wanted, int pixelSize) {
    QFont font(ReportFonts::family(wanted.face));
    font.setPixelSize(std::max(1, pixelSize));
    font.setWeight(wanted.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

// The metrics at the measuring size, one per face and style.
const QFontMetricsF& measure(const ReportFont& wanted) {
    static QHash<int, QFontMetricsF*> cache;
    const int key = int(wanted.face) * 8 + (wanted.bold ? 4 : 0) + (wanted.italic ? 2 : 0) +
                    (wanted.underline ? 1 : 0);
    auto found = cache.constFind(key);
    if (found == cache.constEnd())
        found = cache.insert(key, new QFontMetricsF(baseFont(wanted, kMeasureSize)));
    return **found;
}

} // namespace

double ReportFont::emSize() const {
    if (!cellHeight)
        return height;
    const QFontMetricsF& metrics = measure(*this);
    return height * kMeasureSize / (metrics.ascent() + metrics.descent());
}

QString ReportFont::describe() const {
    QString text = face == Arial ? QStringLiteral("ARIAL") : QStringLiteral("Times New Roman");
    text += QStringLiteral(" %1").arg(height);
    if (cellHeight)
        text += QLatin1String(" cell");
    if (bold)
        text += QLatin1String(" bold");
    if (italic)
        text += QLatin1String(" italic");
    if (underline)
        text += QLatin1String(" underline");
    return text;
}

QFont ReportFont::qfont() const {
    return baseFont(*this, qRound(emSize()));
}

double ReportFont::textWidth(const QString& text) const {
    return measure(*this).horizontalAdvance(text) * qRound(emSize()) / kMeasureSize;
}

bool ReportFont::fitsWidth(const QString& text, double width) const {
    // The advance of each character, measured once per face and style.
    static QHash<int, QHash<QChar, double>> advances;
    const int key = int(face) * 8 + (bold ? 4 : 0) + (italic ? 2 : 0) + (underline ? 1 : 0);
    QHash<QChar, double>& known = advances[key];
    const QFontMetricsF& metrics = measure(*this);
    double bound = 0;
    for (const QChar c : text) {
        if (c.isSurrogate())
            return textWidth(text) <= width;
        auto found = known.constFind(c);
        if (found == known.constEnd())
            found = known.insert(c, metrics.horizontalAdvance(c));
        bound += *found;
    }
    // Without kerning a text is never wider than its characters side by side; the margin
    // covers rounding.
    bound = bound * qRound(emSize()) / kMeasureSize;
    if (bound + 0.01 <= width)
        return true;
    return textWidth(text) <= width;
}

double ReportFont::ascent() const {
    return measure(*this).ascent() * qRound(emSize()) / kMeasureSize;
}

double ReportFont::lineHeight() const {
    const QFontMetricsF& metrics = measure(*this);
    return (metrics.ascent() + metrics.descent()) * qRound(emSize()) / kMeasureSize;
}

QRectF ReportFont::inkBounds(const QString& text) const {
    const QFontMetricsF& metrics = measure(*this);
    const double factor = qRound(emSize()) / double(kMeasureSize);
    const QRectF ink = metrics.tightBoundingRect(text);
    return QRectF(ink.left() * factor, (ink.top() + metrics.ascent()) * factor,
                  ink.width() * factor, ink.height() * factor);
}

namespace ReportFonts {

namespace {
ReportFont make(ReportFont::Face face, int height, bool bold = false, bool italic = false,
                bool underline = false, bool cell = false) {
    ReportFont font;
    font.face = face;
    font.height = height;
    font.bold = bold;
    font.italic = italic;
    font.underline = underline;
    font.cellHeight = cell;
    return font;
}
constexpr auto A = ReportFont::Arial;
constexpr auto T = ReportFont::TimesNewRoman;
} // namespace

const ReportFont& font(int index) {
    static const std::array<ReportFont, kCount> fonts = {{
        make(T, 14, false, true),                // 0
        make(T, 35, false, true),                // 1
        make(A, 30),                             // 2
        make(A, 35, false, true),                // 3
        make(A, 35, true, true),                 // 4
        make(A, 40),                             // 5
        make(A, 40, true),                       // 6
        make(A, 45),                             // 7
        make(A, 45, true),                       // 8
        make(A, 60),                             // 9
        make(A, 60, true),                       // 10
        make(A, 60, true, false, true),          // 11
        make(A, 100, false, false, false, true), // 12
    }};
    return fonts[size_t(std::clamp(index, 0, kCount - 1))];
}

const ReportFont SetTitle = make(A, 120, false, false, false, true);
const ReportFont Song = make(A, 30);
const ReportFont Small = make(T, 14, false, true);
const ReportFont Band = make(A, 60, true);
const ReportFont Info = make(T, 35, false, true);
const ReportFont Subtitle = make(A, 40);

QString family(ReportFont::Face face) {
    return face == ReportFont::Arial ? QStringLiteral("Liberation Sans")
                                     : QStringLiteral("Liberation Serif");
}

} // namespace ReportFonts
