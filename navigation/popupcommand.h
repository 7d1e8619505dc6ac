#pragma once
// What a clicked entry of a popup list asks for. The page commands of the
// lists ("history=", "html=", "htmlpos=" and the page's context-menu words)
// are the popup controller's own and go straight to the page panel; every
// other command is one of the main window's and goes to its dispatcher.

#include <cstdint>
#include <string>
#include <string_view>

namespace carmanual {

enum class TPopupCommandKind {
    Ignore,         // a page command whose value cannot be used
    GoToHistory,    // "history=" index
    OpenPage,       // "html=" page
    OpenPageAt,     // "htmlpos=" page "=" scroll position
    CopySelection,  // "copyclipboardhtml"
    AddToFavorites, // "addtofavorite"
    ChooseFonts,    // "deffonthtml"
    SelectAll,      // "selectallhtml"
    PrintPage,      // "printhtml"
    Dispatch,       // anything else: the main window's dispatcher
};

struct TPopupCommand {
    TPopupCommandKind Kind = TPopupCommandKind::Dispatch;
    std::string Page;       // OpenPage, OpenPageAt
    std::int32_t Value = 0; // the history index (GoToHistory) or pixels (OpenPageAt)
};

// The name is the text before the first '=' (none without '='), compared
// ignoring letter case; the words without '=' must match the whole text.
TPopupCommand ParsePopupCommand(std::string_view command);

} // namespace carmanual
