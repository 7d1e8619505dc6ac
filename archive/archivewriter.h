#pragma once
// Writes the packed resource archive from a set of files: the publisher's side
// of the reader. The output is reproducible: the same files give the same
// bytes (folders sorted by folded name, members in listing order).

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace carmanual {

class EArchiveWrite : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ArchiveInput {
    std::string name; // relative path, Windows-1251, '\' or '/' between components
    std::string data;
};

struct ArchiveWriteStats {
    std::size_t files = 0;
    std::size_t folders = 0;
    std::size_t unpackedBytes = 0;
    std::size_t packedBytes = 0;
};

// Builds the archive's bytes. Throws EArchiveWrite naming the file when a
// component is empty or longer than 63 bytes, or two names fold to the same
// entry. progress, when given, is called with (files done, files in all).
std::string BuildArchive(const std::vector<ArchiveInput>& files, ArchiveWriteStats* stats = nullptr,
                         const std::function<void(std::size_t, std::size_t)>& progress = {});

} // namespace carmanual
