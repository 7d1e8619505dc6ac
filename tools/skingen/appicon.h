#pragma once
// The program's icon: the skin's car on a graphite tile.

#include <QImage>

namespace skingen {

QImage PaintAppIcon(int size);

} // namespace skingen
