#include "glyphs.h"

#include "look.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <functional>
#include <map>

namespace skingen {

namespace {

// Icons are drawn in a 24 x 24 design grid, scaled to the box.
using GlyphFn = std::function<void(QPainter&, const QColor&)>;

QPen Line(const QColor& c, qreal w = 1.8) {
    QPen pen(c, w);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void Outline(QPainter& p, const QColor& c, const QPainterPath& path, qreal w = 1.8) {
    p.setBrush(Qt::NoBrush);
    p.setPen(Line(c, w));
    p.drawPath(path);
}

void Solid(QPainter& p, const QColor& c, const QPainterPath& path) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
}

QPainterPath Poly(std::initializer_list<QPointF> points, bool close = true) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : points) {
        if (first)
            path.moveTo(pt);
        else
            path.lineTo(pt);
        first = false;
    }
    if (close)
        path.closeSubpath();
    return path;
}

QPainterPath Star(QPointF c, qreal outer, qreal inner) {
    QPolygonF poly;
    for (int i = 0; i < 10; ++i) {
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const qreal r = i % 2 ? inner : outer;
        poly << QPointF(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
    }
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

QPainterPath Gear(QPointF c, qreal outer, qreal inner, int teeth) {
    QPolygonF poly;
    const int steps = teeth * 4;
    for (int i = 0; i < steps; ++i) {
        const qreal a = i * 2 * M_PI / steps;
        const qreal r = (i % 4 == 0 || i % 4 == 1) ? outer : inner;
        poly << QPointF(c.x() + r * std::cos(a + M_PI / steps),
                        c.y() + r * std::sin(a + M_PI / steps));
    }
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

const std::map<QString, GlyphFn>& Glyphs() {
    static const std::map<QString, GlyphFn> glyphs = {
        {"book",
         [](QPainter& p, const QColor& c) {
             QPainterPath left, right;
             left.moveTo(12, 7);
             left.cubicTo(9, 5, 5, 5, 3, 6);
             left.lineTo(3, 19);
             left.cubicTo(5, 18, 9, 18, 12, 20);
             right.moveTo(12, 7);
             right.cubicTo(15, 5, 19, 5, 21, 6);
             right.lineTo(21, 19);
             right.cubicTo(19, 18, 15, 18, 12, 20);
             Outline(p, c, left);
             Outline(p, c, right);
             p.drawLine(QPointF(12, 7), QPointF(12, 20));
             p.setPen(Line(c, 1.2));
             p.drawLine(QPointF(6, 10), QPointF(9.5, 10.8));
             p.drawLine(QPointF(6, 13), QPointF(9.5, 13.8));
             p.drawLine(QPointF(14.5, 10.8), QPointF(18, 10));
         }},
        {"film",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, RoundedRect(QRectF(3, 5, 18, 14), 2));
             p.setPen(Line(c, 1.4));
             p.drawLine(QPointF(7, 5), QPointF(7, 19));
             p.drawLine(QPointF(17, 5), QPointF(17, 19));
             for (qreal y : {8.0, 12.0, 16.0}) {
                 p.drawPoint(QPointF(5, y));
                 p.drawPoint(QPointF(19, y));
             }
             Solid(p, c, Poly({{10.5, 9.5}, {14.5, 12}, {10.5, 14.5}}));
         }},
        {"wrench",
         [](QPainter& p, const QColor& c) {
             p.save();
             p.translate(12, 12);
             p.rotate(-45);
             QPainterPath w;
             w.addRoundedRect(QRectF(-1.8, -2, 3.6, 12), 1.8, 1.8);
             QPainterPath head;
             head.addEllipse(QPointF(0, -6), 5, 5);
             QPainterPath jaw;
             jaw.addRect(QRectF(-1.8, -12, 3.6, 5.5));
             Solid(p, c, w.united(head).subtracted(jaw));
             p.restore();
         }},
        {"readme",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, Poly({{6, 3}, {15, 3}, {19, 7}, {19, 21}, {6, 21}}));
             Outline(p, c, Poly({{15, 3}, {15, 7}, {19, 7}}, false), 1.4);
             p.setPen(Line(c, 1.4));
             for (qreal y : {10.5, 13.5, 16.5})
                 p.drawLine(QPointF(9, y), QPointF(16, y));
         }},
        {"info",
         [](QPainter& p, const QColor& c) {
             QPainterPath ring;
             ring.addEllipse(QPointF(12, 12), 9, 9);
             Outline(p, c, ring);
             p.setPen(Line(c, 2.2));
             p.drawLine(QPointF(12, 11), QPointF(12, 17));
             p.drawPoint(QPointF(12, 7.5));
         }},
        {"gear",
         [](QPainter& p, const QColor& c) {
             QPainterPath g = Gear(QPointF(12, 12), 9.5, 7.2, 8);
             QPainterPath hole;
             hole.addEllipse(QPointF(12, 12), 3.2, 3.2);
             Solid(p, c, g.subtracted(hole));
         }},
        {"back",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, Poly({{10, 6}, {4, 12}, {10, 18}}, false), 2.2);
             p.drawLine(QPointF(4.5, 12), QPointF(20, 12));
         }},
        {"forward",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, Poly({{14, 6}, {20, 12}, {14, 18}}, false), 2.2);
             p.drawLine(QPointF(4, 12), QPointF(19.5, 12));
         }},
        {"history",
         [](QPainter& p, const QColor& c) {
             QPainterPath arc;
             arc.arcMoveTo(QRectF(4, 4, 16, 16), 160);
             arc.arcTo(QRectF(4, 4, 16, 16), 160, -300);
             Outline(p, c, arc);
             Solid(p, c, Poly({{2.2, 7.5}, {7.8, 9.8}, {3.2, 13.2}}));
             p.setPen(Line(c, 1.8));
             p.drawLine(QPointF(12, 8), QPointF(12, 12.5));
             p.drawLine(QPointF(12, 12.5), QPointF(15, 14.5));
         }},
        {"top",
         [](QPainter& p, const QColor& c) {
             p.setPen(Line(c, 2.2));
             p.drawLine(QPointF(5, 4.5), QPointF(19, 4.5));
             Outline(p, c, Poly({{6.5, 13}, {12, 7.5}, {17.5, 13}}, false), 2.2);
             p.drawLine(QPointF(12, 8), QPointF(12, 20));
         }},
        {"print",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, Poly({{7, 9}, {7, 3.5}, {17, 3.5}, {17, 9}}, false), 1.6);
             Outline(p, c, RoundedRect(QRectF(3, 9, 18, 8), 1.8));
             Outline(p, c, Poly({{7, 14}, {17, 14}, {17, 20.5}, {7, 20.5}}), 1.6);
             p.setPen(Line(c, 2.2));
             p.drawPoint(QPointF(17.5, 11.8));
         }},
        {"addfav",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, Star(QPointF(10.5, 12.5), 8.5, 3.8), 1.6);
             p.setPen(Line(c, 2.0));
             p.drawLine(QPointF(19.5, 2.5), QPointF(19.5, 8.5));
             p.drawLine(QPointF(16.5, 5.5), QPointF(22.5, 5.5));
         }},
        {"favlist",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, Poly({{5, 3}, {13, 3}, {13, 20}, {9, 16.5}, {5, 20}}), 1.6);
             p.setPen(Line(c, 1.6));
             for (qreal y : {6.0, 10.5, 15.0})
                 p.drawLine(QPointF(16, y), QPointF(21, y));
         }},
        {"find",
         [](QPainter& p, const QColor& c) {
             QPainterPath lens;
             lens.addEllipse(QPointF(10, 10), 6, 6);
             Outline(p, c, lens, 2.0);
             p.setPen(Line(c, 3.0));
             p.drawLine(QPointF(14.5, 14.5), QPointF(20, 20));
         }},
        {"play",
         [](QPainter& p, const QColor& c) {
             Solid(p, c, Poly({{7, 4.5}, {19.5, 12}, {7, 19.5}}));
         }},
        {"pause",
         [](QPainter& p, const QColor& c) {
             QPainterPath bars;
             bars.addRoundedRect(QRectF(6, 5, 4, 14), 1, 1);
             bars.addRoundedRect(QRectF(14, 5, 4, 14), 1, 1);
             Solid(p, c, bars);
         }},
        {"stop",
         [](QPainter& p, const QColor& c) { Solid(p, c, RoundedRect(QRectF(6, 6, 12, 12), 1.5)); }},
        {"rew",
         [](QPainter& p, const QColor& c) {
             QPainterPath a = Poly({{12, 6}, {3, 12}, {12, 18}});
             a.addPath(Poly({{21, 6}, {12, 12}, {21, 18}}));
             Solid(p, c, a);
         }},
        {"fwd",
         [](QPainter& p, const QColor& c) {
             QPainterPath a = Poly({{3, 6}, {12, 12}, {3, 18}});
             a.addPath(Poly({{12, 6}, {21, 12}, {12, 18}}));
             Solid(p, c, a);
         }},
        {"engine",
         [](QPainter& p, const QColor& c) {
             // A piston on its rod: the part everyone recognises.
             Outline(p, c, RoundedRect(QRectF(6, 3, 12, 9), 1.5), 1.6);
             p.setPen(Line(c, 1.2));
             p.drawLine(QPointF(6.5, 6), QPointF(17.5, 6));
             p.drawLine(QPointF(6.5, 8.5), QPointF(17.5, 8.5));
             p.setPen(Line(c, 2.2));
             p.drawLine(QPointF(12, 12), QPointF(14, 17.5));
             QPainterPath crank;
             crank.addEllipse(QPointF(12, 18.5), 3.8, 3.8);
             Outline(p, c, crank, 1.6);
         }},
        {"horn",
         [](QPainter& p, const QColor& c) {
             Solid(p, c, Poly({{3, 9.5}, {7, 9.5}, {13, 5}, {13, 19}, {7, 14.5}, {3, 14.5}}));
             QPainterPath waves;
             waves.arcMoveTo(QRectF(10, 8, 8, 8), 50);
             waves.arcTo(QRectF(10, 8, 8, 8), 50, -100);
             waves.arcMoveTo(QRectF(8, 5, 14, 14), 50);
             waves.arcTo(QRectF(8, 5, 14, 14), 50, -100);
             Outline(p, c, waves, 1.6);
         }},
        {"prevpic",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, RoundedRect(QRectF(6, 5, 15, 13), 1.5), 1.5);
             Outline(p, c, Poly({{8, 16}, {12, 11}, {15, 14}, {17, 12}, {19.5, 16}}, false), 1.3);
             Solid(p, c, Poly({{1.5, 11.5}, {5, 8.5}, {5, 14.5}}));
         }},
        {"nextpic",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, RoundedRect(QRectF(3, 5, 15, 13), 1.5), 1.5);
             Outline(p, c, Poly({{5, 16}, {9, 11}, {12, 14}, {14, 12}, {16.5, 16}}, false), 1.3);
             Solid(p, c, Poly({{22.5, 11.5}, {19, 8.5}, {19, 14.5}}));
         }},
        {"music",
         [](QPainter& p, const QColor& c) {
             QPainterPath heads;
             heads.addEllipse(QPointF(7, 17.5), 3, 2.4);
             heads.addEllipse(QPointF(17, 15.5), 3, 2.4);
             Solid(p, c, heads);
             p.setPen(Line(c, 1.8));
             p.drawLine(QPointF(9.6, 17), QPointF(9.6, 6));
             p.drawLine(QPointF(19.6, 15), QPointF(19.6, 4));
             Solid(p, c, Poly({{9.6, 6}, {19.6, 4}, {19.6, 7}, {9.6, 9}}));
         }},
        {"fonts",
         [](QPainter& p, const QColor& c) {
             p.setPen(c);
             p.setFont(PixelFont(family::kSerif, 16, true));
             p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("Аа"));
         }},
        {"more",
         [](QPainter& p, const QColor& c) {
             QPainterPath dots;
             for (qreal x : {5.0, 12.0, 19.0})
                 dots.addEllipse(QPointF(x, 12), 2.2, 2.2);
             Solid(p, c, dots);
         }},
        // The narrow buttons beside back and forward open the lists of
        // pages read: one chevron, under two names so that each button has
        // its own pictures.
        {"listback",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, Poly({{6, 9.5}, {12, 15.5}, {18, 9.5}}, false), 2.4);
         }},
        {"listfwd",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, Poly({{6, 9.5}, {12, 15.5}, {18, 9.5}}, false), 2.4);
         }},
        {"install",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, Poly({{4, 14}, {4, 20}, {20, 20}, {20, 14}}, false), 1.8);
             p.drawLine(QPointF(12, 3), QPointF(12, 14.5));
             Outline(p, c, Poly({{7.5, 10.5}, {12, 15}, {16.5, 10.5}}, false), 1.8);
         }},
        // Drawn small, beside the bookmarks button: a plain cross.
        {"delfav",
         [](QPainter& p, const QColor& c) {
             p.setPen(Line(c, 2.6));
             p.drawLine(QPointF(6.5, 7.5), QPointF(17.5, 18.5));
             p.drawLine(QPointF(17.5, 7.5), QPointF(6.5, 18.5));
         }},
        {"copy",
         [](QPainter& p, const QColor& c) {
             // The sheet behind shows only where the front one leaves it.
             Outline(p, c, Poly({{6.5, 17}, {4, 17}, {4, 3}, {15, 3}, {15, 5.5}}, false), 1.6);
             Outline(p, c, RoundedRect(QRectF(9, 7.5, 11, 14), 1.5), 1.6);
             p.setPen(Line(c, 1.2));
             p.drawLine(QPointF(12, 12), QPointF(17, 12));
             p.drawLine(QPointF(12, 15), QPointF(17, 15));
         }},
        {"selall",
         [](QPainter& p, const QColor& c) {
             QPen dash = Line(c, 1.6);
             dash.setDashPattern({2.0, 1.6});
             p.setPen(dash);
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(3.5, 4.5, 17, 15));
             p.setPen(Line(c, 1.6));
             for (qreal y : {9.0, 12.5, 16.0})
                 p.drawLine(QPointF(7, y), QPointF(17, y));
         }},
        {"folder",
         [](QPainter& p, const QColor& c) {
             Outline(p, c, Poly({{3, 6}, {9, 6}, {11, 8.5}, {21, 8.5}, {21, 19}, {3, 19}}), 1.7);
             p.setPen(Line(c, 1.3));
             p.drawLine(QPointF(3.5, 11.5), QPointF(20.5, 11.5));
         }},
        {"min",
         [](QPainter& p, const QColor& c) {
             p.setPen(Line(c, 2.2));
             p.drawLine(QPointF(7, 16), QPointF(17, 16));
         }},
        {"shut",
         [](QPainter& p, const QColor& c) {
             p.setPen(Line(c, 2.2));
             p.drawLine(QPointF(7.5, 7.5), QPointF(16.5, 16.5));
             p.drawLine(QPointF(16.5, 7.5), QPointF(7.5, 16.5));
         }},
        {"exit",
         [](QPainter& p, const QColor& c) {
             QPainterPath arc;
             arc.arcMoveTo(QRectF(4, 4.5, 16, 16), 60);
             arc.arcTo(QRectF(4, 4.5, 16, 16), 60, -300);
             Outline(p, c, arc, 2.2);
             p.setPen(Line(c, 2.2));
             p.drawLine(QPointF(12, 2.5), QPointF(12, 11));
         }},
    };
    return glyphs;
}

} // namespace

bool HasGlyph(const QString& name) {
    return Glyphs().count(name) != 0;
}

void DrawGlyph(QPainter& p, const QString& name, const QRectF& box, const QColor& color) {
    const auto it = Glyphs().find(name);
    if (it == Glyphs().end())
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(box.width(), box.height());
    p.translate(box.center() - QPointF(side / 2, side / 2));
    p.scale(side / 24.0, side / 24.0);
    it->second(p, color);
    p.restore();
}

} // namespace skingen
