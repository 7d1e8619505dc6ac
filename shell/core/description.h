#pragma once
// The main window's description as read from Struct.txt: the window values of
// the first pass and the screens and panels of the second. The reader trusts
// the description the way the skin's authors wrote it (keys by substring
// search, attributes in a fixed order that may run over several lines) and
// only refuses to read outside the file: an element whose attributes run past
// the last line keeps what it had and is reported.

#include "elements.h"
#include "panelelements.h"
#include "syntax.h"
#include "types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace carmanual {

// Something in the description that could not be read as written.
struct TDescriptionProblem {
    int Line = 0; // 1-based line of the element or keyword concerned
    std::string Message;
};

class TInterfaceDescription final {
public:
    // Screens beyond this number are refused: a stray number in a screen
    // position must not make the per-screen lists grow without bound.
    static constexpr int kMaxScreens = 4096;

    // --- First pass: window values ---
    std::string Codec;                                // "indeo5" and/or "mpegaudio" ask for codecs
    std::string Rolic;                                // start clip; "no" or empty: none
    std::string HelpWinFile;                          // resolved; the file behind the help topics
    std::int32_t HelpWinRight = 0, HelpWinBottom = 0; // vw, vh: read, unused
    std::string Background;                           // picture behind the start clip
    std::string Icon;                                 // relative to the program folder
    TDynamicStringArray BgSoundDef;                   // songs in rotation; empty switches music off
    TWindowRegion VertexMain;
    bool HasVertexMain = false; // false also when the list was malformed
    RBtn Minimize;              // Command is always "minimize"
    bool HasMinimize = false;
    RBtn Close; // Command is always "exit"
    bool HasClose = false;

    // --- Second pass: per screen, indexed from 0 ---
    // One name per screen; its length is the number of screens. Screens
    // below a described one that have no _screen line get an empty name.
    TDynamicStringArray ScreenBackgrounds;
    // After reading, these four have the same length, at least ScreenCount().
    std::vector<TDynamicBtnArray> Buttons;
    std::vector<TDynamicSwthOneArray> Switches;
    std::vector<TDynamicSwthGrpArray> Groups;
    TPopupData Popups;

    // --- Second pass: panels, in description order, each with its Screen ---
    TDynamicHtmlArray HtmlPanels;
    TDynamicFindTxtArray FindTexts;
    TDynamicPathInputArray PathInputs;
    TDynamicClipArray Clips;
    TDynamicTextArray Texts;
    TDynamicImageArray Images;
    TDynamicTreeArray Trees;
    TDynamicSplitterArray Splitters;

    // What could not be read as written, in reading order (also reported on
    // standard error while reading).
    std::vector<TDescriptionProblem> Problems;

    TInterfaceDescription();

    int ScreenCount() const { return static_cast<int>(ScreenBackgrounds.size()); }
    bool HasPopups() const;
};

// Both passes over the lower-cased lines of Struct.txt, first the window
// keywords, then the elements.
void ReadStructFile(const TDynamicStringArray& loweredLines, TInterfaceDescription& out);

// The passes one at a time, for a start-up that does work between them. The
// second pass copies the minimize and close buttons the first pass read.
void ReadWindowKeywords(const TDynamicStringArray& loweredLines, TInterfaceDescription& out);
void ReadElements(const TDynamicStringArray& loweredLines, TInterfaceDescription& out);

// Every line of ProgramDir + "Struct.txt" (archive or disk) with its Latin
// letters lowered. False, with lines untouched, when the file is missing.
bool LoadStructLines(TDynamicStringArray& lines);

// LoadStructLines, then both passes. False, with out untouched, when the file
// is missing.
bool LoadStructFile(TInterfaceDescription& out);

// The window title: the last non-empty line of ProgramDir + "Title.txt" with
// its letter case kept; empty when the file is missing.
std::string ReadTitleFile();

// The set of the words bold, italic, underline and strikeout found in a value.
TFontStyles StyleFromWords(std::string_view value);

} // namespace carmanual
