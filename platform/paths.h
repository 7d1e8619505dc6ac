#pragma once
// The process-wide folders and the one place where the manual's Windows-style
// names meet the Linux file system.
//
// Inside the program every file name keeps the form the manual was written in:
// Windows-1251 bytes, backslashes, a drive letter. The folder that holds the
// manual (the archive's root) plays drive C:, so ProgramDrive is "c:\" and
// ProgramDir is "c:\" or "c:\run\" when the program lies in a folder named run.
// A name with any drive letter but Z: means the same place under the manual's
// root, as on the disc the manual came on; Z: is the Linux root folder, the form
// native paths outside the manual take ("z:\tmp\as_1.htm" is /tmp/as_1.htm).
// Disk lookups ignore letter case, Latin and Cyrillic, as the archive does.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace carmanual {

// Sets every process-wide folder from the folder the program file lies in.
void InitProgramPaths(const std::filesystem::path& programFolder);

// Directory of the program file, with trailing backslash ("c:\" or "c:\run\").
const std::string& ProgramDir();
// Drive of the manual's root in lower case with backslash: "c:\".
const std::string& ProgramDrive();
// Where the system keeps shared libraries, with trailing backslash.
const std::string& SystemDir();
// The user's data folder (its "fonts" sub-folder holds installed fonts).
const std::string& WindowsDir();
// The temporary folder, with trailing backslash.
const std::string& TempDir();
// The native folder that the manual's root (ProgramDrive) stands for.
const std::filesystem::path& ManualRootFolder();
// The native folder of the program file.
const std::filesystem::path& ProgramFolder();

// The native path a manual name stands for, spelled as written (no lookup).
// Relative names are taken relative to the program folder.
std::filesystem::path ToNativePath(std::string_view name);

// The manual name of a native path: under the manual's root with drive C:,
// anywhere else with drive Z:.
std::string FromNativePath(const std::filesystem::path& native);

// The components of a name, split at either slash; empty ones are dropped.
std::vector<std::string> NameComponents(std::string_view name);

enum class DiskKind { Any, File, Directory };

// Finds a manual name on disk without regard to letter case. Where several
// spellings exist, the exact one wins, then the first in directory order.
std::optional<std::filesystem::path> FindOnDisk(std::string_view name,
                                                DiskKind kind = DiskKind::Any);

// True when a regular file of that name exists on disk.
bool DiskFileExists(std::string_view name);

} // namespace carmanual
