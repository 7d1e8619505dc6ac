#pragma once
// The visited links of a viewer: expanded manual names, newest first, at most
// MaxCount. Names are compared ignoring letter case (Latin and Cyrillic) and
// their anchors, so a link to "a.htm#part2" counts as visited once "a.htm" is.

#include "types.h"

#include <string>
#include <string_view>

namespace carmanual {

class TVisitedLinks final {
public:
    int MaxCount() const { return m_maxCount; }
    void SetMaxCount(int count);
    // Moves the name to the front (adding it when new); the oldest drop out.
    void Add(std::string_view name);
    bool Contains(std::string_view name) const;
    const TDynamicStringArray& Names() const { return m_names; }
    void Clear() { m_names.clear(); }

private:
    TDynamicStringArray m_names;
    int m_maxCount = 50;
};

} // namespace carmanual
