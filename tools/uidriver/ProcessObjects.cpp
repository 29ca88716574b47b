#include "ProcessObjects.h"

#include <winternl.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace uidriver {

namespace {

// Newer than the Windows version the headers are set to: the constants are spelled out here, and the
// functions looked up when needed.
#ifndef HWND_MESSAGE
#define HWND_MESSAGE (reinterpret_cast<HWND>(-3))
#endif
const DWORD kGdiObjects = 0;  // GR_GDIOBJECTS
const DWORD kUserObjects = 1; // GR_USEROBJECTS
const ULONG kSystemExtendedHandleInformation = 64;
const NTSTATUS kStatusInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

typedef BOOL(WINAPI* GetProcessHandleCountFn)(HANDLE, PDWORD);
typedef DWORD(WINAPI* GetGuiResourcesFn)(HANDLE, DWORD);
typedef NTSTATUS(WINAPI* NtQuerySystemInformationFn)(ULONG, PVOID, ULONG, PULONG);
typedef NTSTATUS(WINAPI* NtQueryInformationProcessFn)(HANDLE, ULONG, PVOID, ULONG, PULONG);

template <typename Fn> Fn Lookup(const wchar_t* module, const char* name) {
    HMODULE loaded = GetModuleHandleW(module);
    if (loaded == nullptr)
        return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(loaded, name)));
}

// One entry of the system's list of open handles (SystemExtendedHandleInformation).
struct HandleEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTrace;
    USHORT objectType;
    ULONG attributes;
    ULONG reserved;
};
struct HandleList {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};

// One entry of the GDI handle table as Wine lays it out in every build: 24 bytes, the object's type at
// byte 14, zero when the entry is free.
const size_t kGdiEntrySize = 24;
const size_t kGdiTypeOffset = 14;
const size_t kGdiEntryCount = 0x10000;
// Where the process environment block names the table.
const size_t kPebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

class ProcessHandle {
public:
    explicit ProcessHandle(DWORD processId)
        : handle_(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId)) {}
    ~ProcessHandle() {
        if (handle_ != nullptr)
            CloseHandle(handle_);
    }
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

bool ReadFrom(HANDLE process, const void* address, void* data, size_t size) {
    SIZE_T done = 0;
    return ReadProcessMemory(process, address, data, size, &done) && done == size;
}

bool CountHandles(HANDLE process, DWORD processId, ProcessObjects* objects) {
    if (auto count = Lookup<GetProcessHandleCountFn>(L"kernel32.dll", "GetProcessHandleCount")) {
        DWORD handles = 0;
        // Wine answers 0 where it keeps no count; no running process has no handle at all.
        if (count(process, &handles) && handles != 0) {
            objects->handles = handles;
            objects->handlesFrom = "GetProcessHandleCount";
            return true;
        }
    }
    auto query = Lookup<NtQuerySystemInformationFn>(L"ntdll.dll", "NtQuerySystemInformation");
    if (query == nullptr)
        return false;
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status = query(kSystemExtendedHandleInformation, buffer.data(),
                                      static_cast<ULONG>(buffer.size()), &needed);
        if (status == kStatusInfoLengthMismatch) {
            buffer.resize(needed > buffer.size() ? needed + 4096 : buffer.size() * 2);
            continue;
        }
        if (status != 0)
            return false;
        break;
    }
    HandleList list;
    std::memcpy(&list, buffer.data(), offsetof(HandleList, entries));
    const size_t room = (buffer.size() - offsetof(HandleList, entries)) / sizeof(HandleEntry);
    DWORD handles = 0;
    for (size_t i = 0; i < list.count && i < room; ++i) {
        HandleEntry entry;
        std::memcpy(&entry, buffer.data() + offsetof(HandleList, entries) + i * sizeof(HandleEntry),
                    sizeof entry);
        if (entry.processId == processId)
            ++handles;
    }
    objects->handles = handles;
    objects->handlesFrom = "the system's handle list";
    return true;
}

// GetGuiResources' count of one kind of object, where the system has the function and answers it (Wine
// exports it but says it is not implemented).
bool CountGuiResources(HANDLE process, DWORD kind, DWORD* count) {
    auto resources = Lookup<GetGuiResourcesFn>(L"user32.dll", "GetGuiResources");
    if (resources == nullptr)
        return false;
    SetLastError(0);
    const DWORD answer = resources(process, kind);
    if (answer == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED)
        return false;
    *count = answer;
    return true;
}

bool CountGdiObjects(HANDLE process, ProcessObjects* objects) {
    if (CountGuiResources(process, kGdiObjects, &objects->gdi)) {
        objects->gdiFrom = "GetGuiResources";
        return true;
    }
    auto query = Lookup<NtQueryInformationProcessFn>(L"ntdll.dll", "NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr || query(process, 0, &basic, sizeof basic, nullptr) != 0 ||
        basic.PebBaseAddress == nullptr)
        return false;
    const void* table = nullptr;
    if (!ReadFrom(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTableOffset, &table,
                  sizeof table) ||
        table == nullptr)
        return false;
    std::vector<unsigned char> entries(kGdiEntryCount * kGdiEntrySize);
    if (!ReadFrom(process, table, entries.data(), entries.size()))
        return false;
    DWORD live = 0;
    for (size_t i = 0; i < kGdiEntryCount; ++i)
        if (entries[i * kGdiEntrySize + kGdiTypeOffset] != 0)
            ++live;
    objects->gdi = live;
    objects->gdiFrom = "the process's GDI handle table";
    return true;
}

struct WindowList {
    DWORD processId;
    std::vector<HWND> windows;
};

// A plain function rather than a lambda: on 32-bit Windows the callback must be stdcall.
BOOL CALLBACK CollectIfOwned(HWND hwnd, LPARAM param) {
    auto* list = reinterpret_cast<WindowList*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == list->processId)
        list->windows.push_back(hwnd);
    return TRUE;
}

bool CountUserObjects(HANDLE process, DWORD processId, ProcessObjects* objects) {
    if (CountGuiResources(process, kUserObjects, &objects->user)) {
        objects->userFrom = "GetGuiResources";
        return true;
    }
    DWORD windows = 0;
    for (HWND top : ProcessTopLevelWindows(processId)) {
        WindowList below{processId, {}};
        EnumChildWindows(top, CollectIfOwned, reinterpret_cast<LPARAM>(&below));
        windows += 1 + static_cast<DWORD>(below.windows.size());
    }
    objects->user = windows;
    objects->userFrom = "the process's windows";
    return true;
}

} // namespace

std::vector<HWND> ProcessTopLevelWindows(DWORD processId) {
    WindowList list{processId, {}};
    EnumWindows(CollectIfOwned, reinterpret_cast<LPARAM>(&list));
    HWND messageOnly = nullptr;
    while ((messageOnly = FindWindowExW(HWND_MESSAGE, messageOnly, nullptr, nullptr)) != nullptr)
        CollectIfOwned(messageOnly, reinterpret_cast<LPARAM>(&list));
    return list.windows;
}

bool CountProcessObjects(DWORD processId, ProcessObjects* objects, std::string* error) {
    ProcessHandle process(processId);
    if (process.Get() == nullptr) {
        *error = "process " + std::to_string(processId) + " cannot be opened";
        return false;
    }
    if (!CountHandles(process.Get(), processId, objects)) {
        *error = "the handles of process " + std::to_string(processId) + " cannot be counted";
        return false;
    }
    if (!CountGdiObjects(process.Get(), objects)) {
        *error = "the GDI objects of process " + std::to_string(processId) + " cannot be counted";
        return false;
    }
    if (!CountUserObjects(process.Get(), processId, objects)) {
        *error = "the USER objects of process " + std::to_string(processId) + " cannot be counted";
        return false;
    }
    return true;
}

} // namespace uidriver
