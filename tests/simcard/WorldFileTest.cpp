// Reading world files: everything a line can say, and a clear error for what it must not.
#include "simcard/WorldFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace simcard_test {
namespace {

using namespace simcard;

TEST(WorldFileTest, ReadsCardsCellsAndTimedChanges) {
    WorldLoad load = ParseWorld(R"(# two cards, one mute
card bind={1D3F2A10-0000-4000-8000-000000000007} mac=00-60-B3-01-02-03 firmware=1.04.05.00 channels=0x1FFF
card bind=0003 answers=no network=0 channel=3 ssid="My Net" rate=8 join-delay=0
ap    name=office ssid=OFFICE bssid=00:11:22:33:44:55 channel=6 signal=40 noise=12 wep=0102030405
adhoc name=party  ssid=""     bssid=02:00:00:00:00:01 channel=3 signal=20 present=no
at 30000 office signal=5 channel=11   # fades and moves
at 1000 party present=yes wep=off
)",
                                "w");
    ASSERT_TRUE(load.ok) << load.error;
    const WorldDefinition& w = load.world;
    ASSERT_EQ(2u, w.cards.size());
    EXPECT_EQ("{1D3F2A10-0000-4000-8000-000000000007}", w.cards[0].bind);
    EXPECT_EQ("00:60:B3:01:02:03", FormatMac(w.cards[0].mac));
    EXPECT_EQ("05040100", FormatHex(w.cards[0].firmware.data(), 4));
    EXPECT_EQ(0x1FFF, w.cards[0].channelMask);
    EXPECT_FALSE(w.cards[1].answers);
    EXPECT_EQ(0, w.cards[1].powerOn.networkType);
    EXPECT_EQ("My Net", w.cards[1].powerOn.ssid);
    EXPECT_EQ(8, w.cards[1].powerOn.txRate);
    EXPECT_EQ(0u, w.cards[1].timing.joinDelayMs);
    ASSERT_EQ(2u, w.cells.size());
    EXPECT_EQ(BssType::Infrastructure, w.cells[0].type);
    EXPECT_EQ(std::string("\x01\x02\x03\x04\x05"), w.cells[0].wepKey);
    EXPECT_EQ(12, w.cells[0].noise);
    EXPECT_EQ(BssType::AdHoc, w.cells[1].type);
    EXPECT_EQ("", w.cells[1].ssid);
    EXPECT_FALSE(w.cells[1].present);

    auto world = BuildRadioWorld(w, 100);
    EXPECT_EQ(1100u, world->NextEventAfter(100));
    EXPECT_EQ(30100u, world->NextEventAfter(1100));
    std::vector<Cell> later = world->CellsAt(30100);
    EXPECT_EQ(11, later[0].channel);
    EXPECT_EQ(5, later[0].signal);
    EXPECT_TRUE(later[1].present);
    EXPECT_EQ(6, world->CellsAt(30099)[0].channel);
}

TEST(WorldFileTest, ReadsWhatACardReportsBeyondTheRadio) {
    WorldLoad load = ParseWorld(R"(card bind=* rate=12
ap name=odd ssid=LAB bssid=00:11:22:33:44:55 channel=6 signal=40 link-state=2 link-signal=200 ssid-length=40 after-ssid=4142
at 500 odd link-state=0 link-quality=255 ssid-length=3 after-ssid=""
)",
                                "w");
    ASSERT_TRUE(load.ok) << load.error;
    EXPECT_EQ(12, load.world.cards[0].powerOn.txRate) << "any rate code at power-on";
    const Cell& odd = load.world.cells[0];
    EXPECT_EQ(2, odd.linkState.value_or(0));
    EXPECT_EQ(200, odd.linkSignal.value_or(0));
    EXPECT_FALSE(odd.linkQuality);
    EXPECT_EQ(40, odd.ssidLength.value_or(0));
    EXPECT_EQ((std::vector<std::uint8_t>{0x41, 0x42}), odd.afterSsid);
    const Cell later = BuildRadioWorld(load.world, 0)->CellsAt(500)[0];
    EXPECT_EQ(0, later.linkState.value_or(9));
    EXPECT_EQ(200, later.linkSignal.value_or(0)) << "a change keeps what it does not name";
    EXPECT_EQ(255, later.linkQuality.value_or(0));
    EXPECT_EQ(3, later.ssidLength.value_or(0));
    EXPECT_TRUE(later.afterSsid.empty());
}

TEST(WorldFileTest, MistakesNameTheFileAndLineAndLoadNothing) {
    const std::string ap = "ap name=a ssid=A bssid=00:00:00:00:00:01 channel=1 signal=9\n";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"card bind=*\nroute x=1", "w:2: unknown line kind 'route'"},
        {"card mac=00:60:B3:01:02:03", "w:1: card needs bind=NAME"},
        {"card bind=* bind=0001", "w:1: 'bind' given twice"},
        {"card bind=0001\ncard bind=0001", "w:2: a card is already bound to '0001'"},
        {"card bind=* channel=15", "w:1: channel '15' is not a number from 1 to 14"},
        {"card bind=* network=2", "w:1: network '2' must be 0, 1 or 3"},
        {"card bind=* firmware=1.2.3", "w:1: firmware '1.2.3' must be four numbers"},
        {"card bind=* colour=blue", "w:1: card has no field 'colour'"},
        {"card bind=* ssid=\"open", "w:1: a quote is not closed"},
        {"card bind=* ssid=" + std::string(33, 's'), "w:1: ssid '"},
        {ap + ap, "w:2: a cell named 'a' already exists"},
        {"ap name=a ssid=A bssid=00:00:00:00:00 channel=1 signal=9",
         "w:1: bssid '00:00:00:00:00' is not a MAC"},
        {"ap name=a ssid=A bssid=00:00:00:00:00:01 signal=9", "w:1: cell needs channel="},
        {"ap name=a ssid=A bssid=00:00:00:00:00:01 channel=1 signal=9 wep=12345",
         "w:1: wep '12345' must be off"},
        {"ap name=a ssid=A bssid=00:00:00:00:00:01 channel=1 signal=9 present=maybe", "w:1: present 'maybe'"},
        {"at 10 ghost signal=1", "w:1: no cell named 'ghost' above this line"},
        {ap + "at soon a signal=1", "w:2: time 'soon' is not a number"},
        {ap + "at 10", "w:2: at needs a time, a cell name and changes"},
        {ap + "at 10 a", "w:2: at needs at least one change"},
        {ap + "at 10 a bssid=00:00:00:00:00:02", "w:2: a change has no field 'bssid'"},
        {ap + "ap name=b ssid=B bssid=00:00:00:00:00:02 channel=1 signal=9 junk", "w:2: expected key=value"},
        {"card bind=* rate=65536", "w:1: rate '65536' is not a number from 0 to 65535"},
        {ap + "at 10 a link-state=65536", "w:2: link-state '65536' is not a number from 0 to 65535"},
        {ap + "at 10 a link-signal=256", "w:2: link-signal '256' is not a number from 0 to 255"},
        {ap + "at 10 a ssid-length=256", "w:2: ssid-length '256' is not a number from 0 to 255"},
        {ap + "at 10 a after-ssid=4", "w:2: after-ssid '4' must be at most 44 bytes"},
        {ap + "at 10 a after-ssid=" + std::string(90, '0'), "w:2: after-ssid '"},
    };
    for (const auto& c : cases) {
        WorldLoad load = ParseWorld(c.text, "w");
        EXPECT_FALSE(load.ok) << c.text;
        EXPECT_EQ(0u, load.error.rfind(c.error, 0)) << "got: " << load.error;
        EXPECT_TRUE(load.world.cards.empty() && load.world.cells.empty() && load.world.events.empty());
    }
}

TEST(WorldFileTest, FilesAndTheDefaultWorld) {
    EXPECT_EQ("/nonexistent/x.world: cannot be opened", LoadWorldFile("/nonexistent/x.world").error);
    const std::string path = testing::TempDir() + "simcard_world_test.world";
    {
        std::ofstream out(path);
        out << "card bind=*\n\nap name=a ssid=A bssid=00:00:00:00:00:01 channel=1 signal=200\n";
    }
    EXPECT_EQ(path + ":3: signal '200' is not a number from 0 to 100", LoadWorldFile(path).error);
    std::remove(path.c_str());

    WorldDefinition fallback = DefaultWorld();
    ASSERT_EQ(1u, fallback.cards.size());
    EXPECT_EQ("*", fallback.cards[0].bind);
    ASSERT_EQ(1u, fallback.cells.size());
    EXPECT_FALSE(fallback.cells[0].Privacy());
}

} // namespace
} // namespace simcard_test
