// Host-only behaviour: the 9x delete rule, loading over open handles, resets, use from several threads,
// refusals to a user who may not write.
#include "HostRegistryTest.h"

#include <atomic>
#include <thread>

using RegistryHostTest = HostRegistryTest;

TEST_F(RegistryHostTest, NineXFamilyDeletesAKeyWithEverythingBelowItAndTheNtFamilyOnlyLeaves) {
    for (const auto kind : {hostsim::WindowsKind::Win95, hostsim::WindowsKind::Win98,
                            hostsim::WindowsKind::NT4, hostsim::WindowsKind::Win2000}) {
        SCOPED_TRACE(hostsim::WindowsKindName(kind));
        hostsim::ResetRegistry();
        hostsim::SetWindowsKind(kind);
        const bool nineX = !hostsim::IsNtFamily(kind);
        HKEY deep = Create(HKEY_LOCAL_MACHINE, "Net\\0000\\Profile\\home\\deeper");
        Set(deep, "v", REG_SZ, "1");
        EXPECT_EQ(nineX ? ERROR_SUCCESS : ERROR_ACCESS_DENIED,
                  RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Net\\0000\\Profile"));
        HKEY key = nullptr;
        EXPECT_EQ(nineX ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS,
                  RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Net\\0000\\Profile", 0, KEY_READ, &key));
        RegCloseKey(key);
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Net\\0000", 0, KEY_READ, &key));
        RegCloseKey(key);
        EXPECT_EQ(nineX ? "missing" : "1:1", Read(deep, "v"));
        EXPECT_EQ(nineX ? ERROR_KEY_DELETED : ERROR_SUCCESS,
                  RegQueryValueExA(deep, "v", nullptr, nullptr, nullptr, nullptr));
        RegCloseKey(deep);
        // A root is never deleted, whatever the kind.
        EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(HKEY_LOCAL_MACHINE, ""));
        EXPECT_NE("", hostsim::DumpRegistryKey("HKEY_LOCAL_MACHINE\\Net"));
    }
}

TEST_F(RegistryHostTest, LoadingNewContentLeavesOldHandlesStale) {
    HKEY old = Create(HKEY_LOCAL_MACHINE, "Same");
    std::string error;
    ASSERT_TRUE(hostsim::LoadRegistryText("wlan-registry 1\n[HKEY_LOCAL_MACHINE\\Same]\n\"v\" = sz \"new\"\n",
                                          "t", &error))
        << error;
    EXPECT_EQ(ERROR_KEY_DELETED, RegQueryValueExA(old, "v", nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(old));
    HKEY fresh = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Same", 0, KEY_READ, &fresh));
    EXPECT_EQ("1:new", Read(fresh, "v"));

    hostsim::ResetRegistry();
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(fresh)) << "a reset closes every handle";
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Same", 0, KEY_READ, &fresh));
}

TEST_F(RegistryHostTest, RefusalsDenyWritingAKeyOrAValueAndCountWhatTheyRefused) {
    HKEY params = Create(HKEY_LOCAL_MACHINE, "Net\\0007");
    std::vector<std::string> refused;
    hostsim::SetRegistryRefusalObserver(
        [&refused](const hostsim::RegistryRefused& r) { refused.push_back(r.what + " " + r.rule); });
    hostsim::ArmRegistryRefusal(
        {"HKEY_LOCAL_MACHINE\\NET\\0007\\Profile", {}, true, 5, 0, false, "profiles"});
    hostsim::ArmRegistryRefusal(
        {"HKEY_LOCAL_MACHINE\\Net\\0007", std::string("ssid"), false, 5, 1, false, "ssid"});
    HKEY key = nullptr;
    // Reading goes on; writing the key, or making one below it, does not, however the path is reached.
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegCreateKeyExA(params, "Profile\\home", 0, nullptr, 0, KEY_ALL_ACCESS,
                                                   nullptr, &key, nullptr));
    EXPECT_EQ("missing",
              hostsim::DumpRegistryKey("HKEY_LOCAL_MACHINE\\Net\\0007\\Profile").empty() ? "missing" : "made")
        << "nothing is made of a refused path";
    hostsim::ClearRegistryRefusals();
    key = Create(params, "Profile\\home");
    RegCloseKey(key);
    hostsim::ArmRegistryRefusal(
        {"HKEY_LOCAL_MACHINE\\NET\\0007\\Profile", {}, true, 5, 0, false, "profiles"});
    hostsim::ArmRegistryRefusal(
        {"HKEY_LOCAL_MACHINE\\Net\\0007", std::string("ssid"), false, 5, 1, false, "ssid"});
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(params, "Profile\\home", 0, KEY_READ, &key));
    RegCloseKey(key);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExA(params, "Profile\\home", 0, KEY_ALL_ACCESS, &key));
    EXPECT_EQ(nullptr, key);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(params, "Profile\\home"));
    // A refused value: once (times=1), by name without regard to letter case; the others are written.
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              RegSetValueExA(params, "SSID", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 1));
    Set(params, "TxRate", REG_SZ, "15");
    Set(params, "SSID", REG_SZ, "y");
    EXPECT_EQ("1:y", Read(params, "SSID"));
    // The administrator's thread is refused nothing.
    hostsim::SetRegistryAdministratorThread(GetCurrentThreadId());
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(params, "Profile\\home", 0, KEY_ALL_ACCESS, &key));
    RegCloseKey(key);
    hostsim::SetRegistryAdministratorThread(0);

    const std::vector<hostsim::ArmedRegistryRefusal> armed = hostsim::RegistryRefusals();
    ASSERT_EQ(2u, armed.size());
    EXPECT_EQ(2u, armed[0].fired);
    EXPECT_EQ(1u, armed[1].fired);
    EXPECT_EQ(
        (std::vector<std::string>{"create [HKEY_LOCAL_MACHINE\\Net\\0007\\Profile\\home] profiles",
                                  "open [HKEY_LOCAL_MACHINE\\Net\\0007\\Profile\\home] for writing profiles",
                                  "delete [HKEY_LOCAL_MACHINE\\Net\\0007\\Profile\\home] profiles",
                                  "set [HKEY_LOCAL_MACHINE\\Net\\0007] \"SSID\" ssid"}),
        refused);
    EXPECT_EQ(1u, hostsim::OpenRegistryHandleCount()) << "only params is still open";
    RegCloseKey(params);
    EXPECT_EQ(0u, hostsim::OpenRegistryHandleCount());
}

TEST_F(RegistryHostTest, TwoThreadsWriteAndEnumerateTogether) {
    std::atomic<int> writes{0};
    hostsim::SetRegistryWriteObserver([&writes](const hostsim::RegistryWrite&) { ++writes; });
    HKEY shared = Create(HKEY_LOCAL_MACHINE, "Shared");
    constexpr int kRounds = 300;
    auto writer = [shared](const std::string& prefix) {
        for (int i = 0; i < kRounds; ++i) {
            const std::string name = prefix + std::to_string(i);
            HKEY own = Create(shared, name.c_str());
            Set(own, "n", REG_SZ, name);
            Set(shared, name, REG_SZ, name);
            EXPECT_EQ("1:" + name, Read(own, "n"));
            RegCloseKey(own);
            if (i % 2 == 1) {
                EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(shared, name.c_str()));
            }
        }
    };
    auto reader = [shared] {
        for (int round = 0; round < 20; ++round) {
            char name[64];
            BYTE data[64];
            for (DWORD i = 0;; ++i) {
                DWORD nameSize = sizeof name;
                DWORD dataSize = sizeof data;
                if (RegEnumValueA(shared, i, name, &nameSize, nullptr, nullptr, data, &dataSize) !=
                    ERROR_SUCCESS)
                    break;
                EXPECT_EQ(std::string(name), std::string(reinterpret_cast<char*>(data), dataSize));
            }
            hostsim::SaveRegistryText();
        }
    };
    std::thread a(writer, "a");
    std::thread b(writer, "b");
    std::thread c(reader);
    a.join();
    b.join();
    c.join();

    char name[64];
    DWORD keys = 0;
    while (RegEnumKeyA(shared, keys, name, sizeof name) == ERROR_SUCCESS)
        ++keys;
    EXPECT_EQ(static_cast<DWORD>(kRounds), keys) << "half of each writer's keys were deleted";
    // Per round: create key, two values, and every second round a delete.
    EXPECT_EQ(1 + 2 * (kRounds * 3 + kRounds / 2), writes.load());
}
