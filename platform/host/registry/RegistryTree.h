// The machine's registry content: the HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER trees.
#pragma once
#include "RegistryKey.h"

#include <memory>
#include <string>

namespace hostreg {

// Windows allows keys at most 512 levels below a root; the limit also keeps every walk of the tree
// (and the release of a deep tree) within a small stack.
constexpr std::size_t kMaxKeyDepth = 512;

class RegistryTree {
public:
    RegistryTree();
    RegistryTree(RegistryTree&&) = default;
    RegistryTree& operator=(RegistryTree&&) = default;
    RegistryTree(const RegistryTree&) = delete;
    RegistryTree& operator=(const RegistryTree&) = delete;

    const std::shared_ptr<RegistryKey>& LocalMachine() const { return m_localMachine; }
    const std::shared_ptr<RegistryKey>& CurrentUser() const { return m_currentUser; }

    // The root of that name ("HKEY_LOCAL_MACHINE", any letter case), or null.
    std::shared_ptr<RegistryKey> Root(const std::string& name) const;
    // The key at a full path such as "HKEY_CURRENT_USER\Software\X", or null.
    std::shared_ptr<RegistryKey> Find(const std::string& path) const;

    // Every key of both trees counts as deleted from now on (for handles still open to them).
    void MarkAllDeleted();

private:
    std::shared_ptr<RegistryKey> m_localMachine;
    std::shared_ptr<RegistryKey> m_currentUser;
};

// Number of keys between the key and its root (a root has depth 0).
std::size_t KeyDepth(const RegistryKey& key);

} // namespace hostreg
