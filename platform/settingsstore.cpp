#include "settingsstore.h"

namespace carmanual {

bool ReadBoolDefault(ISettingsStore& store, const std::string& name, bool fallback) {
    if (const std::optional<bool> value = store.ReadBool(name))
        return *value;
    store.WriteBool(name, fallback);
    return fallback;
}

std::int32_t ReadIntegerDefault(ISettingsStore& store, const std::string& name,
                                std::int32_t fallback) {
    if (const std::optional<std::int32_t> value = store.ReadInteger(name))
        return *value;
    store.WriteInteger(name, fallback);
    return fallback;
}

std::optional<bool> TMemorySettingsStore::ReadBool(const std::string& name) const {
    if (const std::optional<std::int32_t> value = ReadInteger(name))
        return *value != 0;
    return std::nullopt;
}

bool TMemorySettingsStore::WriteBool(const std::string& name, bool value) {
    return Put(name, std::int32_t{value ? 1 : 0});
}

std::optional<std::int32_t> TMemorySettingsStore::ReadInteger(const std::string& name) const {
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    if (const auto* value = std::get_if<std::int32_t>(&it->second))
        return *value;
    return std::nullopt;
}

bool TMemorySettingsStore::WriteInteger(const std::string& name, std::int32_t value) {
    return Put(name, value);
}

std::optional<std::string> TMemorySettingsStore::ReadString(const std::string& name) const {
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    if (const auto* value = std::get_if<std::string>(&it->second))
        return *value;
    return std::nullopt;
}

bool TMemorySettingsStore::WriteString(const std::string& name, const std::string& value) {
    return Put(name, value);
}

bool TMemorySettingsStore::DeleteValue(const std::string& name) {
    if (m_readOnly || m_values.erase(name) == 0)
        return false;
    ++m_changes;
    return true;
}

bool TMemorySettingsStore::ValueExists(const std::string& name) const {
    return m_values.count(name) != 0;
}

bool TMemorySettingsStore::Put(const std::string& name, TValue value) {
    if (m_readOnly)
        return false;
    m_values[name] = std::move(value);
    ++m_changes;
    return true;
}

} // namespace carmanual
