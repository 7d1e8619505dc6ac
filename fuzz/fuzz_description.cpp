// Arbitrary bytes as the files a manual brings with it: the window
// description (Struct.txt), a contents tree file and stored favourites. Each
// reader must come to an end, stay inside its lines and leave its results
// consistent, whatever the file holds.

#include "ansi.h"
#include "contentstree.h"
#include "description.h"
#include "htmlfavorite.h"
#include "settingsstore.h"
#include "syntax.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace carmanual;

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

TDynamicStringArray Lines(std::string_view bytes) {
    TDynamicStringArray lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string line(bytes.substr(start, end - start));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(LowerLatin(line));
        start = end + 1;
    }
    return lines;
}

void Description(std::string_view bytes) {
    TInterfaceDescription d;
    ReadStructFile(Lines(bytes), d);
    // Every screen has its lists of elements, and no list outlives the others.
    const std::size_t screens = d.ScreenBackgrounds.size();
    Check(d.Buttons.size() >= screens);
    Check(d.Buttons.size() == d.Switches.size());
    Check(d.Switches.size() == d.Groups.size());
    Check(screens <= static_cast<std::size_t>(TInterfaceDescription::kMaxScreens));
}

void ContentsTree(std::string_view bytes) {
    const TContentsTree tree = TContentsTree::Parse(bytes, "c:\\");
    const std::int32_t n = tree.Count();
    for (std::int32_t i = -1; i <= n && i < 64; ++i) {
        const std::int32_t next = tree.NextChapter(i);
        const std::int32_t prev = tree.PrevChapter(i);
        Check(next >= -1 && next < n);
        Check(prev >= -1 && prev < n);
        if (i >= 0 && i < n)
            Check(tree.FindPage(tree.ResolvedFile(i)) >= -1);
    }
    Check(tree.FindCaption(std::string(bytes.substr(0, 8)), -1) < n);
}

void Favourites(std::string_view bytes) {
    // The stored values as a damaged settings store could hold them.
    TMemorySettingsStore store;
    std::size_t start = 0;
    for (int i = 0; i < 17 && start <= bytes.size(); ++i) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        store.WriteString("Favorite" + std::to_string(i),
                          std::string(bytes.substr(start, end - start)));
        start = end + 1;
    }
    THtmlFavorite favourites(store);
    Check(favourites.Count() >= 0 && favourites.Count() <= 17);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Description(bytes);
    ContentsTree(bytes);
    Favourites(bytes);
    return 0;
}
