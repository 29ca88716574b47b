// Start-up decides from the Windows version where discovery looks for the card.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/Globals.h"
#include "app/WindowsKind.h"
#include "hostsim/System.h"

namespace {

struct KindCase {
    hostsim::WindowsKind answer;
    BOOL result;
    BYTE kind;
    const char* classKey;
    const char* matchValue;
};

class WindowsKindTest : public ::testing::TestWithParam<KindCase> {
protected:
    void SetUp() override {
        // Leftovers of an earlier detection must not make a later one look right.
        g_nOsKind = 0xEE;
        std::strcpy(g_szClassKeyPath, "stale");
        std::strcpy(g_szMatchValueName, "stale");
    }
    void TearDown() override { hostsim::ResetSystem(); }
};

TEST_P(WindowsKindTest, SetsKindAndRegistryNames) {
    const KindCase& c = GetParam();
    hostsim::SetWindowsKind(c.answer);
    g_nOsKind = 0;
    g_szClassKeyPath[0] = '\0';
    g_szMatchValueName[0] = '\0';

    EXPECT_EQ(c.result, DetectWindowsKind());
    EXPECT_EQ(c.kind, g_nOsKind.load());
    EXPECT_EQ(std::string(c.classKey), g_szClassKeyPath);
    EXPECT_EQ(std::string(c.matchValue), g_szMatchValueName);
}

const KindCase kCases[] = {
    {hostsim::WindowsKind::Win2000, TRUE, OSKIND_WIN2000,
     "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\", "ComponentId"},
    {hostsim::WindowsKind::NT4, TRUE, OSKIND_NT4, "System\\CurrentControlSet\\Services\\", "Description"},
    {hostsim::WindowsKind::Win95, TRUE, OSKIND_WIN95, "System\\CurrentControlSet\\Services\\Class\\Net\\",
     "DriverDesc"},
    {hostsim::WindowsKind::Win98, TRUE, OSKIND_WIN98, "System\\CurrentControlSet\\Services\\Class\\Net\\",
     "MatchingDeviceId"},
    // Another NT version: the program runs but can never find an adapter.
    {hostsim::WindowsKind::NtOther, TRUE, OSKIND_UNSUPPORTED, "", ""},
    // Neither family: start-up ends.
    {hostsim::WindowsKind::Win32s, FALSE, OSKIND_UNSUPPORTED, "", ""},
};

INSTANTIATE_TEST_SUITE_P(AllAnswers, WindowsKindTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<KindCase>& info) {
                             return std::string(hostsim::WindowsKindName(info.param.answer));
                         });

} // namespace
