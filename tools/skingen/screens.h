#pragma once
// The screen backgrounds of the demo skin, 800 x 600 each, chosen by the
// base name of the background file the description gives a screen
// (skin\title.jpg paints "title"). The window outline (vertexmain) is passed
// in so that the backgrounds follow the window's shape: their edges get a
// bevel along it and what lies outside is left near-black, which still looks
// right where a platform shows the whole rectangle.

#include <QImage>
#include <QPolygonF>
#include <QStringList>

namespace skingen {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// Where piston.gif plays on every screen but the document screen.
constexpr int kPistonLeft = 583;
constexpr int kPistonTop = 470;
constexpr int kPistonWidth = 128;
constexpr int kPistonHeight = 96;

QStringList ScreenNames();

// A null image for a name that is not one of ScreenNames().
QImage PaintScreen(const QString& name, const QPolygonF& outline);

} // namespace skingen
