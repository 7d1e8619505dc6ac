#include "runmode.h"

#include "ansi.h"

#include <algorithm>

namespace carmanual {

TRunModeChoice ChooseRunMode(const std::vector<std::string>& arguments) {
    auto given = [&arguments](const char* option) {
        return std::any_of(arguments.begin(), arguments.end(),
                           [option](const std::string& a) { return AnsiSameText(a, option); });
    };
    TRunModeChoice choice;
    if (given("/t"))
        choice.Mode = TRunMode::Thesaurus;
    else if (!arguments.empty())
        choice.Mode = TRunMode::Help;
    choice.HelpCaption = choice.Mode == TRunMode::Help && given("/h");
    return choice;
}

} // namespace carmanual
