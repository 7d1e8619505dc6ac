#pragma once
// The termination signals (SIGTERM at log-out or shutdown, SIGINT, SIGHUP)
// end the program as its own exit does once the window is gone: the event
// loop quits, so everything after it runs and the switch states and
// settings are saved. A second signal while that is under way ends the
// process at once.

namespace carmanual {

// Call once the application object exists. Safe to call again.
void QuitOnTerminationSignals();

} // namespace carmanual
