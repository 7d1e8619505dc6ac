#pragma once
// Writing pictures in the formats the manual uses: the extension of the name
// picks JPEG, BMP, PNG or GIF (our own encoder). JPEG quality and GIF palette
// choice are fixed, so the same picture gives the same bytes on every run.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace skingen {

// The file's bytes; empty when the format cannot be written.
QByteArray EncodePicture(const QImage& image, const QString& name);

} // namespace skingen
