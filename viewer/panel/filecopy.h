#pragma once
// Copying the files that pages offer into a folder the reader chose. The
// source may lie on disk or in the resource archive; target folders are
// matched to existing folders without regard to letter case, as the manual's
// names are.

#include <filesystem>
#include <string_view>

namespace carmanual {

// The native path to write a manual name to: its deepest existing folder as
// spelled on disk, followed by the rest of the name as written.
std::filesystem::path NativeForWrite(std::string_view manualName);

// Creates the folder a manual name stands for, with every missing parent.
bool CreateManualFolder(std::string_view manualFolder);

// Copies a manual name (disk first, then the archive) to a manual target
// name, creating the target's folder and overwriting a file there. False when
// anything fails; nothing is reported.
bool CopyManualFile(std::string_view source, std::string_view target);
// The same to a native target (a file the reader chose in a save dialog).
bool CopyManualFileTo(std::string_view source, const std::filesystem::path& target);

} // namespace carmanual
