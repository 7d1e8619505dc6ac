#include "look.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace skingen {

void LoadFonts() {
    static const char* const kFiles[] = {
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf",
        "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
        "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
        "/usr/share/fonts/truetype/liberation2/LiberationSans-Italic.ttf",
        "/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf",
        "/usr/share/fonts/truetype/liberation2/LiberationSerif-Bold.ttf",
        "/usr/share/fonts/truetype/liberation2/LiberationSerif-Italic.ttf",
    };
    for (const char* file : kFiles)
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
}

QFont PixelFont(const QString& family, int pixels, bool bold, bool italic) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

double Hash01(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0x1000000);
}

namespace {

int Clamp255(double v) {
    return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
}

void AddToPixel(QImage& image, int x, int y, double delta) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const QRgb c = line[x];
    line[x] = qRgba(Clamp255(qRed(c) + delta), Clamp255(qGreen(c) + delta),
                    Clamp255(qBlue(c) + delta), qAlpha(c));
}

} // namespace

void AddGrain(QImage& image, const QRect& r, double amplitude, int seed) {
    const QRect area = r.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            AddToPixel(image, x, y, (Hash01(x, y, seed) - 0.5) * 2.0 * amplitude);
}

void AddBrushed(QImage& image, const QPainterPath& area, double amplitude, int seed) {
    const QRect box = area.boundingRect().toAlignedRect().intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        // A streak is a row offset plus a slow wave along x; neighbours in a
        // row share most of their value, which reads as brushing.
        const double row = (Hash01(0, y, seed) - 0.5) * 2.0;
        const double phase = Hash01(1, y, seed) * 6.283;
        for (int x = box.left(); x <= box.right(); ++x) {
            if (!area.contains(QPointF(x + 0.5, y + 0.5)))
                continue;
            const double wave = std::sin(x * 0.021 + phase) * 0.35;
            const double fine = (Hash01(x / 3, y, seed + 7) - 0.5) * 0.6;
            AddToPixel(image, x, y, (row * 0.7 + wave + fine) * amplitude);
        }
    }
}

QImage Blurred(const QImage& source, int radius) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (radius <= 0)
        return image;
    const int w = image.width(), h = image.height();
    std::vector<int> sum(4 * (std::max(w, h) + 1));
    auto pass = [&](bool horizontal) {
        const int lines = horizontal ? h : w;
        const int length = horizontal ? w : h;
        for (int l = 0; l < lines; ++l) {
            auto at = [&](int i) -> QRgb& {
                return horizontal ? reinterpret_cast<QRgb*>(image.scanLine(l))[i]
                                  : reinterpret_cast<QRgb*>(image.scanLine(i))[l];
            };
            std::fill(sum.begin(), sum.end(), 0);
            for (int i = 0; i < length; ++i) {
                const QRgb c = at(i);
                sum[4 * (i + 1) + 0] = sum[4 * i + 0] + qAlpha(c);
                sum[4 * (i + 1) + 1] = sum[4 * i + 1] + qRed(c);
                sum[4 * (i + 1) + 2] = sum[4 * i + 2] + qGreen(c);
                sum[4 * (i + 1) + 3] = sum[4 * i + 3] + qBlue(c);
            }
            for (int i = 0; i < length; ++i) {
                const int a = std::max(0, i - radius), b = std::min(length, i + radius + 1);
                const int n = b - a;
                auto avg = [&](int k) { return (sum[4 * b + k] - sum[4 * a + k] + n / 2) / n; };
                at(i) = qRgba(avg(1), avg(2), avg(3), avg(0));
            }
        }
    };
    for (int k = 0; k < 3; ++k) {
        pass(true);
        pass(false);
    }
    return image;
}

void DrawShadow(QPainter& p, const QPainterPath& path, QPointF offset, int blur,
                const QColor& color) {
    const int margin = blur * 3 + 2;
    const QRect box =
        path.boundingRect().toAlignedRect().adjusted(-margin, -margin, margin, margin);
    QImage layer(box.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        lp.translate(-box.topLeft() + offset);
        lp.fillPath(path, color);
    }
    p.drawImage(box.topLeft(), Blurred(layer, blur));
}

void DrawGlow(QPainter& p, const QPainterPath& path, int blur, const QColor& color, qreal width) {
    const int margin = blur * 3 + 4;
    const QRect box =
        path.boundingRect().toAlignedRect().adjusted(-margin, -margin, margin, margin);
    QImage layer(box.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        lp.translate(-box.topLeft());
        lp.strokePath(path, QPen(color, width));
    }
    p.drawImage(box.topLeft(), Blurred(layer, blur));
}

QPainterPath RoundedRect(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void DrawCard(QPainter& p, const QRectF& r, qreal radius) {
    const QPainterPath body = RoundedRect(r, radius);
    DrawShadow(p, body, QPointF(0, 3), 4, QColor(0, 0, 0, 150));
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(38, 43, 50));
    fill.setColorAt(1, QColor(27, 31, 36));
    p.fillPath(body, fill);
    p.setPen(QPen(QColor(6, 7, 9), 1));
    p.drawPath(RoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius));
    p.setPen(QPen(QColor(255, 255, 255, 26), 1));
    p.drawLine(QPointF(r.left() + radius, r.top() + 1.5),
               QPointF(r.right() - radius, r.top() + 1.5));
}

void DrawWell(QPainter& p, const QRectF& r, qreal radius, const QColor& inside) {
    const QPainterPath body = RoundedRect(r, radius);
    p.fillPath(body, inside);
    p.save();
    p.setClipPath(body);
    // The inner shadow: a dark blurred frame that falls from the top edge.
    QPainterPath frame;
    frame.addRect(r.adjusted(-20, -20, 20, 20));
    frame.addPath(RoundedRect(r.adjusted(0, 2, 0, 0), radius));
    frame.setFillRule(Qt::OddEvenFill);
    DrawShadow(p, frame, QPointF(0, 1), 3, QColor(0, 0, 0, 200));
    p.restore();
    p.setPen(QPen(QColor(0, 0, 0, 170), 1));
    p.drawPath(RoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius));
    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    p.drawLine(QPointF(r.left() + radius, r.bottom() + 0.5),
               QPointF(r.right() - radius, r.bottom() + 0.5));
}

qreal SpacedTextWidth(const QFont& font, const QString& text, qreal spacing) {
    const QFontMetricsF fm(font);
    qreal w = 0;
    for (const QChar ch : text)
        w += fm.horizontalAdvance(ch) + spacing;
    return text.isEmpty() ? 0 : w - spacing;
}

void DrawSpacedText(QPainter& p, QPointF baseline, const QString& text, qreal spacing) {
    const QFontMetricsF fm(p.font());
    qreal x = baseline.x();
    for (const QChar ch : text) {
        p.drawText(QPointF(x, baseline.y()), QString(ch));
        x += fm.horizontalAdvance(ch) + spacing;
    }
}

void DrawHeading(QPainter& p, QPointF baseline, const QString& text, int pixels) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(baseline.x(), baseline.y() - pixels + 1, 3, pixels - 1), palette::kAccent);
    p.setFont(PixelFont(family::kSansCondensed, pixels, true));
    p.setPen(palette::kTextDim);
    DrawSpacedText(p, baseline + QPointF(9, 0), text.toUpper(), 1.6);
    p.restore();
}

} // namespace skingen
