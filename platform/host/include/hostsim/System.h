// Control and inspection of the kernel stand-ins for tests and the host runner: which Windows the
// program runs on, and what it told the system (debugger output, DOS device definitions, beeps).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace hostsim {

// What GetVersionExA answers. NtOther is an NT-family system of an unknown major version; Win32s a platform
// that is neither the 9x nor the NT family.
enum class WindowsKind { Win95, Win98, NT4, Win2000, NtOther, Win32s };

void SetWindowsKind(WindowsKind kind);
WindowsKind GetWindowsKind();
bool IsNtFamily(WindowsKind kind);
const char* WindowsKindName(WindowsKind kind); // "win95", "win98", "nt4", "win2000", "ntother", "win32s"
bool ParseWindowsKind(const std::string& name, WindowsKind* kind);

// Things the program told the system, in order, with the thread that did it.
struct SystemRecord {
    enum class Kind { DebugString, DosDevice, Beep };
    Kind kind;
    std::uint32_t threadId;
    std::string text;    // debugger string, or "flags name -> target" of a DOS device definition
    std::uint32_t value; // MessageBeep sound; flags of a DOS device definition
};
std::vector<SystemRecord> SystemRecords();
std::vector<std::string> DebugStrings();
void ClearSystemRecords();
// Called on the calling thread for each new record (the host runner prints them as they happen).
void SetSystemRecordSink(std::function<void(const SystemRecord&)> sink);

void SetSystemDirectory(const std::string& path);

// Files that GetFileVersionInfoA can read (hostwin/version.h). `version` "a.b.c.d" (four numbers from 0 to
// 65535) gives the file that file and product version; an empty `version` makes a file without version
// information. False, and nothing changed, for any other text.
bool SetFileVersion(const std::string& path, const std::string& version);
void RemoveFile(const std::string& path);
void ClearFiles();

// Kernel handles open now (events, threads; not the current-process pseudo handle), for leak checks.
std::size_t OpenKernelHandleCount();

// Back to a fresh machine: Windows 2000, no records, no sink, the default system directory, no files.
void ResetSystem();

} // namespace hostsim
