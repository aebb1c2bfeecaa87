#include "Pictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

#include <QCoreApplication>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>
#include <functional>
#include <future>
#include <tuple>
#include <vector>

namespace Pictures {

namespace {

// The navigation pane's background; the buttons sit on it.
const QColor kPaneGrey(0xBF, 0xBF, 0xBF);
// Outline colour of every symbol, so that they look like one family.
const QColor kInk(40, 44, 54);
const QString kFontFamily = QStringLiteral("Liberation Sans");

// Pixmaps are drawn once and kept for the whole run. The caches are deliberately never freed:
// that way no pixmap outlives the application object in a static destructor.
enum CacheSlot { GroupSlot, ListSlot, LogoSlot, MakerSlot, ToolbarSlot, IconSlot };

QHash<int, QPixmap>& pixmapCache(CacheSlot slot) {
    static auto* caches = new QHash<int, QHash<int, QPixmap>>;
    return (*caches)[slot];
}

// The cached picture for the key, drawn on first use.
template <class Value, class Draw> Value cached(QHash<int, Value>& cache, int key, Draw draw) {
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    const Value value = draw();
    cache.insert(key, value);
    return value;
}

QIcon iconOf(const QImage& image) {
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

// The pictures a start shows first, drawn on another thread by prepareStartPictures() while the
// database opens. Read only after `done`, which the drawing thread completes when it has filled
// them; each is taken once and then lives in the pixmap cache.
struct StartPictures {
    std::shared_future<void> done;
    QHash<int, QImage> images[6];
};
StartPictures& startPictures() {
    static auto* pictures = new StartPictures;
    return *pictures;
}

// The start picture for the key, or the picture drawn now.
template <class Draw> QPixmap pictureFor(CacheSlot slot, int key, Draw draw) {
    StartPictures& start = startPictures();
    if (start.done.valid()) {
        start.done.wait();
        auto found = start.images[slot].find(key);
        if (found != start.images[slot].end()) {
            const QImage image = std::move(*found);
            start.images[slot].erase(found);
            return QPixmap::fromImage(image);
        }
    }
    return QPixmap::fromImage(draw());
}

QPen outlinePen(double width = 3.0, const QColor& colour = kInk) {
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QLinearGradient vertical(double top, double bottom, const QColor& upper, const QColor& lower) {
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, upper);
    gradient.setColorAt(1, lower);
    return gradient;
}

QFont font(double pixelSize, bool bold = true, bool italic = false) {
    QFont result(kFontFamily);
    result.setPixelSize(qMax(1, qRound(pixelSize)));
    result.setBold(bold);
    result.setItalic(italic);
    result.setStyleStrategy(QFont::PreferAntialias);
    return result;
}

// Pictures are drawn into images, which, unlike pixmaps, may be drawn on another thread.
QImage transparentImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// ---------------------------------------------------------------------------------------------
// Symbols. Each one draws into a square of 100 x 100 units; drawSymbol() maps that square into
// the place on the button.

using Symbol = std::function<void(QPainter&)>;

void drawSymbol(QPainter& painter, const QRectF& box, const Symbol& symbol) {
    const double side = qMin(box.width(), box.height());
    painter.save();
    painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    painter.scale(side / 100.0, side / 100.0);
    symbol(painter);
    painter.restore();
}

// Two eighth notes joined by a beam, filling the 100-unit square.
void beamedNotes(QPainter& painter, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (const QPointF head : {QPointF(28, 80), QPointF(76, 70)}) {
        painter.save();
        painter.translate(head);
        painter.rotate(-22);
        painter.drawEllipse(QRectF(-15, -10.5, 30, 21));
        painter.restore();
    }
    painter.drawRect(QRectF(36.5, 20, 6.5, 58));
    painter.drawRect(QRectF(84.5, 10, 6.5, 58));
    QPolygonF beam;
    beam << QPointF(36.5, 16) << QPointF(91, 5) << QPointF(91, 20) << QPointF(36.5, 31);
    painter.drawPolygon(beam);
}

// A single eighth note, filling the 100-unit square.
void eighthNote(QPainter& painter, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.save();
    painter.translate(40, 78);
    painter.rotate(-22);
    painter.drawEllipse(QRectF(-19, -13, 38, 26));
    painter.restore();
    painter.drawRect(QRectF(50, 8, 8, 68));
    QPainterPath flag;
    flag.moveTo(50, 8);
    flag.cubicTo(QPointF(60, 26), QPointF(84, 30), QPointF(76, 58));
    flag.cubicTo(QPointF(78, 40), QPointF(64, 34), QPointF(54, 32));
    flag.closeSubpath();
    painter.drawPath(flag);
}

void addressBook(QPainter& p) {
    // Index tabs peeking out on the right.
    const QColor tabs[] = {QColor(226, 76, 62), QColor(246, 196, 48), QColor(80, 170, 90)};
    p.setPen(outlinePen(2.5));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(tabs[i]);
        p.drawRoundedRect(QRectF(74, 18 + i * 22, 16, 15), 3, 3);
    }
    // Pages and cover.
    p.setBrush(QColor(250, 248, 240));
    p.drawRoundedRect(QRectF(20, 10, 62, 84), 5, 5);
    p.setBrush(vertical(8, 92, QColor(78, 132, 206), QColor(38, 82, 150)));
    p.drawRoundedRect(QRectF(14, 6, 62, 86), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 50, 100, 120));
    p.drawRect(QRectF(16, 8, 9, 82));
    // A person on the cover.
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(QPointF(49, 38), 10, 10);
    QPainterPath shoulders;
    shoulders.moveTo(31, 70);
    shoulders.cubicTo(QPointF(31, 52), QPointF(67, 52), QPointF(67, 70));
    shoulders.closeSubpath();
    p.drawPath(shoulders);
}

void star(QPainter& p) {
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? 47 : 20;
        const double angle = qDegreesToRadians(-90.0 + i * 36.0);
        points << QPointF(50 + radius * qCos(angle), 54 + radius * qSin(angle));
    }
    QRadialGradient gold(QPointF(44, 40), 55);
    gold.setColorAt(0, QColor(255, 236, 130));
    gold.setColorAt(1, QColor(238, 150, 24));
    p.setPen(outlinePen(3.5));
    p.setBrush(gold);
    p.drawPolygon(points);
}

void coins(QPainter& p) {
    const QColor rim(176, 122, 24);
    // A stack of coins on the left.
    p.setPen(outlinePen(2.5));
    for (int i = 0; i < 4; ++i) {
        const double y = 78 - i * 11;
        p.setBrush(vertical(y, y + 18, QColor(232, 178, 54), rim));
        QPainterPath coin;
        coin.moveTo(4, y + 6);
        coin.lineTo(4, y + 12);
        coin.arcTo(QRectF(4, y + 5, 52, 14), 180, 180);
        coin.lineTo(56, y + 6);
        coin.arcTo(QRectF(4, y - 1, 52, 14), 0, -180);
        p.drawPath(coin);
        p.setBrush(QColor(250, 214, 100));
        p.drawEllipse(QRectF(4, y - 1, 52, 14));
    }
    // A big coin standing in front with the euro sign.
    QRadialGradient face(QPointF(58, 36), 40);
    face.setColorAt(0, QColor(255, 232, 140));
    face.setColorAt(1, QColor(222, 158, 34));
    p.setBrush(face);
    p.setPen(outlinePen(3));
    p.drawEllipse(QPointF(66, 50), 31, 31);
    p.setPen(QPen(rim, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(66, 50), 25, 25);
    p.setPen(QColor(140, 88, 10));
    p.setFont(font(40));
    p.drawText(QRectF(36, 20, 60, 60), Qt::AlignCenter, QStringLiteral("\u20AC"));
}

void ticket(QPainter& p, const QColor& light, const QColor& dark, double angle, QPointF centre) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    QPainterPath body;
    body.addRoundedRect(QRectF(-42, -21, 84, 42), 4, 4);
    QPainterPath notches;
    notches.addEllipse(QPointF(-42, 0), 7, 7);
    notches.addEllipse(QPointF(42, 0), 7, 7);
    body = body.subtracted(notches);
    p.setPen(outlinePen(2.5));
    p.setBrush(vertical(-21, 21, light, dark));
    p.drawPath(body);
    QPen perforation(QColor(255, 255, 255, 200), 2.5, Qt::DotLine);
    p.setPen(perforation);
    p.drawLine(QPointF(20, -17), QPointF(20, 17));
    // A star on the stub.
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? 13 : 5.5;
        const double a = qDegreesToRadians(-90.0 + i * 36.0);
        points << QPointF(-12 + radius * qCos(a), 1 + radius * qSin(a));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 250, 220));
    p.drawPolygon(points);
    p.restore();
}

void tickets(QPainter& p) {
    ticket(p, QColor(150, 120, 220), QColor(96, 70, 170), 14, QPointF(54, 36));
    ticket(p, QColor(255, 168, 70), QColor(226, 96, 36), -12, QPointF(46, 64));
}

void guitar(QPainter& p) {
    p.save();
    p.translate(50, 50);
    p.rotate(38);
    p.translate(-50, -52);
    // Neck and headstock.
    p.setPen(outlinePen(2.5));
    p.setBrush(QColor(120, 72, 36));
    p.drawRect(QRectF(45.5, 4, 9, 44));
    p.setBrush(QColor(56, 40, 30));
    p.drawRoundedRect(QRectF(42, -8, 16, 15), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 230, 230));
    for (int i = 0; i < 3; ++i) {
        p.drawEllipse(QPointF(39, -4 + i * 5), 2.5, 2);
        p.drawEllipse(QPointF(61, -4 + i * 5), 2.5, 2);
    }
    // Body: two bouts and a waist.
    QPainterPath body;
    body.addEllipse(QPointF(50, 82), 24, 22);
    body.addEllipse(QPointF(50, 54), 17, 16);
    QPainterPath waist;
    waist.addRect(QRectF(36, 54, 28, 26));
    body = body.united(waist).simplified();
    QRadialGradient burst(QPointF(50, 70), 30);
    burst.setColorAt(0, QColor(250, 200, 90));
    burst.setColorAt(0.65, QColor(226, 128, 44));
    burst.setColorAt(1, QColor(130, 46, 20));
    p.setPen(outlinePen(3));
    p.setBrush(burst);
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(50, 62), 7, 7);
    p.setBrush(QColor(60, 36, 20));
    p.drawRoundedRect(QRectF(40, 85, 20, 5), 2, 2);
    // Strings.
    p.setPen(QPen(QColor(236, 236, 236), 0.9));
    for (int i = -1; i <= 1; ++i)
        p.drawLine(QPointF(50 + i * 2.5, 2), QPointF(50 + i * 2.5, 87));
    p.restore();
}

void mixingDesk(QPainter& p) {
    QPainterPath console;
    console.moveTo(16, 18);
    console.lineTo(84, 18);
    console.lineTo(96, 88);
    console.lineTo(4, 88);
    console.closeSubpath();
    p.setPen(outlinePen(3));
    p.setBrush(vertical(18, 88, QColor(96, 104, 118), QColor(50, 54, 64)));
    p.drawPath(console);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 32, 38));
    p.drawRect(QRectF(6, 88, 88, 5));
    const QColor knobs[] = {QColor(232, 72, 60), QColor(250, 200, 50), QColor(80, 160, 230),
                            QColor(100, 200, 100), QColor(240, 240, 240)};
    const double faders[] = {0.3, 0.65, 0.15, 0.5, 0.8};
    for (int i = 0; i < 5; ++i) {
        // Channel strips widen with the perspective of the desk.
        const double x = 50 + (i - 2) * 15.5;
        p.setBrush(knobs[i]);
        p.drawEllipse(QPointF(50 + (i - 2) * 12.5, 29), 4.2, 4.2);
        p.drawEllipse(QPointF(50 + (i - 2) * 13.5, 42), 4.2, 4.2);
        p.setPen(QPen(QColor(16, 16, 20), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, 54), QPointF(50 + (i - 2) * 17, 82));
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(226, 228, 232));
        const double t = faders[i];
        const double fx = x + (50 + (i - 2) * 17 - x) * t;
        p.drawRoundedRect(QRectF(fx - 5.5, 54 + t * 28 - 3.5, 11, 7), 1.5, 1.5);
        p.setPen(Qt::NoPen);
    }
}

void drumKit(QPainter& p) {
    const QColor shell(198, 40, 40);
    const QColor shellDark(130, 20, 24);
    const QColor head(246, 240, 226);
    // Cymbals on stands behind the drums.
    p.setPen(QPen(QColor(90, 94, 100), 2.5));
    p.drawLine(QPointF(12, 20), QPointF(12, 94));
    p.drawLine(QPointF(89, 26), QPointF(89, 94));
    p.drawLine(QPointF(12, 94), QPointF(4, 98));
    p.drawLine(QPointF(12, 94), QPointF(20, 98));
    p.drawLine(QPointF(89, 94), QPointF(81, 98));
    p.drawLine(QPointF(89, 94), QPointF(97, 98));
    p.setPen(outlinePen(2));
    p.setBrush(vertical(14, 26, QColor(252, 222, 110), QColor(206, 150, 30)));
    p.save();
    p.translate(12, 20);
    p.rotate(-12);
    p.drawEllipse(QRectF(-16, -4.5, 32, 9));
    p.restore();
    p.save();
    p.translate(89, 26);
    p.rotate(10);
    p.drawEllipse(QRectF(-14, -4, 28, 8));
    p.restore();
    // Two toms on the bass drum.
    for (const double x : {34.0, 66.0}) {
        p.save();
        p.translate(x, 38);
        p.rotate(x < 50 ? -10 : 10);
        p.setPen(outlinePen(2.5));
        p.setBrush(vertical(-6, 12, shell, shellDark));
        p.drawRect(QRectF(-13, -4, 26, 16));
        p.setBrush(head);
        p.drawEllipse(QRectF(-13, -9, 26, 10));
        p.restore();
    }
    // Bass drum with its front head.
    p.setPen(outlinePen(3));
    p.setBrush(shell);
    p.drawEllipse(QPointF(50, 69), 27, 27);
    QRadialGradient skin(QPointF(44, 62), 26);
    skin.setColorAt(0, QColor(255, 252, 244));
    skin.setColorAt(1, head.darker(112));
    p.setPen(QPen(QColor(210, 210, 214), 2));
    p.setBrush(skin);
    p.drawEllipse(QPointF(50, 69), 21, 21);
    p.setPen(Qt::NoPen);
    p.setBrush(shell);
    p.drawEllipse(QPointF(50, 69), 7, 7);
}

void loudspeaker(QPainter& p) {
    // Tripod stand.
    p.setPen(QPen(QColor(70, 74, 82), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50, 78), QPointF(50, 92));
    p.drawLine(QPointF(50, 90), QPointF(32, 99));
    p.drawLine(QPointF(50, 90), QPointF(68, 99));
    // Cabinet.
    QPainterPath cabinet;
    cabinet.moveTo(24, 4);
    cabinet.lineTo(76, 4);
    cabinet.lineTo(72, 80);
    cabinet.lineTo(28, 80);
    cabinet.closeSubpath();
    p.setPen(outlinePen(3));
    p.setBrush(vertical(4, 80, QColor(84, 90, 102), QColor(36, 38, 46)));
    p.drawPath(cabinet);
    // Horn.
    p.setBrush(QColor(24, 26, 30));
    p.setPen(outlinePen(1.5, QColor(120, 126, 136)));
    p.drawRoundedRect(QRectF(34, 10, 32, 17), 3, 3);
    QPolygonF throat;
    throat << QPointF(38, 13) << QPointF(62, 13) << QPointF(53, 21) << QPointF(47, 21);
    p.setBrush(QColor(60, 64, 72));
    p.drawPolygon(throat);
    // Woofer.
    p.setPen(outlinePen(2));
    p.setBrush(QColor(30, 32, 36));
    p.drawEllipse(QPointF(50, 53), 20, 20);
    QRadialGradient cone(QPointF(46, 48), 20);
    cone.setColorAt(0, QColor(150, 156, 166));
    cone.setColorAt(1, QColor(56, 60, 68));
    p.setPen(Qt::NoPen);
    p.setBrush(cone);
    p.drawEllipse(QPointF(50, 53), 16, 16);
    p.setBrush(QColor(24, 26, 30));
    p.drawEllipse(QPointF(50, 53), 5.5, 5.5);
}

void spotlight(QPainter& p) {
    // Hanging bar and clamp.
    p.setPen(QPen(QColor(70, 74, 82), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 5), QPointF(66, 5));
    p.setPen(outlinePen(2));
    p.setBrush(QColor(90, 94, 104));
    p.drawRect(QRectF(25, 3, 10, 10));

    p.save();
    p.translate(30, 34);
    p.rotate(40);
    // The beam.
    QPainterPath beam;
    beam.moveTo(20, -15);
    beam.lineTo(96, -40);
    beam.lineTo(96, 40);
    beam.lineTo(20, 15);
    beam.closeSubpath();
    QLinearGradient light(20, 0, 96, 0);
    light.setColorAt(0, QColor(255, 234, 100, 255));
    light.setColorAt(0.6, QColor(255, 214, 70, 120));
    light.setColorAt(1, QColor(255, 204, 60, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawPath(beam);
    // Can.
    p.setPen(outlinePen(2.5));
    p.setBrush(vertical(-16, 16, QColor(110, 116, 128), QColor(28, 30, 36)));
    QPainterPath can;
    can.moveTo(-24, -11);
    can.lineTo(14, -16);
    can.lineTo(14, 16);
    can.lineTo(-24, 11);
    can.closeSubpath();
    p.drawPath(can);
    p.setBrush(QColor(40, 42, 48));
    p.drawRect(QRectF(12, -18, 7, 36));
    QRadialGradient lens(QPointF(21, 0), 14);
    lens.setColorAt(0, QColor(255, 255, 240));
    lens.setColorAt(1, QColor(255, 206, 60));
    p.setBrush(lens);
    p.setPen(outlinePen(1.5));
    p.drawEllipse(QRectF(17, -15, 8, 30));
    p.restore();
    // Yoke from the clamp around the can's pivot.
    p.setPen(QPen(QColor(60, 64, 72), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(30, 13), QPointF(30, 20));
    p.setPen(outlinePen(2));
    p.setBrush(QColor(200, 204, 212));
    p.drawEllipse(QPointF(30, 34), 4, 4);
}

void van(QPainter& p) {
    QPainterPath body;
    body.moveTo(4, 74);
    body.lineTo(4, 30);
    body.quadTo(4, 22, 12, 22);
    body.lineTo(68, 22);
    body.quadTo(74, 22, 77, 27);
    body.lineTo(87, 46);
    body.lineTo(94, 50);
    body.quadTo(97, 52, 97, 56);
    body.lineTo(97, 74);
    body.closeSubpath();
    p.setPen(outlinePen(3));
    p.setBrush(vertical(22, 76, QColor(70, 166, 214), QColor(28, 104, 160)));
    p.drawPath(body);
    // Windows.
    p.setPen(outlinePen(2));
    p.setBrush(vertical(30, 48, QColor(224, 242, 252), QColor(160, 204, 230)));
    p.drawRoundedRect(QRectF(11, 30, 22, 16), 2, 2);
    p.drawRoundedRect(QRectF(38, 30, 22, 16), 2, 2);
    QPolygonF windscreen;
    windscreen << QPointF(65, 30) << QPointF(73, 30) << QPointF(82, 46) << QPointF(65, 46);
    p.drawPolygon(windscreen);
    // Door seam, stripe and lights.
    p.setPen(QPen(QColor(20, 70, 110), 1.6));
    p.drawLine(QPointF(62, 28), QPointF(62, 72));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 180));
    p.drawRect(QRectF(5.5, 54, 90, 4));
    p.setBrush(QColor(255, 222, 90));
    p.drawRoundedRect(QRectF(90, 59, 6, 5), 1.5, 1.5);
    p.setBrush(QColor(230, 70, 50));
    p.drawRect(QRectF(5.5, 60, 3, 8));
    // Wheels.
    for (const double x : {24.0, 77.0}) {
        p.setPen(outlinePen(2));
        p.setBrush(QColor(34, 36, 40));
        p.drawEllipse(QPointF(x, 76), 11, 11);
        p.setBrush(QColor(190, 196, 204));
        p.drawEllipse(QPointF(x, 76), 4.5, 4.5);
    }
}

// A calendar page; with rows, it becomes a list of dated entries with their status.
void calendarPage(QPainter& p, bool asList) {
    p.setPen(outlinePen(3));
    p.setBrush(vertical(14, 94, QColor(255, 255, 255), QColor(226, 230, 236)));
    p.drawRoundedRect(QRectF(10, 12, 80, 82), 6, 6);
    QPainterPath header;
    header.addRoundedRect(QRectF(10, 12, 80, 22), 6, 6);
    header.addRect(QRectF(10, 24, 80, 10));
    p.setBrush(vertical(12, 34, QColor(236, 92, 76), QColor(196, 48, 40)));
    p.drawPath(header.simplified());
    // Rings.
    p.setBrush(QColor(90, 96, 108));
    p.setPen(outlinePen(2));
    p.drawRoundedRect(QRectF(27, 4, 7, 17), 3, 3);
    p.drawRoundedRect(QRectF(66, 4, 7, 17), 3, 3);
    p.setPen(Qt::NoPen);
    if (asList) {
        const QColor status[] = {QColor(222, 48, 40), QColor(246, 204, 30), QColor(46, 168, 70)};
        for (int i = 0; i < 3; ++i) {
            const double y = 42 + i * 17;
            QPolygonF corner;
            corner << QPointF(18, y) << QPointF(30, y) << QPointF(18, y + 12);
            p.setBrush(status[i]);
            p.drawPolygon(corner);
            p.setBrush(QColor(120, 128, 140));
            p.drawRoundedRect(QRectF(35, y + 3, i == 1 ? 36 : 46, 6), 3, 3);
        }
    } else {
        p.setBrush(QColor(120, 128, 140));
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 5; ++col)
                p.drawRect(QRectF(18 + col * 14, 42 + row * 16, 9, 9));
        p.setBrush(QColor(222, 48, 40));
        p.drawRect(QRectF(18 + 3 * 14, 42 + 16, 9, 9));
    }
}

void invoiceAndCalculator(QPainter& p) {
    // The invoice behind.
    p.save();
    p.translate(32, 46);
    p.rotate(-8);
    p.setPen(outlinePen(2.5));
    p.setBrush(QColor(255, 255, 255));
    QPainterPath sheet;
    sheet.moveTo(-26, -40);
    sheet.lineTo(14, -40);
    sheet.lineTo(26, -28);
    sheet.lineTo(26, 40);
    sheet.lineTo(-26, 40);
    sheet.closeSubpath();
    p.drawPath(sheet);
    p.setPen(QPen(QColor(150, 158, 170), 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(-18, -20 + i * 11), QPointF(i % 2 ? 4 : 12, -20 + i * 11));
    p.setPen(QColor(34, 120, 60));
    p.setFont(font(22));
    p.drawText(QRectF(-24, 16, 30, 24), Qt::AlignCenter, QStringLiteral("\u20AC"));
    p.restore();
    // The calculator in front.
    p.setPen(outlinePen(3));
    p.setBrush(vertical(28, 96, QColor(92, 100, 114), QColor(50, 54, 64)));
    p.drawRoundedRect(QRectF(48, 28, 44, 68), 6, 6);
    p.setPen(outlinePen(1.5));
    p.setBrush(QColor(190, 222, 170));
    p.drawRect(QRectF(54, 34, 32, 14));
    p.setPen(QColor(30, 60, 30));
    p.setFont(font(11));
    p.drawText(QRectF(55, 34, 29, 14), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("1.250"));
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col) {
            const bool equals = row == 3 && col == 2;
            p.setBrush(equals ? QColor(246, 146, 50) : QColor(226, 230, 236));
            p.drawRoundedRect(QRectF(54 + col * 11.5, 53 + row * 10.5, 8, 7), 1.5, 1.5);
        }
}

void tshirt(QPainter& p) {
    QPainterPath shirt;
    shirt.moveTo(36, 10);
    shirt.cubicTo(QPointF(40, 22), QPointF(60, 22), QPointF(64, 10));
    shirt.lineTo(80, 15);
    shirt.lineTo(97, 34);
    shirt.lineTo(85, 47);
    shirt.lineTo(76, 40);
    shirt.lineTo(76, 92);
    shirt.lineTo(24, 92);
    shirt.lineTo(24, 40);
    shirt.lineTo(15, 47);
    shirt.lineTo(3, 34);
    shirt.lineTo(20, 15);
    shirt.closeSubpath();
    p.setPen(outlinePen(3));
    p.setBrush(vertical(10, 92, QColor(110, 116, 226), QColor(62, 62, 170)));
    p.drawPath(shirt);
    p.setPen(QPen(QColor(40, 40, 120), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath collar;
    collar.moveTo(39, 13);
    collar.cubicTo(QPointF(43, 24), QPointF(57, 24), QPointF(61, 13));
    p.drawPath(collar);
    // The band's note printed on the chest.
    p.save();
    p.translate(36, 36);
    p.scale(0.3, 0.3);
    beamedNotes(p, QColor(255, 255, 255, 235));
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Button faces.

// The raised face of a normal button or the sunken face of a pressed one.
void drawButtonFace(QPainter& painter, const QRectF& face, bool pressed) {
    const double radius = 6;
    if (pressed) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 110));
        painter.drawRoundedRect(face.translated(0.5, 1), radius, radius);
        painter.setPen(QPen(QColor(52, 74, 102), 1));
        painter.setBrush(
            vertical(face.top(), face.bottom(), QColor(92, 120, 156), QColor(150, 176, 206)));
        painter.drawRoundedRect(face, radius, radius);
        // Inner shadow along the top and the left edge.
        QPainterPath inside;
        inside.addRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
        painter.save();
        painter.setClipPath(inside);
        painter.setBrush(Qt::NoBrush);
        for (int i = 0; i < 3; ++i) {
            painter.setPen(QPen(QColor(0, 0, 0, 70 - i * 22), 1));
            painter.drawRoundedRect(face.adjusted(1 + i, 1 + i, 4, 4), radius, radius);
        }
        painter.restore();
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 45));
        painter.drawRoundedRect(face.translated(1, 1.5), radius, radius);
        painter.setPen(QPen(QColor(110, 118, 130), 1));
        painter.setBrush(
            vertical(face.top(), face.bottom(), QColor(253, 253, 254), QColor(212, 218, 228)));
        painter.drawRoundedRect(face, radius, radius);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(255, 255, 255, 220), 1));
        painter.drawRoundedRect(face.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }
}

void drawCaption(QPainter& painter, const QRectF& box, const QString& text, double pixelSize,
                 Qt::Alignment align, bool pressed) {
    painter.setFont(font(pixelSize));
    if (pressed) {
        painter.setPen(QColor(20, 34, 56, 150));
        painter.drawText(box.translated(0, 1), align, text);
        painter.setPen(QColor(255, 255, 255));
    } else {
        painter.setPen(QColor(255, 255, 255, 200));
        painter.drawText(box.translated(0, 1), align, text);
        painter.setPen(QColor(30, 38, 52));
    }
    painter.drawText(box, align, text);
}

QImage blankButton(int height) {
    QImage pixmap(kButtonWidth, height, QImage::Format_ARGB32_Premultiplied);
    pixmap.fill(kPaneGrey);
    return pixmap;
}

QImage drawGroupButton(const QString& caption, const Symbol& symbol, bool pressed) {
    QImage pixmap = blankButton(kGroupButtonHeight);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawButtonFace(painter, QRectF(1.5, 1.5, kButtonWidth - 4, kGroupButtonHeight - 4), pressed);
    const double shift = pressed ? 1 : 0;
    drawSymbol(painter, QRectF(8 + shift, 4 + shift, 21, 21), symbol);
    drawCaption(painter, QRectF(36 + shift, 2 + shift, kButtonWidth - 40, kGroupButtonHeight - 5),
                caption, 14, Qt::AlignLeft | Qt::AlignVCenter, pressed);
    return pixmap;
}

QImage drawListButton(const QString& caption, const Symbol& symbol, bool pressed) {
    QImage pixmap = blankButton(kListButtonHeight);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF face(2.5, 2.5, kButtonWidth - 6, kListButtonHeight - 6);
    drawButtonFace(painter, face, pressed);
    const double shift = pressed ? 1 : 0;
    QPainterPath clip;
    clip.addRoundedRect(face.adjusted(1, 1, -1, -1), 5, 5);
    painter.setClipPath(clip);
    drawSymbol(painter, QRectF(41 + shift, 7 + shift, 46, 46), symbol);
    drawCaption(painter, QRectF(4 + shift, 55 + shift, kButtonWidth - 8, 18), caption, 13,
                Qt::AlignCenter, pressed);
    return pixmap;
}

int listKey(int group, int button, bool pressed) {
    return (group * 16 + button) * 2 + (pressed ? 1 : 0);
}

struct ButtonContent {
    QString caption;
    Symbol symbol;
};

bool groupContent(int group, ButtonContent& content) {
    switch (group) {
    case 0:
        content = {QStringLiteral("Adressen"), addressBook};
        return true;
    case 1:
        content = {QStringLiteral("Events"), star};
        return true;
    case 2:
        content = {QStringLiteral("Finanzen"), coins};
        return true;
    default:
        return false;
    }
}

bool listContent(int group, int button, ButtonContent& content) {
    struct Entry {
        int group;
        int button;
        const char* caption;
        void (*symbol)(QPainter&);
    };
    static const Entry kEntries[] = {
        {0, 0, "Veranstalter", tickets},
        {0, 1, "Musiker", guitar},
        {0, 2, "Techniker", mixingDesk},
        {0, 3, "Backliner", drumKit},
        {0, 4, "PA-Verleih", loudspeaker},
        {0, 5, "LA-Verleih", spotlight},
        {0, 6, "Kfz-Verleih", van},
        {1, 0, "Eventliste", [](QPainter& p) { calendarPage(p, true); }},
        {2, 0, "Abrechnung", invoiceAndCalculator},
        {2, 1, "Fanartikel", tshirt},
    };
    for (const Entry& entry : kEntries) {
        if (entry.group == group && entry.button == button) {
            content = {QString::fromUtf8(entry.caption), entry.symbol};
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Small icons.

QImage drawStatusIcon(int index) {
    const QColor fill = statusColour(index);
    // White needs a clearly darker edge; the others a shade of their own colour.
    const QColor edge = index == 3 ? QColor(128, 128, 128) : fill.darker(150);
    QImage pixmap = transparentImage(16, 16);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPolygonF triangle;
    triangle << QPointF(0, 0) << QPointF(16, 0) << QPointF(0, 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPolygon(triangle);
    // The edge along the two outer sides and, lighter, along the diagonal.
    painter.setPen(QPen(edge, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(0.5, 15.5), QPointF(0.5, 0.5));
    painter.drawLine(QPointF(0.5, 0.5), QPointF(15.5, 0.5));
    QColor soft = edge;
    soft.setAlpha(150);
    painter.setPen(QPen(soft, 1));
    painter.drawLine(QPointF(1, 15), QPointF(15, 1));
    return pixmap;
}

QImage helpIcon() {
    QImage pixmap = transparentImage(16, 15);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient ball(QPointF(6, 5), 9);
    ball.setColorAt(0, QColor(110, 170, 240));
    ball.setColorAt(1, QColor(26, 86, 170));
    p.setPen(QPen(QColor(20, 60, 120), 1));
    p.setBrush(ball);
    p.drawEllipse(QRectF(1, 0.5, 14, 14));
    p.setPen(Qt::white);
    p.setFont(font(12));
    p.drawText(QRectF(1, 0.5, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
    return pixmap;
}

QImage calendarIcon() {
    QImage pixmap = transparentImage(16, 15);
    QPainter p(&pixmap);
    p.setPen(QColor(70, 76, 88));
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 12);
    p.fillRect(2, 3, 12, 3, QColor(210, 56, 46));
    p.fillRect(4, 0, 2, 4, QColor(70, 76, 88));
    p.fillRect(10, 0, 2, 4, QColor(70, 76, 88));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            p.fillRect(3 + col * 3, 7 + row * 2, 2, 1, QColor(110, 118, 130));
    return pixmap;
}

QImage printerIcon() {
    QImage pixmap = transparentImage(16, 15);
    QPainter p(&pixmap);
    const QColor ink(60, 64, 74);
    p.setPen(ink);
    p.setBrush(Qt::white);
    p.drawRect(4, 0, 8, 5);
    p.setBrush(QColor(170, 176, 188));
    p.drawRect(0, 5, 15, 6);
    p.fillRect(12, 7, 2, 1, QColor(60, 190, 80));
    p.setBrush(Qt::white);
    p.drawRect(3, 9, 9, 5);
    p.setPen(QColor(140, 146, 158));
    p.drawLine(5, 11, 10, 11);
    return pixmap;
}

QImage drawApplicationIcon(int size) {
    QImage pixmap = transparentImage(size, size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    const QRectF tile(2, 2, 60, 60);
    QLinearGradient steel(0, 2, 0, 62);
    steel.setColorAt(0, QColor(98, 140, 196));
    steel.setColorAt(1, QColor(38, 70, 122));
    p.setPen(QPen(QColor(26, 48, 86), size >= 32 ? 1.5 : 2.5));
    p.setBrush(steel);
    p.drawRoundedRect(tile, 12, 12);
    if (size >= 32) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 40));
        QPainterPath gloss;
        gloss.addRoundedRect(QRectF(4, 4, 56, 26), 10, 10);
        p.drawPath(gloss);
    }
    drawSymbol(p, QRectF(12, 11, 42, 42), [](QPainter& q) {
        q.translate(3, 3);
        beamedNotes(q, QColor(0, 0, 0, 70));
        q.translate(-3, -3);
        beamedNotes(q, QColor(255, 255, 255));
    });
    return pixmap;
}

} // namespace

QColor statusColour(int index) {
    switch (index) {
    case 0:
        return QColor(224, 36, 36);
    case 1:
        return QColor(250, 214, 20);
    case 2:
        return QColor(30, 170, 60);
    case 3:
        return QColor(255, 255, 255);
    default:
        return QColor(150, 150, 150);
    }
}

QPixmap groupButton(int group, bool pressed) {
    ButtonContent content;
    if (!groupContent(group, content))
        return QPixmap::fromImage(blankButton(kGroupButtonHeight));
    const int key = group * 2 + (pressed ? 1 : 0);
    return cached(pixmapCache(GroupSlot), key, [&] {
        return pictureFor(GroupSlot, key, [&] {
            return drawGroupButton(content.caption, content.symbol, pressed);
        });
    });
}

QString groupCaption(int group) {
    ButtonContent content;
    return groupContent(group, content) ? content.caption : QString();
}

QString listCaption(int group, int button) {
    ButtonContent content;
    return listContent(group, button, content) ? content.caption : QString();
}

QPixmap listButton(int group, int button, bool pressed) {
    ButtonContent content;
    if (!listContent(group, button, content))
        return QPixmap::fromImage(blankButton(kListButtonHeight));
    const int key = listKey(group, button, pressed);
    return cached(pixmapCache(ListSlot), key, [&] {
        return pictureFor(ListSlot, key,
                          [&] { return drawListButton(content.caption, content.symbol, pressed); });
    });
}

QIcon statusIcon(int index) {
    if (index < 0 || index > 4)
        return QIcon();
    static auto* icons = new QHash<int, QIcon>;
    return cached(*icons, index, [index] { return iconOf(drawStatusIcon(index)); });
}

static QImage drawLogo() {
    QImage pixmap = transparentImage(102, 43);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // The note, in the accent colour, leaning into the name.
    drawSymbol(p, QRectF(1, 6, 24, 24), [](QPainter& q) { eighthNote(q, QColor(232, 112, 36)); });
    const QString name = QStringLiteral("Vorlanto");
    QFont nameFont = font(22, true, true);
    const double room = 102 - 22 - 2;
    while (nameFont.pixelSize() > 10 && QFontMetricsF(nameFont).horizontalAdvance(name) > room)
        nameFont.setPixelSize(nameFont.pixelSize() - 1);
    p.setFont(nameFont);
    p.setPen(QColor(255, 255, 255, 170));
    p.drawText(QRectF(22, 5, room, 27), Qt::AlignLeft | Qt::AlignVCenter, name);
    p.setPen(QColor(30, 58, 106));
    p.drawText(QRectF(22, 4, room, 27), Qt::AlignLeft | Qt::AlignVCenter, name);
    // A sound wave underlining the name.
    QPainterPath wave;
    wave.moveTo(6, 36);
    for (int x = 6; x <= 98; ++x) {
        const double fade = qSin(M_PI * (x - 6) / 92.0);
        wave.lineTo(x, 36 + 3.2 * fade * qSin((x - 6) / 3.2));
    }
    QLinearGradient stroke(6, 0, 98, 0);
    stroke.setColorAt(0, QColor(232, 112, 36, 60));
    stroke.setColorAt(0.3, QColor(232, 112, 36));
    stroke.setColorAt(1, QColor(30, 58, 106, 120));
    p.setPen(QPen(QBrush(stroke), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    p.end();

    return pixmap;
}

QPixmap logo() {
    return cached(pixmapCache(LogoSlot), 0, [] { return pictureFor(LogoSlot, 0, drawLogo); });
}

static QImage drawMakerPicture() {
    QImage pixmap = transparentImage(120, 60);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF card(0.5, 0.5, 119, 59);
    p.setPen(QPen(QColor(16, 28, 56), 1));
    p.setBrush(vertical(0, 60, QColor(40, 66, 120), QColor(14, 22, 46)));
    p.drawRoundedRect(card, 8, 8);
    // Equaliser bars behind the name.
    const int bars[] = {6, 12, 18, 13, 22, 16, 9, 14, 20, 10, 15, 8, 12, 5};
    QPainterPath inside;
    inside.addRoundedRect(card.adjusted(1, 1, -1, -1), 7, 7);
    p.setClipPath(inside);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 14; ++i) {
        QColor bar = QColor(120, 170, 240);
        bar.setAlpha(55);
        p.setBrush(bar);
        p.drawRect(QRectF(6 + i * 8, 58 - bars[i], 5, bars[i]));
    }
    p.setClipping(false);
    drawSymbol(p, QRectF(7, 7, 26, 26), [](QPainter& q) { beamedNotes(q, QColor(255, 150, 60)); });
    p.setFont(font(19, true, true));
    p.setPen(Qt::white);
    p.drawText(QRectF(36, 6, 82, 28), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vorlanto"));
    p.setFont(font(9.5, false));
    p.setPen(QColor(214, 226, 248));
    p.drawText(QRectF(4, 38, 112, 16), Qt::AlignCenter, QStringLiteral("Software für Bands"));
    p.end();

    return pixmap;
}

QPixmap makerPicture() {
    return cached(pixmapCache(MakerSlot), 0, [] { return QPixmap::fromImage(drawMakerPicture()); });
}

namespace {
constexpr int kApplicationIconSizes[] = {16, 32, 64};

std::function<QImage()> toolbarDrawing(int index) {
    return index == 0 ? helpIcon : index == 1 ? calendarIcon : printerIcon;
}
} // namespace

QIcon toolbarIcon(int index) {
    if (index < 0 || index > 2)
        return QIcon();
    static auto* icons = new QHash<int, QIcon>;
    return cached(*icons, index,
                  [index] { return QIcon(pictureFor(ToolbarSlot, index, toolbarDrawing(index))); });
}

QIcon applicationIcon() {
    static auto* icon = new QIcon;
    if (icon->isNull())
        for (const int size : kApplicationIconSizes)
            icon->addPixmap(
                pictureFor(IconSlot, size, [size] { return drawApplicationIcon(size); }));
    return *icon;
}

namespace {

// The layout of the cache file; raised when it changes. (A program file built or installed anew
// has a file name of its own anyway, see startPictureFile().)
constexpr int kDrawingVersion = 2;
const char kCacheMagic[] = "Vorlanto-Startbilder";

struct StartKey {
    CacheSlot slot;
    int key;
    QSize size;
    std::function<QImage()> draw;
};

// The pictures a start shows first, in the order of StartPictureSet, each with its drawing.
std::vector<StartKey> startPictureKeys(int group) {
    std::vector<StartKey> keys;
    for (int each = 0; each < 3; ++each) {
        ButtonContent content;
        if (groupContent(each, content)) {
            const bool pressed = each == group;
            keys.push_back({GroupSlot, each * 2 + (pressed ? 1 : 0),
                            QSize(kButtonWidth, kGroupButtonHeight), [content, pressed] {
                                return drawGroupButton(content.caption, content.symbol, pressed);
                            }});
        }
    }
    for (int button = 0; button < 7; ++button) {
        ButtonContent content;
        if (listContent(group, button, content))
            keys.push_back(
                {ListSlot, listKey(group, button, false), QSize(kButtonWidth, kListButtonHeight),
                 [content] { return drawListButton(content.caption, content.symbol, false); }});
    }
    // The window's own pictures: the toolbar and the window icon.
    for (int index = 0; index < 3; ++index)
        keys.push_back({ToolbarSlot, index, QSize(16, 15), toolbarDrawing(index)});
    for (const int size : kApplicationIconSizes)
        keys.push_back(
            {IconSlot, size, QSize(size, size), [size] { return drawApplicationIcon(size); }});
    keys.push_back({LogoSlot, 0, QSize(102, 43), drawLogo});
    return keys;
}

} // namespace

StartPictureSet drawStartPictures(int group) {
    StartPictureSet pictures;
    for (const StartKey& each : startPictureKeys(group))
        pictures.push_back(each.draw());
    return pictures;
}

QString startPictureFile(const QString& folder, int group) {
    // Named after this very program file too: a program built or installed anew may draw
    // differently, and then draws once more instead of showing older pictures.
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const qint64 stamp = program.lastModified().toSecsSinceEpoch() ^ (program.size() << 20);
    return QDir(folder).filePath(QStringLiteral("startbilder-%1-%2-qt%3-%4.bin")
                                     .arg(kDrawingVersion)
                                     .arg(group)
                                     .arg(QString::fromLatin1(qVersion()))
                                     .arg(quint64(stamp), 0, 16));
}

// The file holds the pictures as their pixels, so that reading them costs next to nothing.
StartPictureSet readStartPictures(const QString& path, int group) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QDataStream in(&file);
    QByteArray magic;
    qint32 version = 0;
    in >> magic >> version;
    if (magic != QByteArray(kCacheMagic) || version != kDrawingVersion)
        return {};
    StartPictureSet pictures;
    for (const StartKey& each : startPictureKeys(group)) {
        qint32 slot = -1;
        qint32 key = -1;
        QByteArray pixels;
        in >> slot >> key >> pixels;
        QImage image(each.size, QImage::Format_ARGB32_Premultiplied);
        if (in.status() != QDataStream::Ok || slot != each.slot || key != each.key ||
            pixels.size() != image.sizeInBytes())
            return {};
        std::memcpy(image.bits(), pixels.constData(), static_cast<size_t>(pixels.size()));
        pictures.push_back(image);
    }
    return in.atEnd() ? pictures : StartPictureSet();
}

namespace {

// The files earlier program versions left.
void removeOtherStartPictures(const QString& kept) {
    const QFileInfo keptFile(kept);
    QDir folder = keptFile.absoluteDir();
    for (const QString& name :
         folder.entryList({QStringLiteral("startbilder-*.bin")}, QDir::Files)) {
        if (name != keptFile.fileName())
            folder.remove(name);
    }
}

} // namespace

bool writeStartPictures(const QString& path, int group, const StartPictureSet& pictures) {
    const std::vector<StartKey> keys = startPictureKeys(group);
    if (pictures.size() != keys.size() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out << QByteArray(kCacheMagic) << qint32(kDrawingVersion);
    for (size_t i = 0; i < keys.size(); ++i) {
        const QImage image = pictures[i].convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.size() != keys[i].size)
            return false;
        out << qint32(keys[i].slot) << qint32(keys[i].key)
            << QByteArray(reinterpret_cast<const char*>(image.constBits()),
                          static_cast<qsizetype>(image.sizeInBytes()));
    }
    return out.status() == QDataStream::Ok && file.commit();
}

std::function<void()> startPictureTask(int group, const QString& cacheFolder) {
    StartPictures& start = startPictures();
    if (start.done.valid())
        return [] {};
    auto finished = std::make_shared<std::promise<void>>();
    start.done = finished->get_future().share();
    return [&start, finished, group, cacheFolder] {
        const QString path =
            cacheFolder.isEmpty() ? QString() : startPictureFile(cacheFolder, group);
        StartPictureSet pictures =
            path.isEmpty() ? StartPictureSet() : readStartPictures(path, group);
        if (pictures.empty()) {
            pictures = drawStartPictures(group);
            if (!path.isEmpty() && writeStartPictures(path, group, pictures))
                removeOtherStartPictures(path);
        }
        const std::vector<StartKey> keys = startPictureKeys(group);
        for (size_t i = 0; i < keys.size(); ++i)
            start.images[keys[i].slot].insert(keys[i].key, pictures[i]);
        finished->set_value();
    };
}

std::shared_future<void> prepareStartPictures(int group, const QString& cacheFolder) {
    StartPictures& start = startPictures();
    if (start.done.valid())
        return start.done;
    // Ends with the thread, so that whoever waits for it knows the thread is gone too.
    return std::async(std::launch::async, startPictureTask(group, cacheFolder)).share();
}

} // namespace Pictures
