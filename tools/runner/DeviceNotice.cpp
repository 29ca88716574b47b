#include "DeviceNotice.h"

#include <cstring>

namespace runner {

const char kCardDeviceId[] = "PCI\\VEN_1260&DEV_3873&SUBSYS_5E0C7A93&REV_01\\3&13C0B0C5&0&58";

DeviceNotice::DeviceNotice(const std::string& deviceId, std::uint32_t deviceType) {
    DEV_BROADCAST_DEVNODE header{};
    header.dbcd_size = static_cast<DWORD>(sizeof header + deviceId.size() + 1);
    header.dbcd_devicetype = deviceType;
    m_bytes.resize(header.dbcd_size);
    std::memcpy(m_bytes.data(), &header, sizeof header);
    std::memcpy(m_bytes.data() + sizeof header, deviceId.c_str(), deviceId.size() + 1);
}

} // namespace runner
