#pragma once
// The navigation history of a viewer: entries newest first, a position
// (0 = the newest entry), at most MaxCount entries. Navigating while an older
// entry is shown drops the newer ones, as browsers do. The entry type carries
// whatever the viewer needs to show the state again.

#include <algorithm>
#include <cstddef>
#include <vector>

namespace carmanual {

template <class TEntry> class TViewerHistory final {
public:
    int MaxCount() const { return m_maxCount; }
    // Drops the oldest entries beyond the new limit; 0 keeps no history.
    void SetMaxCount(int count) {
        m_maxCount = std::max(0, count);
        Trim();
    }

    int Count() const { return static_cast<int>(m_entries.size()); }
    bool Empty() const { return m_entries.empty(); }
    int Position() const { return m_position; }
    const TEntry& At(int index) const { return m_entries.at(static_cast<std::size_t>(index)); }
    TEntry& At(int index) { return m_entries.at(static_cast<std::size_t>(index)); }
    // The entry shown; only when not Empty().
    TEntry& Current() { return At(m_position); }
    const TEntry& Current() const { return At(m_position); }

    bool CanGoBack() const { return m_position + 1 < Count(); }
    bool CanGoForward() const { return m_position > 0 && m_position < Count(); }

    // A navigation: the entries newer than the shown one go, the new entry
    // becomes entry 0 and is shown. False when no history is kept.
    bool Push(TEntry entry) {
        if (m_maxCount <= 0) {
            Clear();
            return false;
        }
        if (m_position > 0 && m_position <= Count())
            m_entries.erase(m_entries.begin(), m_entries.begin() + m_position);
        m_entries.insert(m_entries.begin(), std::move(entry));
        m_position = 0;
        Trim();
        return true;
    }

    // Moves to an entry; false (and no change) when it does not exist.
    bool SetPosition(int index) {
        if (index < 0 || index >= Count())
            return false;
        m_position = index;
        return true;
    }

    void Clear() {
        m_entries.clear();
        m_position = 0;
    }

    const std::vector<TEntry>& Entries() const { return m_entries; }

private:
    void Trim() {
        if (Count() > m_maxCount)
            m_entries.resize(static_cast<std::size_t>(m_maxCount));
        if (m_position >= Count())
            m_position = std::max(0, Count() - 1);
    }

    std::vector<TEntry> m_entries;
    int m_position = 0;
    int m_maxCount = 0;
};

} // namespace carmanual
