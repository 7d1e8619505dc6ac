#include "windowshape.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QPolygon>
#include <QWidget>

namespace carmanual {

bool ShapeNeedsTranslucency() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QRegion PolygonRegion(const TWindowRegion& polygon) {
    QPolygon points;
    points.reserve(static_cast<qsizetype>(polygon.points.size()));
    for (const TPoint& p : polygon.points)
        points << QPoint(p.x, p.y);
    return QRegion(points, Qt::WindingFill);
}

QRegion EllipseRegion(int left, int top, int right, int bottom) {
    const QRect r = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).normalized();
    if (r.isEmpty())
        return {};
    return QRegion(r, QRegion::Ellipse);
}

QRegion RoundRectRegion(int left, int top, int right, int bottom, int cornerWidth,
                        int cornerHeight) {
    const QRectF r = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
    if (r.isEmpty())
        return {};
    QPainterPath path;
    path.addRoundedRect(r, cornerWidth / 2.0, cornerHeight / 2.0);
    return QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill);
}

void ApplyWindowShape(QWidget* window, const QRegion& region) {
    if (!window)
        return;
    if (region.isEmpty()) {
        // An empty mask means "no mask" to Qt; a one-pixel corner keeps the
        // window practically invisible instead.
        window->setMask(QRegion(0, 0, 1, 1));
    } else {
        window->setMask(region);
    }
    if (ShapeNeedsTranslucency())
        window->update();
}

} // namespace carmanual
