// Whole-program cases that no scenario script can express, run in-process on virtual time: controls
// changed without a key (a web link emptied, the profile field emptied). The program's other user stories
// are the scenarios in tests/scenarios.
#include "ShellFixture.h"

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
