#include "RegistryState.h"

#include <cstdio>
#include <new>

namespace hostreg {

RegistryState& RegistryState::Instance() {
    // Built on first use and never destroyed: program threads may still reach the registry while the
    // process exits. The storage is static, so what the state owns stays reachable for leak checkers.
    alignas(RegistryState) static unsigned char storage[sizeof(RegistryState)];
    static RegistryState* const state = new (storage) RegistryState();
    return *state;
}

void RegistryState::ReplaceTree(RegistryTree tree) {
    m_tree.MarkAllDeleted();
    m_tree = std::move(tree);
}

void RegistryState::Reset() {
    ReplaceTree(RegistryTree());
    m_handles.clear();
    m_observer = nullptr;
    m_readObserver = nullptr;
    m_refusalObserver = nullptr;
    m_refusals.Clear();
    m_refusals.SetAdministratorThread(0);
}

void RegistryState::SetRefusalObserver(std::function<void(const hostsim::RegistryRefused&)> observer) {
    m_refusalObserver = std::move(observer);
}

LONG RegistryState::Refused(const std::string& what, const hostsim::RegistryRefusal& rule) {
    const LONG error = static_cast<LONG>(rule.error);
    if (m_refusalObserver) {
        const auto observer = m_refusalObserver;
        observer(hostsim::RegistryRefused{what, rule.error, rule.text});
    }
    return error;
}

HKEY RegistryState::OpenHandle(std::shared_ptr<RegistryKey> key) {
    const std::uintptr_t value = m_nextHandle;
    m_nextHandle += 4;
    m_handles.emplace(value, std::move(key));
    return reinterpret_cast<HKEY>(value);
}

LONG RegistryState::Resolve(HKEY handle, std::shared_ptr<RegistryKey>* key) const {
    if (handle == HKEY_LOCAL_MACHINE) {
        *key = m_tree.LocalMachine();
        return ERROR_SUCCESS;
    }
    if (handle == HKEY_CURRENT_USER) {
        *key = m_tree.CurrentUser();
        return ERROR_SUCCESS;
    }
    auto it = m_handles.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == m_handles.end())
        return ERROR_INVALID_HANDLE;
    if (it->second->IsDeleted())
        return ERROR_KEY_DELETED;
    *key = it->second;
    return ERROR_SUCCESS;
}

LONG RegistryState::CloseHandle(HKEY handle) {
    if (handle == HKEY_LOCAL_MACHINE || handle == HKEY_CURRENT_USER)
        return ERROR_SUCCESS;
    return m_handles.erase(reinterpret_cast<std::uintptr_t>(handle)) == 1 ? ERROR_SUCCESS
                                                                          : ERROR_INVALID_HANDLE;
}

void RegistryState::SetObserver(std::function<void(const hostsim::RegistryWrite&)> observer) {
    m_observer = std::move(observer);
}

void RegistryState::Notify(const hostsim::RegistryWrite& write) const {
    if (!m_observer)
        return;
    // A copy, so that an observer which replaces itself does not destroy the function it runs in.
    const auto observer = m_observer;
    observer(write);
}

void RegistryState::SetReadObserver(std::function<void(const hostsim::RegistryRead&)> observer) {
    m_readObserver = std::move(observer);
}

void RegistryState::NotifyRead(const hostsim::RegistryRead& read) const {
    if (!m_readObserver)
        return;
    const auto observer = m_readObserver;
    observer(read);
}

std::string RegistryState::PathOf(HKEY handle) const {
    if (handle == HKEY_LOCAL_MACHINE)
        return "HKEY_LOCAL_MACHINE";
    if (handle == HKEY_CURRENT_USER)
        return "HKEY_CURRENT_USER";
    auto it = m_handles.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it != m_handles.end())
        return it->second->Path();
    char text[40];
    std::snprintf(text, sizeof text, "handle 0x%llX",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(handle)));
    return text;
}

} // namespace hostreg
