// The record of a device-node notification (WM_DEVICECHANGE with DBT_DEVICEARRIVAL or
// DBT_DEVICEREMOVECOMPLETE) as the program receives it: the DEV_BROADCAST_DEVNODE fields followed by the
// device's zero-terminated identifier, dbcd_size covering the identifier and its zero.
#pragma once
#include <win32api.h>

#include <cstdint>
#include <string>
#include <vector>

namespace runner {

// The card's device identifier as Windows reports it.
extern const char kCardDeviceId[];

class DeviceNotice {
public:
    // `deviceType` is the record's dbcd_devicetype: a device node (DBT_DEVTYP_DEVNODE) or any other type,
    // with the same fields after it.
    explicit DeviceNotice(const std::string& deviceId, std::uint32_t deviceType = DBT_DEVTYP_DEVNODE);
    LPARAM Param() const { return reinterpret_cast<LPARAM>(m_bytes.data()); }

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace runner
