#include "busy.h"

namespace carmanual {

namespace {
BusyCursorHandler& Handler() {
    static BusyCursorHandler handler;
    return handler;
}
bool g_busy = false;
} // namespace

void SetBusyCursorHandler(BusyCursorHandler handler) { Handler() = std::move(handler); }

void SetBusyCursor(bool busy) {
    if (Handler())
        Handler()(busy);
    g_busy = busy;
}

bool IsBusy() { return g_busy; }

} // namespace carmanual
