#pragma once
// The visited links of a viewer: expanded manual names, newest first, at most
// MaxCount. Names are compared ignoring letter case (Latin and Cyrillic) and
// their anchors, so a link to "a.htm#part2" counts as visited once "a.htm" is.
// A lookup costs the same however long the list is: a page asks once for
// every link it has.

#include "types.h"

#include <string>
#include <string_view>
#include <unordered_set>

namespace carmanual {

class TVisitedLinks final {
public:
    int MaxCount() const { return m_maxCount; }
    void SetMaxCount(int count);
    // Moves the name to the front (adding it when new); the oldest drop out.
    void Add(std::string_view name);
    bool Contains(std::string_view name) const;
    const TDynamicStringArray& Names() const { return m_names; }
    void Clear();

private:
    void DropBeyondMax();

    TDynamicStringArray m_names;
    // The name of every entry as compared: no anchor, upper case.
    std::unordered_set<std::string> m_keys;
    int m_maxCount = 50;
};

} // namespace carmanual
