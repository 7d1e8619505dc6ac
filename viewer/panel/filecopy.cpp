#include "filecopy.h"

#include "ansi.h"
#include "comprstream.h"
#include "paths.h"

#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace carmanual {

namespace fs = std::filesystem;

fs::path NativeForWrite(std::string_view manualName) {
    const std::vector<std::string> parts = NameComponents(manualName);
    // The longest leading part that exists as a folder, as the disk spells it.
    for (std::size_t keep = parts.size(); keep > 0; --keep) {
        std::string prefix;
        for (std::size_t i = 0; i < keep; ++i)
            prefix += parts[i] + '\\';
        if (manualName.size() > 0 && (manualName[0] == '\\' || manualName[0] == '/'))
            prefix.insert(prefix.begin(), '\\');
        const std::optional<fs::path> found = FindOnDisk(prefix, DiskKind::Directory);
        if (!found)
            continue;
        fs::path out = *found;
        for (std::size_t i = keep; i < parts.size(); ++i)
            out /= fs::path(AnsiToUtf8(parts[i]));
        return out;
    }
    return ToNativePath(manualName);
}

bool CreateManualFolder(std::string_view manualFolder) {
    std::error_code ec;
    const fs::path native = NativeForWrite(manualFolder);
    fs::create_directories(native, ec);
    return !ec && fs::is_directory(native, ec);
}

bool CopyManualFile(std::string_view source, std::string_view target) {
    return CopyManualFileTo(source, NativeForWrite(target));
}

bool CopyManualFileTo(std::string_view source, const fs::path& to) {
    std::error_code ec;
    const std::optional<fs::path> from = FindOnDisk(source, DiskKind::File);
    std::optional<TComprStream> stream;
    if (!from) {
        try {
            stream.emplace(source);
        } catch (const std::exception&) {
            return false; // nothing to copy: no folder is made either
        }
    }
    fs::create_directories(to.parent_path(), ec);
    if (ec)
        return false;
    if (from) {
        if (fs::equivalent(*from, to, ec))
            return true;
        return fs::copy_file(*from, to, fs::copy_options::overwrite_existing, ec) && !ec;
    }
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out.write(stream->Bytes().data(), static_cast<std::streamsize>(stream->Bytes().size()));
    return static_cast<bool>(out.flush());
}

} // namespace carmanual
