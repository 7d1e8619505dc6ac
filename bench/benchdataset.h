#pragma once
// The benchmark's data set on disk: the generated manual written once as an
// interface.dat and as a zip holding the same members in the same order
// (deflated at level 9 where the archive deflates, stored where it stores), in
// a cache folder that later runs reuse while its stamp matches the shape.

#include "manualgenerator.h"

#include <filesystem>
#include <ostream>

namespace carmanual::bench {

struct BenchDataSet {
    std::filesystem::path folder;
    std::filesystem::path archive; // interface.dat
    std::filesystem::path zip;
    bool reused = false;
};

// Finds the data set of that shape under cacheRoot, or generates it there
// (progress and timings go to log). Throws std::runtime_error when the files
// cannot be written.
BenchDataSet PrepareDataSet(const std::filesystem::path& cacheRoot, const ManualShape& shape,
                            std::ostream& log);

} // namespace carmanual::bench
