#include "simcard/Answers.h"

#include "simcard/Envelopes.h"
#include "simcard/Ndis.h"

#include <algorithm>
#include <cstring>

namespace simcard {

void EncodeScanRecord(const std::vector<Cell>& cells, std::uint8_t* envelope) {
    static const std::uint8_t kRates[] = {0x82, 0x84, 0x8B, 0x96}; // 1, 2, 5.5, 11 Mbps, basic
    const std::uint16_t kept = GetU16(envelope + offsetof(ScanRecord, request));
    std::memset(envelope, 0, sizeof(ScanRecord));
    const auto count = static_cast<std::uint16_t>(std::min<std::size_t>(cells.size(), kScanEntriesMax));
    PutU16(envelope + offsetof(ScanRecord, lengthWords), (sizeof(ScanRecord) - 2) / 2);
    PutU16(envelope + offsetof(ScanRecord, recordId), record::kScanResults);
    PutU16(envelope + offsetof(ScanRecord, entryCount), count);
    PutU16(envelope + offsetof(ScanRecord, request), kept);
    for (std::uint16_t i = 0; i < count; ++i) {
        const Cell& cell = cells[i];
        std::uint8_t* e = envelope + offsetof(ScanRecord, entries) + i * sizeof(ScanEntry);
        std::uint16_t capability = cell.type == BssType::Infrastructure ? kCapabilityEss : kCapabilityIbss;
        if (cell.Privacy())
            capability |= kCapabilityPrivacy;
        PutU16(e + offsetof(ScanEntry, channel), cell.channel);
        PutU16(e + offsetof(ScanEntry, noise), cell.noise);
        PutU16(e + offsetof(ScanEntry, signal), cell.signal);
        std::memcpy(e + offsetof(ScanEntry, bssid), cell.bssid.data(), 6);
        PutU16(e + offsetof(ScanEntry, beaconInterval), 100);
        PutU16(e + offsetof(ScanEntry, capability), capability);
        std::memcpy(e + offsetof(ScanEntry, rates), kRates, sizeof kRates);
        PutSsid(cell, e + offsetof(ScanEntry, ssidLength), sizeof(ScanEntry) - offsetof(ScanEntry, ssid));
    }
}

void PutSsid(const Cell& cell, std::uint8_t* at, std::size_t room) {
    const std::size_t copied = std::min<std::size_t>({cell.ssid.size(), 32, room});
    PutU16(at, cell.ssidLength.value_or(static_cast<std::uint16_t>(copied)));
    std::memcpy(at + 2, cell.ssid.data(), copied);
    const std::size_t tail = std::min(cell.afterSsid.size(), room - copied);
    if (tail != 0)
        std::memcpy(at + 2 + copied, cell.afterSsid.data(), tail);
}

void EncodeTrafficCounters(std::uint64_t txBytes, std::uint64_t rxBytes, std::uint8_t* out) {
    std::memset(out, 0, kTrafficCounterCount * 4);
    // One sixteenth of the traffic is multicast; frames average 512 bytes.
    const std::uint64_t txMulti = txBytes / 16;
    const std::uint64_t rxMulti = rxBytes / 16;
    auto put = [out](int index, std::uint64_t value) {
        PutU32(out + index * 4, static_cast<std::uint32_t>(value));
    };
    put(counter::kTxUnicastOctets, txBytes - txMulti);
    put(counter::kTxMulticastOctets, txMulti);
    put(counter::kTxUnicastFrames, (txBytes - txMulti) / 512);
    put(counter::kTxMulticastFrames, txMulti / 512);
    put(counter::kRxUnicastOctets, rxBytes - rxMulti);
    put(counter::kRxMulticastOctets, rxMulti);
    put(counter::kRxUnicastFrames, (rxBytes - rxMulti) / 512);
    put(counter::kRxMulticastFrames, rxMulti / 512);
}

std::uint8_t LinkSignalByte(const Cell& cell) {
    if (cell.linkSignal)
        return *cell.linkSignal;
    // The link reports 0..13 where scans report levels up to 46 and more.
    return static_cast<std::uint8_t>(std::min<unsigned>(13, cell.signal * 13u / 46u));
}

std::uint8_t LinkQualityByte(const Cell& cell) {
    if (cell.linkQuality)
        return *cell.linkQuality;
    const unsigned margin = cell.signal > cell.noise ? cell.signal - cell.noise : 0;
    return static_cast<std::uint8_t>(std::min<unsigned>(15, margin / 3));
}

} // namespace simcard
