// GoogleTest's Notification for the Windows build, forced into every translation unit of GoogleTest and of
// our Windows tests. GoogleTest's own one is made of std::mutex and std::condition_variable, which the
// compilers of the win32 thread model lack; this one is a manual-reset event.
#pragma once
#include <windows.h>

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : m_event(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() {
        if (m_event != nullptr)
            ::CloseHandle(m_event);
    }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { ::SetEvent(m_event); }
    void WaitForNotification() { ::WaitForSingleObject(m_event, INFINITE); }

private:
    HANDLE m_event;
};

} // namespace internal
} // namespace testing
