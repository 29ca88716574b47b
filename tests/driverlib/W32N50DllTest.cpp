// W32N50.dll under Windows (Wine): its exports, and a card found through the machine's registry and
// answering through the DLL, configured from the environment as in a real run.
#include "CardInstaller.h"
#include "W32N50.h"
#include "simcard/Bytes.h"
#include "simcard/Ndis.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string TempPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

TEST(W32N50Dll, ExportsTheFiveCallsByTheirPlainNames) {
    HMODULE dll = GetModuleHandleA("W32N50.dll");
    ASSERT_NE(nullptr, dll);
    for (const char* name : {"W32N_IsWindowsNT", "W32N_GetAdapterRegistryInfoBySubkeyIndex",
                             "W32N_OpenAdapterA", "W32N_MakeNdisRequest", "W32N_CloseAdapter"})
        EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(dll, name))) << name;
    EXPECT_NE(0, W32N_IsWindowsNT() & 0xFF);
}

TEST(W32N50Dll, FindsOpensAndQueriesTheInstalledCard) {
    const std::string guid = "{5E0C7A93-0000-4000-8000-00000000DD27}";
    const std::string world = TempPath("w32n50_dll_test.world");
    const std::string trace = TempPath("w32n50_dll_test.trace");
    std::ofstream(world) << "card bind=" << guid << " mac=00:60:B3:27:27:27 join-delay=0\n"
                         << "ap name=ap ssid=TEST bssid=00:11:22:33:44:55 channel=6 signal=30\n";
    std::remove(trace.c_str());
    SetEnvironmentVariableA("W32N_WORLD", world.c_str());
    SetEnvironmentVariableA("W32N_TRACE", trace.c_str());

    cardinstall::InstallPlan plan;
    plan.kind = cardinstall::WindowsKind::Win2000;
    plan.cards = {{27, 0, guid}};
    plan.ndiParams = false;
    ASSERT_EQ(ERROR_SUCCESS, cardinstall::Install(plan).error);

    W32N_ADAPTER_REGISTRY_INFO info;
    ASSERT_EQ(0u, W32N_GetAdapterRegistryInfoBySubkeyIndex(27, &info));
    EXPECT_EQ(guid, info.DeviceName);
    HANDLE h = W32N_OpenAdapterA(("\\Device\\" + std::string(info.DeviceName)).c_str());
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_EQ(INVALID_HANDLE_VALUE, W32N_OpenAdapterA("\\Device\\{NO-CARD-HERE}"));

    std::uint8_t mac[6] = {};
    W32N_REQUEST record;
    std::memset(&record, 0, sizeof record);
    record.RequestType = W32N_QUERY_INFORMATION;
    record.Oid = simcard::oid::kCurrentAddress;
    record.InformationBuffer = mac;
    record.InformationBufferLength = 6;
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(0u, W32N_MakeNdisRequest(h, &record, &overlapped, 1));
    EXPECT_EQ(6u, record.BytesWritten);
    EXPECT_EQ("0060B3272727", simcard::FormatHex(mac, 6));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(overlapped.hEvent, 0));
    CloseHandle(overlapped.hEvent);

    std::uint8_t link[2] = {};
    record.Oid = simcard::oid::kLinkState;
    record.InformationBuffer = link;
    record.InformationBufferLength = 2;
    EXPECT_EQ(0u, W32N_MakeNdisRequest(h, &record, nullptr, 1));
    EXPECT_EQ(1, simcard::GetU16(link)) << "joined at once with join-delay=0";
    W32N_CloseAdapter(h);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), W32N_MakeNdisRequest(h, &record, nullptr, 1));

    std::ifstream in(trace);
    std::ostringstream lines;
    lines << in.rdbuf();
    EXPECT_NE(std::string::npos, lines.str().find("query 0x01010102 in=6 out=6 status=0x00000000"))
        << lines.str();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, cardinstall::AdapterKeyPath(plan.kind, 27).c_str());
    std::remove(world.c_str());
}

} // namespace
