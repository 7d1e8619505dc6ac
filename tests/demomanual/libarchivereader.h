#pragma once
// Reads an archive held in memory with libarchive. Kept apart from the
// tests' own headers: libarchive's header is named archive.h, like ours.

#include <string>
#include <vector>

namespace carmanual::test {

struct ArchiveItem {
    std::string name; // UTF-8, '/' between folders
    bool directory = false;
    std::string data;
};

// Every entry with its data; ok is false when anything could not be read.
// options are libarchive's reader options ("rar:hdrcharset=CP866").
std::vector<ArchiveItem> ReadWithLibarchive(const std::string& bytes, bool& ok,
                                            const char* options = nullptr);

} // namespace carmanual::test
