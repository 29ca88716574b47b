// Start-up: one copy only, the Windows kinds the program runs on, and a card that shows up late.
#include "ShellFixture.h"

#include "adapter/NdisRequests.h"
#include "app/CardMonitorThread.h"
#include "app/StartupGate.h"
#include "app/WindowsKind.h"
#include "sheet/ConfigUtility.h"

namespace shelltest {
namespace {

TEST_F(ShellTest, ASecondCopySaysSoAndEndsWithoutEverShowingAnIcon) {
    InstallCard();
    InsertCard();
    HWND hFirstCopy = ::CreateWindowExA(0, "Static", kTitle, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                        nullptr, nullptr);
    ASSERT_NE(nullptr, hFirstCopy);
    hostui::QueueMessageBoxAnswer(IDOK);

    Run([] { ::Sleep(5000); });

    const std::vector<hostui::UiEvent> boxes = hostui::EventsOf(hostui::UiEvent::Kind::Box);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("The application is already running.", boxes[0].text);
    EXPECT_EQ(kTitle, boxes[0].caption);
    EXPECT_EQ(0x42040u, boxes[0].value);
    // Its monitor thread was already running and found the card, but the frame that owns the icon is gone.
    EXPECT_EQ(Lines{}, TrayLog());
    ::DestroyWindow(hFirstCopy);
}

TEST_F(ShellTest, AnUnsupportedPlatformEndsTheProgramWithoutAWord) {
    OnSystem(hostsim::WindowsKind::Win32s);
    Run([] { ::Sleep(3000); });

    EXPECT_EQ(Lines{}, BoxTexts());
    EXPECT_EQ(Lines{}, TrayLog());
    EXPECT_EQ(nullptr, FrameWindow());
}

TEST_F(ShellTest, AnotherNtVersionRunsButNeverFindsTheCardAndCloses) {
    OnSystem(hostsim::WindowsKind::NtOther);
    InstallCard();
    InsertCard();
    HWND hFrameSeen = nullptr;
    Run([&] {
        ::Sleep(10000);
        hFrameSeen = FrameWindow();
        ::SendMessageA(hFrameSeen, WM_CLOSE, 0, 0);
    });

    EXPECT_NE(nullptr, hFrameSeen);
    EXPECT_EQ(Lines{}, TrayLog());
    EXPECT_EQ(Lines{}, TakeTrace());
    EXPECT_EQ(nullptr, FrameWindow());
}

// Start-up with the monitor thread started as the frame starts it, before the Windows kind is known, and the
// kind worked out dwKindAfterMs later. Returns when the card was verified; the thread is stopped and the
// sheet let go. The card's requests stay in its trace.
void StartUpSlowly(DWORD dwKindAfterMs) {
    {
        CStartupGate startupGate;
        CConfigUtility* pSheet = new CConfigUtility(kTitle);
        g_pConfigSheet = pSheet;
        pSheet->AddRef();
        ASSERT_NE(nullptr, AfxBeginThread(CardMonitorThread, &g_pConfigSheet));
        ::Sleep(dwKindAfterMs);
        ASSERT_TRUE(DetectWindowsKind());
    }
    ASSERT_TRUE(ShellTest::WaitFor([] { return g_bCardPresent == 1; }, 10000));
    g_bStopMonitor = 1;
    ::Sleep(2000);
    g_pConfigSheet.exchange(nullptr)->Release();
}

TEST_F(ShellTest, TheFirstSearchWaitsForTheWindowsKindAndGoesAsSoonAsItIsKnown) {
    InstallCard();
    InsertCard();
    const DWORD dwStart = ::GetTickCount();
    StartUpSlowly(300);

    const std::vector<simcard::TraceEntry> trace = TakeTraceEntries();
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(300u, static_cast<DWORD>(trace[0].timeMs) - dwStart);
    EXPECT_EQ(OID_802_3_CURRENT_ADDRESS, trace[0].oid);
}

TEST_F(ShellTest, AStartUpSlowerThanTheLimitIsSearchedInVainAndFoundTwoSecondsLater) {
    InstallCard();
    InsertCard();
    const DWORD dwStart = ::GetTickCount();
    StartUpSlowly(2500);

    // The search at 2000 ms had no kind to look with and sent nothing; the one at 4000 ms found the card.
    const std::vector<simcard::TraceEntry> trace = TakeTraceEntries();
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(4000u, static_cast<DWORD>(trace[0].timeMs) - dwStart);
    EXPECT_EQ(OID_802_3_CURRENT_ADDRESS, trace[0].oid);
}

TEST_F(ShellTest, ACardThatAppearsLaterIsFoundByTheNextSearchTwoSecondsApart) {
    InstallCard();
    Run([&] {
        ::Sleep(5000);
        EXPECT_EQ(Lines{}, TrayLog());
        InsertCard();
        WaitFor([] { return !TrayLog().empty(); });
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    const std::vector<simcard::TraceEntry> trace = TakeTraceEntries();
    ASSERT_GE(trace.size(), 2u);
    // Searches at 0, 2000, 4000: the one at 6000 is the first after the card came.
    EXPECT_EQ(6000u, static_cast<DWORD>(trace[0].timeMs));
    EXPECT_EQ(OID_802_3_CURRENT_ADDRESS, trace[0].oid);
    EXPECT_EQ("add 187", TrayLog().front());
}

} // namespace
} // namespace shelltest
