// Starts the program as Windows would: the one application object that the framework knows (AfxGetApp,
// whatever CWinApp-derived object is linked in) runs AfxWinMain, InitInstance and the message loop on a
// thread of its own, the user-interface thread.
#pragma once
#include <win32api.h>

#include <atomic>
#include <string>

namespace runner {

class ProgramHost {
public:
    ProgramHost() = default;
    ProgramHost(const ProgramHost&) = delete;
    ProgramHost& operator=(const ProgramHost&) = delete;

    // False when no application object is linked in.
    bool Start(std::string* error);
    bool Exited() const { return m_exited.load(); }
    int ExitCode() const { return m_exitCode.load(); }
    DWORD ThreadId() const { return m_threadId; }
    // The application's main window, or NULL.
    HWND MainWindow() const;

private:
    static DWORD WINAPI Main(LPVOID self);

    std::atomic<bool> m_exited{false};
    std::atomic<int> m_exitCode{0};
    DWORD m_threadId = 0;
    HANDLE m_thread = nullptr;
};

} // namespace runner
