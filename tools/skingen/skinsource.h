#pragma once
// What the generator needs to know of a skin description (Struct.txt): every
// picture an element shows, where it stands and on which screen background,
// the captions the program will draw on it, and the files named by commands
// and window values. The description is read with the program's own rules
// (lower-cased lines, keys found by substring, attributes in fixed order,
// text attributes only on lines where a main search failed), so a key that
// the program would find in the wrong place shows up here too.

#include "syntax.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace skingen {

enum class ElementKind { Button, Switch, Group };

struct SkinCaption {
    std::string up, down; // Windows-1251
    std::int32_t upRect[4] = {0, 0, 0, 0};
    std::int32_t downRect[4] = {0, 0, 0, 0};
    std::string font;
    std::int32_t size = 0;
    std::uint8_t styles[4] = {0, 0, 0, 0}; // per picture slot
    std::uint32_t colors[4] = {0, 0, 0, 0};
};

struct SkinElement {
    ElementKind kind = ElementKind::Button;
    int screen = 0; // from 0
    std::int32_t x = 0, y = 0;
    std::vector<std::string> files; // fn1..fn3 (buttons) or fn1..fn4, as written
    std::string command;            // go
    std::string commandUp, commandDown;
    std::string hint, sound;
    bool state = false, store = false;
    std::int32_t group = 0;
    SkinCaption caption;
    int line = 0; // 1-based line of the element keyword
};

// A panel element (_html, _tree, _text, _path, _popup, ...) as the program
// reads it: integers, strings and colours by key, lists by key (list items
// with the program folder the reader would put before them taken off).
struct SkinPanel {
    std::string keyword; // "_html", "_popup", ...
    int screen = 0;      // from 0
    int line = 0;        // 1-based line of the keyword
    std::map<std::string, std::int32_t> ints;
    std::map<std::string, std::string> strings;
    std::map<std::string, std::uint32_t> colors; // red + green*256 + blue*65536
    std::map<std::string, std::vector<std::string>> lists;

    std::int32_t Int(const std::string& key) const;
    std::string String(const std::string& key) const;
    std::uint32_t Color(const std::string& key) const;
    std::vector<std::string> List(const std::string& key) const;
};

struct SkinSource {
    std::string icon;
    std::vector<std::string> music; // bgsounddef items, relative as written
    carmanual::TWindowRegion outline;
    bool hasOutline = false;
    std::vector<std::string> screens;  // background file per screen index
    std::vector<SkinElement> elements; // minimize and close copies included
    std::vector<SkinPanel> panels;     // in description order
    std::vector<std::string> problems; // what the program would misread
};

// Reads Windows-1251 lines as they are stored (the Latin letters are lowered
// here, as the program does).
SkinSource ReadSkinSource(const std::vector<std::string>& ansiLines);

// The file a command names inside the manual ("run=docs\readme.txt",
// "clip=media\engine.wav"), relative as written; empty when it names none.
std::string CommandFile(const std::string& command);

// The popup kind a _popup's type value stands for: -1 "historyback", -2
// "historyforward", -3 "favorite", -5 "contexthtml", else the number after the
// key (-1 when there is none).
std::int32_t PopupType(const SkinPanel& popup);

} // namespace skingen
