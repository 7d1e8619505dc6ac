#pragma once
// A map from page keys (see pagenames.h) to the first tree item of each key,
// held in two flat arrays so that filling it for a large contents tree costs
// no allocation per item: the keys are packed into one string and the slots
// of an open-addressing table point into it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace carmanual {

class TPageIndex final {
public:
    void Reserve(std::size_t count);
    // Adds the key for the item unless the key is there already: the first
    // item of a key wins.
    void Add(std::string_view key, std::int32_t item);
    // The item of the key, or -1.
    std::int32_t Find(std::string_view key) const;
    std::size_t Count() const { return m_count; }

private:
    struct Slot {
        std::size_t hash = 0;
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        std::int32_t item = -1; // -1: free
    };
    std::size_t Probe(std::string_view key, std::size_t hash) const;
    void Rehash(std::size_t slots);

    std::vector<Slot> m_slots;
    std::string m_keys;
    std::size_t m_count = 0;
};

} // namespace carmanual
