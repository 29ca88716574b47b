// The driver file's version: which file each platform asks for, how its four numbers are written, and that
// a file that cannot be read leaves the text as it was.
#include <gtest/gtest.h>

#include <win32api.h>

#include "hostsim/System.h"
#include "pages/AboutPage.h"

namespace {

const char kNtDriver[] = "C:\\WINNT\\system32\\Drivers\\DAVARIVU.SYS";
const char k9xDriver[] = "C:\\WINDOWS\\SYSTEM\\DIZOZUVA.ROR";

class DriverVersionTest : public ::testing::Test {
protected:
    DriverVersionTest() { hostsim::ResetSystem(); }
    ~DriverVersionTest() override { hostsim::ResetSystem(); }

    CString ReadOn(DWORD dwPlatformId) {
        m_page.m_OsVersion.dwPlatformId = dwPlatformId;
        m_page.ReadDriverFileVersion();
        return m_page.m_strMiniportVersion;
    }

    CAboutPage m_page;
};

TEST_F(DriverVersionTest, TheNtFamilyReadsTheDriversFolderAndWritesPlainNumbers) {
    ASSERT_TRUE(hostsim::SetFileVersion(kNtDriver, "1.5.0.3"));
    ASSERT_TRUE(hostsim::SetFileVersion(k9xDriver, "9.9.9.9"));
    EXPECT_EQ("1.5.0.3", ReadOn(VER_PLATFORM_WIN32_NT).str());
    EXPECT_EQ(0x00010005u, m_page.m_FixedFileInfo.dwFileVersionMS);
    EXPECT_EQ(0x00000003u, m_page.m_FixedFileInfo.dwFileVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VS_FFI_SIGNATURE), m_page.m_FixedFileInfo.dwSignature);
}

TEST_F(DriverVersionTest, TheNtFamilyFollowsTheSystemDirectory) {
    hostsim::SetSystemDirectory("D:\\NT\\system32");
    ASSERT_TRUE(hostsim::SetFileVersion(kNtDriver, "1.5.0.3"));
    EXPECT_EQ("Unknown", ReadOn(VER_PLATFORM_WIN32_NT).str());
    ASSERT_TRUE(hostsim::SetFileVersion("d:\\nt\\SYSTEM32\\drivers\\davarivu.sys", "2.0.10.300"));
    EXPECT_EQ("2.0.10.300", ReadOn(VER_PLATFORM_WIN32_NT).str());
}

TEST_F(DriverVersionTest, Windows9xFindsTheBareFileNameAndPadsTheLastThreeNumbers) {
    hostsim::SetWindowsKind(hostsim::WindowsKind::Win98);
    ASSERT_TRUE(hostsim::SetFileVersion(k9xDriver, "1.5.0.3"));
    ASSERT_TRUE(hostsim::SetFileVersion(kNtDriver, "9.9.9.9"));
    EXPECT_EQ("1.05.00.03", ReadOn(VER_PLATFORM_WIN32_WINDOWS).str());
    ASSERT_TRUE(hostsim::SetFileVersion(k9xDriver, "4.123.65535.7"));
    EXPECT_EQ("4.123.65535.07", ReadOn(VER_PLATFORM_WIN32_WINDOWS).str());
}

TEST_F(DriverVersionTest, AnotherPlatformReadsNothing) {
    ASSERT_TRUE(hostsim::SetFileVersion(kNtDriver, "1.5.0.3"));
    ASSERT_TRUE(hostsim::SetFileVersion("DIZOZUVA.ROR", "1.5.0.3"));
    EXPECT_EQ("Unknown", ReadOn(VER_PLATFORM_WIN32s).str());
}

TEST_F(DriverVersionTest, AFileThatCannotBeReadKeepsTheTextOfTheLastVisit) {
    EXPECT_EQ("Unknown", ReadOn(VER_PLATFORM_WIN32_NT).str());
    ASSERT_TRUE(hostsim::SetFileVersion(kNtDriver, "1.5.0.3"));
    EXPECT_EQ("1.5.0.3", ReadOn(VER_PLATFORM_WIN32_NT).str());
    ASSERT_TRUE(hostsim::SetFileVersion(kNtDriver, "")); // the file stays, without version information
    EXPECT_EQ("1.5.0.3", ReadOn(VER_PLATFORM_WIN32_NT).str());
    hostsim::RemoveFile(kNtDriver);
    EXPECT_EQ("1.5.0.3", ReadOn(VER_PLATFORM_WIN32_NT).str());
}

// The stand-in answers as Windows does for what the page relies on.
TEST(FileVersionInformation, AnswersSizeBlockAndFixedPartOnlyForAFileWithAVersion) {
    hostsim::ResetSystem();
    DWORD dwHandle = 7;
    EXPECT_EQ(0u, ::GetFileVersionInfoSizeA(kNtDriver, &dwHandle));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), ::GetLastError());
    EXPECT_EQ(0u, dwHandle);
    ASSERT_TRUE(hostsim::SetFileVersion(kNtDriver, ""));
    EXPECT_EQ(0u, ::GetFileVersionInfoSizeA(kNtDriver, &dwHandle));
    EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND), ::GetLastError());

    ASSERT_TRUE(hostsim::SetFileVersion(kNtDriver, "5.1.2.3"));
    const DWORD cbInfo = ::GetFileVersionInfoSizeA(kNtDriver, &dwHandle);
    ASSERT_GE(cbInfo, sizeof(VS_FIXEDFILEINFO));
    std::vector<BYTE> block(cbInfo);
    ASSERT_TRUE(::GetFileVersionInfoA(kNtDriver, dwHandle, cbInfo, block.data()));
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT cbFixed = 0;
    EXPECT_FALSE(
        ::VerQueryValueA(block.data(), "\\StringFileInfo", reinterpret_cast<LPVOID*>(&pFixed), &cbFixed));
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<LPVOID*>(&pFixed), &cbFixed));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), cbFixed);
    EXPECT_GE(reinterpret_cast<BYTE*>(pFixed), block.data());
    EXPECT_LE(reinterpret_cast<BYTE*>(pFixed) + cbFixed, block.data() + block.size());
    EXPECT_EQ(0x00050001u, pFixed->dwFileVersionMS);
    EXPECT_EQ(0x00020003u, pFixed->dwFileVersionLS);

    EXPECT_FALSE(hostsim::SetFileVersion(kNtDriver, "5.1.2"));
    EXPECT_FALSE(hostsim::SetFileVersion(kNtDriver, "5.1.2.65536"));
    EXPECT_FALSE(hostsim::SetFileVersion(kNtDriver, "5.1.2.3x"));
    hostsim::ResetSystem();
    EXPECT_EQ(0u, ::GetFileVersionInfoSizeA(kNtDriver, &dwHandle));
}

} // namespace
