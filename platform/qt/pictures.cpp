#include "pictures.h"

#include "archive.h"
#include "comprstream.h"

#include <QByteArray>

namespace carmanual {

QImage LoadPicture(std::string_view manualName) {
    if (manualName.empty())
        return {};
    try {
        TComprStream stream(manualName);
        const std::string& bytes = stream.Bytes();
        QImage image = QImage::fromData(
            QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
        if (image.isNull())
            return {};
        // One format for every skin picture keeps blending and copying simple.
        return image.convertToFormat(QImage::Format_RGB32);
    } catch (const EFOpenError&) {
        return {};
    }
}

} // namespace carmanual
