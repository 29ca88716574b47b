#include "ProgramHost.h"

#include "fw/WinApp.h"
#include "fw/Wnd.h"

#include <hostsim/Clock.h>

namespace runner {

bool ProgramHost::Start(std::string* error) {
    if (AfxGetApp() == nullptr) {
        *error = "no application object is linked into this runner";
        return false;
    }
    m_thread = ::CreateThread(nullptr, 0, &ProgramHost::Main, this, 0, &m_threadId);
    if (m_thread == nullptr) {
        *error = "the user-interface thread could not be started";
        return false;
    }
    return true;
}

HWND ProgramHost::MainWindow() const {
    if (Exited())
        return nullptr;
    CWnd* wnd = AfxGetMainWnd();
    return wnd != nullptr ? wnd->m_hWnd : nullptr;
}

DWORD WINAPI ProgramHost::Main(LPVOID self) {
    auto* host = static_cast<ProgramHost*>(self);
    static char commandLine[] = "";
    const int code = AfxWinMain(nullptr, nullptr, commandLine, SW_SHOWNORMAL);
    host->m_exitCode = code;
    auto lock = hostsim::LockScheduler();
    host->m_exited = true;
    hostsim::NotifyChange(lock);
    return static_cast<DWORD>(code);
}

} // namespace runner
