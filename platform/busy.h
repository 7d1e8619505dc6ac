#pragma once
// The process-wide busy flag. Long operations on the GUI thread (search over
// all pages, archive extraction, layout for printing) set it; while it is set
// the command dispatcher ignores commands. The window layer installs the
// handler that shows the hourglass and lets pending events through.

#include <functional>

namespace carmanual {

// Called with the new state; on false it first processes pending events.
using BusyCursorHandler = std::function<void(bool busy)>;

void SetBusyCursorHandler(BusyCursorHandler handler);

// Shows the hourglass (true) or restores the default cursor (false), and
// makes the flag the process-wide busy state.
void SetBusyCursor(bool busy);

bool IsBusy();

} // namespace carmanual
