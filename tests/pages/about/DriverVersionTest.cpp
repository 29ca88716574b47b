// The driver file's version where no script reaches: a system directory elsewhere than the runner's, and a
// file that stays without version information. The versions shown on each Windows kind, and a file that
// goes, are the about-* scenarios.
#include <gtest/gtest.h>

#include <win32api.h>

#include "hostsim/System.h"
#include "pages/AboutPage.h"

namespace {

const char kNtDriver[] = "C:\\WINNT\\system32\\Drivers\\DAVARIVU.SYS";

class DriverVersionTest : public ::testing::Test {
protected:
    DriverVersionTest() { hostsim::ResetSystem(); }
    ~DriverVersionTest() override { hostsim::ResetSystem(); }

    CString ReadOnNt() {
        m_page.m_OsVersion.dwPlatformId = VER_PLATFORM_WIN32_NT;
        m_page.ReadDriverFileVersion();
        return m_page.m_strMiniportVersion;
    }

    CAboutPage m_page;
};

TEST_F(DriverVersionTest, TheNtFamilyFollowsTheSystemDirectory) {
    hostsim::SetSystemDirectory("D:\\NT\\system32");
    ASSERT_TRUE(hostsim::SetFileVersion(kNtDriver, "1.5.0.3"));
    EXPECT_EQ("Unknown", ReadOnNt().str());
    ASSERT_TRUE(hostsim::SetFileVersion("d:\\nt\\SYSTEM32\\drivers\\davarivu.sys", "2.0.10.300"));
    EXPECT_EQ("2.0.10.300", ReadOnNt().str());
}

TEST_F(DriverVersionTest, AFileWithoutVersionInformationKeepsTheTextOfTheLastVisit) {
    ASSERT_TRUE(hostsim::SetFileVersion(kNtDriver, "1.5.0.3"));
    EXPECT_EQ("1.5.0.3", ReadOnNt().str());
    ASSERT_TRUE(hostsim::SetFileVersion(kNtDriver, "")); // the file stays, without version information
    EXPECT_EQ("1.5.0.3", ReadOnNt().str());
}

} // namespace
