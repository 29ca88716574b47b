#include "RegistryTree.h"

#include "KeyName.h"

#include <vector>

namespace hostreg {

RegistryTree::RegistryTree()
    : m_localMachine(std::make_shared<RegistryKey>("HKEY_LOCAL_MACHINE", nullptr)),
      m_currentUser(std::make_shared<RegistryKey>("HKEY_CURRENT_USER", nullptr)) {}

std::shared_ptr<RegistryKey> RegistryTree::Root(const std::string& name) const {
    if (SameName(name, m_localMachine->Name()))
        return m_localMachine;
    if (SameName(name, m_currentUser->Name()))
        return m_currentUser;
    return nullptr;
}

std::shared_ptr<RegistryKey> RegistryTree::Find(const std::string& path) const {
    const std::size_t slash = path.find('\\');
    std::shared_ptr<RegistryKey> key = Root(path.substr(0, slash));
    if (key == nullptr || slash == std::string::npos)
        return key;
    std::vector<std::string> parts;
    if (!SplitKeyPath(path.c_str() + slash + 1, &parts))
        return nullptr;
    for (const std::string& part : parts) {
        key = key->FindSubkey(part);
        if (key == nullptr)
            return nullptr;
    }
    return key;
}

void RegistryTree::MarkAllDeleted() {
    m_localMachine->MarkDeleted();
    m_currentUser->MarkDeleted();
}

std::size_t KeyDepth(const RegistryKey& key) {
    std::size_t depth = 0;
    for (const RegistryKey* k = key.Parent(); k != nullptr; k = k->Parent())
        ++depth;
    return depth;
}

} // namespace hostreg
