#pragma once
// Which rule of the main window's dispatcher a command text falls under, and
// the numbers the rules take out of the text. Command texts come from the
// description (lower case) or from other windows, in the form "name",
// "name=argument" or "name=argument=second". The rules are tried in a fixed
// order and the first match decides, so a page named "tree1.htm" behind
// "html=" is a tree command: the order is part of the skins' contract.

#include <cstdint>
#include <string>
#include <string_view>

namespace carmanual {

enum class TCommandRule {
    Exit,               // equal "exit" (tried before the click sound)
    Screen,             // 1: name contains "screen", any letter case
    Still2D,            // 2: equal "2d"
    Play3D,             // 3: equal "3d"
    Run,                // 4: name equal "run"
    About,              // 5: equal "about"
    Minimize,           // 6: equal "minimize"
    Tree1,              // 7: contains "tree1"
    Tree2,              // 8: contains "tree2"
    OnTree,             // 9: contains "ontree"
    OffTree,            // 10: contains "offtree"
    HistoryBack,        // 11: equal "historyback"
    HistoryForward,     // 12: equal "historyforward"
    ShowFavorite,       // 13: equal "showfavorite"
    AddToFavorite,      // 14: equal "addtofavorite"
    DeleteFromFavorite, // 15: equal "deletefromfavorite"
    Tesaurus,           // 16: equal "tesaurus"
    ContextMenu,        // 17: contains "contextmenu"
    Back,               // 18: equal "back"
    Forward,            // 19: equal "forward"
    Html,               // 20: name contains "html"
    CopyHtml,           // 21: equal "copyhtml"
    PrintHtml,          // 22: equal "printhtml"
    TopHtml,            // 23: equal "tophtml"
    NextChapter,        // 24: equal "nextchapter"
    PrevChapter,        // 25: equal "prevchapter"
    FindNext,           // 26: contains "findnext"
    FindTxtAll,         // 27: contains "findtxtall"
    FindTxtLimit,       // 28: contains "findtxtlimit"
    CaseOn,             // 29: equal "caseon"
    CaseOff,            // 30: equal "caseoff"
    BgSound,            // 31: equal "bgsound"
    StandartWin,        // 32: equal "standartwin"
    Options,            // 33: equal "options"
    Help,               // 34: equal "help"
    Unarc,              // 35: equal "unarc"
    Play,               // 36: equal "play"
    Stop,               // 37: equal "stop"
    Pause,              // 38: equal "pause"
    StepForward,        // 39: equal "stepforward"
    StepBack,           // 40: equal "stepback"
    Clip,               // 41: name contains "clip"
    NextPic,            // 42: equal "nextpic"
    PrevPic,            // 43: equal "prevpic"
    InstallFonts,       // 44: equal "installfonts"
    ScreenNumber,       // 45: anything else: a screen by its number
};

// The screen with the background panel, the contents tree and the page
// panel (screens counted from 0).
constexpr int kDocumentScreen = 1;

// The first rule that matches the whole text. "Equal" and "contains" look at
// the whole text and respect letter case; "name" rules look at the part
// before the first '=' (none without '=', so "screen3" is a ScreenNumber).
TCommandRule MatchCommandRule(std::string_view text);

// The text before the first '='; empty when the text has none.
std::string CommandNamePart(std::string_view text);

// Screen: the first integer of the name part, less one.
std::int32_t ScreenIndexOfName(std::string_view text);
// ScreenNumber: the first integer of the text, less one (-2 when none).
std::int32_t ScreenIndexOfCommand(std::string_view text);
// ContextMenu: the number from the 11th character on ("contextmenu3" is 3).
std::int32_t ContextMenuNumber(std::string_view text);
// Html: the panel number from the 5th character on ("html2=..." is 2).
std::int32_t HtmlPanelNumber(std::string_view text);
// FindNext: the number from the 9th character on ("findnext1" is 1).
std::int32_t FindNextNumber(std::string_view text);

// A button command that takes the reader off the screen at once: it begins
// with "screen2" or "exit", or is "1". Its button does not fade back first.
bool CommandLeavesScreen(std::string_view command);
// A command that opens a context menu (it contains "contextmenu"): its
// button's fade runs a little slower.
bool OpensContextMenu(std::string_view command);
// The car view's switch to the looping 3D picture: "3d". A screen change
// does not run it again (the view keeps playing or stays still).
bool IsPlay3DCommand(std::string_view command);

// The registry value that keeps a stored switch state: "SwOne" or "SwGrp",
// then the screen and the index, both from 0, with nothing between them.
std::string SwitchStateValueName(bool group, int screen, int index);

} // namespace carmanual
