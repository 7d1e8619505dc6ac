// The demo manual as the program finds it: demo/interface.dat beside the
// program, read through the archive and the description reader.

#include "ansi.h"
#include "archive.h"
#include "comprstream.h"
#include "description.h"
#include "generatorrun.h"
#include "paths.h"
#include "syntax.h"
#include "tempdir.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QRect>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace carmanual;

// A list's type as the number the description writes.
std::int32_t Number(TPopupType type) {
    return static_cast<std::int32_t>(type);
}
using namespace carmanual::test;

const fs::path kDemoDir = CARMANUAL_DEMO_DIR;

QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "demomanual_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

std::string Bytes(const std::string& manualName) {
    return TComprStream(manualName).TakeBytes();
}

QImage Picture(const std::string& relative) {
    const std::string bytes = Bytes(ProgramDir() + relative);
    return QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

bool InArchive(const std::string& relative) {
    return ResolvePath(ProgramDir() + relative) >= 0;
}

class DemoManual : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        App();
        ASSERT_TRUE(fs::exists(kDemoDir / "interface.dat")) << kDemoDir;
        InitProgramPaths(kDemoDir);
        OpenArchive(ProgramDir() + "interface.dat");
        SetArchiveRoot(ArchiveRootFor(ProgramDir()));
        s_loaded = LoadStructFile(Description());
    }

    static TInterfaceDescription& Description() {
        static TInterfaceDescription description;
        return description;
    }

    // Every button of every screen with the window's own two.
    static std::vector<RBtn> AllButtons() {
        std::vector<RBtn> all;
        for (const auto& screen : Description().Buttons)
            all.insert(all.end(), screen.begin(), screen.end());
        all.push_back(Description().Minimize);
        all.push_back(Description().Close);
        return all;
    }

    static inline bool s_loaded = false;
};

TEST_F(DemoManual, DescriptionReadsWithoutProblems) {
    ASSERT_TRUE(s_loaded);
    const TInterfaceDescription& d = Description();
    for (const TDescriptionProblem& problem : d.Problems)
        ADD_FAILURE() << "line " << problem.Line << ": " << problem.Message;
    EXPECT_GE(d.ScreenCount(), 4);
    EXPECT_TRUE(d.HasVertexMain);
    EXPECT_TRUE(d.HasMinimize);
    EXPECT_TRUE(d.HasClose);
    EXPECT_FALSE(d.Icon.empty());
    const std::string title = AnsiToUtf8(ReadTitleFile());
    EXPECT_EQ(title.rfind("Руководство по ремонту и эксплуатации автомобиля", 0), 0u) << title;
}

TEST_F(DemoManual, EveryNamedPictureIsPackedAndDecodes) {
    ASSERT_TRUE(s_loaded);
    const TInterfaceDescription& d = Description();
    std::set<std::string> names(d.ScreenBackgrounds.begin(), d.ScreenBackgrounds.end());
    for (const RBtn& b : AllButtons())
        names.insert({b.FileUp, b.FileMove, b.FileDown});
    for (const auto& screen : d.Switches)
        for (const RSwthOne& s : screen)
            names.insert({s.FileUp, s.FileMoveUp, s.FileMoveDown, s.FileDown});
    for (const auto& screen : d.Groups)
        for (const RSwthGrp& g : screen)
            names.insert({g.FileUp, g.FileMoveUp, g.FileMoveDown, g.FileDown});
    names.insert(d.Icon);
    names.insert("piston.gif");
    EXPECT_GT(names.size(), 40u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(name.empty());
        ASSERT_TRUE(InArchive(name));
        EXPECT_FALSE(Picture(name).isNull());
    }
}

TEST_F(DemoManual, EverySoundIsPackedAsPcmWave) {
    ASSERT_TRUE(s_loaded);
    const TInterfaceDescription& d = Description();
    std::set<std::string> sounds;
    auto add = [&](const std::string& sound) {
        if (!sound.empty() && sound != "no")
            sounds.insert(ProgramDir() + sound);
    };
    for (const RBtn& b : AllButtons()) {
        add(b.Sound);
        if (b.Command.find("clip") != std::string::npos)
            sounds.insert(ValueAfterFirstEq(b.Command));
    }
    for (const auto& screen : d.Switches)
        for (const RSwthOne& s : screen)
            add(s.Sound);
    for (const auto& screen : d.Groups)
        for (const RSwthGrp& g : screen)
            add(g.Sound);
    sounds.insert(d.BgSoundDef.begin(), d.BgSoundDef.end());
    EXPECT_GE(sounds.size(), 3u);
    for (const std::string& sound : sounds) {
        SCOPED_TRACE(sound);
        ASSERT_GE(ResolvePath(sound), 0);
        const std::string bytes = Bytes(sound);
        ASSERT_GT(bytes.size(), 44u);
        EXPECT_EQ(bytes.substr(0, 4), "RIFF");
        EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(bytes[20], 1) << "PCM";
        EXPECT_EQ(bytes[34], 16) << "16-bit";
    }
}

TEST_F(DemoManual, ElementPicturesShareTheirSizeAndDoNotOverlap) {
    ASSERT_TRUE(s_loaded);
    const TInterfaceDescription& d = Description();
    const QSize window = Picture(d.ScreenBackgrounds.at(0)).size();
    ASSERT_FALSE(window.isEmpty());
    for (int screen = 0; screen < d.ScreenCount(); ++screen) {
        SCOPED_TRACE("screen " + std::to_string(screen + 1));
        EXPECT_EQ(Picture(d.ScreenBackgrounds[screen]).size(), window);
        std::vector<std::pair<QRect, std::string>> rects;
        auto element = [&](std::int32_t x, std::int32_t y, std::vector<std::string> files) {
            const QSize size = Picture(files.front()).size();
            for (const std::string& f : files)
                EXPECT_EQ(Picture(f).size(), size) << f;
            const QRect r(x, y, size.width(), size.height());
            EXPECT_TRUE(QRect(QPoint(0, 0), window).contains(r)) << files.front();
            for (const auto& [other, name] : rects)
                EXPECT_FALSE(r.intersects(other)) << files.front() << " covers " << name;
            rects.emplace_back(r, files.front());
        };
        for (const RBtn& b : d.Buttons[screen])
            element(b.Left, b.Top, {b.FileUp, b.FileMove, b.FileDown});
        for (const RSwthOne& s : d.Switches[screen])
            element(s.Left, s.Top, {s.FileUp, s.FileMoveUp, s.FileMoveDown, s.FileDown});
        for (const RSwthGrp& g : d.Groups[screen])
            element(g.Left, g.Top, {g.FileUp, g.FileMoveUp, g.FileMoveDown, g.FileDown});
    }
}

// The plates are blank: their captions come from text attributes, which the
// reader takes only from lines between the element's main lines. A caption
// written in the wrong place would leave a blank plate.
TEST_F(DemoManual, BlankPlatesGetTheirCaptionsInsideThePicture) {
    ASSERT_TRUE(s_loaded);
    const TInterfaceDescription& d = Description();
    auto iconic = [](const std::string& file) {
        for (const char* folder :
             {"skin\\tool\\", "skin\\toolsm\\", "skin\\drop\\", "skin\\round\\", "skin\\wnd\\"})
            if (file.rfind(folder, 0) == 0)
                return true;
        return false;
    };
    struct Caption {
        std::string file, text, font;
        std::int32_t size, left, top, right, bottom;
    };
    std::vector<Caption> captions;
    for (const auto& screen : d.Buttons)
        for (const RBtn& b : screen)
            if (!iconic(b.FileUp))
                captions.push_back({b.FileUp, b.Caption, b.FontName, b.FontSize, b.TextLeft,
                                    b.TextTop, b.TextRight, b.TextBottom});
    for (const auto& screen : d.Switches)
        for (const RSwthOne& s : screen) {
            captions.push_back({s.FileUp, s.CaptionUp, s.FontName, s.FontSize, s.TextLeftUp,
                                s.TextTopUp, s.TextRightUp, s.TextBottomUp});
            captions.push_back({s.FileDown, s.CaptionDown, s.FontName, s.FontSize, s.TextLeftDown,
                                s.TextTopDown, s.TextRightDown, s.TextBottomDown});
        }
    for (const auto& screen : d.Groups)
        for (const RSwthGrp& g : screen)
            for (const std::string* text : {&g.CaptionUp, &g.CaptionDown})
                captions.push_back({g.FileUp, *text, g.FontName, g.FontSize, g.TextLeft, g.TextTop,
                                    g.TextRight, g.TextBottom});
    EXPECT_GT(captions.size(), 20u);
    std::set<std::string> fonts;
    for (const Caption& c : captions) {
        SCOPED_TRACE(c.file);
        EXPECT_FALSE(Trim(c.text).empty());
        EXPECT_FALSE(c.font.empty());
        EXPECT_GT(c.size, 0);
        const QSize picture = Picture(c.file).size();
        EXPECT_GE(c.left, 0);
        EXPECT_GE(c.top, 0);
        EXPECT_LT(c.left, c.right);
        EXPECT_LT(c.top, c.bottom);
        EXPECT_LE(c.right, picture.width());
        EXPECT_LE(c.bottom, picture.height());
        fonts.insert(c.font);
    }
    EXPECT_GE(fonts.size(), 3u) << "the skin shows off several caption fonts";
}

TEST_F(DemoManual, WindowOutlineLiesWithinTheBackground) {
    ASSERT_TRUE(s_loaded);
    const TInterfaceDescription& d = Description();
    const QSize window = Picture(d.ScreenBackgrounds.at(0)).size();
    ASSERT_GE(d.VertexMain.points.size(), 3u);
    for (const TPoint& p : d.VertexMain.points) {
        EXPECT_GE(p.x, 0);
        EXPECT_GE(p.y, 0);
        EXPECT_LE(p.x, window.width());
        EXPECT_LE(p.y, window.height());
    }
}

// A switch's command runs again whenever its screen is shown; one that
// changed the screen would chain screen changes.
TEST_F(DemoManual, SwitchCommandsNeverChangeTheScreen) {
    ASSERT_TRUE(s_loaded);
    std::vector<std::string> commands;
    for (const auto& screen : Description().Switches)
        for (const RSwthOne& s : screen)
            commands.insert(commands.end(), {s.CommandUp, s.CommandDown});
    for (const auto& screen : Description().Groups)
        for (const RSwthGrp& g : screen)
            commands.push_back(g.Command);
    EXPECT_FALSE(commands.empty());
    for (const std::string& c : commands) {
        EXPECT_EQ(c.find("screen"), std::string::npos) << c;
        EXPECT_FALSE(!c.empty() && c[0] >= '0' && c[0] <= '9') << c;
    }
}

TEST_F(DemoManual, ProgramsAndFontsLieBesideTheProgram) {
    ASSERT_TRUE(s_loaded);
    int runs = 0;
    for (const RBtn& b : AllButtons()) {
        if (b.Command.rfind("run=", 0) != 0)
            continue;
        ++runs;
        EXPECT_TRUE(DiskFileExists(ValueAfterFirstEq(b.Command))) << b.Command;
    }
    EXPECT_GT(runs, 0);
    int fonts = 0;
    for (const auto& entry : fs::directory_iterator(kDemoDir))
        fonts += entry.path().extension() == ".ttf";
    EXPECT_GT(fonts, 0);
}

TEST_F(DemoManual, PistonIsAnAnimation) {
    const std::string bytes = Bytes(ProgramDir() + "piston.gif");
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "gif");
    EXPECT_TRUE(reader.supportsAnimation());
    EXPECT_GT(reader.imageCount(), 4);
    int frames = 0;
    for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read())
        ++frames;
    EXPECT_EQ(frames, reader.imageCount());
}

// --- Panels: pages, tree, text fields, path box, popup lists ---

bool Inside(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
            const QRect& area) {
    return left < right && top < bottom &&
           area.contains(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
}

// The document screen's page panel and tree live in the background panel
// the program places at 33,90 (673 x 421); the service screen's page sits
// beside its path box, whose folder the page's copy links need.
TEST_F(DemoManual, PanelsStandWhereTheSkinLeavesRoom) {
    ASSERT_TRUE(s_loaded);
    const TInterfaceDescription& d = Description();
    const QRect window(0, 0, 800, 600), background(33, 90, 673, 421);
    std::set<int> pageScreens;
    for (const RHTML& h : d.HtmlPanels) {
        SCOPED_TRACE(h.File);
        EXPECT_TRUE(Inside(h.Left, h.Top, h.Right, h.Bottom, h.Screen == 1 ? background : window));
        pageScreens.insert(h.Screen);
    }
    EXPECT_TRUE(pageScreens.count(1)) << "the document screen shows pages";
    ASSERT_EQ(d.Trees.size(), 1u);
    const RTree& tree = d.Trees[0];
    EXPECT_EQ(tree.Screen, 1);
    EXPECT_TRUE(Inside(background.left(), background.top(), tree.Right, tree.Bottom, background));
    EXPECT_GE(tree.Right - background.left(), 150) << "room for the captions";
    EXPECT_LE(tree.Right - background.left(), background.width() / 2) << "room for the page";
    EXPECT_NE(tree.ColorSelect, tree.ColorSelectText);
    ASSERT_EQ(d.Splitters.size(), 1u);
    EXPECT_EQ(d.Splitters[0].Screen, 1);

    bool title = false, status = false;
    for (const RText& t : d.Texts) {
        SCOPED_TRACE(t.Ident);
        EXPECT_TRUE(Inside(t.Left, t.Top, t.Right, t.Top + 1, window));
        EXPECT_FALSE(t.Font.empty());
        EXPECT_GT(t.Size, 0);
        title = title || (t.Screen == 1 && t.Number == 1);
        status = status || (t.Screen == 1 && t.Ident == "statusline");
    }
    EXPECT_TRUE(title) << "the page title field (number 1)";
    EXPECT_TRUE(status) << "the status line";

    ASSERT_EQ(d.PathInputs.size(), 1u);
    const RPathInput& path = d.PathInputs[0];
    EXPECT_TRUE(Inside(path.Left, path.Top, path.Right, path.Bottom, window));
    EXPECT_GE(path.Bottom - path.Top, 14) << "the box's font is its height less one";
    EXPECT_FALSE(path.Hint.empty());
    ASSERT_FALSE(path.PathDef.empty());
    EXPECT_EQ(path.PathDef.back(), '\\');
    EXPECT_TRUE(pageScreens.count(path.Screen)) << "copy links need a page beside the path box";
}

// Every list's background and entry pictures are packed and decode; the
// entries fit the background; menus have a command per caption; a shape
// is a polygon inside its picture.
TEST_F(DemoManual, PopupListsHaveTheirPictures) {
    ASSERT_TRUE(s_loaded);
    const TInterfaceDescription& d = Description();
    int lists = 0;
    for (std::size_t screen = 0; screen < d.Popups.size(); ++screen)
        for (const RPopupData& p : d.Popups[screen]) {
            ++lists;
            SCOPED_TRACE(p.FnFon);
            const QImage back = Picture(p.FnFon);
            ASSERT_FALSE(back.isNull());
            ASSERT_FALSE(p.FnBtnUp.empty());
            EXPECT_EQ(p.FnBtnUp.size(), p.FnBtnMove.size());
            EXPECT_EQ(p.FnBtnUp.size(), p.FnBtnDown.size());
            for (std::size_t i = 0; i < p.FnBtnUp.size(); ++i) {
                QSize size;
                for (const TDynamicStringArray* list : {&p.FnBtnUp, &p.FnBtnMove, &p.FnBtnDown}) {
                    const std::string bytes = Bytes((*list)[i]);
                    const QImage item = QImage::fromData(
                        QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
                    ASSERT_FALSE(item.isNull()) << (*list)[i];
                    if (size.isValid()) {
                        EXPECT_EQ(item.size(), size) << (*list)[i];
                    }
                    size = item.size();
                }
                const int left = p.XBtn == -1 ? 0 : p.XBtn;
                EXPECT_LE(left + size.width(), back.width());
            }
            const bool menu = Number(p.Type) >= 0 || p.Type == popuptype::ContextHtml;
            if (menu) {
                EXPECT_FALSE(p.Go.empty());
                EXPECT_EQ(p.Caption.size(), p.Go.size());
                for (const std::string& c : p.Caption)
                    EXPECT_NE(c.rfind(ProgramDir(), 0), 0u) << c << ": a '.' or '\\' in a caption";
            }
            if (p.Vertex.size() > 1) {
                EXPECT_EQ(screen, 0u) << "only the first screen's lists take their shape";
                for (const std::string& v : p.Vertex) {
                    const std::size_t comma = v.find(',');
                    ASSERT_NE(comma, std::string::npos) << v;
                    const std::int32_t x = IntAt(v, 0), y = IntAt(v, comma + 1);
                    EXPECT_TRUE(x >= 0 && y >= 0 && x <= back.width() && y <= back.height()) << v;
                }
            }
        }
    EXPECT_GE(lists, 6);
}

// The lists the program fills itself are there for the buttons that open
// them, and every numbered menu belongs to a button of its screen.
TEST_F(DemoManual, EveryListOpensFromItsButton) {
    ASSERT_TRUE(s_loaded);
    const TInterfaceDescription& d = Description();
    auto types = [&](int screen) {
        std::set<std::int32_t> found;
        if (screen < static_cast<int>(d.Popups.size()))
            for (const RPopupData& p : d.Popups[screen])
                found.insert(Number(p.Type));
        return found;
    };
    const std::set<std::int32_t> document = types(1);
    for (std::int32_t t : {Number(popuptype::HistoryBack), Number(popuptype::HistoryForward),
                           Number(popuptype::Favorite), Number(popuptype::ContextHtml)})
        EXPECT_TRUE(document.count(t)) << "document screen, list " << t;
    std::set<std::pair<int, std::int32_t>> opened;
    for (int screen = 0; screen < d.ScreenCount(); ++screen) {
        const std::set<std::int32_t> here = types(screen);
        for (const RBtn& b : d.Buttons[screen]) {
            SCOPED_TRACE(b.Command);
            std::int32_t needed = 0;
            if (b.Command == "historyback")
                needed = Number(popuptype::HistoryBack);
            else if (b.Command == "historyforward")
                needed = Number(popuptype::HistoryForward);
            else if (b.Command == "showfavorite" || b.Command == "deletefromfavorite")
                needed = Number(popuptype::Favorite);
            else if (b.Command.find("contextmenu") != std::string::npos)
                needed = IntAt(b.Command, 10);
            else
                continue;
            EXPECT_TRUE(here.count(needed));
            opened.insert({screen, needed});
        }
        for (std::int32_t t : here)
            if (t >= 0) {
                EXPECT_TRUE(opened.count({screen, t})) << "menu " << t << " has no button";
            }
        bool pages = false;
        for (const RHTML& h : d.HtmlPanels)
            pages = pages || h.Screen == screen;
        if (pages) {
            EXPECT_TRUE(here.count(Number(popuptype::ContextHtml))) << "screen " << screen + 1;
        }
    }
    for (const char* command :
         {"historyback", "historyforward", "showfavorite", "deletefromfavorite", "contextmenu"}) {
        bool found = false;
        for (const RBtn& b : AllButtons())
            found = found || b.Command.find(command) != std::string::npos;
        EXPECT_TRUE(found) << command;
    }
}

// The first pass looks for its nine keywords in every line of the file; one
// of them inside an element's line (a picture named ...icon..., a command
// "close") would be taken for a window value.
TEST(DemoDescription, WindowKeywordsStandOnlyOnTheirOwnLines) {
    std::ifstream in(fs::path(CARMANUAL_DEMO_SOURCE) / "Struct.txt", std::ios::binary);
    std::map<std::string, int> lines;
    for (std::string line; std::getline(in, line);) {
        std::string lower = line;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        for (const char* key : {"codec", "rolic", "helpwin", "background", "icon", "bgsounddef",
                                "vertexmain", "minimize", "close"})
            if (lower.find(key) != std::string::npos)
                ++lines[key];
    }
    const std::map<std::string, int> expected = {
        {"icon", 1}, {"bgsounddef", 1}, {"vertexmain", 1}, {"minimize", 1}, {"close", 1}};
    EXPECT_EQ(lines, expected);
}

// --- The generator itself ---

TEST(SkinGenerator, TwoRunsGiveTheSameBytes) {
    test::TempDir first, second;
    const fs::path source = fs::path(CARMANUAL_DEMO_SOURCE) / "Struct.txt";
    for (const test::TempDir* dir : {&first, &second})
        ASSERT_EQ(RunCommand(Quoted(CARMANUAL_SKINGEN) + " skin " + Quoted(source) + " " +
                             Quoted(dir->Path())),
                  0);
    const auto a = FilesBelow(first.Path()), b = FilesBelow(second.Path());
    EXPECT_GT(a.size(), 40u);
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        const auto it = b.find(name);
        ASSERT_NE(it, b.end()) << name;
        EXPECT_TRUE(it->second == bytes) << name << " differs between runs";
    }
}

TEST(SkinGenerator, TextFilesBecomeWindows1251WithCrLf) {
    struct Case {
        const char* name;
        std::string utf8;
        int status;
        std::string expected;
    };
    const Case cases[] = {
        {"lf", "Ай\nb\n", 0, "\xC0\xE9\r\nb\r\n"},
        {"crlf kept", "a\r\n\xD1\x91\r\n", 0, "a\r\n\xB8\r\n"},
        {"bom dropped", "\xEF\xBB\xBF\xE2\x80\x94", 0, "\x97\r\n"},
        {"no final line end", "x=1;y", 0, "x=1;y\r\n"},
        {"empty lines kept", "a\n\nb\n", 0, "a\r\n\r\nb\r\n"},
        {"no Windows-1251 form", "snow \xE2\x98\x83\n", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const fs::path in = dir.Write("in.txt", c.utf8);
        const fs::path out = dir.Path() / "out.txt";
        ASSERT_EQ(RunCommand(Quoted(CARMANUAL_SKINGEN) + " text " + Quoted(in) + " " + Quoted(out) +
                             " 2>/dev/null"),
                  c.status);
        if (c.status != 0) {
            EXPECT_FALSE(fs::exists(out));
            continue;
        }
        std::ifstream file(out, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), c.expected);
    }
}

// A description whose key turns up inside a value is read the way the
// program reads it, and the generator refuses it instead of guessing.
TEST(SkinGenerator, RefusesWhatTheProgramWouldMisread) {
    test::TempDir dir;
    const fs::path description = dir.Write(
        "Struct.txt", "vertexmain=[0,0;800,0;800,600;0,600]\n"
                      "1 _screen=skin\\title.jpg\n"
                      "1 button vx=10 vy=10 fn1=skin\\tool\\back1.bmp; fn2=skin\\tool\\back2.bmp; "
                      "fn3=skin\\tool\\back3.bmp\n"
                      "go=clip=media\\engine.wav; hint=Звук; wav=no\n");
    EXPECT_EQ(RunCommand(Quoted(CARMANUAL_SKINGEN) + " skin " + Quoted(description) + " " +
                         Quoted(dir.Path() / "out") + " 2>/dev/null"),
              1);
}

} // namespace
