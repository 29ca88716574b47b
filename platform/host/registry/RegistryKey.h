// One key of the registry tree: its values in order of creation and its subkeys sorted as Windows NT
// enumerates them. Keys are shared with the handles that refer to them, so a key removed from the tree
// lives on, marked deleted, until its last handle is closed.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace hostreg {

struct RegistryValue {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

class RegistryKey {
public:
    RegistryKey(std::string name, RegistryKey* parent);
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    const std::string& Name() const { return m_name; }
    // Full path from the root, with the spelling each key was created with.
    std::string Path() const;
    bool IsDeleted() const { return m_deleted; }
    RegistryKey* Parent() const { return m_parent; }

    // Values.
    const std::vector<RegistryValue>& Values() const { return m_values; }
    const RegistryValue* FindValue(const std::string& name) const;
    // Replaces the data of an existing value in place (its position and spelling stay) or appends one.
    void SetValue(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data);
    bool DeleteValue(const std::string& name);

    // Subkeys, in enumeration order.
    std::size_t SubkeyCount() const { return m_subkeys.size(); }
    std::shared_ptr<RegistryKey> SubkeyAt(std::size_t index) const;
    std::shared_ptr<RegistryKey> FindSubkey(const std::string& name) const;
    // Returns the existing subkey of that name or a new one; *created tells which.
    std::shared_ptr<RegistryKey> AddSubkey(const std::string& name, bool* created);
    // Takes the subkey out of the tree and marks it and everything below it deleted.
    void RemoveSubkey(const std::string& name);

    // Marks this key and its whole subtree deleted (the tree they belonged to is gone).
    void MarkDeleted();

private:
    std::string m_name;
    RegistryKey* m_parent;
    bool m_deleted = false;
    std::vector<RegistryValue> m_values;
    std::map<std::string, std::shared_ptr<RegistryKey>> m_subkeys; // by folded name
};

} // namespace hostreg
