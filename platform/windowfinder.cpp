#include "windowfinder.h"

namespace carmanual {

namespace {
std::shared_ptr<IWindowFinder>& Finder() {
    static std::shared_ptr<IWindowFinder> finder;
    return finder;
}
} // namespace

void SetWindowFinder(std::shared_ptr<IWindowFinder> finder) { Finder() = std::move(finder); }

bool FindTopWindowByTitle(std::string_view title, WindowHandle& handle) {
    const std::shared_ptr<IWindowFinder> finder = Finder();
    return finder && finder->FindTopWindowByTitle(title, handle);
}

} // namespace carmanual
