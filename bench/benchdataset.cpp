#include "benchdataset.h"

#include "ansi.h"
#include "archive.h"

#include <unistd.h>
#include <zip.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <unordered_map>

namespace carmanual::bench {

namespace fs = std::filesystem;

namespace {

// Bump when the generator or the writers change what they produce, so that an
// old cache is not mistaken for the new data set.
constexpr int kDataSetVersion = 1;

std::string Stamp(const ManualShape& shape) {
    std::ostringstream s;
    s << "version=" << kDataSetVersion << " members=" << shape.members << " seed=" << std::hex
      << shape.seed << '\n';
    return s.str();
}

std::string ReadSmallFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    const fs::path tmp = path.string() + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            throw std::runtime_error("cannot write " + tmp.string());
    }
    fs::rename(tmp, path);
}

class Stopwatch final {
public:
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// The zip peer: the members in the archive's listing order, so that member i
// of one is member i of the other, each deflated exactly when the archive
// deflates it.
void WriteZip(const fs::path& path, const std::vector<ArchiveInput>& files,
              const std::string& archiveBytes) {
    TResourceArchive archive;
    archive.OpenBytes(archiveBytes, "generated archive");
    std::unordered_map<std::string, std::size_t> byName;
    byName.reserve(files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        byName.emplace(Folded(files[i].name), i);

    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        throw std::runtime_error("libzip cannot create " + path.string());
    auto fail = [&](const std::string& why) {
        const std::string message = why + ": " + zip_strerror(zip);
        zip_discard(zip);
        throw std::runtime_error(message);
    };
    for (const auto& [folded, index] : archive.ListFileEntries(true)) {
        const auto it = byName.find(folded);
        if (it == byName.end())
            fail("the archive lists a member that was not generated");
        const ArchiveInput& file = files[it->second];
        std::string name = AnsiToUtf8(file.name);
        for (char& c : name)
            if (c == '\\')
                c = '/';
        zip_source_t* source = zip_source_buffer(zip, file.data.data(), file.data.size(), 0);
        if (!source)
            fail("zip_source_buffer");
        const zip_int64_t added = zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (added < 0) {
            zip_source_free(source);
            fail("zip_file_add " + name);
        }
        const TResourceArchive::Entry& entry = archive.EntryAt(index);
        const bool stored = entry.packedSize == entry.unpackedSize;
        const auto at = static_cast<zip_uint64_t>(added);
        if (zip_set_file_compression(zip, at, stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                     stored ? 0 : 9) < 0 ||
            zip_file_set_mtime(zip, at, 1081814400, 0) < 0)
            fail("zip_set_file_compression " + name);
    }
    if (zip_close(zip) < 0)
        fail("zip_close " + path.string());
}

} // namespace

BenchDataSet PrepareDataSet(const fs::path& cacheRoot, const ManualShape& shape,
                            std::ostream& log) {
    BenchDataSet set;
    set.folder = cacheRoot / ("manual-" + std::to_string(shape.members));
    set.archive = set.folder / "interface.dat";
    set.zip = set.folder / "manual.zip";
    const fs::path stampPath = set.folder / "READY";
    const std::string stamp = Stamp(shape);
    if (fs::exists(stampPath) && ReadSmallFile(stampPath) == stamp && fs::exists(set.archive) &&
        fs::exists(set.zip)) {
        set.reused = true;
        log << "data set: reusing " << set.folder.string() << '\n';
        return set;
    }

    fs::create_directories(set.folder);
    fs::remove(stampPath);
    log << "data set: generating " << shape.members << " members in " << set.folder.string()
        << '\n';
    Stopwatch total;
    Stopwatch step;
    const std::vector<ArchiveInput> files = GenerateManual(shape);
    log << "  files made up in " << step.Seconds() << " s\n" << std::flush;

    step = Stopwatch();
    ArchiveWriteStats stats;
    std::size_t lastTenth = 0;
    const bool console = isatty(STDOUT_FILENO) && &log == &std::cout;
    const std::string bytes = BuildArchive(files, &stats, [&](std::size_t done, std::size_t all) {
        const std::size_t tenth = all ? done * 10 / all : 10;
        if (console && tenth != lastTenth) {
            lastTenth = tenth;
            log << "  packing interface.dat: " << tenth * 10 << "%\r" << std::flush;
        }
    });
    WriteFile(set.archive, bytes);
    log << "  interface.dat (zlib level 9) written in " << step.Seconds() << " s\n" << std::flush;

    step = Stopwatch();
    WriteZip(set.zip, files, bytes);
    log << "  manual.zip (libzip, deflate level 9) written in " << step.Seconds() << " s\n";

    WriteFile(stampPath, stamp);
    log << "  data set ready in " << total.Seconds() << " s\n";
    return set;
}

} // namespace carmanual::bench
