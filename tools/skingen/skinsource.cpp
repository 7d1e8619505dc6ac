#include "skinsource.h"

#include "ansi.h"
#include "paths.h"

#include <cstring>
#include <functional>
#include <string_view>

namespace skingen {

using carmanual::BracketList;
using carmanual::ColorAt;
using carmanual::IntAt;
using carmanual::StringAt;

namespace {

enum class ValueKind { Int, String, Color, List, Switch };

struct Attr {
    const char* key;
    ValueKind kind;
};

using Lines = std::vector<std::string>;

std::string StringAfterKey(const std::string& line, std::size_t pos, const char* key) {
    return StringAt(line, pos + std::strlen(key) + 1);
}

std::uint8_t StyleOf(const std::string& words) {
    std::uint8_t style = 0;
    if (words.find("bold") != std::string::npos)
        style |= 1;
    if (words.find("italic") != std::string::npos)
        style |= 2;
    if (words.find("underline") != std::string::npos)
        style |= 4;
    if (words.find("strikeout") != std::string::npos)
        style |= 8;
    return style;
}

// The main attributes of panel elements: read only to step over their lines
// exactly as the program does.
const std::vector<Attr> kRect = {
    {"vx", ValueKind::Int}, {"vy", ValueKind::Int}, {"vw", ValueKind::Int}, {"vh", ValueKind::Int}};

std::vector<Attr> RectThen(std::initializer_list<Attr> rest) {
    std::vector<Attr> attrs = kRect;
    attrs.insert(attrs.end(), rest);
    return attrs;
}

struct PanelKind {
    const char* keyword;
    std::vector<Attr> attrs;
};

const std::vector<PanelKind>& PanelKinds() {
    using V = ValueKind;
    static const std::vector<PanelKind> kinds = {
        {"_html", RectThen({{"fn", V::String}, {"number", V::Int}})},
        {"_findtxt", RectThen({{"frame", V::String},
                               {"nofiles", V::List},
                               {"number", V::Int},
                               {"hint", V::String}})},
        {"_path", RectThen({{"pathdef", V::String}, {"hint", V::String}})},
        {"_clip", RectThen({{"bgcolor", V::Color}, {"html", V::Int}})},
        {"_text",
         {{"vx", V::Int},
          {"vy", V::Int},
          {"vw", V::Int},
          {"font", V::String},
          {"size", V::Int},
          {"style", V::String},
          {"color", V::Color},
          {"value", V::String},
          {"ident", V::String},
          {"number", V::Int}}},
        {"_image", RectThen({{"dir", V::String}})},
        {"_popup", {{"xfon", V::Int},       {"yfon", V::Int},       {"fnfon", V::String},
                    {"xbtn", V::Int},       {"ybtn", V::Int},       {"fnbtnup", V::List},
                    {"fnbtnmove", V::List}, {"fnbtndown", V::List}, {"fontup", V::String},
                    {"sizeup", V::Int},     {"styleup", V::String}, {"colorup", V::Color},
                    {"fontmv", V::String},  {"sizemv", V::Int},     {"stylemv", V::String},
                    {"colormv", V::Color},  {"caption", V::List},   {"go", V::List},
                    {"parent", V::String},  {"type", V::String},    {"vertex", V::List}}},
        {"_tree",
         {{"vw", V::Int},
          {"vh", V::Int},
          {"colorselect", V::Color},
          {"colorselecttext", V::Color},
          {"fn", V::String}}},
        {"_splitter", {{"color", V::Color}}},
    };
    return kinds;
}

class Reader {
public:
    explicit Reader(const Lines& lines, SkinSource& out) : m_lines(lines), m_out(out) {}

    using MainFn = std::function<void(std::size_t attr, const std::string& line, std::size_t pos)>;
    using TextFn = std::function<void(const std::string& line)>;
    using ListFn = std::function<void(std::size_t attr, const std::vector<std::string>& items)>;

    // Reads the main attributes in their order from line i on; text attributes
    // only where a main search failed. Leaves i on the line of the last main
    // attribute. False when the lines run out first.
    bool ReadAttributes(std::size_t& i, const std::vector<Attr>& attrs, const MainFn& onMain,
                        const TextFn& onText, const char* what, std::size_t startLine,
                        const ListFn& onList = nullptr) {
        std::size_t k = 0;
        while (k < attrs.size()) {
            if (i >= m_lines.size()) {
                Problem(startLine,
                        std::string(what) + ": the file ends before \"" + attrs[k].key + "\"");
                return false;
            }
            const std::size_t pos = m_lines[i].find(attrs[k].key);
            if (pos != std::string::npos) {
                if (attrs[k].kind == ValueKind::List) {
                    const std::vector<std::string> items = BracketList(m_lines, i);
                    if (onList)
                        onList(k, items);
                } else if (onMain)
                    onMain(k, m_lines[i], pos);
                ++k;
                continue;
            }
            if (onText)
                onText(m_lines[i]);
            ++i;
        }
        return true;
    }

    void Problem(std::size_t line, const std::string& text) {
        m_out.problems.push_back("line " + std::to_string(line + 1) + ": " + text);
    }

private:
    const Lines& m_lines;
    SkinSource& m_out;
};

const std::vector<Attr> kWindowButton = {{"vx", ValueKind::Int},     {"vy", ValueKind::Int},
                                         {"fn1", ValueKind::String}, {"fn2", ValueKind::String},
                                         {"fn3", ValueKind::String}, {"hint", ValueKind::String},
                                         {"wav", ValueKind::String}};

const std::vector<Attr> kButton = {{"vx", ValueKind::Int},      {"vy", ValueKind::Int},
                                   {"fn1", ValueKind::String},  {"fn2", ValueKind::String},
                                   {"fn3", ValueKind::String},  {"go", ValueKind::String},
                                   {"hint", ValueKind::String}, {"wav", ValueKind::String}};

const std::vector<Attr> kSwitch = {
    {"vx", ValueKind::Int},        {"vy", ValueKind::Int},       {"fn1", ValueKind::String},
    {"fn2", ValueKind::String},    {"fn3", ValueKind::String},   {"fn4", ValueKind::String},
    {"state", ValueKind::Switch},  {"store", ValueKind::Switch}, {"goup", ValueKind::String},
    {"godown", ValueKind::String}, {"hint", ValueKind::String},  {"wav", ValueKind::String}};

const std::vector<Attr> kGroup = {
    {"vx", ValueKind::Int},       {"vy", ValueKind::Int},       {"fn1", ValueKind::String},
    {"fn2", ValueKind::String},   {"fn3", ValueKind::String},   {"fn4", ValueKind::String},
    {"state", ValueKind::Switch}, {"store", ValueKind::Switch}, {"group", ValueKind::Int},
    {"go", ValueKind::String},    {"hint", ValueKind::String},  {"wav", ValueKind::String}};

// Stores one main attribute of a picture element by its key.
void StoreMain(SkinElement& e, const Attr& attr, const std::string& line, std::size_t pos) {
    const std::string key = attr.key;
    if (key == "vx")
        e.x = IntAt(line, pos);
    else if (key == "vy")
        e.y = IntAt(line, pos);
    else if (key.size() == 3 && key.compare(0, 2, "fn") == 0)
        e.files.push_back(StringAfterKey(line, pos, attr.key));
    else if (key == "go")
        e.command = StringAfterKey(line, pos, attr.key);
    else if (key == "goup")
        e.commandUp = StringAfterKey(line, pos, attr.key);
    else if (key == "godown")
        e.commandDown = StringAfterKey(line, pos, attr.key);
    else if (key == "hint")
        e.hint = StringAfterKey(line, pos, attr.key);
    else if (key == "wav")
        e.sound = StringAfterKey(line, pos, attr.key);
    else if (key == "state")
        e.state = StringAfterKey(line, pos, attr.key) == "on";
    else if (key == "store")
        e.store = StringAfterKey(line, pos, attr.key) == "on";
    else if (key == "group")
        e.group = IntAt(line, pos);
}

// The text attributes of one line, for the element's kind.
void StoreText(SkinElement& e, const std::string& line) {
    SkinCaption& c = e.caption;
    auto find = [&](const char* key) { return line.find(key); };
    auto str = [&](const char* key, std::string& to) {
        const std::size_t p = find(key);
        if (p != std::string::npos)
            to = StringAfterKey(line, p, key);
    };
    auto num = [&](const char* key, std::int32_t& to) {
        const std::size_t p = find(key);
        if (p != std::string::npos)
            to = IntAt(line, p);
    };
    auto style = [&](const char* key, std::uint8_t& to) {
        const std::size_t p = find(key);
        if (p != std::string::npos)
            to = StyleOf(StringAfterKey(line, p, key));
    };
    auto color = [&](const char* key, std::uint32_t& to) {
        const std::size_t p = find(key);
        if (p != std::string::npos)
            to = ColorAt(line, p);
    };
    str("textfontname", c.font);
    num("textfontsize", c.size);
    switch (e.kind) {
    case ElementKind::Button:
        str("textcaption", c.up);
        c.down = c.up;
        num("texttx", c.upRect[0]);
        num("textty", c.upRect[1]);
        num("textbx", c.upRect[2]);
        num("textby", c.upRect[3]);
        std::copy(std::begin(c.upRect), std::end(c.upRect), c.downRect);
        style("textfontstyleup", c.styles[0]);
        style("textfontstylemv", c.styles[1]);
        style("textfontstyledn", c.styles[2]);
        color("textfontcolorup", c.colors[0]);
        color("textfontcolormv", c.colors[1]);
        color("textfontcolordn", c.colors[2]);
        break;
    case ElementKind::Switch:
        str("textcaptionup", c.up);
        str("textcaptiondn", c.down);
        num("texttxup", c.upRect[0]);
        num("texttyup", c.upRect[1]);
        num("textbxup", c.upRect[2]);
        num("textbyup", c.upRect[3]);
        num("texttxdn", c.downRect[0]);
        num("texttydn", c.downRect[1]);
        num("textbxdn", c.downRect[2]);
        num("textbydn", c.downRect[3]);
        [[fallthrough]];
    case ElementKind::Group:
        if (e.kind == ElementKind::Group) {
            str("textcaptionup", c.up);
            str("textcaptiondn", c.down);
            num("texttx", c.upRect[0]);
            num("textty", c.upRect[1]);
            num("textbx", c.upRect[2]);
            num("textby", c.upRect[3]);
            std::copy(std::begin(c.upRect), std::end(c.upRect), c.downRect);
        }
        style("textfontstyleup", c.styles[0]);
        style("textfontstylemvup", c.styles[1]);
        style("textfontstylemvdn", c.styles[2]);
        style("textfontstyledn", c.styles[3]);
        color("textfontcolorup", c.colors[0]);
        color("textfontcolormvup", c.colors[1]);
        color("textfontcolormvdn", c.colors[2]);
        color("textfontcolordn", c.colors[3]);
        break;
    }
}

void StorePanelValue(SkinPanel& panel, const Attr& attr, const std::string& line, std::size_t pos) {
    const std::string key = attr.key;
    switch (attr.kind) {
    case ValueKind::Int:
        panel.ints[key] = IntAt(line, pos);
        break;
    case ValueKind::Color:
        panel.colors[key] = ColorAt(line, pos + key.size() + 1);
        break;
    case ValueKind::String:
    case ValueKind::Switch:
        panel.strings[key] = StringAfterKey(line, pos, attr.key);
        // A popup's type is a name or, failing that, the number after the key.
        if (key == "type")
            panel.ints[key] = IntAt(line, pos);
        break;
    case ValueKind::List:
        break;
    }
}

std::string WithoutProgramDir(const std::string& resolved) {
    const std::string& dir = carmanual::ProgramDir();
    if (!dir.empty() && resolved.size() > dir.size() &&
        carmanual::AnsiSameText(std::string_view(resolved).substr(0, dir.size()), dir))
        return resolved.substr(dir.size());
    return resolved;
}

} // namespace

SkinSource ReadSkinSource(const std::vector<std::string>& ansiLines) {
    SkinSource out;
    Lines lines;
    lines.reserve(ansiLines.size());
    for (const std::string& l : ansiLines)
        lines.push_back(carmanual::LowerLatin(l));
    Reader reader(lines, out);

    // First pass: the window keywords, each found in any line.
    SkinElement minimize, close;
    bool hasMinimize = false, hasClose = false;
    static const char* const kWindowKeys[] = {"codec",      "rolic",    "helpwin",
                                              "background", "icon",     "bgsounddef",
                                              "vertexmain", "minimize", "close"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (const char* key : kWindowKeys) {
            if (i >= lines.size())
                break;
            const std::size_t pos = lines[i].find(key);
            if (pos == std::string::npos)
                continue;
            const std::string k = key;
            const std::size_t start = i;
            if (k == "icon") {
                out.icon = StringAfterKey(lines[i], pos, key);
            } else if (k == "bgsounddef") {
                for (const std::string& item : BracketList(lines, i))
                    if (!item.empty())
                        out.music.push_back(WithoutProgramDir(item));
            } else if (k == "vertexmain") {
                try {
                    out.outline = carmanual::WindowRegionFromList(lines, i);
                    out.hasOutline = true;
                } catch (const carmanual::EConvertError&) {
                    reader.Problem(start, "vertexmain holds an item that is not \"x,y\"");
                }
            } else if (k == "helpwin") {
                reader.ReadAttributes(
                    i, {{"vw", ValueKind::Int}, {"vh", ValueKind::Int}, {"fn", ValueKind::String}},
                    nullptr, nullptr, key, start);
            } else if (k == "minimize" || k == "close") {
                SkinElement& e = k == "minimize" ? minimize : close;
                e = SkinElement{};
                e.line = static_cast<int>(start + 1);
                e.command = k == "minimize" ? "minimize" : "exit";
                const bool ok = reader.ReadAttributes(
                    i, kWindowButton,
                    [&](std::size_t a, const std::string& line, std::size_t p) {
                        StoreMain(e, kWindowButton[a], line, p);
                    },
                    nullptr, key, start);
                (k == "minimize" ? hasMinimize : hasClose) = ok;
            }
        }
    }

    // Second pass: the elements; the first keyword found decides.
    static const char* const kPictureKeys[] = {"button", "switchone", "switchgrp"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const char* found = nullptr;
        for (const char* key : kPictureKeys)
            if (line.find(key) != std::string::npos) {
                found = key;
                break;
            }
        const PanelKind* panel = nullptr;
        if (!found)
            for (const PanelKind& kind : PanelKinds())
                if (line.find(kind.keyword) != std::string::npos) {
                    panel = &kind;
                    break;
                }
        const std::size_t screenPos = line.find("_screen");
        if (!found && !panel && screenPos == std::string::npos)
            continue;

        const std::size_t start = i;
        const int screen = IntAt(line, 0) - 1;
        if (screen < 0) {
            reader.Problem(start, "the element names no screen number");
            continue;
        }
        if (panel) {
            SkinPanel record;
            record.keyword = panel->keyword;
            record.screen = screen;
            record.line = static_cast<int>(start + 1);
            const std::vector<Attr>& attrs = panel->attrs;
            const bool ok = reader.ReadAttributes(
                i, attrs,
                [&](std::size_t a, const std::string& l, std::size_t p) {
                    StorePanelValue(record, attrs[a], l, p);
                },
                nullptr, panel->keyword, start,
                [&](std::size_t a, const std::vector<std::string>& items) {
                    std::vector<std::string>& list = record.lists[attrs[a].key];
                    for (const std::string& item : items)
                        list.push_back(WithoutProgramDir(item));
                });
            if (ok)
                out.panels.push_back(std::move(record));
            continue;
        }
        if (!found) {
            const std::size_t at = line.find("screen");
            if (static_cast<int>(out.screens.size()) < screen + 1)
                out.screens.resize(screen + 1);
            out.screens[screen] = StringAt(line, at + 7);
            for (SkinElement* copy :
                 {hasMinimize ? &minimize : nullptr, hasClose ? &close : nullptr})
                if (copy) {
                    out.elements.push_back(*copy);
                    out.elements.back().screen = screen;
                }
            continue;
        }

        SkinElement e;
        const std::string kind = found;
        e.kind = kind == "button"      ? ElementKind::Button
                 : kind == "switchone" ? ElementKind::Switch
                                       : ElementKind::Group;
        e.screen = screen;
        e.line = static_cast<int>(start + 1);
        const std::vector<Attr>& attrs = e.kind == ElementKind::Button   ? kButton
                                         : e.kind == ElementKind::Switch ? kSwitch
                                                                         : kGroup;
        if (reader.ReadAttributes(
                i, attrs,
                [&](std::size_t a, const std::string& l, std::size_t p) {
                    StoreMain(e, attrs[a], l, p);
                },
                [&](const std::string& l) { StoreText(e, l); }, found, start))
            out.elements.push_back(std::move(e));
    }

    for (const SkinElement& e : out.elements)
        if (e.screen >= static_cast<int>(out.screens.size()) || out.screens[e.screen].empty())
            reader.Problem(e.line - 1, "the element's screen " + std::to_string(e.screen + 1) +
                                           " has no _screen line");
    return out;
}

std::int32_t SkinPanel::Int(const std::string& key) const {
    const auto it = ints.find(key);
    return it == ints.end() ? 0 : it->second;
}

std::string SkinPanel::String(const std::string& key) const {
    const auto it = strings.find(key);
    return it == strings.end() ? std::string() : it->second;
}

std::uint32_t SkinPanel::Color(const std::string& key) const {
    const auto it = colors.find(key);
    return it == colors.end() ? 0 : it->second;
}

std::vector<std::string> SkinPanel::List(const std::string& key) const {
    const auto it = lists.find(key);
    return it == lists.end() ? std::vector<std::string>() : it->second;
}

std::int32_t PopupType(const SkinPanel& popup) {
    const std::string type = popup.String("type");
    if (type == "historyback")
        return -1;
    if (type == "historyforward")
        return -2;
    if (type == "favorite")
        return -3;
    if (type == "contexthtml")
        return -5;
    return popup.Int("type");
}

std::string CommandFile(const std::string& command) {
    const std::size_t first = command.find('=');
    if (first == std::string::npos)
        return {};
    const std::string name = command.substr(0, first);
    if (name != "run" && name.find("clip") == std::string::npos &&
        name.find("html") == std::string::npos)
        return {};
    const std::size_t last = command.rfind('=');
    const std::string value =
        last == first ? command.substr(first + 1) : command.substr(first + 1, last - first - 1);
    return carmanual::Trim(value);
}

} // namespace skingen
