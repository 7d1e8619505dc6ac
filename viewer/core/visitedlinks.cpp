#include "visitedlinks.h"

#include "ansi.h"
#include "htmlurl.h"

#include <algorithm>

namespace carmanual {

namespace {

bool SameDocument(std::string_view a, std::string_view b) {
    return AnsiSameText(SplitAnchor(a).first, SplitAnchor(b).first);
}

} // namespace

void TVisitedLinks::SetMaxCount(int count) {
    m_maxCount = std::max(0, count);
    if (static_cast<int>(m_names.size()) > m_maxCount)
        m_names.resize(static_cast<std::size_t>(m_maxCount));
}

void TVisitedLinks::Add(std::string_view name) {
    if (name.empty() || m_maxCount <= 0)
        return;
    const auto it = std::find_if(m_names.begin(), m_names.end(),
                                 [&](const std::string& n) { return SameDocument(n, name); });
    if (it != m_names.end())
        m_names.erase(it);
    m_names.insert(m_names.begin(), std::string(name));
    if (static_cast<int>(m_names.size()) > m_maxCount)
        m_names.resize(static_cast<std::size_t>(m_maxCount));
}

bool TVisitedLinks::Contains(std::string_view name) const {
    return std::any_of(m_names.begin(), m_names.end(),
                       [&](const std::string& n) { return SameDocument(n, name); });
}

} // namespace carmanual
