// A process-wide object that is built on first use and never destroyed, so that threads still running
// while the process exits (detached threads, threads frozen at the end of virtual time) never touch a
// destroyed object. Its memory stays reachable from static storage, so leak checkers do not report it.
#pragma once
#include <new>
#include <utility>

namespace hostsim::detail {

template <class T> class NoDestroy {
public:
    template <class... Args> explicit NoDestroy(Args&&... args) {
        new (m_storage) T(std::forward<Args>(args)...);
    }
    NoDestroy(const NoDestroy&) = delete;
    NoDestroy& operator=(const NoDestroy&) = delete;
    T& Get() { return *std::launder(reinterpret_cast<T*>(m_storage)); }

private:
    alignas(T) unsigned char m_storage[sizeof(T)];
};

} // namespace hostsim::detail
