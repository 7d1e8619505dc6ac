#include "qtansi.h"

#include "ansi.h"
#include "paths.h"

namespace carmanual {

QString FromAnsi(std::string_view ansi) {
    const std::string utf8 = AnsiToUtf8(ansi);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToAnsi(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToAnsi(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString NativeName(std::string_view manualName) {
    return QString::fromStdString(ToNativePath(manualName).string());
}

QString FindDiskFile(std::string_view manualName) {
    const auto found = FindOnDisk(manualName, DiskKind::File);
    return found ? QString::fromStdString(found->string()) : QString();
}

} // namespace carmanual
