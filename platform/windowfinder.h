#pragma once
// Finding the top-level windows of the system by caption. Windows of this
// program find each other by caption: a document window answers for the
// enlarged picture, the closing step closes the others. The lookup spans
// processes, so the window layer installs an implementation built on the
// per-user message bus; without one nothing is found.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace carmanual {

// Opaque handle of a window found by caption: the owning process and the
// window's number there.
struct WindowHandle {
    std::int64_t process = 0;
    std::int64_t window = 0;
    bool operator==(const WindowHandle&) const = default;
};

class IWindowFinder {
public:
    virtual ~IWindowFinder() = default;
    // The first visible window whose caption equals the title, ignoring the
    // letter case of Latin and Cyrillic letters. Captions are Windows-1251.
    virtual bool FindTopWindowByTitle(std::string_view title, WindowHandle& handle) = 0;
};

void SetWindowFinder(std::shared_ptr<IWindowFinder> finder);

// Asks the installed finder; false when none is installed.
bool FindTopWindowByTitle(std::string_view title, WindowHandle& handle);

} // namespace carmanual
