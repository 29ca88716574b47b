// The script reader: every mistake is reported with its file and line, and resolved names are the
// resources' ids.
#include "ScriptReader.h"
#include "ScriptWords.h"

#include <gtest/gtest.h>

namespace {

using runner::Command;

class ScriptReaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(s_catalog.Load(WLAN_RESOURCE_SCRIPT, &error)) << error;
    }
    runner::ReadResult Read(const std::string& text) {
        runner::ScriptReader reader(s_catalog, {"home"});
        return reader.Read(text, "s.script");
    }
    static runner::ResourceCatalog s_catalog;
};

runner::ResourceCatalog ScriptReaderTest::s_catalog;

struct BadScript {
    const char* text;
    const char* error;
};

TEST_F(ScriptReaderTest, ReportsTheFirstMistakeWithFileAndLine) {
    const BadScript cases[] = {
        {"wait 1s\nfly away\n", "s.script:2: unknown command 'fly'"},
        {"tray triple-click\n", "s.script:1: 'tray' takes double-click|right-click, not 'triple-click'"},
        {"tray double-click now\n", "s.script:1: unexpected 'now' after 'tray' command"},
        {"wait\n", "s.script:1: 'wait' needs 1 argument"},
        {"wait 5\n", "s.script:1: '5' is not a duration (250ms, 5s, 1.5s, 10m; at most a day)"},
        {"wait 2d\n", "s.script:1: '2d' is not a duration (250ms, 5s, 1.5s, 10m; at most a day)"},
        {"wait 25h\n", "s.script:1: '25h' is not a duration (250ms, 5s, 1.5s, 10m; at most a day)"},
        {"slider IDC_CFG_SSID 12x\n", "s.script:1: '12x' is not a slider position (0 to 100000)"},
        {"click IDC_NOTHING\n", "s.script:1: unknown control 'IDC_NOTHING'"},
        {"click 4242\n", "s.script:1: no dialog of the resources has a control 4242"},
        {"click IDD_ABOUT\n", "s.script:1: 'IDD_ABOUT' (181) is not a control of any dialog"},
        {"type IDC_CFG_SSID abc\n", "s.script:1: expected the text to type in double quotes"},
        {"type IDC_CFG_SSID \"abc\n", "s.script:1: quoted text is not closed"},
        {"type IDC_CFG_SSID \"a\\qb\"\n", "s.script:1: bad escape in quoted text (only \\\" and \\\\)"},
        {"tab \"Nowhere\"\n", "s.script:1: no page is titled 'Nowhere'"},
        {"menu pick ID_UNKNOWN\n",
         "s.script:1: unknown menu command 'ID_UNKNOWN' (an id, a resource symbol or \"entry text\")"},
        {"menu pick 0\n", "s.script:1: menu command 0 is no entry (0 dismisses a menu)"},
        {"answer maybe\n", "s.script:1: 'answer' takes ok|cancel|yes|no|abort|retry|ignore, not 'maybe'"},
        {"wait until icon\n", "s.script:1: condition 'icon' takes 1 word: icon"},
        {"wait until weather sunny\n", "s.script:1: unknown condition 'weather' (icon, box, control, link, "
                                       "sheet, page, request or exited)"},
        {"wait until icon 186 within soon\n",
         "s.script:1: 'soon' is not a duration (250ms, 5s, 1.5s, 10m; at most a day)"},
        {"expect link fast\n", "s.script:1: a link is connected, searching, disconnected or off, not 'fast'"},
        {"expect control IDC_CFG_APPLY pressed\n",
         "s.script:1: a control is enabled, disabled, checked, unchecked, visible or hidden, not 'pressed'"},
        {"world at 100 nowhere signal=3\n", "s.script:1: world: no cell named 'nowhere' above this line"},
        {"world card bind=*\n",
         "s.script:1: world: cards cannot be added while the program runs (give them in the world file)"},
        {"fault request x fail 1\n", "s.script:1: fault: "},
        {"wait 1s\nsetup kind win98\n", "s.script:2: setup lines must come before every other command"},
        {"setup colour blue\n", "s.script:1: setup of 'colour': kind, registry, world or faults"},
        {"setup window\n", "s.script:1: "},
        {"wait 1s\x01\n", "s.script:1: control character 0x01 at column 8"},
        {"click \xC3\xA9\n", "s.script:1: byte outside ASCII at column 7 (only quoted text may hold it)"},
    };
    for (const BadScript& bad : cases) {
        const runner::ReadResult result = Read(bad.text);
        EXPECT_FALSE(result.ok) << bad.text;
        EXPECT_EQ(0u, result.error.rfind(bad.error, 0))
            << "script: " << bad.text << "\nerror: " << result.error;
    }
}

TEST_F(ScriptReaderTest, RefusesNulBytesAndOverlongLines) {
    EXPECT_EQ("s.script:2: control character 0x00 at column 5",
              Read(std::string("wait 1s\nwait\0 1s\n", 17)).error);
    EXPECT_EQ("s.script:1: line is longer than 400 characters",
              Read("# " + std::string(500, 'x') + "\n").error);
}

TEST_F(ScriptReaderTest, ResolvesNamesToTheResourcesIds) {
    const runner::ReadResult result = Read("# a comment line\n"
                                           "setup kind nt4\n"
                                           "setup world lab.world\n"
                                           "setup window \"Other Program\"\n"
                                           "setup window \"Second\"\n"
                                           "\n"
                                           "type IDC_CFG_SSID \"say \\\"hi\\\"\"   # trailing comment\n"
                                           "select 1010 \"Ad Hoc\"\n"
                                           "menu pick ID_TRAY_EXIT\n"
                                           "tab \"Configuration\"\n"
                                           "wait 1.5s\n"
                                           "wait until control IDC_CFG_APPLY enabled within 250ms\n"
                                           "world at 500 home signal=2\n"
                                           "fault oid 0xFF010199 fail 0xC0000001\n");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ("nt4", result.script.setup.kind.value_or(""));
    EXPECT_EQ("lab.world", result.script.setup.world.value_or(""));
    EXPECT_EQ((std::vector<std::string>{"Other Program", "Second"}), result.script.setup.windows);
    const auto& c = result.script.commands;
    ASSERT_EQ(8u, c.size());
    EXPECT_EQ(Command::Verb::Type, c[0].verb);
    EXPECT_EQ(7, c[0].line);
    EXPECT_EQ(1012, c[0].control);
    EXPECT_EQ("say \"hi\"", c[0].text);
    EXPECT_EQ(1010, c[1].control);
    EXPECT_EQ("Ad Hoc", c[1].text);
    EXPECT_EQ(2004, c[2].number);
    EXPECT_EQ(-1, c[3].number);
    EXPECT_EQ("Configuration", c[3].text);
    EXPECT_EQ(1500u, c[4].ms);
    EXPECT_EQ(Command::Verb::WaitUntil, c[5].verb);
    EXPECT_EQ(250u, c[5].ms);
    EXPECT_EQ(1118, c[5].condition.number);
    ASSERT_EQ(1u, c[6].world.events.size());
    EXPECT_EQ(500u, c[6].world.events[0].atMs);
    ASSERT_EQ(1u, c[7].faults.size());
    EXPECT_EQ(0xFF010199u, c[7].faults[0].oid.value_or(0));
}

TEST_F(ScriptReaderTest, KnowsCellsAddedByEarlierWorldLines) {
    EXPECT_TRUE(Read("world ap name=guest ssid=G bssid=00:60:B3:00:00:09 channel=3 signal=30\n"
                     "world at 1000 guest present=no\n")
                    .ok);
    EXPECT_EQ("s.script:2: world: a cell named 'guest' already exists",
              Read("world ap name=guest ssid=G bssid=00:60:B3:00:00:09 channel=3 signal=30\n"
                   "world ap name=guest ssid=G bssid=00:60:B3:00:00:09 channel=3 signal=30\n")
                  .error);
}

TEST(ScriptWordsTest, DurationsAndNumbers) {
    EXPECT_EQ(250u, runner::ParseDuration("250ms").value_or(0));
    EXPECT_EQ(600000u, runner::ParseDuration("10m").value_or(0));
    EXPECT_EQ(1250u, runner::ParseDuration("1.25s").value_or(0));
    EXPECT_FALSE(runner::ParseDuration("1.5ms"));
    EXPECT_FALSE(runner::ParseDuration("s"));
    EXPECT_FALSE(runner::ParseDuration("1..2s"));
    EXPECT_EQ(0xFF010199u, runner::ParseNumber("0xff010199").value_or(0));
    EXPECT_FALSE(runner::ParseNumber("0x"));
    EXPECT_FALSE(runner::ParseNumber("-1"));
    EXPECT_FALSE(runner::ParseNumber("4294967296"));
}

} // namespace
