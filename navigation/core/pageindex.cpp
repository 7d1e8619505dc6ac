#include "pageindex.h"

#include <functional>

namespace carmanual {

namespace {

std::size_t SlotsFor(std::size_t count) {
    // At most half full, so probes stay short.
    std::size_t slots = 16;
    while (slots < count * 2)
        slots *= 2;
    return slots;
}

} // namespace

void TPageIndex::Reserve(std::size_t count) {
    if (SlotsFor(count) > m_slots.size())
        Rehash(SlotsFor(count));
}

std::size_t TPageIndex::Probe(std::string_view key, std::size_t hash) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = hash & mask;
    for (;;) {
        const Slot& slot = m_slots[i];
        if (slot.item < 0)
            return i;
        if (slot.hash == hash && std::string_view(m_keys).substr(slot.offset, slot.length) == key)
            return i;
        i = (i + 1) & mask;
    }
}

void TPageIndex::Rehash(std::size_t slots) {
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(slots, Slot{});
    const std::size_t mask = slots - 1;
    for (const Slot& slot : old) {
        if (slot.item < 0)
            continue;
        std::size_t i = slot.hash & mask;
        while (m_slots[i].item >= 0)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}

void TPageIndex::Add(std::string_view key, std::int32_t item) {
    if (item < 0 || key.empty())
        return;
    if ((m_count + 1) * 2 > m_slots.size())
        Rehash(SlotsFor(m_count + 1));
    const std::size_t hash = std::hash<std::string_view>{}(key);
    Slot& slot = m_slots[Probe(key, hash)];
    if (slot.item >= 0)
        return;
    slot.hash = hash;
    slot.offset = static_cast<std::uint32_t>(m_keys.size());
    slot.length = static_cast<std::uint32_t>(key.size());
    slot.item = item;
    m_keys.append(key);
    ++m_count;
}

std::int32_t TPageIndex::Find(std::string_view key) const {
    if (m_slots.empty() || key.empty())
        return -1;
    return m_slots[Probe(key, std::hash<std::string_view>{}(key))].item;
}

} // namespace carmanual
