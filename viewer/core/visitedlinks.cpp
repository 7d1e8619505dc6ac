#include "visitedlinks.h"

#include "ansi.h"

#include <algorithm>

namespace carmanual {

namespace {

// What two names of the same document share: the part before the anchor, in
// the letter case AnsiSameText ignores.
std::string DocumentKey(std::string_view name) {
    name = name.substr(0, name.find('#'));
    std::string key(name);
    for (char& c : key)
        c = static_cast<char>(AnsiUpper(static_cast<unsigned char>(c)));
    return key;
}

} // namespace

void TVisitedLinks::SetMaxCount(int count) {
    m_maxCount = std::max(0, count);
    DropBeyondMax();
}

void TVisitedLinks::Add(std::string_view name) {
    if (name.empty() || m_maxCount <= 0)
        return;
    std::string key = DocumentKey(name);
    if (m_keys.count(key) != 0) {
        const auto it = std::find_if(m_names.begin(), m_names.end(),
                                     [&](const std::string& n) { return DocumentKey(n) == key; });
        if (it != m_names.end())
            m_names.erase(it);
    } else {
        m_keys.insert(std::move(key));
    }
    m_names.insert(m_names.begin(), std::string(name));
    DropBeyondMax();
}

bool TVisitedLinks::Contains(std::string_view name) const {
    return m_keys.count(DocumentKey(name)) != 0;
}

void TVisitedLinks::Clear() {
    m_names.clear();
    m_keys.clear();
}

void TVisitedLinks::DropBeyondMax() {
    while (static_cast<int>(m_names.size()) > m_maxCount) {
        m_keys.erase(DocumentKey(m_names.back()));
        m_names.pop_back();
    }
}

} // namespace carmanual
