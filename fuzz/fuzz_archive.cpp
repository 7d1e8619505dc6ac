// Arbitrary bytes as interface.dat: opening, resolving names, listing and
// loading members must give errors, never a crash, a hang or a read outside
// a buffer.

#include "archive.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace carmanual;

namespace {

// Loading is bounded per input so that an archive referencing one small
// member thousands of times does not look like a hang.
constexpr int kMaxLoads = 256;
constexpr std::size_t kMaxLoadedBytes = 64u << 20;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Input beginning with 'R' holds a raw directory: 'R', its length (16-bit
// little-endian), the directory block, the data area. The header is made to
// fit, so the fuzzer reaches the tables without first getting a zlib stream
// right. Any other input is the archive's bytes as they are.
std::string ArchiveOf(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (size < 3 || data[0] != 'R')
        return input;
    const std::size_t dirLen = std::min<std::size_t>(data[1] | (data[2] << 8), size - 3);
    std::string out(8, '\0');
    const std::uint32_t w0 = 0 ^ archive_format::kSizeDeltaKey;
    const std::uint32_t w1 = static_cast<std::uint32_t>(dirLen) ^ archive_format::kPackedDirKey;
    std::memcpy(&out[0], &w0, 4);
    std::memcpy(&out[4], &w1, 4);
    return out + input.substr(3);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TResourceArchive archive;
    try {
        archive.OpenBytes(ArchiveOf(data, size));
    } catch (const EArchiveDamaged&) {
        Check(!archive.IsOpen());
        Check(archive.ResolvePath("a") == -1);
        Check(archive.ListFiles().empty());
        return 0;
    }
    archive.SetRoot("c:\\Run\\");

    for (const char* name : {"", "\\", "a", "A\\B", "c:\\run\\a", "d:\\x\\y\\z.htm", "\\\\a", "a\\",
                             ".", "..\\..\\x", "Struct.txt", "\xE0\xB8\xA8"}) {
        const int index = archive.ResolvePath(name);
        Check(index >= -1 && index < archive.EntryCount());
        const int dir = archive.Resolve(name, archive_format::kKindDirectory);
        Check(dir >= -1 && dir < archive.EntryCount());
    }

    const auto files = archive.ListFileEntries(true);
    Check(archive.ListFiles().size() <= files.size());
    int loads = 0;
    std::size_t loaded = 0;
    std::string out;
    for (const auto& [path, index] : files) {
        Check(index >= 0 && index < archive.EntryCount());
        Check(archive.EntryAt(index).kind == archive_format::kKindFile);
        const int found = archive.ResolvePath(path);
        Check(found >= -1 && found < archive.EntryCount());
        if (loads < kMaxLoads && loaded < kMaxLoadedBytes) {
            ++loads;
            if (archive.ExtractEntry(index, out)) {
                Check(out.size() <= archive.EntryAt(index).unpackedSize);
                loaded += out.size();
            }
        }
    }
    // Every entry by index, files or not, listed or not.
    for (int i = -1; i <= archive.EntryCount() && loads < kMaxLoads && loaded < kMaxLoadedBytes;
         ++i) {
        ++loads;
        if (archive.ExtractEntry(i, out)) {
            Check(archive.EntryAt(i).kind == archive_format::kKindFile);
            loaded += out.size();
        }
        if (i >= 0 && i < archive.EntryCount())
            archive.ResolvePath(archive.EntryAt(i).name);
    }
    return 0;
}
