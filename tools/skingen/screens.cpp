#include "screens.h"

#include "cardrawing.h"
#include "glyphs.h"
#include "look.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>
#include <functional>

namespace skingen {

namespace {

using Painting = std::function<void(QPainter&)>;

void Paint(QImage& image, const Painting& paint) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paint(p);
}

QPainterPath OutlinePath(const QPolygonF& outline) {
    QPainterPath path;
    if (outline.size() >= 3)
        path.addPolygon(outline);
    else
        path.addRect(0, 0, kScreenWidth, kScreenHeight);
    path.closeSubpath();
    return path;
}

// The tab row of the screens that share the navigation tabs: the tabs
// themselves are buttons, so only the rail and the active tab are painted.
constexpr int kTabTop = 52;
constexpr int kTabWidth = 112;
constexpr int kTabHeight = 30;
constexpr int kTabStep = 116;
constexpr int kTabLeft = 33;

const QStringList& TabCaptions() {
    static const QStringList captions = {"Главная", "Руководство", "Мультимедиа", "Сервис"};
    return captions;
}

// Captions are drawn the way the program draws them: one character at a
// time, each moved right by the previous one's advance.
qreal CaptionWidth(const QFont& font, const QString& text) {
    const QFontMetricsF fm(font);
    qreal w = 0;
    for (const QChar ch : text)
        w += fm.horizontalAdvance(ch);
    return w;
}

void AddCarbon(QImage& image, const QRect& r, int amplitude) {
    const QRect area = r.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            // A 2/2 twill: diagonal bands of alternating thread direction.
            const int cell = ((x / 3) + (y / 3)) % 4;
            const int weave = ((x / 3) % 2 == (y / 3) % 2) ? 1 : -1;
            const int d = (cell < 2 ? weave : -weave) * amplitude;
            const QRgb c = line[x];
            line[x] = qRgba(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                            std::clamp(qBlue(c) + d, 0, 255), qAlpha(c));
        }
    }
}

class Screen {
public:
    explicit Screen(const QPolygonF& outline)
        : m_shape(OutlinePath(outline)),
          m_image(kScreenWidth, kScreenHeight, QImage::Format_ARGB32_Premultiplied) {
        m_image.fill(palette::kOutside);
        Paint(m_image, [&](QPainter& p) {
            QLinearGradient body(0, 0, 0, kScreenHeight);
            body.setColorAt(0, QColor(34, 38, 44));
            body.setColorAt(0.55, QColor(25, 28, 33));
            body.setColorAt(1, QColor(18, 20, 24));
            p.fillPath(m_shape, body);
            QRadialGradient light(QPointF(400, 60), 520);
            light.setColorAt(0, QColor(120, 140, 160, 34));
            light.setColorAt(1, QColor(120, 140, 160, 0));
            p.fillPath(m_shape, light);
            // Title strip.
            QLinearGradient strip(0, 0, 0, 44);
            strip.setColorAt(0, QColor(40, 45, 52));
            strip.setColorAt(1, QColor(22, 25, 29));
            p.fillRect(QRectF(0, 0, kScreenWidth, 44), strip);
        });
        AddGrain(m_image, m_image.rect(), 2.2, 11);
        AddCarbon(m_image, QRect(0, 0, kScreenWidth, 44), 2);
        Paint(m_image, [&](QPainter& p) { PaintTitleStrip(p); });
    }

    QImage& Image() { return m_image; }

    // Cards are painted first, then brushed, then written on.
    void Cards(const std::vector<QRectF>& cards) {
        Paint(m_image, [&](QPainter& p) {
            for (const QRectF& r : cards)
                DrawCard(p, r);
        });
        for (std::size_t i = 0; i < cards.size(); ++i)
            AddBrushed(m_image, RoundedRect(cards[i].adjusted(1, 2, -1, -1), 8), 2.6,
                       static_cast<int>(31 + i));
    }

    void Draw(const Painting& paint) { Paint(m_image, paint); }

    void TabRow(int active) {
        Paint(m_image, [&](QPainter& p) {
            const qreal rail = kTabTop + kTabHeight + 0.5;
            p.setPen(QPen(QColor(0, 0, 0, 200), 1));
            p.drawLine(QPointF(29, rail), QPointF(787, rail));
            p.setPen(QPen(QColor(255, 255, 255, 24), 1));
            p.drawLine(QPointF(29, rail + 1), QPointF(787, rail + 1));

            const QRectF r(kTabLeft + active * kTabStep + 1, kTabTop + 2, kTabWidth - 2,
                           kTabHeight - 1);
            QPainterPath tab;
            tab.moveTo(r.left(), r.bottom() + 1.5);
            tab.lineTo(r.left(), r.top() + 6);
            tab.quadTo(r.left(), r.top(), r.left() + 6, r.top());
            tab.lineTo(r.right() - 6, r.top());
            tab.quadTo(r.right(), r.top(), r.right(), r.top() + 6);
            tab.lineTo(r.right(), r.bottom() + 1.5);
            QLinearGradient fill(r.topLeft(), r.bottomLeft());
            fill.setColorAt(0, QColor(66, 75, 86));
            fill.setColorAt(1, QColor(34, 39, 45));
            p.fillPath(tab, fill);
            p.setPen(QPen(QColor(5, 6, 8), 1));
            p.drawPath(tab);
            QLinearGradient bar(r.topLeft(), r.topRight());
            bar.setColorAt(0, palette::kAccentDeep);
            bar.setColorAt(0.5, palette::kAccentHot);
            bar.setColorAt(1, palette::kAccentDeep);
            p.fillPath(RoundedRect(QRectF(r.left() + 1, r.top() + 0.5, r.width() - 2, 2.5), 1.2),
                       bar);
            const QFont font = PixelFont(family::kSansCondensed, 12, true);
            const QString caption = TabCaptions().value(active);
            const qreal left = std::round(r.center().x() - CaptionWidth(font, caption) / 2);
            p.setFont(font);
            p.setPen(QColor(255, 255, 255));
            const QFontMetricsF fm(font);
            qreal x = left;
            for (const QChar ch : caption) {
                p.drawText(QPointF(x, kTabTop + 8 + fm.ascent()), QString(ch));
                x += fm.horizontalAdvance(ch);
            }
        });
    }

    // The recess where piston.gif plays, and the grille beside it.
    void PistonBay(bool grille) {
        Paint(m_image, [&](QPainter& p) {
            const QRectF well(kPistonLeft - 6, kPistonTop - 8, kPistonWidth + 12,
                              kPistonHeight + 16);
            DrawWell(p, well, 8);
            p.setFont(PixelFont(family::kSansCondensed, 9, true));
            p.setPen(palette::kTextFaint);
            DrawSpacedText(p, QPointF(well.left() + 2, well.top() - 5), "ЦИКЛ ДВИГАТЕЛЯ", 1.4);
            if (!grille)
                return;
            const QRectF g(727, 466, 58, 104);
            DrawWell(p, g, 8, QColor(16, 18, 22));
            for (int row = 0; row < 9; ++row)
                for (int col = 0; col < 3; ++col) {
                    const QRectF slot(g.left() + 9 + col * 14, g.top() + 10 + row * 10.0, 10, 4);
                    p.fillPath(RoundedRect(slot, 2), QColor(2, 3, 4));
                    p.setPen(QPen(QColor(255, 255, 255, 20), 1));
                    p.drawLine(QPointF(slot.left() + 2, slot.bottom() + 0.5),
                               QPointF(slot.right() - 2, slot.bottom() + 0.5));
                }
        });
    }

    // Everything outside the window's outline goes dark, and the outline
    // gets a fine bevel.
    QImage Finish() {
        Paint(m_image, [&](QPainter& p) {
            QPainterPath outside;
            outside.addRect(0, 0, kScreenWidth, kScreenHeight);
            outside = outside.subtracted(m_shape);
            p.fillPath(outside, palette::kOutside);
            p.save();
            p.setClipPath(m_shape);
            p.setPen(QPen(QColor(170, 182, 196, 70), 2.0));
            p.drawPath(m_shape);
            p.restore();
            p.setPen(QPen(QColor(0, 0, 0, 255), 1.0));
            p.drawPath(m_shape);
        });
        return m_image.convertToFormat(QImage::Format_RGB888);
    }

private:
    void PaintTitleStrip(QPainter& p) {
        p.setPen(QPen(QColor(0, 0, 0, 220), 1));
        p.drawLine(QPointF(0, 43.5), QPointF(kScreenWidth, 43.5));
        QLinearGradient line(0, 0, kScreenWidth, 0);
        line.setColorAt(0, QColor(255, 159, 28, 0));
        line.setColorAt(0.15, QColor(255, 159, 28, 150));
        line.setColorAt(0.5, QColor(255, 190, 90, 220));
        line.setColorAt(0.85, QColor(255, 159, 28, 150));
        line.setColorAt(1, QColor(255, 159, 28, 0));
        p.fillRect(QRectF(0, 44, kScreenWidth, 1), line);

        // Emblem: a hexagon around a piston.
        QPolygonF hex;
        const QPointF c(29, 22);
        for (int i = 0; i < 6; ++i) {
            const qreal a = (60 * i - 90) * M_PI / 180;
            hex << c + QPointF(std::cos(a) * 13, std::sin(a) * 13);
        }
        QPainterPath badge;
        badge.addPolygon(hex);
        badge.closeSubpath();
        QLinearGradient metal(c - QPointF(0, 13), c + QPointF(0, 13));
        metal.setColorAt(0, QColor(60, 68, 78));
        metal.setColorAt(1, QColor(22, 25, 29));
        p.fillPath(badge, metal);
        p.setPen(QPen(palette::kAccent, 1.4));
        p.drawPath(badge);
        p.fillPath(RoundedRect(QRectF(c.x() - 5, c.y() - 7, 10, 7), 1.5), palette::kSteelLight);
        p.setPen(QPen(palette::kSteelLight, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(0, 0), c + QPointF(0, 6));
        p.setPen(QPen(palette::kAccentHot, 1));
        p.drawLine(c + QPointF(-5, -4.5), c + QPointF(5, -4.5));

        const QFont title = PixelFont(family::kSans, 13);
        p.setFont(title);
        p.setPen(palette::kText);
        const QString text = "Руководство по ремонту и эксплуатации автомобиля";
        p.drawText(QPointF(52, 27), text);
        const qreal after = 52 + QFontMetricsF(title).horizontalAdvance(text);
        p.setFont(PixelFont(family::kSansCondensed, 11));
        p.setPen(palette::kAccent);
        p.drawText(QPointF(after + 12, 27), "·  демонстрационный выпуск");
    }

    QPainterPath m_shape;
    QImage m_image;
};

void Paragraph(QPainter& p, const QRectF& r, const QString& text, const QFont& font,
               const QColor& color) {
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

void HudCorners(QPainter& p, const QRectF& r, const QColor& color) {
    p.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::SquareCap));
    const qreal l = 12, m = 7;
    const QRectF i = r.adjusted(m, m, -m, -m);
    p.drawPolyline(
        QPolygonF({i.topLeft() + QPointF(0, l), i.topLeft(), i.topLeft() + QPointF(l, 0)}));
    p.drawPolyline(
        QPolygonF({i.topRight() - QPointF(l, 0), i.topRight(), i.topRight() + QPointF(0, l)}));
    p.drawPolyline(QPolygonF(
        {i.bottomLeft() - QPointF(0, l), i.bottomLeft(), i.bottomLeft() + QPointF(l, 0)}));
    p.drawPolyline(QPolygonF(
        {i.bottomRight() - QPointF(l, 0), i.bottomRight(), i.bottomRight() - QPointF(0, l)}));
}

void Glass(QPainter& p, const QRectF& r) {
    DrawWell(p, r, 8, palette::kGlass);
    p.save();
    p.setClipPath(RoundedRect(r.adjusted(1, 1, -1, -1), 8));
    QLinearGradient depth(r.topLeft(), r.bottomLeft());
    depth.setColorAt(0, QColor(24, 34, 44, 160));
    depth.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(r, depth);
    p.setPen(QPen(QColor(110, 150, 190, 16), 1));
    for (qreal x = r.left() + 20.5; x < r.right(); x += 20)
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    for (qreal y = r.top() + 20.5; y < r.bottom(); y += 20)
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    // A soft reflection across the upper half of the glass.
    QPainterPath glare;
    glare.moveTo(r.left(), r.top());
    glare.lineTo(r.left() + r.width() * 0.55, r.top());
    glare.lineTo(r.left() + r.width() * 0.25, r.bottom());
    glare.lineTo(r.left(), r.bottom());
    glare.closeSubpath();
    QLinearGradient shine(r.topLeft(), r.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 10));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(glare, shine);
    p.restore();
    HudCorners(p, r, QColor(255, 159, 28, 150));
}

void DrawCallout(QPainter& p, QPointF at, qreal labelX, qreal labelY, const QString& title,
                 const QString& sub, bool labelOnLeft) {
    const QFont titleFont = PixelFont(family::kSansCondensed, 11, true);
    const QFont subFont = PixelFont(family::kSerif, 10, false, true);
    const qreal titleWidth = SpacedTextWidth(titleFont, title, 1.5);
    const qreal lineY = labelY + 5;
    const qreal textLeft = labelX;
    const qreal near = labelOnLeft ? labelX + titleWidth + 6 : labelX - 6;
    // Leader: from the part, diagonally to the label's line, then along it.
    const qreal dy = lineY - at.y();
    const QPointF knee(at.x() + (labelOnLeft ? -1 : 1) * std::abs(dy) * 0.6, lineY);
    p.setPen(QPen(QColor(255, 159, 28, 180), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({at, knee, QPointF(near, lineY)}));
    p.setPen(QPen(QColor(255, 159, 28, 90), 1));
    p.drawLine(QPointF(textLeft, lineY), QPointF(textLeft + titleWidth, lineY));
    QPainterPath dot;
    dot.addEllipse(at, 3, 3);
    DrawShadow(p, dot, QPointF(0, 0), 2, QColor(255, 159, 28, 200));
    p.fillPath(dot, palette::kAccentHot);
    p.setPen(QPen(QColor(255, 159, 28, 150), 1));
    p.drawEllipse(at, 6.5, 6.5);
    p.setFont(titleFont);
    p.setPen(palette::kText);
    DrawSpacedText(p, QPointF(textLeft, labelY), title, 1.5);
    p.setFont(subFont);
    p.setPen(palette::kTextDim);
    p.drawText(QPointF(textLeft, lineY + 15), sub);
}

void Gauge(QPainter& p, QPointF c, qreal r, qreal value, bool tacho) {
    QPainterPath face;
    face.addEllipse(c, r, r);
    DrawShadow(p, face, QPointF(0, 1.5), 2, QColor(0, 0, 0, 180));
    QRadialGradient fill(c - QPointF(0, r * 0.4), r * 1.4);
    fill.setColorAt(0, QColor(30, 36, 43));
    fill.setColorAt(1, QColor(8, 10, 12));
    p.fillPath(face, fill);
    QLinearGradient bezel(c - QPointF(0, r), c + QPointF(0, r));
    bezel.setColorAt(0, QColor(150, 160, 172));
    bezel.setColorAt(0.5, QColor(50, 56, 64));
    bezel.setColorAt(1, QColor(140, 150, 162));
    p.setPen(QPen(QBrush(bezel), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    const qreal start = tacho ? 225 : 200, sweep = tacho ? 270 : 140;
    const int ticks = tacho ? 8 : 4;
    for (int i = 0; i <= ticks * 2; ++i) {
        const qreal a = (start - sweep * i / (ticks * 2)) * M_PI / 180;
        const bool major = i % 2 == 0;
        const bool red = tacho ? i >= ticks * 2 - 3 : i == ticks * 2;
        p.setPen(QPen(red ? palette::kAlert : QColor(190, 198, 208), major ? 1.6 : 1));
        const qreal r1 = r - 4, r2 = r - (major ? 10 : 7);
        p.drawLine(c + QPointF(std::cos(a) * r1, -std::sin(a) * r1),
                   c + QPointF(std::cos(a) * r2, -std::sin(a) * r2));
        if (tacho && major) {
            p.setFont(PixelFont(family::kSansCondensed, 8));
            p.setPen(palette::kTextDim);
            const QPointF t = c + QPointF(std::cos(a) * (r - 17), -std::sin(a) * (r - 17));
            p.drawText(QRectF(t.x() - 6, t.y() - 5, 12, 10), Qt::AlignCenter,
                       QString::number(i / 2));
        }
    }
    const qreal a = (start - sweep * value) * M_PI / 180;
    QPainterPath needle;
    needle.moveTo(c + QPointF(std::cos(a) * (r - 6), -std::sin(a) * (r - 6)));
    needle.lineTo(c + QPointF(std::cos(a + M_PI / 2) * 2, -std::sin(a + M_PI / 2) * 2));
    needle.lineTo(c + QPointF(std::cos(a - M_PI / 2) * 2, -std::sin(a - M_PI / 2) * 2));
    needle.closeSubpath();
    DrawShadow(p, needle, QPointF(0, 0), 2, QColor(255, 120, 20, 160));
    p.fillPath(needle, palette::kAccent);
    QPainterPath hub;
    hub.addEllipse(c, 3.5, 3.5);
    p.fillPath(hub, QColor(60, 66, 74));
}

QImage PaintTitle(const QPolygonF& outline) {
    Screen s(outline);
    const QRectF display(31, 135, 656, 259);
    const QRectF instruments(697, 135, 90, 259);
    const QRectF menu(25, 404, 548, 112);
    s.Cards({instruments, menu});
    s.PistonBay(false);
    s.Draw([&](QPainter& p) {
        // Hero title in brushed steel letters.
        QFont big = PixelFont(family::kLiberationSans, 30, true);
        big.setLetterSpacing(QFont::AbsoluteSpacing, 2.0);
        QPainterPath title;
        title.addText(QPointF(36, 88), big, "РУКОВОДСТВО ПО РЕМОНТУ");
        DrawShadow(p, title, QPointF(0, 2), 2, QColor(0, 0, 0, 200));
        QLinearGradient steel(0, 64, 0, 90);
        steel.setColorAt(0, QColor(246, 248, 251));
        steel.setColorAt(0.55, QColor(176, 188, 202));
        steel.setColorAt(0.56, QColor(140, 152, 166));
        steel.setColorAt(1, QColor(206, 214, 224));
        p.fillPath(title, steel);
        p.setFont(PixelFont(family::kLiberationSerif, 23, false, true));
        p.setPen(QColor(176, 186, 198));
        p.drawText(QPointF(38, 118), "и эксплуатации автомобиля");

        const QRectF badge(577, 64, 210, 50);
        p.setPen(QPen(QColor(255, 159, 28, 200), 1.2));
        p.setBrush(QColor(255, 159, 28, 18));
        p.drawPath(RoundedRect(badge.adjusted(0.5, 0.5, -0.5, -0.5), 6));
        p.setFont(PixelFont(family::kSansCondensed, 12, true));
        p.setPen(palette::kAccent);
        DrawSpacedText(p, QPointF(badge.left() + 14, badge.top() + 21), "ДЕМОНСТРАЦИОННЫЙ", 1.6);
        p.setFont(PixelFont(family::kSansCondensed, 11));
        p.setPen(palette::kTextDim);
        DrawSpacedText(p, QPointF(badge.left() + 14, badge.top() + 39), "ВЫПУСК  ·  СЕДАН", 1.6);

        Glass(p, display);
        p.setFont(PixelFont(family::kSansCondensed, 10, true));
        p.setPen(QColor(150, 170, 190, 150));
        DrawSpacedText(p, QPointF(display.left() + 22, display.top() + 26), "ОБЩИЙ ВИД", 1.5);
        p.setFont(PixelFont(family::kSansCondensed, 10));
        p.setPen(QColor(150, 170, 190, 110));
        DrawSpacedText(p, QPointF(display.right() - 128, display.top() + 26), "МАСШТАБ 1 : 40",
                       1.5);

        // The car, its dimensions and the chapters its parts belong to.
        const QRectF car(140, 186, 437, 142.5);
        DrawCar(p, car);
        auto at = [&](qreal x, qreal y) {
            return QPointF(car.left() + x * 0.95, car.top() + y * 0.95);
        };
        const qreal dimY = 351;
        p.setPen(QPen(QColor(150, 170, 190, 130), 1));
        p.drawLine(QPointF(car.left() + 6, dimY), QPointF(car.right() - 6, dimY));
        for (qreal x : {car.left() + 6, car.right() - 6})
            p.drawLine(QPointF(x, dimY - 5), QPointF(x, dimY + 5));
        p.setFont(PixelFont(family::kSansCondensed, 10));
        p.setPen(QColor(170, 186, 204, 190));
        const QString length = "4 520 мм";
        const qreal lw = QFontMetricsF(p.font()).horizontalAdvance(length);
        p.fillRect(QRectF(car.center().x() - lw / 2 - 6, dimY - 7, lw + 12, 14), palette::kGlass);
        p.drawText(QPointF(car.center().x() - lw / 2, dimY + 4), length);
        DrawCallout(p, at(16, 86), 54, 190, "ЭЛЕКТРИКА", "глава 3", true);
        DrawCallout(p, at(98, 112), 54, 296, "ОБСЛУЖИВАНИЕ", "глава 4", true);
        DrawCallout(p, at(404, 76), 590, 190, "ДВИГАТЕЛЬ", "глава 2", false);
        DrawCallout(p, at(384, 100), 590, 296, "ТОРМОЗА", "глава 1", false);

        // Instruments beside the display.
        Gauge(p, QPointF(instruments.center().x(), 188), 34, 0.24, true);
        p.setFont(PixelFont(family::kSansCondensed, 9));
        p.setPen(palette::kTextFaint);
        p.drawText(QRectF(instruments.left(), 226, instruments.width(), 12), Qt::AlignCenter,
                   "×1000 об/мин");
        Gauge(p, QPointF(instruments.center().x(), 284), 30, 0.5, false);
        p.setFont(PixelFont(family::kSansCondensed, 9));
        p.setPen(palette::kTextFaint);
        p.drawText(QRectF(instruments.left(), 318, instruments.width(), 12), Qt::AlignCenter,
                   "ОЖ, °C");
        const QRectF odo(instruments.left() + 9, 346, instruments.width() - 18, 24);
        DrawWell(p, odo, 4, QColor(8, 9, 11));
        p.setFont(PixelFont(QStringLiteral("DejaVu Sans Mono"), 13, true));
        p.setPen(palette::kAccent);
        p.drawText(odo, Qt::AlignCenter, "015000");
        p.setFont(PixelFont(family::kSansCondensed, 9));
        p.setPen(palette::kTextFaint);
        p.drawText(QRectF(instruments.left(), 372, instruments.width(), 12), Qt::AlignCenter,
                   "пробег, км");

        p.setFont(PixelFont(family::kSans, 11));
        p.setPen(palette::kTextDim);
        p.drawText(QPointF(31, 538),
                   "Выберите раздел: страницы руководства, мультимедиа или сервис.");
        p.setFont(PixelFont(family::kSerif, 10, false, true));
        p.setPen(palette::kTextFaint);
        p.drawText(QPointF(31, 556),
                   "Демонстрационный выпуск. Иллюстрации, анимация и звуки созданы программно.");
    });
    return s.Finish();
}

QImage PaintManual(const QPolygonF& outline) {
    Screen s(outline);
    s.Cards({QRectF(25, 522, 769, 44)});
    s.TabRow(1);
    s.Draw([&](QPainter& p) {
        // Page title line, filled in by the program.
        DrawWell(p, QRectF(505, 54, 201, 26), 5);
        // The frame of the background panel that carries the tree and pages.
        const QRectF panel(33, 90, 673, 421);
        DrawWell(p, panel.adjusted(-4, -4, 4, 4), 7, QColor(14, 16, 19));
        p.fillRect(panel, QColor(20, 23, 27));
        p.setPen(QPen(QColor(0, 0, 0, 220), 1));
        p.drawRect(panel.adjusted(-0.5, -0.5, 0.5, 0.5));
        p.setOpacity(0.07);
        DrawCar(p, QRectF(panel.center().x() - 170, panel.center().y() - 90, 340, 111));
        p.setOpacity(1);
        p.setFont(PixelFont(family::kSerif, 14, false, true));
        p.setPen(palette::kTextFaint);
        p.drawText(QRectF(panel.left(), panel.center().y() + 40, panel.width(), 24),
                   Qt::AlignCenter, "Выберите раздел в оглавлении");

        // Tool rail on the right.
        DrawWell(p, QRectF(715, 88, 72, 418), 9, QColor(17, 19, 23));
        // The chapter switches sit in one recess, like a segmented control.
        DrawWell(p, QRectF(31, 528, 422, 32), 6, QColor(14, 16, 19));
        // Status line along the foot of the window, hot keys beside it.
        DrawWell(p, QRectF(33, 569, 466, 23), 5);
        p.setFont(PixelFont(family::kSansCondensed, 10));
        p.setPen(palette::kTextFaint);
        const QString keys = "Shift+↑↓ — разделы   ·   F1 — справка";
        p.drawText(QRectF(506, 572, 280, 18), Qt::AlignRight | Qt::AlignVCenter, keys);
    });
    return s.Finish();
}

QImage PaintMedia(const QPolygonF& outline) {
    Screen s(outline);
    const QRectF side(537, 92, 250, 300);
    const QRectF about(33, 462, 536, 112);
    s.Cards({side, about});
    s.TabRow(2);
    s.PistonBay(true);
    s.Draw([&](QPainter& p) {
        const QRectF display(33, 92, 488, 300);
        Glass(p, display);
        DrawGlyph(p, "film", QRectF(display.center().x() - 40, display.center().y() - 64, 80, 80),
                  QColor(110, 150, 190, 40));
        p.setFont(PixelFont(family::kSerif, 14, false, true));
        p.setPen(QColor(150, 170, 190, 110));
        p.drawText(QRectF(display.left(), display.center().y() + 26, display.width(), 22),
                   Qt::AlignCenter, "Видеофрагменты и фотографии узлов");
        p.setFont(PixelFont(family::kSansCondensed, 10));
        p.setPen(QColor(150, 170, 190, 90));
        p.drawText(QRectF(display.left(), display.center().y() + 48, display.width(), 18),
                   Qt::AlignCenter, "Выберите звук, клип или кадр справа");

        // The transport rail under the display.
        DrawWell(p, QRectF(133, 398, 288, 56), 28, QColor(16, 18, 22));

        DrawHeading(p, QPointF(side.left() + 12, 110), "Звуки");
        DrawHeading(p, QPointF(side.left() + 12, 212), "Слайд-шоу");
        DrawHeading(p, QPointF(side.left() + 12, 314), "Музыка");
        p.setFont(PixelFont(family::kSerif, 10, false, true));
        p.setPen(palette::kTextFaint);
        p.drawText(QRectF(side.left() + 14, 362, side.width() - 28, 28),
                   Qt::AlignLeft | Qt::TextWordWrap,
                   "Фоновая музыка звучит при запуске; её можно выключить в настройках.");

        DrawHeading(p, QPointF(about.left() + 14, about.top() + 22), "О разделе");
        Paragraph(p, QRectF(about.left() + 16, about.top() + 32, about.width() - 32, 76),
                  "Видеофрагменты показывают разборку и сборку узлов, звуки помогают узнать "
                  "неисправность на слух, фотографии открываются слайд-шоу. Кнопки под экраном "
                  "управляют воспроизведением: назад и вперёд на 10 секунд, пауза, остановка.",
                  PixelFont(family::kSans, 11), palette::kTextDim);
    });
    return s.Finish();
}

QImage PaintService(const QPolygonF& outline) {
    Screen s(outline);
    const QRectF program(33, 92, 348, 230);
    const QRectF search(396, 92, 391, 230);
    const QRectF folder(33, 338, 536, 236);
    const QRectF keys(589, 338, 198, 108);
    s.Cards({program, search, folder, keys});
    s.TabRow(3);
    s.PistonBay(true);
    s.Draw([&](QPainter& p) {
        DrawHeading(p, QPointF(program.left() + 14, 112), "Программа");
        DrawHeading(p, QPointF(search.left() + 14, 112), "Поиск по тексту");
        p.setFont(PixelFont(family::kSansCondensed, 11, true));
        p.setPen(palette::kTextDim);
        p.drawText(QPointF(search.left() + 18, 186), "Область поиска");
        p.setPen(QPen(QColor(255, 255, 255, 16), 1));
        p.drawLine(QPointF(search.left() + 110, 182.5), QPointF(search.right() - 16, 182.5));
        Paragraph(p, QRectF(search.left() + 18, 272, search.width() - 36, 40),
                  "Настройки поиска сохраняются и действуют при следующем запуске.",
                  PixelFont(family::kSerif, 10, false, true), palette::kTextFaint);

        // The folder typed in the path box, and under it the page that
        // offers the manual's files for copying into that folder.
        DrawHeading(p, QPointF(folder.left() + 14, folder.top() + 22), "Папка для файлов");
        DrawWell(p, QRectF(folder.left() + 16, folder.top() + 34, folder.width() - 32, 26), 5);
        DrawWell(p, QRectF(folder.left() + 16, folder.top() + 68, folder.width() - 32, 156), 5,
                 QColor(20, 23, 27));

        DrawHeading(p, QPointF(keys.left() + 14, keys.top() + 22), "Клавиши");
        const QFont keyFont = PixelFont(family::kSansCondensed, 10, true);
        const QFont whatFont = PixelFont(family::kSansCondensed, 10);
        const QList<std::pair<QString, QString>> list = {{"F1", "справка"},
                                                         {"Esc", "закрыть списки"},
                                                         {"Ctrl+F", "поиск"},
                                                         {"Ctrl+P", "печать"}};
        qreal y = keys.top() + 42;
        for (const auto& [key, what] : list) {
            const QRectF cap(keys.left() + 16, y - 11, 48, 15);
            p.setPen(QPen(QColor(255, 255, 255, 40), 1));
            p.setBrush(QColor(255, 255, 255, 10));
            p.drawPath(RoundedRect(cap, 3));
            p.setFont(keyFont);
            p.setPen(palette::kAccent);
            p.drawText(cap, Qt::AlignCenter, key);
            p.setFont(whatFont);
            p.setPen(palette::kTextDim);
            p.drawText(QPointF(cap.right() + 10, y), what);
            y += 17;
        }
    });
    return s.Finish();
}

} // namespace

QStringList ScreenNames() {
    return {"title", "manual", "media", "service"};
}

QImage PaintScreen(const QString& name, const QPolygonF& outline) {
    if (name == "title")
        return PaintTitle(outline);
    if (name == "manual")
        return PaintManual(outline);
    if (name == "media")
        return PaintMedia(outline);
    if (name == "service")
        return PaintService(outline);
    return {};
}

} // namespace skingen
