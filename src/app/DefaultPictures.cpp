#include "DefaultPictures.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace DefaultPictures {

namespace {

void drawNote(QPainter& painter, QPointF at, double size, const QColor& colour) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.translate(at);
    painter.rotate(-20);
    painter.drawEllipse(QRectF(-size * 0.6, -size * 0.4, size * 1.2, size * 0.8));
    painter.restore();
    painter.setPen(QPen(colour, size * 0.16));
    painter.drawLine(at + QPointF(size * 0.52, -size * 0.1), at + QPointF(size * 0.52, -size * 3));
    QPainterPath flag;
    flag.moveTo(at + QPointF(size * 0.52, -size * 3));
    flag.cubicTo(at + QPointF(size * 1.2, -size * 2.4), at + QPointF(size * 1.4, -size * 2),
                 at + QPointF(size * 1.0, -size * 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(flag);
}

} // namespace

QImage background() {
    QImage image(1024, 768, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 768);
    sky.setColorAt(0.0, QColor(12, 18, 48));
    sky.setColorAt(0.6, QColor(38, 40, 92));
    sky.setColorAt(1.0, QColor(16, 10, 28));
    painter.fillRect(image.rect(), sky);

    // Stage lights: three soft cones from the top.
    const QColor lights[] = {QColor(255, 196, 80, 90), QColor(120, 180, 255, 80),
                             QColor(255, 110, 160, 80)};
    for (int i = 0; i < 3; ++i) {
        const double x = 200 + i * 312;
        QPainterPath cone;
        cone.moveTo(x - 18, 0);
        cone.lineTo(x + 18, 0);
        cone.lineTo(x + 190, 620);
        cone.lineTo(x - 190, 620);
        cone.closeSubpath();
        QLinearGradient fade(0, 0, 0, 620);
        fade.setColorAt(0, lights[i]);
        fade.setColorAt(1, QColor(lights[i].red(), lights[i].green(), lights[i].blue(), 0));
        painter.fillPath(cone, fade);
    }

    // The stage floor.
    QRadialGradient glow(512, 640, 520);
    glow.setColorAt(0, QColor(90, 70, 140));
    glow.setColorAt(1, QColor(20, 14, 36));
    painter.setBrush(glow);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(512, 700), 600, 110);

    for (int i = 0; i < 9; ++i)
        drawNote(painter, QPointF(110 + i * 105, 250 + ((i * 37) % 90)), 16 + (i % 3) * 5,
                 QColor(255, 255, 255, 60 + (i % 4) * 30));

    QFont title(QStringLiteral("Liberation Sans"), 72, QFont::Bold);
    painter.setFont(title);
    painter.setPen(QColor(255, 255, 255, 210));
    painter.drawText(QRect(0, 430, 1024, 110), Qt::AlignCenter, QStringLiteral("Vorlanto"));
    QFont subtitle(QStringLiteral("Liberation Sans"), 20);
    painter.setFont(subtitle);
    painter.setPen(QColor(220, 210, 255, 190));
    painter.drawText(QRect(0, 530, 1024, 40), Qt::AlignCenter,
                     QStringLiteral("Auftritte planen · abrechnen · drucken"));
    return image;
}

QImage musician() {
    QImage image(300, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, 0, 400);
    back.setColorAt(0, QColor(225, 230, 240));
    back.setColorAt(1, QColor(180, 188, 205));
    painter.fillRect(image.rect(), back);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(110, 118, 138));
    painter.drawEllipse(QPointF(150, 140), 68, 78);
    QPainterPath body;
    body.moveTo(30, 400);
    body.cubicTo(40, 270, 100, 240, 150, 240);
    body.cubicTo(200, 240, 260, 270, 270, 400);
    body.closeSubpath();
    painter.drawPath(body);
    return image;
}

QImage article() {
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(QColor(240, 240, 236));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shirt;
    shirt.moveTo(105, 40);
    shirt.cubicTo(125, 62, 175, 62, 195, 40);
    shirt.lineTo(265, 72);
    shirt.lineTo(240, 130);
    shirt.lineTo(215, 118);
    shirt.lineTo(215, 265);
    shirt.lineTo(85, 265);
    shirt.lineTo(85, 118);
    shirt.lineTo(60, 130);
    shirt.lineTo(35, 72);
    shirt.closeSubpath();
    painter.setPen(QPen(QColor(40, 40, 60), 3));
    painter.setBrush(QColor(46, 64, 130));
    painter.drawPath(shirt);
    drawNote(painter, QPointF(142, 185), 14, QColor(250, 220, 90));
    return image;
}

bool writeAll(const QString& directory, QString* error) {
    const QDir dir(directory);
    const struct {
        const char* name;
        QImage image;
    } files[] = {
        {"bgr1024.jpg", background()}, {"morvo.jpg", musician()}, {"tshirt.jpg", article()}};
    for (const auto& file : files) {
        const QString path = dir.filePath(QString::fromUtf8(file.name));
        if (!file.image.save(path, "JPG", 90)) {
            if (error)
                *error = QStringLiteral("Das Bild %1 konnte nicht geschrieben werden.").arg(path);
            return false;
        }
    }
    return true;
}

} // namespace DefaultPictures
