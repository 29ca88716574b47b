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

struct VersionCase {
    WindowsKind kind;
    DWORD platform;
    DWORD major;
    DWORD minor;
};

const VersionCase kVersions[] = {
    {WindowsKind::Win95, VER_PLATFORM_WIN32_WINDOWS, 4, 0},
    {WindowsKind::Win98, VER_PLATFORM_WIN32_WINDOWS, 4, 10},
    {WindowsKind::NT4, VER_PLATFORM_WIN32_NT, 4, 0},
    {WindowsKind::Win2000, VER_PLATFORM_WIN32_NT, 5, 0},
    {WindowsKind::NtOther, VER_PLATFORM_WIN32_NT, 6, 1},
    {WindowsKind::Win32s, VER_PLATFORM_WIN32s, 3, 10},
};

TEST(System, GetVersionExAAnswersTheChosenWindows) {
    TestClock clock;
    EXPECT_EQ(hostsim::GetWindowsKind(), WindowsKind::Win2000); // a fresh system
    for (const VersionCase& c : kVersions) {
        hostsim::SetWindowsKind(c.kind);
        OSVERSIONINFOA info;
        std::memset(&info, 0xAB, sizeof(info));
        info.dwOSVersionInfoSize = 148;
        ASSERT_TRUE(GetVersionExA(&info)) << hostsim::WindowsKindName(c.kind);
        EXPECT_EQ(info.dwPlatformId, c.platform) << hostsim::WindowsKindName(c.kind);
        EXPECT_EQ(info.dwMajorVersion, c.major) << hostsim::WindowsKindName(c.kind);
        EXPECT_EQ(info.dwMinorVersion, c.minor) << hostsim::WindowsKindName(c.kind);
        EXPECT_LT(std::strlen(info.szCSDVersion), sizeof(info.szCSDVersion));

        info.dwOSVersionInfoSize = 147;
        info.dwMajorVersion = 99;
        EXPECT_FALSE(GetVersionExA(&info));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_EQ(info.dwMajorVersion, 99u);
    }
}

TEST(System, OnlyTheNtFamilyTakesTheExtendedVersionRecord) {
    TestClock clock;
    for (const VersionCase& c : kVersions) {
        hostsim::SetWindowsKind(c.kind);
        OSVERSIONINFOEXA ex;
        std::memset(&ex, 0, sizeof(ex));
        ex.dwOSVersionInfoSize = sizeof(ex);
        const BOOL ok = GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&ex));
        EXPECT_EQ(ok != FALSE, hostsim::IsNtFamily(c.kind)) << hostsim::WindowsKindName(c.kind);
        if (ok) {
            EXPECT_EQ(ex.wProductType, VER_NT_WORKSTATION);
        }
    }
}

TEST(System, WindowsKindsHaveNames) {
    for (const VersionCase& c : kVersions) {
        WindowsKind parsed = WindowsKind::Win32s;
        EXPECT_TRUE(hostsim::ParseWindowsKind(hostsim::WindowsKindName(c.kind), &parsed));
        EXPECT_EQ(parsed, c.kind);
        EXPECT_EQ(hostsim::IsNtFamily(c.kind), c.platform == VER_PLATFORM_WIN32_NT);
    }
    WindowsKind parsed = WindowsKind::Win95;
    EXPECT_TRUE(hostsim::ParseWindowsKind("Win2000", &parsed));
    EXPECT_EQ(parsed, WindowsKind::Win2000);
    EXPECT_FALSE(hostsim::ParseWindowsKind("winxp", &parsed));
    EXPECT_EQ(std::string(hostsim::WindowsKindName(WindowsKind::NT4)), "nt4");
}

std::string SystemDirectory() {
    char buffer[MAX_PATH];
    const UINT n = GetSystemDirectoryA(buffer, sizeof(buffer));
    return std::string(buffer, n);
}

TEST(System, SystemDirectoryFollowsTheWindowsKindUnlessSet) {
    TestClock clock;
    EXPECT_EQ(SystemDirectory(), "C:\\WINNT\\system32");
    hostsim::SetWindowsKind(WindowsKind::Win98);
    EXPECT_EQ(SystemDirectory(), "C:\\WINDOWS\\SYSTEM");
    hostsim::SetWindowsKind(WindowsKind::NT4);
    EXPECT_EQ(SystemDirectory(), "C:\\WINNT\\system32");
    hostsim::SetSystemDirectory("D:\\W2K\\system32");
    EXPECT_EQ(SystemDirectory(), "D:\\W2K\\system32");
    EXPECT_EQ(GetSystemDirectoryA(nullptr, 0), 16u);
    hostsim::ResetSystem();
    EXPECT_EQ(SystemDirectory(), "C:\\WINNT\\system32");
}

DWORD WINAPI SayFromThread(LPVOID param) {
    OutputDebugStringA(static_cast<const char*>(param));
    return 0;
}

TEST(System, DebugStringsAreKeptInOrderWithTheirThreads) {
    TestClock clock;
    OutputDebugStringA("first\n");
    HANDLE t = CreateThread(nullptr, 0, SayFromThread, const_cast<char*>("ndis request faile\n"), 0, nullptr);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    OutputDebugStringA("last");

    const std::vector<std::string> expected = {"first\n", "ndis request faile\n", "last"};
    EXPECT_EQ(hostsim::DebugStrings(), expected);
    const std::vector<SystemRecord> records = hostsim::SystemRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].threadId, 1u);
    EXPECT_EQ(records[1].threadId, 2u);
    EXPECT_EQ(records[2].threadId, 1u);
    for (const SystemRecord& r : records)
        EXPECT_EQ(r.kind, SystemRecord::Kind::DebugString);

    hostsim::ClearSystemRecords();
    EXPECT_TRUE(hostsim::SystemRecords().empty());
}

TEST(System, DosDeviceDefinitionsAndBeepsAreRecorded) {
    TestClock clock;
    EXPECT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "{ADAPTER}", "\\Device\\{ADAPTER}"));
    EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
    SetLastError(0);
    EXPECT_FALSE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, nullptr, "\\Device\\X"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    OutputDebugStringA("after");

    const std::vector<SystemRecord> records = hostsim::SystemRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].kind, SystemRecord::Kind::DosDevice);
    EXPECT_EQ(records[0].text, "1 {ADAPTER} -> \\Device\\{ADAPTER}");
    EXPECT_EQ(records[0].value, DDD_RAW_TARGET_PATH);
    EXPECT_EQ(records[0].threadId, 1u);
    EXPECT_EQ(records[1].kind, SystemRecord::Kind::Beep);
    EXPECT_EQ(records[1].value, MB_ICONEXCLAMATION);
    EXPECT_EQ(records[2].kind, SystemRecord::Kind::DebugString);
    EXPECT_TRUE(hostsim::DebugStrings() == std::vector<std::string>{"after"});
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
