#include "controls.h"

#include "glyphs.h"
#include "look.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <map>

namespace skingen {

namespace {

struct StyleInfo {
    QSize size;
    bool glyph;
};

const std::map<QString, StyleInfo>& Styles() {
    static const std::map<QString, StyleInfo> styles = {
        {"wnd", {{28, 22}, true}},     {"menu", {{172, 42}, true}},   {"prog", {{316, 40}, true}},
        {"row", {{226, 34}, true}},    {"tab", {{112, 30}, false}},   {"chap", {{86, 28}, false}},
        {"tool", {{64, 46}, true}},    {"round", {{44, 44}, true}},   {"power", {{58, 104}, true}},
        {"led", {{220, 32}, false}},   {"ledsm", {{132, 28}, false}}, {"seg", {{104, 28}, false}},
        {"radio", {{240, 30}, false}}, {"toolsm", {{45, 46}, true}},  {"drop", {{17, 46}, true}},
        {"segsm", {{68, 28}, false}},
    };
    return styles;
}

// What a picture shows: the mouse over it, the button held down, the
// switch on.
struct State {
    bool hover = false;
    bool pressed = false;
    bool on = false;
};

State StateOf(bool toggle, int slot) {
    if (!toggle)
        return {slot >= 1, slot == 2, false};
    return {slot == 1 || slot == 2, false, slot >= 2};
}

QRectF PlateRect(const QSize& size) {
    return QRectF(2, 2, size.width() - 4, size.height() - 5);
}

void PaintPlate(QPainter& p, const QPainterPath& body, const State& s, bool amberWhenOn = false) {
    const QRectF r = body.boundingRect();
    DrawShadow(p, body, QPointF(0, 1.2), 1, QColor(0, 0, 0, 150));

    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    if (amberWhenOn && s.on) {
        fill.setColorAt(0, s.hover ? QColor(255, 200, 110) : QColor(255, 181, 71));
        fill.setColorAt(1, s.hover ? QColor(243, 154, 28) : QColor(226, 132, 10));
    } else if (s.pressed || s.on) {
        fill.setColorAt(0, QColor(22, 25, 29));
        fill.setColorAt(1, QColor(40, 45, 52));
    } else if (s.hover) {
        fill.setColorAt(0, QColor(72, 81, 93));
        fill.setColorAt(1, QColor(43, 49, 57));
    } else {
        fill.setColorAt(0, QColor(60, 67, 77));
        fill.setColorAt(1, QColor(37, 42, 49));
    }
    p.fillPath(body, fill);

    p.save();
    p.setClipPath(body);
    if (s.pressed || (s.on && !amberWhenOn)) {
        // Pressed in: the top edge throws a shadow inside.
        QPainterPath frame;
        frame.addRect(r.adjusted(-10, -10, 10, 10));
        frame.addPath(body.translated(0, 2));
        frame.setFillRule(Qt::OddEvenFill);
        DrawShadow(p, frame, QPointF(0, 0), 2, QColor(0, 0, 0, 190));
    } else {
        p.setPen(QPen(QColor(255, 255, 255, amberWhenOn && s.on ? 110 : 46), 1));
        p.drawLine(QPointF(r.left() + 3, r.top() + 1.5), QPointF(r.right() - 3, r.top() + 1.5));
    }
    if (s.hover && !(amberWhenOn && s.on)) {
        // The hover light: an amber rim glowing inwards.
        DrawGlow(p, body, 2, QColor(255, 159, 28, 120), 3.0);
    }
    p.restore();

    QColor border(5, 6, 8, 235);
    if (amberWhenOn && s.on)
        border = QColor(110, 58, 0);
    else if (s.hover || s.pressed)
        border = QColor(255, 159, 28, s.pressed ? 170 : 215);
    p.setPen(QPen(border, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
}

QColor GlyphColor(const State& s) {
    if (s.pressed)
        return palette::kAccentHot;
    if (s.hover)
        return palette::kAccent;
    return QColor(196, 204, 214);
}

void PaintBadge(QPainter& p, QPointF centre, qreal radius, const QString& glyph, const State& s) {
    QPainterPath badge;
    badge.addEllipse(centre, radius, radius);
    QRadialGradient fill(centre - QPointF(0, radius * 0.5), radius * 1.6);
    if (s.pressed) {
        fill.setColorAt(0, palette::kAccentHot);
        fill.setColorAt(1, palette::kAccentDeep);
    } else {
        fill.setColorAt(0, QColor(44, 50, 58));
        fill.setColorAt(1, QColor(16, 18, 21));
    }
    p.fillPath(badge, fill);
    p.setPen(QPen(s.hover ? palette::kAccent : QColor(110, 122, 136, 160), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(badge);
    const qreal g = radius * 1.25;
    DrawGlyph(p, glyph, QRectF(centre.x() - g / 2, centre.y() - g / 2, g, g),
              s.pressed ? QColor(24, 20, 14) : GlyphColor(s));
}

void PaintLed(QPainter& p, QPointF centre, qreal radius, const State& s) {
    QPainterPath led;
    led.addEllipse(centre, radius, radius);
    if (s.on) {
        QPainterPath halo;
        halo.addEllipse(centre, radius + 2, radius + 2);
        DrawShadow(p, halo, QPointF(0, 0), 2, QColor(255, 159, 28, s.hover ? 170 : 130));
        QRadialGradient fill(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.3);
        fill.setColorAt(0, QColor(255, 240, 200));
        fill.setColorAt(0.35, palette::kAccentHot);
        fill.setColorAt(1, palette::kAccentDeep);
        p.fillPath(led, fill);
    } else {
        QRadialGradient fill(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.3);
        fill.setColorAt(0, s.hover ? QColor(92, 84, 70) : QColor(70, 74, 80));
        fill.setColorAt(1, QColor(14, 15, 17));
        p.fillPath(led, fill);
    }
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(led);
}

void PaintRadio(QPainter& p, const QSize& size, const State& s) {
    const QRectF row(1, 1, size.width() - 2, size.height() - 2);
    if (s.hover) {
        QLinearGradient fill(row.topLeft(), row.topRight());
        fill.setColorAt(0, QColor(255, 159, 28, 40));
        fill.setColorAt(0.7, QColor(255, 159, 28, 10));
        fill.setColorAt(1, QColor(255, 159, 28, 0));
        p.fillPath(RoundedRect(row, 4), fill);
    }
    const QPointF centre(17, size.height() / 2.0);
    QPainterPath ring;
    ring.addEllipse(centre, 7.5, 7.5);
    QPainterPath inner;
    inner.addEllipse(centre, 6.5, 6.5);
    p.fillPath(inner, QColor(10, 12, 14));
    p.setPen(QPen(s.hover || s.on ? palette::kAccent : QColor(120, 132, 146), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ring);
    if (s.on) {
        QPainterPath dot;
        dot.addEllipse(centre, 3.6, 3.6);
        QRadialGradient fill(centre - QPointF(1, 1), 4.5);
        fill.setColorAt(0, QColor(255, 236, 190));
        fill.setColorAt(1, palette::kAccent);
        p.fillPath(dot, fill);
    }
}

QPainterPath TabPath(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.moveTo(r.left(), r.bottom());
    path.lineTo(r.left(), r.top() + radius);
    path.quadTo(r.left(), r.top(), r.left() + radius, r.top());
    path.lineTo(r.right() - radius, r.top());
    path.quadTo(r.right(), r.top(), r.right(), r.top() + radius);
    path.lineTo(r.right(), r.bottom());
    path.closeSubpath();
    return path;
}

} // namespace

QSize ControlSize(const QString& style) {
    const auto it = Styles().find(style);
    return it == Styles().end() ? QSize() : it->second.size;
}

bool ControlHasGlyph(const QString& style) {
    const auto it = Styles().find(style);
    return it != Styles().end() && it->second.glyph;
}

QImage PaintControl(const QString& style, const QString& glyph, bool toggle, int slot,
                    const QImage& backdrop) {
    const QSize size = ControlSize(style);
    QImage image = backdrop.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const State s = StateOf(toggle, slot);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    if (style == "radio") {
        PaintRadio(p, size, s);
    } else if (style == "round" || style == "power") {
        const qreal d = style == "round" ? 40 : 46;
        const QPointF centre(size.width() / 2.0, style == "round" ? size.height() / 2.0 - 0.5 : 32);
        QPainterPath body;
        body.addEllipse(centre, d / 2, d / 2);
        if (style == "power") {
            // A machined bezel around the power button.
            QPainterPath bezel;
            bezel.addEllipse(centre, d / 2 + 4, d / 2 + 4);
            QLinearGradient metal(centre - QPointF(0, d / 2 + 4), centre + QPointF(0, d / 2 + 4));
            metal.setColorAt(0, QColor(120, 130, 142));
            metal.setColorAt(0.5, QColor(48, 54, 62));
            metal.setColorAt(1, QColor(150, 160, 172));
            DrawShadow(p, bezel, QPointF(0, 1.5), 2, QColor(0, 0, 0, 170));
            p.fillPath(bezel, metal);
        }
        PaintPlate(p, body, s);
        const QColor c = style == "power" ? (s.pressed ? QColor(255, 140, 120)
                                             : s.hover ? palette::kAlert
                                                       : QColor(196, 204, 214))
                                          : GlyphColor(s);
        const qreal g = style == "round" ? 20 : 24;
        DrawGlyph(p, glyph,
                  QRectF(centre.x() - g / 2 + (s.pressed ? 0.5 : 0),
                         centre.y() - g / 2 + (s.pressed ? 0.5 : 0), g, g),
                  c);
        if (style == "power" && s.hover)
            DrawGlow(p, body, 3, QColor(226, 83, 61, 120), 2.0);
    } else if (style == "tab") {
        const QRectF r(1, 2, size.width() - 2, size.height() - 2);
        const QPainterPath body = TabPath(r, 6);
        QLinearGradient fill(r.topLeft(), r.bottomLeft());
        if (s.pressed) {
            fill.setColorAt(0, QColor(22, 25, 29));
            fill.setColorAt(1, QColor(30, 34, 40));
        } else if (s.hover) {
            fill.setColorAt(0, QColor(62, 70, 80));
            fill.setColorAt(1, QColor(38, 43, 50));
        } else {
            fill.setColorAt(0, QColor(46, 52, 60));
            fill.setColorAt(1, QColor(31, 35, 41));
        }
        p.fillPath(body, fill);
        p.setPen(QPen(QColor(5, 6, 8, 230), 1));
        p.drawPath(body);
        p.setPen(QPen(QColor(255, 255, 255, s.pressed ? 10 : 34), 1));
        p.drawLine(QPointF(r.left() + 5, r.top() + 1.5), QPointF(r.right() - 5, r.top() + 1.5));
        if (s.hover || s.pressed) {
            QLinearGradient bar(r.topLeft(), r.topRight());
            bar.setColorAt(0, QColor(255, 159, 28, 0));
            bar.setColorAt(0.2, palette::kAccent);
            bar.setColorAt(0.8, palette::kAccent);
            bar.setColorAt(1, QColor(255, 159, 28, 0));
            p.fillRect(QRectF(r.left() + 1, r.bottom() - 2.5, r.width() - 2, 2.5), bar);
        }
    } else {
        const QRectF r = PlateRect(size);
        const qreal radius = style == "wnd"                         ? 4
                             : style == "tool" || style == "toolsm" ? 7
                             : style == "drop"                      ? 5
                                                                    : 6;
        const QPainterPath body = RoundedRect(r, radius);
        const bool amber = style == "seg" || style == "segsm";
        if (style == "wnd" && glyph == "shut" && s.hover) {
            // The window's close button warns in red.
            QLinearGradient fill(r.topLeft(), r.bottomLeft());
            fill.setColorAt(0, s.pressed ? QColor(150, 44, 30) : QColor(226, 83, 61));
            fill.setColorAt(1, s.pressed ? QColor(190, 62, 44) : QColor(168, 50, 34));
            DrawShadow(p, body, QPointF(0, 1.2), 1, QColor(0, 0, 0, 150));
            p.fillPath(body, fill);
            p.setPen(QPen(QColor(60, 12, 6), 1));
            p.drawPath(body);
        } else {
            PaintPlate(p, body, s, amber);
        }
        const qreal shift = s.pressed ? 0.5 : 0;
        if (style == "tool" || style == "toolsm") {
            DrawGlyph(p, glyph,
                      QRectF(size.width() / 2.0 - 12 + shift, r.center().y() - 12 + shift, 24, 24),
                      GlyphColor(s));
        } else if (style == "drop") {
            DrawGlyph(p, glyph,
                      QRectF(size.width() / 2.0 - 7 + shift, r.center().y() - 7 + shift, 14, 14),
                      GlyphColor(s));
        } else if (style == "wnd") {
            const QColor c = glyph == "shut" && s.hover ? QColor(255, 255, 255) : GlyphColor(s);
            DrawGlyph(p, glyph,
                      QRectF(size.width() / 2.0 - 9 + shift, r.center().y() - 9 + shift, 18, 18),
                      c);
        } else if (style == "menu" || style == "prog") {
            PaintBadge(p, QPointF(r.left() + 20, r.center().y()), 14, glyph, s);
        } else if (style == "row") {
            DrawGlyph(p, glyph, QRectF(r.left() + 9 + shift, r.center().y() - 10 + shift, 20, 20),
                      GlyphColor(s));
        } else if (style == "led" || style == "ledsm") {
            PaintLed(p, QPointF(r.left() + (style == "led" ? 15 : 12), r.center().y()),
                     style == "led" ? 5.5 : 4.5, s);
        }
    }
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace skingen
