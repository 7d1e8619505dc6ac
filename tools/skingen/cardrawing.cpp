#include "cardrawing.h"

#include "look.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace skingen {

namespace {

constexpr qreal kWidth = 460;
constexpr qreal kHeight = 150;
constexpr qreal kWheelY = 112;
constexpr qreal kRearX = 98;
constexpr qreal kFrontX = 372;

QPainterPath Greenhouse() {
    QPainterPath g;
    g.moveTo(118, 66);
    g.cubicTo(134, 50, 152, 40, 172, 37);
    g.lineTo(280, 36);
    g.cubicTo(298, 38, 316, 52, 332, 65);
    g.closeSubpath();
    return g;
}

void DrawWheel(QPainter& p, QPointF c, bool front) {
    QPainterPath tyre;
    tyre.addEllipse(c, 30, 30);
    QRadialGradient rubber(c, 30);
    rubber.setColorAt(0.7, QColor(8, 9, 10));
    rubber.setColorAt(0.93, QColor(34, 37, 41));
    rubber.setColorAt(1, QColor(12, 13, 15));
    p.fillPath(tyre, rubber);

    // Brake disc and the amber calliper behind the spokes.
    QPainterPath disc;
    disc.addEllipse(c, 17, 17);
    p.fillPath(disc, QColor(58, 63, 70));
    QPainterPath calliper;
    const qreal a0 = front ? 20 : 120;
    calliper.arcMoveTo(QRectF(c.x() - 16, c.y() - 16, 32, 32), a0);
    calliper.arcTo(QRectF(c.x() - 16, c.y() - 16, 32, 32), a0, 50);
    p.setPen(QPen(palette::kAccent, 6, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(calliper);

    QConicalGradient metal(c, 45);
    metal.setColorAt(0, QColor(214, 222, 232));
    metal.setColorAt(0.25, QColor(110, 120, 132));
    metal.setColorAt(0.5, QColor(196, 204, 214));
    metal.setColorAt(0.75, QColor(92, 100, 110));
    metal.setColorAt(1, QColor(214, 222, 232));
    for (int i = 0; i < 5; ++i) {
        const qreal a = (i * 72 - 90) * M_PI / 180;
        p.setPen(QPen(QBrush(metal), 4.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(std::cos(a) * 5, std::sin(a) * 5),
                   c + QPointF(std::cos(a) * 19, std::sin(a) * 19));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(metal), 3.2));
    p.drawEllipse(c, 20.5, 20.5);
    p.setPen(QPen(QColor(0, 0, 0, 150), 0.8));
    p.drawEllipse(c, 22.2, 22.2);
    QPainterPath hub;
    hub.addEllipse(c, 5, 5);
    p.fillPath(hub, QColor(40, 44, 50));
    p.setPen(QPen(palette::kAccent, 1.2));
    p.drawEllipse(c, 3, 3);
}

} // namespace

QPainterPath CarBodyPath() {
    QPainterPath b;
    b.moveTo(10, 112);
    b.lineTo(7, 94);
    b.cubicTo(6, 84, 10, 78, 22, 76);
    b.lineTo(84, 70);
    b.cubicTo(108, 66, 128, 40, 164, 32);
    b.cubicTo(204, 24, 262, 24, 290, 30);
    b.cubicTo(318, 36, 336, 54, 352, 63);
    b.cubicTo(392, 67, 430, 71, 446, 77);
    b.cubicTo(456, 81, 459, 88, 459, 97);
    b.lineTo(456, 112);
    b.lineTo(410, 112);
    b.arcTo(QRectF(kFrontX - 38, kWheelY - 38, 76, 76), 0, 180);
    b.lineTo(136, 112);
    b.arcTo(QRectF(kRearX - 38, kWheelY - 38, 76, 76), 0, 180);
    b.closeSubpath();
    return b;
}

void DrawCar(QPainter& p, const QRectF& box) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal scale = std::min(box.width() / kWidth, box.height() / kHeight);
    p.translate(box.center() - QPointF(kWidth * scale / 2, kHeight * scale / 2));
    p.scale(scale, scale);

    // Ground shadow.
    QPainterPath ground;
    ground.addEllipse(QRectF(0, 130, kWidth, 18));
    DrawShadow(p, ground, QPointF(0, 0), 5, QColor(0, 0, 0, 200));

    const QPainterPath body = CarBodyPath();
    QLinearGradient paint(QPointF(0, 24), QPointF(0, 114));
    paint.setColorAt(0, QColor(120, 132, 146));
    paint.setColorAt(0.28, QColor(70, 80, 92));
    paint.setColorAt(0.5, QColor(40, 46, 54));
    paint.setColorAt(0.52, QColor(58, 66, 76));
    paint.setColorAt(1, QColor(18, 21, 25));
    p.fillPath(body, paint);

    p.save();
    p.setClipPath(body);
    // A long reflection along the flank.
    QPainterPath sheen;
    sheen.moveTo(30, 86);
    sheen.cubicTo(150, 80, 320, 82, 450, 88);
    sheen.lineTo(450, 92);
    sheen.cubicTo(320, 88, 150, 86, 30, 92);
    sheen.closeSubpath();
    DrawShadow(p, sheen, QPointF(0, 0), 3, QColor(255, 255, 255, 55));
    // Door seams and the sill.
    p.setPen(QPen(QColor(8, 9, 11, 200), 1.1));
    p.drawLine(QPointF(226, 66), QPointF(222, 110));
    p.drawLine(QPointF(140, 70), QPointF(146, 104));
    p.drawLine(QPointF(334, 66), QPointF(330, 96));
    p.setPen(QPen(QColor(0, 0, 0, 120), 3));
    p.drawLine(QPointF(138, 110), QPointF(332, 110));
    p.restore();

    // Windows with a sky reflection and the pillars.
    const QPainterPath glass = Greenhouse();
    QLinearGradient sky(QPointF(0, 36), QPointF(0, 66));
    sky.setColorAt(0, QColor(94, 118, 140));
    sky.setColorAt(0.45, QColor(30, 40, 52));
    sky.setColorAt(1, QColor(10, 13, 17));
    p.fillPath(glass, sky);
    p.save();
    p.setClipPath(glass);
    QPainterPath glare;
    glare.moveTo(190, 30);
    glare.lineTo(214, 30);
    glare.lineTo(178, 70);
    glare.lineTo(160, 70);
    glare.closeSubpath();
    p.fillPath(glare, QColor(255, 255, 255, 26));
    p.setPen(QPen(QColor(20, 23, 27), 7));
    p.drawLine(QPointF(230, 34), QPointF(226, 68));
    p.restore();
    p.setPen(QPen(QColor(170, 180, 192, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(glass);

    // The amber shoulder line: the accent that runs through the whole skin.
    QPainterPath shoulder;
    shoulder.moveTo(22, 79);
    shoulder.cubicTo(140, 73, 320, 70, 446, 79);
    DrawGlow(p, shoulder, 2, QColor(255, 159, 28, 200), 2.5);
    p.setPen(QPen(palette::kAccentHot, 1.1));
    p.drawPath(shoulder);

    // Mirror, handles, lights.
    p.fillPath(RoundedRect(QRectF(330, 58, 12, 7), 2.5), QColor(30, 34, 40));
    p.fillRect(QRectF(196, 80, 16, 3), QColor(180, 190, 200, 150));
    p.fillRect(QRectF(296, 80, 16, 3), QColor(180, 190, 200, 150));
    QPainterPath head;
    head.moveTo(438, 80);
    head.cubicTo(448, 80, 456, 84, 458, 89);
    head.lineTo(446, 89);
    head.closeSubpath();
    DrawShadow(p, head, QPointF(0, 0), 4, QColor(255, 220, 160, 200));
    p.fillPath(head, QColor(255, 244, 220));
    QPainterPath tail;
    tail.moveTo(8, 82);
    tail.lineTo(22, 80);
    tail.lineTo(22, 86);
    tail.lineTo(8, 88);
    tail.closeSubpath();
    DrawShadow(p, tail, QPointF(0, 0), 3, QColor(230, 40, 30, 200));
    p.fillPath(tail, QColor(236, 60, 44));

    // Outline and roof light.
    p.setPen(QPen(QColor(0, 0, 0, 200), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    QPainterPath roof;
    roof.moveTo(168, 33);
    roof.cubicTo(206, 26, 262, 26, 288, 31);
    p.setPen(QPen(QColor(255, 255, 255, 110), 1));
    p.drawPath(roof);

    DrawWheel(p, QPointF(kRearX, kWheelY), false);
    DrawWheel(p, QPointF(kFrontX, kWheelY), true);
    p.restore();
}

} // namespace skingen
