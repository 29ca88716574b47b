#include "RegistryKey.h"

#include "KeyName.h"

#include <algorithm>
#include <iterator>

namespace hostreg {

RegistryKey::RegistryKey(std::string name, RegistryKey* parent) : m_name(std::move(name)), m_parent(parent) {}

std::string RegistryKey::Path() const {
    if (m_parent == nullptr)
        return m_name;
    return m_parent->Path() + '\\' + m_name;
}

const RegistryValue* RegistryKey::FindValue(const std::string& name) const {
    auto it = std::find_if(m_values.begin(), m_values.end(),
                           [&](const RegistryValue& v) { return SameName(v.name, name); });
    return it == m_values.end() ? nullptr : &*it;
}

void RegistryKey::SetValue(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data) {
    auto it = std::find_if(m_values.begin(), m_values.end(),
                           [&](const RegistryValue& v) { return SameName(v.name, name); });
    if (it == m_values.end()) {
        m_values.push_back(RegistryValue{name, type, std::move(data)});
        return;
    }
    it->type = type;
    it->data = std::move(data);
}

bool RegistryKey::DeleteValue(const std::string& name) {
    auto it = std::find_if(m_values.begin(), m_values.end(),
                           [&](const RegistryValue& v) { return SameName(v.name, name); });
    if (it == m_values.end())
        return false;
    m_values.erase(it);
    return true;
}

std::shared_ptr<RegistryKey> RegistryKey::SubkeyAt(std::size_t index) const {
    if (index >= m_subkeys.size())
        return nullptr;
    return std::next(m_subkeys.begin(), static_cast<std::ptrdiff_t>(index))->second;
}

std::shared_ptr<RegistryKey> RegistryKey::FindSubkey(const std::string& name) const {
    auto it = m_subkeys.find(FoldName(name));
    return it == m_subkeys.end() ? nullptr : it->second;
}

std::shared_ptr<RegistryKey> RegistryKey::AddSubkey(const std::string& name, bool* created) {
    auto& slot = m_subkeys[FoldName(name)];
    *created = (slot == nullptr);
    if (slot == nullptr)
        slot = std::make_shared<RegistryKey>(name, this);
    return slot;
}

void RegistryKey::RemoveSubkey(const std::string& name) {
    auto it = m_subkeys.find(FoldName(name));
    if (it == m_subkeys.end())
        return;
    it->second->MarkDeleted();
    m_subkeys.erase(it);
}

void RegistryKey::MarkDeleted() {
    m_deleted = true;
    m_parent = nullptr;
    for (auto& entry : m_subkeys)
        entry.second->MarkDeleted();
}

} // namespace hostreg
