#pragma once
// The windows the skinned window closes before it folds away: the help and
// thesaurus windows, the wiring-diagram viewer, the help viewer's windows,
// the program's other windows of the manual and, unless this window was
// started for a document itself, every picture window. They are found by
// caption, in the windows of every instance.

#include <string>

namespace carmanual {

// ownTitle: this window's caption (Windows-1251), which it never closes.
void CloseOtherWindows(const std::string& ownTitle, bool startedWithParameters);

} // namespace carmanual
