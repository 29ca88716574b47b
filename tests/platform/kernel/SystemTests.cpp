// The simulated system of the host stand-ins (hostsim/System.h): the Windows kind GetVersionExA reports,
// the system directory, and what the program tells the system, recorded in order with its thread.
#include <win32api.h>

#include "TestClock.h"
#include "hostsim/System.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using hostsim::SystemRecord;
using hostsim::WindowsKind;
using testsupport::TestClock;

namespace {

std::string SystemDirectory() {
    char buffer[MAX_PATH];
    const UINT n = GetSystemDirectoryA(buffer, sizeof(buffer));
    return std::string(buffer, n);
}

struct KindCase {
    WindowsKind kind;
    const char* name; // as the runner's --kind and the scenario headers spell it
    DWORD platform;
    DWORD major;
    DWORD minor;
    const char* systemDirectory;
};

const KindCase kKinds[] = {
    {WindowsKind::Win95, "win95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, "C:\\WINDOWS\\SYSTEM"},
    {WindowsKind::Win98, "win98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, "C:\\WINDOWS\\SYSTEM"},
    {WindowsKind::NT4, "nt4", VER_PLATFORM_WIN32_NT, 4, 0, "C:\\WINNT\\system32"},
    {WindowsKind::Win2000, "win2000", VER_PLATFORM_WIN32_NT, 5, 0, "C:\\WINNT\\system32"},
    {WindowsKind::NtOther, "ntother", VER_PLATFORM_WIN32_NT, 6, 1, "C:\\WINNT\\system32"},
    {WindowsKind::Win32s, "win32s", VER_PLATFORM_WIN32s, 3, 10, "C:\\WINDOWS\\SYSTEM"},
};

TEST(System, EachWindowsKindAnswersAsThatWindows) {
    TestClock clock;
    EXPECT_EQ(hostsim::GetWindowsKind(), WindowsKind::Win2000); // a fresh system
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(c.name);
        hostsim::SetWindowsKind(c.kind);
        OSVERSIONINFOEXA info;
        std::memset(&info, 0xAB, sizeof(info));
        info.dwOSVersionInfoSize = 148;
        ASSERT_TRUE(GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&info)));
        EXPECT_EQ(info.dwPlatformId, c.platform);
        EXPECT_EQ(info.dwMajorVersion, c.major);
        EXPECT_EQ(info.dwMinorVersion, c.minor);
        EXPECT_LT(std::strlen(info.szCSDVersion), sizeof(info.szCSDVersion));

        // Only the NT family takes the extended record.
        const bool nt = c.platform == VER_PLATFORM_WIN32_NT;
        EXPECT_EQ(hostsim::IsNtFamily(c.kind), nt);
        info.dwOSVersionInfoSize = sizeof(info);
        EXPECT_EQ(GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&info)) != FALSE, nt);
        if (nt) {
            EXPECT_EQ(info.wProductType, VER_NT_WORKSTATION);
        }

        EXPECT_EQ(SystemDirectory(), c.systemDirectory);
        EXPECT_STREQ(hostsim::WindowsKindName(c.kind), c.name);
        WindowsKind parsed = c.kind == WindowsKind::Win95 ? WindowsKind::Win98 : WindowsKind::Win95;
        EXPECT_TRUE(hostsim::ParseWindowsKind(c.name, &parsed));
        EXPECT_EQ(parsed, c.kind);
    }
    WindowsKind parsed = WindowsKind::Win95;
    EXPECT_TRUE(hostsim::ParseWindowsKind("Win2000", &parsed)); // letter case does not matter
    EXPECT_EQ(parsed, WindowsKind::Win2000);
    EXPECT_FALSE(hostsim::ParseWindowsKind("winxp", &parsed));
}

TEST(System, ASetSystemDirectoryHoldsUntilTheSystemIsReset) {
    TestClock clock;
    hostsim::SetSystemDirectory("D:\\W2K\\system32");
    hostsim::SetWindowsKind(WindowsKind::Win98);
    EXPECT_EQ(SystemDirectory(), "D:\\W2K\\system32");
    EXPECT_EQ(GetSystemDirectoryA(nullptr, 0), 16u);
    hostsim::ResetSystem();
    EXPECT_EQ(SystemDirectory(), "C:\\WINNT\\system32");
}

DWORD WINAPI SayFromThread(LPVOID param) {
    OutputDebugStringA(static_cast<const char*>(param));
    return 0;
}

TEST(System, WhatTheProgramTellsTheSystemIsKeptInOrderWithItsThread) {
    TestClock clock;
    OutputDebugStringA("first\n");
    HANDLE t = CreateThread(nullptr, 0, SayFromThread, const_cast<char*>("ndis request faile\n"), 0, nullptr);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    EXPECT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "{ADAPTER}", "\\Device\\{ADAPTER}"));
    EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
    SetLastError(0);
    EXPECT_FALSE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, nullptr, "\\Device\\X"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    OutputDebugStringA("last");

    const std::vector<std::string> expected = {"first\n", "ndis request faile\n", "last"};
    EXPECT_EQ(hostsim::DebugStrings(), expected);
    const std::vector<SystemRecord> records = hostsim::SystemRecords();
    ASSERT_EQ(records.size(), 5u);
    const SystemRecord::Kind kinds[] = {SystemRecord::Kind::DebugString, SystemRecord::Kind::DebugString,
                                        SystemRecord::Kind::DosDevice, SystemRecord::Kind::Beep,
                                        SystemRecord::Kind::DebugString};
    const DWORD threads[] = {1, 2, 1, 1, 1};
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].kind, kinds[i]) << i;
        EXPECT_EQ(records[i].threadId, threads[i]) << i;
    }
    EXPECT_EQ(records[2].text, "1 {ADAPTER} -> \\Device\\{ADAPTER}");
    EXPECT_EQ(records[2].value, DDD_RAW_TARGET_PATH);
    EXPECT_EQ(records[3].value, MB_ICONEXCLAMATION);

    hostsim::ClearSystemRecords();
    EXPECT_TRUE(hostsim::SystemRecords().empty());
}

TEST(System, TheSinkSeesEachRecordAsItHappens) {
    TestClock clock;
    std::vector<std::string> seen;
    hostsim::SetSystemRecordSink([&](const SystemRecord& r) {
        // Called on the thread that made the record; the record is already kept.
        seen.push_back(std::to_string(r.threadId) + " " + r.text + " " +
                       std::to_string(hostsim::SystemRecords().size()));
    });
    OutputDebugStringA("one");
    DefineDosDeviceA(0, "X", "Y");
    const std::vector<std::string> expected = {"1 one 1", "1 0 X -> Y 2"};
    EXPECT_EQ(seen, expected);
    hostsim::ResetSystem(); // drops the sink
    OutputDebugStringA("unseen");
    EXPECT_EQ(seen.size(), 2u);
}

} // namespace
