#pragma once
// The illustrations of the demo manual's pages: technical drawings (an
// exploded brake caliper, the engine bay, the fuse box map, a wiring sketch,
// tightening orders, ...) and a few renders that stand in for photographs.
// A picture is chosen by the base name of the file a page asks for
// (ch01\img\caliper.jpg paints "caliper"); the extension only picks the file
// format. Everything is drawn from paths, deterministically.

#include <QImage>
#include <QStringList>

#include "gifwriter.h"

#include <vector>

namespace skingen {

QStringList DrawingNames();

// A null image for a name that is not one of DrawingNames(). For an
// animated drawing, its first frame.
QImage PaintDrawing(const QString& name);

// The frames of an animated drawing (written as an animated GIF); empty for
// the still ones.
std::vector<GifFrame> DrawingFrames(const QString& name);

} // namespace skingen
