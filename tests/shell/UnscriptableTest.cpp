// Whole-program cases that no scenario script can express, run in-process on virtual time: a start-up
// slower than the gate the card monitor waits at, the monitor finishing a cycle after the program has
// ended, the hidden main frame and a close request to it, and controls changed without a key (a web link
// emptied, the profile field emptied). The program's other user stories are the scenarios in tests/scenarios.
#include "ShellFixture.h"

#include <cstring>

#include "adapter/NdisRequests.h"
#include "app/CardMonitorThread.h"
#include "app/StartupGate.h"
#include "app/WindowsKind.h"
#include "hostui/Actions.h"
#include "sheet/ConfigUtility.h"

namespace shelltest {
namespace {

enum { CONFIG_PAGE_INDEX = 1, ABOUT_PAGE_INDEX = 5 };

// Shows the sheet from the tray menu on the page `nPage` (tab order) and returns the page window.
HWND ShowPage(int nPage) {
    ShellTest::WaitFor([] { return g_bCardPresent == 1; });
    ShellTest::ChooseFromTrayMenu(ID_TRAY_SHOW);
    ShellTest::WaitFor([] { return ShellTest::SheetWindow() != nullptr; });
    EXPECT_TRUE(hostui::SelectSheetTab(ShellTest::SheetWindow(), nPage));
    ::Sleep(100);
    return hostui::CurrentSheetPage(ShellTest::SheetWindow());
}

DWORD Tick(const simcard::TraceEntry& entry) {
    return static_cast<DWORD>(entry.timeMs);
}

struct SlowStart {
    DWORD dwKindAfterMs;    // when start-up has worked out the Windows kind
    DWORD dwFirstRequestMs; // when the card gets its first request
};

void PrintTo(const SlowStart& c, std::ostream* os) {
    *os << "kind after " << c.dwKindAfterMs << " ms";
}

class SlowStartTest : public ShellTest, public ::testing::WithParamInterface<SlowStart> {};

// The monitor thread is started as the frame starts it, before the Windows kind is known. Its first search
// waits for the kind at most 2000 ms; a search without it sends nothing and the next comes 2000 ms later.
TEST_P(SlowStartTest, TheFirstSearchWaitsForTheWindowsKindAtMostTwoSeconds) {
    InstallCard();
    InsertCard();
    const DWORD dwStart = ::GetTickCount();
    {
        CStartupGate startupGate;
        CConfigUtility* pSheet = new CConfigUtility(kTitle);
        g_pConfigSheet = pSheet;
        pSheet->AddRef();
        ASSERT_NE(nullptr, AfxBeginThread(CardMonitorThread, &g_pConfigSheet));
        ::Sleep(GetParam().dwKindAfterMs);
        ASSERT_TRUE(DetectWindowsKind());
    }
    ASSERT_TRUE(WaitFor([] { return g_bCardPresent == 1; }, 10000));
    g_bStopMonitor = 1;
    ::Sleep(2000);
    g_pConfigSheet.exchange(nullptr)->Release();

    const std::vector<simcard::TraceEntry> trace = TakeTraceEntries();
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(GetParam().dwFirstRequestMs, Tick(trace[0]) - dwStart);
    EXPECT_EQ(OID_802_3_CURRENT_ADDRESS, trace[0].oid);
}

INSTANTIATE_TEST_SUITE_P(StartUps, SlowStartTest,
                         ::testing::Values(SlowStart{300, 300}, SlowStart{2500, 4000}));

// Exit lets go of the sheet while the monitor thread is inside a cycle (Windows 98's full check after a
// change of the device tree pauses 2000 ms in it): the thread finishes the cycle on a sheet that is still
// there, after the program has ended, and ends at the top of the next one, leaving no adapter open.
TEST_F(ShellTest, ExitWhileTheMonitorIsInsideACycleLeavesItAWholeSheet) {
    OnSystem(hostsim::WindowsKind::Win98);
    InstallCard();
    InsertCard();
    DWORD dwExit = 0;
    Run([&] {
        WaitFor([] { return hostui::GetTrayIcon().iconResource == 186; });
        CConfigUtility* pSheet = Sheet();
        ::SendMessageA(FrameWindow(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
        WaitFor([&] { return ::WaitForSingleObject(pSheet->m_hMonitorIdle, 0) == WAIT_TIMEOUT; });
        TakeTraceEntries();
        hostui::QueueMenuChoice(ID_TRAY_EXIT);
        dwExit = ::GetTickCount();
        hostui::RightClickTray();
    });

    const std::vector<simcard::TraceEntry> after = TakeTraceEntries();
    ASSERT_FALSE(after.empty());
    // The verification of the full check comes after the exit had let go of the sheet.
    EXPECT_GT(Tick(after.front()), dwExit + 1000u);
    EXPECT_EQ(0u, driverlib::CardRack::Instance().OpenHandleCount());
}

// The working profile's SSID length beyond its 32-byte field, which neither the page nor a load leaves
// behind: the monitor thread's next cycle still writes the field's 32 bytes and no more.
TEST_F(ShellTest, APendingSsidLengthBeyondTheFieldSendsTheFieldOnly) {
    InstallCard();
    InsertCard();
    std::vector<simcard::TraceEntry> trace;
    Run([&] {
        WaitFor([] { return hostui::GetTrayIcon().iconResource == 186; });
        CConfigUtility* pSheet = Sheet();
        pSheet->NetworkType = 1;
        pSheet->DSChannel = 11;
        pSheet->TxRate = 8;
        pSheet->PSMode = 0;
        std::memset(pSheet->SSID, 'W', sizeof(pSheet->SSID));
        pSheet->SSIDLength = 40;
        TakeTraceEntries();
        g_bConfigPending = 1;
        ::Sleep(1500);
        trace = TakeTraceEntries();
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    int nSsidWrites = 0;
    for (const simcard::TraceEntry& entry : trace) {
        if (entry.kind == simcard::RequestKind::Set && entry.subId && *entry.subId == 0x01010109u) {
            ++nSsidWrites;
            EXPECT_EQ(std::vector<std::uint8_t>(32, 'W'), entry.value);
        }
    }
    EXPECT_EQ(1, nSsidWrites);
}

// The main frame is never shown (no script sees top-level windows); a close request with the sheet up ends
// the program as "Exit" does.
TEST_F(ShellTest, TheHiddenFrameEndsTheProgramOnACloseRequestWhileTheSheetIsUp) {
    InstallCard();
    InsertCard();
    Run([] {
        WaitFor([] { return g_bCardPresent == 1; });
        EXPECT_FALSE(::IsWindowVisible(FrameWindow()));
        EXPECT_TRUE(hostui::DoubleClickTray());
        WaitFor([] { return SheetWindow() != nullptr; });
        ::PostMessageA(FrameWindow(), WM_CLOSE, 0, 0);
        WaitFor([] { return FrameWindow() == nullptr; });
    });

    EXPECT_EQ(nullptr, SheetWindow());
    EXPECT_EQ(nullptr, Sheet());
    EXPECT_EQ("delete", TrayLog().back());
}

// The dialog keeps the web link hidden and disabled; a click sent to the page reaches it.
TEST_F(ShellTest, AnEmptyWebLinkSaysSoAndOpensNothing) {
    InstallCard();
    InsertCard();
    Run([&] {
        const HWND hPage = ShowPage(ABOUT_PAGE_INDEX);
        const HWND hLink = hostui::FindControl(hPage, IDC_ABOUT_WEB_LINK);
        ::SetWindowTextA(hLink, "");
        hostui::QueueMessageBoxAnswer(IDOK);
        ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_WEB_LINK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(hLink));
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });
    EXPECT_EQ(Lines{"No URL address."}, BoxTexts());
    EXPECT_TRUE(hostui::EventsOf(hostui::UiEvent::Kind::Shell).empty());
}

// The whole profile name selected and deleted, as by the edit's menu: no key reaches the combo box, so
// completion stays on, and every entry begins with the empty text.
TEST_F(ShellTest, AnEmptiedProfileFieldCompletesToTheFirstEntry) {
    InstallCard();
    InsertCard();
    hostui::ControlSnapshot profile, create, activate;
    Run([&] {
        const HWND hPage = ShowPage(CONFIG_PAGE_INDEX);
        hostui::TypeText(hPage, IDC_CFG_PROFILE, "\b");
        profile = hostui::ReadControl(hPage, IDC_CFG_PROFILE);
        create = hostui::ReadControl(hPage, IDC_CFG_CREATE);
        activate = hostui::ReadControl(hPage, IDC_CFG_ACTIVATE);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });
    EXPECT_EQ("default", profile.text);
    EXPECT_FALSE(create.enabled);
    EXPECT_TRUE(activate.enabled);
}

} // namespace
} // namespace shelltest
