// The Struct.txt reader: the window keywords of the first pass, buttons,
// switches and switch groups of the second, the screens, attributes over
// several lines, and descriptions that end too early.

#include "archive.h"
#include "archivewriter.h"
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

const std::string kMinimize =
    "minimize vx=600 vy=4 fn1=min1.bmp; fn2=min2.bmp; fn3=min3.bmp; hint=min; wav=no";
const std::string kClose =
    "close vx=620 vy=4 fn1=cl1.bmp; fn2=cl2.bmp; fn3=cl3.bmp; hint=x; wav=c.wav";

// ---- buttons ----

TEST_F(StructFile, ButtonLine_GivesOneButtonOnScreenZero) {
    const auto d =
        Read({"1 button vx=10 vy=20 fn1=a.bmp;fn2=b.bmp;fn3=c.bmp;go=about;hint=About;wav=no"});
    ASSERT_EQ(d.Buttons.size(), 1u);
    ASSERT_EQ(d.Buttons[0].size(), 1u);
    const RBtn& b = d.Buttons[0][0];
    EXPECT_EQ(b.Left, 10);
    EXPECT_EQ(b.Top, 20);
    EXPECT_EQ(b.Right, 0); // from the picture, when the screen is built
    EXPECT_EQ(b.FileUp, "a.bmp");
    EXPECT_EQ(b.FileMove, "b.bmp");
    EXPECT_EQ(b.FileDown, "c.bmp");
    EXPECT_EQ(b.Command, "about");
    EXPECT_EQ(b.Hint, "about"); // the whole line was lowered
    EXPECT_EQ(b.Sound, "no");
    EXPECT_TRUE(b.Caption.empty());
    EXPECT_TRUE(d.Problems.empty());
}

TEST_F(StructFile, Button_CommandAndPicturesAreTakenAsWritten) {
    const auto d = Read({"1 button vx=1 vy=2 fn1=pics\\a.bmp; fn2=b.bmp; fn3=c.bmp; "
                         "go=html=ch01\\p1.htm; hint=h; wav=snd\\click.wav"});
    const RBtn& b = d.Buttons.at(0).at(0);
    EXPECT_EQ(b.FileUp, "pics\\a.bmp");
    EXPECT_EQ(b.Command, "html=ch01\\p1.htm");
    EXPECT_EQ(b.Sound, "snd\\click.wav");
}

TEST_F(StructFile, Attributes_MayRunOverSeveralLines) {
    const auto d = Read({
        "1 button vx=10",
        "vy=20 fn1=a.bmp",
        "",
        "fn2=b.bmp; fn3=c.bmp; go=screen2",
        "hint=h",
        "wav=w.wav",
        "1 button vx=30 vy=40 fn1=d; fn2=e; fn3=f; go=exit; hint=q; wav=no",
    });
    ASSERT_EQ(d.Buttons.at(0).size(), 2u);
    const RBtn& b = d.Buttons[0][0];
    EXPECT_EQ(b.Top, 20);
    EXPECT_EQ(b.FileMove, "b.bmp");
    EXPECT_EQ(b.Command, "screen2");
    EXPECT_EQ(b.Sound, "w.wav");
    EXPECT_EQ(d.Buttons[0][1].Left, 30);
}

TEST_F(StructFile, AttributesOfOneLine_MayStandInAnyOrder) {
    // Each key is searched in the whole line, whatever precedes it.
    const auto d = Read({"1 button wav=w; hint=h; go=g; fn3=c; fn2=b; fn1=a; vy=2 vx=1"});
    const RBtn& b = d.Buttons.at(0).at(0);
    EXPECT_EQ(b.Left, 1);
    EXPECT_EQ(b.Top, 2);
    EXPECT_EQ(b.FileUp, "a");
    EXPECT_EQ(b.Sound, "w");
}

TEST_F(StructFile, AttributeOnALineBeforeItsTurn_IsTakenFromTheNextElement) {
    // vy is missing on the first line, so wav is looked for from the second
    // line on: it is the next button's, and that button is swallowed.
    const auto d = Read({
        "1 button vx=1 wav=early.wav",
        "vy=2 fn1=a; fn2=b; fn3=c; go=g; hint=h",
        "1 button vx=5 vy=6 fn1=x; fn2=y; fn3=z; go=g2; hint=h2; wav=late.wav",
        "1 button vx=7 vy=8 fn1=x; fn2=y; fn3=z; go=g3; hint=h3; wav=no",
    });
    ASSERT_EQ(d.Buttons.at(0).size(), 2u);
    EXPECT_EQ(d.Buttons[0][0].Sound, "late.wav");
    EXPECT_EQ(d.Buttons[0][0].Hint, "h");
    EXPECT_EQ(d.Buttons[0][1].Command, "g3");
}

TEST_F(StructFile, MalformedIntegers_FollowTheNumberReader) {
    const auto d = Read({
        "1 button vx=abc vy=20 fn1=a; fn2=b; fn3=c; go=g; hint=h; wav=no",
        "1 button vx=5-3 vy=7 fn1=a; fn2=b; fn3=c; go=g; hint=h; wav=no",
    });
    ASSERT_EQ(d.Buttons.at(0).size(), 2u);
    EXPECT_EQ(d.Buttons[0][0].Left, 20); // no number at the key: the next one of the line
    EXPECT_EQ(d.Buttons[0][1].Left, -1);
    EXPECT_EQ(d.Buttons[0][1].Top, 7);
}

TEST_F(StructFile, ScreenNumber_IsTheFirstNumberOfTheLine) {
    const auto d = Read({
        "3 button vx=1 vy=2 fn1=a; fn2=b; fn3=c; go=g; hint=h; wav=no",
        "button vx=2 vy=9 fn1=a; fn2=b; fn3=c; go=g; hint=h; wav=no",
    });
    ASSERT_GE(d.Buttons.size(), 3u);
    EXPECT_EQ(d.Buttons[2].size(), 1u);
    EXPECT_EQ(d.Buttons[1].size(), 1u); // "vx=2" stood first
    EXPECT_EQ(d.Buttons[1][0].Top, 9);
}

// ---- text attributes ----

TEST_F(StructFile, TextAttributesOnTheLastMainLine_AreIgnored) {
    const auto d = Read({"1 button vx=1 vy=2 fn1=a; fn2=b; fn3=c; go=g; hint=h; wav=no; "
                         "textcaption=OK; textfontsize=12 texttx=3"});
    const RBtn& b = d.Buttons.at(0).at(0);
    EXPECT_TRUE(b.Caption.empty());
    EXPECT_EQ(b.FontSize, 0);
    EXPECT_EQ(b.TextLeft, 0);
}

TEST_F(StructFile, TextAttributesOnTheirOwnLine_AreRead) {
    const auto d = Read({
        "1 button vx=1 vy=2 fn1=a; fn2=b; fn3=c",
        "textcaption=" + A("Пуск") + "; texttx=3 textty=4 textbx=50 textby=20 textfontname=arial",
        "textfontsize=12 textfontstyleup=bold; textfontstylemv=Bold Italic",
        "textfontstyledn=underline,strikeout; textfontcolorup=255,0,0",
        "textfontcolormv=0,128,255 textfontcolordn=1,2,3",
        "go=g; hint=h; wav=no; textcaption=late",
    });
    const RBtn& b = d.Buttons.at(0).at(0);
    EXPECT_EQ(b.Caption, A("Пуск")); // Cyrillic keeps its case
    EXPECT_EQ(b.TextLeft, 3);
    EXPECT_EQ(b.TextTop, 4);
    EXPECT_EQ(b.TextRight, 50);
    EXPECT_EQ(b.TextBottom, 20);
    EXPECT_EQ(b.FontName, "arial");
    EXPECT_EQ(b.FontSize, 12);
    EXPECT_EQ(b.StyleUp, fontstyle::Bold);
    EXPECT_EQ(b.StyleMove, fontstyle::Bold | fontstyle::Italic);
    EXPECT_EQ(b.StyleDown, fontstyle::Underline | fontstyle::StrikeOut);
    EXPECT_EQ(b.ColorUp, Rgb(255, 0, 0));
    EXPECT_EQ(b.ColorMove, Rgb(0, 128, 255));
    EXPECT_EQ(b.ColorDown, Rgb(1, 2, 3));
    EXPECT_EQ(b.Command, "g");
}

TEST_F(StructFile, TextAttributesOnALineWhereASearchFailed_AreRead) {
    // The element's own line lacks fn1, so its text attributes count.
    const auto d = Read({
        "1 button vx=1 vy=2 textcaption=first; textfontsize=9",
        "fn1=a; fn2=b; fn3=c; go=g; hint=h; wav=no",
    });
    EXPECT_EQ(d.Buttons.at(0).at(0).Caption, "first");
    EXPECT_EQ(d.Buttons[0][0].FontSize, 9);
}

TEST_F(StructFile, StyleWords_MakeTheSet) {
    EXPECT_EQ(StyleFromWords(""), 0);
    EXPECT_EQ(StyleFromWords("normal"), 0);
    EXPECT_EQ(StyleFromWords("italic"), fontstyle::Italic);
    EXPECT_EQ(StyleFromWords("strikeout bold"), fontstyle::StrikeOut | fontstyle::Bold);
    EXPECT_EQ(StyleFromWords("BOLD,UNDERLINE"), fontstyle::Bold | fontstyle::Underline);
}

// ---- single switches and switch groups ----

TEST_F(StructFile, SingleSwitch_ReadsEveryField) {
    const auto d = Read({
        "2 switchone vx=5 vy=6 fn1=u.bmp; fn2=mu.bmp; fn3=md.bmp; fn4=d.bmp; state=On; store=ON",
        "textcaptionup=off; textcaptiondn=on; texttxup=1 texttyup=2 textbxup=3 textbyup=4",
        "texttxdn=5 texttydn=6 textbxdn=7 textbydn=8 textfontname=tahoma; textfontsize=10",
        "textfontstyleup=bold; textfontstylemvup=italic; textfontstylemvdn=underline; "
        "textfontstyledn=strikeout",
        "textfontcolorup=1,0,0 textfontcolormvup=0,1,0 textfontcolormvdn=0,0,1 "
        "textfontcolordn=9,9,9",
        "goup=tree2; godown=html1=ch01\\p1.htm; hint=Tree; wav=s.wav",
    });
    ASSERT_GE(d.Switches.size(), 2u);
    ASSERT_EQ(d.Switches[1].size(), 1u);
    const RSwthOne& s = d.Switches[1][0];
    EXPECT_EQ(s.Left, 5);
    EXPECT_EQ(s.Top, 6);
    EXPECT_EQ(s.FileUp, "u.bmp");
    EXPECT_EQ(s.FileMoveUp, "mu.bmp");
    EXPECT_EQ(s.FileMoveDown, "md.bmp");
    EXPECT_EQ(s.FileDown, "d.bmp");
    EXPECT_TRUE(s.State);
    EXPECT_TRUE(s.Store);
    EXPECT_EQ(s.CommandUp, "tree2");
    EXPECT_EQ(s.CommandDown, "html1=" + ProgramDir() + "ch01\\p1.htm");
    EXPECT_EQ(s.Hint, "tree");
    EXPECT_EQ(s.Sound, "s.wav");
    EXPECT_EQ(s.CaptionUp, "off");
    EXPECT_EQ(s.CaptionDown, "on");
    EXPECT_EQ(s.TextLeftUp, 1);
    EXPECT_EQ(s.TextBottomUp, 4);
    EXPECT_EQ(s.TextLeftDown, 5);
    EXPECT_EQ(s.TextBottomDown, 8);
    EXPECT_EQ(s.FontName, "tahoma");
    EXPECT_EQ(s.FontSize, 10);
    EXPECT_EQ(s.StyleUp, fontstyle::Bold);
    EXPECT_EQ(s.StyleMoveUp, fontstyle::Italic);
    EXPECT_EQ(s.StyleMoveDown, fontstyle::Underline);
    EXPECT_EQ(s.StyleDown, fontstyle::StrikeOut);
    EXPECT_EQ(s.ColorUp, Rgb(1, 0, 0));
    EXPECT_EQ(s.ColorMoveUp, Rgb(0, 1, 0));
    EXPECT_EQ(s.ColorMoveDown, Rgb(0, 0, 1));
    EXPECT_EQ(s.ColorDown, Rgb(9, 9, 9));
}

TEST_F(StructFile, SwitchValues_OnlyOnIsOn) {
    struct Case {
        std::string value;
        bool on;
    };
    const std::vector<Case> cases = {
        {"on", true},   {"On", true},   {"ON", true}, {" on ", true},
        {"off", false}, {"onn", false}, {"1", false}, {"", false},
    };
    for (const Case& c : cases) {
        const auto d = Read({"1 switchone vx=1 vy=1 fn1=a; fn2=b; fn3=c; fn4=d; state=" + c.value +
                             ";store=" + c.value + ";goup=a; godown=b; hint=h; wav=no"});
        ASSERT_EQ(d.Switches.at(0).size(), 1u) << c.value;
        EXPECT_EQ(d.Switches[0][0].State, c.on) << "state=" << c.value;
        EXPECT_EQ(d.Switches[0][0].Store, c.on) << "store=" << c.value;
    }
}

TEST_F(StructFile, SwitchGroup_TwoMembersOn_BothStartOn) {
    const auto d = Read({
        "1 switchgrp vx=1 vy=1 fn1=a; fn2=b; fn3=c; fn4=d; state=on; store=off; group=3 "
        "go=html=p1.htm; hint=one; wav=no",
        "1 switchgrp vx=9 vy=1 fn1=a; fn2=b; fn3=c; fn4=d; state=on; store=on; group=3 go=3d; "
        "hint=two; wav=no",
        "1 switchgrp vx=17 vy=1 fn1=a; fn2=b; fn3=c; fn4=d; state=off; store=on; group=3 go=back; "
        "hint=three; wav=no",
    });
    ASSERT_EQ(d.Groups.at(0).size(), 3u);
    EXPECT_TRUE(d.Groups[0][0].State);
    EXPECT_TRUE(d.Groups[0][1].State);
    EXPECT_FALSE(d.Groups[0][2].State);
    EXPECT_FALSE(d.Groups[0][0].Store);
    EXPECT_TRUE(d.Groups[0][1].Store);
    EXPECT_EQ(d.Groups[0][0].Group, 3);
    EXPECT_EQ(d.Groups[0][0].Command, "html=" + ProgramDir() + "p1.htm");
    EXPECT_EQ(d.Groups[0][1].Command, "3d");
}

TEST_F(StructFile, SwitchGroup_TextAttributes) {
    const auto d = Read({
        "1 switchgrp vx=1 vy=1 fn1=a; fn2=b; fn3=c; fn4=d",
        "textcaptionup=up; textcaptiondn=dn; texttx=1 textty=2 textbx=3 textby=4",
        "textfontname=arial; textfontsize=8 textfontstyleup=bold; textfontstylemvup=italic",
        "textfontstylemvdn=underline; textfontstyledn=strikeout; textfontcolorup=1,2,3",
        "textfontcolormvup=4,5,6 textfontcolormvdn=7,8,9 textfontcolordn=10,11,12",
        "state=on; store=on; group=1 go=about; hint=h; wav=no",
    });
    const RSwthGrp& g = d.Groups.at(0).at(0);
    EXPECT_EQ(g.CaptionUp, "up");
    EXPECT_EQ(g.CaptionDown, "dn");
    EXPECT_EQ(g.TextLeft, 1);
    EXPECT_EQ(g.TextBottom, 4);
    EXPECT_EQ(g.FontSize, 8);
    EXPECT_EQ(g.StyleMoveUp, fontstyle::Italic);
    EXPECT_EQ(g.StyleDown, fontstyle::StrikeOut);
    EXPECT_EQ(g.ColorUp, Rgb(1, 2, 3));
    EXPECT_EQ(g.ColorMoveDown, Rgb(7, 8, 9));
    EXPECT_EQ(g.ColorDown, Rgb(10, 11, 12));
}

// ---- screens ----

TEST_F(StructFile, TwoScreens_EachEndWithMinimizeAndClose) {
    const auto d = Read({
        kMinimize,
        kClose,
        "1 button vx=1 vy=1 fn1=a; fn2=b; fn3=c; go=screen2; hint=a; wav=no",
        "1 _screen=screen1.bmp",
        "2 button vx=2 vy=2 fn1=a; fn2=b; fn3=c; go=1; hint=b; wav=no",
        "2 _screen=Screen2.BMP",
    });
    ASSERT_EQ(d.ScreenCount(), 2);
    EXPECT_EQ(d.ScreenBackgrounds[0], "screen1.bmp");
    EXPECT_EQ(d.ScreenBackgrounds[1], "screen2.bmp");
    for (int s = 0; s < 2; ++s) {
        const TDynamicBtnArray& buttons = d.Buttons.at(static_cast<std::size_t>(s));
        ASSERT_EQ(buttons.size(), 3u) << s;
        EXPECT_EQ(buttons[0].Left, s + 1);
        EXPECT_EQ(buttons[1].Command, "minimize");
        EXPECT_EQ(buttons[1].Left, 600);
        EXPECT_EQ(buttons[1].FileUp, "min1.bmp");
        EXPECT_EQ(buttons[2].Command, "exit");
        EXPECT_EQ(buttons[2].Sound, "c.wav");
    }
}

TEST_F(StructFile, ButtonsAfterTheScreenLine_FollowTheWindowButtons) {
    const auto d = Read({
        kMinimize,
        kClose,
        "1 _screen=s1.bmp",
        "1 button vx=7 vy=1 fn1=a; fn2=b; fn3=c; go=about; hint=a; wav=no",
    });
    ASSERT_EQ(d.Buttons.at(0).size(), 3u);
    EXPECT_EQ(d.Buttons[0][0].Command, "minimize");
    EXPECT_EQ(d.Buttons[0][1].Command, "exit");
    EXPECT_EQ(d.Buttons[0][2].Command, "about");
}

TEST_F(StructFile, ScreenLine_ReadsOneCharacterAfterTheWord) {
    const auto d = Read({
        "1 _screen=a.bmp",
        "2 _screen:b.bmp", // any one character between
        "3 _screen= c.bmp ; rest",
    });
    ASSERT_EQ(d.ScreenCount(), 3);
    EXPECT_EQ(d.ScreenBackgrounds[0], "a.bmp");
    EXPECT_EQ(d.ScreenBackgrounds[1], "b.bmp");
    EXPECT_EQ(d.ScreenBackgrounds[2], "c.bmp");
}

TEST_F(StructFile, ScreensOutOfOrder_LeaveEmptyNamesAndEqualLists) {
    const auto d = Read({
        "3 _screen=s3.bmp",
        "1 switchone vx=1 vy=1 fn1=a; fn2=b; fn3=c; fn4=d; state=on; store=on; goup=a; godown=b; "
        "hint=h; wav=no",
        "5 switchgrp vx=1 vy=1 fn1=a; fn2=b; fn3=c; fn4=d; state=on; store=on; group=1 go=g; "
        "hint=h; "
        "wav=no",
    });
    EXPECT_EQ(d.ScreenCount(), 3);
    EXPECT_EQ(d.ScreenBackgrounds[0], "");
    EXPECT_EQ(d.ScreenBackgrounds[2], "s3.bmp");
    // Every per-screen list reaches every screen any element named.
    EXPECT_EQ(d.Buttons.size(), 5u);
    EXPECT_EQ(d.Switches.size(), 5u);
    EXPECT_EQ(d.Groups.size(), 5u);
    EXPECT_EQ(d.Popups.size(), 5u);
    EXPECT_EQ(d.Buttons[2].size(), 2u); // minimize and close
    EXPECT_EQ(d.Groups[4].size(), 1u);
}

TEST_F(StructFile, ScreenNumberOutOfRange_IsReportedAndSkipped) {
    const auto d = Read({
        "0 button vx=1 vy=1 fn1=a; fn2=b; fn3=c; go=g; hint=h; wav=no",
        "99999999 switchone vx=1 vy=1 fn1=a; fn2=b; fn3=c; fn4=d; state=on; store=on; goup=a; "
        "godown=b; hint=h; wav=no",
        "-2147483648 _screen=x.bmp",
        "1 button vx=3 vy=1 fn1=a; fn2=b; fn3=c; go=g; hint=h; wav=no",
    });
    ASSERT_EQ(d.Buttons.size(), 1u);
    ASSERT_EQ(d.Buttons[0].size(), 1u);
    EXPECT_EQ(d.Buttons[0][0].Left, 3);
    EXPECT_EQ(d.ScreenCount(), 0);
    ASSERT_EQ(d.Problems.size(), 3u);
    EXPECT_EQ(d.Problems[0].Line, 1);
    EXPECT_EQ(d.Problems[1].Line, 2);
    EXPECT_EQ(d.Problems[2].Line, 3);
}

TEST_F(StructFile, LinesWithoutElements_AreSkipped) {
    const auto d = Read({"; a comment", "", "rolic=no",
                         "1 button vx=1 vy=1 fn1=a; fn2=b; "
                         "fn3=c; go=g; hint=h; wav=no"});
    EXPECT_EQ(d.Buttons.at(0).size(), 1u);
    EXPECT_TRUE(d.Problems.empty());
}

// ---- a description that ends too early ----

TEST_F(StructFile, AttributesRunPastTheEnd_ElementIsKeptAndReported) {
    testing::internal::CaptureStderr();
    const auto d = Read({
        "1 _screen=s.bmp",
        "1 button vx=10 vy=20 fn1=a; fn2=b; fn3=c; go=about",
        "hint=help",
    });
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(d.Buttons.at(0).size(), 3u);
    const RBtn& b = d.Buttons[0][2];
    EXPECT_EQ(b.Left, 10);
    EXPECT_EQ(b.Command, "about");
    EXPECT_EQ(b.Hint, "help");
    EXPECT_EQ(b.Sound, "");
    ASSERT_EQ(d.Problems.size(), 1u);
    EXPECT_EQ(d.Problems[0].Line, 2);
    EXPECT_NE(d.Problems[0].Message.find("wav"), std::string::npos);
    EXPECT_NE(err.find("line 2"), std::string::npos) << err;
}

TEST_F(StructFile, AttributesRunPastTheEnd_LaterElementsAreStillRead) {
    const auto d = Read({
        "1 switchone vx=1 vy=1 fn1=a; fn2=b; fn3=c; fn4=d; state=on; store=on; goup=a; godown=b",
        "1 _screen=s.bmp",
        "1 button vx=5 vy=5 fn1=a; fn2=b; fn3=c; go=g",
    });
    ASSERT_EQ(d.Switches.at(0).size(), 1u);
    EXPECT_EQ(d.Switches[0][0].CommandDown, "b");
    EXPECT_EQ(d.ScreenCount(), 1);
    ASSERT_EQ(d.Buttons.at(0).size(), 3u);
    EXPECT_EQ(d.Buttons[0][2].Command, "g");
    ASSERT_EQ(d.Problems.size(), 2u);
    EXPECT_EQ(d.Problems[0].Line, 1);
    EXPECT_EQ(d.Problems[1].Line, 3);
}

TEST_F(StructFile, ElementOnTheLastLineAlone_IsKept) {
    const auto d = Read({"1 switchgrp"});
    ASSERT_EQ(d.Groups.at(0).size(), 1u);
    EXPECT_EQ(d.Groups[0][0].Left, 0);
    EXPECT_EQ(d.Problems.size(), 1u);
}

TEST_F(StructFile, EmptyDescription_HasNoScreens) {
    const auto d = Read({});
    EXPECT_EQ(d.ScreenCount(), 0);
    EXPECT_TRUE(d.Buttons.empty());
    EXPECT_FALSE(d.HasPopups());
    EXPECT_FALSE(d.HasMinimize);
    EXPECT_EQ(d.Minimize.Command, "minimize");
    EXPECT_EQ(d.Close.Command, "exit");
}

// ---- first pass: window keywords ----

TEST_F(StructFile, WindowStrings) {
    const auto d = Read({
        "codec=Indeo5,MpegAudio",
        "rolic=intro.avi",
        "background=clipbg.bmp",
        "icon=app.ico",
    });
    EXPECT_EQ(d.Codec, "indeo5,mpegaudio");
    EXPECT_EQ(d.Rolic, "intro.avi");
    EXPECT_EQ(d.Background, "clipbg.bmp");
    EXPECT_EQ(d.Icon, "app.ico");
}

TEST_F(StructFile, HelpWin_KeysOverSeveralLines) {
    const auto d = Read({"helpwin vw=640", "", "vh=480", "fn=help\\manual.chm"});
    EXPECT_EQ(d.HelpWinRight, 640);
    EXPECT_EQ(d.HelpWinBottom, 480);
    EXPECT_EQ(d.HelpWinFile, ProgramDir() + "help\\manual.chm");
}

TEST_F(StructFile, HelpWin_KeysMayShareALine) {
    const auto d = Read({"helpwin fn=<cd>help.hlp; vh=2 vw=1"});
    EXPECT_EQ(d.HelpWinRight, 1);
    EXPECT_EQ(d.HelpWinBottom, 2);
    EXPECT_EQ(d.HelpWinFile, ProgramDrive() + "help.hlp");
}

TEST_F(StructFile, BgSoundDef_ListOverTwoLines) {
    const auto d = Read({"bgsounddef=[music\\a.mp3;music\\b.mp3", "music\\c.mp3]"});
    ASSERT_EQ(d.BgSoundDef.size(), 3u);
    EXPECT_EQ(d.BgSoundDef[0], ProgramDir() + "music\\a.mp3");
    EXPECT_EQ(d.BgSoundDef[2], ProgramDir() + "music\\c.mp3");
    EXPECT_TRUE(Read({"bgsounddef=[]"}).BgSoundDef.empty());
    EXPECT_TRUE(Read({"rolic=no"}).BgSoundDef.empty());
}

TEST_F(StructFile, VertexMain_GivesTheWindowRegion) {
    const auto d = Read({"vertexmain=[0,0;700,0", "700,500;0,500]", kMinimize});
    ASSERT_TRUE(d.HasVertexMain);
    const std::vector<TPoint> want = {{0, 0}, {700, 0}, {700, 500}, {0, 500}};
    EXPECT_EQ(d.VertexMain.points, want);
    EXPECT_TRUE(d.HasMinimize);
    EXPECT_FALSE(Read({"rolic=no"}).HasVertexMain);
}

TEST_F(StructFile, VertexMainMalformed_LeavesNoRegionAndReadsOn) {
    const auto d = Read({"vertexmain=[0,0;ten,0", "5,5]", kClose});
    EXPECT_FALSE(d.HasVertexMain);
    EXPECT_TRUE(d.VertexMain.points.empty());
    ASSERT_EQ(d.Problems.size(), 1u);
    EXPECT_EQ(d.Problems[0].Line, 1);
    EXPECT_TRUE(d.HasClose);
    EXPECT_EQ(d.Close.Left, 620);
}

TEST_F(StructFile, MinimizeAndClose) {
    const auto d = Read({kMinimize, kClose});
    ASSERT_TRUE(d.HasMinimize);
    ASSERT_TRUE(d.HasClose);
    EXPECT_EQ(d.Minimize.Left, 600);
    EXPECT_EQ(d.Minimize.Top, 4);
    EXPECT_EQ(d.Minimize.FileMove, "min2.bmp");
    EXPECT_EQ(d.Minimize.Hint, "min");
    EXPECT_EQ(d.Minimize.Sound, "no");
    EXPECT_EQ(d.Minimize.Command, "minimize");
    EXPECT_EQ(d.Close.FileDown, "cl3.bmp");
    EXPECT_EQ(d.Close.Command, "exit");
}

TEST_F(StructFile, WindowButtons_OverLinesAndWithoutTextAttributes) {
    const auto d = Read({
        "minimize vx=1 vy=2",
        "textcaption=x; textfontsize=9 fn1=a; fn2=b; fn3=c",
        "hint=h; wav=no",
    });
    EXPECT_EQ(d.Minimize.FileUp, "a");
    EXPECT_EQ(d.Minimize.Sound, "no");
    EXPECT_TRUE(d.Minimize.Caption.empty());
    EXPECT_EQ(d.Minimize.FontSize, 0);
}

TEST_F(StructFile, FirstPass_KeywordsAfterAMoveAreLookedForInTheNewLine) {
    // minimize ends on the second line: close is found there, but codec,
    // which comes earlier in the keyword order, is not.
    const auto d = Read({
        "minimize vx=1 vy=2 fn1=a; fn2=b; fn3=c",
        "hint=h; wav=no; codec=indeo5; close vx=3 vy=4 fn1=d; fn2=e; fn3=f",
        "rolic=r.avi",
    });
    EXPECT_TRUE(d.HasMinimize);
    EXPECT_TRUE(d.HasClose);
    EXPECT_EQ(d.Close.Left, 3);
    EXPECT_EQ(d.Close.FileDown, "f");
    EXPECT_EQ(d.Close.Hint, "h"); // the first "hint" of the line
    EXPECT_EQ(d.Codec, "");
    EXPECT_EQ(d.Rolic, "r.avi");
}

TEST_F(StructFile, WindowButtonRunsPastTheEnd_KeepsWhatWasRead) {
    const auto d = Read({"close vx=3 vy=4 fn1=d", "codec=mpegaudio"});
    EXPECT_TRUE(d.HasClose);
    EXPECT_EQ(d.Close.FileUp, "d");
    EXPECT_EQ(d.Close.Command, "exit");
    ASSERT_EQ(d.Problems.size(), 1u);
    EXPECT_EQ(d.Problems[0].Line, 1);
    EXPECT_EQ(d.Codec, "mpegaudio"); // the following lines are still read
}

TEST_F(StructFile, PassesOneAtATime_GiveTheSameResult) {
    std::vector<std::string> lines = {
        kMinimize, kClose, "1 _screen=s.bmp",
        "1 button vx=1 vy=1 fn1=a; fn2=b; fn3=c; go=g; hint=h; wav=no"};
    TInterfaceDescription d;
    ReadWindowKeywords(lines, d);
    EXPECT_EQ(d.ScreenCount(), 0);
    ReadElements(lines, d);
    EXPECT_EQ(d.ScreenCount(), 1);
    ASSERT_EQ(d.Buttons.at(0).size(), 3u);
    EXPECT_EQ(d.Buttons[0][0].Left, 600);
}

TEST_F(StructFile, ReadingAgain_StartsFromNothing) {
    TInterfaceDescription d;
    ReadStructFile({"1 _screen=a.bmp", "rolic=a.avi"}, d);
    ReadStructFile({"1 _screen=b.bmp"}, d);
    EXPECT_EQ(d.ScreenCount(), 1);
    EXPECT_EQ(d.ScreenBackgrounds[0], "b.bmp");
    EXPECT_EQ(d.Rolic, "");
    EXPECT_EQ(d.Buttons.at(0).size(), 2u);
}

// ---- the files ----

TEST_F(StructFile, LoadStructFile_LowersLatinOnly) {
    m_tmp.Write("run/STRUCT.TXT", "1 _screen=Main.BMP\r\n1 button vx=1 vy=1 fn1=A.bmp; fn2=b; "
                                  "fn3=c; go=Screen2; hint=" +
                                      A("Меню") + "; wav=NO\r\n");
    TInterfaceDescription d;
    ASSERT_TRUE(LoadStructFile(d));
    ASSERT_EQ(d.ScreenCount(), 1);
    EXPECT_EQ(d.ScreenBackgrounds[0], "main.bmp");
    ASSERT_EQ(d.Buttons.at(0).size(), 3u);
    EXPECT_EQ(d.Buttons[0][2].FileUp, "a.bmp");
    EXPECT_EQ(d.Buttons[0][2].Command, "screen2");
    EXPECT_EQ(d.Buttons[0][2].Hint, A("Меню"));
    EXPECT_EQ(d.Buttons[0][2].Sound, "no");
}

TEST_F(StructFile, LoadStructFile_Missing_LeavesTheDescriptionAlone) {
    TInterfaceDescription d;
    d.Rolic = "kept";
    EXPECT_FALSE(LoadStructFile(d));
    EXPECT_EQ(d.Rolic, "kept");
}

TEST_F(StructFile, LoadStructFile_FromTheArchive) {
    TheArchive().OpenBytes(BuildArchive({{"run\\Struct.txt", "ROLIC=Intro.AVI\r\n"}}));
    SetArchiveRoot(ArchiveRootFor(ProgramDir()));
    TInterfaceDescription d;
    const bool loaded = LoadStructFile(d);
    TheArchive().Close();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(d.Rolic, "intro.avi");
}

TEST_F(StructFile, Title_LastNonEmptyLineWithItsCase) {
    m_tmp.Write("run/Title.txt", A("Руководство\r\n\r\nLada Kalina 2\r\n"));
    EXPECT_EQ(ReadTitleFile(), "Lada Kalina 2");
    m_tmp.Write("run/Title.txt", A("Одна строка"));
    EXPECT_EQ(ReadTitleFile(), A("Одна строка"));
    m_tmp.Write("run/Title.txt", "");
    EXPECT_EQ(ReadTitleFile(), "");
}

TEST_F(StructFile, Title_MissingFile_IsEmpty) {
    EXPECT_EQ(ReadTitleFile(), "");
}

} // namespace
} // namespace carmanual
