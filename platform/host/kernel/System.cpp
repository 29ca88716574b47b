// The system around the program: which Windows it runs on (GetVersionExA, GetSystemDirectoryA) and what it
// tells the system (debugger output, DOS device definitions, beeps), recorded for tests and the runner.
#include "hostsim/HeapScope.h"
#include "hostsim/System.h"

#include "NoDestroy.h"

#include "hostwin/kernel.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>

namespace hostsim {
namespace {

struct SystemState {
    std::mutex mutex;
    WindowsKind kind = WindowsKind::Win2000;
    std::string systemDirectory; // empty: the kind's default
    std::vector<SystemRecord> records;
    std::function<void(const SystemRecord&)> sink;
};

SystemState& State() {
    static detail::NoDestroy<SystemState> state;
    return state.Get();
}

// What each kind answers; the values are those Wine gives for the same Windows version.
struct VersionData {
    DWORD major;
    DWORD minor;
    DWORD build;
    DWORD platform;
    const char* csd;
    WORD servicePackMajor;
    WORD suiteMask;
};

VersionData VersionOf(WindowsKind kind) {
    switch (kind) {
    case WindowsKind::Win95:
        return {4, 0, 0x040003B6, VER_PLATFORM_WIN32_WINDOWS, "", 0, 0};
    case WindowsKind::Win98:
        return {4, 10, 0x040A08AE, VER_PLATFORM_WIN32_WINDOWS, " A ", 0, 0};
    case WindowsKind::NT4:
        return {4, 0, 1381, VER_PLATFORM_WIN32_NT, "Service Pack 6a", 6, 0};
    case WindowsKind::Win2000:
        return {5, 0, 2195, VER_PLATFORM_WIN32_NT, "Service Pack 4", 4, 0};
    case WindowsKind::NtOther:
        return {6, 1, 7601, VER_PLATFORM_WIN32_NT, "Service Pack 1", 1, 0x100};
    case WindowsKind::Win32s:
        return {3, 10, 0, VER_PLATFORM_WIN32s, "", 0, 0};
    }
    return {5, 0, 2195, VER_PLATFORM_WIN32_NT, "Service Pack 4", 4, 0};
}

void AddRecord(SystemRecord::Kind kind, std::string text, std::uint32_t value) {
    // The record of what the program told the system is the test's, not the program's heap.
    const hostsim::NotProgramHeap heap;
    SystemRecord record{kind, GetCurrentThreadId(), std::move(text), value};
    std::function<void(const SystemRecord&)> sink;
    {
        SystemState& s = State();
        std::lock_guard<std::mutex> lock(s.mutex);
        s.records.push_back(record);
        sink = s.sink;
    }
    if (sink)
        sink(record); // outside the lock: the sink may look at the records
}

} // namespace

void SetWindowsKind(WindowsKind kind) {
    SystemState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.kind = kind;
}

WindowsKind GetWindowsKind() {
    SystemState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.kind;
}

bool IsNtFamily(WindowsKind kind) {
    return kind == WindowsKind::NT4 || kind == WindowsKind::Win2000 || kind == WindowsKind::NtOther;
}

const char* WindowsKindName(WindowsKind kind) {
    switch (kind) {
    case WindowsKind::Win95:
        return "win95";
    case WindowsKind::Win98:
        return "win98";
    case WindowsKind::NT4:
        return "nt4";
    case WindowsKind::Win2000:
        return "win2000";
    case WindowsKind::NtOther:
        return "ntother";
    case WindowsKind::Win32s:
        return "win32s";
    }
    return "?";
}

bool ParseWindowsKind(const std::string& name, WindowsKind* kind) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (WindowsKind k : {WindowsKind::Win95, WindowsKind::Win98, WindowsKind::NT4, WindowsKind::Win2000,
                          WindowsKind::NtOther, WindowsKind::Win32s}) {
        if (lower == WindowsKindName(k)) {
            if (kind)
                *kind = k;
            return true;
        }
    }
    return false;
}

std::vector<SystemRecord> SystemRecords() {
    SystemState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.records;
}

std::vector<std::string> DebugStrings() {
    SystemState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::vector<std::string> strings;
    for (const SystemRecord& r : s.records)
        if (r.kind == SystemRecord::Kind::DebugString)
            strings.push_back(r.text);
    return strings;
}

void ClearSystemRecords() {
    SystemState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.records.clear();
}

void SetSystemRecordSink(std::function<void(const SystemRecord&)> sink) {
    SystemState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.sink = std::move(sink);
}

void SetSystemDirectory(const std::string& path) {
    SystemState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.systemDirectory = path;
}

void ResetSystem() {
    SystemState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.kind = WindowsKind::Win2000;
    s.systemDirectory.clear();
    s.records.clear();
    s.sink = nullptr;
    ClearFiles();
}

} // namespace hostsim

using hostsim::State;

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA lpVersionInformation) {
    if (!lpVersionInformation) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const hostsim::WindowsKind kind = hostsim::GetWindowsKind();
    const DWORD size = lpVersionInformation->dwOSVersionInfoSize;
    // The extended record exists from NT 4 SP6 on; Windows 9x refuses it like any other size.
    const bool extended = size == sizeof(OSVERSIONINFOEXA) && hostsim::IsNtFamily(kind);
    if (size != sizeof(OSVERSIONINFOA) && !extended) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const hostsim::VersionData v = hostsim::VersionOf(kind);
    lpVersionInformation->dwMajorVersion = v.major;
    lpVersionInformation->dwMinorVersion = v.minor;
    lpVersionInformation->dwBuildNumber = v.build;
    lpVersionInformation->dwPlatformId = v.platform;
    std::memset(lpVersionInformation->szCSDVersion, 0, sizeof(lpVersionInformation->szCSDVersion));
    std::strncpy(lpVersionInformation->szCSDVersion, v.csd, sizeof(lpVersionInformation->szCSDVersion) - 1);
    if (extended) {
        auto* ex = reinterpret_cast<LPOSVERSIONINFOEXA>(lpVersionInformation);
        ex->wServicePackMajor = v.servicePackMajor;
        ex->wServicePackMinor = 0;
        ex->wSuiteMask = v.suiteMask;
        ex->wProductType = VER_NT_WORKSTATION;
        ex->wReserved = 0;
    }
    return TRUE;
}

VOID WINAPI OutputDebugStringA(LPCSTR lpOutputString) {
    if (!lpOutputString)
        return;
    hostsim::AddRecord(hostsim::SystemRecord::Kind::DebugString, lpOutputString, 0);
}

BOOL WINAPI DefineDosDeviceA(DWORD dwFlags, LPCSTR lpDeviceName, LPCSTR lpTargetPath) {
    if (!lpDeviceName || !*lpDeviceName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string text =
        std::to_string(dwFlags) + " " + lpDeviceName + " -> " + (lpTargetPath ? lpTargetPath : "");
    hostsim::AddRecord(hostsim::SystemRecord::Kind::DosDevice, std::move(text), dwFlags);
    return TRUE;
}

UINT WINAPI GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize) {
    std::string directory;
    {
        hostsim::SystemState& s = State();
        std::lock_guard<std::mutex> lock(s.mutex);
        directory = s.systemDirectory;
        if (directory.empty())
            directory = hostsim::IsNtFamily(s.kind) ? "C:\\WINNT\\system32" : "C:\\WINDOWS\\SYSTEM";
    }
    const UINT length = static_cast<UINT>(directory.size());
    if (!lpBuffer || uSize <= length)
        return length + 1; // too small: the size needed, terminator included; the buffer is not touched
    std::memcpy(lpBuffer, directory.c_str(), length + 1);
    return length;
}

BOOL WINAPI MessageBeep(UINT uType) {
    hostsim::AddRecord(hostsim::SystemRecord::Kind::Beep, std::string(), uType);
    return TRUE;
}
