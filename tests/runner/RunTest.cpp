// Whole runs of the test application: what each command does as the headless window system and the cards
// see it, how a run ends, and that the same input gives the same transcript.
#include "RunScript.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <vector>

namespace {

using runner_test::HasLine;
using runner_test::ReadText;
using runner_test::RunScript;
using runner_test::WriteTemp;

TEST(RunTest, StartsTheProgramOnItsOwnThreadAndFollowsItsTrayIcon) {
    const auto run = RunScript("wait until icon 187 within 1s\n"
                               "wait until icon 186 within 5s\n"
                               "dump tray\n");
    EXPECT_EQ(0, run.status) << run.transcript;
    EXPECT_NE(std::string::npos, run.transcript.find("] t2  tray add icon 187 tip \"Runner Test\""))
        << run.transcript;
    EXPECT_NE(std::string::npos, run.transcript.find("] t3  tray change icon 186")) << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "tray icon 186 tip \"Runner Test\"")) << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "end of the script; the program still runs")) << run.transcript;
    EXPECT_NE(std::string::npos, run.transcript.find("# registry: a fresh machine with the card installed"));
}

TEST(RunTest, UserActionsReachTheProgramThroughTheWindowSystem) {
    const auto run = RunScript("wait until icon 186 within 5s\n"
                               "menu pick ID_TRAY_SHOW\n"
                               "tray right-click\n"
                               "wait until sheet up within 1s\n"
                               "expect page \"Link Info\"\n"
                               "tab \"Configuration\"\n"
                               "expect page 1\n"
                               "type IDC_CFG_SSID \"OFFICE\"\n"
                               "expect control IDC_CFG_SSID text \"OFFICE\"\n"
                               "expect control IDC_CFG_APPLY enabled\n"
                               "select IDC_CFG_MODE \"Ad Hoc\"\n"
                               "expect control IDC_CFG_MODE text \"Ad Hoc\"\n"
                               "select IDC_CFG_MODE 0\n"
                               "expect control IDC_CFG_MODE text \"Infrastructure\"\n"
                               "answer yes\n"
                               "click IDC_CFG_APPLY\n"
                               "expect box \"Apply the new SSID?\"\n"
                               "expect control IDC_CFG_APPLY disabled\n"
                               "dump registry HKLM\\Software\\RunnerTest\n"
                               "sheet ok\n"
                               "wait until sheet down within 1s\n"
                               "menu pick \"Exit\"\n"
                               "tray right-click\n"
                               "wait until exited within 5s\n");
    EXPECT_EQ(0, run.status) << run.transcript;
    const char* lines[] = {
        "popup menu [2002 Show | - | 2004 Exit] -> 2002",
        "message box \"Apply the new SSID?\" caption \"WlanUtility\" style 0x00024 -> yes",
        "registry set [HKEY_LOCAL_MACHINE\\Software\\RunnerTest] \"SSID\" = sz \"OFFICE\\0\"",
        "debug string \"ssid applied\\n\"",
        "beep 0x00",
        "popup menu [2002 Show | - | 2004 Exit] -> 2004",
        "tray delete",
        "the program ended with exit code 0",
    };
    for (const char* line : lines)
        EXPECT_TRUE(HasLine(run.transcript, line)) << line << "\n" << run.transcript;
}

TEST(RunTest, ABoxNobodyAnsweredAndAnAnswerNobodyTookFailTheRun) {
    const auto unanswered = RunScript("menu pick ID_TRAY_SHOW\n"
                                      "tray right-click\n"
                                      "tab 1\n"
                                      "type IDC_CFG_SSID \"X\"\n"
                                      "click IDC_CFG_APPLY\n");
    EXPECT_EQ(1, unanswered.status);
    EXPECT_TRUE(HasLine(unanswered.transcript,
                        "FAILURE message box \"Apply the new SSID?\" shown with no answer queued"))
        << unanswered.transcript;

    const auto untaken = RunScript("answer ok\nwait 1s\n");
    EXPECT_EQ(1, untaken.status);
    EXPECT_TRUE(HasLine(untaken.transcript, "FAILED line 1: answer ok was never taken by a message box"))
        << untaken.transcript;
}

TEST(RunTest, AWaitThatReachesItsLimitFailsAtTheLimit) {
    runner::RunOptions options;
    options.world = WriteTemp("silent.world", "card bind=*\n");
    const auto run = RunScript("wait until icon 186 within 2s\nwait 1s\n", options);
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos,
              run.transcript.find(
                  "[    2.000s] t1  FAILED wait until icon 186: not within 2.000s (the tray shows icon 187)"))
        << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "not run: line 2: wait 1s")) << run.transcript;
}

TEST(RunTest, TheRunEndsWhenTheProgramEnds) {
    const auto ended = RunScript("menu pick ID_TRAY_EXIT\ntray right-click\nwait 10m\n");
    EXPECT_EQ(0, ended.status) << ended.transcript;
    EXPECT_TRUE(HasLine(ended.transcript, "the program ended with exit code 0")) << ended.transcript;
    EXPECT_EQ(std::string::npos, ended.transcript.find("[  600.")) << "the wait went on after the end";

    const auto checked = RunScript("menu pick ID_TRAY_EXIT\ntray right-click\nwait until exited within 1s\n"
                                   "expect icon none\n");
    EXPECT_EQ(0, checked.status) << checked.transcript;

    const auto leftOver =
        RunScript("menu pick ID_TRAY_EXIT\ntray right-click\nwait 1s\ntray double-click\nwait 1s\n");
    EXPECT_EQ(1, leftOver.status);
    EXPECT_TRUE(HasLine(leftOver.transcript, "FAILED the program has ended")) << leftOver.transcript;
    EXPECT_TRUE(HasLine(leftOver.transcript, "not run: line 5: wait 1s")) << leftOver.transcript;
}

const char kBusyScript[] = "wait until icon 186 within 5s\n"
                           "world ap name=guest ssid=GUEST bssid=00:60:B3:00:00:07 channel=11 signal=20\n"
                           "world at 1500 home signal=1\n"
                           "wait 4s\n"
                           "device removal\n"
                           "card remove\n"
                           "wait 3s\n"
                           "card insert\n"
                           "device arrival\n"
                           "power sleep\n"
                           "wait 2s\n"
                           "power wake\n"
                           "fault oid 0xFF010199 nth=2 fail 0xC0000001\n"
                           "wait until request 0xFF010199 query within 5s\n"
                           "wait 5s\n"
                           "dump trace 3\n";

TEST(RunTest, TheSameScriptGivesTheSameTranscript) {
    const auto first = RunScript(kBusyScript);
    const auto second = RunScript(kBusyScript);
    EXPECT_EQ(0, first.status) << first.transcript;
    EXPECT_EQ(first.transcript, second.transcript);
    EXPECT_TRUE(HasLine(first.transcript,
                        "debug string \"device removal PCI\\\\VEN_1260&DEV_3873&SUBSYS_5E0C7A93&"
                        "REV_01\\\\3&13C0B0C5&0&58\\n\""))
        << first.transcript;
    EXPECT_TRUE(HasLine(first.transcript, "debug string \"power broadcast 0\\n\"")) << first.transcript;
    EXPECT_TRUE(HasLine(first.transcript, "debug string \"power broadcast 7\\n\"")) << first.transcript;
    EXPECT_NE(std::string::npos, first.transcript.find("status=0xC0000001 fault")) << first.transcript;
    EXPECT_NE(std::string::npos, first.transcript.find("[    6.000s] t3  tray change icon 187"))
        << "the worker did not see the card go";
    EXPECT_NE(std::string::npos, first.transcript.find("... the same ")) << "polls are not folded";
}

TEST(RunTest, AFaultThatNeverFiredFailsTheRun) {
    const auto run = RunScript("fault oid 0xFF020198 fail 0xC0000001\nwait 2s\n");
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.transcript.find("FAILED fault never fired: oid 0xFF020198"))
        << run.transcript;
}

TEST(RunTest, ABadScriptRunsNothing) {
    const auto run = RunScript("wait 1s\nclick IDC_NOWHERE\n", {}, "bad.script");
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos,
              run.transcript.find("ABadScriptRunsNothing.bad.script:2: unknown control 'IDC_NOWHERE'"))
        << run.transcript;
    EXPECT_EQ("", run.output);
}

TEST(RunTest, ExpectedTranscriptIsComparedAndUpdated) {
    runner::RunOptions options;
    options.expect = WriteTemp("update.expected", "# something else\n");
    const std::string script = "wait until icon 186 within 5s\n";
    const auto differs = RunScript(script, options);
    EXPECT_EQ(1, differs.status);
    EXPECT_NE(std::string::npos, differs.output.find("-# something else\n")) << differs.output;
    EXPECT_NE(std::string::npos, differs.output.find("+++ this run\n")) << differs.output;

    options.update = true;
    EXPECT_EQ(0, RunScript(script, options).status);
    EXPECT_EQ(differs.transcript, ReadText(options.expect));
    options.update = false;
    const auto matches = RunScript(script, options);
    EXPECT_EQ(0, matches.status) << matches.output;
    EXPECT_EQ("", matches.output);
}

// Every element closed in order, attributes quoted: enough of XML to catch a broken writer.
bool WellFormed(const std::string& xml, std::string* why) {
    std::vector<std::string> open;
    const std::regex tag(R"(<(/?)([A-Za-z?][\w:-]*)((?:\s+[\w:-]+="[^"<]*")*)\s*([/?]?)>)");
    std::size_t pos = 0;
    while ((pos = xml.find('<', pos)) != std::string::npos) {
        std::smatch m;
        const std::string rest = xml.substr(pos, xml.find('>', pos) - pos + 1);
        if (!std::regex_match(rest, m, tag)) {
            *why = "bad tag " + rest;
            return false;
        }
        if (m[2] == "?xml") {
        } else if (m[1] == "/") {
            if (open.empty() || open.back() != m[2]) {
                *why = "unexpected </" + m[2].str() + ">";
                return false;
            }
            open.pop_back();
        } else if (m[4] != "/") {
            open.push_back(m[2]);
        }
        pos += rest.size();
    }
    *why = open.empty() ? "" : "unclosed <" + open.back() + ">";
    return open.empty();
}

TEST(RunTest, WritesAWellFormedTimeline) {
    runner::RunOptions options;
    options.svg = runner_test::TempPath("timeline.svg");
    const auto run = RunScript("wait until icon 186 within 5s\nwait 5s\n", options);
    EXPECT_EQ(0, run.status);
    const std::string svg = ReadText(options.svg);
    std::string why;
    EXPECT_TRUE(WellFormed(svg, &why)) << why;
    EXPECT_EQ(0u, svg.find("<?xml"));
    EXPECT_NE(std::string::npos, svg.find("<polyline")) << "no link state or icon line";
    EXPECT_NE(std::string::npos, svg.find("fill=\"#888\"")) << "no requests per second";
    for (const char* label :
         {">187 not connected<", ">186 connected<", ">4 searching<", ">1 connected<", "signal (0xFF02019F)",
          "quality (0xFF02019E)", ">5 s<", "time (run ended at 6.000 s)"})
        EXPECT_NE(std::string::npos, svg.find(label)) << "no axis label " << label;
}

TEST(RunTest, TracesComeFromTheCommandLineAndTheScriptAndAShellAnswerMustBeTaken) {
    runner::RunOptions options;
    std::string error;
    const char* bad[] = {"wlanrun", "--trace", "library,colour", "x.script"};
    EXPECT_FALSE(runner::ParseCommandLine(4, bad, &options, &error));
    EXPECT_EQ("--trace takes library, registry, events or window, not 'colour'", error);
    const char* good[] = {"wlanrun", "--trace", "library,window", "x.script"};
    ASSERT_TRUE(runner::ParseCommandLine(4, good, &options, &error)) << error;
    EXPECT_EQ((std::set<std::string>{"library", "window"}), options.traces);

    options = {};
    options.traces = {"library"};
    const auto run = RunScript("setup trace registry\nanswer shell 2\nwait until icon 186 within 5s\n"
                               "registry set HKLM\\Software\\T \"v\" sz \"x\"\n",
                               options);
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.transcript.find("# traces: library, registry\n")) << run.transcript;
    EXPECT_NE(std::string::npos, run.transcript.find("library W32N_MakeNdisRequest #1 (")) << run.transcript;
    EXPECT_NE(std::string::npos,
              run.transcript.find("registry open [HKEY_LOCAL_MACHINE\\Software\\T] (create) -> 0x"))
        << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "FAILED line 2: answer shell 2 was never taken by a shell request"))
        << run.transcript;
}

} // namespace
