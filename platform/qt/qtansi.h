#pragma once
// Windows-1251 text at the Qt boundary.

#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

namespace carmanual {

QString FromAnsi(std::string_view ansi);
std::string ToAnsi(const QString& text);

// The native path of a manual name as a QString (no lookup).
QString NativeName(std::string_view manualName);
// The file a manual name stands for on disk, found without regard to letter
// case; empty when there is none.
QString FindDiskFile(std::string_view manualName);

} // namespace carmanual
