// uidriver: what its command files share. Windows are found by title and class, texts travel as UTF-8 on
// the command line and as UTF-16 in messages, and every wait is a bounded poll.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace uidriver {

struct Options {
    std::wstring windowClass;
    DWORD timeoutMs = 20000;
};

const int kPollMs = 50;

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);
std::wstring ClassOf(HWND hwnd);
// The text of a window of another process: WM_GETTEXT is marshalled across processes for its W form.
std::wstring TextOf(HWND hwnd);
// Every descendant window, in the order EnumChildWindows gives them.
std::vector<HWND> Children(HWND parent);
// A control of the window or of one of its child dialogs (a sheet's page), visible ones first.
HWND FindControl(HWND parent, int id);
// Lets the window's thread paint everything now, and waits until it has handled what came before.
void PaintNow(HWND hwnd);
// A window handle as the commands print it: 0x and hexadecimal digits.
std::string Handle(HWND hwnd);
// Prints "uidriver: MESSAGE" to the error output and gives the exit status of a failure.
int Fail(const std::string& message);

// Polls until found() gives a result or the time is up.
template <typename T> T WaitFor(DWORD timeoutMs, const std::function<T()>& found) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        T result = found();
        if (result || std::chrono::steady_clock::now() >= deadline)
            return result;
        ::Sleep(kPollMs);
    }
}

// The commands on one control of a window (Controls.cpp): set-text, select-item, slider, check, text,
// wait-change, wait-state and list-rows. args[0] is the window's title, args[1] the control id. Returns 2
// for a command or argument count it does not know.
int RunControlCommand(HWND window, const std::string& command, const std::vector<std::string>& args,
                      const Options& options);

// The commands on the program through a top-level window of its own, shown or hidden (ProgramCommands.cpp):
// wait-destroyed, counts, windows, responds, notify-device and notify-power. args[0] is the window's title.
// Returns 2 for an argument count or event it does not know.
bool IsProgramCommand(const std::string& command);
int RunProgramCommand(const std::string& command, const std::vector<std::string>& args,
                      const Options& options);

} // namespace uidriver
