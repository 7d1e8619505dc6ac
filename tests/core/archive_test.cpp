// The resource archive reader against archives laid out byte by byte by the
// test writer in archivebytes.h: lookups, loading, listing, the disk
// fall-back, and damaged or hostile files.

#include "ansi.h"
#include "archive.h"
#include "archivebytes.h"
#include "comprstream.h"
#include "paths.h"
#include "tempdir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace carmanual {
namespace {

namespace fs = std::filesystem;
using test::ArchiveBytes;
using test::RawDir;
using test::RawEntry;
using test::TempDir;

// Windows-1251 bytes of a UTF-8 literal.
std::string A(std::string_view utf8) {
    return Utf8ToAnsi(utf8);
}

// A folder tree in stored order; names are given as they are stored (folded).
struct Item {
    std::string name;
    bool dir = false;
    std::string content;
    bool compress = true;
    std::vector<Item> children;
};

Item F(std::string name, std::string content, bool compress = true) {
    return Item{std::move(name), false, std::move(content), compress, {}};
}
Item D(std::string name, std::vector<Item> children) {
    return Item{std::move(name), true, {}, false, std::move(children)};
}

// Lays the tree out as a packer would: folder records breadth-first, each
// folder's entries contiguous and in the given order.
ArchiveBytes Layout(const std::vector<Item>& root) {
    ArchiveBytes a;
    std::vector<const std::vector<Item>*> queue{&root};
    a.dirs.resize(1);
    for (std::size_t d = 0; d < queue.size(); ++d) {
        const std::vector<Item>& items = *queue[d];
        a.dirs[d] = RawDir{static_cast<std::int32_t>(a.entries.size()),
                           static_cast<std::int32_t>(items.size())};
        for (const Item& it : items) {
            if (it.dir) {
                a.entries.push_back(
                    ArchiveBytes::Dir(it.name, static_cast<std::uint32_t>(queue.size())));
                queue.push_back(&it.children);
                a.dirs.emplace_back();
            } else {
                a.entries.push_back(a.File(it.name, it.content, it.compress));
            }
        }
    }
    return a;
}

std::string Extract(const TResourceArchive& archive, std::string_view name) {
    const int index = archive.ResolvePath(name);
    if (index < 0)
        return "<missing>";
    std::string out;
    if (!archive.ExtractEntry(index, out))
        return "<damaged>";
    return out;
}

std::string Repeat(std::string_view piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

// ---- lookups ----

class ArchiveLookup : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<Item> root = {
            F("README.TXT", "readme"),
            D("A", {D("B", {F("C.HTM", "page c")})}),
            F(A("ё.TXT"), "small yo"), // ё is not folded to Ё
            F(A("Ё.TXT"), "capital yo"),
            F(A("ТОРМОЗА.HTM"), "brakes"),
            F("X", "file x"), // a file stored before a folder X
            D("X", {F("Y", "below folder x")}),
            D("DIR", {F("F", "in dir")}),
        };
        m_archive.OpenBytes(Layout(root).Bytes());
    }
    TResourceArchive m_archive;
};

TEST_F(ArchiveLookup, SlashesAndLetterCase_FoldToTheSameEntry) {
    const int index = m_archive.ResolvePath("a\\b\\c.htm");
    ASSERT_GE(index, 0);
    for (const char* name : {"a/b\\C.htm", "A\\B\\c.HTM", "A/B/C.HTM", "a/b/c.htm"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(m_archive.ResolvePath(name), index);
    }
    EXPECT_EQ(Extract(m_archive, "a/b\\C.htm"), "page c");
}

TEST_F(ArchiveLookup, CyrillicLetters_FoldButYoKeepsItsCase) {
    EXPECT_EQ(Extract(m_archive, A("тормоза.htm")), "brakes");
    EXPECT_EQ(Extract(m_archive, A("ТоРмОзА.HTM")), "brakes");
    EXPECT_EQ(Extract(m_archive, A("ё.txt")), "small yo");
    EXPECT_EQ(Extract(m_archive, A("Ё.txt")), "capital yo");
    EXPECT_NE(m_archive.ResolvePath(A("ё.txt")), m_archive.ResolvePath(A("Ё.txt")));
    EXPECT_EQ(m_archive.ResolvePath(A("е.txt")), -1);
}

TEST_F(ArchiveLookup, OneLeadingBackslash_IsSkipped) {
    EXPECT_EQ(m_archive.ResolvePath("\\readme.txt"), m_archive.ResolvePath("readme.txt"));
    EXPECT_EQ(m_archive.ResolvePath("\\a\\b\\c.htm"), m_archive.ResolvePath("a\\b\\c.htm"));
    EXPECT_EQ(m_archive.ResolvePath("/a/b/c.htm"), m_archive.ResolvePath("a\\b\\c.htm"));
    EXPECT_EQ(m_archive.ResolvePath("\\\\readme.txt"), -1);
}

TEST_F(ArchiveLookup, FirstEntryOfAName_WinsEvenWhenOfTheOtherKind) {
    EXPECT_EQ(Extract(m_archive, "x"), "file x");
    EXPECT_EQ(m_archive.ResolvePath("x\\y"), -1);
    EXPECT_EQ(m_archive.Resolve("x", archive_format::kKindDirectory), -1);
}

TEST_F(ArchiveLookup, EmptyComponents_NeverMatch) {
    for (const char* name :
         {"DIR\\", "DIR\\\\F", "dir//f", "", "\\", "a\\\\b\\c.htm", "a\\b\\c.htm\\"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(m_archive.ResolvePath(name), -1);
    }
    EXPECT_GE(m_archive.ResolvePath("DIR\\F"), 0);
}

TEST_F(ArchiveLookup, FolderName_IsNotAFile) {
    EXPECT_EQ(m_archive.ResolvePath("dir"), -1);
    EXPECT_GE(m_archive.Resolve("dir", archive_format::kKindDirectory), 0);
    std::string out;
    EXPECT_FALSE(
        m_archive.ExtractEntry(m_archive.Resolve("dir", archive_format::kKindDirectory), out));
}

TEST_F(ArchiveLookup, ExtractEntryOutOfRange_Fails) {
    std::string out;
    EXPECT_FALSE(m_archive.ExtractEntry(-1, out));
    EXPECT_FALSE(m_archive.ExtractEntry(m_archive.EntryCount(), out));
    EXPECT_FALSE(m_archive.ExtractEntry(std::numeric_limits<int>::max(), out));
}

TEST_F(ArchiveLookup, OverlongNamesAndComponents_DoNotResolve) {
    EXPECT_EQ(m_archive.ResolvePath(Repeat("a", 5000)), -1);
    EXPECT_EQ(m_archive.ResolvePath(Repeat("a", 300) + "\\readme.txt"), -1);
    EXPECT_EQ(m_archive.ResolvePath(Repeat("a\\", 2000) + "readme.txt"), -1);
}

TEST(ArchiveRoot, PrefixInAnyLetterCase_IsRemoved) {
    TResourceArchive archive;
    archive.OpenBytes(Layout({D("CH01", {F("BRAKES.HTM", "b")})}).Bytes());
    archive.SetRoot("c:\\Manual\\");
    for (const char* name :
         {"c:\\manual\\ch01\\brakes.htm", "C:\\MANUAL\\CH01\\BRAKES.HTM",
          "c:/Manual/ch01/Brakes.htm", "ch01\\brakes.htm", "\\ch01\\brakes.htm"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Extract(archive, name), "b");
    }
    EXPECT_EQ(archive.ResolvePath("c:\\other\\ch01\\brakes.htm"), -1);
}

TEST(ArchiveRoot, AnyDriveButZ_StandsForTheManualsDrive) {
    TResourceArchive archive;
    archive.OpenBytes(Layout({D("VIDEO", {F("CLIP.AVI", "v")})}).Bytes());
    archive.SetRoot("c:\\");
    EXPECT_EQ(Extract(archive, "d:\\video\\clip.avi"), "v");
    EXPECT_EQ(Extract(archive, "E:\\VIDEO\\CLIP.AVI"), "v");
    EXPECT_EQ(Extract(archive, "c:\\video\\clip.avi"), "v");
    EXPECT_EQ(archive.ResolvePath("z:\\video\\clip.avi"), -1);
}

TEST(ArchiveRoot, FirstRunFolder_IsRemovedWhereverItStands) {
    struct Case {
        const char* programDir;
        const char* root;
    };
    const Case cases[] = {
        {"c:\\prun\\x\\", "c:\\px\\"},      {"c:\\run\\", "c:\\"}, {"c:\\RUN\\", "c:\\"},
        {"c:\\Run\\run\\", "c:\\run\\"},    {"c:\\", "c:\\"},      {"c:\\manual\\", "c:\\manual\\"},
        {"c:\\running\\", "c:\\running\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.programDir);
        EXPECT_EQ(ArchiveRootFor(c.programDir), c.root);
    }
}

// ---- loading ----

TEST(ArchiveLoad, RawMember_IsCopiedWithoutInflating) {
    // A raw member whose bytes happen to be a zlib stream must come back as
    // those bytes.
    const std::string zlibBytes = test::ZlibCompress(Repeat("inflate me ", 50));
    ArchiveBytes a = Layout({F("RAW.BIN", zlibBytes, false), F("PACKED.BIN", zlibBytes, true)});
    ASSERT_EQ(a.entries[0].packedSize, a.entries[0].unpackedSize);
    TResourceArchive archive;
    archive.OpenBytes(a.Bytes());
    EXPECT_EQ(Extract(archive, "raw.bin"), zlibBytes);
    EXPECT_EQ(Extract(archive, "packed.bin"), zlibBytes);
}

TEST(ArchiveLoad, RawDirectory_IsReadWhenTheFirstWordDecodesToZero) {
    ArchiveBytes a = Layout({F("A.TXT", "alpha"), D("S", {F("B.TXT", "beta", false)})});
    a.compressDirectory = false;
    const std::string bytes = a.Bytes();
    std::uint32_t word0;
    std::memcpy(&word0, bytes.data(), 4);
    ASSERT_EQ(word0 ^ 0x5A3C9E17u, 0u);
    TResourceArchive archive;
    archive.OpenBytes(bytes);
    EXPECT_EQ(Extract(archive, "a.txt"), "alpha");
    EXPECT_EQ(Extract(archive, "s\\b.txt"), "beta");
}

TEST(ArchiveLoad, EmptyMembers_RawAndCompressed) {
    TResourceArchive archive;
    archive.OpenBytes(Layout({F("E1", "", false), F("E2", "", true)}).Bytes());
    EXPECT_EQ(Extract(archive, "e1"), "");
    EXPECT_EQ(Extract(archive, "e2"), "");
}

TEST(ArchiveLoad, LargeHighlyCompressibleMember_InflatesCompletely) {
    // Tens of megabytes from a few kilobytes: more than any buffer set aside
    // before the data has shown up.
    std::string big(24u << 20, 'z');
    for (std::size_t i = 0; i < big.size(); i += 4099)
        big[i] = static_cast<char>('a' + i % 26);
    ArchiveBytes a = Layout({F("BIG.BIN", big, true)});
    TResourceArchive archive;
    archive.OpenBytes(a.Bytes());
    EXPECT_TRUE(Extract(archive, "big.bin") == big);
    // One byte less than the stream yields: damaged.
    a.entries[0].unpackedSize -= 1;
    archive.OpenBytes(a.Bytes());
    EXPECT_EQ(Extract(archive, "big.bin"), "<damaged>");
}

TEST(ArchiveLoad, ReservedWord_IsIgnored) {
    ArchiveBytes a = Layout({F("A.TXT", "alpha")});
    a.reserved = -12345;
    TResourceArchive archive;
    archive.OpenBytes(a.Bytes());
    EXPECT_EQ(Extract(archive, "a.txt"), "alpha");
}

TEST(ArchiveLoad, RootDirectory_NeedNotBeRecordZero) {
    ArchiveBytes a;
    a.entries.push_back(a.File("OTHER.TXT", "not root", true));
    a.entries.push_back(a.File("ROOT.TXT", "root", true));
    a.dirs = {RawDir{0, 1}, RawDir{1, 1}};
    a.rootDir = 1;
    TResourceArchive archive;
    archive.OpenBytes(a.Bytes());
    EXPECT_EQ(Extract(archive, "root.txt"), "root");
    EXPECT_EQ(archive.ResolvePath("other.txt"), -1);
    EXPECT_EQ(archive.ListFiles(), (TDynamicStringArray{"ROOT.TXT"}));
}

TEST(ArchiveLoad, NativeFile_ReadsLikeBytesInMemory) {
    TempDir tmp;
    const std::string bytes =
        Layout({F("A.TXT", "alpha"), D("S", {F("B.TXT", Repeat("beta", 1000))})}).Bytes();
    const fs::path file = tmp.Write("interface.dat", bytes);
    TResourceArchive archive;
    archive.Open(file.string());
    EXPECT_TRUE(archive.IsOpen());
    EXPECT_EQ(Extract(archive, "a.txt"), "alpha");
    EXPECT_EQ(Extract(archive, "s/b.txt"), Repeat("beta", 1000));
    // Loads move the shared file position; an earlier member still reads.
    EXPECT_EQ(Extract(archive, "a.txt"), "alpha");
}

TEST(ArchiveLoad, MissingNativeFile_RaisesFileOpenError) {
    TempDir tmp;
    TResourceArchive archive;
    EXPECT_THROW(archive.Open((tmp.Path() / "none.dat").string()), EFOpenError);
    EXPECT_FALSE(archive.IsOpen());
}

// ---- listing ----

TEST(ArchiveListing, DepthFirstInStoredOrder_SkippingDotNames) {
    TResourceArchive archive;
    archive.OpenBytes(Layout({
                                 F("B.TXT", "b"),
                                 D("SUB", {F("Z.TXT", "z"), F(".X", "hidden"),
                                           D("INNER", {F("Q.TXT", "q")}), F("A.TXT", "a")}),
                                 D(".GIT", {F("CONFIG", "c"), D("DEEP", {F("K", "k")})}),
                                 F(".HIDDEN", "h"),
                                 F(A("ГЛАВА.HTM"), "g"),
                             })
                          .Bytes());
    const TDynamicStringArray expected = {"B.TXT", "SUB\\Z.TXT", "SUB\\INNER\\Q.TXT", "SUB\\A.TXT",
                                          A("ГЛАВА.HTM")};
    EXPECT_EQ(archive.ListFiles(), expected);
    // Hidden names are still found by name.
    EXPECT_EQ(Extract(archive, ".hidden"), "h");
    EXPECT_EQ(Extract(archive, ".git\\config"), "c");
}

TEST(ArchiveListing, EveryListedPath_ResolvesToItsEntry) {
    TResourceArchive archive;
    archive.OpenBytes(
        Layout({D("P", {D("Q", {F("R", "r"), F("S", "s")}), F("T", "t")}), F("U", "u")}).Bytes());
    const auto entries = archive.ListFileEntries();
    ASSERT_EQ(entries.size(), 4u);
    for (const auto& [path, index] : entries) {
        SCOPED_TRACE(path);
        EXPECT_EQ(archive.ResolvePath(path), index);
    }
}

// ---- the process's archive, the stream and the disk ----

class ProcessArchive : public ::testing::Test {
protected:
    void SetUp() override {
        InitProgramPaths(m_tmp.Path());
        TheArchive().Close();
    }
    void TearDown() override { TheArchive().Close(); }

    void OpenProcessArchive(const std::vector<Item>& root) {
        TheArchive().OpenBytes(Layout(root).Bytes());
        SetArchiveRoot(ArchiveRootFor(ProgramDir()));
    }
    static std::string Read(std::string_view name) { return TComprStream(name).TakeBytes(); }

    TempDir m_tmp;
};

TEST_F(ProcessArchive, DiskOnlyFile_ExistsAndIsReadFromDisk) {
    OpenProcessArchive({F("IN.TXT", "archive")});
    m_tmp.Write("pics/Disk.bmp", "disk bytes");
    EXPECT_TRUE(ArchiveFileExists("c:\\pics\\disk.bmp"));
    EXPECT_TRUE(ArchiveFileExists("pics\\DISK.BMP"));
    TComprStream stream("c:\\PICS\\disk.bmp");
    EXPECT_EQ(stream.Position(), 0u);
    EXPECT_EQ(stream.Size(), 10u);
    EXPECT_EQ(stream.Bytes(), "disk bytes");
}

TEST_F(ProcessArchive, NameInArchiveAndOnDisk_IsReadFromTheArchive) {
    OpenProcessArchive({F("BOTH.TXT", "from archive")});
    m_tmp.Write("both.txt", "from disk");
    EXPECT_TRUE(ArchiveFileExists("c:\\both.txt"));
    EXPECT_EQ(Read("c:\\both.txt"), "from archive");
    EXPECT_EQ(Read("both.txt"), "from archive");
}

TEST_F(ProcessArchive, ArchiveOnlyFile_Exists) {
    OpenProcessArchive({D("CH01", {F("BRAKES.HTM", "brakes")})});
    EXPECT_TRUE(ArchiveFileExists("c:\\ch01\\brakes.htm"));
    EXPECT_TRUE(ArchiveFileExists("d:\\CH01\\Brakes.htm"));
    EXPECT_EQ(Read("ch01/brakes.htm"), "brakes");
    EXPECT_EQ(ListArchiveFiles(), (TDynamicStringArray{"CH01\\BRAKES.HTM"}));
    EXPECT_GE(ResolvePath("c:\\ch01\\brakes.htm"), 0);
}

TEST_F(ProcessArchive, NameNowhere_RaisesFileOpenError) {
    OpenProcessArchive({D("DOCS", {F("A.TXT", "a")})});
    EXPECT_FALSE(ArchiveFileExists("c:\\missing.txt"));
    EXPECT_THROW(TComprStream("c:\\missing.txt"), EFOpenError);
    // A folder is not a file, in the archive or on disk.
    EXPECT_FALSE(ArchiveFileExists("c:\\docs"));
    EXPECT_THROW(TComprStream("c:\\docs"), EFOpenError);
    try {
        TComprStream stream(A("c:\\нет.txt"));
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.FileName(), A("c:\\нет.txt"));
    }
}

TEST_F(ProcessArchive, NoArchiveOpened_LookupsFindNothingAndReadsUseTheDisk) {
    m_tmp.Write("Disk.txt", "disk");
    EXPECT_FALSE(TheArchive().IsOpen());
    EXPECT_EQ(ResolvePath("disk.txt"), -1);
    EXPECT_EQ(ResolvePath(""), -1);
    EXPECT_TRUE(ListArchiveFiles().empty());
    EXPECT_TRUE(ArchiveFileExists("c:\\disk.txt"));
    EXPECT_FALSE(ArchiveFileExists("c:\\other.txt"));
    EXPECT_EQ(Read("c:\\DISK.TXT"), "disk");
    EXPECT_THROW(TComprStream("c:\\other.txt"), EFOpenError);
}

TEST_F(ProcessArchive, ProgramInRunFolder_ArchiveRootIsTheParent) {
    const fs::path run = m_tmp.Path() / "run";
    fs::create_directories(run);
    InitProgramPaths(run);
    OpenProcessArchive({D("VIDEO", {F("CLIP.AVI", "clip")}), D("RUN", {F("S.TXT", "s")})});
    EXPECT_EQ(TheArchive().Root(), "C:\\");
    EXPECT_EQ(Read("c:\\video\\clip.avi"), "clip");
    EXPECT_EQ(Read(ProgramDir() + "s.txt"), "s");
}

TEST_F(ProcessArchive, OpenArchive_FindsTheFileWithoutRegardToCase) {
    m_tmp.Write("INTERFACE.DAT", Layout({F("A.TXT", "alpha")}).Bytes());
    OpenArchive(ProgramDir() + "interface.dat");
    SetArchiveRoot(ArchiveRootFor(ProgramDir()));
    EXPECT_EQ(Read("c:\\a.txt"), "alpha");
}

TEST_F(ProcessArchive, OpenArchiveOfMissingFile_RaisesAndLeavesNoArchive) {
    OpenProcessArchive({F("A.TXT", "alpha")});
    EXPECT_THROW(OpenArchive(ProgramDir() + "interface.dat"), EFOpenError);
    EXPECT_FALSE(TheArchive().IsOpen());
    EXPECT_EQ(ResolvePath("a.txt"), -1);
}

TEST_F(ProcessArchive, DamagedArchiveReplacingAGoodOne_LeavesNoArchive) {
    OpenProcessArchive({F("A.TXT", "alpha")});
    m_tmp.Write("interface.dat", "garbage!garbage!");
    EXPECT_THROW(OpenArchive(ProgramDir() + "interface.dat"), EArchiveDamaged);
    EXPECT_FALSE(TheArchive().IsOpen());
    EXPECT_EQ(ResolvePath("a.txt"), -1);
    EXPECT_TRUE(ListArchiveFiles().empty());
}

// ---- hostile directories ----

std::string SetWord(std::string bytes, std::size_t at, std::uint32_t value) {
    std::memcpy(&bytes[at], &value, 4);
    return bytes;
}
std::uint32_t GetWord(const std::string& bytes, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

// The directory block (inflated) and its header words.
struct Valid {
    ArchiveBytes a = Layout({F("A.TXT", "alpha"), D("SUB", {F("B.TXT", "beta")})});
    explicit Valid(bool compressed) { a.compressDirectory = compressed; }
    std::string Bytes() const { return a.Bytes(); }
    std::uint32_t PackedDirSize() const { return GetWord(Bytes(), 4) ^ 0xC4D2086Bu; }
    std::uint32_t SizeDelta() const { return GetWord(Bytes(), 0) ^ 0x5A3C9E17u; }
};

struct HostileCase {
    const char* name;
    std::function<std::string(bool compressedDirectory)> make;
};

const HostileCase kDamagedDirectories[] = {
    {"Empty", [](bool) { return std::string(); }},
    {"HeaderCutAt4", [](bool c) { return Valid(c).Bytes().substr(0, 4); }},
    {"HeaderCutAt7", [](bool c) { return Valid(c).Bytes().substr(0, 7); }},
    {"HeaderOnly", [](bool c) { return Valid(c).Bytes().substr(0, 8); }},
    {"DirectoryCutShort",
     [](bool c) {
         const Valid v(c);
         return v.Bytes().substr(0, 8 + v.PackedDirSize() / 2);
     }},
    {"PackedDirSizeOneBeyondFile",
     [](bool c) {
         const std::string b = Valid(c).Bytes();
         return SetWord(b, 4, static_cast<std::uint32_t>(b.size() - 8 + 1) ^ 0xC4D2086Bu);
     }},
    {"PackedDirSizeHuge",
     [](bool c) { return SetWord(Valid(c).Bytes(), 4, 0xFFFFFFFFu ^ 0xC4D2086Bu); }},
    {"UnpackedSizeOfGigabytes",
     [](bool c) { return SetWord(Valid(c).Bytes(), 0, 0xC0000000u ^ 0x5A3C9E17u); }},
    {"UnpackedSizeWrapsBelowPacked",
     [](bool c) { return SetWord(Valid(c).Bytes(), 0, 0xFFFFFFFFu ^ 0x5A3C9E17u); }},
    {"UnpackedSizeOneShort",
     [](bool c) {
         const Valid v(c);
         return SetWord(v.Bytes(), 0, (v.SizeDelta() - 1) ^ 0x5A3C9E17u);
     }},
    {"CompressedDirectoryTruncated",
     [](bool c) {
         const Valid v(c);
         std::string b = v.Bytes();
         b = SetWord(b, 4, (v.PackedDirSize() / 2) ^ 0xC4D2086Bu);
         return SetWord(b, 0, (v.SizeDelta() + v.PackedDirSize() / 2) ^ 0x5A3C9E17u);
     }},
    {"DirectoryGarbage",
     [](bool c) {
         const Valid v(c);
         std::string b = v.Bytes();
         for (std::size_t i = 8; i < 8 + v.PackedDirSize(); ++i)
             b[i] = static_cast<char>(0xAB);
         return b;
     }},
    {"DirectoryShorterThanItsHeader",
     [](bool) {
         std::string b;
         test::PutWord(b, 0x5A3C9E17u);
         test::PutWord(b, 12u ^ 0xC4D2086Bu);
         test::PutWord(b, 1);
         test::PutWord(b, 0);
         test::PutWord(b, 0);
         return b;
     }},
    {"RootDirNegative",
     [](bool c) {
         Valid v(c);
         v.a.rootDir = -1;
         return v.Bytes();
     }},
    {"RootDirEqualsDirCount",
     [](bool c) {
         Valid v(c);
         v.a.rootDir = static_cast<std::int32_t>(v.a.dirs.size());
         return v.Bytes();
     }},
    {"RootDirHuge",
     [](bool c) {
         Valid v(c);
         v.a.rootDir = std::numeric_limits<std::int32_t>::max();
         return v.Bytes();
     }},
    {"DirCountZero",
     [](bool c) {
         Valid v(c);
         v.a.dirs.clear();
         v.a.entries.clear();
         return v.Bytes();
     }},
    {"DirCountNegative",
     [](bool c) {
         const std::string block = SetWord(Valid(c).a.DirectoryBlock(), 0, 0xFFFFFFFFu);
         std::string b;
         test::PutWord(b, 0x5A3C9E17u);
         test::PutWord(b, static_cast<std::uint32_t>(block.size()) ^ 0xC4D2086Bu);
         return b + block;
     }},
    {"DirCountHuge",
     [](bool c) {
         const std::string block = SetWord(Valid(c).a.DirectoryBlock(), 0, 0x7FFFFFFFu);
         std::string b;
         test::PutWord(b, 0x5A3C9E17u);
         test::PutWord(b, static_cast<std::uint32_t>(block.size()) ^ 0xC4D2086Bu);
         return b + block;
     }},
    {"DirCountOneTooMany",
     [](bool c) {
         const Valid v(c);
         const std::string block =
             SetWord(v.a.DirectoryBlock(), 0, static_cast<std::uint32_t>(v.a.dirs.size() + 1));
         std::string b;
         test::PutWord(b, 0x5A3C9E17u);
         test::PutWord(b, static_cast<std::uint32_t>(block.size()) ^ 0xC4D2086Bu);
         return b + block;
     }},
    {"EntryCountNegative",
     [](bool c) {
         const std::string block = SetWord(Valid(c).a.DirectoryBlock(), 4, 0xFFFFFFFEu);
         std::string b;
         test::PutWord(b, 0x5A3C9E17u);
         test::PutWord(b, static_cast<std::uint32_t>(block.size()) ^ 0xC4D2086Bu);
         return b + block;
     }},
    {"EntryCountHuge",
     [](bool c) {
         const std::string block = SetWord(Valid(c).a.DirectoryBlock(), 4, 0x7FFFFFFFu);
         std::string b;
         test::PutWord(b, 0x5A3C9E17u);
         test::PutWord(b, static_cast<std::uint32_t>(block.size()) ^ 0xC4D2086Bu);
         return b + block;
     }},
    {"EntryCountOneTooMany",
     [](bool c) {
         const Valid v(c);
         const std::string block =
             SetWord(v.a.DirectoryBlock(), 4, static_cast<std::uint32_t>(v.a.entries.size() + 1));
         std::string b;
         test::PutWord(b, 0x5A3C9E17u);
         test::PutWord(b, static_cast<std::uint32_t>(block.size()) ^ 0xC4D2086Bu);
         return b + block;
     }},
    {"DirRecordFirstEntryNegative",
     [](bool c) {
         Valid v(c);
         v.a.dirs[1].firstEntry = -1;
         return v.Bytes();
     }},
    {"DirRecordEntryNumNegative",
     [](bool c) {
         Valid v(c);
         v.a.dirs[1].entryNum = -5;
         return v.Bytes();
     }},
    {"DirRecordRunsPastEntries",
     [](bool c) {
         Valid v(c);
         v.a.dirs[1].entryNum = 2;
         return v.Bytes();
     }},
    {"DirRecordFirstEntryPastEntries",
     [](bool c) {
         Valid v(c);
         v.a.dirs[1] = RawDir{static_cast<std::int32_t>(v.a.entries.size()), 1};
         return v.Bytes();
     }},
    {"DirRecordSumOverflows",
     [](bool c) {
         Valid v(c);
         v.a.dirs[1] = RawDir{0x7FFFFFFF, 0x7FFFFFFF};
         return v.Bytes();
     }},
    {"DirEntryPointsToMissingRecord",
     [](bool c) {
         Valid v(c);
         v.a.entries[1].offset = static_cast<std::uint32_t>(v.a.dirs.size());
         return v.Bytes();
     }},
    {"DirEntryPointsFarAway",
     [](bool c) {
         Valid v(c);
         v.a.entries[1].offset = 0xFFFFFFFFu;
         return v.Bytes();
     }},
};

class HostileDirectory
    : public ::testing::TestWithParam<std::tuple<HostileCase, bool /*compressed*/, bool /*file*/>> {
};

TEST_P(HostileDirectory, IsReportedDamagedAndLeavesTheReaderEmpty) {
    const auto& [c, compressed, fromFile] = GetParam();
    const std::string bytes = c.make(compressed);
    TResourceArchive archive;
    // A good archive first: the damaged one must replace it completely.
    archive.OpenBytes(Valid(true).Bytes());
    ASSERT_GE(archive.ResolvePath("a.txt"), 0);
    TempDir tmp;
    if (fromFile) {
        const fs::path file = tmp.Write("interface.dat", bytes);
        try {
            archive.Open(file.string());
            FAIL() << "opened";
        } catch (const EArchiveDamaged& e) {
            EXPECT_EQ(e.Path(), file.string());
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos);
        }
    } else {
        EXPECT_THROW(archive.OpenBytes(bytes), EArchiveDamaged);
    }
    EXPECT_FALSE(archive.IsOpen());
    EXPECT_EQ(archive.EntryCount(), 0);
    EXPECT_EQ(archive.ResolvePath("a.txt"), -1);
    EXPECT_EQ(archive.ResolvePath("sub\\b.txt"), -1);
    EXPECT_TRUE(archive.ListFiles().empty());
    std::string out;
    EXPECT_FALSE(archive.ExtractEntry(0, out));
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileDirectory,
                         ::testing::Combine(::testing::ValuesIn(kDamagedDirectories),
                                            ::testing::Bool(), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "_Compressed" : "_Raw") +
                                    (std::get<2>(info.param) ? "_File" : "_Memory");
                         });

TEST(HostileArchive, NamesWithoutNul_AreReadAsSixtyFourBytes) {
    const std::string name64 = Repeat("N", 64);
    TResourceArchive archive;
    archive.OpenBytes(Layout({F(name64, "long"), D(Repeat("D", 64), {F("F", "f")})}).Bytes());
    EXPECT_EQ(Extract(archive, name64), "long");
    EXPECT_EQ(archive.ResolvePath(name64 + "N"), -1);
    EXPECT_EQ(archive.ResolvePath(name64.substr(0, 63)), -1);
    EXPECT_EQ(Extract(archive, Repeat("d", 64) + "\\f"), "f");
    EXPECT_EQ(archive.ListFiles(), (TDynamicStringArray{name64, Repeat("D", 64) + "\\F"}));
}

TEST(HostileArchive, FolderContainingItself_IsListedOnce) {
    ArchiveBytes a;
    a.entries = {a.File("F", "f", true), ArchiveBytes::Dir("SELF", 0)};
    a.dirs = {RawDir{0, 2}};
    TResourceArchive archive;
    archive.OpenBytes(a.Bytes());
    EXPECT_EQ(archive.ListFiles(), (TDynamicStringArray{"F"}));
    EXPECT_EQ(Extract(archive, "self\\self\\self\\f"), "f");
}

TEST(HostileArchive, TwoFoldersContainingEachOther_ListingEnds) {
    ArchiveBytes a;
    a.entries = {ArchiveBytes::Dir("A", 1), ArchiveBytes::Dir("B", 0), a.File("G", "g", true)};
    a.dirs = {RawDir{0, 1}, RawDir{1, 2}};
    TResourceArchive archive;
    archive.OpenBytes(a.Bytes());
    EXPECT_EQ(archive.ListFiles(), (TDynamicStringArray{"A\\G"}));
    EXPECT_EQ(Extract(archive, "a\\b\\a\\g"), "g");
}

TEST(HostileArchive, DeepNesting_ListsWithoutExhaustingTheStack) {
    // Folder k holds a file F and folder k+1, 20000 levels down.
    constexpr int kDepth = 20000;
    ArchiveBytes a;
    const RawEntry file = a.File("F", "leaf", false);
    for (int k = 0; k < kDepth; ++k) {
        a.dirs.push_back(RawDir{2 * k, k + 1 < kDepth ? 2 : 1});
        a.entries.push_back(file);
        if (k + 1 < kDepth)
            a.entries.push_back(ArchiveBytes::Dir("D", static_cast<std::uint32_t>(k + 1)));
    }
    TResourceArchive archive;
    archive.OpenBytes(a.Bytes());
    const auto listed = archive.ListFileEntries();
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed[0].first, "F");
    ASSERT_GE(listed.size(), 3u);
    EXPECT_EQ(listed[2].first, "D\\D\\F");
    for (const auto& [path, index] : listed)
        ASSERT_EQ(archive.ResolvePath(path), index) << path;
    EXPECT_EQ(Extract(archive, Repeat("D\\", 400) + "F"), "leaf");
}

TEST(HostileArchive, UnknownKind_IsNeitherFileNorFolder) {
    ArchiveBytes a = Layout({F("ODD", "odd"), F("OK", "ok")});
    a.entries[0].kind = 7;
    TResourceArchive archive;
    archive.OpenBytes(a.Bytes());
    EXPECT_EQ(archive.ResolvePath("odd"), -1);
    EXPECT_EQ(archive.Resolve("odd", archive_format::kKindDirectory), -1);
    EXPECT_EQ(archive.ListFiles(), (TDynamicStringArray{"OK"}));
}

// A zlib stream that needs a preset dictionary to inflate.
std::string DeflateWithDictionary(const std::string& data) {
    z_stream zs{};
    deflateInit(&zs, 6);
    const std::string dict = "dictionary";
    deflateSetDictionary(&zs, reinterpret_cast<const Bytef*>(dict.data()),
                         static_cast<uInt>(dict.size()));
    std::string out(256 + data.size() * 2, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

// Archives whose directory is sound but whose member M.BIN is not.
struct DamagedMember {
    const char* name;
    std::function<void(ArchiveBytes&, RawEntry&)> damage;
};

const std::string kMemberText = Repeat("member text ", 200);

const DamagedMember kDamagedMembers[] = {
    {"DataBeyondTheFile", [](ArchiveBytes&, RawEntry& e) { e.offset = 1u << 30; }},
    {"RawDataRunsPastTheEnd",
     [](ArchiveBytes& a, RawEntry& e) {
         e = a.File("M.BIN", "raw", false);
         e.packedSize = e.unpackedSize = 1000;
     }},
    {"OffsetAndSizeWrapAround",
     [](ArchiveBytes&, RawEntry& e) {
         e.offset = 0xFFFFFFF0u;
         e.packedSize = 0x20;
     }},
    {"HugeUnpackedSize", [](ArchiveBytes&, RawEntry& e) { e.unpackedSize = 0xFFFFFFFFu; }},
    {"UnpackedSizeOneShort", [](ArchiveBytes&, RawEntry& e) { e.unpackedSize -= 1; }},
    {"GarbageStream",
     [](ArchiveBytes& a, RawEntry& e) {
         for (std::uint32_t i = 0; i < e.packedSize; ++i)
             a.data[e.offset + i] = static_cast<char>(0x5A ^ i);
     }},
    {"GarbageAfterAValidZlibHeader",
     [](ArchiveBytes& a, RawEntry& e) {
         for (std::uint32_t i = 2; i < e.packedSize; ++i)
             a.data[e.offset + i] = static_cast<char>(0xFF);
     }},
    {"TruncatedStream", [](ArchiveBytes&, RawEntry& e) { e.packedSize /= 2; }},
    {"StreamWithoutItsChecksum", [](ArchiveBytes&, RawEntry& e) { e.packedSize -= 4; }},
    {"EmptyPackedData", [](ArchiveBytes&, RawEntry& e) { e.packedSize = 0; }},
    {"NeedsAPresetDictionary",
     [](ArchiveBytes& a, RawEntry& e) {
         const std::string stream = DeflateWithDictionary(kMemberText);
         e.offset = static_cast<std::uint32_t>(a.data.size());
         e.packedSize = static_cast<std::uint32_t>(stream.size());
         a.data += stream;
     }},
};

class HostileMember : public ::testing::TestWithParam<DamagedMember> {
protected:
    void SetUp() override {
        InitProgramPaths(m_tmp.Path());
        ArchiveBytes a;
        a.entries.push_back(a.File("OK.TXT", "fine", true));
        RawEntry m = a.File("M.BIN", kMemberText, true);
        GetParam().damage(a, m);
        a.entries.push_back(m);
        a.entries.push_back(a.File("AFTER.TXT", "after", true));
        a.dirs = {RawDir{0, 3}};
        TheArchive().OpenBytes(a.Bytes());
        SetArchiveRoot(ArchiveRootFor(ProgramDir()));
    }
    void TearDown() override { TheArchive().Close(); }
    TempDir m_tmp;
};

TEST_P(HostileMember, FailsToLoadAndCountsAsMissing) {
    const TResourceArchive& archive = TheArchive();
    const int index = archive.ResolvePath("m.bin");
    ASSERT_GE(index, 0);
    std::string out, why;
    EXPECT_FALSE(archive.ExtractEntry(index, out, &why));
    EXPECT_FALSE(why.empty());
    // The archive's copy is unusable, the disk has none: as for a missing file.
    EXPECT_THROW(TComprStream("c:\\m.bin"), EFOpenError);
    // A copy on disk is used instead.
    m_tmp.Write("M.BIN", "disk copy");
    EXPECT_EQ(TComprStream("c:\\m.bin").Bytes(), "disk copy");
    // The other members are unharmed.
    EXPECT_EQ(TComprStream("c:\\ok.txt").Bytes(), "fine");
    EXPECT_EQ(TComprStream("c:\\after.txt").Bytes(), "after");
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileMember, ::testing::ValuesIn(kDamagedMembers),
                         [](const auto& info) { return std::string(info.param.name); });

// Growth of the process's peak memory while f runs, in MiB. The peak is a
// high-water mark, so this can only under-report: a test using it never fails
// by chance, and an allocation of gigabytes always shows.
template <typename Fn> long PeakGrowthMiB(Fn&& f) {
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    f();
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    return (after.ru_maxrss - before.ru_maxrss) / 1024;
}

// 5 MiB of packed bytes may honestly inflate to gigabytes, so the sizes
// below pass any ratio check; the bytes are garbage, so nothing justifies
// setting gigabytes aside before inflating.
std::string FiveMiBGarbage() {
    std::string s = "\x78\x9c"; // a zlib header, then no valid deflate data
    s.resize(5u << 20, static_cast<char>(0xFF));
    return s;
}

TEST(HostileArchive, MemberClaimingGigabytes_DoesNotAllocateThem) {
    ArchiveBytes a;
    const std::string garbage = FiveMiBGarbage();
    RawEntry m;
    m.name = "M.BIN";
    m.offset = 0;
    m.packedSize = static_cast<std::uint32_t>(garbage.size());
    m.unpackedSize = 0xFFFFFFF0u;
    a.data = garbage;
    a.entries = {m};
    a.dirs = {RawDir{0, 1}};
    TResourceArchive archive;
    archive.OpenBytes(a.Bytes());
    const int index = archive.ResolvePath("m.bin");
    ASSERT_GE(index, 0);
    std::string out;
    bool loaded = true;
    EXPECT_LT(PeakGrowthMiB([&] { loaded = archive.ExtractEntry(index, out); }), 1024);
    EXPECT_FALSE(loaded);
}

TEST(HostileArchive, DirectoryClaimingGigabytes_DoesNotAllocateThem) {
    const std::string garbage = FiveMiBGarbage();
    std::string bytes;
    test::PutWord(bytes, (0xFFFFFFF0u - static_cast<std::uint32_t>(garbage.size())) ^ 0x5A3C9E17u);
    test::PutWord(bytes, static_cast<std::uint32_t>(garbage.size()) ^ 0xC4D2086Bu);
    bytes += garbage;
    TResourceArchive archive;
    bool damaged = false;
    const long growth = PeakGrowthMiB([&] {
        try {
            archive.OpenBytes(bytes);
        } catch (const EArchiveDamaged&) {
            damaged = true;
        }
    });
    EXPECT_LT(growth, 1024);
    EXPECT_TRUE(damaged);
}

// ---- large folders ----

TEST(ArchiveLargeFolder, ThousandsOfEntries_ResolveAndKeepTheFirstMatch) {
    constexpr int kFiles = 5000;
    std::vector<Item> root;
    for (int i = 0; i < kFiles; ++i)
        root.push_back(F("F" + std::to_string(i), "content " + std::to_string(i), false));
    root.push_back(D("F17", {F("Y", "shadowed")}));  // after the file F17
    root.push_back(D("G", {F("Y", "in folder g")})); // before the file G
    root.push_back(F("G", "shadowed file"));
    root.push_back(F("F4999", "second F4999"));
    std::vector<Item> sub;
    for (int i = 0; i < 3000; ++i)
        sub.push_back(F("N" + std::to_string(i), std::to_string(i), true));
    root.push_back(D("SUB", std::move(sub)));

    TResourceArchive archive;
    archive.OpenBytes(Layout(root).Bytes());
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "f" + std::to_string(i);
        const int index = archive.ResolvePath(name);
        ASSERT_EQ(index, i) << name;
    }
    EXPECT_EQ(Extract(archive, "f4999"), "content 4999");
    EXPECT_EQ(archive.ResolvePath("f17\\y"), -1);
    EXPECT_EQ(archive.ResolvePath("g"), -1);
    EXPECT_EQ(Extract(archive, "g\\y"), "in folder g");
    EXPECT_EQ(Extract(archive, "sub\\n2999"), "2999");
    EXPECT_EQ(Extract(archive, "sub\\n0"), "0");
    EXPECT_EQ(archive.ResolvePath("sub\\n3000"), -1);
}

} // namespace
} // namespace carmanual
