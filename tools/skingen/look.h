#pragma once
// The look shared by every picture of the demo skin: a graphite and steel
// palette with one amber accent, the fonts, and the painting helpers
// (textures, soft shadows, raised cards, recessed wells, headings).
// Everything here is deterministic: textures come from a hash of the pixel
// position, never from a random generator, so the same input gives the same
// bytes and a texture continues seamlessly between pictures cut from it.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;

namespace skingen {

namespace palette {
inline const QColor kOutside{10, 11, 13};
inline const QColor kDeep{13, 15, 18};
inline const QColor kBase{24, 27, 32};
inline const QColor kBaseLight{36, 41, 48};
inline const QColor kSteelDark{52, 59, 68};
inline const QColor kSteel{92, 104, 118};
inline const QColor kSteelLight{150, 162, 176};
inline const QColor kText{226, 230, 236};
inline const QColor kTextDim{141, 152, 165};
inline const QColor kTextFaint{88, 98, 110};
inline const QColor kAccent{255, 159, 28};
inline const QColor kAccentHot{255, 196, 96};
inline const QColor kAccentDeep{196, 106, 0};
inline const QColor kAlert{226, 83, 61};
inline const QColor kGlass{12, 17, 22};
} // namespace palette

namespace family {
inline const QString kSans = QStringLiteral("DejaVu Sans");
inline const QString kSansCondensed = QStringLiteral("DejaVu Sans Condensed");
inline const QString kSerif = QStringLiteral("DejaVu Serif");
inline const QString kLiberationSans = QStringLiteral("Liberation Sans");
inline const QString kLiberationSerif = QStringLiteral("Liberation Serif");
} // namespace family

// Registers the packaged font files so that the pictures do not depend on
// what the font configuration would substitute.
void LoadFonts();

QFont PixelFont(const QString& family, int pixels, bool bold = false, bool italic = false);

// A value in [0, 1) that depends only on its arguments.
double Hash01(int x, int y, int seed);

// Adds fine grain (amplitude in colour levels) inside r.
void AddGrain(QImage& image, const QRect& r, double amplitude, int seed);
// Adds horizontal brushed-metal streaks inside the path.
void AddBrushed(QImage& image, const QPainterPath& area, double amplitude, int seed);

// A box blur of three passes (close to a Gaussian); the image is converted
// to premultiplied ARGB.
QImage Blurred(const QImage& image, int radius);

// A blurred copy of the filled path, drawn under what follows.
void DrawShadow(QPainter& p, const QPainterPath& path, QPointF offset, int blur,
                const QColor& color);
// A blurred stroke around the path: the hover glow.
void DrawGlow(QPainter& p, const QPainterPath& path, int blur, const QColor& color,
              qreal width = 2.0);

QPainterPath RoundedRect(const QRectF& r, qreal radius);

// A raised panel: shadow, graphite body, hairline light on the top edge.
// Textures go onto the image's pixels once the painter has ended (AddBrushed).
void DrawCard(QPainter& p, const QRectF& r, qreal radius = 8.0);
// A recessed area: dark inside, shadow along the top, light along the bottom.
void DrawWell(QPainter& p, const QRectF& r, qreal radius = 6.0,
              const QColor& inside = palette::kDeep);
// A letter-spaced heading in capitals with an amber mark before it.
void DrawHeading(QPainter& p, QPointF baseline, const QString& text, int pixels = 10);
// Text with extra space between letters, left at the baseline point.
void DrawSpacedText(QPainter& p, QPointF baseline, const QString& text, qreal spacing);
qreal SpacedTextWidth(const QFont& font, const QString& text, qreal spacing);

} // namespace skingen
