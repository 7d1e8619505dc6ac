#pragma once
// Makes up the files of a large manual for the archive benchmark: HTML pages of
// Russian text (Windows-1251, compressible) and pictures (JPEG- and GIF-like
// data that barely compresses, drawings as bitmaps that compress well) spread
// over a few hundred folders, one of them holding a thousand pictures or more.
// The same shape always gives the same files.

#include "archivewriter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace carmanual::bench {

struct ManualShape {
    // About 10 KB per member on average: 20,000 members are about 200 MB.
    std::size_t members = 20000;
    std::uint64_t seed = 0x1251'2004'0613ull;
};

// The files, names in Windows-1251 with '\' between components.
std::vector<ArchiveInput> GenerateManual(const ManualShape& shape);

} // namespace carmanual::bench
