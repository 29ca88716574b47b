// The device identifier of a device notification's record: read only inside the record and only when
// terminated there. What the main frame makes of it is the shell-device-ids-win98 scenario.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/DeviceIdentifier.h"

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

} // namespace
