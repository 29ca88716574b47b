#include "app/StartupGate.h"

namespace {

// Made on first use, by start-up before it starts the monitor thread; never closed, like the hand-shake's
// events. Until it exists (a frame made without start-up) the wait returns at once.
HANDLE s_hStartupDone = nullptr;

} // namespace

CStartupGate::CStartupGate() {
    Close();
}

CStartupGate::~CStartupGate() {
    ::SetEvent(s_hStartupDone);
}

void CStartupGate::WaitUntilOpen() {
    ::WaitForSingleObject(s_hStartupDone, STARTUP_WAIT_LIMIT);
}

void CStartupGate::Close() {
    if (s_hStartupDone == nullptr)
        s_hStartupDone = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    else
        ::ResetEvent(s_hStartupDone);
}
