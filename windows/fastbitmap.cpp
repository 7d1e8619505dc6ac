#include "fastbitmap.h"

#include "blendbitmaps.h"

namespace carmanual {

namespace {

bool IsBlendable(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

QImage::Format BlendFormat(const QImage& a, const QImage& b) {
    const bool opaqueA = a.isNull() || a.format() == QImage::Format_RGB32;
    const bool opaqueB = b.isNull() || b.format() == QImage::Format_RGB32;
    if (opaqueA && opaqueB && !(a.isNull() && b.isNull())) {
        return QImage::Format_RGB32;
    }
    return QImage::Format_ARGB32_Premultiplied;
}

QImage ToBlendFormat(const QImage& picture, QImage::Format format) {
    if (picture.isNull() || picture.format() == format) {
        return picture;
    }
    return picture.convertToFormat(format);
}

bool BlendBitmaps(QImage& target, const QImage& a, const QImage& b, int alpha) {
    if (a.isNull() || a.size() != b.size() || a.format() != b.format() ||
        !IsBlendable(a.format())) {
        return false;
    }
    if (target.size() != a.size() || target.format() != a.format()) {
        target = QImage(a.size(), a.format());
        if (target.isNull()) {
            return false;
        }
    }
    target.setDevicePixelRatio(a.devicePixelRatio());
    // bits() detaches the target first when it shares data with A or B.
    BlendBitmaps(target.bits(), target.bytesPerLine(), a.constBits(), a.bytesPerLine(),
                 b.constBits(), b.bytesPerLine(), a.width() * 4, a.height(), alpha);
    return true;
}

} // namespace carmanual
