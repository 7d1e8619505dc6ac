#pragma once
// The line icons of the skin, drawn from paths so that they stay crisp at
// any size: one name per icon, the same names the picture files carry
// (skin\tool\print1.bmp shows "print").

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace skingen {

// True when the name is one of the icons below.
bool HasGlyph(const QString& name);

// Draws the icon inside the box (a square fits best) in one colour.
void DrawGlyph(QPainter& p, const QString& name, const QRectF& box, const QColor& color);

} // namespace skingen
