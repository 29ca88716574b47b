// Device notifications to the main frame: which record names the card, and what the frame makes of it.
#include "ShellFixture.h"

#include <cstring>

#include "adapter/NdisRequests.h"
#include "app/DeviceIdentifier.h"

namespace shelltest {
namespace {

DEV_BROADCAST_DEVNODE_ID Record(const char* pszText, DWORD cbExtra = 1) {
    DEV_BROADCAST_DEVNODE_ID record;
    std::memset(&record, 'x', sizeof(record));
    record.Node.dbcd_devicetype = DBT_DEVTYP_DEVNODE;
    record.Node.dbcd_reserved = 0;
    record.Node.dbcd_devnode = 0x1234;
    const size_t cch = std::strlen(pszText);
    std::memcpy(record.szIdentifier, pszText, cch);
    record.szIdentifier[cch] = '\0';
    record.Node.dbcd_size = (DWORD)(offsetof(DEV_BROADCAST_DEVNODE_ID, szIdentifier) + cch + cbExtra);
    return record;
}

std::string Identifier(const DEV_BROADCAST_DEVNODE_ID& record, int cch = DEVICE_IDENTIFIER_SIZE) {
    char sz[DEVICE_IDENTIFIER_SIZE] = "unchanged";
    return GetDeviceIdentifier(reinterpret_cast<DWORD_PTR>(&record), sz, cch) ? std::string(sz) : "(none)";
}

TEST(DeviceIdentifierTest, TheIdentifierIsReadOnlyInsideTheRecordAndOnlyWhenTerminated) {
    EXPECT_EQ("PCI\\VEN_1260", Identifier(Record("PCI\\VEN_1260")));
    // The size stops one byte short of the zero: the text is not the record's.
    EXPECT_EQ("(none)", Identifier(Record("PCI\\VEN_1260", 0)));
    // Just the fixed fields: no device named.
    DEV_BROADCAST_DEVNODE_ID bare = Record("");
    bare.Node.dbcd_size = sizeof(DEV_BROADCAST_DEVNODE);
    EXPECT_EQ("(none)", Identifier(bare));
    // Another kind of device record.
    DEV_BROADCAST_DEVNODE_ID port = Record("COM1");
    port.Node.dbcd_devicetype = DBT_DEVTYP_PORT;
    EXPECT_EQ("(none)", Identifier(port));
    // Too long for the caller's buffer.
    EXPECT_EQ("(none)", Identifier(Record("PCI\\VEN_1260"), 5));
}

TEST_F(ShellTest, OnlyTheCardsArrivalInAnyLetterCaseAddsTheIcon) {
    OnSystem(hostsim::WindowsKind::Win98);
    InstallCard();
    LRESULT lOther = 0;
    Lines afterOther;
    Run([&] {
        ::Sleep(1000);
        lOther = SendDeviceChange(DBT_DEVICEARRIVAL, "PCI\\VEN_8086&DEV_1229&SUBSYS_00000000\\1");
        afterOther = TrayLog();
        SendDeviceChange(DBT_DEVICEARRIVAL, "pci\\ven_1260&dev_3873&subsys_5e0c7a93\\3&61aaa01&0&48");
        EXPECT_EQ(1, g_bCardPresent);
        ::PostMessageA(FrameWindow(), WM_COMMAND, ID_TRAY_EXIT, 0);
    });

    EXPECT_EQ(TRUE, lOther);
    EXPECT_EQ(Lines{}, afterOther);
    EXPECT_EQ((Lines{"add 187", "delete"}), TrayLog());
}

TEST_F(ShellTest, AChangeOfTheDeviceTreeMakesTheNextCheckAFullOne) {
    InstallCard();
    InsertCard();
    Lines trace;
    Run([&] {
        WaitFor([] { return hostui::GetTrayIcon().iconResource == 186; });
        SendDeviceChange(DBT_DEVNODES_CHANGED, "");
        EXPECT_EQ(1, g_bRecheckCard);
        TakeTrace();
        ::Sleep(1000);
        trace = TakeTrace();
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    ASSERT_EQ(3u, trace.size());
    EXPECT_NE(std::string::npos, trace[0].find("query 0x01010102 status=0x00000000"));
    EXPECT_NE(std::string::npos, trace[1].find("query 0xFF010199"));
    EXPECT_NE(std::string::npos, trace[2].find("query 0xFF010199"));
}

} // namespace
} // namespace shelltest
