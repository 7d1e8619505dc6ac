#pragma once
// Finds and closes the top-level windows of the system by caption. This
// process's windows are found directly; windows of other instances are
// reached through the per-user message bus once it is connected.

#include "windowfinder.h"

#include <functional>
#include <memory>

namespace carmanual {

class TWindowDirectory final : public IWindowFinder {
public:
    bool FindTopWindowByTitle(std::string_view title, WindowHandle& handle) override;

    // Asks the window to close, as WM_CLOSE does. False when it is gone.
    static bool CloseWindow(const WindowHandle& handle);

    // Lookups in other processes (installed by the message bus).
    using RemoteFinder = std::function<bool(std::string_view, WindowHandle&)>;
    using RemoteCloser = std::function<bool(const WindowHandle&)>;
    static void SetRemote(RemoteFinder finder, RemoteCloser closer);
};

// Installs the directory as the process's window finder and the busy cursor
// handler of the Qt application.
void InstallQtPlatform();

} // namespace carmanual
