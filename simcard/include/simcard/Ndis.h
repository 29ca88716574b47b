// What the card's driver speaks: NDIS status codes, the object identifiers of the requests it answers,
// the card record ids and configuration item codes carried inside the two envelopes, and link states.
#pragma once
#include <cstdint>

namespace simcard {

// Status codes. Zero is success; the others are NDIS status values, plus one code of the access
// library's own for a driver that never completes a request.
namespace status {
constexpr std::uint32_t kSuccess = 0x00000000u;
constexpr std::uint32_t kFailure = 0xC0000001u;
constexpr std::uint32_t kNotSupported = 0xC00000BBu;    // OID, record id or item code the card does not know
constexpr std::uint32_t kAdapterNotReady = 0xC0010011u; // suspended
constexpr std::uint32_t kAdapterNotOpen = 0xC0010012u;  // binding opened before a removal or power cycle
constexpr std::uint32_t kInvalidLength = 0xC0010014u;   // set: buffer shorter than the value needs
constexpr std::uint32_t kInvalidData = 0xC0010015u;     // set: value out of range
constexpr std::uint32_t kBufferTooShort = 0xC0010016u;  // query: buffer shorter than the answer
constexpr std::uint32_t kAdapterRemoved = 0xC0010018u;  // card taken out
constexpr std::uint32_t kRequestTimedOut = 0x00000102u; // the driver never answered (a mute card)
} // namespace status

namespace oid {
constexpr std::uint32_t kCurrentAddress = 0x01010102u;  // 802.3 current station address, 6 bytes
constexpr std::uint32_t kCardRecord = 0xFF010181u;      // card record envelope, 504 bytes
constexpr std::uint32_t kNetworkType = 0xFF010194u;     // 1 byte
constexpr std::uint32_t kBssid = 0xFF010195u;           // 6 bytes
constexpr std::uint32_t kLinkState = 0xFF010199u;       // 2 bytes
constexpr std::uint32_t kTrafficCounters = 0xFF02018Du; // 44 x u32
constexpr std::uint32_t kConfigItem = 0xFF020191u;      // configuration item envelope, 264 bytes
constexpr std::uint32_t kFirmwareVersion = 0xFF020196u; // 4 bytes
constexpr std::uint32_t kCommit = 0xFF020198u;          // no buffer
constexpr std::uint32_t kWepMode = 0xFF02019Cu;         // 2 bytes
constexpr std::uint32_t kTxRate = 0xFF02019Du;          // 2 bytes
constexpr std::uint32_t kLinkQuality = 0xFF02019Eu;     // 1 byte
constexpr std::uint32_t kSignalLevel = 0xFF02019Fu;     // 1 byte
} // namespace oid

namespace record {
constexpr std::uint16_t kChannelMask = 0xFD10;
constexpr std::uint16_t kCurrentChannel = 0xFDC1;
constexpr std::uint16_t kCurrentSsid = 0xFD41;
constexpr std::uint16_t kAuthentication = 0xFD4D;
constexpr std::uint16_t kDenyUnencrypted = 0xFD4F;
constexpr std::uint16_t kScanResults = 0xFD88;
constexpr std::uint16_t kWriteAuthentication = 0xFC2A;
constexpr std::uint16_t kWritePreamble = 0xFCB0;
} // namespace record

namespace item {
constexpr std::uint32_t kPowerSaving = 0x01010108u;
constexpr std::uint32_t kDesiredSsid = 0x01010109u;
constexpr std::uint32_t kSelectWepKey = 0x01030101u;
constexpr std::uint32_t kWepKeyBytes = 0x01030102u;
constexpr std::uint32_t kDefaultTxKey = 0x01050102u;
constexpr std::uint32_t kRtsThreshold = 0x02010102u;
constexpr std::uint32_t kFragThreshold = 0x02010105u;
constexpr std::uint32_t kChannel = 0x04050101u;
} // namespace item

// The link state word (OID 0xFF010199).
enum class LinkState : std::uint16_t {
    NotAvailable = 0,
    Connected = 1,
    Authenticated = 2,
    Synchronized = 3,
    Searching = 4,
    Disconnected = 5,
};

enum class RequestKind : std::uint8_t { Query, Set };

} // namespace simcard
