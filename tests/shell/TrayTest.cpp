// The tray icon and its menu: the icon follows the link, the sheet opens and closes from the icon, and the
// program ends from the menu or a close request, with or without the sheet up.
#include "ShellFixture.h"

#include "app/MainFrame.h"
#include "sheet/ConfigUtility.h"

namespace shelltest {
namespace {

const char kFadingWorld[] = "ap name=main ssid=OFFICE bssid=00:60:B3:10:00:01 channel=6 signal=40 noise=8\n"
                            "at 20000 main present=no\n"
                            "at 40000 main present=yes\n";

bool SheetUp() {
    return ShellTest::SheetWindow() != nullptr;
}
bool SheetDown() {
    return ShellTest::SheetWindow() == nullptr;
}

class TrayTest : public ShellTest {
protected:
    TrayTest() {
        InstallCard();
        InsertCard();
    }
};

TEST_F(ShellTest, TheIconShowsTheLinkComingGoingAndComingBackOnceEach) {
    InstallCard();
    InsertCard(1, "", kFadingWorld);
    Run([] {
        ::Sleep(60000);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    EXPECT_EQ((Lines{"187", "186", "187", "186", "none"}), TrayPictures());
    const std::vector<hostui::UiEvent> adds = hostui::EventsOf(hostui::UiEvent::Kind::TrayAdd);
    ASSERT_EQ(1u, adds.size());
    EXPECT_EQ(kTitle, adds[0].text);
    EXPECT_FALSE(hostui::GetTrayIcon().shown);
}

TEST_F(TrayTest, TheMenuOffersShowWhileTheSheetIsDownAndHideWhileItIsUp) {
    Run([] {
        WaitFor([] { return g_bCardPresent == 1; });
        ChooseFromTrayMenu(ID_TRAY_SHOW);
        WaitFor(SheetUp);
        ChooseFromTrayMenu(ID_TRAY_HIDE);
        WaitFor(SheetDown);
        EXPECT_EQ(0, g_bSheetActive);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    const std::vector<hostui::UiEvent> menus = Menus();
    ASSERT_EQ(3u, menus.size());
    EXPECT_EQ((Lines{"2002 Show Config Utility", "-", "2004 Exit"}), menus[0].items);
    EXPECT_EQ((Lines{"2001 Hide Config Utility", "-", "2004 Exit"}), menus[1].items);
    EXPECT_EQ((Lines{"2002 Show Config Utility", "-", "2004 Exit"}), menus[2].items);
    EXPECT_EQ(static_cast<std::uint64_t>(TPM_RIGHTALIGN), menus[0].data & 0xFFFFFFFFu);
}

TEST_F(TrayTest, DoubleClickOpensTheSheetWithSixTabsInOneRowAndHelpOnEachPage) {
    Lines tabs;
    hostui::ControlSnapshot help;
    HWND hApply = nullptr;
    int rows = 0;
    DWORD tabStyle = TCS_MULTILINE;
    Run([&] {
        WaitFor([] { return g_bCardPresent == 1; });
        DoubleClickTray();
        WaitFor(SheetUp);
        HWND hSheet = SheetWindow();
        tabs = hostui::SheetTabs(hSheet);
        help = hostui::ReadControl(hSheet, IDHELP);
        hApply = hostui::FindControl(hSheet, ID_APPLY_NOW);
        HWND hTab = reinterpret_cast<HWND>(::SendMessageA(hSheet, PSM_GETTABCONTROL, 0, 0));
        rows = static_cast<int>(::SendMessageA(hTab, TCM_GETROWCOUNT, 0, 0));
        tabStyle = hostui::ReadControl(hTab).style;
        EXPECT_EQ(1, g_bSheetActive);
        // A second double click while it is up brings it forward and opens nothing more.
        DoubleClickTray();
        hostui::PressSheetButton(hSheet, IDHELP);
        hostui::SelectSheetTab(hSheet, 1);
        hostui::PressSheetButton(hSheet, IDHELP);
        hostui::PressSheetButton(hSheet, IDCANCEL);
        WaitFor(SheetDown);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    EXPECT_EQ((Lines{"Link Info", "Configuration", "Site Survey", "Encryption", "Advanced", "About"}), tabs);
    EXPECT_EQ(1, rows);
    EXPECT_EQ(0u, tabStyle & TCS_MULTILINE);
    EXPECT_TRUE(help.exists && help.visible && help.enabled);
    EXPECT_TRUE(hApply == nullptr || !hostui::ReadControl(hApply).visible);
    const std::vector<hostui::UiEvent> helps = hostui::EventsOf(hostui::UiEvent::Kind::Help);
    ASSERT_EQ(2u, helps.size());
    EXPECT_EQ(102u, helps[0].data);
    EXPECT_EQ(103u, helps[1].data);
}

TEST_F(TrayTest, EachShowingStartsThePagesAfreshAndKeepsTheSheetObject) {
    CConfigUtility* pFirst = nullptr;
    CConfigUtility* pSecond = nullptr;
    Run([&] {
        WaitFor([] { return g_bCardPresent == 1; });
        DoubleClickTray();
        WaitFor(SheetUp);
        pFirst = Sheet();
        pFirst->m_pageConfig.m_bPagesFilled = 1;
        pFirst->m_pageSiteSurvey.m_bColumnsReady = 1;
        pFirst->m_pageEncryption.m_bCombosFilled = 1;
        pFirst->m_pageAdvanced.m_bCombosFilled = 1;
        ChooseFromTrayMenu(ID_TRAY_HIDE);
        WaitFor(SheetDown);
        EXPECT_EQ(0, pFirst->m_pageConfig.m_bPagesFilled);
        EXPECT_EQ(0, pFirst->m_pageSiteSurvey.m_bColumnsReady);
        EXPECT_EQ(0, pFirst->m_pageEncryption.m_bCombosFilled);
        EXPECT_EQ(0, pFirst->m_pageAdvanced.m_bCombosFilled);
        ChooseFromTrayMenu(ID_TRAY_SHOW);
        WaitFor(SheetUp);
        pSecond = Sheet();
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });
    EXPECT_EQ(pFirst, pSecond);
}

TEST_F(ShellTest, WithoutTheCardShowSaysSoAndADoubleClickOpensNothing) {
    InstallCard();
    Run([] {
        ::Sleep(3000);
        hostui::QueueMessageBoxAnswer(IDOK);
        ::PostMessageA(FrameWindow(), g_nTrayMessage, 1, WM_LBUTTONDBLCLK);
        ::Sleep(100);
        EXPECT_TRUE(SheetDown());
        ::PostMessageA(FrameWindow(), WM_COMMAND, ID_TRAY_SHOW, 0);
        ::Sleep(100);
        EXPECT_TRUE(SheetDown());
        ::PostMessageA(FrameWindow(), WM_COMMAND, ID_TRAY_EXIT, 0);
    });

    const std::vector<hostui::UiEvent> boxes = hostui::EventsOf(hostui::UiEvent::Kind::Box);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("The Wireless Card is NOT present!", boxes[0].text);
    EXPECT_EQ(static_cast<std::uint32_t>(MB_ICONINFORMATION), boxes[0].value & 0xF0u);
}

TEST_F(TrayTest, ExitWithoutTheSheetEndsTheProgramOneSecondLaterAndRemovesTheIcon) {
    DWORD dwExitAsked = 0;
    Run([&] {
        WaitFor([] { return g_bCardPresent == 1; });
        ::Sleep(3000);
        hostui::QueueMenuChoice(ID_TRAY_EXIT);
        dwExitAsked = ::GetTickCount();
        hostui::RightClickTray();
    });

    EXPECT_EQ(dwExitAsked + 1000, m_dwEndTick);
    EXPECT_EQ("delete", TrayLog().back());
    EXPECT_FALSE(hostui::GetTrayIcon().shown);
    EXPECT_EQ(0u, driverlib::CardRack::Instance().OpenHandleCount());
}

class ExitWithSheetTest : public TrayTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ExitWithSheetTest, ExitWhileTheSheetIsUpClosesItAndEndsOnceItHasClosed) {
    const bool bByDoubleClick = GetParam();
    Run([&] {
        WaitFor([] { return g_bCardPresent == 1; });
        if (bByDoubleClick)
            DoubleClickTray();
        else
            ChooseFromTrayMenu(ID_TRAY_SHOW);
        WaitFor(SheetUp);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    EXPECT_EQ(nullptr, SheetWindow());
    EXPECT_EQ(nullptr, FrameWindow());
    EXPECT_EQ(nullptr, Sheet());
    EXPECT_EQ("delete", TrayLog().back());
    EXPECT_EQ(0, g_bSheetActive);
}

INSTANTIATE_TEST_SUITE_P(OpenedBy, ExitWithSheetTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "DoubleClick" : "Menu";
                         });

TEST_F(TrayTest, ACloseRequestWhileTheSheetIsUpEndsTheProgramToo) {
    Run([] {
        WaitFor([] { return g_bCardPresent == 1; });
        DoubleClickTray();
        WaitFor(SheetUp);
        ::PostMessageA(FrameWindow(), WM_CLOSE, 0, 0);
        WaitFor([] { return FrameWindow() == nullptr; });
    });

    EXPECT_EQ(nullptr, SheetWindow());
    EXPECT_EQ(nullptr, Sheet());
    EXPECT_EQ("delete", TrayLog().back());
}

} // namespace
} // namespace shelltest
