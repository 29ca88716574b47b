// Byte layouts of the records exchanged with the driver. The structs only declare the layout (checked
// below); fields are read and written with the little-endian helpers at these offsets.
#pragma once
#include <cstddef>
#include <cstdint>

namespace simcard {

#pragma pack(push, 1)
// Card record envelope (OID 0xFF010181).
struct RecordEnvelope {
    std::uint16_t lengthWords; // record id word plus data words
    std::uint16_t recordId;
    std::uint8_t data[500];
};

// Configuration item envelope (OID 0xFF020191).
struct ItemEnvelope {
    std::uint32_t itemCode;
    std::uint32_t reserved;
    std::uint32_t valueLength;
    std::uint8_t value[252];
};

// One entry of the scan results record 0xFD88.
struct ScanEntry {
    std::uint16_t channel;
    std::uint16_t noise;
    std::uint16_t signal;
    std::uint8_t bssid[6];
    std::uint16_t beaconInterval;
    std::uint16_t capability;
    std::uint16_t ssidLength;
    std::uint8_t ssid[32];
    std::uint8_t rates[12];
};

// Scan results record as it fills the card record envelope.
struct ScanRecord {
    std::uint16_t lengthWords;
    std::uint16_t recordId;
    std::uint16_t entryCount;
    std::uint16_t request; // what the caller put there; left as it was
    ScanEntry entries[8];
};
#pragma pack(pop)

static_assert(sizeof(RecordEnvelope) == 504, "card record envelope is 504 bytes");
static_assert(offsetof(RecordEnvelope, recordId) == 2 && offsetof(RecordEnvelope, data) == 4,
              "record layout");
static_assert(sizeof(ItemEnvelope) == 264, "item envelope is 264 bytes");
static_assert(offsetof(ItemEnvelope, valueLength) == 8 && offsetof(ItemEnvelope, value) == 12, "item layout");
static_assert(sizeof(ScanEntry) == 62, "scan entry is 62 bytes");
static_assert(offsetof(ScanEntry, signal) == 4 && offsetof(ScanEntry, bssid) == 6 &&
                  offsetof(ScanEntry, capability) == 14 && offsetof(ScanEntry, ssidLength) == 16 &&
                  offsetof(ScanEntry, ssid) == 18 && offsetof(ScanEntry, rates) == 50,
              "scan entry layout");
static_assert(sizeof(ScanRecord) == 504 && offsetof(ScanRecord, entries) == 8, "scan record layout");

constexpr std::uint32_t kRecordEnvelopeSize = sizeof(RecordEnvelope);
constexpr std::uint32_t kRecordHeaderSize = offsetof(RecordEnvelope, data);
constexpr std::uint32_t kItemEnvelopeSize = sizeof(ItemEnvelope);
constexpr std::uint32_t kItemHeaderSize = offsetof(ItemEnvelope, value);
constexpr std::uint32_t kItemValueMax = sizeof(ItemEnvelope::value);
constexpr std::uint32_t kScanEntriesMax = 8;
constexpr std::uint32_t kTrafficCounterCount = 44;

// IEEE 802.11 capability bits used in scan entries.
constexpr std::uint16_t kCapabilityEss = 0x0001;
constexpr std::uint16_t kCapabilityIbss = 0x0002;
constexpr std::uint16_t kCapabilityPrivacy = 0x0010;

} // namespace simcard
