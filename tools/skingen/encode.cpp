#include "encode.h"

#include "gifwriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>

namespace skingen {

QByteArray EncodePicture(const QImage& image, const QString& name) {
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == "gif")
        return EncodeGif({{image, 0}});
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, suffix == "jpg" || suffix == "jpeg" ? "jpeg" : suffix.toLatin1());
    if (suffix == "jpg" || suffix == "jpeg") {
        writer.setQuality(93);
        writer.setOptimizedWrite(true);
    }
    const QImage out = suffix == "png" ? image : image.convertToFormat(QImage::Format_RGB888);
    if (!writer.write(out))
        return {};
    return bytes;
}

} // namespace skingen
