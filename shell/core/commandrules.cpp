#include "commandrules.h"

#include "ansi.h"
#include "syntax.h"

#include <climits>

namespace carmanual {

namespace {

enum class TMatch { Equal, Contains, NameEqual, NameContains };

struct TRuleRow {
    TMatch match;
    std::string_view word;
    TCommandRule rule;
};

// The dispatcher's vocabulary in the order it is tried.
constexpr TRuleRow kRules[] = {
    {TMatch::NameContains, "screen", TCommandRule::Screen},
    {TMatch::Equal, "2d", TCommandRule::Still2D},
    {TMatch::Equal, "3d", TCommandRule::Play3D},
    {TMatch::NameEqual, "run", TCommandRule::Run},
    {TMatch::Equal, "about", TCommandRule::About},
    {TMatch::Equal, "minimize", TCommandRule::Minimize},
    {TMatch::Contains, "tree1", TCommandRule::Tree1},
    {TMatch::Contains, "tree2", TCommandRule::Tree2},
    {TMatch::Contains, "ontree", TCommandRule::OnTree},
    {TMatch::Contains, "offtree", TCommandRule::OffTree},
    {TMatch::Equal, "historyback", TCommandRule::HistoryBack},
    {TMatch::Equal, "historyforward", TCommandRule::HistoryForward},
    {TMatch::Equal, "showfavorite", TCommandRule::ShowFavorite},
    {TMatch::Equal, "addtofavorite", TCommandRule::AddToFavorite},
    {TMatch::Equal, "deletefromfavorite", TCommandRule::DeleteFromFavorite},
    {TMatch::Equal, "tesaurus", TCommandRule::Tesaurus},
    {TMatch::Contains, "contextmenu", TCommandRule::ContextMenu},
    {TMatch::Equal, "back", TCommandRule::Back},
    {TMatch::Equal, "forward", TCommandRule::Forward},
    {TMatch::NameContains, "html", TCommandRule::Html},
    {TMatch::Equal, "copyhtml", TCommandRule::CopyHtml},
    {TMatch::Equal, "printhtml", TCommandRule::PrintHtml},
    {TMatch::Equal, "tophtml", TCommandRule::TopHtml},
    {TMatch::Equal, "nextchapter", TCommandRule::NextChapter},
    {TMatch::Equal, "prevchapter", TCommandRule::PrevChapter},
    {TMatch::Contains, "findnext", TCommandRule::FindNext},
    {TMatch::Contains, "findtxtall", TCommandRule::FindTxtAll},
    {TMatch::Contains, "findtxtlimit", TCommandRule::FindTxtLimit},
    {TMatch::Equal, "caseon", TCommandRule::CaseOn},
    {TMatch::Equal, "caseoff", TCommandRule::CaseOff},
    {TMatch::Equal, "bgsound", TCommandRule::BgSound},
    {TMatch::Equal, "standartwin", TCommandRule::StandartWin},
    {TMatch::Equal, "options", TCommandRule::Options},
    {TMatch::Equal, "help", TCommandRule::Help},
    {TMatch::Equal, "unarc", TCommandRule::Unarc},
    {TMatch::Equal, "play", TCommandRule::Play},
    {TMatch::Equal, "stop", TCommandRule::Stop},
    {TMatch::Equal, "pause", TCommandRule::Pause},
    {TMatch::Equal, "stepforward", TCommandRule::StepForward},
    {TMatch::Equal, "stepback", TCommandRule::StepBack},
    {TMatch::NameContains, "clip", TCommandRule::Clip},
    {TMatch::Equal, "nextpic", TCommandRule::NextPic},
    {TMatch::Equal, "prevpic", TCommandRule::PrevPic},
    {TMatch::Equal, "installfonts", TCommandRule::InstallFonts},
};

// A number less one; the smallest number stays as it is (it names no screen
// either way) instead of overflowing.
std::int32_t LessOne(std::int32_t n) {
    return n == INT32_MIN ? n : n - 1;
}

std::string_view NamePart(std::string_view text) {
    const std::size_t eq = text.find('=');
    return eq == std::string_view::npos ? std::string_view() : text.substr(0, eq);
}

bool Matches(const TRuleRow& row, std::string_view text, std::string_view name) {
    switch (row.match) {
    case TMatch::Equal:
        return text == row.word;
    case TMatch::Contains:
        return text.find(row.word) != std::string_view::npos;
    case TMatch::NameEqual:
        return name == row.word;
    case TMatch::NameContains:
        // Only the screen rule ignores letter case: other windows send
        // "Screen2=..." as typed by people.
        if (row.rule == TCommandRule::Screen)
            return LowerLatin(name).find(row.word) != std::string::npos;
        return name.find(row.word) != std::string_view::npos;
    }
    return false;
}

} // namespace

TCommandRule MatchCommandRule(std::string_view text) {
    if (text == "exit")
        return TCommandRule::Exit;
    const std::string_view name = NamePart(text);
    for (const TRuleRow& row : kRules) {
        if (Matches(row, text, name))
            return row.rule;
    }
    return TCommandRule::ScreenNumber;
}

std::string CommandNamePart(std::string_view text) {
    return std::string(NamePart(text));
}

std::int32_t ScreenIndexOfName(std::string_view text) {
    return LessOne(IntAt(NamePart(text), 0));
}

std::int32_t ScreenIndexOfCommand(std::string_view text) {
    return LessOne(IntAt(text, 0));
}

std::int32_t ContextMenuNumber(std::string_view text) {
    return IntAt(text, 10);
}

std::int32_t HtmlPanelNumber(std::string_view text) {
    return IntAt(text, 4);
}

std::int32_t FindNextNumber(std::string_view text) {
    return IntAt(text, 8);
}

bool CommandLeavesScreen(std::string_view command) {
    return command.substr(0, 7) == "screen2" || command == "1" || command.substr(0, 4) == "exit";
}

bool OpensContextMenu(std::string_view command) {
    return command.find("contextmenu") != std::string_view::npos;
}

bool IsPlay3DCommand(std::string_view command) {
    return MatchCommandRule(command) == TCommandRule::Play3D;
}

std::string SwitchStateValueName(bool group, int screen, int index) {
    return std::string(group ? "SwGrp" : "SwOne") + std::to_string(screen) + std::to_string(index);
}

} // namespace carmanual
