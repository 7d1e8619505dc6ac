#pragma once
// Where the program's resources come from: every picture, page, sound and
// description file is read through one source, set once at start-up. The
// default source is the manual itself: a file is read from the archive when
// the archive has it and from disk otherwise, and exists when the disk or the
// archive has it (TComprStream and ArchiveFileExists ask it). A test hands a
// component files of its own by setting another source.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace carmanual {

class IResourceSource {
public:
    virtual ~IResourceSource() = default;
    // The whole file of a manual name (Windows-1251), or nothing.
    virtual std::optional<std::string> Read(std::string_view name) const = 0;
    virtual bool Exists(std::string_view name) const = 0;
};

// The process's source; the manual's archive and disk until one is set.
const IResourceSource& Resources();
// nullptr gives back the manual's archive and disk.
void SetResourceSource(std::shared_ptr<const IResourceSource> source);

} // namespace carmanual
