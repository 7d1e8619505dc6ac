// The archive writer: what it writes reads back through the reader, is laid
// out as the format says, comes out the same every time, and names that
// cannot be stored are refused.

#include "ansi.h"
#include "archive.h"
#include "archivewriter.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace carmanual {
namespace {

std::string A(std::string_view utf8) {
    return Utf8ToAnsi(utf8);
}

std::string Incompressible(std::size_t size, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s(size, '\0');
    for (char& c : s)
        c = static_cast<char>(gen() & 0xFF);
    return s;
}

std::string Compressible(std::size_t size) {
    std::string s;
    while (s.size() < size)
        s += "<p>Снимите колесо и проверьте тормозные колодки.</p>\r\n";
    s.resize(size);
    return s;
}

std::uint32_t Word(const std::string& bytes, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

std::vector<ArchiveInput> SampleManual() {
    return {
        {"Title.txt", "Руководство"},
        {A("Глава1\\Тормоза.htm"), Compressible(20000)},
        {A("Глава1/Рисунки/Колесо.jpg"), Incompressible(5000, 1)},
        {"ch02\\sub\\deeper\\x.htm", Compressible(3000)},
        {"ch02\\a.htm", "short"},
        {"empty.txt", ""},
        {A("ё.txt"), "small yo"},
        {A("Ё.txt"), "capital yo"},
        {".hidden\\secret.txt", "dot"},
    };
}

TEST(ArchiveWriter, RoundTrip_EveryFileReadsBackByItsNameInAnyCase) {
    const std::vector<ArchiveInput> files = SampleManual();
    ArchiveWriteStats stats;
    const std::string bytes = BuildArchive(files, &stats);
    TResourceArchive archive;
    archive.OpenBytes(bytes);
    for (const ArchiveInput& f : files) {
        SCOPED_TRACE(AnsiToUtf8(f.name));
        for (const std::string& name : {f.name, Folded(f.name), LowerLatin(f.name)}) {
            const int index = archive.ResolvePath(name);
            ASSERT_GE(index, 0);
            std::string out;
            ASSERT_TRUE(archive.ExtractEntry(index, out));
            EXPECT_EQ(out, f.data);
        }
    }
    EXPECT_EQ(stats.files, files.size());
    EXPECT_EQ(stats.folders, 6u); // ГЛАВА1, РИСУНКИ, CH02, SUB, DEEPER, .HIDDEN
    std::size_t unpacked = 0;
    for (const ArchiveInput& f : files)
        unpacked += f.data.size();
    EXPECT_EQ(stats.unpackedBytes, unpacked);
    EXPECT_LT(stats.packedBytes, stats.unpackedBytes);
}

TEST(ArchiveWriter, Members_AreStoredPackedOnlyWhenThatIsSmaller) {
    const std::string text = Compressible(20000);
    const std::string noise = Incompressible(5000, 2);
    TResourceArchive archive;
    archive.OpenBytes(BuildArchive({{"text.htm", text}, {"noise.jpg", noise}, {"e", ""}}));
    const auto& t = archive.EntryAt(archive.ResolvePath("text.htm"));
    EXPECT_EQ(t.unpackedSize, text.size());
    EXPECT_LT(t.packedSize, t.unpackedSize);
    const auto& n = archive.EntryAt(archive.ResolvePath("noise.jpg"));
    EXPECT_EQ(n.packedSize, noise.size());
    EXPECT_EQ(n.unpackedSize, noise.size());
    const auto& e = archive.EntryAt(archive.ResolvePath("e"));
    EXPECT_EQ(e.packedSize, 0u);
    EXPECT_EQ(e.unpackedSize, 0u);
}

TEST(ArchiveWriter, Layout_FollowsTheFormat) {
    // Read the header and directory with plain zlib, not with the reader.
    const std::vector<ArchiveInput> files = SampleManual();
    const std::string bytes = BuildArchive(files);
    ASSERT_GE(bytes.size(), 8u);
    const std::uint32_t delta = Word(bytes, 0) ^ 0x5A3C9E17u;
    const std::uint32_t packed = Word(bytes, 4) ^ 0xC4D2086Bu;
    ASSERT_LE(8u + packed, bytes.size());
    std::string block;
    if (delta == 0) {
        block = bytes.substr(8, packed);
    } else {
        block.resize(delta + packed);
        uLongf len = static_cast<uLongf>(block.size());
        ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(block.data()), &len,
                             reinterpret_cast<const Bytef*>(bytes.data() + 8), packed),
                  Z_OK);
        ASSERT_EQ(len, block.size());
    }
    const std::int32_t dirCount = static_cast<std::int32_t>(Word(block, 0));
    const std::int32_t entryCount = static_cast<std::int32_t>(Word(block, 4));
    const std::int32_t rootDir = static_cast<std::int32_t>(Word(block, 12));
    EXPECT_EQ(dirCount, 7);                                             // root + 6 folders
    EXPECT_EQ(entryCount, static_cast<std::int32_t>(files.size()) + 6); // files + folders
    ASSERT_GE(rootDir, 0);
    ASSERT_LT(rootDir, dirCount);
    ASSERT_EQ(block.size(), 16u + 8u * dirCount + 80u * entryCount);

    const std::size_t dataStart = 8 + packed;
    const std::size_t entries = 16 + 8 * static_cast<std::size_t>(dirCount);
    int filesSeen = 0;
    for (std::int32_t i = 0; i < entryCount; ++i) {
        const std::size_t e = entries + 80 * static_cast<std::size_t>(i);
        const std::string name(block.data() + e, strnlen(block.data() + e, 64));
        SCOPED_TRACE(AnsiToUtf8(name));
        EXPECT_EQ(name, Folded(name)); // stored folded
        EXPECT_EQ(name.find('\\'), std::string::npos);
        const std::uint32_t offset = Word(block, e + 64);
        const std::uint32_t packedSize = Word(block, e + 68);
        const std::uint32_t unpackedSize = Word(block, e + 72);
        const std::int32_t kind = static_cast<std::int32_t>(Word(block, e + 76));
        ASSERT_TRUE(kind == 1 || kind == 2);
        if (kind == 2) {
            EXPECT_LT(offset, static_cast<std::uint32_t>(dirCount));
            continue;
        }
        ++filesSeen;
        ASSERT_LE(dataStart + offset + packedSize, bytes.size());
        if (packedSize != unpackedSize) {
            std::string out(unpackedSize, '\0');
            uLongf len = unpackedSize;
            EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &len,
                                 reinterpret_cast<const Bytef*>(bytes.data() + dataStart + offset),
                                 packedSize),
                      Z_OK);
            EXPECT_EQ(len, unpackedSize);
        }
    }
    EXPECT_EQ(filesSeen, static_cast<int>(files.size()));
    // Each folder's entries are contiguous and inside the entry table.
    for (std::int32_t d = 0; d < dirCount; ++d) {
        const std::int32_t first = static_cast<std::int32_t>(Word(block, 16 + 8 * d));
        const std::int32_t num = static_cast<std::int32_t>(Word(block, 16 + 8 * d + 4));
        EXPECT_GE(first, 0);
        EXPECT_GE(num, 0);
        EXPECT_LE(first + num, entryCount);
    }
}

TEST(ArchiveWriter, Listing_IsSortedByFoldedNameAndHidesDotNames) {
    TResourceArchive archive;
    archive.OpenBytes(BuildArchive(SampleManual()));
    const TDynamicStringArray expected = {
        "CH02\\A.HTM",
        "CH02\\SUB\\DEEPER\\X.HTM",
        "EMPTY.TXT",
        "TITLE.TXT",
        A("Ё.TXT"), // 0xA8
        A("ё.TXT"), // 0xB8
        A("ГЛАВА1\\РИСУНКИ\\КОЛЕСО.JPG"),
        A("ГЛАВА1\\ТОРМОЗА.HTM"),
    };
    EXPECT_EQ(archive.ListFiles(), expected);
}

TEST(ArchiveWriter, SameFilesTwice_GiveTheSameBytes) {
    const std::vector<ArchiveInput> files = SampleManual();
    const std::string first = BuildArchive(files);
    EXPECT_EQ(BuildArchive(files), first);
    std::vector<ArchiveInput> reversed(files.rbegin(), files.rend());
    EXPECT_EQ(BuildArchive(reversed), first);
}

TEST(ArchiveWriter, NoFiles_GiveAnEmptyArchive) {
    TResourceArchive archive;
    archive.OpenBytes(BuildArchive({}));
    EXPECT_TRUE(archive.ListFiles().empty());
    EXPECT_EQ(archive.ResolvePath("x"), -1);
}

TEST(ArchiveWriter, Progress_CountsEveryFile) {
    std::vector<std::size_t> calls;
    std::size_t total = 0;
    BuildArchive(SampleManual(), nullptr, [&](std::size_t done, std::size_t all) {
        calls.push_back(done);
        total = all;
    });
    EXPECT_EQ(total, SampleManual().size());
    ASSERT_EQ(calls.size(), total);
    EXPECT_EQ(calls.back(), total);
}

TEST(ArchiveWriter, ComponentOfSixtyThreeBytes_IsStored) {
    const std::string name63(63, 'n');
    const std::string cyr63(63, static_cast<char>(0xC0)); // 63 × 'А'
    TResourceArchive archive;
    archive.OpenBytes(BuildArchive({{name63 + "\\" + name63, "a"}, {cyr63, "b"}}));
    int index = archive.ResolvePath(name63 + "\\" + name63);
    ASSERT_GE(index, 0);
    index = archive.ResolvePath(cyr63);
    ASSERT_GE(index, 0);
}

struct Refusal {
    const char* name;
    std::vector<ArchiveInput> files;
};

const Refusal kRefused[] = {
    {"ComponentOf64Bytes", {{std::string(64, 'x'), "a"}}},
    {"FolderOf64Bytes", {{std::string(64, 'd') + "\\f", "a"}}},
    {"CyrillicComponentOf64Bytes", {{std::string(64, static_cast<char>(0xE0)), "a"}}},
    {"LatinCase", {{"a.txt", "1"}, {"A.TXT", "2"}}},
    {"CyrillicCase", {{A("Док.txt"), "1"}, {A("дОК.TXT"), "2"}}},
    {"SlashDirection", {{"dir/x", "1"}, {"DIR\\x", "2"}}},
    {"SameNameTwice", {{"a", "1"}, {"a", "2"}}},
    {"FileThenFolder", {{"x", "1"}, {"X\\y", "2"}}},
    {"FolderThenFile", {{"x\\y", "1"}, {"X", "2"}}},
    {"EmptyComponent", {{"a\\\\b", "1"}}},
    {"TrailingBackslash", {{"a\\", "1"}}},
    {"EmptyName", {{"", "1"}}},
};

class ArchiveWriterRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(ArchiveWriterRefuses, WithAnErrorNamingTheFile) {
    try {
        BuildArchive(GetParam().files);
        FAIL() << "written";
    } catch (const EArchiveWrite& e) {
        // The message names the offending file (in UTF-8), at least its last part.
        const std::string last = AnsiToUtf8(GetParam().files.back().name);
        const std::string tail = last.substr(
            last.find_last_of("\\/") == std::string::npos ? 0 : last.find_last_of("\\/") + 1);
        EXPECT_NE(std::string(e.what()).find(tail), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ArchiveWriterRefuses, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArchiveWriter, YoAndCapitalYo_AreDifferentNames) {
    TResourceArchive archive;
    archive.OpenBytes(BuildArchive({{A("ёлка"), "1"}, {A("Ёлка"), "2"}, {A("Елка"), "3"}}));
    std::string out;
    ASSERT_TRUE(archive.ExtractEntry(archive.ResolvePath(A("ЁЛКА")), out));
    EXPECT_EQ(out, "2");
    ASSERT_TRUE(archive.ExtractEntry(archive.ResolvePath(A("ёЛКА")), out));
    EXPECT_EQ(out, "1");
    ASSERT_TRUE(archive.ExtractEntry(archive.ResolvePath(A("елка")), out));
    EXPECT_EQ(out, "3");
}

} // namespace
} // namespace carmanual
