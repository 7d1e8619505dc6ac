// The manual's Windows-style names and the Linux file system.

#include "ansi.h"
#include "paths.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace carmanual {
namespace {

namespace fs = std::filesystem;

std::string A(std::string_view utf8) {
    return Utf8ToAnsi(utf8);
}

class Paths : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::weakly_canonical(m_tmp.Path());
        InitProgramPaths(m_tmp.Path());
    }
    test::TempDir m_tmp;
    fs::path m_root;
};

TEST_F(Paths, ProgramInTheManualsFolder) {
    EXPECT_EQ(ProgramDir(), "c:\\");
    EXPECT_EQ(ProgramDrive(), "c:\\");
    EXPECT_EQ(ManualRootFolder(), m_root);
    EXPECT_EQ(ProgramFolder(), m_root);
    EXPECT_EQ(TempDir().back(), '\\');
    EXPECT_EQ(SystemDir().back(), '\\');
}

TEST_F(Paths, ProgramInAFolderNamedRun_RootIsItsParent) {
    for (const char* run : {"run", "RUN", "Run"}) {
        SCOPED_TRACE(run);
        test::TempDir tmp;
        const fs::path root = fs::weakly_canonical(tmp.Path());
        fs::create_directories(root / run);
        InitProgramPaths(tmp.Path() / run);
        EXPECT_EQ(ProgramDir(), "c:\\" + std::string(run) + "\\");
        EXPECT_EQ(ProgramDrive(), "c:\\");
        EXPECT_EQ(ManualRootFolder(), root);
        EXPECT_EQ(ProgramFolder(), root / run);
        // A trailing separator changes nothing.
        InitProgramPaths((tmp.Path() / run).string() + "/");
        EXPECT_EQ(ProgramDir(), "c:\\" + std::string(run) + "\\");
        EXPECT_EQ(ManualRootFolder(), root);
    }
}

TEST_F(Paths, FolderOnlyContainingRunInItsName_IsTheRoot) {
    for (const char* name : {"prun", "runner"}) {
        SCOPED_TRACE(name);
        fs::create_directories(m_root / name);
        InitProgramPaths(m_root / name);
        EXPECT_EQ(ProgramDir(), "c:\\");
        EXPECT_EQ(ManualRootFolder(), m_root / name);
    }
}

TEST_F(Paths, ToNativePath_DrivesRelativeAndRootedNames) {
    fs::create_directories(m_root / "run");
    InitProgramPaths(m_root / "run");
    const fs::path program = m_root / "run";
    const std::pair<std::string, fs::path> cases[] = {
        {"c:\\", m_root},
        {"c:\\a\\b.txt", m_root / "a" / "b.txt"},
        {"C:\\a\\b.txt", m_root / "a" / "b.txt"},
        {"d:\\a\\b.txt", m_root / "a" / "b.txt"},
        {"c:/a/b.txt", m_root / "a" / "b.txt"},
        {"c:\\a\\\\b.txt", m_root / "a" / "b.txt"},
        {"z:\\tmp\\x", fs::path("/tmp/x")},
        {"Z:\\usr\\lib\\", fs::path("/usr/lib")},
        {"a\\b.txt", program / "a" / "b.txt"},
        {"\\a\\b.txt", m_root / "a" / "b.txt"},
        {"c:\\run\\s.txt", program / "s.txt"},
        {A("c:\\Папка\\файл.htm"), m_root / "Папка" / "файл.htm"},
    };
    for (const auto& [name, native] : cases) {
        SCOPED_TRACE(AnsiToUtf8(name));
        EXPECT_EQ(ToNativePath(name).lexically_normal(), native.lexically_normal());
    }
}

TEST_F(Paths, FromNativePath_UnderTheRootIsDriveC_ElsewhereDriveZ) {
    EXPECT_EQ(FromNativePath(m_root / "a" / "b.txt"), "c:\\a\\b.txt");
    EXPECT_EQ(FromNativePath(m_root), "c:\\");
    EXPECT_EQ(FromNativePath(m_root / "a" / ""), "c:\\a\\");
    EXPECT_EQ(FromNativePath(m_root / "Папка" / "файл.htm"), A("c:\\Папка\\файл.htm"));
    EXPECT_EQ(FromNativePath("/usr/lib/x.so"), "z:\\usr\\lib\\x.so");
    // A sibling folder whose name begins like the root's is not under it.
    const std::string sibling = FromNativePath(fs::path(m_root.string() + "x") / "f");
    EXPECT_EQ(sibling.substr(0, 3), "z:\\");
}

TEST_F(Paths, NativeAndManualNames_RoundTrip) {
    for (const std::string& name : {std::string("c:\\a\\b.txt"), A("c:\\Глава\\Тормоза.htm"),
                                    std::string("z:\\usr\\share\\x"), std::string("c:\\")}) {
        SCOPED_TRACE(AnsiToUtf8(name));
        EXPECT_EQ(FromNativePath(ToNativePath(name)), name);
    }
    for (const fs::path& native : {m_root / "x" / "y.z", fs::path("/etc/hostname")}) {
        SCOPED_TRACE(native.string());
        EXPECT_EQ(ToNativePath(FromNativePath(native)), native);
    }
}

TEST_F(Paths, FindOnDisk_IgnoresTheCaseOfLatinAndCyrillicLetters) {
    const fs::path brakes = m_tmp.Write("Docs/Brakes.HTM", "x");
    const fs::path wheel = m_tmp.Write("Глава/Рисунки/Колесо.jpg", "x");
    const std::pair<std::string, fs::path> cases[] = {
        {"c:\\docs\\brakes.htm", brakes},
        {"C:\\DOCS\\BRAKES.HTM", brakes},
        {"docs/Brakes.htm", brakes},
        {"d:\\Docs\\Brakes.HTM", brakes},
        {A("c:\\ГЛАВА\\рисунки\\КОЛЕСО.JPG"), wheel},
        {A("c:\\глава\\РИСУНКИ\\колесо.jpg"), wheel},
    };
    for (const auto& [name, native] : cases) {
        SCOPED_TRACE(AnsiToUtf8(name));
        const auto found = FindOnDisk(name);
        ASSERT_TRUE(found.has_value());
        EXPECT_TRUE(fs::equivalent(*found, native));
        EXPECT_TRUE(DiskFileExists(name));
    }
}

TEST_F(Paths, FindOnDisk_PrefersTheExactSpelling) {
    m_tmp.Write("readme.txt", "lower");
    m_tmp.Write("README.txt", "upper");
    const fs::path lower = m_root / "readme.txt";
    const fs::path upper = m_root / "README.txt";
    EXPECT_EQ(FindOnDisk("c:\\README.txt"), upper);
    EXPECT_EQ(FindOnDisk("c:\\readme.txt"), lower);
    const auto other = FindOnDisk("c:\\ReadMe.TXT");
    ASSERT_TRUE(other.has_value());
    EXPECT_TRUE(*other == lower || *other == upper);
}

TEST_F(Paths, FindOnDisk_KindAndMissingNames) {
    m_tmp.Write("dir/file.txt", "x");
    EXPECT_TRUE(FindOnDisk("c:\\DIR", DiskKind::Directory).has_value());
    EXPECT_FALSE(FindOnDisk("c:\\DIR", DiskKind::File).has_value());
    EXPECT_TRUE(FindOnDisk("c:\\DIR", DiskKind::Any).has_value());
    EXPECT_FALSE(FindOnDisk("c:\\dir\\FILE.TXT", DiskKind::Directory).has_value());
    EXPECT_FALSE(DiskFileExists("c:\\dir"));
    EXPECT_FALSE(FindOnDisk("c:\\dir\\missing.txt").has_value());
    EXPECT_FALSE(FindOnDisk("c:\\missing\\file.txt").has_value());
    EXPECT_FALSE(FindOnDisk("c:\\dir\\file.txt\\more").has_value());
    EXPECT_FALSE(FindOnDisk("").has_value());
}

} // namespace
} // namespace carmanual
