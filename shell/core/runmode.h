#pragma once
// Which window the program runs as, from its command line. Without
// arguments it is the manual's skinned window; with a document it is a plain
// document window, captioned for help when "/h" is among the arguments; with
// "/t" it is the thesaurus window. On Linux paths hold slashes, so the
// switches count only as whole arguments ("/T" as well), never inside a path
// such as /tmp/page.htm.

#include <string>
#include <vector>

namespace carmanual {

enum class TRunMode { Skinned, Help, Thesaurus };

struct TRunModeChoice {
    TRunMode Mode = TRunMode::Skinned;
    bool HelpCaption = false; // "/h" given: the window is captioned for help
    bool operator==(const TRunModeChoice&) const = default;
};

// arguments: the command line without the program's name.
TRunModeChoice ChooseRunMode(const std::vector<std::string>& arguments);

} // namespace carmanual
