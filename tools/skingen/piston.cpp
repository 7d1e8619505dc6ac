#include "piston.h"

#include "look.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace skingen {

namespace {

struct Stroke {
    const char* first;
    const char* second;
    QColor gas;
};

const Stroke kStrokes[4] = {
    {"ВПУСК", "", QColor(70, 130, 190, 120)},
    {"СЖАТИЕ", "", QColor(90, 150, 210, 170)},
    {"РАБОЧИЙ", "ХОД", QColor(255, 140, 30, 200)},
    {"ВЫПУСК", "", QColor(120, 124, 130, 140)},
};

} // namespace

std::vector<QImage> PistonFrames(int width, int height, const QColor& backdrop) {
    std::vector<QImage> frames;
    constexpr int kFrames = 24;
    const qreal cx = 44; // cylinder axis
    const qreal crankY = height - 20.0;
    const qreal crank = 11; // crank radius
    const qreal rod = 36;   // connecting rod length
    const qreal boreHalf = 19;
    const qreal headBottom = 16; // underside of the cylinder head
    for (int f = 0; f < kFrames; ++f) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(backdrop);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);

        // Two crank turns make one cycle: frame 0 is top dead centre at the
        // start of the intake stroke.
        const qreal angle = f * 30.0 * M_PI / 180;
        const int stroke = (f / 6) % 4;
        const QPointF pin(cx + crank * std::sin(angle), crankY - crank * std::cos(angle));
        const qreal pistonPinY = pin.y() - std::sqrt(rod * rod - std::pow(pin.x() - cx, 2));
        const qreal pistonTop = pistonPinY - 9;

        // Cylinder bore and the gas above the piston.
        const QRectF bore(cx - boreHalf, headBottom, boreHalf * 2, crankY - headBottom);
        p.fillRect(bore, QColor(26, 30, 35));
        QColor gas = kStrokes[stroke].gas;
        const qreal inStroke = (f % 6) / 6.0;
        if (stroke == 2)
            gas.setAlpha(static_cast<int>(230 * (1.0 - inStroke * 0.8)));
        p.fillRect(QRectF(bore.left(), headBottom, bore.width(), pistonTop - headBottom), gas);
        if (stroke == 2 && f % 6 < 2) {
            QRadialGradient flash(QPointF(cx, headBottom + 3), 22);
            flash.setColorAt(0, QColor(255, 250, 220, 255));
            flash.setColorAt(0.4, QColor(255, 190, 80, 200));
            flash.setColorAt(1, QColor(255, 140, 30, 0));
            p.fillRect(QRectF(bore.left(), headBottom, bore.width(), pistonTop - headBottom),
                       flash);
        }

        // Walls with water jacket, and the head with its valves and plug.
        QLinearGradient wall(0, 0, 1, 0);
        wall.setCoordinateMode(QGradient::ObjectMode);
        wall.setColorAt(0, QColor(70, 78, 88));
        wall.setColorAt(0.5, QColor(130, 140, 152));
        wall.setColorAt(1, QColor(60, 66, 74));
        p.fillRect(QRectF(bore.left() - 7, headBottom - 1, 7, crankY - headBottom - 8), wall);
        p.fillRect(QRectF(bore.right(), headBottom - 1, 7, crankY - headBottom - 8), wall);
        QLinearGradient head(0, 2, 0, headBottom);
        head.setColorAt(0, QColor(150, 160, 172));
        head.setColorAt(1, QColor(72, 80, 90));
        p.fillPath(RoundedRect(QRectF(bore.left() - 9, 3, bore.width() + 18, headBottom - 3), 3),
                   head);
        // Valves open on their strokes.
        const qreal lift = 3.5 * std::sin(inStroke * M_PI);
        const qreal intake = stroke == 0 ? lift : 0;
        const qreal exhaust = stroke == 3 ? lift : 0;
        for (const auto& [x, open] :
             {std::pair{cx - 10.0, intake}, std::pair{cx + 10.0, exhaust}}) {
            p.setPen(QPen(QColor(200, 206, 214), 1.6));
            p.drawLine(QPointF(x, 1), QPointF(x, headBottom - 1 + open));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(200, 206, 214));
            p.drawRect(QRectF(x - 4, headBottom - 1.5 + open, 8, 2));
        }
        p.setBrush(stroke == 2 && f % 6 < 2 ? palette::kAccentHot : QColor(230, 230, 230));
        p.drawRect(QRectF(cx - 1.5, 0, 3, headBottom - 1));

        // Crank, rod and piston.
        QRadialGradient web(QPointF(cx, crankY), crank + 8);
        web.setColorAt(0, QColor(110, 120, 132));
        web.setColorAt(1, QColor(44, 50, 58));
        p.setBrush(web);
        p.setPen(QPen(QColor(10, 12, 14), 1));
        p.drawEllipse(QPointF(cx, crankY), crank + 6, crank + 6);
        p.setPen(QPen(QColor(178, 188, 200), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(cx, pistonPinY), pin);
        p.setPen(Qt::NoPen);
        p.setBrush(palette::kAccent);
        p.drawEllipse(pin, 2.6, 2.6);
        p.setBrush(QColor(30, 34, 40));
        p.drawEllipse(QPointF(cx, crankY), 3, 3);
        QLinearGradient skirt(bore.left(), 0, bore.right(), 0);
        skirt.setColorAt(0, QColor(120, 130, 142));
        skirt.setColorAt(0.45, QColor(226, 232, 238));
        skirt.setColorAt(1, QColor(100, 108, 118));
        p.fillPath(RoundedRect(QRectF(bore.left() + 1, pistonTop, bore.width() - 2, 20), 2), skirt);
        p.setPen(QPen(QColor(60, 66, 74), 1));
        for (int ring = 0; ring < 2; ++ring)
            p.drawLine(QPointF(bore.left() + 1, pistonTop + 3.5 + ring * 3),
                       QPointF(bore.right() - 1, pistonTop + 3.5 + ring * 3));
        p.setBrush(QColor(40, 44, 50));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(cx, pistonPinY), 2.4, 2.4);

        // The stroke's name and the four-step progress beside the cylinder.
        const qreal tx = 77;
        p.setFont(PixelFont(family::kSansCondensed, 9, true));
        p.setPen(stroke == 2 ? palette::kAccentHot : palette::kText);
        p.drawText(QPointF(tx, 30), kStrokes[stroke].first);
        p.drawText(QPointF(tx, 43), kStrokes[stroke].second);
        p.setFont(PixelFont(family::kSansCondensed, 9));
        p.setPen(palette::kTextFaint);
        p.drawText(QPointF(tx, 14), QStringLiteral("такт %1").arg(stroke + 1));
        for (int s = 0; s < 4; ++s) {
            const QRectF cell(tx + s * 10, 52, 8, 4);
            p.fillRect(cell, s == stroke ? palette::kAccent : QColor(52, 58, 66));
        }
        p.setPen(QPen(QColor(255, 255, 255, 30), 1));
        const qreal turn = (f % 12) * 30.0;
        p.setFont(PixelFont(family::kSansCondensed, 9));
        p.setPen(palette::kTextFaint);
        p.drawText(QPointF(tx, 72),
                   QStringLiteral("%1°").arg(static_cast<int>(turn + (f >= 12 ? 360 : 0))));
        p.end();
        frames.push_back(image);
    }
    return frames;
}

} // namespace skingen
