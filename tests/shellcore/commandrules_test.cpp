// Which dispatcher rule a command text reaches, the numbers the rules take
// out of the text, and the names of saved switch states.

#include "commandrules.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace carmanual {
namespace {

using R = TCommandRule;

struct RuleCase {
    std::string text;
    TCommandRule rule;
};

TEST(CommandRules, EveryRuleByItsOwnWord) {
    const std::vector<RuleCase> cases = {
        {"exit", R::Exit},
        {"screen2=ch01\\p1.htm", R::Screen},
        {"2d", R::Still2D},
        {"3d", R::Play3D},
        {"run=tools\\viewer.exe=docs\\a.pdf", R::Run},
        {"about", R::About},
        {"minimize", R::Minimize},
        {"tree1", R::Tree1},
        {"tree2", R::Tree2},
        {"ontree", R::OnTree},
        {"offtree", R::OffTree},
        {"historyback", R::HistoryBack},
        {"historyforward", R::HistoryForward},
        {"showfavorite", R::ShowFavorite},
        {"addtofavorite", R::AddToFavorite},
        {"deletefromfavorite", R::DeleteFromFavorite},
        {"tesaurus", R::Tesaurus},
        {"contextmenu3", R::ContextMenu},
        {"back", R::Back},
        {"forward", R::Forward},
        {"html=ch01\\p1.htm", R::Html},
        {"copyhtml", R::CopyHtml},
        {"printhtml", R::PrintHtml},
        {"tophtml", R::TopHtml},
        {"nextchapter", R::NextChapter},
        {"prevchapter", R::PrevChapter},
        {"findnext1", R::FindNext},
        {"findtxtall", R::FindTxtAll},
        {"findtxtlimit", R::FindTxtLimit},
        {"caseon", R::CaseOn},
        {"caseoff", R::CaseOff},
        {"bgsound", R::BgSound},
        {"standartwin", R::StandartWin},
        {"options", R::Options},
        {"help", R::Help},
        {"unarc", R::Unarc},
        {"play", R::Play},
        {"stop", R::Stop},
        {"pause", R::Pause},
        {"stepforward", R::StepForward},
        {"stepback", R::StepBack},
        {"clip=video\\a.avi=ch02\\p.htm", R::Clip},
        {"nextpic", R::NextPic},
        {"prevpic", R::PrevPic},
        {"installfonts", R::InstallFonts},
        {"4", R::ScreenNumber},
    };
    for (const RuleCase& c : cases)
        EXPECT_EQ(MatchCommandRule(c.text), c.rule) << c.text;
}

TEST(CommandRules, NamesContainsAndEquals) {
    const std::vector<RuleCase> cases = {
        // A name exists only where there is a '='.
        {"screen3", R::ScreenNumber},
        {"3", R::ScreenNumber},
        {"screen3=page.htm", R::Screen},
        {"screen3=", R::Screen},
        {"Screen2=ch01\\a.htm", R::Screen}, // the screen name ignores case
        {"mainscreen1=a.htm", R::Screen},
        {"html=screen.htm", R::Html}, // only the name counts
        {"run=screen.exe", R::Run},
        {"run", R::ScreenNumber},
        {"runner=x.exe", R::ScreenNumber},
        {"html", R::ScreenNumber},
        {"html2=ch01\\a.htm", R::Html},
        {"xhtml=a.htm", R::Html},
        {"clip", R::ScreenNumber},
        {"clip=page.html", R::Clip}, // "html" is in the value, not the name
        {"htmlclip=a.avi", R::Html},
        // Whole-text tests see the value too, and come first.
        {"html=tree1.htm", R::Tree1},
        {"html1=help\\ontree.htm", R::OnTree},
        {"clip=contextmenu.avi", R::ContextMenu},
        {"clip=findnext.avi", R::FindNext},
        {"screen1=tree2.htm", R::Screen},
        {"showtree2", R::Tree2},
        {"offtree1", R::Tree1},
        // Equal means the whole text, letter case included.
        {"Exit", R::ScreenNumber},
        {"exit=1", R::ScreenNumber},
        {"3D", R::ScreenNumber},
        {"about ", R::ScreenNumber},
        {"historyback2", R::ScreenNumber},
        {"contextmenu", R::ContextMenu},
        {"", R::ScreenNumber},
    };
    for (const RuleCase& c : cases)
        EXPECT_EQ(MatchCommandRule(c.text), c.rule) << c.text;
}

TEST(CommandRules, NamePart) {
    EXPECT_EQ(CommandNamePart("html=a=b"), "html");
    EXPECT_EQ(CommandNamePart("tree1"), "");
    EXPECT_EQ(CommandNamePart("=x"), "");
    EXPECT_EQ(CommandNamePart(""), "");
}

TEST(CommandRules, ScreenIndexes) {
    EXPECT_EQ(ScreenIndexOfCommand("screen3"), 2);
    EXPECT_EQ(ScreenIndexOfCommand("3"), 2);
    EXPECT_EQ(ScreenIndexOfCommand("1"), 0);
    EXPECT_EQ(ScreenIndexOfCommand("intro"), -2);
    EXPECT_EQ(ScreenIndexOfCommand("-2147483648"), INT32_MIN); // no overflow
    EXPECT_EQ(ScreenIndexOfName("screen3=page.htm"), 2);
    EXPECT_EQ(ScreenIndexOfName("screen12=ch01\\a.htm"), 11);
    EXPECT_EQ(ScreenIndexOfName("screen=ch01\\a.htm"), -2); // the value's number is not taken
}

TEST(CommandRules, NumbersAtFixedPlaces) {
    EXPECT_EQ(ContextMenuNumber("contextmenu3"), 3);
    EXPECT_EQ(ContextMenuNumber("contextmenu12"), 12);
    EXPECT_EQ(ContextMenuNumber("contextmenu"), -1);
    EXPECT_EQ(HtmlPanelNumber("html2=ch01\\a.htm"), 2);
    EXPECT_EQ(HtmlPanelNumber("html=page.htm"), -1);
    EXPECT_EQ(FindNextNumber("findnext1"), 1);
    EXPECT_EQ(FindNextNumber("findnext"), -1);
}

TEST(CommandRules, SwitchStateValueNames) {
    EXPECT_EQ(SwitchStateValueName(false, 1, 2), "SwOne12");
    EXPECT_EQ(SwitchStateValueName(false, 11, 2), "SwOne112");
    EXPECT_EQ(SwitchStateValueName(true, 1, 12), "SwGrp112");
    EXPECT_EQ(SwitchStateValueName(true, 0, 0), "SwGrp00");
}

} // namespace
} // namespace carmanual
