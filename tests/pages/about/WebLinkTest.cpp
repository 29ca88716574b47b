// The About page in the running program: the driver version of a machine that has the file, and the web
// link, which the dialog keeps hidden and disabled so that only a click sent to the page reaches it.
#include "../../shell/ShellFixture.h"

#include "sheet/ConfigUtility.h"

namespace shelltest {
namespace {

enum { ABOUT_PAGE_INDEX = 5 };

class AboutPageTest : public ShellTest {
protected:
    AboutPageTest() {
        hostsim::ClearFiles();
        InstallCard();
        InsertCard();
    }
    ~AboutPageTest() override { hostsim::ClearFiles(); }

    // Shows the sheet on the About page and returns the page window.
    static HWND ShowAboutPage() {
        WaitFor([] { return g_bCardPresent == 1; });
        ChooseFromTrayMenu(ID_TRAY_SHOW);
        WaitFor([] { return SheetWindow() != nullptr; });
        EXPECT_TRUE(hostui::SelectSheetTab(SheetWindow(), ABOUT_PAGE_INDEX));
        return hostui::CurrentSheetPage(SheetWindow());
    }

    static void ClickWebLink(HWND hPage) {
        const HWND hLink = hostui::FindControl(hPage, IDC_ABOUT_WEB_LINK);
        ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_WEB_LINK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(hLink));
    }
};

TEST_F(AboutPageTest, ShowsTheVersionOfTheDriverFileInTheSystemDirectory) {
    ASSERT_TRUE(hostsim::SetFileVersion("C:\\WINNT\\system32\\Drivers\\DAVARIVU.SYS", "1.5.0.3"));
    std::string strDriver;
    std::string strFirmware;
    Run([&] {
        const HWND hPage = ShowAboutPage();
        strDriver = hostui::ReadControl(hPage, IDC_ABOUT_DRIVER_VERSION).text;
        strFirmware = hostui::ReadControl(hPage, IDC_ABOUT_FIRMWARE_VERSION).text;
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });
    EXPECT_EQ("1.5.0.3", strDriver);
    EXPECT_EQ("1.04.05.00", strFirmware);
}

TEST_F(AboutPageTest, TheWebLinkOpensTheAddressItShows) {
    std::string strShown;
    Run([&] {
        const HWND hPage = ShowAboutPage();
        strShown = hostui::ReadControl(hPage, IDC_ABOUT_WEB_LINK).text;
        ClickWebLink(hPage);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });
    EXPECT_EQ("http://www.example.com/wlan/", strShown);
    const std::vector<hostui::UiEvent> opened = hostui::EventsOf(hostui::UiEvent::Kind::Shell);
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ("open", opened[0].caption);
    EXPECT_EQ(strShown, opened[0].text);
    EXPECT_TRUE(opened[0].items.empty());
    EXPECT_EQ(static_cast<std::uint32_t>(SW_SHOWNORMAL), opened[0].value);
    EXPECT_EQ(Lines{}, BoxTexts());
}

TEST_F(AboutPageTest, AnEmptyWebLinkSaysSoAndOpensNothing) {
    Run([&] {
        const HWND hPage = ShowAboutPage();
        ::SetWindowTextA(hostui::FindControl(hPage, IDC_ABOUT_WEB_LINK), "");
        hostui::QueueMessageBoxAnswer(IDOK);
        ClickWebLink(hPage);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });
    EXPECT_EQ(Lines{"No URL address."}, BoxTexts());
    EXPECT_TRUE(hostui::EventsOf(hostui::UiEvent::Kind::Shell).empty());
}

} // namespace
} // namespace shelltest
