#include "popups.h"

#include "glyphs.h"
#include "look.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <map>

namespace skingen {

namespace {

struct ItemStyle {
    QSize size;
    bool glyph;
};

const std::map<QString, ItemStyle>& ItemStyles() {
    static const std::map<QString, ItemStyle> styles = {
        {"pitem", {{248, 24}, false}},
        {"pmenu", {{236, 26}, true}},
        {"pshape", {{244, 28}, true}},
    };
    return styles;
}

// The plain colour behind the entries: the middle of every list is this one
// colour, so that rows repeated by the program and entry pictures cut from
// any height look the same.
const QColor kInside{27, 31, 37};

} // namespace

QSize PopupItemSize(const QString& style) {
    const auto it = ItemStyles().find(style);
    return it == ItemStyles().end() ? QSize() : it->second.size;
}

bool PopupItemHasGlyph(const QString& style) {
    const auto it = ItemStyles().find(style);
    return it != ItemStyles().end() && it->second.glyph;
}

QImage PaintPopupBack(const QSize& size, const QPolygonF& shape, int margin) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(palette::kOutside);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all(0, 0, size.width(), size.height());

    if (!shape.isEmpty()) {
        // A shaped menu: a chamfered plate whose pointer shows the button
        // that opened it. The window region cuts along the same polygon, so
        // the border is drawn just inside it.
        QPainterPath body;
        body.addPolygon(shape);
        body.closeSubpath();
        QLinearGradient fill(all.topLeft(), all.bottomLeft());
        fill.setColorAt(0, QColor(44, 50, 58));
        fill.setColorAt(0.12, kInside);
        fill.setColorAt(1, kInside);
        p.fillPath(body, fill);
        p.save();
        p.setClipPath(body);
        p.setPen(QPen(QColor(255, 159, 28, 210), 3));
        p.drawPath(body);
        p.restore();
        p.end();
        return image.convertToFormat(QImage::Format_RGB888);
    }

    // A plain list: a square plate (the window is a rectangle), an amber
    // rule on top, a bevel all round. Only the margins carry detail.
    p.fillRect(all, kInside);
    QLinearGradient top(0, 0, 0, margin);
    top.setColorAt(0, QColor(46, 52, 60));
    top.setColorAt(1, kInside);
    p.fillRect(QRectF(0, 0, size.width(), margin), top);
    QLinearGradient bottom(0, size.height() - margin, 0, size.height());
    bottom.setColorAt(0, kInside);
    bottom.setColorAt(1, QColor(18, 21, 25));
    p.fillRect(QRectF(0, size.height() - margin, size.width(), margin), bottom);
    p.fillRect(QRectF(0, 0, size.width(), 2), palette::kAccent);
    p.setPen(QPen(QColor(0, 0, 0, 230), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(QPen(QColor(255, 255, 255, 26), 1));
    p.drawLine(QPointF(1.5, 2), QPointF(1.5, size.height() - 1.5));
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.drawLine(QPointF(size.width() - 1.5, 2), QPointF(size.width() - 1.5, size.height() - 1.5));
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage PaintPopupItem(const QString& style, const QString& glyph, int slot,
                      const QImage& backdrop) {
    const QSize size = PopupItemSize(style);
    QImage image = backdrop.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0, 0, size.width(), size.height());
    const bool hover = slot >= 1, pressed = slot == 2;

    if (hover) {
        const QRectF lit = r.adjusted(1, 1, -1, -1);
        QLinearGradient fill(lit.topLeft(), lit.topRight());
        fill.setColorAt(0, QColor(255, 159, 28, pressed ? 120 : 60));
        fill.setColorAt(0.8, QColor(255, 159, 28, pressed ? 70 : 22));
        fill.setColorAt(1, QColor(255, 159, 28, pressed ? 40 : 8));
        p.fillPath(RoundedRect(lit, 3), fill);
        p.setPen(QPen(QColor(255, 159, 28, pressed ? 230 : 150), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(RoundedRect(lit.adjusted(0.5, 0.5, -0.5, -0.5), 3));
        p.fillRect(QRectF(1, 3, 2.5, size.height() - 6), palette::kAccentHot);
    } else if (style == "pitem") {
        // A hairline between rows keeps long lists readable.
        p.setPen(QPen(QColor(255, 255, 255, 14), 1));
        p.drawLine(QPointF(8, size.height() - 0.5), QPointF(size.width() - 8, size.height() - 0.5));
    }
    if (PopupItemHasGlyph(style)) {
        const qreal g = size.height() - 10;
        const QColor c = pressed ? palette::kAccentHot
                         : hover ? palette::kAccent
                                 : palette::kTextDim;
        DrawGlyph(p, glyph, QRectF(size.width() - g - 8, (size.height() - g) / 2, g, g), c);
    }
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace skingen
