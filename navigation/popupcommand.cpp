#include "popupcommand.h"

#include "ansi.h"
#include "historychapters.h"
#include "htmlfavorite.h"
#include "syntax.h"

namespace carmanual {

TPopupCommand ParsePopupCommand(std::string_view command) {
    TPopupCommand result;
    const std::size_t eq = command.find('=');
    if (eq != std::string_view::npos) {
        const std::string_view name = command.substr(0, eq);
        if (AnsiSameText(name, "history")) {
            const std::optional<std::int32_t> index = HistoryCommandIndex(command);
            if (!index || *index < 0) {
                result.Kind = TPopupCommandKind::Ignore;
                return result;
            }
            result.Kind = TPopupCommandKind::GoToHistory;
            result.Value = *index;
            return result;
        }
        if (AnsiSameText(name, "html")) {
            result.Page = ValueAfterFirstEq(command);
            result.Kind =
                result.Page.empty() ? TPopupCommandKind::Ignore : TPopupCommandKind::OpenPage;
            return result;
        }
        if (AnsiSameText(name, "htmlpos")) {
            // The page is everything between the first and the last '=', so
            // a bookmarked file whose name holds '=' still opens.
            const std::optional<THtmlPosTarget> target = ParseHtmlPosCommand(command);
            if (!target) {
                result.Kind = TPopupCommandKind::Ignore;
                return result;
            }
            result.Kind = TPopupCommandKind::OpenPageAt;
            result.Page = target->Document;
            result.Value = target->ScrollY;
            return result;
        }
        return result;
    }
    struct TWord {
        std::string_view Text;
        TPopupCommandKind Kind;
    };
    static constexpr TWord kWords[] = {
        {"copyclipboardhtml", TPopupCommandKind::CopySelection},
        {"addtofavorite", TPopupCommandKind::AddToFavorites},
        {"deffonthtml", TPopupCommandKind::ChooseFonts},
        {"selectallhtml", TPopupCommandKind::SelectAll},
        {"printhtml", TPopupCommandKind::PrintPage},
    };
    for (const TWord& word : kWords) {
        if (AnsiSameText(command, word.Text)) {
            result.Kind = word.Kind;
            return result;
        }
    }
    return result;
}

} // namespace carmanual
