#pragma once
// The records of the main window's description (Struct.txt): buttons, single
// switches, switch groups, and the window values of the first pass. Strings
// are Windows-1251 bytes as written in the (lower-cased) description; file
// names are relative to the program folder unless said otherwise.

#include "types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace carmanual {

// A set of bold 1, italic 2, underline 4, strike-out 8.
using TFontStyles = std::uint8_t;
namespace fontstyle {
constexpr TFontStyles Bold = 1;
constexpr TFontStyles Italic = 2;
constexpr TFontStyles Underline = 4;
constexpr TFontStyles StrikeOut = 8;
} // namespace fontstyle

// One button, as described. Right and Bottom are not described: the
// element's rectangle comes from its fn1 picture when its screen is built
// (TScreenElements); the records keep 0 there.
struct RBtn {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::string Caption;
    std::int32_t TextLeft = 0, TextTop = 0, TextRight = 0, TextBottom = 0;
    std::string FontName;
    std::int32_t FontSize = 0;
    TFontStyles StyleUp = 0, StyleMove = 0, StyleDown = 0;
    TColor ColorUp = 0, ColorMove = 0, ColorDown = 0;
    std::string FileUp, FileMove, FileDown;
    std::string Command;
    std::string Hint;
    std::string Sound;
};

// One two-state toggle.
struct RSwthOne {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::string FileUp, FileMoveUp, FileMoveDown, FileDown;
    bool Store = false;
    std::string CommandUp;   // run when the switch turns off
    std::string CommandDown; // run when it turns on
    std::string Hint;
    std::string Sound;
    bool State = false; // described on (down); the run's states: TSwitchStates
    std::string CaptionUp, CaptionDown;
    std::int32_t TextLeftUp = 0, TextTopUp = 0, TextRightUp = 0, TextBottomUp = 0;
    std::int32_t TextLeftDown = 0, TextTopDown = 0, TextRightDown = 0, TextBottomDown = 0;
    std::string FontName;
    std::int32_t FontSize = 0;
    TFontStyles StyleUp = 0, StyleMoveUp = 0, StyleMoveDown = 0, StyleDown = 0;
    TColor ColorUp = 0, ColorMoveUp = 0, ColorMoveDown = 0, ColorDown = 0;
};

// One member of a switch group: of the members sharing Group, at most one is on.
struct RSwthGrp {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::string FileUp, FileMoveUp, FileMoveDown, FileDown;
    bool Store = false;
    std::int32_t Group = 0;
    std::string Command; // run when this member is switched on
    std::string Hint;
    std::string Sound;
    bool State = false; // described on; the run's states: TSwitchStates
    std::string CaptionUp, CaptionDown;
    std::int32_t TextLeft = 0, TextTop = 0, TextRight = 0, TextBottom = 0;
    std::string FontName;
    std::int32_t FontSize = 0;
    TFontStyles StyleUp = 0, StyleMoveUp = 0, StyleMoveDown = 0, StyleDown = 0;
    TColor ColorUp = 0, ColorMoveUp = 0, ColorMoveDown = 0, ColorDown = 0;
};

using TDynamicBtnArray = std::vector<RBtn>;
using TDynamicSwthOneArray = std::vector<RSwthOne>;
using TDynamicSwthGrpArray = std::vector<RSwthGrp>;

} // namespace carmanual
