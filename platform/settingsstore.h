#pragma once
// The per-title settings store: named values, each an integer or a string (a
// boolean is kept as an integer, nonzero meaning true), as a Windows registry
// key keeps them. Names are Windows-1251 bytes and are kept exactly as given:
// "SwOne12" and "swone12" are different values.
//
// A read gives nothing when the value is missing or cannot be read as the
// type asked for; a write reports whether the store took the value. Callers
// decide what a failure means; most ignore it.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace carmanual {

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;

    virtual std::optional<bool> ReadBool(const std::string& name) const = 0;
    virtual bool WriteBool(const std::string& name, bool value) = 0;

    virtual std::optional<std::int32_t> ReadInteger(const std::string& name) const = 0;
    virtual bool WriteInteger(const std::string& name, std::int32_t value) = 0;

    virtual std::optional<std::string> ReadString(const std::string& name) const = 0;
    virtual bool WriteString(const std::string& name, const std::string& value) = 0;

    // False when there was no such value or it could not be removed.
    virtual bool DeleteValue(const std::string& name) = 0;
    virtual bool ValueExists(const std::string& name) const = 0;
};

// The read with default of the general settings: a boolean that is missing
// or unreadable gets the default, and the default is written back at once so
// that the store holds every such setting after the first run. A failing
// write-back is ignored.
bool ReadBoolDefault(ISettingsStore& store, const std::string& name, bool fallback);

// The same rule for integers.
std::int32_t ReadIntegerDefault(ISettingsStore& store, const std::string& name,
                                std::int32_t fallback);

// A store held in memory: for tests, and for a run whose real store cannot be
// opened. Values keep their type, as registry values do: a string value does
// not read as a boolean or an integer, nor an integer as a string.
class TMemorySettingsStore final : public ISettingsStore {
public:
    std::optional<bool> ReadBool(const std::string& name) const override;
    bool WriteBool(const std::string& name, bool value) override;
    std::optional<std::int32_t> ReadInteger(const std::string& name) const override;
    bool WriteInteger(const std::string& name, std::int32_t value) override;
    std::optional<std::string> ReadString(const std::string& name) const override;
    bool WriteString(const std::string& name, const std::string& value) override;
    bool DeleteValue(const std::string& name) override;
    bool ValueExists(const std::string& name) const override;

    // A read-only store refuses every write and deletion and keeps its values,
    // as a registry key opened without write access does.
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // Writes and deletions the store has taken so far.
    std::size_t ChangeCount() const { return m_changes; }
    std::size_t ValueCount() const { return m_values.size(); }

private:
    using TValue = std::variant<std::int32_t, std::string>;
    bool Put(const std::string& name, TValue value);

    std::map<std::string, TValue> m_values;
    bool m_readOnly = false;
    std::size_t m_changes = 0;
};

} // namespace carmanual
