// Pages and offered files that lie only in the resource archive: shown,
// copied and handed on as if they were on disk.

#include "panelfixture.h"

#include "archivewriter.h"

#include <fstream>

namespace carmanual::test {
namespace {

class ArchivePages : public PanelTest {
protected:
    ArchivePages() {
        TheArchive().OpenBytes(BuildArchive({
            {"docs\\packed.htm", "<html><head><title>packed</title></head><body>"
                                 "<a href='tool.exe'>tool</a></body></html>"},
            {"docs\\tool.exe", "MZ packed tool"},
            {"docs\\photo.jpg", "jpeg bytes"},
        }));
        SetArchiveRoot(ArchiveRootFor(ProgramDir()));
    }
    ~ArchivePages() override { TheArchive().Close(); }
};

TEST_F(ArchivePages, PageFromTheArchiveIsShown) {
    auto frame = Build({Element(0, 0, 400, 300, "c:\\docs\\packed.htm", 1, 0)});
    TFrameViewer* viewer = frame->CurrentViewer();
    EXPECT_FALSE(viewer->isHidden());
    EXPECT_EQ(viewer->DocumentTitle(), "packed");
}

TEST_F(ArchivePages, CopyLink_CopiesTheArchivedFile) {
    m_pathBox = "c:\\inst\\";
    auto frame = Build({Element(0, 0, 400, 300, "c:\\docs\\packed.htm", 1, 0)});
    bool handled = false;
    frame->HotSpotClick(frame->CurrentViewer(), "", "copy:tool.exe", handled);
    std::ifstream in(Root() / "inst/tool.exe", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "MZ packed tool");
}

TEST_F(ArchivePages, CopyHtml_CopiesTheArchivedPage) {
    m_pathBox = "c:\\inst\\";
    auto frame = Build({Element(0, 0, 400, 300, "c:\\docs\\packed.htm", 1, 0)});
    frame->CopyPageFiles();
    EXPECT_TRUE(std::filesystem::is_regular_file(Root() / "inst/packed.htm"));
    EXPECT_EQ(m_status->Text(), QStringLiteral("Файл скопирован"));
}

TEST_F(ArchivePages, ArchivedPicture_OpensInANewInstance) {
    auto frame = Build({Element(0, 0, 400, 300, "c:\\docs\\packed.htm", 1, 0)});
    bool handled = false;
    frame->HotSpotClick(frame->CurrentViewer(), "_blank", "photo.jpg", handled);
    // The new instance maps the native name back to the manual name.
    EXPECT_EQ(m_log, std::vector<std::string>{"open:" + std::string(kProgramFile) + "|" +
                                              Native("docs/photo.jpg") + "|"});
}

} // namespace
} // namespace carmanual::test
