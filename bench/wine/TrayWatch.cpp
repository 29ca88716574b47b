// traywatch: times the arrival of an icon in Wine's stand-alone tray, for scripts/bench-wine.sh.
//
// It first waits until the tray shows no icon and says "ready"; the caller then notes the time and starts a
// program. From then on it looks at the tray every --poll milliseconds (default 5) and, when an icon shows,
// prints the wall-clock time it saw it, in microseconds since 1970, and ends. The caller's clock and ours
// are the same system clock, so the difference is the time from start to icon, with the poll interval as
// resolution and no start-up of a watcher in between (a watcher started after the program would compete
// with it for the processor while it starts).
//
// Usage: traywatch [--timeout MS] [--poll MS]
// Exit status: 0 an icon was seen, 1 timed out (no empty tray first, or no icon), 2 usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

const wchar_t kTrayClass[] = L"__winex11_standalone_tray";
const wchar_t kTrayIconClass[] = L"__winex11_tray_icon";

// 100-nanosecond intervals from 1601 to 1970.
const unsigned long long kUnixEpochInFileTime = 116444736000000000ULL;

typedef VOID(WINAPI* GetPreciseTime)(LPFILETIME);

unsigned long long NowUnixMicroseconds() {
    // The precise form is newer than the headers' Windows version; Wine has it.
    static const GetPreciseTime precise = reinterpret_cast<GetPreciseTime>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    FILETIME now;
    if (precise != nullptr)
        precise(&now);
    else
        GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (ticks - kUnixEpochInFileTime) / 10;
}

// Whether the tray shows an icon. The tray window, once made, lives as long as the tray's process; its
// icons are child windows, visible while shown.
bool TrayShowsIcon() {
    static HWND tray = nullptr;
    if (tray == nullptr || !IsWindow(tray))
        tray = FindWindowW(kTrayClass, nullptr);
    if (tray == nullptr)
        return false;
    for (HWND child = GetWindow(tray, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = L"";
        GetClassNameW(child, name, 64);
        if (std::wcscmp(name, kTrayIconClass) == 0 && IsWindowVisible(child))
            return true;
    }
    return false;
}

bool WaitUntil(bool wanted, DWORD timeoutMs, DWORD pollMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (TrayShowsIcon() == wanted)
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(pollMs);
    }
}

} // namespace

int main(int argc, char** argv) {
    DWORD timeoutMs = 30000;
    DWORD pollMs = 5;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
            timeoutMs = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
        } else if (std::strcmp(argv[i], "--poll") == 0 && i + 1 < argc) {
            pollMs = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
        } else {
            std::fputs("usage: traywatch [--timeout MS] [--poll MS]\n", stderr);
            return 2;
        }
    }
    if (!WaitUntil(false, timeoutMs, pollMs)) {
        std::fputs("traywatch: the tray still shows an icon\n", stderr);
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    if (!WaitUntil(true, timeoutMs, pollMs)) {
        std::fputs("traywatch: no icon in the tray\n", stderr);
        return 1;
    }
    std::printf("%llu\n", NowUnixMicroseconds());
    std::fflush(stdout);
    return 0;
}
