#pragma once
// The panels of the main window's description (Struct.txt) that other
// components build: page panels, find-text boxes, path boxes, clip areas, text
// fields, slide-show images, contents trees, the splitter and popup menus.
// Each record keeps the index (from 0) of the screen it belongs to, except
// popups, which are kept per screen. Geometry is in window client pixels and,
// as everywhere in the description, Right and Bottom are edges, not sizes.

#include "elements.h"
#include "types.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace carmanual {

// _html: one page panel.
struct RHTML {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::string File; // resolved against the program folder
    std::int32_t Number = 0;
    std::int32_t Screen = 0;
};

// _findtxt: one find-text box.
struct RFindTxt {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::string Frame;
    TDynamicStringArray NoFiles; // files never searched
    std::int32_t Number = 0;
    std::int32_t Screen = 0;
    std::string Hint;
};

// _path: one path input box.
struct RPathInput {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::string PathDef;
    std::int32_t Screen = 0;
    std::string Hint;
};

// _clip: one clip display area.
struct RClip {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    TColor BgColor = 0;
    std::int32_t Html = 0;
    std::int32_t Screen = 0;
};

// _text: one text field. It has no bottom edge: the font decides the height.
struct RText {
    std::int32_t Left = 0, Top = 0, Right = 0;
    std::string Font;
    std::int32_t Size = 0;
    std::string Style; // font style words, as written
    TColor Color = 0;
    std::string Value;
    std::int32_t Number = 0;
    std::int32_t Screen = 0;
    std::string Ident;
};

// _image: one slide-show picture area.
struct RImage {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::string Dir; // resolved, always ending with a backslash
    std::int32_t Screen = 0;
};

// _tree: one contents tree; its left and top come from the page layout.
struct RTree {
    std::int32_t Right = 0, Bottom = 0;
    TColor ColorSelect = 0;
    TColor ColorSelectText = 0;
    std::string File; // as written, not resolved
    std::int32_t Screen = 0;
};

// _splitter: the colour of the background panel's splitter.
struct RSplitter {
    TColor Color = 0;
    std::int32_t Screen = 0;
};

// The popup kinds that are not a context menu number.
// What a popup list is for; any other value is the number of a context menu
// ("contextmenu3" opens the menu of type 3).
enum class TPopupType : std::int32_t {
    HistoryBack = -1,
    HistoryForward = -2,
    Favorite = -3,
    DeleteFavorite = -4, // the favourites in delete mode: opened by a command, never described
    ContextHtml = -5,
};
constexpr TPopupType NumberedMenu(std::int32_t number) {
    return static_cast<TPopupType>(number);
}
namespace popuptype {
constexpr TPopupType HistoryBack = TPopupType::HistoryBack;
constexpr TPopupType HistoryForward = TPopupType::HistoryForward;
constexpr TPopupType Favorite = TPopupType::Favorite;
constexpr TPopupType DeleteFavorite = TPopupType::DeleteFavorite;
constexpr TPopupType ContextHtml = TPopupType::ContextHtml;
} // namespace popuptype

// _popup: one popup menu. The per-state arrays hold [0] up and [1] move.
struct RPopupData {
    std::int32_t XFon = 0, YFon = 0;
    std::string FnFon;
    std::int32_t XBtn = 0, YBtn = 0;
    TDynamicStringArray FnBtnUp, FnBtnMove, FnBtnDown;
    std::array<std::string, 2> Font;
    std::array<std::int32_t, 2> Size{};
    std::array<std::string, 2> Style;
    std::array<TColor, 2> Color{};
    TDynamicStringArray Caption;
    TDynamicStringArray Go;
    std::string Parent;
    TPopupType Type = NumberedMenu(0);
    TDynamicStringArray Vertex; // "x,y" items
};

using TDynamicHtmlArray = std::vector<RHTML>;
using TDynamicFindTxtArray = std::vector<RFindTxt>;
using TDynamicPathInputArray = std::vector<RPathInput>;
using TDynamicClipArray = std::vector<RClip>;
using TDynamicTextArray = std::vector<RText>;
using TDynamicImageArray = std::vector<RImage>;
using TDynamicTreeArray = std::vector<RTree>;
using TDynamicSplitterArray = std::vector<RSplitter>;
// Per screen, that screen's popups in description order.
using TPopupData = std::vector<std::vector<RPopupData>>;

} // namespace carmanual
