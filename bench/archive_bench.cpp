// Reads every member of a large generated manual three ways in the same run:
// through the resource archive reader from interface.dat on disk, through
// libzip from a zip holding the same members (the peer format), and with
// plain zlib from the packed streams already in memory (the limit no reader
// of the format can beat). Also times opening the archive and name lookups,
// then prints how the reader compares with the two references.

#include "ansi.h"
#include "archive.h"
#include "benchdataset.h"
#include "benchrandom.h"
#include "comprstream.h"
#include "paths.h"

#include "ratioreporter.h"

#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace carmanual;
using namespace carmanual::bench;
namespace fs = std::filesystem;

constexpr std::size_t kLookups = 100000;
constexpr double kLimitTarget = 1.3;

const char* const kArchiveRead = "read_all/archive";
const char* const kZipRead = "read_all/zip_peer";
const char* const kLimitRead = "read_all/zlib_limit";
const char* const kStreamRead = "read_all/archive_by_name";
const char* const kOpen = "OpenArchive";
const char* const kLookup = "ResolvePath_100k";

// One member as each of the three readers finds it.
struct Member {
    int entry = 0;                // in the archive's entry table
    zip_uint64_t zipIndex = 0;    // in the zip
    std::uint64_t fileOffset = 0; // of its stored bytes in interface.dat
    std::uint32_t packedSize = 0;
    std::uint32_t size = 0;
    std::string name; // folded relative path, as the listing gives it
};

struct Fixture {
    BenchDataSet files;
    TResourceArchive archive;
    zip_t* zip = nullptr;
    std::string archiveBytes; // the whole interface.dat, for the zlib limit
    std::vector<Member> members;
    std::uint64_t unpackedBytes = 0;
    std::size_t rawMembers = 0;
    std::uint32_t largest = 0;
    std::vector<std::string> lookups;
    std::string manualName; // interface.dat as start-up names it
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

std::string ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(fs::file_size(path), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot read " + path.string());
    return bytes;
}

// The same name as a manual might write it: other letter case, '/' or '\'.
std::string NameVariant(const std::string& folded, BenchRandom& rng) {
    std::string s = folded;
    const bool slashes = rng.Percent(40);
    const std::uint32_t casing = rng.Below(3); // as stored, lower case, mixed
    for (char& c : s) {
        const auto u = static_cast<unsigned char>(c);
        const bool letter = (u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDF);
        if (c == '\\' && slashes)
            c = '/';
        else if (letter && (casing == 1 || (casing == 2 && rng.Percent(50))))
            c = static_cast<char>(u | 0x20);
    }
    return s;
}

bool ZipMember(zip_t* zip, zip_uint64_t index, std::string& out) {
    zip_stat_t st;
    if (zip_stat_index(zip, index, 0, &st) < 0 || !(st.valid & ZIP_STAT_SIZE))
        return false;
    zip_file_t* file = zip_fopen_index(zip, index, 0);
    if (!file)
        return false;
    out.resize(st.size);
    const zip_int64_t n = zip_fread(file, out.data(), st.size);
    zip_fclose(file);
    return n >= 0 && static_cast<zip_uint64_t>(n) == st.size;
}

bool LimitMember(const Fixture& f, const Member& m, unsigned char* buffer) {
    const auto* source = reinterpret_cast<const Bytef*>(f.archiveBytes.data()) + m.fileOffset;
    if (m.packedSize == m.size) {
        std::memcpy(buffer, source, m.size);
        return true;
    }
    uLongf len = m.size;
    return uncompress(buffer, &len, source, m.packedSize) == Z_OK && len == m.size;
}

void Prepare(Fixture& f, const BenchDataSet& files) {
    using namespace archive_format;
    f.files = files;
    f.archive.Open(files.archive.string());
    // Holding the file in memory also brings it into the page cache.
    f.archiveBytes = ReadWholeFile(files.archive);
    std::uint32_t packedDir = 0;
    std::memcpy(&packedDir, f.archiveBytes.data() + 4, 4);
    const std::uint64_t dataStart = kHeaderSize + std::uint64_t(packedDir ^ kPackedDirKey);

    int error = 0;
    f.zip = zip_open(files.zip.c_str(), ZIP_RDONLY, &error);
    if (!f.zip)
        throw std::runtime_error("libzip cannot open " + files.zip.string());
    ReadWholeFile(files.zip); // into the page cache

    const auto listing = f.archive.ListFileEntries(true);
    if (static_cast<zip_int64_t>(listing.size()) != zip_get_num_entries(f.zip, 0))
        throw std::runtime_error("the archive and the zip hold different member counts");
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const TResourceArchive::Entry& e = f.archive.EntryAt(listing[i].second);
        if (dataStart + e.offset + e.packedSize > f.archiveBytes.size())
            throw std::runtime_error("member " + AnsiToUtf8(listing[i].first) +
                                     " lies outside the file");
        zip_stat_t st;
        if (zip_stat_index(f.zip, i, 0, &st) < 0 || st.size != e.unpackedSize)
            throw std::runtime_error("zip member " + std::to_string(i) + " differs in size");
        f.members.push_back({listing[i].second, static_cast<zip_uint64_t>(i), dataStart + e.offset,
                             e.packedSize, e.unpackedSize, listing[i].first});
        f.unpackedBytes += e.unpackedSize;
        f.rawMembers += e.packedSize == e.unpackedSize;
        f.largest = std::max(f.largest, e.unpackedSize);
    }

    // The three readers must agree on the bytes, or the timings mean nothing.
    std::string fromArchive, fromZip;
    std::vector<unsigned char> fromLimit(f.largest);
    for (std::size_t i = 0; i < f.members.size(); i += 37) {
        const Member& m = f.members[i];
        if (!f.archive.ExtractEntry(m.entry, fromArchive) ||
            !ZipMember(f.zip, m.zipIndex, fromZip) || !LimitMember(f, m, fromLimit.data()) ||
            fromArchive != fromZip ||
            std::memcmp(fromArchive.data(), fromLimit.data(), m.size) != 0)
            throw std::runtime_error("the readers disagree on member " + AnsiToUtf8(m.name));
    }

    BenchRandom rng(0x100000);
    f.lookups.reserve(kLookups);
    for (std::size_t i = 0; i < kLookups; ++i) {
        const Member& m = f.members[rng.Below(static_cast<std::uint32_t>(f.members.size()))];
        f.lookups.push_back(NameVariant(m.name, rng));
        if (f.archive.ResolvePath(f.lookups.back()) != m.entry)
            throw std::runtime_error("lookup of " + AnsiToUtf8(f.lookups.back()) + " fails");
    }

    // The program's archive, opened the way start-up opens it.
    InitProgramPaths(files.folder);
    f.manualName = ProgramDir() + "interface.dat";
    OpenArchive(f.manualName);
}

void CountWork(benchmark::State& state, const Fixture& f) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(f.unpackedBytes));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(f.members.size()));
}

void ReadArchive(benchmark::State& state) {
    const Fixture& f = TheFixture();
    std::string out;
    for (auto _ : state) {
        for (const Member& m : f.members) {
            if (!f.archive.ExtractEntry(m.entry, out)) {
                state.SkipWithError(("cannot extract " + AnsiToUtf8(m.name)).c_str());
                break;
            }
            benchmark::DoNotOptimize(out.data());
        }
    }
    CountWork(state, f);
}

void ReadZip(benchmark::State& state) {
    const Fixture& f = TheFixture();
    std::string out;
    for (auto _ : state) {
        for (const Member& m : f.members) {
            if (!ZipMember(f.zip, m.zipIndex, out)) {
                state.SkipWithError(("libzip cannot read " + AnsiToUtf8(m.name)).c_str());
                break;
            }
            benchmark::DoNotOptimize(out.data());
        }
    }
    CountWork(state, f);
}

void ReadLimit(benchmark::State& state) {
    const Fixture& f = TheFixture();
    std::vector<unsigned char> buffer(f.largest);
    for (auto _ : state) {
        for (const Member& m : f.members) {
            if (!LimitMember(f, m, buffer.data())) {
                state.SkipWithError(("zlib cannot inflate " + AnsiToUtf8(m.name)).c_str());
                break;
            }
            benchmark::DoNotOptimize(buffer.data());
            benchmark::ClobberMemory();
        }
    }
    CountWork(state, f);
}

// What the program does for each resource: look the name up in the process's
// archive and load it into a new stream.
void ReadByName(benchmark::State& state) {
    const Fixture& f = TheFixture();
    for (auto _ : state) {
        try {
            for (const Member& m : f.members) {
                TComprStream stream(m.name);
                benchmark::DoNotOptimize(stream.Bytes().data());
            }
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
        }
    }
    CountWork(state, f);
}

void Open(benchmark::State& state) {
    const Fixture& f = TheFixture();
    for (auto _ : state)
        OpenArchive(f.manualName);
    state.SetItemsProcessed(state.iterations() * TheArchive().EntryCount());
}

void Lookup(benchmark::State& state) {
    const Fixture& f = TheFixture();
    for (auto _ : state) {
        std::size_t found = 0;
        for (const std::string& name : f.lookups)
            found += f.archive.ResolvePath(name) >= 0;
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(f.lookups.size()));
}

// The ratio of CPU times decides: on a shared machine the wall clock also
// counts the time other programs held the processor.
void PrintRatio(const char* label, std::optional<Times> a, std::optional<Times> b,
                const char* target, bool (*met)(double)) {
    if (!a || !b || b->cpu <= 0 || b->real <= 0) {
        std::printf("ratio %s: not measured (target %s)\n", label, target);
        return;
    }
    const double ratio = a->cpu / b->cpu;
    std::printf("ratio %s: %.3f (target %s): %s   [wall clock: %.3f]\n", label, ratio, target,
                met(ratio) ? "met" : "NOT met", a->real / b->real);
}

void Usage() {
    std::printf("archive_bench [--members=N] [--data-dir=DIR] [benchmark options]\n"
                "  --members=N     members of the generated manual (default 20000, about 200 MB;\n"
                "                  also CARMANUAL_BENCH_MEMBERS)\n"
                "  --data-dir=DIR  cache folder of the generated files (default %s;\n"
                "                  also CARMANUAL_BENCH_DATA)\n"
                "Defaults passed to Google Benchmark (give your own to override): "
                "--benchmark_repetitions=5 --benchmark_enable_random_interleaving=true "
                "--benchmark_display_aggregates_only=true\n\n",
                CARMANUAL_BENCH_DATA_DIR);
}

} // namespace

int main(int argc, char** argv) {
    ManualShape shape;
    fs::path dataDir = CARMANUAL_BENCH_DATA_DIR;
    if (const char* env = std::getenv("CARMANUAL_BENCH_MEMBERS"))
        shape.members = std::strtoul(env, nullptr, 10);
    if (const char* env = std::getenv("CARMANUAL_BENCH_DATA"); env && *env)
        dataDir = env;

    // Our defaults first, so that the caller's own flags, parsed later, win.
    std::vector<char*> args{argv[0]};
    static char repetitions[] = "--benchmark_repetitions=5";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    static char aggregates[] = "--benchmark_display_aggregates_only=true";
    args.insert(args.end(), {repetitions, interleave, aggregates});
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--members=", 0) == 0) {
            shape.members = std::strtoul(arg.c_str() + 10, nullptr, 10);
        } else if (arg.rfind("--data-dir=", 0) == 0) {
            dataDir = arg.substr(11);
        } else {
            if (arg == "--help" || arg == "-h")
                Usage();
            args.push_back(argv[i]);
        }
    }
    if (shape.members < 1) {
        std::fprintf(stderr, "archive_bench: --members must be at least 1\n");
        return 2;
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 2;

#ifndef NDEBUG
    std::printf("*** built without NDEBUG (a Debug build?): the reader is not optimised and the "
                "ratios say little; configure with -DCMAKE_BUILD_TYPE=Release\n");
#endif

    Fixture& f = TheFixture();
    try {
        Prepare(f, PrepareDataSet(dataDir, shape, std::cout));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "archive_bench: %s\n", e.what());
        return 1;
    }
    const double mb = 1e6;
    std::printf("members: %zu (%zu stored raw) in %d folders; unpacked %.1f MB; interface.dat "
                "%.1f MB; zip %.1f MB\n",
                f.members.size(), f.rawMembers, f.archive.EntryCount() - int(f.members.size()),
                double(f.unpackedBytes) / mb, double(fs::file_size(f.files.archive)) / mb,
                double(fs::file_size(f.files.zip)) / mb);
    std::fflush(stdout);

    // One iteration reads the whole archive, so repetitions, not iteration
    // counts, give the statistics.
    auto add = [](const char* name, void (*fn)(benchmark::State&), int iterations) {
        benchmark::RegisterBenchmark(name, fn)
            ->Iterations(iterations)
            ->Unit(benchmark::kMillisecond);
    };
    add(kArchiveRead, ReadArchive, 1);
    add(kZipRead, ReadZip, 1);
    add(kLimitRead, ReadLimit, 1);
    add(kStreamRead, ReadByName, 1);
    add(kOpen, Open, 20);
    add(kLookup, Lookup, 1);

    RatioReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                 : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n");
    const auto archive = reporter.Median(kArchiveRead);
    PrintRatio("archive/zlib-limit", archive, reporter.Median(kLimitRead), "<= 1.3",
               [](double r) { return r <= kLimitTarget; });
    PrintRatio("archive/zip", archive, reporter.Median(kZipRead), "< 1",
               [](double r) { return r < 1.0; });
    if (const auto open = reporter.Median(kOpen))
        std::printf("OpenArchive: %.2f ms for %d entries\n", open->cpu * 1e3,
                    TheArchive().EntryCount());
    if (const auto lookup = reporter.Median(kLookup))
        std::printf("ResolvePath: %.1f ms for %zu lookups (%.0f ns each)\n", lookup->cpu * 1e3,
                    kLookups, lookup->cpu * 1e9 / double(kLookups));
    std::printf("(medians of the reading thread's CPU time)\n");

    zip_discard(f.zip);
    benchmark::Shutdown();
    return 0;
}
