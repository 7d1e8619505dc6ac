#pragma once
// The frames of piston.gif: a cut-away cylinder running through the four
// strokes of its cycle, with the stroke named beside it.

#include <QColor>
#include <QImage>

#include <vector>

namespace skingen {

// Frames of the given size on the given backdrop colour (the recess the
// animation plays in), one per 30 degrees of two crank turns.
std::vector<QImage> PistonFrames(int width, int height, const QColor& backdrop);

} // namespace skingen
