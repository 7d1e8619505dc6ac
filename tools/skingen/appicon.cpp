#include "appicon.h"

#include "cardrawing.h"
#include "glyphs.h"
#include "look.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace skingen {

QImage PaintAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 128.0;
    p.scale(s, s);
    const QRectF tile(4, 4, 120, 120);
    const QPainterPath body = RoundedRect(tile, 26);
    DrawShadow(p, body, QPointF(0, 2), 2, QColor(0, 0, 0, 120));
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0, QColor(58, 66, 76));
    fill.setColorAt(1, QColor(18, 21, 25));
    p.fillPath(body, fill);
    QRadialGradient light(QPointF(64, 20), 90);
    light.setColorAt(0, QColor(160, 190, 220, 60));
    light.setColorAt(1, QColor(160, 190, 220, 0));
    p.fillPath(body, light);
    p.setClipPath(body);
    QPainterPath road;
    road.moveTo(4, 100);
    road.cubicTo(40, 90, 88, 90, 124, 100);
    p.setPen(QPen(palette::kAccent, 3.5));
    p.drawPath(road);
    p.setClipping(false);
    DrawGlyph(p, "wrench", QRectF(40, 12, 48, 48), palette::kAccent);
    DrawCar(p, QRectF(6, 54, 116, 40));
    p.setPen(QPen(QColor(255, 255, 255, 50), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(RoundedRect(tile.adjusted(0.6, 0.6, -0.6, -0.6), 25.5));
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.drawPath(body);
    p.end();
    return image;
}

} // namespace skingen
