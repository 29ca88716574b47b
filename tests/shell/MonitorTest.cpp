// The card monitor thread against the simulated card's trace: what an idle cycle asks, a pending
// configuration, the hand-shake with a page, a suspend, and the card going away on each Windows kind.
#include "ShellFixture.h"

#include <algorithm>
#include <cstring>

#include "adapter/NdisRequests.h"
#include "sheet/ConfigUtility.h"
#include "simcard/FaultRules.h"

namespace shelltest {
namespace {

using simcard::TraceEntry;

const char kCardId[] = "PCI\\VEN_1260&DEV_3873&SUBSYS_5E0C7A93\\3&61AAA01&0&48";

// The card's clock is the system's tick count, kept counting across the test's fresh clocks.
DWORD Tick(const TraceEntry& entry) {
    return static_cast<DWORD>(entry.timeMs);
}

bool Connected() {
    return hostui::GetTrayIcon().iconResource == 186;
}
bool SheetUp() {
    return ShellTest::SheetWindow() != nullptr;
}

void Arm(const std::string& rule) {
    const simcard::FaultLoad load = simcard::ParseFaultRules(rule, "test.faults");
    ASSERT_TRUE(load.ok) << load.error;
    ShellTest::Card()->ArmFaults(load.rules);
}

class MonitorTest : public ShellTest {
protected:
    void StartOn(hostsim::WindowsKind kind) {
        OnSystem(kind);
        InstallCard();
        InsertCard();
    }
};

TEST_F(MonitorTest, AnIdleCycleAsksTheCardOnlyForItsLinkStateOncePerSecond) {
    StartOn(hostsim::WindowsKind::Win2000);
    std::vector<TraceEntry> idle;
    Run([&] {
        WaitFor(Connected);
        TakeTrace();
        ::Sleep(10000);
        idle = TakeTraceEntries();
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    // Ten seconds hold nine or ten cycles, depending on where the window falls.
    ASSERT_GE(idle.size(), 9u);
    ASSERT_LE(idle.size(), 10u);
    for (size_t i = 0; i < idle.size(); ++i) {
        EXPECT_EQ(OID_LINK_STATE, idle[i].oid);
        EXPECT_EQ(simcard::RequestKind::Query, idle[i].kind);
        EXPECT_EQ(0u, idle[i].status);
        if (i > 0) {
            EXPECT_EQ(1000u, idle[i].timeMs - idle[i - 1].timeMs);
        }
    }
}

TEST_F(MonitorTest, APendingConfigurationIsAppliedInTheNextCycleWhichGoesOnWithoutPause) {
    StartOn(hostsim::WindowsKind::Win2000);
    std::vector<TraceEntry> trace;
    DWORD dwPending = 0;
    Run([&] {
        WaitFor(Connected);
        ::Sleep(500); // in the middle of the monitor's pause
        CConfigUtility* pSheet = Sheet();
        pSheet->NetworkType = 1;
        pSheet->DSChannel = 11;
        pSheet->TxRate = 8;
        pSheet->PSMode = 0;
        std::memset(pSheet->SSID, 'W', sizeof(pSheet->SSID));
        pSheet->SSIDLength = 40; // more than the field holds: only its 32 bytes may go to the card
        TakeTrace();
        dwPending = ::GetTickCount();
        g_bConfigPending = 1;
        ::Sleep(1500);
        trace = TakeTraceEntries();
        EXPECT_EQ(0, g_bConfigPending);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    ASSERT_GE(trace.size(), 3u);
    const DWORD cycle = Tick(trace.front());
    EXPECT_EQ(dwPending + 500, cycle);
    size_t i = 0;
    bool sawSsid = false;
    for (; i < trace.size() && trace[i].kind == simcard::RequestKind::Set; ++i) {
        EXPECT_EQ(cycle, Tick(trace[i]));
        EXPECT_EQ(0u, trace[i].status);
        if (trace[i].subId == 0x01010109u) {
            sawSsid = true;
            EXPECT_EQ(std::vector<std::uint8_t>(32, 'W'), trace[i].value);
        }
    }
    EXPECT_TRUE(sawSsid);
    ASSERT_LT(i, trace.size());
    EXPECT_EQ(0xFF020198u, trace[i - 1].oid); // the commit ends the writes
    // No pause after applying: the next cycle's link query comes at the same moment.
    EXPECT_EQ(OID_LINK_STATE, trace[i].oid);
    EXPECT_EQ(cycle, Tick(trace[i]));
    EXPECT_EQ(Lines{}, BoxTexts());
}

TEST_F(MonitorTest, AFailedApplySaysSoOnceAndIsNotRetried) {
    StartOn(hostsim::WindowsKind::Win2000);
    Run([&] {
        WaitFor(Connected);
        CConfigUtility* pSheet = Sheet();
        pSheet->NetworkType = 1;
        pSheet->DSChannel = 3;
        pSheet->TxRate = 15;
        hostui::QueueMessageBoxAnswer(IDOK);
        Arm("oid 0xFF020198 set fail 0xC0000001\n");
        g_bConfigPending = 1;
        ::Sleep(5000);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    EXPECT_EQ(Lines{"Failed to change device configuration."}, BoxTexts());
    const std::vector<hostui::UiEvent> boxes = hostui::EventsOf(hostui::UiEvent::Kind::Box);
    EXPECT_EQ(static_cast<std::uint32_t>(MB_OK), boxes[0].value);
}

// A page that wants the driver while the monitor thread is in the middle of a cycle waits for the cycle's
// end. On Windows 98 a full check after a device change spends 2000 ms inside the cycle.
TEST_F(MonitorTest, APageThatMeetsTheMonitorMidCycleWaitsForTheCycleToEnd) {
    StartOn(hostsim::WindowsKind::Win98);
    DWORD dwWait = WAIT_FAILED;
    DWORD dwWaited = 0;
    Lines trace;
    Run([&] {
        WaitFor(Connected);
        CConfigUtility* pSheet = Sheet();
        SendDeviceChange(DBT_DEVNODES_CHANGED, "");
        WaitFor([&] { return ::WaitForSingleObject(pSheet->m_hMonitorIdle, 0) == WAIT_TIMEOUT; });
        ::Sleep(300);
        TakeTrace();
        const DWORD dwStart = ::GetTickCount();
        ::ResetEvent(pSheet->m_hUiIdle);
        dwWait = ::WaitForSingleObject(pSheet->m_hMonitorIdle, 2000);
        dwWaited = ::GetTickCount() - dwStart;
        BYTE abLink[2];
        DWORD cb = 0;
        pSheet->m_Adapter.QueryOid(g_szAdapterName, OID_802_3_CURRENT_ADDRESS, abLink, 0, &cb); // the page's
        ::SetEvent(pSheet->m_hUiIdle);
        trace = TakeTrace();
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), dwWait);
    EXPECT_GT(dwWaited, 0u);
    EXPECT_LT(dwWaited, 2000u);
    // The monitor's full check and link query, then the page's request.
    ASSERT_EQ(4u, trace.size());
    EXPECT_NE(std::string::npos, trace[0].find("query 0x01010102 status=0x00000000"));
    EXPECT_NE(std::string::npos, trace[2].find("query 0xFF010199"));
    EXPECT_NE(std::string::npos, trace[3].find("query 0x01010102"));
}

TEST_F(MonitorTest, WhileAPageHoldsTheDriverLongerThanTwoSecondsTheMonitorGoesAhead) {
    StartOn(hostsim::WindowsKind::Win2000);
    std::vector<TraceEntry> trace;
    DWORD dwHeld = 0;
    Run([&] {
        WaitFor(Connected);
        CConfigUtility* pSheet = Sheet();
        ::WaitForSingleObject(pSheet->m_hMonitorIdle, 2000);
        ::ResetEvent(pSheet->m_hUiIdle);
        TakeTrace();
        dwHeld = ::GetTickCount();
        ::Sleep(3500);
        trace = TakeTraceEntries();
        ::SetEvent(pSheet->m_hUiIdle);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    // Next cycle starts within a second, waits 2000 ms for the page, then queries anyway.
    ASSERT_EQ(1u, trace.size());
    EXPECT_EQ(OID_LINK_STATE, trace[0].oid);
    EXPECT_GE(Tick(trace[0]), dwHeld + 2000u);
    EXPECT_LE(Tick(trace[0]), dwHeld + 3000u);
}

TEST_F(MonitorTest, AfterASuspendAFailedLinkQuerySearchesTheCardAgainInsteadOfLosingIt) {
    StartOn(hostsim::WindowsKind::Win98);
    Lines trace;
    Run([&] {
        WaitFor(Connected);
        ::Sleep(500);
        ::SendMessageA(FrameWindow(), WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0);
        EXPECT_EQ(1, g_bSuspendSeen);
        Card()->Suspend();
        Card()->Resume(); // the adapter handle from before the suspend is stale now
        TakeTrace();
        ::Sleep(3000);
        EXPECT_EQ(1, g_bCardPresent);
        EXPECT_EQ(0, g_bSuspendSeen);
        trace = TakeTrace();
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    ASSERT_GE(trace.size(), 4u);
    EXPECT_NE(std::string::npos, trace[0].find("query 0xFF010199 status=0xC0010012"));
    // Found again from the first candidate, the Windows 98 pause, verified, polled.
    EXPECT_NE(std::string::npos, trace[1].find("query 0x01010102 status=0x00000000"));
    EXPECT_NE(std::string::npos, trace[2].find("query 0xFF010199 status=0x00000000"));
    EXPECT_NE(std::string::npos, trace[3].find("query 0xFF010199 status=0x00000000"));
    const Lines tray = TrayLog();
    EXPECT_EQ(1, std::count(tray.begin(), tray.end(), "delete")); // only at exit
}

TEST_F(MonitorTest, OnWindows98ALostCardIsNotAskedAgainUntilItsArrivalIsAnnounced) {
    StartOn(hostsim::WindowsKind::Win98);
    Lines silent;
    Lines back;
    Run([&] {
        WaitFor(Connected);
        DoubleClickTray();
        WaitFor(SheetUp);
        Arm("oid 0xFF010199 query times=1 fail 0xC0000001\n");
        ::Sleep(1500);
        EXPECT_EQ(0, g_bCardPresent);
        EXPECT_TRUE(SheetUp()); // Windows 98 leaves the sheet up
        // The sheet's own pages read the card while they show; what is watched here is the monitor.
        ChooseFromTrayMenu(ID_TRAY_HIDE);
        WaitFor([] { return !SheetUp(); });
        TakeTrace();
        ::Sleep(10000);
        silent = TakeTrace();
        SendDeviceChange(DBT_DEVICEARRIVAL, kCardId);
        EXPECT_EQ(1, g_bCardPresent);
        ::Sleep(5000);
        back = TakeTrace();
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    EXPECT_EQ(Lines{}, silent);
    EXPECT_FALSE(back.empty());
}

TEST_F(MonitorTest, OnWindows2000ARemovedCardClosesTheSheetAndIsSearchedForEveryCycle) {
    StartOn(hostsim::WindowsKind::Win2000);
    Run([&] {
        WaitFor(Connected);
        DoubleClickTray();
        WaitFor(SheetUp);
        Card()->Remove();
        WaitFor([] { return SheetWindow() == nullptr; }, 3000);
        WaitFor([] { return !hostui::GetTrayIcon().shown; }, 3000);
        EXPECT_EQ(0, g_bSheetActive);
        Card()->Insert();
        WaitFor([] { return hostui::GetTrayIcon().shown; }, 3000);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    const Lines pictures = TrayPictures();
    ASSERT_GE(pictures.size(), 4u);
    EXPECT_EQ((Lines{"187", "186", "none", "187"}), Lines(pictures.begin(), pictures.begin() + 4));
}

TEST_F(MonitorTest, OnWindows98TheSheetStaysUpUntilTheRemovalIsAnnounced) {
    StartOn(hostsim::WindowsKind::Win98);
    Run([&] {
        WaitFor(Connected);
        DoubleClickTray();
        WaitFor(SheetUp);
        Card()->Remove();
        ::Sleep(5000);
        EXPECT_TRUE(SheetUp());
        EXPECT_EQ(0, g_bCardPresent);
        SendDeviceChange(DBT_DEVICEREMOVECOMPLETE, kCardId);
        WaitFor([] { return SheetWindow() == nullptr; }, 1000);
        EXPECT_FALSE(hostui::GetTrayIcon().shown);
        EXPECT_EQ(LINK_STATE_UNKNOWN, Sheet()->m_wLastLinkState.load());
        Card()->Insert();
        SendDeviceChange(DBT_DEVICEARRIVAL, kCardId);
        WaitFor(Connected);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    EXPECT_EQ((Lines{"187", "186", "none", "187", "186", "none"}), TrayPictures());
}

// Exit lets go of the sheet while the monitor thread is inside a cycle: the thread finishes the cycle on a
// sheet that is still there and ends at the top of the next one.
TEST_F(MonitorTest, ExitWhileTheMonitorIsInsideACycleLeavesItAWholeSheet) {
    StartOn(hostsim::WindowsKind::Win98);
    DWORD dwExit = 0;
    Run([&] {
        WaitFor(Connected);
        CConfigUtility* pSheet = Sheet();
        SendDeviceChange(DBT_DEVNODES_CHANGED, "");
        WaitFor([&] { return ::WaitForSingleObject(pSheet->m_hMonitorIdle, 0) == WAIT_TIMEOUT; });
        TakeTrace();
        hostui::QueueMenuChoice(ID_TRAY_EXIT);
        dwExit = ::GetTickCount();
        hostui::RightClickTray();
    });

    const std::vector<TraceEntry> after = TakeTraceEntries();
    ASSERT_FALSE(after.empty());
    // The verification of the full check comes after the exit had let go of the sheet.
    EXPECT_GT(Tick(after.front()), dwExit + 1000u);
    EXPECT_EQ(0u, driverlib::CardRack::Instance().OpenHandleCount());
}

} // namespace
} // namespace shelltest
