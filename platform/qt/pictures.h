#pragma once
// Pictures of skins and pages, read through the resource archive (or the
// disk) and decoded by Qt's image readers: BMP, GIF, JPEG, PNG.

#include <QImage>

#include <string_view>

namespace carmanual {

// The picture of a manual name; a null image when it is missing or cannot be
// decoded (the caller skips it silently).
QImage LoadPicture(std::string_view manualName);

} // namespace carmanual
