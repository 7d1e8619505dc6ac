#pragma once
// The pictures the effects blend: 32-bit QImages whose bytes are blended
// one by one. Opaque pictures are Format_RGB32; when either picture of a
// pair has another format, both become Format_ARGB32_Premultiplied (a byte
// blend of two premultiplied pictures stays premultiplied).

#include <QImage>

namespace carmanual {

// The format a pair of pictures is blended in (a null picture, one that
// failed to load, does not count).
QImage::Format BlendFormat(const QImage& a, const QImage& b);

// The picture in the given blend format (shares the data when it already is).
QImage ToBlendFormat(const QImage& picture, QImage::Format format);

// target = B + (alpha * (A - B)) >> 8, byte by byte (see the raw-bytes
// BlendBitmaps). A and B must have the same size and the same 32-bit format
// (Format_RGB32, Format_ARGB32 or Format_ARGB32_Premultiplied); the target
// is made that size and format when it is not, and takes A's device pixel
// ratio. Returns false and leaves the target alone when A and B do not fit.
bool BlendBitmaps(QImage& target, const QImage& a, const QImage& b, int alpha);

} // namespace carmanual
