// Files offered by pages are copied only into the folder the reader chose: a
// name that would climb out of it, or name another place outright, is refused
// and the refusal shows on the status line.

#include "panelfixture.h"

#include "linkrules.h"

#include <fstream>

namespace carmanual::test {
namespace {

struct TargetCase {
    const char* relative;
    std::optional<std::string> target;
};

TEST(TargetInFolder, KeepsNamesInsideTheFolder) {
    const std::vector<TargetCase> cases = {
        {"setup.exe", "c:\\inst\\setup.exe"},
        {"page.files\\img.gif", "c:\\inst\\page.files\\img.gif"},
        {"page.files/img.gif", "c:\\inst\\page.files\\img.gif"},
        {".\\a.txt", "c:\\inst\\a.txt"},
        {"page.files\\sub\\", "c:\\inst\\page.files\\sub\\"},
        {"a..b.txt", "c:\\inst\\a..b.txt"},
        {"..", std::nullopt},
        {"..\\setup.exe", std::nullopt},
        {"page.files\\..\\..\\setup.exe", std::nullopt},
        {"../setup.exe", std::nullopt},
        {"...\\setup.exe", std::nullopt},
        {".. \\setup.exe", std::nullopt},
        {"c:\\windows\\setup.exe", std::nullopt},
        {"z:setup.exe", std::nullopt},
        {"\\windows\\setup.exe", std::nullopt},
        {"/etc/passwd", std::nullopt},
        {"", std::nullopt},
        {"\\", std::nullopt},
        {".", std::nullopt},
    };
    for (const TargetCase& c : cases)
        EXPECT_EQ(TargetInFolder("c:\\inst\\", c.relative), c.target) << c.relative;
    // A folder given without its backslash gets one.
    EXPECT_EQ(TargetInFolder("c:\\inst", "a.txt"), std::optional<std::string>("c:\\inst\\a.txt"));
}

class CopySafety : public PanelTest {
protected:
    CopySafety() {
        m_page = WritePage("docs/page.htm", "<img src='page.files/img.gif'>");
        Write("docs/page.files/img.gif", "GIF89a");
        Write("docs/page.files/styles/main.css", "body{}");
        std::filesystem::create_directories(m_dir.Path() / "docs/page.files/empty");
        Write("setup.exe", "MZ top");
        Write("docs/setup.exe", "MZ docs");
        m_pathBox = "c:\\inst\\";
    }
    std::string m_page;
};

TEST_F(CopySafety, CopyHtml_CopiesThePageAndItsCompanionFolder) {
    auto frame = Build({Element(0, 0, 400, 300, m_page, 1, 0)});
    frame->CopyPageFiles();
    EXPECT_TRUE(std::filesystem::is_regular_file(Root() / "inst/page.htm"));
    EXPECT_TRUE(std::filesystem::is_regular_file(Root() / "inst/page.files/img.gif"));
    EXPECT_TRUE(std::filesystem::is_regular_file(Root() / "inst/page.files/styles/main.css"));
    EXPECT_TRUE(std::filesystem::is_directory(Root() / "inst/page.files/empty"));
    EXPECT_EQ(m_status->Text(), QStringLiteral("Файл скопирован"));
}

TEST_F(CopySafety, CopyHtml_WithoutPathBoxDoesNothing) {
    m_pathBox.reset();
    auto frame = Build({Element(0, 0, 400, 300, m_page, 1, 0)});
    frame->CopyPageFiles();
    EXPECT_FALSE(std::filesystem::exists(Root() / "inst"));
    EXPECT_TRUE(m_status->Text().isEmpty());
}

TEST_F(CopySafety, CopyHtml_ExistingFolderInOtherLetterCaseIsUsed) {
    std::filesystem::create_directories(Root() / "Inst");
    auto frame = Build({Element(0, 0, 400, 300, m_page, 1, 0)});
    frame->CopyPageFiles();
    EXPECT_TRUE(std::filesystem::is_regular_file(Root() / "Inst/page.htm"));
    EXPECT_FALSE(std::filesystem::exists(Root() / "inst"));
}

TEST_F(CopySafety, CopyHtml_CompanionNameThatClimbsOutIsRefused) {
    // On Linux a backslash is an ordinary letter of a file name, so a folder
    // can hold a file whose manual name climbs out of the target folder.
    Write("docs/page.files/..\\..\\escaped.txt", "bad");
    auto frame = Build({Element(0, 0, 400, 300, m_page, 1, 0)});
    frame->CopyPageFiles();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Root())) {
        const std::string name = entry.path().filename().string();
        if (name.find("escaped") != std::string::npos) {
            EXPECT_EQ(entry.path().parent_path(), Root() / "docs/page.files") << entry.path();
        }
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(Root() / "inst/page.files/img.gif"));
    EXPECT_TRUE(m_status->Text().startsWith(QStringLiteral("Файл не скопирован")))
        << m_status->Text().toStdString();
}

TEST_F(CopySafety, CopyLink_ClimbingNameLandsInsideTheFolder) {
    auto frame = Build({Element(0, 0, 400, 300, m_page, 1, 0)});
    bool handled = false;
    frame->HotSpotClick(frame->CurrentViewer(), "", "copy:..\\..\\..\\setup.exe", handled);
    EXPECT_TRUE(handled);
    std::ifstream copied(Root() / "inst/setup.exe", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(copied)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "MZ top");
}

TEST_F(CopySafety, CopyLink_NamingAFolderIsRefused) {
    auto frame = Build({Element(0, 0, 400, 300, m_page, 1, 0)});
    bool handled = false;
    frame->HotSpotClick(frame->CurrentViewer(), "", "copy:page.files\\", handled);
    EXPECT_TRUE(handled);
    EXPECT_FALSE(std::filesystem::exists(Root() / "inst"));
    EXPECT_TRUE(m_status->Text().startsWith(QStringLiteral("Файл не скопирован")));
}

TEST_F(CopySafety, CopyLink_OverwritesAnEarlierCopy) {
    std::filesystem::create_directories(Root() / "inst");
    { std::ofstream(Root() / "inst/setup.exe") << "old"; }
    auto frame = Build({Element(0, 0, 400, 300, m_page, 1, 0)});
    bool handled = false;
    frame->HotSpotClick(frame->CurrentViewer(), "", "copy:setup.exe", handled);
    std::ifstream copied(Root() / "inst/setup.exe", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(copied)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "MZ docs");
}

} // namespace
} // namespace carmanual::test
