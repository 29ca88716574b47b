// The registry entries of the card's driver installation, value by value, on each Windows kind.
#include "DriverFile.h"
#include "DriverlibTestBase.h"

#include <vector>

namespace driverlib_test {
namespace {

using cardinstall::InstallPlan;
using cardinstall::WindowsKind;

struct Value {
    DWORD type = 0;
    std::vector<BYTE> data;
    bool found = false;
    std::string Text() const { return std::string(data.begin(), data.end()); }
    DWORD Number() const {
        return data.size() == 4 ? data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24 : 0xFFFFFFFF;
    }
};

Value Read(const std::string& key, const std::string& name) {
    Value v;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return v;
    BYTE data[512];
    DWORD size = sizeof data;
    if (RegQueryValueExA(h, name.c_str(), nullptr, &v.type, data, &size) == ERROR_SUCCESS) {
        v.found = true;
        v.data.assign(data, data + size);
    }
    RegCloseKey(h);
    return v;
}

std::string Sz(const char* text) {
    return std::string(text, std::strlen(text) + 1);
}

class CardInstallerTest : public DriverlibTestBase {};

TEST_F(CardInstallerTest, Windows2000ClassKeyWithTextParametersAndNdiParams) {
    InstallPlan plan;
    plan.kind = WindowsKind::Win2000;
    plan.cards = {{7, 0, ""}};
    Machine(hostsim::WindowsKind::Win2000, plan);
    const std::string key =
        "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007";
    EXPECT_EQ(Sz("pci\\ven_1260&dev_3873&subsys_5e0c7a93"), Read(key, "ComponentId").Text());
    EXPECT_EQ(Sz("IEEE802.11b WLAN PCI Card v2.5"), Read(key, "DriverDesc").Text());
    EXPECT_EQ(Sz(cardinstall::DefaultInstanceId(7).c_str()), Read(key, "NetCfgInstanceId").Text());
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), Read(key, "DSChannel").type);
    EXPECT_EQ(Sz("6"), Read(key, "DSChannel").Text());
    EXPECT_EQ(Sz("15"), Read(key, "TxRate").Text());
    EXPECT_EQ(Sz("any"), Read(key, "SSID").Text());
    EXPECT_EQ(Sz("2432"), Read(key, "FragThresh").Text());
    EXPECT_EQ(Sz("6"), Read(key + "\\Ndi\\params\\DSChannel", "default").Text());
    EXPECT_TRUE(Read(key + "\\Ndi\\params\\SSID", "ParamDesc").found);
    EXPECT_FALSE(Read(key + "\\Ndi\\params\\SSID", "").found) << "the unnamed value is the program's to set";
    EXPECT_FALSE(Read(key, "CurProfile").found);
}

TEST_F(CardInstallerTest, Nt4CardListAndServiceParametersAsNumbers) {
    InstallPlan plan;
    plan.kind = WindowsKind::NT4;
    plan.cards = {{3, 2, ""}};
    Machine(hostsim::WindowsKind::NT4, plan);
    const std::string entry = "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\3";
    EXPECT_EQ(Sz("IEEE802.11b WLAN PCI Card v2.5"), Read(entry, "Description").Text());
    EXPECT_EQ(Sz("RAZUR2"), Read(entry, "ServiceName").Text());
    const std::string params = "System\\CurrentControlSet\\Services\\RAZUR2\\Parameters";
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), Read(params, "DSChannel").type);
    EXPECT_EQ(6u, Read(params, "DSChannel").Number());
    EXPECT_EQ(15u, Read(params, "TxRate").Number());
    EXPECT_EQ(2432u, Read(params, "RTSThresh").Number());
    EXPECT_EQ(Sz("any"), Read(params, "SSID").Text());
    EXPECT_FALSE(Read(params + "\\Ndi\\params\\DSChannel", "default").found);
    EXPECT_FALSE(Read("System\\CurrentControlSet\\Services\\RAZUR1\\Parameters", "DSChannel").found);
}

TEST_F(CardInstallerTest, NineXMatchValuesAndDecoys) {
    InstallPlan plan;
    plan.kind = WindowsKind::Win98;
    plan.cards = {{4, 0, ""}};
    plan.decoys = {{cardinstall::DecoyKind::OtherAdapter, 0},
                   {cardinstall::DecoyKind::NearMiss, 1},
                   {cardinstall::DecoyKind::NameCase, 2}};
    plan.ndiParams = false;
    Machine(hostsim::WindowsKind::Win98, plan);
    const std::string net = "System\\CurrentControlSet\\Services\\Class\\Net\\";
    EXPECT_NE(std::string::npos,
              Read(net + "0004", "MatchingDeviceId").Text().find("PCI\\VEN_1260&DEV_3873&SUBSYS_5E0C7A93"));
    EXPECT_EQ(Sz("DIZOZUVA.ROR"), Read(net + "0004", "DeviceVxDs").Text());
    EXPECT_FALSE(Read(net + "0004\\Ndi\\params\\SSID", "default").found);
    EXPECT_EQ(Sz("pci\\ven_10ec&dev_8139"), Read(net + "0000", "MatchingDeviceId").Text());
    EXPECT_EQ(Sz("PCI\\VEN_1260&DEV_3873&SUBSYS_5E0C7A94"), Read(net + "0001", "MatchingDeviceId").Text());

    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, (net + "0002").c_str(), 0, KEY_READ, &h));
    char name[64];
    DWORD nameSize = sizeof name;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(h, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr));
    EXPECT_STREQ("matchingdeviceid", name) << "stored in the wrong letter case";
    RegCloseKey(h);

    InstallPlan clash = plan;
    clash.decoys = {{cardinstall::DecoyKind::OtherAdapter, 4}};
    EXPECT_EQ(ERROR_INVALID_PARAMETER, cardinstall::Install(clash).error);
    InstallPlan nt4Zero;
    nt4Zero.kind = WindowsKind::NT4;
    nt4Zero.cards = {{0, 0, ""}};
    EXPECT_EQ(ERROR_INVALID_PARAMETER, cardinstall::Install(nt4Zero).error) << "NT 4 card numbers start at 1";
}

// The driver file goes where the About page looks: the drivers folder on the NT family, the system
// directory on 9x; the stand-in then answers its version for that path and for the bare 9x name.
TEST_F(CardInstallerTest, TheDriverFileGoesWhereEachKindKeepsIt) {
    std::string error;
    hostsim::SetWindowsKind(hostsim::WindowsKind::Win2000);
    ASSERT_TRUE(cardinstall::PlaceDriverFile(WindowsKind::Win2000, "5.10.3.7", &error)) << error;
    char directory[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryA(directory, sizeof directory), 0u);
    EXPECT_EQ(std::string(directory) + "\\Drivers\\DAVARIVU.SYS",
              cardinstall::DriverFilePath(WindowsKind::Win2000));
    DWORD handle = 0;
    EXPECT_GT(GetFileVersionInfoSizeA((std::string(directory) + "\\drivers\\davarivu.sys").c_str(), &handle),
              0u);

    hostsim::SetWindowsKind(hostsim::WindowsKind::Win98);
    ASSERT_TRUE(cardinstall::PlaceDriverFile(WindowsKind::Win98, "5.10.3.7", &error)) << error;
    EXPECT_GT(GetFileVersionInfoSizeA("DIZOZUVA.ROR", &handle), 0u);

    EXPECT_FALSE(cardinstall::PlaceDriverFile(WindowsKind::Win98, "5.10", &error));
    EXPECT_EQ("'5.10' is not a file version (a.b.c.d)", error);
}

} // namespace
} // namespace driverlib_test
