#include "PageRenderer.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <vector>

namespace Report {

namespace {

// Qt fonts of the report fonts, made once each.
const QFont& qfont(const ReportFont& font, int letterSpacing) {
    struct Entry {
        ReportFont font;
        int spacing;
        QFont qfont;
    };
    static std::vector<Entry> cache;
    for (const Entry& entry : cache) {
        if (entry.font == font && entry.spacing == letterSpacing)
            return entry.qfont;
    }
    QFont made = font.qfont();
    if (letterSpacing != 0)
        made.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    cache.push_back({font, letterSpacing, made});
    return cache.back().qfont;
}

QPen penOf(Pen pen) {
    switch (pen) {
    case Pen::Solid2:
        return QPen(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    case Pen::Solid1:
        return QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    case Pen::Solid3:
        return QPen(Qt::black, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    case Pen::None:
        return QPen(Qt::NoPen);
    case Pen::Hairline:
        break;
    }
    // The thinnest line the device draws.
    QPen hairline(Qt::black, 0);
    hairline.setCosmetic(true);
    return hairline;
}

Qt::Alignment alignmentOf(Align align) {
    switch (align) {
    case Align::Center:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

void replayOps(QPainter& painter, const RecordedPage& page) {
    const ReportFont* font = nullptr;
    int fontSpacing = 0;
    const auto useFont = [&](const ReportFont& wanted, int spacing) {
        if (font && *font == wanted && fontSpacing == spacing)
            return;
        painter.setFont(qfont(wanted, spacing));
        font = &wanted;
        fontSpacing = spacing;
    };
    // Texts are drawn with a black pen, strokes with the page's pen; each is set only when the
    // kind of drawing changes.
    QPen strokePen = penOf(Pen::Hairline);
    QPen textPen(Qt::black);
    bool textPenSet = false;
    const auto useTextPen = [&] {
        if (!textPenSet) {
            painter.setPen(textPen);
            textPenSet = true;
        }
    };
    const auto useStrokePen = [&](const QPen& pen) {
        painter.setPen(pen);
        textPenSet = false;
    };
    painter.setPen(strokePen);
    painter.setBrush(Qt::white);
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const Op& op : page.ops()) {
        switch (op.kind) {
        case Op::Kind::Font:
            break; // texts carry their font
        case Op::Kind::Background:
            painter.setBackgroundMode(op.opaque ? Qt::OpaqueMode : Qt::TransparentMode);
            break;
        case Op::Kind::SetPen:
            strokePen = penOf(op.pen);
            useStrokePen(strokePen);
            break;
        case Op::Kind::SetBrush:
            painter.setBrush(op.brush == Brush::Grey        ? QColor(192, 192, 192)
                             : op.brush == Brush::LightGrey ? QColor(224, 224, 224)
                                                            : QColor(Qt::white));
            break;
        case Op::Kind::TextColor:
            textPen.setColor(QColor::fromRgb(op.color));
            textPenSet = false;
            break;
        case Op::Kind::Text: {
            useFont(op.font, 0);
            useTextPen();
            painter.drawText(QPointF(op.x1, op.y1 + op.font.ascent()), op.text);
            break;
        }
        case Op::Kind::TextInRect: {
            useFont(op.font, op.letterSpacing);
            useTextPen();
            painter.drawText(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)),
                             int(alignmentOf(op.align) | Qt::AlignTop) | Qt::TextSingleLine |
                                 (op.clip ? 0 : int(Qt::TextDontClip)),
                             op.text);
            break;
        }
        case Op::Kind::Line:
            if (textPenSet)
                useStrokePen(strokePen);
            painter.drawLine(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2));
            break;
        case Op::Kind::Rectangle:
            if (textPenSet)
                useStrokePen(strokePen);
            painter.drawRect(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)));
            break;
        case Op::Kind::CornerMark:
            useStrokePen(penOf(Pen::Hairline));
            painter.drawLine(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2));
            useStrokePen(strokePen);
            break;
        case Op::Kind::Picture:
            if (op.picture && !op.picture->isNull())
                painter.drawImage(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)),
                                  *op.picture);
            break;
        case Op::Kind::Page: {
            // The page's drawing from its origin to the far corner of its extent fills the
            // target.
            const QRectF extent = op.page->extent();
            if (extent.right() <= 0 || extent.bottom() <= 0)
                break;
            painter.save();
            painter.translate(op.x1, op.y1);
            painter.scale((op.x2 - op.x1) / extent.right(), (op.y2 - op.y1) / extent.bottom());
            replayOps(painter, *op.page);
            painter.restore();
            font = nullptr;
            textPenSet = false;
            break;
        }
        }
    }
}

} // namespace

void mapToDevice(QPainter& painter, double dpiX, double dpiY, QPointF originPx) {
    painter.resetTransform();
    painter.translate(-originPx);
    painter.scale(dpiX / 254.0, dpiY / 254.0);
}

void replay(QPainter& painter, const RecordedPage& page) {
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    replayOps(painter, page);
    painter.restore();
}

bool writePdf(const Document& document, const QString& path, QString* error) {
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (document.pages.empty())
        return fail(QStringLiteral("Der Bericht hat keine Seiten."));
    QPdfWriter writer(path);
    writer.setCreator(QStringLiteral("Vorlanto"));
    writer.setTitle(document.title);
    // One device pixel is one report unit.
    writer.setResolution(254);
    const auto pageSizeOf = [](const RecordedPage& page) {
        const QSize sheet = page.sheet().isValid() ? page.sheet() : QSize(2100, 2969);
        return QPageSize(QSizeF(sheet.width() / 10.0, sheet.height() / 10.0), QPageSize::Millimeter,
                         QString(), QPageSize::FuzzyMatch);
    };
    writer.setPageLayout(QPageLayout(pageSizeOf(*document.pages.front()), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer))
        return fail(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden.")
                        .arg(QFileInfo(path).absoluteFilePath()));
    for (size_t index = 0; index < document.pages.size(); ++index) {
        const RecordedPage& page = *document.pages[index];
        if (index > 0) {
            writer.setPageSize(pageSizeOf(page));
            writer.newPage();
        }
        mapToDevice(painter, writer.resolution(), writer.resolution());
        replay(painter, page);
    }
    if (!painter.end())
        return fail(QStringLiteral("Die Datei \"%1\" konnte nicht vollständig geschrieben werden.")
                        .arg(QFileInfo(path).absoluteFilePath()));
    return true;
}

} // namespace Report
