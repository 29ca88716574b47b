// A card on a manual clock in a small world, with request helpers that build the envelopes the way the
// program does. A test fails when a fault it armed never fired.
#pragma once
#include "simcard/Bytes.h"
#include "simcard/Envelopes.h"
#include "simcard/SimCard.h"
#include "simcard/WorldFile.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace simcard_test {

using namespace simcard;

struct Reply {
    std::uint32_t status;
    std::uint32_t bytes;
    std::uint32_t needed;
    std::vector<std::uint8_t> data;
};

class CardTestBase : public ::testing::Test {
protected:
    // Replaces the world and the card; the card is powered on at the clock's current time.
    void Load(const std::string& worldText) {
        WorldLoad load = ParseWorld(worldText, "test.world");
        ASSERT_TRUE(load.ok) << load.error;
        ASSERT_FALSE(load.world.cards.empty());
        m_world = BuildRadioWorld(load.world, m_clock->NowMs());
        m_card = std::make_unique<SimCard>(load.world.cards[0], m_world, m_clock);
        auto session = m_card->OpenSession();
        ASSERT_TRUE(session.has_value());
        m_session = *session;
    }

    void TearDown() override {
        if (m_card) {
            EXPECT_EQ("", DescribeUnfired(m_card->UnfiredFaults()));
        }
    }

    void Wait(std::uint64_t ms) { m_clock->Advance(ms); }

    Reply Query(std::uint32_t oid, std::uint32_t length) {
        std::vector<std::uint8_t> buffer(length, 0xEE);
        RequestOutcome o = m_card->Request(m_session, RequestKind::Query, oid, buffer.data(), length);
        buffer.resize(o.status == 0 ? o.bytesDone : 0);
        return {o.status, o.bytesDone, o.bytesNeeded, buffer};
    }
    Reply Set(std::uint32_t oid, std::vector<std::uint8_t> data) {
        RequestOutcome o =
            m_card->Request(m_session, RequestKind::Set, oid, data.empty() ? nullptr : data.data(),
                            static_cast<std::uint32_t>(data.size()));
        return {o.status, o.bytesDone, o.bytesNeeded, {}};
    }
    Reply QueryRecord(std::uint16_t id, std::uint32_t length = kRecordEnvelopeSize) {
        std::vector<std::uint8_t> buffer(length, 0);
        if (length >= 4)
            PutU16(buffer.data() + 2, id);
        RequestOutcome o =
            m_card->Request(m_session, RequestKind::Query, oid::kCardRecord, buffer.data(), length);
        buffer.resize(o.status == 0 ? length : 0);
        return {o.status, o.bytesDone, o.bytesNeeded, buffer};
    }
    std::uint16_t RecordWord(std::uint16_t id) {
        Reply r = QueryRecord(id);
        EXPECT_EQ(0u, r.status);
        return r.data.size() >= 6 ? GetU16(r.data.data() + 4) : 0xFFFF;
    }
    Reply SetItem(std::uint32_t code, const std::string& value) {
        std::vector<std::uint8_t> env(kItemEnvelopeSize, 0);
        PutU32(env.data(), code);
        PutU32(env.data() + 8, static_cast<std::uint32_t>(value.size()));
        std::memcpy(env.data() + 12, value.data(), value.size());
        return Set(oid::kConfigItem, env);
    }
    Reply SetItemByte(std::uint32_t code, std::uint8_t b) {
        return SetItem(code, std::string(1, static_cast<char>(b)));
    }
    Reply SetRecordWord(std::uint16_t id, std::uint16_t value) {
        std::vector<std::uint8_t> env(kRecordEnvelopeSize, 0);
        PutU16(env.data(), 2);
        PutU16(env.data() + 2, id);
        PutU16(env.data() + 4, value);
        return Set(oid::kCardRecord, env);
    }
    Reply Commit() { return Set(oid::kCommit, {}); }

    std::uint16_t LinkState() {
        Reply r = Query(oid::kLinkState, 2);
        EXPECT_EQ(0u, r.status);
        return r.data.size() == 2 ? GetU16(r.data.data()) : 0xFFFF;
    }
    std::string Bssid() {
        Reply r = Query(oid::kBssid, 6);
        MacAddress mac{};
        if (r.data.size() == 6)
            std::memcpy(mac.data(), r.data.data(), 6);
        return FormatMac(mac);
    }
    std::uint8_t Byte(std::uint32_t oid) {
        Reply r = Query(oid, 1);
        EXPECT_EQ(0u, r.status);
        return r.data.empty() ? 0xFF : r.data[0];
    }

    std::shared_ptr<ManualClock> m_clock = std::make_shared<ManualClock>(5000);
    std::shared_ptr<RadioWorld> m_world;
    std::unique_ptr<SimCard> m_card;
    std::uint64_t m_session = 0;
};

} // namespace simcard_test
