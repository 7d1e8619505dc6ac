#pragma once
// The stylised saloon car of the title screen and the program icon, seen
// from the side, facing right.

#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace skingen {

// The car's body outline in its design box of 460 x 150 (ground at y = 142).
QPainterPath CarBodyPath();

// Draws the whole car scaled into the box (keeping its proportions).
void DrawCar(QPainter& p, const QRectF& box);

} // namespace skingen
