// What the card answers to each request of its catalogue.
#include "simcard/Answers.h"
#include "simcard/Envelopes.h"
#include "simcard/SimCard.h"

#include <cstring>

namespace simcard {
namespace {

RequestOutcome Done(std::uint32_t bytes) {
    RequestOutcome outcome;
    outcome.bytesDone = bytes;
    return outcome;
}

RequestOutcome Refuse(std::uint32_t status, std::uint32_t needed = 0) {
    RequestOutcome outcome;
    outcome.status = status;
    outcome.bytesNeeded = needed;
    return outcome;
}

// Copies a fixed-size answer into the caller's buffer when it fits.
RequestOutcome Answer(const void* data, std::uint32_t size, std::uint8_t* buffer, std::uint32_t length) {
    if (length < size)
        return Refuse(status::kBufferTooShort, size);
    std::memcpy(buffer, data, size);
    return Done(size);
}

// Bytes of a card record's data for the given record id: the words after the record id.
std::vector<std::uint8_t> Words(std::initializer_list<std::uint16_t> words) {
    std::vector<std::uint8_t> data(words.size() * 2);
    std::size_t at = 0;
    for (std::uint16_t w : words) {
        PutU16(data.data() + at, w);
        at += 2;
    }
    return data;
}

} // namespace

RequestOutcome SimCard::Query(std::uint32_t oid, std::uint8_t* buffer, std::uint32_t length) {
    const std::optional<Cell> joined = JoinedNow();
    switch (oid) {
    case oid::kCurrentAddress:
        return Answer(m_definition.mac.data(), 6, buffer, length);
    case oid::kNetworkType:
        return Answer(&m_active.networkType, 1, buffer, length);
    case oid::kBssid: {
        MacAddress bssid{};
        if (joined)
            bssid = joined->bssid;
        return Answer(bssid.data(), 6, buffer, length);
    }
    case oid::kLinkState: {
        std::uint8_t word[2];
        PutU16(word, joined && joined->linkState ? *joined->linkState : static_cast<std::uint16_t>(m_link));
        return Answer(word, 2, buffer, length);
    }
    case oid::kTrafficCounters: {
        std::uint8_t counters[kTrafficCounterCount * 4];
        EncodeTrafficCounters(m_connectedMs * m_definition.trafficTxPerS / 1000,
                              m_connectedMs * m_definition.trafficRxPerS / 1000, counters);
        return Answer(counters, sizeof counters, buffer, length);
    }
    case oid::kFirmwareVersion:
        return Answer(m_definition.firmware.data(), 4, buffer, length);
    case oid::kTxRate: {
        std::uint8_t word[2];
        PutU16(word, m_active.txRate);
        return Answer(word, 2, buffer, length);
    }
    case oid::kLinkQuality: {
        const std::uint8_t quality = joined ? LinkQualityByte(*joined) : 0;
        return Answer(&quality, 1, buffer, length);
    }
    case oid::kSignalLevel: {
        const std::uint8_t signal = joined ? LinkSignalByte(*joined) : 0;
        return Answer(&signal, 1, buffer, length);
    }
    case oid::kCardRecord:
        return QueryRecord(buffer, length);
    default:
        return Refuse(status::kNotSupported);
    }
}

RequestOutcome SimCard::QueryRecord(std::uint8_t* buffer, std::uint32_t length) {
    if (length < kRecordHeaderSize)
        return Refuse(status::kBufferTooShort, kRecordHeaderSize);
    const std::uint16_t id = GetU16(buffer + offsetof(RecordEnvelope, recordId));
    if (id == record::kScanResults) {
        if (length < sizeof(ScanRecord))
            return Refuse(status::kBufferTooShort, sizeof(ScanRecord));
        EncodeScanRecord(m_scan, buffer);
        return Done(sizeof(ScanRecord));
    }
    const std::optional<Cell> joined = JoinedNow();
    std::vector<std::uint8_t> data;
    switch (id) {
    case record::kChannelMask:
        data = Words({m_definition.channelMask});
        break;
    case record::kCurrentChannel:
        data = Words({joined ? joined->channel : m_active.channel});
        break;
    case record::kCurrentSsid: {
        data.assign(2 + 32, 0);
        if (joined) {
            PutSsid(*joined, data.data(), 32);
        } else {
            PutU16(data.data(), static_cast<std::uint16_t>(m_active.ssid.size()));
            std::memcpy(data.data() + 2, m_active.ssid.data(), m_active.ssid.size());
        }
        break;
    }
    case record::kAuthentication:
        data = Words({m_active.authentAlg});
        break;
    case record::kDenyUnencrypted:
        data = Words({m_active.denyUnencrypted});
        break;
    default:
        return Refuse(status::kNotSupported);
    }
    const auto size = static_cast<std::uint32_t>(kRecordHeaderSize + data.size());
    if (length < size)
        return Refuse(status::kBufferTooShort, size);
    PutU16(buffer + offsetof(RecordEnvelope, lengthWords), static_cast<std::uint16_t>(1 + data.size() / 2));
    std::memcpy(buffer + kRecordHeaderSize, data.data(), data.size());
    return Done(size);
}

RequestOutcome SimCard::Set(std::uint32_t oid, const std::uint8_t* buffer, std::uint32_t length,
                            std::vector<std::uint8_t>& value) {
    auto need = [&](std::uint32_t size) { return length >= size; };
    switch (oid) {
    case oid::kNetworkType:
        if (!need(1))
            return Refuse(status::kInvalidLength, 1);
        value.assign(buffer, buffer + 1);
        if (!IsValidNetworkType(buffer[0]))
            return Refuse(status::kInvalidData);
        m_staged.networkType = buffer[0];
        return Done(1);
    case oid::kTxRate:
        if (!need(2))
            return Refuse(status::kInvalidLength, 2);
        value.assign(buffer, buffer + 2);
        if (!IsValidRateCode(GetU16(buffer)))
            return Refuse(status::kInvalidData);
        m_staged.txRate = GetU16(buffer);
        return Done(2);
    case oid::kWepMode:
        if (!need(2))
            return Refuse(status::kInvalidLength, 2);
        value.assign(buffer, buffer + 2);
        if (!IsValidWepMode(GetU16(buffer)))
            return Refuse(status::kInvalidData);
        m_staged.wepMode = GetU16(buffer);
        return Done(2);
    case oid::kCommit:
        Commit(m_lastMs);
        return Done(0);
    case oid::kConfigItem:
        return SetItem(buffer, length, value);
    case oid::kCardRecord:
        return SetRecord(buffer, length, value);
    default:
        return Refuse(status::kNotSupported);
    }
}

RequestOutcome SimCard::SetItem(const std::uint8_t* buffer, std::uint32_t length,
                                std::vector<std::uint8_t>& value) {
    if (length < kItemHeaderSize)
        return Refuse(status::kInvalidLength, kItemHeaderSize);
    const std::uint32_t code = GetU32(buffer + offsetof(ItemEnvelope, itemCode));
    const std::uint32_t size = GetU32(buffer + offsetof(ItemEnvelope, valueLength));
    if (size > kItemValueMax)
        return Refuse(status::kInvalidData);
    if (length < kItemHeaderSize + size)
        return Refuse(status::kInvalidLength, kItemHeaderSize + size);
    const std::uint8_t* v = buffer + kItemHeaderSize;
    value.assign(v, v + size);
    const RequestOutcome done = Done(kItemHeaderSize + size);
    auto tooShort = [&](std::uint32_t atLeast) { return size < atLeast; };

    switch (code) {
    case item::kPowerSaving:
        if (tooShort(1))
            return Refuse(status::kInvalidLength, kItemHeaderSize + 1);
        if (v[0] != 1 && v[0] != 2)
            return Refuse(status::kInvalidData);
        m_staged.powerSaving = v[0];
        return done;
    case item::kDesiredSsid:
        if (size > 32)
            return Refuse(status::kInvalidData);
        m_staged.ssid.assign(reinterpret_cast<const char*>(v), size);
        return done;
    case item::kSelectWepKey:
        if (tooShort(1))
            return Refuse(status::kInvalidLength, kItemHeaderSize + 1);
        if (v[0] < 1 || v[0] > 4)
            return Refuse(status::kInvalidData);
        m_keySlot = v[0];
        return done;
    case item::kWepKeyBytes:
        if (size != 5 && size != 13)
            return Refuse(status::kInvalidData);
        m_staged.wepKeys[m_keySlot - 1u].assign(reinterpret_cast<const char*>(v), size);
        return done;
    case item::kDefaultTxKey:
        if (tooShort(1))
            return Refuse(status::kInvalidLength, kItemHeaderSize + 1);
        if (v[0] < 1 || v[0] > 4)
            return Refuse(status::kInvalidData);
        m_staged.txKey = v[0];
        return done;
    case item::kRtsThreshold:
    case item::kFragThreshold: {
        if (tooShort(2))
            return Refuse(status::kInvalidLength, kItemHeaderSize + 2);
        const std::uint16_t threshold = GetU16(v);
        const bool frag = code == item::kFragThreshold;
        if (threshold > 2432 || (frag && threshold < 256))
            return Refuse(status::kInvalidData);
        (frag ? m_staged.fragThreshold : m_staged.rtsThreshold) = threshold;
        return done;
    }
    case item::kChannel:
        if (tooShort(1))
            return Refuse(status::kInvalidLength, kItemHeaderSize + 1);
        if (!IsValidChannel(v[0]) || !((m_definition.channelMask >> (v[0] - 1)) & 1u))
            return Refuse(status::kInvalidData);
        m_staged.channel = v[0];
        return done;
    default:
        return Refuse(status::kNotSupported);
    }
}

RequestOutcome SimCard::SetRecord(const std::uint8_t* buffer, std::uint32_t length,
                                  std::vector<std::uint8_t>& value) {
    if (length < kRecordHeaderSize + 2)
        return Refuse(status::kInvalidLength, kRecordHeaderSize + 2);
    const std::uint16_t words = GetU16(buffer + offsetof(RecordEnvelope, lengthWords));
    const std::uint16_t id = GetU16(buffer + offsetof(RecordEnvelope, recordId));
    if (id != record::kWriteAuthentication && id != record::kWritePreamble)
        return Refuse(status::kNotSupported);
    const std::uint16_t v = GetU16(buffer + kRecordHeaderSize);
    value.assign(buffer + kRecordHeaderSize, buffer + kRecordHeaderSize + 2);
    if (words != 2)
        return Refuse(status::kInvalidData);
    if (id == record::kWriteAuthentication) {
        if (v < 1 || v > 3)
            return Refuse(status::kInvalidData);
        m_staged.authentAlg = v;
    } else {
        if (v < 1 || v > 2)
            return Refuse(status::kInvalidData);
        m_staged.preamble = v;
    }
    return Done(kRecordHeaderSize + 2);
}

} // namespace simcard
