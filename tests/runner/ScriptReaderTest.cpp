// The script reader: every mistake is reported with its file and line, and resolved names are the
// resources' ids.
#include "ScriptReader.h"
#include "ScriptWords.h"

#include <gtest/gtest.h>

#include <set>

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
        {"tray triple-click\n", "s.script:1: 'tray' takes double-click, right-click, a mouse message (WM_"},
        {"tray 0x10000\n", "s.script:1: 'tray' takes double-click, right-click, a mouse message"},
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
        {"answer maybe\n",
         "s.script:1: 'answer' takes ok|cancel|yes|no|abort|retry|ignore|shell, not 'maybe'"},
        {"answer shell\n", "s.script:1: 'answer' needs 2 arguments"},
        {"answer shell x\n", "s.script:1: 'x' is not a ShellExecute result (0 to 2147483647)"},
        {"key IDC_CFG_SSID Insert\n",
         "s.script:1: 'key' presses Backspace, Delete, Left, Right, Up, Down, Home, "
         "End, PageUp, PageDown, Enter, Escape, not 'Insert'"},
        {"key IDC_NOTHING Enter\n", "s.script:1: unknown control 'IDC_NOTHING'"},
        {"reveal\n", "s.script:1: 'reveal' needs 1 argument"},
        {"registry set Software\\x \"v\" sz \"1\"\n", "s.script:1: 'Software\\x' is no registry key"},
        {"registry set HKLM\\x \"v\" colour \"1\"\n", "s.script:1: 'colour' is no value type"},
        {"registry set HKLM\\x \"v\" sz\n", "s.script:1: registry set needs the data"},
        {"registry set HKLM\\x \"v\" binary hex 1\n",
         "s.script:1: '1' is not a byte of two hexadecimal digits"},
        {"registry set HKLM\\x \"v\" dword 4294967296\n", "s.script:1: '4294967296' is not a number"},
        {"registry delete HKLM\\x \"a\" b\n", "s.script:1: unexpected 'b' after 'registry' command"},
        {"registry move HKLM\\x\n", "s.script:1: 'registry' takes set|delete|refuse|mark, not 'move'"},
        {"registry refuse HKLM\\x \"a\" \"b\"\n",
         "s.script:1: registry refuse takes one value name, in double quotes, right after the key"},
        {"registry refuse HKLM\\x below\n",
         "s.script:1: registry refuse takes [\"NAME\"] [subkeys] [times=N] [optional], not 'below'"},
        {"registry refuse HKLM\\x times=0\n", "s.script:1: times=N needs a number from 1"},
        {"registry mark now\n", "s.script:1: unexpected 'now' after 'registry' command"},
        {"expect idle 1s\n", "s.script:1: expect idle needs at least 2s"},
        {"expect idle\n", "s.script:1: 'expect' needs 2 arguments"},
        {"expect icon follows mouse\n",
         "s.script:1: condition 'icon' takes an icon id, none, or follows link"},
        {"expect registry changes within x.reg\n", "s.script:1: expected a registry file in double quotes"},
        {"expect registry changes like \"x.reg\"\n",
         "s.script:1: the registry condition reads: registry changes within \"FILE\""},
        {"fault oid 1 mute 2\n", "s.script:1: fault: unexpected '2' after the action"},
        {"driver-file 1.2.3\n",
         "s.script:1: a driver file is a version a.b.c.d (four numbers from 0 to 65535)"},
        {"driver-file 1.2.3.65536\n", "s.script:1: a driver file is a version a.b.c.d"},
        {"power nap\n", "s.script:1: 'power' takes sleep, wake, query-suspend, suspend, resume-suspend, "
                        "resume-automatic, resume-critical, broadcast N or legacy N, not 'nap'"},
        {"power legacy\n", "s.script:1: 'power' needs 2 arguments"},
        {"device arrival type x\n", "s.script:1: 'x' is not a device type"},
        {"device arrival colour 3\n",
         "s.script:1: 'device arrival' takes [type N] [id \"...\"], not 'colour'"},
        {"device removal id \"a\" id \"b\"\n", "s.script:1: id given twice"},
        {"device nodes-changed now\n", "s.script:1: unexpected 'now' after 'device' command"},
        {"dump request 0\n", "s.script:1: requests are numbered from 1"},
        {"dump request\n", "s.script:1: 'dump' needs 2 arguments"},
        {"fault oid 1 thread=gui fail 1\n", "s.script:1: fault: thread is ui or monitor, not 'gui'"},
        {"fault oid 1 delay 0\n", "s.script:1: fault: delay '0' is not a number of ms from 1 to 86400000"},
        {"fault oid 1 delay 5 delay 5\n", "s.script:1: fault: one delay a rule"},
        {"fault oid 1 answer 123\n",
         "s.script:1: fault: answer '123' is not an even number of hexadecimal digits"},
        {"fault oid 1 answer 12 written\n", "s.script:1: fault: written needs a byte count"},
        {"fault at 100 delay 5 remove\n", "s.script:1: fault: a timed rule can only remove"},
        {"world at 100 home link-signal=300\n",
         "s.script:1: world: link-signal '300' is not a number from 0 to 255"},
        {"world at 100 home after-ssid=123\n",
         "s.script:1: world: after-ssid '123' must be at most 44 bytes"},
        {"setup trace colour\n",
         "s.script:1: setup trace takes library, registry, events or window, not 'colour'"},
        {"setup driver-file 5\n", "s.script:1: a driver file is a version a.b.c.d"},
        {"wait until icon\n", "s.script:1: condition 'icon' takes 1 word: icon"},
        {"wait until weather sunny\n", "s.script:1: unknown condition 'weather' (icon, box, control, link, "
                                       "sheet, page, request, registry or exited)"},
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
        {"setup colour blue\n",
         "s.script:1: setup of 'colour': kind, registry, world, faults, trace, driver-file"},
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

TEST_F(ScriptReaderTest, ResolvesTheWordsThatTraceAndSteer) {
    const runner::ReadResult result =
        Read("setup trace library events\n"
             "setup trace window\n"
             "setup driver-file none\n"
             "answer shell 2\n"
             "tray WM_LBUTTONDBLCLK\n"
             "tray 0x0205\n"
             "key IDC_CFG_SSID PageDown\n"
             "reveal IDC_CFG_SSID\n"
             "power resume-critical\n"
             "power legacy 4\n"
             "device arrival id \"PCI\\\\X\" type 5\n"
             "device nodes-changed\n"
             "registry set \"HKLM\\\\Software\\\\A B\" \"\" sz \"x y\"\n"
             "registry set HKCU\\K \"n\" dword 0x102\n"
             "registry set HKCU\\K \"b\" binary hex 00 fF\n"
             "registry delete HKLM\\Software\\A\n"
             "driver-file 1.5.0.3\n"
             "dump request 17\n"
             "fault oid 0xFF010199 thread=monitor optional delay 3000 answer 0200 written 600\n"
             "registry refuse HKLM\\Software\\A \"V\" subkeys times=2 optional\n"
             "registry refuse \"HKLM\\\\Software\\\\A B\"\n"
             "registry mark\n"
             "fault clear\n"
             "expect idle 10s\n"
             "expect icon follows link\n"
             "expect registry changes within \"saved.reg\"\n");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ((std::set<std::string>{"events", "library", "window"}), result.script.setup.traces);
    EXPECT_EQ("", result.script.setup.driverFile.value_or("unset"));
    const auto& c = result.script.commands;
    ASSERT_EQ(23u, c.size());
    EXPECT_EQ(Command::Verb::AnswerShell, c[0].verb);
    EXPECT_EQ(2, c[0].number);
    EXPECT_EQ(0x203, c[1].number);
    EXPECT_EQ(0x205, c[2].number);
    EXPECT_EQ(Command::Verb::Key, c[3].verb);
    EXPECT_EQ(0x22, c[3].number); // VK_NEXT
    EXPECT_EQ(Command::Verb::Reveal, c[4].verb);
    EXPECT_EQ(Command::Verb::PowerBroadcast, c[5].verb);
    EXPECT_EQ(6, c[5].number);
    EXPECT_EQ(Command::Verb::PowerLegacy, c[6].verb);
    EXPECT_EQ("PCI\\X", c[7].text);
    EXPECT_EQ(5u, c[7].deviceType.value_or(0));
    EXPECT_EQ(Command::Verb::DeviceNodesChanged, c[8].verb);
    EXPECT_EQ("HKLM\\Software\\A B", c[9].text);
    EXPECT_EQ("", c[9].valueName.value_or("unset"));
    EXPECT_EQ((std::vector<std::uint8_t>{'x', ' ', 'y'}), c[9].valueData);
    EXPECT_EQ(4u, c[10].valueType);
    EXPECT_EQ((std::vector<std::uint8_t>{0x02, 0x01, 0, 0}), c[10].valueData);
    EXPECT_EQ((std::vector<std::uint8_t>{0x00, 0xFF}), c[11].valueData);
    EXPECT_EQ(Command::Verb::RegistryDelete, c[12].verb);
    EXPECT_FALSE(c[12].valueName);
    EXPECT_EQ("1.5.0.3", c[13].text);
    EXPECT_EQ(17u, c[14].count);
    ASSERT_EQ(1u, c[15].faults.size());
    const simcard::FaultRule& rule = c[15].faults[0];
    EXPECT_EQ(simcard::ThreadRole::Monitor, rule.thread.value_or(simcard::ThreadRole::Ui));
    EXPECT_TRUE(rule.optional);
    EXPECT_EQ(3000u, rule.delayMs);
    EXPECT_EQ(simcard::FaultAction::Answer, rule.action);
    EXPECT_EQ((std::vector<std::uint8_t>{0x02, 0x00}), rule.answer);
    EXPECT_EQ(600u, rule.answerWritten.value_or(0));
    EXPECT_EQ("oid 0xFF010199 thread=monitor optional delay 3000 answer 0200 written 600",
              simcard::DescribeRule([&] {
                  simcard::FaultRule copy = rule;
                  copy.text.clear();
                  return copy;
              }()));
    EXPECT_EQ(Command::Verb::RegistryRefuse, c[16].verb);
    EXPECT_EQ("HKEY_LOCAL_MACHINE\\Software\\A", c[16].refusal.keyPath);
    EXPECT_EQ("V", c[16].refusal.valueName.value_or("unset"));
    EXPECT_TRUE(c[16].refusal.subkeys && c[16].refusal.optional);
    EXPECT_EQ(2u, c[16].refusal.times);
    EXPECT_EQ("HKEY_LOCAL_MACHINE\\Software\\A B", c[17].refusal.keyPath);
    EXPECT_FALSE(c[17].refusal.valueName || c[17].refusal.subkeys);
    EXPECT_EQ(Command::Verb::RegistryMark, c[18].verb);
    EXPECT_EQ(Command::Verb::FaultClear, c[19].verb);
    EXPECT_EQ(Command::Verb::ExpectIdle, c[20].verb);
    EXPECT_EQ(10000u, c[20].ms);
    EXPECT_EQ(runner::Condition::Kind::IconFollowsLink, c[21].condition.kind);
    EXPECT_EQ(runner::Condition::Kind::RegistryChanges, c[22].condition.kind);
    EXPECT_EQ("saved.reg", c[22].condition.text);
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
