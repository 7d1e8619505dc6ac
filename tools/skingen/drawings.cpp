#include "drawings.h"

#include "cardrawing.h"
#include "look.h"

#include <QConicalGradient>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace skingen {

namespace {

// Drawings sit on white pages: dark ink on paper, one amber for what the
// reader must find, blue for dimensions, red for warnings.
const QColor kPaper(247, 248, 250);
const QColor kGrid(229, 233, 238);
const QColor kInk(30, 38, 49);
const QColor kInkDim(98, 110, 124);
const QColor kDim(32, 96, 168);
const QColor kAmber(214, 128, 0);
const QColor kRed(190, 44, 38);

using Painter = std::function<void(QPainter&, const QSizeF&)>;

// Pictures in the page panel beside the tree have about 430 pixels of
// width; wider designs are drawn scaled down to fit.
struct Drawing {
    QSize size;  // design size
    qreal scale; // output pixels per design unit
    Painter paint;
};

QFont Font(int pixels, bool bold = false, bool italic = false) {
    return PixelFont(family::kSansCondensed, pixels, bold, italic);
}

void Text(QPainter& p, QPointF at, const QString& text, int pixels, const QColor& color = kInk,
          bool bold = false, Qt::Alignment align = Qt::AlignLeft) {
    p.setFont(Font(pixels, bold));
    p.setPen(color);
    const qreal w = QFontMetricsF(p.font()).horizontalAdvance(text);
    qreal x = at.x();
    if (align & Qt::AlignHCenter)
        x -= w / 2;
    else if (align & Qt::AlignRight)
        x -= w;
    p.drawText(QPointF(x, at.y()), text);
}

// A technical sheet: paper, a faint grid, a frame and the figure's caption.
void Sheet(QPainter& p, const QSizeF& size, const QString& caption) {
    p.fillRect(QRectF(QPointF(0, 0), size), kPaper);
    p.setPen(QPen(kGrid, 1));
    for (qreal x = 10.5; x < size.width(); x += 10)
        p.drawLine(QPointF(x, 0), QPointF(x, size.height()));
    for (qreal y = 10.5; y < size.height(); y += 10)
        p.drawLine(QPointF(0, y), QPointF(size.width(), y));
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, size.width() - 6, size.height() - 6));
    if (!caption.isEmpty()) {
        p.setFont(Font(11, true));
        const qreal w = QFontMetricsF(p.font()).horizontalAdvance(caption) + 16;
        const QRectF box(size.width() - 3 - w, size.height() - 3 - 18, w, 18);
        p.fillRect(box, Qt::white);
        p.drawRect(box);
        p.setPen(kInk);
        p.drawText(box, Qt::AlignCenter, caption);
    }
}

// A studio backdrop for the renders that stand in for photographs.
void Studio(QPainter& p, const QSizeF& size) {
    QRadialGradient light(QPointF(size.width() * 0.45, size.height() * 0.3), size.width() * 0.8);
    light.setColorAt(0, QColor(250, 251, 252));
    light.setColorAt(0.6, QColor(222, 227, 233));
    light.setColorAt(1, QColor(176, 184, 194));
    p.fillRect(QRectF(QPointF(0, 0), size), light);
}

void Bubble(QPainter& p, QPointF c, int n, const QColor& ring = kAmber) {
    QPainterPath circle;
    circle.addEllipse(c, 9, 9);
    p.fillPath(circle, Qt::white);
    p.setPen(QPen(ring, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(circle);
    p.setFont(Font(11, true));
    p.setPen(kInk);
    p.drawText(QRectF(c.x() - 9, c.y() - 9, 18, 18), Qt::AlignCenter, QString::number(n));
}

// A numbered call-out: the bubble, and a thin leader to the part.
void Callout(QPainter& p, QPointF bubble, QPointF part, int n) {
    p.setPen(QPen(kInk, 0.9));
    const QPointF d = part - bubble;
    const qreal len = std::hypot(d.x(), d.y());
    if (len > 9)
        p.drawLine(bubble + d * (9 / len), part);
    QPainterPath dot;
    dot.addEllipse(part, 2, 2);
    p.fillPath(dot, kInk);
    Bubble(p, bubble, n);
}

void ArrowHead(QPainter& p, QPointF tip, QPointF from, const QColor& color, qreal size = 7) {
    const QPointF d = tip - from;
    const qreal len = std::hypot(d.x(), d.y());
    if (len <= 0)
        return;
    const QPointF u = d / len, n(-u.y(), u.x());
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip - u * size + n * size * 0.4);
    head.lineTo(tip - u * size - n * size * 0.4);
    head.closeSubpath();
    p.fillPath(head, color);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, qreal width = 1.4) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    ArrowHead(p, to, from, color);
}

// A dimension: extension of the line with arrows at both ends and its value.
void Dimension(QPainter& p, QPointF a, QPointF b, const QString& value, qreal textOffset = -5) {
    p.setPen(QPen(kDim, 1));
    p.drawLine(a, b);
    ArrowHead(p, a, b, kDim, 6);
    ArrowHead(p, b, a, kDim, 6);
    const QPointF mid = (a + b) / 2;
    p.save();
    p.translate(mid);
    qreal angle = std::atan2(b.y() - a.y(), b.x() - a.x()) * 180 / M_PI;
    if (angle > 90 || angle < -90)
        angle += 180;
    p.rotate(angle);
    p.setFont(Font(11, true));
    const qreal w = QFontMetricsF(p.font()).horizontalAdvance(value);
    p.fillRect(QRectF(-w / 2 - 2, textOffset - 11, w + 4, 13), QColor(247, 248, 250, 220));
    p.setPen(kDim);
    p.drawText(QPointF(-w / 2, textOffset), value);
    p.restore();
}

QLinearGradient Steel(QPointF from, QPointF to, int light = 0) {
    QLinearGradient g(from, to);
    g.setColorAt(0, QColor(226 + light / 4, 231 + light / 4, 236));
    g.setColorAt(0.45, QColor(150 + light, 160 + light, 172 + light));
    g.setColorAt(0.55, QColor(120 + light, 130 + light, 142 + light));
    g.setColorAt(1, QColor(196, 204, 214));
    return g;
}

void Soft(QPainter& p, const QPainterPath& path, qreal dy = 4) {
    DrawShadow(p, path, QPointF(dy * 0.6, dy), 4, QColor(0, 0, 0, 70));
}

QPainterPath Rounded(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath Circle(QPointF c, qreal r) {
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

// --- Brakes ---------------------------------------------------------------

void PaintPadShape(QPainter& p, const QRectF& r, bool inner) {
    // Backing plate, then the friction lining facing the disc between the
    // pads; the inner pad has its wear indicator clip.
    const QPainterPath plate = Rounded(r, 4);
    Soft(p, plate);
    p.fillPath(plate, Steel(r.topLeft(), r.topRight(), -30));
    const QRectF lining = inner ? r.adjusted(r.width() * 0.45, 10, 0, -10)
                                : r.adjusted(0, 10, -r.width() * 0.45, -10);
    const QPainterPath pad = Rounded(lining.adjusted(inner ? 0 : -4, 0, inner ? 4 : 0, 0), 3);
    QLinearGradient f(lining.topLeft(), lining.topRight());
    f.setColorAt(0, QColor(70, 66, 62));
    f.setColorAt(1, QColor(112, 106, 98));
    p.fillPath(pad, f);
    p.setPen(QPen(QColor(20, 22, 26), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(plate);
    p.drawPath(pad);
    if (inner) {
        p.setPen(QPen(QColor(180, 186, 192), 2));
        p.drawLine(QPointF(r.center().x(), r.top() + 4), QPointF(r.right() + 6, r.top() + 14));
    }
}

void PaintCaliper(QPainter& p, const QSizeF& size) {
    Studio(p, size);
    const qreal axis = 152;
    p.setPen(QPen(QColor(90, 100, 112, 150), 1, Qt::DashDotLine));
    p.drawLine(QPointF(16, axis), QPointF(size.width() - 16, axis));

    // 1: guide pins with their boots.
    for (qreal y : {92.0, 212.0}) {
        const QPainterPath pin = Rounded(QRectF(24, y - 5, 64, 10), 5);
        Soft(p, pin, 3);
        p.fillPath(pin, Steel(QPointF(0, y - 5), QPointF(0, y + 5), 20));
        QPainterPath boot;
        for (int i = 0; i < 4; ++i)
            boot.addRoundedRect(QRectF(64 + i * 6, y - 9 + (i % 2), 6, 18 - 2 * (i % 2)), 3, 3);
        p.fillPath(boot, QColor(34, 36, 40));
    }
    // 2: caliper body, painted amber, with its bore and bleeder.
    QPainterPath body;
    body.moveTo(112, 66);
    body.lineTo(176, 66);
    body.quadTo(192, 66, 192, 84);
    body.lineTo(192, 222);
    body.quadTo(192, 240, 176, 240);
    body.lineTo(112, 240);
    body.quadTo(100, 240, 100, 226);
    body.lineTo(100, 80);
    body.quadTo(100, 66, 112, 66);
    Soft(p, body, 6);
    QLinearGradient paint(QPointF(100, 66), QPointF(192, 240));
    paint.setColorAt(0, QColor(255, 188, 82));
    paint.setColorAt(0.5, QColor(226, 134, 16));
    paint.setColorAt(1, QColor(160, 86, 0));
    p.fillPath(body, paint);
    p.setPen(QPen(QColor(110, 58, 0), 1.2));
    p.drawPath(body);
    QPainterPath bore;
    bore.addEllipse(QRectF(176, axis - 34, 24, 68));
    p.fillPath(bore, QColor(64, 58, 50));
    p.setPen(QPen(QColor(40, 36, 30), 1));
    p.drawPath(bore);
    const QPainterPath bleeder = Rounded(QRectF(126, 44, 12, 24), 3);
    p.fillPath(bleeder, Steel(QPointF(126, 0), QPointF(138, 0), 10));
    p.fillPath(Rounded(QRectF(123, 40, 18, 8), 3), QColor(40, 40, 44));
    // 3 and 4: piston and its dust boot.
    const QRectF piston(214, axis - 30, 32, 60);
    const QPainterPath pistonBody = Rounded(piston, 3);
    Soft(p, pistonBody, 3);
    p.fillPath(pistonBody, Steel(piston.topLeft(), piston.bottomLeft(), 30));
    QPainterPath face;
    face.addEllipse(QRectF(piston.right() - 9, piston.top(), 18, piston.height()));
    p.fillPath(face, Steel(QPointF(0, piston.top()), QPointF(0, piston.bottom()), 45));
    p.setPen(QPen(QColor(60, 66, 74), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(face);
    QPainterPath boot;
    boot.addEllipse(QRectF(200, axis - 38, 10, 76));
    p.setPen(QPen(QColor(24, 26, 30), 5));
    p.drawPath(boot);
    // 5 and 6: pads.
    PaintPadShape(p, QRectF(262, 82, 20, 140), true);
    PaintPadShape(p, QRectF(300, 82, 20, 140), false);
    // 7: bracket with its anti-rattle clips.
    QPainterPath bracket;
    bracket.moveTo(338, 58);
    bracket.lineTo(372, 58);
    bracket.lineTo(372, 246);
    bracket.lineTo(338, 246);
    bracket.lineTo(338, 226);
    bracket.lineTo(356, 226);
    bracket.lineTo(356, 78);
    bracket.lineTo(338, 78);
    bracket.closeSubpath();
    Soft(p, bracket, 5);
    QLinearGradient cast(QPointF(338, 0), QPointF(372, 0));
    cast.setColorAt(0, QColor(96, 100, 104));
    cast.setColorAt(1, QColor(58, 60, 64));
    p.fillPath(bracket, cast);
    p.setPen(QPen(QColor(24, 26, 30), 1));
    p.drawPath(bracket);
    p.setPen(QPen(QColor(210, 216, 222), 2));
    p.drawLine(QPointF(340, 80), QPointF(354, 80));
    p.drawLine(QPointF(340, 224), QPointF(354, 224));
    // 8: mounting bolts.
    for (qreal y : {100.0, 204.0}) {
        const QPainterPath head = Rounded(QRectF(386, y - 10, 14, 20), 2);
        Soft(p, head, 3);
        p.fillPath(head, Steel(QPointF(0, y - 10), QPointF(0, y + 10), 0));
        const QRectF shank(400, y - 5, 30, 10);
        p.fillRect(shank, Steel(shank.topLeft(), shank.bottomLeft(), 25));
        p.setPen(QPen(QColor(80, 88, 98), 1));
        for (qreal x = 404; x < 430; x += 3.5)
            p.drawLine(QPointF(x, y - 5), QPointF(x + 2, y + 5));
    }

    Callout(p, QPointF(40, 62), QPointF(50, 90), 1);
    Callout(p, QPointF(84, 262), QPointF(108, 226), 2);
    Callout(p, QPointF(232, 96), QPointF(232, 124), 3);
    Callout(p, QPointF(206, 232), QPointF(205, 186), 4);
    Callout(p, QPointF(262, 60), QPointF(270, 84), 5);
    Callout(p, QPointF(318, 262), QPointF(312, 220), 6);
    Callout(p, QPointF(380, 36), QPointF(366, 60), 7);
    Callout(p, QPointF(420, 236), QPointF(412, 206), 8);
    Callout(p, QPointF(158, 30), QPointF(138, 46), 9);
    Text(p, QPointF(16, 22), "Суппорт переднего тормоза: разборка", 12, kInk, true);
}

void PaintPads(QPainter& p, const QSizeF& size) {
    Sheet(p, size, "Рис. Износ колодки");
    // A pad seen from the edge: new on the left, worn to the limit on the
    // right.
    auto pad = [&](qreal x, qreal lining, const QString& label, bool worn) {
        const QRectF plate(x, 50, 16, 100);
        p.fillRect(plate, QColor(92, 100, 110));
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(plate);
        const QRectF lin(x + 16, 58, lining, 84);
        QLinearGradient f(lin.topLeft(), lin.topRight());
        f.setColorAt(0, QColor(80, 74, 68));
        f.setColorAt(1, QColor(126, 118, 108));
        p.fillRect(lin, f);
        p.drawRect(lin);
        // The indicator's spring tab rubs on the disc at the limit.
        p.setPen(QPen(worn ? kRed : kInkDim, 2));
        p.drawLine(QPointF(x + 8, 50), QPointF(x + 8, 40));
        p.drawLine(QPointF(x + 8, 40), QPointF(x + 16 + 2 * 5.5, 40));
        p.drawLine(QPointF(x + 16 + 2 * 5.5, 40), QPointF(x + 16 + 2 * 5.5, 52));
        Dimension(p, QPointF(x + 16, 164), QPointF(x + 16 + lining, 164), label, 16);
        p.setPen(QPen(kInkDim, 0.8, Qt::DashLine));
        p.drawLine(QPointF(x + 16, 144), QPointF(x + 16, 170));
        p.drawLine(QPointF(x + 16 + lining, 144), QPointF(x + 16 + lining, 170));
    };
    pad(40, 5.5 * 11, "11 мм", false);
    pad(220, 5.5 * 2, "2 мм", true);
    Text(p, QPointF(40, 28), "Новая колодка", 12, kInk, true);
    Text(p, QPointF(220, 28), "Предел износа", 12, kRed, true);
    Text(p, QPointF(262, 96), "сигнализатор", 11, kRed);
    Text(p, QPointF(262, 110), "касается диска:", 11, kRed);
    Text(p, QPointF(262, 124), "слышен писк", 11, kRed);
}

void PaintDisc(QPainter& p, const QSizeF& size) {
    Sheet(p, size, "Рис. Проверка диска");
    // Left: a ventilated disc in section with the micrometer on it.
    const QRectF left(40, 40, 22, 150), right(62 + 10, 40, 22, 150);
    for (const QRectF& cheek : {left, QRectF(left.left() + 32, left.top(), 22, left.height())}) {
        p.fillRect(cheek, QColor(150, 158, 168));
        p.setPen(QPen(kInk, 1.2));
        p.drawRect(cheek);
        p.setPen(QPen(kInkDim, 0.7));
        for (qreal y = cheek.top() + 4; y < cheek.bottom(); y += 6)
            p.drawLine(QPointF(cheek.left(), y), QPointF(cheek.left() + 6, y - 6));
    }
    Q_UNUSED(right);
    p.setPen(QPen(kInk, 1));
    for (qreal y = 52; y < 180; y += 24)
        p.drawRect(QRectF(62, y, 10, 12));
    Dimension(p, QPointF(40, 206), QPointF(94, 206), "22 мм / мин. 20", 16);
    // The micrometer's anvil and spindle clamp the disc 10 mm from its rim.
    p.fillRect(QRectF(18, 60, 22, 10), QColor(196, 204, 214));
    p.fillRect(QRectF(94, 60, 30, 10), QColor(196, 204, 214));
    p.setPen(QPen(kInk, 1));
    p.drawRect(QRectF(18, 60, 22, 10));
    p.drawRect(QRectF(94, 60, 30, 10));
    Text(p, QPointF(128, 70), "микрометр", 11, kInkDim);

    // Right: runout with a dial gauge on the disc face.
    const QPointF c(268, 118);
    QPainterPath disc = Circle(c, 70);
    disc.addEllipse(c, 30, 30);
    disc.setFillRule(Qt::OddEvenFill);
    p.fillPath(disc, QColor(205, 211, 218));
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(disc);
    for (int i = 0; i < 4; ++i) {
        const qreal a = i * M_PI / 2 + M_PI / 4;
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * 20, 4, 4);
    }
    // Gauge on its stand, its plunger 10 mm in from the rim.
    const QPointF dial(340, 66);
    p.setBrush(Qt::white);
    p.drawEllipse(dial, 20, 20);
    p.setPen(QPen(kRed, 1.6));
    p.drawLine(dial, dial + QPointF(10, -12));
    p.setPen(QPen(kInk, 1.5));
    p.drawLine(QPointF(320, 72), QPointF(328, 80));
    QPainterPath dot = Circle(QPointF(326, 80), 2.5);
    p.fillPath(dot, kInk);
    Text(p, QPointF(292, 206), "биение не более 0,05 мм", 11, kDim, true, Qt::AlignHCenter);
    Text(p, QPointF(216, 32), "индикатор", 11, kInkDim);
    QPainterPath turn;
    turn.arcMoveTo(QRectF(c.x() - 84, c.y() - 84, 168, 168), 200);
    turn.arcTo(QRectF(c.x() - 84, c.y() - 84, 168, 168), 200, 50);
    p.setPen(QPen(kAmber, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(turn);
    ArrowHead(p, turn.currentPosition(), turn.pointAtPercent(0.9), kAmber);
}

void PaintBleeding(QPainter& p, const QSizeF& size) {
    Sheet(p, size, "Рис. Порядок прокачки");
    // The car from above, front to the top; circuits split diagonally.
    const QRectF body(130, 44, 100, 212);
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(236, 239, 243));
    p.drawRoundedRect(body, 30, 24);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(142, 112, 76, 70), 10, 10);
    Text(p, QPointF(180, 36), "ПЕРЕД", 11, kInkDim, true, Qt::AlignHCenter);
    struct Wheel {
        QPointF at;
        int order;
        QString name;
    };
    const Wheel wheels[] = {{{244, 222}, 1, "правое заднее"},
                            {{116, 78}, 2, "левое переднее"},
                            {{116, 222}, 3, "левое заднее"},
                            {{244, 78}, 4, "правое переднее"}};
    p.setPen(QPen(kDim, 1.2, Qt::DashLine));
    p.drawLine(QPointF(116, 78), QPointF(244, 222));
    p.setPen(QPen(kAmber, 1.2, Qt::DashLine));
    p.drawLine(QPointF(244, 78), QPointF(116, 222));
    for (const Wheel& w : wheels) {
        const QRectF tyre(w.at.x() - 10, w.at.y() - 24, 20, 48);
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(40, 44, 50));
        p.drawRoundedRect(tyre, 5, 5);
        const QPointF b(w.at.x() < 180 ? 48 : 312, w.at.y());
        Bubble(p, b, w.order, w.order == 1 ? kRed : kAmber);
        Text(p, b + QPointF(0, 24), w.name, 10, kInk, false, Qt::AlignHCenter);
    }
    // Master cylinder with its reservoir.
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(255, 214, 150));
    p.drawRect(QRectF(166, 92, 28, 14));
    Text(p, QPointF(180, 272), "главный цилиндр — бачок не опорожнять", 10, kInkDim, false,
         Qt::AlignHCenter);
}

// --- Engine ---------------------------------------------------------------

void PaintEngineBay(QPainter& p, const QSizeF& size) {
    Studio(p, size);
    // The bay from above, the front of the car at the bottom.
    QPainterPath bay;
    bay.moveTo(40, 24);
    bay.lineTo(440, 24);
    bay.lineTo(466, 290);
    bay.lineTo(14, 290);
    bay.closeSubpath();
    p.fillPath(bay, QColor(44, 48, 54));
    p.setPen(QPen(QColor(20, 22, 26), 2));
    p.drawPath(bay);
    auto part = [&](const QPainterPath& path, const QColor& top, const QColor& bottom) {
        Soft(p, path, 5);
        const QRectF r = path.boundingRect();
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        p.fillPath(path, g);
        p.setPen(QPen(QColor(0, 0, 0, 150), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    };
    // Engine with its valve cover, four coil wells and the belt cover.
    part(Rounded(QRectF(150, 86, 200, 120), 14), QColor(128, 134, 142), QColor(70, 74, 80));
    part(Rounded(QRectF(166, 96, 168, 58), 10), QColor(60, 62, 68), QColor(30, 32, 36));
    for (int i = 0; i < 4; ++i)
        part(Circle(QPointF(190 + i * 40, 125), 9), QColor(92, 96, 104), QColor(40, 42, 46));
    part(Rounded(QRectF(352, 92, 34, 110), 8), QColor(36, 38, 42), QColor(18, 19, 22));
    // Oil filler cap and the yellow dipstick loop.
    part(Circle(QPointF(310, 176), 11), QColor(255, 206, 84), QColor(200, 140, 0));
    p.setPen(QPen(QColor(255, 196, 0), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawEllipse(QPointF(230, 220), 9, 7);
    // Coolant tank, brake fluid reservoir, washer tank.
    part(Rounded(QRectF(388, 40, 44, 52), 8), QColor(240, 242, 244), QColor(196, 200, 206));
    p.fillRect(QRectF(392, 64, 36, 24), QColor(236, 120, 160, 160));
    part(Rounded(QRectF(68, 40, 48, 36), 6), QColor(236, 238, 240), QColor(190, 194, 200));
    p.fillRect(QRectF(72, 56, 40, 16), QColor(220, 200, 120, 140));
    part(Rounded(QRectF(400, 218, 44, 56), 8), QColor(120, 170, 230), QColor(60, 110, 180));
    // Battery and fuse box on the left, air filter on the right.
    part(Rounded(QRectF(40, 176, 92, 64), 5), QColor(52, 56, 62), QColor(26, 28, 32));
    part(Circle(QPointF(56, 186), 6), QColor(236, 80, 70), QColor(170, 30, 24));
    part(Circle(QPointF(116, 186), 6), QColor(90, 94, 100), QColor(40, 42, 46));
    part(Rounded(QRectF(44, 100, 72, 60), 6), QColor(40, 44, 50), QColor(22, 24, 28));
    part(Rounded(QRectF(258, 226, 124, 54), 12), QColor(70, 74, 82), QColor(34, 36, 40));

    Callout(p, QPointF(326, 150), QPointF(312, 172), 1);
    Callout(p, QPointF(230, 260), QPointF(230, 228), 2);
    Callout(p, QPointF(460, 64), QPointF(430, 66), 3);
    Callout(p, QPointF(92, 14), QPointF(92, 42), 4);
    Callout(p, QPointF(24, 208), QPointF(42, 208), 5);
    Callout(p, QPointF(24, 130), QPointF(46, 130), 6);
    Callout(p, QPointF(320, 300), QPointF(320, 278), 7);
    Callout(p, QPointF(458, 200), QPointF(438, 222), 8);
    Callout(p, QPointF(369, 66), QPointF(369, 94), 9);
    Text(p, QPointF(240, 304), "ПЕРЕД", 11, QColor(60, 66, 74), true, Qt::AlignHCenter);
}

// Convex hull of points (monotone chain), for the belt around its pulleys.
QPolygonF Hull(std::vector<QPointF> pts) {
    std::sort(pts.begin(), pts.end(), [](QPointF a, QPointF b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    auto cross = [](QPointF o, QPointF a, QPointF b) {
        return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
    };
    std::vector<QPointF> h(2 * pts.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && cross(h[k - 2], h[k - 1], pts[i]) <= 0)
            --k;
        h[k++] = pts[i];
    }
    for (std::size_t i = pts.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross(h[k - 2], h[k - 1], pts[i - 1]) <= 0)
            --k;
        h[k++] = pts[i - 1];
    }
    h.resize(k > 0 ? k - 1 : 0);
    QPolygonF poly;
    for (const QPointF& pt : h)
        poly << pt;
    return poly;
}

void Sprocket(QPainter& p, QPointF c, qreal r, bool toothed, qreal markAngle) {
    QPainterPath wheel;
    if (toothed) {
        QPolygonF teeth;
        const int n = static_cast<int>(r * 0.9);
        for (int i = 0; i < n * 2; ++i) {
            const qreal a = i * M_PI / n;
            const qreal rr = i % 2 ? r - 3 : r;
            teeth << c + QPointF(std::cos(a), std::sin(a)) * rr;
        }
        wheel.addPolygon(teeth);
        wheel.closeSubpath();
    } else {
        wheel.addEllipse(c, r, r);
    }
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(214, 219, 225));
    p.drawPath(wheel);
    p.setBrush(Qt::white);
    p.drawEllipse(c, r * 0.32, r * 0.32);
    if (markAngle >= 0) {
        const qreal a = markAngle * M_PI / 180;
        const QPointF tip = c + QPointF(std::cos(a), std::sin(a)) * (r - 6);
        QPainterPath tri;
        tri.moveTo(tip);
        tri.lineTo(tip - QPointF(std::cos(a + 0.5), std::sin(a + 0.5)) * 9);
        tri.lineTo(tip - QPointF(std::cos(a - 0.5), std::sin(a - 0.5)) * 9);
        tri.closeSubpath();
        p.fillPath(tri, kRed);
    }
}

void PaintTiming(QPainter& p, const QSizeF& size) {
    Sheet(p, size, "Рис. Привод ГРМ");
    struct Pulley {
        QPointF c;
        qreal r;
        bool toothed;
        qreal mark;
    };
    const Pulley pulleys[] = {{{150, 262}, 26, true, -90}, {{110, 78}, 42, true, -90},
                              {{236, 78}, 42, true, -90},  {{262, 178}, 16, false, -1},
                              {{84, 190}, 22, true, -1},   {{222, 238}, 13, false, -1}};
    std::vector<QPointF> rim;
    for (const Pulley& pl : pulleys) {
        for (int i = 0; i < 90; ++i) {
            const qreal a = i * 2 * M_PI / 90;
            rim.push_back(pl.c + QPointF(std::cos(a), std::sin(a)) * (pl.r + 3));
        }
    }
    const QPolygonF belt = Hull(rim);
    QPainterPath beltPath;
    beltPath.addPolygon(belt);
    beltPath.closeSubpath();
    p.setPen(QPen(QColor(40, 44, 50), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(beltPath);
    p.setPen(QPen(QColor(120, 126, 134), 1, Qt::DashLine));
    p.drawPath(beltPath);
    for (const Pulley& pl : pulleys)
        Sprocket(p, pl.c, pl.r, pl.toothed, pl.mark);
    // Marks on the covers the sprocket marks must meet.
    for (QPointF m : {QPointF(110, 26), QPointF(236, 26), QPointF(150, 226)}) {
        p.setPen(QPen(kRed, 2));
        p.drawLine(m, m + QPointF(0, 8));
    }
    QPainterPath turn;
    turn.arcMoveTo(QRectF(112, 224, 76, 76), 200);
    turn.arcTo(QRectF(112, 224, 76, 76), 200, -110);
    p.setPen(QPen(kAmber, 2));
    p.drawPath(turn);
    ArrowHead(p, turn.currentPosition(), turn.pointAtPercent(0.92), kAmber, 8);
    Callout(p, QPointF(198, 300), QPointF(168, 278), 1);
    Callout(p, QPointF(42, 40), QPointF(78, 56), 2);
    Callout(p, QPointF(304, 40), QPointF(270, 56), 3);
    Callout(p, QPointF(316, 178), QPointF(278, 178), 4);
    Callout(p, QPointF(34, 236), QPointF(70, 206), 5);
    Callout(p, QPointF(272, 262), QPointF(232, 246), 6);
    Text(p, QPointF(173, 152), "метки совмещены", 11, kRed, true, Qt::AlignHCenter);
    Text(p, QPointF(173, 166), "(ВМТ 1-го цилиндра)", 10, kRed, false, Qt::AlignHCenter);
}

void PaintPlug(QPainter& p, const QSizeF& size) {
    Sheet(p, size, "Рис. Зазор свечи");
    // A spark plug lying down, electrode to the right.
    const qreal y = 92;
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(240, 242, 245));
    p.drawRoundedRect(QRectF(20, y - 9, 96, 18), 8, 8); // insulator
    QPolygonF hex;
    hex << QPointF(116, y - 20) << QPointF(150, y - 20) << QPointF(150, y + 20)
        << QPointF(116, y + 20);
    p.setBrush(QColor(196, 204, 214));
    p.drawPolygon(hex);
    for (qreal yy : {y - 7.0, y + 7.0})
        p.drawLine(QPointF(116, yy), QPointF(150, yy));
    p.setBrush(QColor(180, 188, 198));
    p.drawRect(QRectF(150, y - 12, 54, 24)); // thread
    p.setPen(QPen(kInkDim, 0.8));
    for (qreal x = 153; x < 204; x += 4)
        p.drawLine(QPointF(x, y - 12), QPointF(x + 3, y + 12));
    p.setPen(QPen(kInk, 2.5));
    p.drawLine(QPointF(204, y), QPointF(226, y)); // centre electrode
    p.setPen(QPen(kInk, 3));
    p.drawLine(QPointF(204, y + 12), QPointF(238, y + 12)); // ground electrode
    p.drawLine(QPointF(238, y + 12), QPointF(238, y - 6));
    // The gap between the centre electrode's tip and the ground electrode.
    p.setPen(QPen(kDim, 0.8));
    p.drawLine(QPointF(226, y - 3), QPointF(226, y - 34));
    p.drawLine(QPointF(236.5, y - 8), QPointF(236.5, y - 34));
    Arrow(p, QPointF(206, y - 28), QPointF(226, y - 28), kDim, 1);
    Arrow(p, QPointF(258, y - 28), QPointF(236.5, y - 28), kDim, 1);
    Text(p, QPointF(231, y - 40), "1,0–1,1 мм", 12, kDim, true, Qt::AlignHCenter);
    Text(p, QPointF(177, y + 40), "M14×1,25", 11, kInkDim, false, Qt::AlignHCenter);
    Text(p, QPointF(133, y + 40), "16 мм", 11, kInkDim, false, Qt::AlignHCenter);
    Text(p, QPointF(20, 26), "Момент затяжки 25 Н·м; зазор — круглым щупом", 11, kInk, true);
}

void PaintDipstick(QPainter& p, const QSizeF& size) {
    Sheet(p, size, "");
    // The blade with its two marks and the oil film up to between them.
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(220, 226, 232));
    p.drawRect(QRectF(30, 44, 320, 16));
    p.setBrush(QColor(196, 150, 40, 200));
    p.drawRect(QRectF(30, 44, 196, 16));
    p.setPen(QPen(kInk, 2));
    for (qreal x : {170.0, 250.0})
        p.drawLine(QPointF(x, 38), QPointF(x, 66));
    p.setPen(QPen(QColor(255, 196, 0), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawEllipse(QPointF(364, 52), 10, 14);
    Text(p, QPointF(170, 30), "MIN", 12, kRed, true, Qt::AlignHCenter);
    Text(p, QPointF(250, 30), "MAX", 12, kInk, true, Qt::AlignHCenter);
    Dimension(p, QPointF(170, 84), QPointF(250, 84), "1,0 л", 16);
    Text(p, QPointF(30, 110), "Уровень проверять через 5 минут после остановки двигателя", 11,
         kInkDim);
}

void PaintHeadBolts(QPainter& p, const QSizeF& size) {
    Sheet(p, size, "Рис. Порядок затяжки ГБЦ");
    const QRectF head(30, 36, 320, 150);
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(228, 232, 237));
    p.drawRoundedRect(head, 12, 12);
    p.setPen(QPen(kInkDim, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(78 + i * 75, 111), 30, 30);
    // Tightening from the middle outwards in a spiral.
    const qreal xs[] = {48, 116, 190, 264, 332};
    const int top[] = {9, 5, 1, 4, 8};
    const int bottom[] = {10, 6, 2, 3, 7};
    for (int i = 0; i < 5; ++i) {
        for (const auto& [y, order] : {std::pair<qreal, int>{60, top[i]}, {162, bottom[i]}}) {
            p.setPen(QPen(kInk, 1.2));
            p.setBrush(QColor(150, 158, 168));
            p.drawEllipse(QPointF(xs[i], y), 7, 7);
            Bubble(p, QPointF(xs[i], y + (y < 100 ? -26 : 26) + (y < 100 ? 0 : 0)), order,
                   order <= 2 ? kRed : kAmber);
        }
    }
    Text(p, QPointF(30, 226), "ремень ГРМ — справа", 10, kInkDim);
    Arrow(p, QPointF(134, 222), QPointF(170, 222), kInkDim);
}

void PaintWheelNuts(QPainter& p, const QSizeF& size) {
    Sheet(p, size, "");
    const QPointF c(size.width() / 2, size.height() / 2 + 4);
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(QColor(222, 227, 233));
    p.drawEllipse(c, 86, 86);
    p.setBrush(Qt::white);
    p.drawEllipse(c, 30, 30);
    // Star order: every bolt is followed by the one across from it.
    const int order[5] = {1, 4, 2, 5, 3};
    QPolygonF star;
    for (int k : {0, 2, 4, 1, 3}) {
        const qreal a = (-90 + 72 * k) * M_PI / 180;
        star << c + QPointF(std::cos(a), std::sin(a)) * 56;
    }
    star << star.front();
    p.setPen(QPen(kAmber, 1.2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(star);
    for (int k = 0; k < 5; ++k) {
        const qreal a = (-90 + 72 * k) * M_PI / 180;
        const QPointF at = c + QPointF(std::cos(a), std::sin(a)) * 56;
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(150, 158, 168));
        p.drawEllipse(at, 9, 9);
        Bubble(p, c + QPointF(std::cos(a), std::sin(a)) * 78, order[k]);
    }
    Text(p, c + QPointF(0, 4), "110 Н·м", 11, kDim, true, Qt::AlignHCenter);
}

// --- Electrics ------------------------------------------------------------

void PaintFuseMap(QPainter& p, const QSizeF& size) {
    Sheet(p, size, "Рис. Монтажный блок");
    // Blade fuses in two rows, coloured by rating, relays below.
    struct Fuse {
        int amps;
        QColor color;
    };
    const std::map<int, QColor> colors = {{5, QColor(222, 178, 120)}, {7, QColor(150, 100, 60)},
                                          {10, QColor(220, 50, 40)},  {15, QColor(50, 110, 220)},
                                          {20, QColor(250, 220, 40)}, {25, QColor(240, 240, 240)},
                                          {30, QColor(60, 170, 80)}};
    const int amps[20] = {10, 10, 15, 20, 7,  7,  15, 15, 10, 20,
                          25, 30, 10, 5,  15, 10, 20, 30, 10, 5};
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(52, 56, 62));
    p.drawRoundedRect(QRectF(20, 42, 400, 226), 10, 10);
    for (int i = 0; i < 20; ++i) {
        const int col = i % 10, row = i / 10;
        const QRectF f(36 + col * 38, 60 + row * 74, 28, 42);
        p.setPen(QPen(QColor(10, 10, 12), 1));
        p.setBrush(colors.at(amps[i]));
        p.drawRoundedRect(f, 4, 4);
        p.setBrush(QColor(200, 204, 210));
        p.drawRect(QRectF(f.left() + 5, f.top() - 4, 6, 5));
        p.drawRect(QRectF(f.right() - 11, f.top() - 4, 6, 5));
        const QColor ink = amps[i] == 7 || amps[i] == 15 || amps[i] == 10 || amps[i] == 30
                               ? QColor(255, 255, 255)
                               : kInk;
        Text(p, QPointF(f.center().x(), f.center().y() + 5),
             amps[i] == 7 ? QStringLiteral("7,5") : QString::number(amps[i]), 12, ink, true,
             Qt::AlignHCenter);
        Text(p, QPointF(f.center().x(), f.bottom() + 14), QStringLiteral("F%1").arg(i + 1), 11,
             QColor(236, 240, 244), true, Qt::AlignHCenter);
    }
    for (int i = 0; i < 6; ++i) {
        const QRectF r(40 + i * 62, 210, 48, 48);
        p.setPen(QPen(QColor(10, 10, 12), 1));
        p.setBrush(QColor(30, 32, 36));
        p.drawRoundedRect(r, 4, 4);
        Text(p, QPointF(r.center().x(), r.center().y() + 5), QStringLiteral("K%1").arg(i + 1), 12,
             QColor(255, 196, 96), true, Qt::AlignHCenter);
    }
    Text(p, QPointF(14, 18), "Номинал по цвету вставки, А: 5 — бежевый, 7,5 — коричневый,", 10,
         kInk);
    Text(p, QPointF(14, 32), "10 — красный, 15 — синий, 20 — жёлтый, 25 — белый, 30 — зелёный", 10,
         kInk);
}

void PaintWiring(QPainter& p, const QSizeF& size) {
    Sheet(p, size, "Рис. Цепь ближнего света");
    Text(p, QPointF(14, 18), "Провода: К — красный, Ж — жёлтый, Б — белый, Кч — коричневый", 10,
         kInkDim);
    p.translate(0, 14);
    auto wire = [&](QPolygonF path, const QColor& color, const QString& mark) {
        p.setPen(QPen(QColor(20, 22, 26), 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(path);
        p.setPen(QPen(color, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(path);
        const QPointF mid = (path[0] + path[1]) / 2;
        Text(p, mid + QPointF(0, -8), mark, 11, kInk, true, Qt::AlignHCenter);
    };
    // Battery.
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(QColor(60, 64, 70));
    p.drawRect(QRectF(26, 110, 60, 44));
    Text(p, QPointF(56, 138), "12 В", 12, Qt::white, true, Qt::AlignHCenter);
    Text(p, QPointF(36, 104), "АКБ", 11, kInk, true, Qt::AlignHCenter);
    wire({QPointF(70, 110), QPointF(70, 60), QPointF(140, 60)}, QColor(220, 40, 30), "К");
    // Fuse.
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(50, 110, 220));
    p.drawRoundedRect(QRectF(140, 50, 34, 20), 4, 4);
    Text(p, QPointF(157, 42), "F7 15 А", 11, kInk, true, Qt::AlignHCenter);
    wire({QPointF(174, 60), QPointF(226, 60)}, QColor(250, 214, 40), "Ж");
    // Switch.
    p.setPen(QPen(kInk, 2));
    p.drawEllipse(QPointF(230, 60), 4, 4);
    p.drawEllipse(QPointF(268, 60), 4, 4);
    p.drawLine(QPointF(233, 58), QPointF(262, 44));
    Text(p, QPointF(249, 88), "переключатель", 10, kInkDim, false, Qt::AlignHCenter);
    Text(p, QPointF(249, 100), "света", 10, kInkDim, false, Qt::AlignHCenter);
    wire({QPointF(272, 60), QPointF(340, 60), QPointF(340, 96)}, QColor(250, 250, 250), "Б");
    // Lamp.
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(QColor(255, 240, 180));
    p.drawEllipse(QPointF(340, 116), 20, 20);
    p.drawLine(QPointF(326, 102), QPointF(354, 130));
    p.drawLine(QPointF(354, 102), QPointF(326, 130));
    Text(p, QPointF(372, 112), "H4", 12, kInk, true);
    Text(p, QPointF(372, 126), "55 Вт", 11, kInkDim);
    wire({QPointF(340, 136), QPointF(340, 180), QPointF(56, 180)}, QColor(90, 60, 40), "Кч");
    wire({QPointF(56, 180), QPointF(56, 154)}, QColor(90, 60, 40), "");
    // Ground symbol.
    p.setPen(QPen(kInk, 1.6));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(190 - 12 + i * 4, 192 + i * 5), QPointF(190 + 12 - i * 4, 192 + i * 5));
    p.drawLine(QPointF(190, 180), QPointF(190, 192));
    Text(p, QPointF(214, 206), "масса (кузов)", 10, kInkDim);
}

void PaintBattery(QPainter& p, const QSizeF& size) {
    Studio(p, size);
    // A battery in three-quarter view: top face, front face, terminals.
    QPainterPath front = Rounded(QRectF(60, 92, 200, 110), 6);
    QPainterPath top;
    top.moveTo(60, 92);
    top.lineTo(100, 54);
    top.lineTo(300, 54);
    top.lineTo(260, 92);
    top.closeSubpath();
    QPainterPath side;
    side.moveTo(260, 92);
    side.lineTo(300, 54);
    side.lineTo(300, 164);
    side.lineTo(260, 202);
    side.closeSubpath();
    Soft(p, front.united(side), 8);
    QLinearGradient f(QPointF(60, 92), QPointF(60, 202));
    f.setColorAt(0, QColor(44, 48, 54));
    f.setColorAt(1, QColor(20, 22, 26));
    p.fillPath(front, f);
    p.fillPath(side, QColor(30, 32, 36));
    QLinearGradient t(QPointF(100, 54), QPointF(260, 92));
    t.setColorAt(0, QColor(84, 90, 98));
    t.setColorAt(1, QColor(56, 60, 66));
    p.fillPath(top, t);
    p.fillRect(QRectF(72, 120, 176, 30), QColor(255, 159, 28));
    Text(p, QPointF(160, 141), "12 В  60 А·ч  540 А", 15, QColor(24, 20, 14), true,
         Qt::AlignHCenter);
    // Terminals: the red plus, the black minus.
    auto terminal = [&](QPointF c, const QColor& color, const QString& sign) {
        QPainterPath post = Rounded(QRectF(c.x() - 10, c.y() - 14, 20, 16), 4);
        Soft(p, post, 3);
        p.fillPath(post, Steel(QPointF(c.x() - 10, 0), QPointF(c.x() + 10, 0), 10));
        QPainterPath cap = Rounded(QRectF(c.x() - 13, c.y() - 20, 26, 10), 4);
        p.fillPath(cap, color);
        Text(p, c + QPointF(c.x() < 180 ? -24 : 24, 2), sign, 18,
             color == QColor(30, 30, 34) ? QColor(220, 224, 230) : color, true, Qt::AlignHCenter);
    };
    terminal(QPointF(122, 74), QColor(214, 40, 30), "+");
    terminal(QPointF(246, 74), QColor(30, 30, 34), "−");
    Bubble(p, QPointF(280, 26), 1, kRed);
    Bubble(p, QPointF(90, 26), 2);
    Arrow(p, QPointF(272, 32), QPointF(252, 50), kRed);
    Arrow(p, QPointF(98, 32), QPointF(116, 50), kAmber);
    Text(p, QPointF(20, 218), "Снимать: 1 — «−», затем 2 — «+»;", 12, kInk, true);
    Text(p, QPointF(20, 232), "ставить в обратном порядке", 12, kInk, false);
}

void PaintLamp(QPainter& p, const QSizeF& size) {
    Studio(p, size);
    // An H4 bulb: base with its three tabs, the glass with two filaments.
    QPainterPath glass;
    glass.moveTo(150, 40);
    glass.cubicTo(150, 30, 250, 30, 262, 62);
    glass.cubicTo(270, 86, 270, 114, 262, 138);
    glass.cubicTo(250, 170, 150, 170, 150, 160);
    glass.closeSubpath();
    Soft(p, glass, 6);
    QLinearGradient g(QPointF(0, 40), QPointF(0, 160));
    g.setColorAt(0, QColor(255, 255, 255, 235));
    g.setColorAt(0.5, QColor(210, 224, 236, 200));
    g.setColorAt(1, QColor(240, 246, 250, 235));
    p.fillPath(glass, g);
    p.setPen(QPen(QColor(120, 136, 150), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(glass);
    p.fillRect(QRectF(248, 78, 20, 44), QColor(30, 32, 36, 200)); // the dark cap
    p.setPen(QPen(QColor(120, 70, 0), 2));
    for (qreal y : {86.0, 110.0}) {
        QPainterPath coil;
        coil.moveTo(178, y);
        for (int i = 0; i < 8; ++i)
            coil.quadTo(182 + i * 6, y + (i % 2 ? 5 : -5), 184 + i * 6, y);
        p.drawPath(coil);
    }
    QPainterPath base = Rounded(QRectF(104, 54, 46, 92), 6);
    Soft(p, base, 4);
    p.fillPath(base, Steel(QPointF(104, 0), QPointF(150, 0), 10));
    p.fillRect(QRectF(84, 70, 20, 60), QColor(60, 62, 66));
    for (qreal y : {76.0, 96.0, 116.0})
        p.fillRect(QRectF(60, y, 24, 8), Steel(QPointF(0, y), QPointF(0, y + 8), 20));
    QPainterPath hand;
    hand.addEllipse(QPointF(214, 100), 64, 68);
    p.setPen(QPen(kRed, 3));
    p.drawEllipse(QPointF(214, 100), 60, 64);
    p.drawLine(QPointF(172, 54), QPointF(256, 146));
    Text(p, QPointF(160, 190), "H4 60/55 Вт — колбу руками не трогать", 13, kInk, true,
         Qt::AlignHCenter);
}

// --- Title page -------------------------------------------------------------

void PaintCover(QPainter& p, const QSizeF& size) {
    QLinearGradient sky(QPointF(0, 0), QPointF(0, size.height()));
    sky.setColorAt(0, QColor(30, 36, 44));
    sky.setColorAt(0.62, QColor(64, 74, 86));
    sky.setColorAt(0.63, QColor(44, 48, 54));
    sky.setColorAt(1, QColor(18, 20, 24));
    p.fillRect(QRectF(QPointF(0, 0), size), sky);
    QRadialGradient spot(QPointF(size.width() / 2, size.height() * 0.62), size.width() * 0.45);
    spot.setColorAt(0, QColor(255, 190, 100, 70));
    spot.setColorAt(1, QColor(255, 190, 100, 0));
    p.fillRect(QRectF(QPointF(0, 0), size), spot);
    DrawCar(p, QRectF(80, 50, 400, 130));
    p.setFont(PixelFont(family::kLiberationSans, 22, true));
    p.setPen(QColor(240, 244, 248));
    p.drawText(QPointF(20, 34), "СЕДАН 1,6");
    p.setFont(PixelFont(family::kSerif, 13, false, true));
    p.setPen(QColor(255, 177, 59));
    p.drawText(QPointF(20, 54), "ремонт · эксплуатация · обслуживание");
    p.setFont(PixelFont(family::kSansCondensed, 11));
    p.setPen(QColor(190, 198, 208));
    p.drawText(QRectF(0, size.height() - 24, size.width() - 16, 20), Qt::AlignRight,
               "Демонстрационный выпуск");
}

// A corner of the instrument cluster with the turn-signal tell-tale, lit or
// dark: the two frames of an animation.
void PaintTurnSignal(QPainter& p, const QSizeF& size, bool lit) {
    QLinearGradient panel(QPointF(0, 0), QPointF(0, size.height()));
    panel.setColorAt(0, QColor(36, 40, 46));
    panel.setColorAt(1, QColor(14, 16, 20));
    p.fillRect(QRectF(QPointF(0, 0), size), panel);
    // The rim of the speedometer at the right, with its scale.
    const QPointF centre(size.width() + 40, size.height() * 0.95);
    const qreal radius = size.height() * 0.95;
    p.setPen(QPen(QColor(120, 128, 140), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(QColor(200, 206, 214), 2));
    for (int i = 0; i < 9; ++i) {
        const qreal a = (100 + i * 9) * M_PI / 180;
        const QPointF dir(std::cos(a), -std::sin(a));
        p.drawLine(centre + dir * (radius - 4), centre + dir * (radius - (i % 2 ? 10 : 18)));
    }
    // The arrow: green when lit, a dull shape when dark.
    QPainterPath arrow;
    const QPointF tip(70, size.height() / 2 - 6);
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(34, -26));
    arrow.lineTo(tip + QPointF(34, -12));
    arrow.lineTo(tip + QPointF(70, -12));
    arrow.lineTo(tip + QPointF(70, 12));
    arrow.lineTo(tip + QPointF(34, 12));
    arrow.lineTo(tip + QPointF(34, 26));
    arrow.closeSubpath();
    if (lit) {
        QRadialGradient glow(tip + QPointF(35, 0), 70);
        glow.setColorAt(0, QColor(80, 255, 120, 120));
        glow.setColorAt(1, QColor(80, 255, 120, 0));
        p.fillRect(QRectF(QPointF(0, 0), size), glow);
        p.fillPath(arrow, QColor(70, 230, 110));
        p.setPen(QPen(QColor(190, 255, 200), 1.5));
    } else {
        p.fillPath(arrow, QColor(30, 52, 38));
        p.setPen(QPen(QColor(52, 70, 58), 1.5));
    }
    p.setBrush(Qt::NoBrush);
    p.drawPath(arrow);
    p.setFont(PixelFont(family::kSansCondensed, 13));
    p.setPen(QColor(170, 178, 190));
    p.drawText(QRectF(12, size.height() - 26, size.width() - 24, 20), Qt::AlignLeft,
               "Контрольная лампа указателя поворота");
}

const std::map<QString, Drawing>& Drawings() {
    static const std::map<QString, Drawing> drawings = {
        {"cover", {{560, 210}, 0.76, PaintCover}},
        {"caliper", {{440, 300}, 0.97, PaintCaliper}},
        {"caliperbig", {{440, 300}, 2.5, PaintCaliper}},
        {"calipersm", {{440, 300}, 0.56, PaintCaliper}},
        {"pads", {{360, 200}, 1, PaintPads}},
        {"disc", {{380, 240}, 1, PaintDisc}},
        {"bleeding", {{360, 300}, 1, PaintBleeding}},
        {"enginebay", {{480, 312}, 0.89, PaintEngineBay}},
        {"timing", {{340, 330}, 1, PaintTiming}},
        {"plug", {{340, 190}, 1, PaintPlug}},
        {"dipstick", {{390, 124}, 1, PaintDipstick}},
        {"headbolts", {{380, 240}, 1, PaintHeadBolts}},
        {"wheelnuts", {{220, 220}, 1, PaintWheelNuts}},
        {"fusemap", {{440, 300}, 0.97, PaintFuseMap}},
        {"wiring", {{460, 244}, 0.93, PaintWiring}},
        {"battery", {{340, 244}, 1, PaintBattery}},
        {"lamp", {{320, 200}, 1, PaintLamp}},
        {"turnsignal",
         {{300, 120}, 1, [](QPainter& p, const QSizeF& size) { PaintTurnSignal(p, size, true); }}},
    };
    return drawings;
}

} // namespace

QStringList DrawingNames() {
    QStringList names;
    for (const auto& [name, drawing] : Drawings())
        names << name;
    return names;
}

QImage PaintDrawing(const QString& name) {
    const auto it = Drawings().find(name);
    if (it == Drawings().end())
        return {};
    const Drawing& d = it->second;
    const QSize pixels(qRound(d.size.width() * d.scale), qRound(d.size.height() * d.scale));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(kPaper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(d.scale, d.scale);
    d.paint(p, QSizeF(d.size));
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

std::vector<GifFrame> DrawingFrames(const QString& name) {
    if (name != QLatin1String("turnsignal"))
        return {};
    // About 1.5 flashes a second, as a working indicator blinks.
    std::vector<GifFrame> frames;
    for (const bool lit : {true, false}) {
        QImage image(300, 120, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        PaintTurnSignal(p, QSizeF(image.size()), lit);
        p.end();
        frames.push_back({image.convertToFormat(QImage::Format_RGB888), 33});
    }
    return frames;
}

} // namespace skingen
