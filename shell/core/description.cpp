#include "description.h"

#include "log.h"

#include "ansi.h"
#include "archive.h"
#include "comprstream.h"
#include "paths.h"

#include <algorithm>
#include <climits>
#include <span>
#include <string_view>

namespace carmanual {

namespace {

constexpr std::size_t npos = std::string::npos;

// Where one attribute's value stands: its key (with the '=') was found at
// keyPos of the current line. A list moves the current line to its ']'.
class TValueSource final {
public:
    TValueSource(const TDynamicStringArray& lines, std::size_t& index, std::size_t keyPos,
                 std::size_t keyLength)
        : m_lines(lines), m_index(index), m_keyPos(keyPos), m_valuePos(keyPos + keyLength) {}

    std::string_view Line() const { return m_lines[m_index]; }
    // Integers are read from the key itself: a key without a number takes the
    // next number of its line, as the skins expect.
    std::int32_t Int() const { return IntAt(Line(), m_keyPos); }
    std::string String() const { return StringAt(Line(), m_valuePos); }
    std::string Path() const { return ResolveValuePath(String()); }
    TColor Color() const { return ColorAt(Line(), m_valuePos); }
    TFontStyles Style() const { return StyleFromWords(String()); }
    bool Switch() const { return String() == "on"; }
    TDynamicStringArray List() const { return BracketList(m_lines, m_index); }

private:
    const TDynamicStringArray& m_lines;
    std::size_t& m_index;
    std::size_t m_keyPos;
    std::size_t m_valuePos;
};

template <class R> struct TAttr {
    std::string_view key; // searched with its '=', so "go" never matches inside "logo.bmp"
    void (*read)(R&, const TValueSource&);
};

template <class R, std::int32_t R::*F> void Int(R& r, const TValueSource& v) {
    r.*F = v.Int();
}
template <class R, std::string R::*F> void Str(R& r, const TValueSource& v) {
    r.*F = v.String();
}
template <class R, std::string R::*F> void Path(R& r, const TValueSource& v) {
    r.*F = v.Path();
}
template <class R, TColor R::*F> void Color(R& r, const TValueSource& v) {
    r.*F = v.Color();
}
template <class R, TFontStyles R::*F> void Style(R& r, const TValueSource& v) {
    r.*F = v.Style();
}
template <class R, bool R::*F> void Switch(R& r, const TValueSource& v) {
    r.*F = v.Switch();
}
template <class R, TDynamicStringArray R::*F> void List(R& r, const TValueSource& v) {
    r.*F = v.List();
}

// Reads the main attributes in table order, starting on lines[index]: each
// is looked for in the current line; where one is missing, the text
// attributes of that line are read and the search goes on in the next line.
// On success index is left on the line that held the last main attribute.
// When the lines run out first, the record keeps what it has, index is
// lines.size() and missing names the attribute not found.
template <class R>
bool ReadAttributes(const TDynamicStringArray& lines, std::size_t& index, R& record,
                    std::span<const TAttr<R>> mains, std::span<const TAttr<R>> texts,
                    std::string_view& missing) {
    std::size_t next = 0;
    while (next < mains.size()) {
        if (index >= lines.size()) {
            missing = mains[next].key;
            return false;
        }
        const std::string& line = lines[index];
        const std::size_t pos = line.find(mains[next].key);
        if (pos != npos) {
            mains[next].read(record, TValueSource(lines, index, pos, mains[next].key.size()));
            ++next;
            continue;
        }
        for (const TAttr<R>& text : texts) {
            const std::size_t at = line.find(text.key);
            if (at != npos)
                text.read(record, TValueSource(lines, index, at, text.key.size()));
        }
        ++index;
    }
    return true;
}

// --- Attribute tables, in reading order ---

constexpr TAttr<RBtn> kButtonMain[] = {
    {"vx=", Int<RBtn, &RBtn::Left>},      {"vy=", Int<RBtn, &RBtn::Top>},
    {"fn1=", Str<RBtn, &RBtn::FileUp>},   {"fn2=", Str<RBtn, &RBtn::FileMove>},
    {"fn3=", Str<RBtn, &RBtn::FileDown>}, {"go=", Str<RBtn, &RBtn::Command>},
    {"hint=", Str<RBtn, &RBtn::Hint>},    {"wav=", Str<RBtn, &RBtn::Sound>},
};

// minimize and close: the button's attributes without a command.
constexpr TAttr<RBtn> kWindowButtonMain[] = {
    {"vx=", Int<RBtn, &RBtn::Left>},      {"vy=", Int<RBtn, &RBtn::Top>},
    {"fn1=", Str<RBtn, &RBtn::FileUp>},   {"fn2=", Str<RBtn, &RBtn::FileMove>},
    {"fn3=", Str<RBtn, &RBtn::FileDown>}, {"hint=", Str<RBtn, &RBtn::Hint>},
    {"wav=", Str<RBtn, &RBtn::Sound>},
};

constexpr TAttr<RBtn> kButtonText[] = {
    {"textcaption=", Str<RBtn, &RBtn::Caption>},
    {"texttx=", Int<RBtn, &RBtn::TextLeft>},
    {"textty=", Int<RBtn, &RBtn::TextTop>},
    {"textbx=", Int<RBtn, &RBtn::TextRight>},
    {"textby=", Int<RBtn, &RBtn::TextBottom>},
    {"textfontname=", Str<RBtn, &RBtn::FontName>},
    {"textfontsize=", Int<RBtn, &RBtn::FontSize>},
    {"textfontstyleup=", Style<RBtn, &RBtn::StyleUp>},
    {"textfontstylemv=", Style<RBtn, &RBtn::StyleMove>},
    {"textfontstyledn=", Style<RBtn, &RBtn::StyleDown>},
    {"textfontcolorup=", Color<RBtn, &RBtn::ColorUp>},
    {"textfontcolormv=", Color<RBtn, &RBtn::ColorMove>},
    {"textfontcolordn=", Color<RBtn, &RBtn::ColorDown>},
};

using S1 = RSwthOne;
constexpr TAttr<S1> kSwitchMain[] = {
    {"vx=", Int<S1, &S1::Left>},          {"vy=", Int<S1, &S1::Top>},
    {"fn1=", Str<S1, &S1::FileUp>},       {"fn2=", Str<S1, &S1::FileMoveUp>},
    {"fn3=", Str<S1, &S1::FileMoveDown>}, {"fn4=", Str<S1, &S1::FileDown>},
    {"state=", Switch<S1, &S1::State>},   {"store=", Switch<S1, &S1::Store>},
    {"goup=", Path<S1, &S1::CommandUp>},  {"godown=", Path<S1, &S1::CommandDown>},
    {"hint=", Str<S1, &S1::Hint>},        {"wav=", Str<S1, &S1::Sound>},
};

constexpr TAttr<S1> kSwitchText[] = {
    {"textcaptionup=", Str<S1, &S1::CaptionUp>},
    {"textcaptiondn=", Str<S1, &S1::CaptionDown>},
    {"texttxup=", Int<S1, &S1::TextLeftUp>},
    {"texttyup=", Int<S1, &S1::TextTopUp>},
    {"textbxup=", Int<S1, &S1::TextRightUp>},
    {"textbyup=", Int<S1, &S1::TextBottomUp>},
    {"texttxdn=", Int<S1, &S1::TextLeftDown>},
    {"texttydn=", Int<S1, &S1::TextTopDown>},
    {"textbxdn=", Int<S1, &S1::TextRightDown>},
    {"textbydn=", Int<S1, &S1::TextBottomDown>},
    {"textfontname=", Str<S1, &S1::FontName>},
    {"textfontsize=", Int<S1, &S1::FontSize>},
    {"textfontstyleup=", Style<S1, &S1::StyleUp>},
    {"textfontstylemvup=", Style<S1, &S1::StyleMoveUp>},
    {"textfontstylemvdn=", Style<S1, &S1::StyleMoveDown>},
    {"textfontstyledn=", Style<S1, &S1::StyleDown>},
    {"textfontcolorup=", Color<S1, &S1::ColorUp>},
    {"textfontcolormvup=", Color<S1, &S1::ColorMoveUp>},
    {"textfontcolormvdn=", Color<S1, &S1::ColorMoveDown>},
    {"textfontcolordn=", Color<S1, &S1::ColorDown>},
};

using SG = RSwthGrp;
constexpr TAttr<SG> kGroupMain[] = {
    {"vx=", Int<SG, &SG::Left>},          {"vy=", Int<SG, &SG::Top>},
    {"fn1=", Str<SG, &SG::FileUp>},       {"fn2=", Str<SG, &SG::FileMoveUp>},
    {"fn3=", Str<SG, &SG::FileMoveDown>}, {"fn4=", Str<SG, &SG::FileDown>},
    {"state=", Switch<SG, &SG::State>},   {"store=", Switch<SG, &SG::Store>},
    {"group=", Int<SG, &SG::Group>},      {"go=", Path<SG, &SG::Command>},
    {"hint=", Str<SG, &SG::Hint>},        {"wav=", Str<SG, &SG::Sound>},
};

constexpr TAttr<SG> kGroupText[] = {
    {"textcaptionup=", Str<SG, &SG::CaptionUp>},
    {"textcaptiondn=", Str<SG, &SG::CaptionDown>},
    {"texttx=", Int<SG, &SG::TextLeft>},
    {"textty=", Int<SG, &SG::TextTop>},
    {"textbx=", Int<SG, &SG::TextRight>},
    {"textby=", Int<SG, &SG::TextBottom>},
    {"textfontname=", Str<SG, &SG::FontName>},
    {"textfontsize=", Int<SG, &SG::FontSize>},
    {"textfontstyleup=", Style<SG, &SG::StyleUp>},
    {"textfontstylemvup=", Style<SG, &SG::StyleMoveUp>},
    {"textfontstylemvdn=", Style<SG, &SG::StyleMoveDown>},
    {"textfontstyledn=", Style<SG, &SG::StyleDown>},
    {"textfontcolorup=", Color<SG, &SG::ColorUp>},
    {"textfontcolormvup=", Color<SG, &SG::ColorMoveUp>},
    {"textfontcolormvdn=", Color<SG, &SG::ColorMoveDown>},
    {"textfontcolordn=", Color<SG, &SG::ColorDown>},
};

constexpr TAttr<RHTML> kHtmlMain[] = {
    {"vx=", Int<RHTML, &RHTML::Left>},  {"vy=", Int<RHTML, &RHTML::Top>},
    {"vw=", Int<RHTML, &RHTML::Right>}, {"vh=", Int<RHTML, &RHTML::Bottom>},
    {"fn=", Path<RHTML, &RHTML::File>}, {"number=", Int<RHTML, &RHTML::Number>},
};

constexpr TAttr<RFindTxt> kFindTxtMain[] = {
    {"vx=", Int<RFindTxt, &RFindTxt::Left>},       {"vy=", Int<RFindTxt, &RFindTxt::Top>},
    {"vw=", Int<RFindTxt, &RFindTxt::Right>},      {"vh=", Int<RFindTxt, &RFindTxt::Bottom>},
    {"frame=", Str<RFindTxt, &RFindTxt::Frame>},   {"nofiles=", List<RFindTxt, &RFindTxt::NoFiles>},
    {"number=", Int<RFindTxt, &RFindTxt::Number>}, {"hint=", Str<RFindTxt, &RFindTxt::Hint>},
};

constexpr TAttr<RPathInput> kPathMain[] = {
    {"vx=", Int<RPathInput, &RPathInput::Left>},
    {"vy=", Int<RPathInput, &RPathInput::Top>},
    {"vw=", Int<RPathInput, &RPathInput::Right>},
    {"vh=", Int<RPathInput, &RPathInput::Bottom>},
    {"pathdef=", Str<RPathInput, &RPathInput::PathDef>},
    {"hint=", Str<RPathInput, &RPathInput::Hint>},
};

constexpr TAttr<RClip> kClipMain[] = {
    {"vx=", Int<RClip, &RClip::Left>},           {"vy=", Int<RClip, &RClip::Top>},
    {"vw=", Int<RClip, &RClip::Right>},          {"vh=", Int<RClip, &RClip::Bottom>},
    {"bgcolor=", Color<RClip, &RClip::BgColor>}, {"html=", Int<RClip, &RClip::Html>},
};

constexpr TAttr<RText> kTextMain[] = {
    {"vx=", Int<RText, &RText::Left>},       {"vy=", Int<RText, &RText::Top>},
    {"vw=", Int<RText, &RText::Right>},      {"font=", Str<RText, &RText::Font>},
    {"size=", Int<RText, &RText::Size>},     {"style=", Str<RText, &RText::Style>},
    {"color=", Color<RText, &RText::Color>}, {"value=", Str<RText, &RText::Value>},
    {"ident=", Str<RText, &RText::Ident>},   {"number=", Int<RText, &RText::Number>},
};

void ReadImageDir(RImage& r, const TValueSource& v) {
    r.Dir = v.Path();
    if (r.Dir.empty() || r.Dir.back() != '\\')
        r.Dir += '\\';
}

constexpr TAttr<RImage> kImageMain[] = {
    {"vx=", Int<RImage, &RImage::Left>},
    {"vy=", Int<RImage, &RImage::Top>},
    {"vw=", Int<RImage, &RImage::Right>},
    {"vh=", Int<RImage, &RImage::Bottom>},
    {"dir=", ReadImageDir},
};

constexpr TAttr<RTree> kTreeMain[] = {
    {"vw=", Int<RTree, &RTree::Right>},
    {"vh=", Int<RTree, &RTree::Bottom>},
    {"colorselect=", Color<RTree, &RTree::ColorSelect>},
    {"colorselecttext=", Color<RTree, &RTree::ColorSelectText>},
    {"fn=", Str<RTree, &RTree::File>},
};

constexpr TAttr<RSplitter> kSplitterMain[] = {
    {"color=", Color<RSplitter, &RSplitter::Color>},
};

void ReadPopupType(RPopupData& r, const TValueSource& v) {
    const std::string name = LowerLatin(v.String());
    if (name == "historyback")
        r.Type = popuptype::HistoryBack;
    else if (name == "historyforward")
        r.Type = popuptype::HistoryForward;
    else if (name == "favorite")
        r.Type = popuptype::Favorite;
    else if (name == "contexthtml")
        r.Type = popuptype::ContextHtml;
    else
        r.Type = NumberedMenu(v.Int());
}

using PD = RPopupData;
constexpr TAttr<PD> kPopupMain[] = {
    {"xfon=", Int<PD, &PD::XFon>},
    {"yfon=", Int<PD, &PD::YFon>},
    {"fnfon=", Str<PD, &PD::FnFon>},
    {"xbtn=", Int<PD, &PD::XBtn>},
    {"ybtn=", Int<PD, &PD::YBtn>},
    {"fnbtnup=", List<PD, &PD::FnBtnUp>},
    {"fnbtnmove=", List<PD, &PD::FnBtnMove>},
    {"fnbtndown=", List<PD, &PD::FnBtnDown>},
    {"fontup=", [](PD& r, const TValueSource& v) { r.Font[0] = v.String(); }},
    {"sizeup=", [](PD& r, const TValueSource& v) { r.Size[0] = v.Int(); }},
    {"styleup=", [](PD& r, const TValueSource& v) { r.Style[0] = v.String(); }},
    {"colorup=", [](PD& r, const TValueSource& v) { r.Color[0] = v.Color(); }},
    {"fontmv=", [](PD& r, const TValueSource& v) { r.Font[1] = v.String(); }},
    {"sizemv=", [](PD& r, const TValueSource& v) { r.Size[1] = v.Int(); }},
    {"stylemv=", [](PD& r, const TValueSource& v) { r.Style[1] = v.String(); }},
    {"colormv=", [](PD& r, const TValueSource& v) { r.Color[1] = v.Color(); }},
    {"caption=", List<PD, &PD::Caption>},
    {"go=", List<PD, &PD::Go>},
    {"parent=", Str<PD, &PD::Parent>},
    {"type=", ReadPopupType},
    {"vertex=", List<PD, &PD::Vertex>},
};

// --- Reporting ---

void Report(TInterfaceDescription& out, std::size_t lineIndex, std::string message) {
    const int line = static_cast<int>(lineIndex) + 1;
    LogWarning("shell", "Struct.txt line " + std::to_string(line) + ": " + AnsiToUtf8(message));
    out.Problems.push_back({line, std::move(message)});
}

std::string KeyName(std::string_view key) {
    if (!key.empty() && key.back() == '=')
        key.remove_suffix(1);
    return std::string(key);
}

void ReportRanPastEnd(TInterfaceDescription& out, std::size_t lineIndex, std::string_view what,
                      std::string_view missing) {
    Report(out, lineIndex,
           std::string(what) + ": no \"" + KeyName(missing) +
               "\" before the end of the file; kept the attributes read so far");
}

// --- First pass ---

struct THelpWin {
    std::int32_t Right = 0, Bottom = 0;
    std::string File;
};

constexpr TAttr<THelpWin> kHelpWinMain[] = {
    {"vw=", Int<THelpWin, &THelpWin::Right>},
    {"vh=", Int<THelpWin, &THelpWin::Bottom>},
    {"fn=", Path<THelpWin, &THelpWin::File>},
};

// Reads minimize or close starting on lines[index].
void ReadWindowButton(const TDynamicStringArray& lines, std::size_t& index, RBtn& button,
                      bool& given, std::string_view keyword, const char* command,
                      TInterfaceDescription& out) {
    const std::size_t start = index;
    RBtn read;
    std::string_view missing;
    if (!ReadAttributes<RBtn>(lines, index, read, kWindowButtonMain, {}, missing)) {
        ReportRanPastEnd(out, start, keyword, missing);
        index = start;
    }
    read.Command = command;
    button = std::move(read);
    given = true;
}

// --- Second pass ---

// The screen index of an element: the first number of its line, less one.
// The smallest number stays as it is instead of overflowing; it is no screen.
std::int32_t ScreenOfLine(std::string_view line) {
    const std::int32_t n = IntAt(line, 0);
    return n == INT32_MIN ? n : n - 1;
}

// How a refused screen number is named in a report.
std::string RefusedScreen(std::string_view line) {
    const std::int32_t n = IntAt(line, 0);
    return n == -1 ? std::string("no screen number")
                   : "screen " + std::to_string(n) + " out of range";
}

bool ValidScreen(std::int32_t screen) {
    return screen >= 0 && screen < TInterfaceDescription::kMaxScreens;
}

template <class T> void Reach(std::vector<T>& perScreen, int screen) {
    if (perScreen.size() <= static_cast<std::size_t>(screen))
        perScreen.resize(static_cast<std::size_t>(screen) + 1);
}

// Reads one element starting on lines[index]; index is left on the line
// after which scanning goes on.
template <class R>
bool ReadElement(const TDynamicStringArray& lines, std::size_t& index, R& record,
                 std::span<const TAttr<R>> mains, std::span<const TAttr<R>> texts,
                 std::string_view keyword, TInterfaceDescription& out) {
    const std::size_t start = index;
    std::string_view missing;
    if (ReadAttributes(lines, index, record, mains, texts, missing))
        return true;
    // Every later line was searched in vain; the lines after this element
    // are still scanned for elements of their own.
    ReportRanPastEnd(out, start, keyword, missing);
    index = start;
    return false;
}

template <class R>
void ReadScreenElement(const TDynamicStringArray& lines, std::size_t& index,
                       std::vector<std::vector<R>>& perScreen, std::span<const TAttr<R>> mains,
                       std::span<const TAttr<R>> texts, std::string_view keyword,
                       TInterfaceDescription& out) {
    const std::size_t start = index;
    const int screen = ScreenOfLine(lines[index]);
    R record;
    ReadElement(lines, index, record, mains, texts, keyword, out);
    if (!ValidScreen(screen)) {
        Report(out, start,
               std::string(keyword) + ": " + RefusedScreen(lines[start]) + "; element skipped");
        return;
    }
    Reach(perScreen, screen);
    perScreen[static_cast<std::size_t>(screen)].push_back(std::move(record));
}

template <class R>
void ReadPanelElement(const TDynamicStringArray& lines, std::size_t& index, std::vector<R>& list,
                      std::span<const TAttr<R>> mains, std::string_view keyword,
                      TInterfaceDescription& out) {
    R record;
    record.Screen = ScreenOfLine(lines[index]);
    if (record.Screen < 0)
        Report(out, index,
               std::string(keyword) + ": " + RefusedScreen(lines[index]) + "; it is never shown");
    ReadElement<R>(lines, index, record, mains, {}, keyword, out);
    list.push_back(std::move(record));
}

void ReadScreen(const TDynamicStringArray& lines, std::size_t index, TInterfaceDescription& out) {
    const std::string& line = lines[index];
    const int screen = ScreenOfLine(line);
    // The name stands one character after "_screen", counted from the word
    // "screen" inside it.
    const std::string name = StringAt(line, line.find("screen") + 7);
    if (!ValidScreen(screen)) {
        Report(out, index, "_screen: " + RefusedScreen(line) + "; line skipped");
        return;
    }
    const auto s = static_cast<std::size_t>(screen);
    Reach(out.Buttons, screen);
    out.Buttons[s].push_back(out.Minimize);
    out.Buttons[s].push_back(out.Close);
    Reach(out.Switches, screen);
    Reach(out.Groups, screen);
    Reach(out.ScreenBackgrounds, screen);
    out.ScreenBackgrounds[s] = name;
}

enum class TElementKind {
    Button,
    SwitchOne,
    SwitchGrp,
    Html,
    FindTxt,
    Path,
    Clip,
    Text,
    Image,
    Popup,
    Tree,
    Splitter,
    Screen,
};

struct TElementKeyword {
    std::string_view word;
    TElementKind kind;
};

// Looked for in this order; the first found decides the element.
constexpr TElementKeyword kElementKeywords[] = {
    {"button", TElementKind::Button},       {"switchone", TElementKind::SwitchOne},
    {"switchgrp", TElementKind::SwitchGrp}, {"_html", TElementKind::Html},
    {"_findtxt", TElementKind::FindTxt},    {"_path", TElementKind::Path},
    {"_clip", TElementKind::Clip},          {"_text", TElementKind::Text},
    {"_image", TElementKind::Image},        {"_popup", TElementKind::Popup},
    {"_tree", TElementKind::Tree},          {"_splitter", TElementKind::Splitter},
    {"_screen", TElementKind::Screen},
};

} // namespace

TInterfaceDescription::TInterfaceDescription() {
    Minimize.Command = "minimize";
    Close.Command = "exit";
}

bool TInterfaceDescription::HasPopups() const {
    return std::any_of(Popups.begin(), Popups.end(),
                       [](const std::vector<RPopupData>& list) { return !list.empty(); });
}

TFontStyles StyleFromWords(std::string_view value) {
    const std::string v = LowerLatin(value);
    TFontStyles styles = 0;
    if (v.find("bold") != npos)
        styles |= fontstyle::Bold;
    if (v.find("italic") != npos)
        styles |= fontstyle::Italic;
    if (v.find("underline") != npos)
        styles |= fontstyle::Underline;
    if (v.find("strikeout") != npos)
        styles |= fontstyle::StrikeOut;
    return styles;
}

void ReadWindowKeywords(const TDynamicStringArray& lines, TInterfaceDescription& out) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // A handler may move i forward; the later keywords are then looked
        // for in the line it stopped on.
        std::size_t pos = npos;
        auto has = [&](std::string_view keyword) {
            pos = lines[i].find(keyword);
            return pos != npos;
        };
        if (has("codec"))
            out.Codec = StringAt(lines[i], pos + 6);
        if (has("rolic"))
            out.Rolic = StringAt(lines[i], pos + 6);
        if (has("helpwin")) {
            const std::size_t start = i;
            THelpWin help;
            std::string_view missing;
            if (!ReadAttributes<THelpWin>(lines, i, help, kHelpWinMain, {}, missing)) {
                ReportRanPastEnd(out, start, "helpwin", missing);
                i = start;
            }
            out.HelpWinRight = help.Right;
            out.HelpWinBottom = help.Bottom;
            out.HelpWinFile = help.File;
        }
        if (has("background"))
            out.Background = StringAt(lines[i], pos + 11);
        if (has("icon"))
            out.Icon = StringAt(lines[i], pos + 5);
        if (has("bgsounddef"))
            out.BgSoundDef = BracketList(lines, i);
        if (has("vertexmain")) {
            const std::size_t start = i;
            try {
                out.VertexMain = WindowRegionFromList(lines, i);
                out.HasVertexMain = true;
            } catch (const EConvertError& e) {
                // A window cut by half a polygon would be worse than no shape:
                // the window keeps its rectangle. i is already past the list.
                out.VertexMain = {};
                out.HasVertexMain = false;
                Report(out, start,
                       std::string("vertexmain: ") + e.what() + "; the window keeps its rectangle");
            }
        }
        if (has("minimize"))
            ReadWindowButton(lines, i, out.Minimize, out.HasMinimize, "minimize", "minimize", out);
        if (has("close"))
            ReadWindowButton(lines, i, out.Close, out.HasClose, "close", "exit", out);
    }
}

void ReadElements(const TDynamicStringArray& lines, TInterfaceDescription& out) {
    std::size_t i = 0;
    while (i < lines.size()) {
        const TElementKeyword* found = nullptr;
        for (const TElementKeyword& keyword : kElementKeywords) {
            if (lines[i].find(keyword.word) != npos) {
                found = &keyword;
                break;
            }
        }
        if (!found) {
            ++i;
            continue;
        }
        const std::string_view word = found->word;
        switch (found->kind) {
        case TElementKind::Button:
            ReadScreenElement<RBtn>(lines, i, out.Buttons, kButtonMain, kButtonText, word, out);
            break;
        case TElementKind::SwitchOne:
            ReadScreenElement<RSwthOne>(lines, i, out.Switches, kSwitchMain, kSwitchText, word,
                                        out);
            break;
        case TElementKind::SwitchGrp:
            ReadScreenElement<RSwthGrp>(lines, i, out.Groups, kGroupMain, kGroupText, word, out);
            break;
        case TElementKind::Html:
            ReadPanelElement<RHTML>(lines, i, out.HtmlPanels, kHtmlMain, word, out);
            break;
        case TElementKind::FindTxt:
            ReadPanelElement<RFindTxt>(lines, i, out.FindTexts, kFindTxtMain, word, out);
            break;
        case TElementKind::Path:
            ReadPanelElement<RPathInput>(lines, i, out.PathInputs, kPathMain, word, out);
            break;
        case TElementKind::Clip:
            ReadPanelElement<RClip>(lines, i, out.Clips, kClipMain, word, out);
            break;
        case TElementKind::Text:
            ReadPanelElement<RText>(lines, i, out.Texts, kTextMain, word, out);
            break;
        case TElementKind::Image:
            ReadPanelElement<RImage>(lines, i, out.Images, kImageMain, word, out);
            break;
        case TElementKind::Popup:
            ReadScreenElement<RPopupData>(lines, i, out.Popups, kPopupMain, {}, word, out);
            break;
        case TElementKind::Tree:
            ReadPanelElement<RTree>(lines, i, out.Trees, kTreeMain, word, out);
            break;
        case TElementKind::Splitter:
            ReadPanelElement<RSplitter>(lines, i, out.Splitters, kSplitterMain, word, out);
            break;
        case TElementKind::Screen:
            ReadScreen(lines, i, out);
            break;
        }
        ++i;
    }
    // Every screen the window may show has a (possibly empty) list of each kind.
    const std::size_t screens =
        std::max({out.ScreenBackgrounds.size(), out.Buttons.size(), out.Switches.size(),
                  out.Groups.size(), out.Popups.size()});
    out.Buttons.resize(screens);
    out.Switches.resize(screens);
    out.Groups.resize(screens);
    out.Popups.resize(screens);
}

void ReadStructFile(const TDynamicStringArray& loweredLines, TInterfaceDescription& out) {
    out = TInterfaceDescription();
    ReadWindowKeywords(loweredLines, out);
    ReadElements(loweredLines, out);
}

bool LoadStructLines(TDynamicStringArray& lines) {
    const std::string name = ProgramDir() + "Struct.txt";
    if (!ArchiveFileExists(name))
        return false;
    try {
        TComprStream stream(name);
        TDynamicStringArray read;
        std::string line;
        while (ReadTextLine(stream, line))
            read.push_back(LowerLatin(line));
        lines = std::move(read);
        return true;
    } catch (const EFOpenError&) {
        return false;
    }
}

bool LoadStructFile(TInterfaceDescription& out) {
    TDynamicStringArray lines;
    if (!LoadStructLines(lines))
        return false;
    ReadStructFile(lines, out);
    return true;
}

std::string ReadTitleFile() {
    const std::string name = ProgramDir() + "Title.txt";
    if (!ArchiveFileExists(name))
        return {};
    std::string title;
    try {
        TComprStream stream(name);
        std::string line;
        while (ReadTextLine(stream, line)) {
            if (!line.empty())
                title = line;
        }
    } catch (const EFOpenError&) {
    }
    return title;
}

} // namespace carmanual
