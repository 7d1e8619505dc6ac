// dattool: packs a folder into the resource archive format and reads such
// archives back (list, cat, check, unpack). Exit status: 0 success, 1 a
// damaged archive or a name not found, 2 wrong usage.

#include "ansi.h"
#include "archive.h"
#include "archivewriter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;
using namespace carmanual;

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int Usage() {
    std::cerr << "usage: dattool pack DIR OUT.dat\n"
                 "       dattool unpack DAT DIR\n"
                 "       dattool list DAT\n"
                 "       dattool cat DAT NAME\n"
                 "       dattool check DAT\n";
    return kUsage;
}

int Fail(const std::string& message) {
    std::cerr << "dattool: " << message << '\n';
    return kFailed;
}

bool ReadFile(const fs::path& path, std::string& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Writes through a temporary file so that a failure leaves no half file.
bool WriteFileAtomically(const fs::path& path, const std::string& data) {
    const fs::path tmp = path.string() + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        if (!out)
            return false;
    }
    std::error_code ec;
    fs::rename(tmp, path, ec);
    if (ec)
        fs::remove(tmp, ec);
    return !ec;
}

int Pack(const fs::path& dir, const fs::path& out) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec))
        return Fail("not a folder: " + dir.string());
    std::vector<fs::path> paths;
    for (fs::recursive_directory_iterator it(dir, fs::directory_options::follow_directory_symlink, ec),
         end;
         !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file())
            paths.push_back(it->path());
    }
    if (ec)
        return Fail("cannot read " + dir.string() + ": " + ec.message());
    std::sort(paths.begin(), paths.end());

    std::vector<ArchiveInput> inputs;
    inputs.reserve(paths.size());
    for (const fs::path& p : paths) {
        const std::string rel = p.lexically_relative(dir).generic_string();
        bool exact = true;
        ArchiveInput input;
        input.name = Utf8ToAnsi(rel, &exact);
        if (!exact)
            return Fail("name has no Windows-1251 form: " + rel);
        if (!ReadFile(p, input.data))
            return Fail("cannot read " + p.string());
        inputs.push_back(std::move(input));
    }

    const bool showProgress = inputs.size() >= 1000;
    ArchiveWriteStats stats;
    std::string bytes;
    try {
        bytes = BuildArchive(inputs, &stats, [&](std::size_t done, std::size_t total) {
            if (showProgress && (done % 500 == 0 || done == total))
                std::cerr << "\rdattool: packed " << done << " of " << total << " files"
                          << (done == total ? "\n" : "") << std::flush;
        });
    } catch (const EArchiveWrite& e) {
        return Fail(e.what());
    }
    if (!WriteFileAtomically(out, bytes))
        return Fail("cannot write " + out.string());
    std::cout << "packed " << stats.files << " files in " << stats.folders << " folders: "
              << stats.unpackedBytes << " bytes into " << bytes.size() << '\n';
    return kOk;
}

bool OpenDat(const std::string& path, TResourceArchive& archive, int& rc) {
    try {
        archive.Open(path);
        return true;
    } catch (const EArchiveDamaged& e) {
        rc = Fail(e.what());
    } catch (const EFOpenError&) {
        rc = Fail("cannot open " + path);
    }
    return false;
}

std::string SlashPath(const std::string& folded) {
    std::string s = AnsiToUtf8(folded);
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

int List(const std::string& dat) {
    TResourceArchive archive;
    int rc = kOk;
    if (!OpenDat(dat, archive, rc))
        return rc;
    for (const auto& [name, index] : archive.ListFileEntries()) {
        const auto& e = archive.EntryAt(index);
        std::cout << SlashPath(name) << '\t' << e.unpackedSize << '\t' << e.packedSize << '\n';
    }
    return kOk;
}

int Cat(const std::string& dat, const std::string& name) {
    TResourceArchive archive;
    int rc = kOk;
    if (!OpenDat(dat, archive, rc))
        return rc;
    const int index = archive.ResolvePath(Utf8ToAnsi(name));
    if (index < 0)
        return Fail("not in the archive: " + name);
    std::string data, why;
    if (!archive.ExtractEntry(index, data, &why))
        return Fail("damaged member " + name + ": " + why);
    std::fwrite(data.data(), 1, data.size(), stdout);
    return std::fflush(stdout) == 0 ? kOk : kFailed;
}

int Check(const std::string& dat) {
    TResourceArchive archive;
    int rc = kOk;
    if (!OpenDat(dat, archive, rc))
        return rc;
    std::size_t bad = 0, good = 0;
    std::string data, why;
    for (const auto& [name, index] : archive.ListFileEntries(true)) {
        const auto& e = archive.EntryAt(index);
        if (!archive.ExtractEntry(index, data, &why)) {
            std::cerr << "dattool: damaged member " << SlashPath(name) << ": " << why << '\n';
            ++bad;
        } else if (data.size() != e.unpackedSize) {
            std::cerr << "dattool: damaged member " << SlashPath(name) << ": " << data.size()
                      << " bytes instead of " << e.unpackedSize << '\n';
            ++bad;
        } else {
            ++good;
        }
    }
    if (bad)
        return Fail(std::to_string(bad) + " damaged members in " + dat);
    std::cout << good << " members ok\n";
    return kOk;
}

int Unpack(const std::string& dat, const fs::path& dir) {
    TResourceArchive archive;
    int rc = kOk;
    if (!OpenDat(dat, archive, rc))
        return rc;
    std::size_t bad = 0;
    std::string data, why;
    for (const auto& [name, index] : archive.ListFileEntries(true)) {
        fs::path target = dir;
        bool safe = true;
        std::string part;
        const std::string utf8 = AnsiToUtf8(name);
        for (std::size_t i = 0; i <= utf8.size(); ++i) {
            if (i == utf8.size() || utf8[i] == '\\') {
                // A stored name must never lead outside the target folder.
                if (part.empty() || part == "." || part == ".." || part.find('/') != std::string::npos)
                    safe = false;
                target /= part;
                part.clear();
            } else {
                part += utf8[i];
            }
        }
        if (!safe) {
            std::cerr << "dattool: skipped unsafe name " << SlashPath(name) << '\n';
            ++bad;
            continue;
        }
        if (!archive.ExtractEntry(index, data, &why)) {
            std::cerr << "dattool: damaged member " << SlashPath(name) << ": " << why << '\n';
            ++bad;
            continue;
        }
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        if (!out)
            return Fail("cannot write " + target.string());
    }
    return bad ? Fail(std::to_string(bad) + " members not unpacked") : kOk;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    const std::string cmd = argv[1];
    if (cmd == "pack" && argc == 4)
        return Pack(argv[2], argv[3]);
    if (cmd == "unpack" && argc == 4)
        return Unpack(argv[2], argv[3]);
    if (cmd == "list" && argc == 3)
        return List(argv[2]);
    if (cmd == "cat" && argc == 4)
        return Cat(argv[2], argv[3]);
    if (cmd == "check" && argc == 3)
        return Check(argv[2]);
    return Usage();
}
