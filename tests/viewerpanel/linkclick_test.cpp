// What a click on each kind of link does: a table of (target, URL, state) to
// the actions the panel took, recorded by the doubles of the platform and of
// the components it hands over to.

#include "panelfixture.h"

#include "windowfinder.h"

#include <QClipboard>
#include <QGuiApplication>

#include <fstream>
#include <sstream>

namespace carmanual::test {
namespace {

class Links : public PanelTest {
protected:
    Links() {
        SetZipSaveDir({});
        m_page = WritePage("docs/page.htm",
                           "<a href='other.htm'>other</a><form><select name='Serial'>"
                           "<option>SN-001</option><option selected>SN-002</option></select>"
                           "</form>");
        WritePage("docs/other.htm", "other");
        Write("docs/readme.txt", "text");
        Write("docs/pic.jpg", "not really a picture");
        Write("docs/setup.exe", "MZ program");
        Write("docs/manual.pdf", "%PDF");
        Write("docs/data.zip", "PK zip bytes");
        Write("docs/sound.wav", "RIFF");
        Write("docs/arc.rar", "Rar!");
        Write("docs/page", "no extension");
        Write("video/a.mpg", "mpeg");
    }

    std::unique_ptr<THtmlFrame> PageFrame() {
        return Build({Element(0, 0, 400, 300, m_page, 1, 0)});
    }

    std::string Expand(std::string text) const {
        const auto replace = [&text](const std::string& key, const std::string& value) {
            for (std::size_t at; (at = text.find(key)) != std::string::npos;)
                text.replace(at, key.size(), value);
        };
        replace("{root}", Root().string());
        replace("{program}", kProgramFile);
        return text;
    }

    static std::string ReadNative(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    std::string m_page;
};

struct LinkCase {
    const char* name;
    std::string target;
    std::string url;
    bool listing;
    bool pathBox;
    bool handled;
    std::vector<std::string> log; // {root}: the manual folder, {program}: the program file
    std::string visited;          // the newest visited link afterwards; "" for none
    std::string copied;           // a file expected in the path box folder
    std::string shown;            // the page the viewer shows afterwards; "" for the start page
};

void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<LinkCase>& Cases() {
    static const std::vector<LinkCase> cases = {
        {"BlankTarget_NoPictureWindow_StartsNewInstance",
         "_blank",
         "pic.jpg",
         false,
         false,
         true,
         {"open:{program}|{root}/docs/pic.jpg|"},
         "c:\\docs\\pic.jpg",
         "",
         ""},
        {"BlankTarget_AnyCase_KeepsAnchorForTheNewInstance",
         "_BLANK",
         "pic.jpg#top",
         false,
         false,
         true,
         {"open:{program}|{root}/docs/pic.jpg#top|"},
         "c:\\docs\\pic.jpg#top",
         "",
         ""},
        {"BlankTarget_MissingPicture_OnlyMarksVisited",
         "_blank",
         "missing.jpg",
         false,
         false,
         true,
         {},
         "c:\\docs\\missing.jpg",
         "",
         ""},
        {"Http_OpensUrlUnchanged",
         "",
         "http://example.com/A",
         false,
         false,
         true,
         {"open:http://example.com/A||"},
         "http://example.com/a",
         "",
         ""},
        {"Mailto_AnyCase_OpensUrl",
         "Main",
         "MAILTO:a@b.c",
         false,
         false,
         true,
         {"open:MAILTO:a@b.c||"},
         "mailto:a@b.c",
         "",
         ""},
        // Any web, mail or file-transfer scheme goes to the desktop, before
        // the extension is looked at (".com" is not a program here).
        {"Https_OpensUrl_NotAProgram",
         "",
         "https://x.com/",
         false,
         false,
         true,
         {"open:https://x.com/||"},
         "https://x.com/",
         "",
         ""},
        {"Ftp_OpensUrl_NotASavedZip",
         "",
         "FTP://ftp.example.org/pub/a.zip",
         false,
         false,
         true,
         {"open:FTP://ftp.example.org/pub/a.zip||"},
         "ftp://ftp.example.org/pub/a.zip",
         "",
         ""},
        {"UrlWithSpacesAndCyrillic_OpensAsWritten",
         "",
         "https://пример.рф/Каталог деталей.htm",
         false,
         false,
         true,
         {"open:https://пример.рф/Каталог деталей.htm||"},
         "https://пример.рф/каталог деталей.htm",
         "",
         ""},
        {"PrintHtml_PrintsTheLinkedPage",
         "",
         "printhtml:other.htm",
         false,
         false,
         true,
         {"print:c:\\docs\\other.htm|page|0x0"},
         "c:\\docs\\other.htm",
         "",
         ""},
        {"Copy_WithPathBox_CopiesIntoItsFolder",
         "",
         "copy:setup.exe",
         false,
         true,
         true,
         {},
         "copy:setup.exe",
         "setup.exe",
         ""},
        {"Copy_WithoutPathBox_CopiesNothing",
         "",
         "copy:setup.exe",
         false,
         false,
         true,
         {},
         "copy:setup.exe",
         "",
         ""},
        {"CopyList_IsHandled",
         "",
         "copylist:serial",
         false,
         false,
         true,
         {},
         "copylist:serial",
         "",
         ""},
        {"Program_StartsInItsFolder",
         "",
         "setup.exe",
         false,
         false,
         true,
         {"open:{root}/docs/setup.exe||{root}/docs"},
         "c:\\docs\\setup.exe",
         "",
         ""},
        {"OtherDocument_OpensInItsFolder",
         "",
         "manual.pdf",
         false,
         false,
         true,
         {"open:{root}/docs/manual.pdf||{root}/docs"},
         "c:\\docs\\manual.pdf",
         "",
         ""},
        {"NoExtension_IsAnOtherFile",
         "",
         "page",
         false,
         false,
         true,
         {"open:{root}/docs/page||{root}/docs"},
         "c:\\docs\\page",
         "",
         ""},
        {"Zip_AsksWhereToSave",
         "",
         "data.zip",
         false,
         false,
         true,
         {"save:data.zip|Zip файлы (*.zip);;Все файлы (*.*)"},
         "c:\\docs\\data.zip",
         "",
         ""},
        {"Rar_HandsOverToTheLister",
         "",
         "arc.rar",
         false,
         false,
         true,
         {"rar:c:\\docs\\arc.rar|c:\\docs\\page.htm"},
         "c:\\docs\\arc.rar",
         "",
         ""},
        {"Wav_HandsOverToTheClipPlayer",
         "",
         "sound.wav",
         false,
         false,
         true,
         {"wav:c:\\docs\\sound.wav"},
         "c:\\docs\\sound.wav",
         "",
         ""},
        {"OtherDrive_TakesTheProgramDrive",
         "",
         "d:\\snd\\a.wav",
         false,
         false,
         true,
         {"wav:c:\\snd\\a.wav"},
         "d:\\snd\\a.wav",
         "",
         ""},
        {"OtherDrive_InListing_KeepsItsDriveAfterUnpacking",
         "",
         "d:\\snd\\a.wav",
         true,
         false,
         true,
         {"extract", "wav:d:\\snd\\a.wav"},
         "d:\\snd\\a.wav",
         "",
         ""},
        {"OtherDrive_Program_OpensUnderTheManual",
         "",
         "e:\\video\\a.mpg",
         false,
         false,
         true,
         {"open:{root}/video/a.mpg||{root}/video"},
         "e:\\video\\a.mpg",
         "",
         ""},
        {"NativeDrive_IsNotReplaced",
         "",
         "z:\\tmp\\carmanual-none.mpg",
         false,
         false,
         true,
         {"open:/tmp/carmanual-none.mpg||/tmp"},
         "z:\\tmp\\carmanual-none.mpg",
         "",
         ""},
        {"Page_IsFollowedByTheEngine", "", "other.htm", false, false, false, {}, "", "", ""},
        {"Picture_IsFollowedByTheEngine", "", "pic.jpg", false, false, false, {}, "", "", ""},
        {"Anchor_IsFollowedByTheEngine", "", "#top", false, false, false, {}, "", "", ""},
        {"Anchor_InListing_IsStillTheEngines", "", "#top", true, false, false, {}, "", "", ""},
        {"ListingFile_ThatExists_OpensAsPage",
         "",
         "readme.txt",
         true,
         false,
         true,
         {},
         "c:\\docs\\readme.txt",
         "",
         "c:\\docs\\readme.txt"},
        {"ListingFile_Missing_UnpacksFirst",
         "",
         "missing.htm",
         true,
         false,
         true,
         {"extract"},
         "c:\\docs\\missing.htm",
         "",
         ""},
        {"ListingPage_IsFollowedByTheEngine",
         "",
         "as_1.htm",
         true,
         false,
         false,
         {"extract"},
         "",
         "",
         ""},
    };
    return cases;
}

class LinkTable : public Links, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(LinkTable, ClickDoesWhatTheLinkAsks) {
    const LinkCase& c = GetParam();
    if (c.pathBox)
        m_pathBox = "c:\\inst\\";
    auto frame = PageFrame();
    TFrameViewer* viewer = frame->CurrentViewer();
    ASSERT_NE(viewer, nullptr);
    frame->SetRarListing(c.listing);
    const std::size_t visitedBefore = viewer->Visited().size();

    bool handled = !c.handled;
    frame->HotSpotClick(viewer, Ansi(c.target.c_str()), Ansi(c.url.c_str()), handled);

    EXPECT_EQ(handled, c.handled);
    std::vector<std::string> expected;
    for (const std::string& line : c.log)
        expected.push_back(Expand(Ansi(line.c_str())));
    std::vector<std::string> log;
    for (const std::string& line : m_log)
        log.push_back(Ansi(line.c_str()));
    EXPECT_EQ(log, expected);
    if (c.visited.empty()) {
        EXPECT_EQ(viewer->Visited().size(), visitedBefore);
    } else {
        ASSERT_FALSE(viewer->Visited().empty());
        EXPECT_TRUE(AnsiSameText(viewer->Visited().front(), Ansi(c.visited.c_str())))
            << viewer->Visited().front();
    }
    if (!c.copied.empty()) {
        EXPECT_EQ(ReadNative(Root() / "inst" / c.copied), ReadNative(Root() / "docs" / c.copied));
    } else {
        EXPECT_FALSE(std::filesystem::exists(Root() / "inst"));
    }
    EXPECT_TRUE(AnsiSameText(viewer->CurrentDocument(), c.shown.empty() ? m_page : c.shown))
        << viewer->CurrentDocument();
}

INSTANTIATE_TEST_SUITE_P(Links, LinkTable, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<LinkCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(Links, ZipSaved_CopiesTheFileAndRemembersTheFolder) {
    auto frame = PageFrame();
    m_saveAs = QString::fromStdString(Native("saved/out.zip"));
    bool handled = false;
    frame->HotSpotClick(frame->CurrentViewer(), "", "data.zip", handled);
    EXPECT_EQ(ReadNative(Root() / "saved" / "out.zip"), "PK zip bytes");
    EXPECT_EQ(ZipSaveDir(), QString::fromStdString(Native("saved")));

    // The next zip starts in that folder.
    m_log.clear();
    m_saveAs.clear();
    frame->HotSpotClick(frame->CurrentViewer(), "", "data.zip", handled);
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_EQ(m_log[0].rfind("save:" + Native("saved") + "/data.zip|", 0), 0u) << m_log[0];
}

TEST_F(Links, CopyList_PutsTheChosenSerialNumberOnTheClipboard) {
    auto frame = PageFrame();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    bool handled = false;
    frame->HotSpotClick(frame->CurrentViewer(), "", "copylist:SERIAL", handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("SN-002"));
    EXPECT_EQ(m_status->Text(), QStringLiteral("Серийный номер скопирован"));

    // A name no control has leaves the clipboard alone.
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    m_status->ClearStatus();
    frame->CopyFormText("nothing");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_TRUE(m_status->Text().isEmpty());
}

// A picture window of another instance, found by its caption.
class TOnePictureWindow final : public IWindowFinder {
public:
    bool FindTopWindowByTitle(std::string_view title, WindowHandle& handle) override {
        asked = std::string(title);
        if (!AnsiSameText(title, Utf8ToAnsi("увеличенная картинка")))
            return false;
        handle = {42, 7};
        return true;
    }
    std::string asked;
};

class PictureWindow : public Links {
protected:
    PictureWindow() { SetWindowFinder(m_finder); }
    ~PictureWindow() override { SetWindowFinder(nullptr); }
    std::shared_ptr<TOnePictureWindow> m_finder = std::make_shared<TOnePictureWindow>();
};

TEST_F(PictureWindow, Accepts_NoNewInstance) {
    m_pictureWindowAccepts = true;
    auto frame = PageFrame();
    bool handled = false;
    frame->HotSpotClick(frame->CurrentViewer(), "_blank", "Pic.jpg#Top", handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(m_finder->asked, Utf8ToAnsi("Увеличенная картинка"));
    EXPECT_EQ(m_log, std::vector<std::string>{"query:c:\\docs\\pic.jpg#top"});
}

TEST_F(PictureWindow, Refuses_NewInstanceOpensThePicture) {
    m_pictureWindowAccepts = false;
    auto frame = PageFrame();
    bool handled = false;
    frame->HotSpotClick(frame->CurrentViewer(), "_blank", "pic.jpg", handled);
    EXPECT_EQ(m_log, (std::vector<std::string>{"query:c:\\docs\\pic.jpg",
                                               "open:" + std::string(kProgramFile) + "|" +
                                                   Native("docs/pic.jpg") + "|"}));
}

TEST_F(PictureWindow, MissingPicture_AsksNoWindow) {
    m_pictureWindowAccepts = true;
    auto frame = PageFrame();
    bool handled = false;
    frame->HotSpotClick(frame->CurrentViewer(), "_blank", "gone.jpg", handled);
    EXPECT_TRUE(m_log.empty());
    EXPECT_TRUE(m_finder->asked.empty());
}

} // namespace
} // namespace carmanual::test
