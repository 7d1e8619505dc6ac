// The panel elements of Struct.txt: page panels, find-text and path boxes,
// clip areas, text fields, slide-show images, popups, trees and the splitter.

#include "descriptiontest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace carmanual {
namespace {

using test::A;
using test::StructFile;

constexpr TColor Rgb(unsigned r, unsigned g, unsigned b) {
    return r + g * 256 + b * 65536;
}

TEST_F(StructFile, Html_FileIsResolved) {
    const auto d = Read({"2 _html vx=33 vy=90 vw=706 vh=511 fn=ch01\\Start.htm; number=1"});
    ASSERT_EQ(d.HtmlPanels.size(), 1u);
    const RHTML& h = d.HtmlPanels[0];
    EXPECT_EQ(h.Left, 33);
    EXPECT_EQ(h.Top, 90);
    EXPECT_EQ(h.Right, 706); // an edge, not a width
    EXPECT_EQ(h.Bottom, 511);
    EXPECT_EQ(h.File, ProgramDir() + "ch01\\start.htm");
    EXPECT_EQ(h.Number, 1);
    EXPECT_EQ(h.Screen, 1);
    EXPECT_TRUE(d.Problems.empty());
}

TEST_F(StructFile, FindTxt_NoFilesListOnItsOwnLine) {
    const auto d = Read({
        "2 _findtxt vx=1 vy=2 vw=300 vh=22 frame=main",
        "nofiles=[index.htm;ch01\\toc.htm",
        "about.htm]",
        "number=4 hint=" + A("Поиск по тексту"),
    });
    ASSERT_EQ(d.FindTexts.size(), 1u);
    const RFindTxt& f = d.FindTexts[0];
    EXPECT_EQ(f.Right, 300);
    EXPECT_EQ(f.Bottom, 22);
    EXPECT_EQ(f.Frame, "main");
    const TDynamicStringArray want = {ProgramDir() + "index.htm", ProgramDir() + "ch01\\toc.htm",
                                      ProgramDir() + "about.htm"};
    EXPECT_EQ(f.NoFiles, want);
    EXPECT_EQ(f.Number, 4);
    EXPECT_EQ(f.Hint, A("Поиск по тексту"));
    EXPECT_EQ(f.Screen, 1);
}

TEST_F(StructFile, FindTxt_EmptyList) {
    const auto d =
        Read({"1 _findtxt vx=1 vy=2 vw=3 vh=4 frame=f", "nofiles=[]", "number=1 hint=h"});
    ASSERT_EQ(d.FindTexts.size(), 1u);
    EXPECT_TRUE(d.FindTexts[0].NoFiles.empty());
    EXPECT_EQ(d.FindTexts[0].Hint, "h");
}

TEST_F(StructFile, Path_DefaultPathAsWritten) {
    const auto d = Read({"3 _path vx=10 vy=20 vw=400 vh=42 pathdef=C:\\Manual; hint=Folder"});
    ASSERT_EQ(d.PathInputs.size(), 1u);
    EXPECT_EQ(d.PathInputs[0].PathDef, "c:\\manual");
    EXPECT_EQ(d.PathInputs[0].Hint, "folder");
    EXPECT_EQ(d.PathInputs[0].Bottom, 42);
    EXPECT_EQ(d.PathInputs[0].Screen, 2);
}

TEST_F(StructFile, Clip_ColourAndNumber) {
    const auto d = Read({"2 _clip vx=31 vy=135 vw=687 vh=394 bgcolor=0,128,255 html=2"});
    ASSERT_EQ(d.Clips.size(), 1u);
    EXPECT_EQ(d.Clips[0].BgColor, Rgb(0, 128, 255));
    EXPECT_EQ(d.Clips[0].Html, 2);
    EXPECT_EQ(d.Clips[0].Right, 687);
    EXPECT_TRUE(d.HtmlPanels.empty()); // "html=" is no "_html"
}

TEST_F(StructFile, Text_EveryField) {
    const auto d = Read({
        "1 _text vx=40 vy=50 vw=300 font=Arial; size=11 style=bold italic;",
        "color=10,20,30 value=" + A("Глава 1") + "; ident=pagetitle; number=2",
    });
    ASSERT_EQ(d.Texts.size(), 1u);
    const RText& t = d.Texts[0];
    EXPECT_EQ(t.Left, 40);
    EXPECT_EQ(t.Top, 50);
    EXPECT_EQ(t.Right, 300);
    EXPECT_EQ(t.Font, "arial");
    EXPECT_EQ(t.Size, 11);
    EXPECT_EQ(t.Style, "bold italic");
    EXPECT_EQ(t.Color, Rgb(10, 20, 30));
    EXPECT_EQ(t.Value, A("Глава 1"));
    EXPECT_EQ(t.Ident, "pagetitle");
    EXPECT_EQ(t.Number, 2);
    EXPECT_EQ(t.Screen, 0);
}

TEST_F(StructFile, Text_NumberIsReadAfterIdent) {
    // number comes last: written on the line before ident, it is looked for
    // from ident's line on and found in the next element.
    const auto d = Read({
        "1 _text vx=1 vy=2 vw=3 font=a; size=1 style=s; color=0,0,0 value=v; number=7",
        "ident=first",
        "1 _text vx=4 vy=5 vw=6 font=b; size=2 style=t; color=0,0,0 value=w; ident=second; "
        "number=8",
    });
    ASSERT_EQ(d.Texts.size(), 1u);
    EXPECT_EQ(d.Texts[0].Ident, "first");
    EXPECT_EQ(d.Texts[0].Number, 8);
}

TEST_F(StructFile, Image_DirGetsItsBackslash) {
    const auto d = Read({
        "2 _image vx=1 vy=2 vw=3 vh=4 dir=pics",
        "2 _image vx=1 vy=2 vw=3 vh=4 dir=pics\\",
        "2 _image vx=1 vy=2 vw=3 vh=4 dir=<cd>slides",
    });
    ASSERT_EQ(d.Images.size(), 3u);
    EXPECT_EQ(d.Images[0].Dir, "pics\\"); // no '.' or '\': not a relative path
    EXPECT_EQ(d.Images[1].Dir, ProgramDir() + "pics\\");
    EXPECT_EQ(d.Images[2].Dir, ProgramDrive() + "slides\\");
    EXPECT_EQ(d.Images[0].Screen, 1);
}

TEST_F(StructFile, Tree_FileAsWritten) {
    const auto d = Read({
        "2 _tree vw=250 vh=511 colorselect=0,0,128",
        "colorselecttext=255,255,255 fn=tree\\contents.txt",
    });
    ASSERT_EQ(d.Trees.size(), 1u);
    const RTree& t = d.Trees[0];
    EXPECT_EQ(t.Right, 250);
    EXPECT_EQ(t.Bottom, 511);
    EXPECT_EQ(t.ColorSelect, Rgb(0, 0, 128));
    EXPECT_EQ(t.ColorSelectText, Rgb(255, 255, 255));
    EXPECT_EQ(t.File, "tree\\contents.txt");
    EXPECT_EQ(t.Screen, 1);
}

TEST_F(StructFile, Tree_ThreeElements_AreAllKept) {
    // Which of them to build is the window's choice (one or two only).
    const auto d = Read({"2 _tree vw=1 vh=2 colorselect=0,0,0 colorselecttext=0,0,0 fn=a.txt",
                         "2 _tree vw=1 vh=2 colorselect=0,0,0 colorselecttext=0,0,0 fn=b.txt",
                         "2 _tree vw=1 vh=2 colorselect=0,0,0 colorselecttext=0,0,0 fn=c.txt"});
    ASSERT_EQ(d.Trees.size(), 3u);
    EXPECT_EQ(d.Trees[2].File, "c.txt");
}

TEST_F(StructFile, Splitter_Colour) {
    const auto d = Read({"2 _splitter color=128,141,142", "3 _splitter color=1,1,1"});
    ASSERT_EQ(d.Splitters.size(), 2u);
    EXPECT_EQ(d.Splitters[0].Color, Rgb(128, 141, 142));
    EXPECT_EQ(d.Splitters[0].Screen, 1);
    EXPECT_EQ(d.Splitters[1].Screen, 2);
}

std::vector<std::string> PopupLines(const std::string& screen, const std::string& type) {
    return {
        screen + " _popup xfon=100 yfon=200 fnfon=popup\\bg.bmp; xbtn=110 ybtn=210",
        "fnbtnup=[popup\\u1.bmp;popup\\u2.bmp]",
        "fnbtnmove=[popup\\m1.bmp;popup\\m2.bmp]",
        "fnbtndown=[popup\\d1.bmp;popup\\d2.bmp]",
        "fontup=Arial; sizeup=9 styleup=bold; colorup=0,0,0",
        "fontmv=Tahoma; sizemv=10 stylemv=bold underline; colormv=255,0,0",
        "caption=[" + A("Назад") + ";" + A("Вперёд") + "]",
        "go=[historyback;screen2=ch01\\p.htm]",
        "parent=main; type=" + type,
        "vertex=[0,0;120,0;120,40;0,40]",
    };
}

TEST_F(StructFile, Popup_EveryField) {
    const auto d = Read(PopupLines("2", "favorite"));
    ASSERT_EQ(d.Popups.size(), 2u);
    EXPECT_TRUE(d.Popups[0].empty());
    ASSERT_EQ(d.Popups[1].size(), 1u);
    EXPECT_TRUE(d.HasPopups());
    const RPopupData& p = d.Popups[1][0];
    EXPECT_EQ(p.XFon, 100);
    EXPECT_EQ(p.YFon, 200);
    EXPECT_EQ(p.FnFon, "popup\\bg.bmp");
    EXPECT_EQ(p.XBtn, 110);
    EXPECT_EQ(p.YBtn, 210);
    const TDynamicStringArray up = {ProgramDir() + "popup\\u1.bmp", ProgramDir() + "popup\\u2.bmp"};
    EXPECT_EQ(p.FnBtnUp, up);
    EXPECT_EQ(p.FnBtnMove.size(), 2u);
    EXPECT_EQ(p.FnBtnDown.at(1), ProgramDir() + "popup\\d2.bmp");
    EXPECT_EQ(p.Font[0], "arial");
    EXPECT_EQ(p.Font[1], "tahoma");
    EXPECT_EQ(p.Size[0], 9);
    EXPECT_EQ(p.Size[1], 10);
    EXPECT_EQ(p.Style[0], "bold");
    EXPECT_EQ(p.Style[1], "bold underline");
    EXPECT_EQ(p.Color[0], Rgb(0, 0, 0));
    EXPECT_EQ(p.Color[1], Rgb(255, 0, 0));
    const TDynamicStringArray captions = {A("Назад"), A("Вперёд")};
    EXPECT_EQ(p.Caption, captions);
    const TDynamicStringArray go = {"historyback", "screen2=" + ProgramDir() + "ch01\\p.htm"};
    EXPECT_EQ(p.Go, go);
    EXPECT_EQ(p.Parent, "main");
    EXPECT_EQ(p.Type, popuptype::Favorite);
    const TDynamicStringArray vertex = {"0,0", "120,0", "120,40", "0,40"};
    EXPECT_EQ(p.Vertex, vertex);
    EXPECT_TRUE(d.Problems.empty());
}

TEST_F(StructFile, Popup_Types) {
    struct Case {
        std::string written;
        TPopupType type;
    };
    const std::vector<Case> cases = {
        {"historyback", popuptype::HistoryBack},
        {"HistoryForward", popuptype::HistoryForward},
        {"favorite", popuptype::Favorite},
        {"contexthtml", popuptype::ContextHtml},
        {"7", TPopupType{7}},
        {" 12 ", TPopupType{12}},
        {"menu", TPopupType{-1}}, // no name and no number after the key
        {"favorites", TPopupType{-1}},
    };
    for (const Case& c : cases) {
        const auto d = Read(PopupLines("1", c.written));
        ASSERT_EQ(d.Popups.at(0).size(), 1u) << c.written;
        EXPECT_EQ(d.Popups[0][0].Type, c.type) << c.written;
    }
}

TEST_F(StructFile, Popup_TypeWithoutNumber_TakesTheNextNumberOfItsLine) {
    std::vector<std::string> lines = PopupLines("1", "menu");
    lines[8] = "type=menu parent=p2";
    const auto d = Read(lines);
    EXPECT_EQ(d.Popups.at(0).at(0).Type, TPopupType{2});
}

TEST_F(StructFile, Popup_RunsPastTheEnd_IsKept) {
    std::vector<std::string> lines = PopupLines("1", "7");
    lines.pop_back(); // no vertex
    const auto d = Read(lines);
    ASSERT_EQ(d.Popups.at(0).size(), 1u);
    EXPECT_EQ(d.Popups[0][0].Type, TPopupType{7});
    EXPECT_TRUE(d.Popups[0][0].Vertex.empty());
    ASSERT_EQ(d.Problems.size(), 1u);
    EXPECT_EQ(d.Problems[0].Line, 1);
    EXPECT_NE(d.Problems[0].Message.find("vertex"), std::string::npos);
}

TEST_F(StructFile, Popup_UnclosedList_StaysInsideTheFile) {
    const auto d = Read({"1 _popup xfon=1 yfon=2 fnfon=f; xbtn=3 ybtn=4", "fnbtnup=[a.bmp;b.bmp"});
    ASSERT_EQ(d.Popups.at(0).size(), 1u);
    EXPECT_EQ(d.Popups[0][0].FnBtnUp.size(), 2u);
    EXPECT_EQ(d.Problems.size(), 1u);
}

TEST_F(StructFile, PanelsRunPastTheEnd_AreKeptAndReported) {
    const std::vector<std::string> cuts = {
        "1 _html vx=1 vy=2 vw=3", "1 _findtxt vx=1 vy=2",
        "1 _path vx=1",           "1 _clip vx=1 vy=2 vw=3 vh=4",
        "1 _text vx=1 vy=2",      "1 _image",
        "1 _tree vw=5",           "1 _splitter",
    };
    for (const std::string& line : cuts) {
        const auto d = Read({line});
        const std::size_t kept = d.HtmlPanels.size() + d.FindTexts.size() + d.PathInputs.size() +
                                 d.Clips.size() + d.Texts.size() + d.Images.size() +
                                 d.Trees.size() + d.Splitters.size();
        EXPECT_EQ(kept, 1u) << line;
        ASSERT_EQ(d.Problems.size(), 1u) << line;
        EXPECT_EQ(d.Problems[0].Line, 1) << line;
    }
}

TEST_F(StructFile, PanelsAndScreens_InOneDescription) {
    const auto d = Read({
        "minimize vx=1 vy=1 fn1=m1; fn2=m2; fn3=m3; hint=m; wav=no",
        "close vx=2 vy=1 fn1=c1; fn2=c2; fn3=c3; hint=c; wav=no",
        "1 _screen=title.bmp",
        "2 _html vx=33 vy=90 vw=706 vh=511 fn=start.htm; number=1",
        "2 _tree vw=250 vh=511 colorselect=0,0,128 colorselecttext=255,255,255 fn=tree.txt",
        "2 _splitter color=128,141,142",
        "2 button vx=5 vy=5 fn1=b1; fn2=b2; fn3=b3; go=historyback; hint=h; wav=no",
        "2 _screen=doc.bmp",
    });
    EXPECT_EQ(d.ScreenCount(), 2);
    EXPECT_EQ(d.HtmlPanels.size(), 1u);
    EXPECT_EQ(d.Trees.size(), 1u);
    EXPECT_EQ(d.Splitters.size(), 1u);
    ASSERT_EQ(d.Buttons.at(1).size(), 3u);
    EXPECT_EQ(d.Buttons[1][0].Command, "historyback");
    EXPECT_EQ(d.Buttons[1][2].Command, "exit");
    EXPECT_TRUE(d.Problems.empty());
}

} // namespace
} // namespace carmanual
