#pragma once
// Window shapes. On X11 a mask (XShape) cuts both drawing and input. On
// Wayland a mask only limits input, so a shaped window also keeps a
// translucent background and paints nothing outside its region.

#include "syntax.h"

#include <QRegion>

class QPainter;
class QWidget;

namespace carmanual {

// True where masks do not cut drawing (Wayland): the window must be made
// translucent before it is shown, and paint only inside its region.
bool ShapeNeedsTranslucency();

// Region helpers in window coordinates.
QRegion PolygonRegion(const TWindowRegion& polygon);
QRegion EllipseRegion(int left, int top, int right, int bottom);
QRegion RoundRectRegion(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);

// Sets the window's shape (input and, on X11, drawing). An empty region
// hides the whole window, as at the start of the opening animation.
void ApplyWindowShape(QWidget* window, const QRegion& region);

} // namespace carmanual
