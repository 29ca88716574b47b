// The one registry of the process: its content, the open handles, the write observer, and the lock that
// guards all three. Every entry point takes the lock for its whole duration.
#pragma once
#include "RegistryRefusals.h"
#include "RegistryTree.h"

#include "hostsim/Registry.h"
#include "hostwin/registry.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace hostreg {

class RegistryState {
public:
    static RegistryState& Instance();

    RegistryState(const RegistryState&) = delete;
    RegistryState& operator=(const RegistryState&) = delete;

    // Recursive, so that a write observer may read the registry from the thread that writes.
    std::unique_lock<std::recursive_mutex> Lock() { return std::unique_lock<std::recursive_mutex>(m_mutex); }

    // The following require the lock.
    const RegistryTree& Tree() const { return m_tree; }
    // Installs new content; keys of the old content count as deleted for the handles still open to them.
    void ReplaceTree(RegistryTree tree);
    void Reset();

    HKEY OpenHandle(std::shared_ptr<RegistryKey> key);
    // The key behind a handle (predefined or opened): ERROR_SUCCESS, ERROR_INVALID_HANDLE, or
    // ERROR_KEY_DELETED when the key was deleted while the handle stayed open.
    LONG Resolve(HKEY handle, std::shared_ptr<RegistryKey>* key) const;
    // ERROR_SUCCESS or ERROR_INVALID_HANDLE.
    LONG CloseHandle(HKEY handle);

    void SetObserver(std::function<void(const hostsim::RegistryWrite&)> observer);
    void Notify(const hostsim::RegistryWrite& write) const;
    void SetReadObserver(std::function<void(const hostsim::RegistryRead&)> observer);
    bool WatchesReads() const { return static_cast<bool>(m_readObserver); }
    void NotifyRead(const hostsim::RegistryRead& read) const;
    // The path of the key behind a handle, for reports; "handle 0x..." when it names none.
    std::string PathOf(HKEY handle) const;
    std::size_t HandleCount() const { return m_handles.size(); }

    RegistryRefusals& Refusals() { return m_refusals; }
    void SetRefusalObserver(std::function<void(const hostsim::RegistryRefused&)> observer);
    // Reports a refusal by `rule` and returns its error.
    LONG Refused(const std::string& what, const hostsim::RegistryRefusal& rule);

private:
    RegistryState() = default;

    std::recursive_mutex m_mutex;
    RegistryTree m_tree;
    std::map<std::uintptr_t, std::shared_ptr<RegistryKey>> m_handles;
    std::uintptr_t m_nextHandle = kFirstHandle;
    std::function<void(const hostsim::RegistryWrite&)> m_observer;
    std::function<void(const hostsim::RegistryRead&)> m_readObserver;
    std::function<void(const hostsim::RegistryRefused&)> m_refusalObserver;
    RegistryRefusals m_refusals;

    // Handle values are small multiples of four, as on Windows, and never reused within a run, so that a
    // stale handle is reported instead of reaching another key.
    static constexpr std::uintptr_t kFirstHandle = 0x100;
};

} // namespace hostreg
