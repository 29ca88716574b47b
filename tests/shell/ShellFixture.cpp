#include "ShellFixture.h"

#include <cstdio>

#include "app/MainFrame.h"
#include "app/ResetProgramGlobals.h"
#include "app/WlanUtilityApp.h"
#include "simcard/WorldFile.h"
#include "sheet/ConfigUtility.h"

namespace shelltest {

const char kTitle[] = "DAZE802.11d AVUD UDE Zadu Vuvivav";

namespace {

const int kCardIndex = 1;

DWORD WINAPI UserThread(LPVOID pParam) {
    (*static_cast<const std::function<void()>*>(pParam))();
    // A user who stopped early leaves the program running: close it, as a user would.
    if (HWND hFrame = ShellTest::FrameWindow())
        ::SendMessageA(hFrame, WM_CLOSE, 0, 0);
    return 0;
}

} // namespace

ShellTest::ShellTest() {
    hostsim::ResetRegistry();
    hostui::ResetUi();
    std::string error;
    auto resources = hostui::LoadScriptResources(WLAN_RESOURCE_SCRIPT, &error);
    EXPECT_TRUE(resources != nullptr) << error;
    hostui::SetResources(resources);
    driverlib::CardRack::Instance().Clear();
    ResetProgramGlobals();
}

ShellTest::~ShellTest() {
    EXPECT_EQ(Lines{}, hostui::Failures());
    EXPECT_EQ("", driverlib::CardRack::Instance().UnfiredFaults());
    driverlib::CardRack::Instance().Clear();
    ResetProgramGlobals();
    hostui::ResetUi();
}

void ShellTest::OnSystem(hostsim::WindowsKind kind) {
    hostsim::SetWindowsKind(kind);
    m_kind = kind == hostsim::WindowsKind::Win95   ? cardinstall::WindowsKind::Win95
             : kind == hostsim::WindowsKind::Win98 ? cardinstall::WindowsKind::Win98
             : kind == hostsim::WindowsKind::NT4   ? cardinstall::WindowsKind::NT4
                                                   : cardinstall::WindowsKind::Win2000;
}

void ShellTest::InstallCard() {
    cardinstall::InstallPlan plan;
    plan.kind = m_kind;
    plan.cards.push_back({kCardIndex, 0, ""});
    const cardinstall::InstallResult result = cardinstall::Install(plan);
    ASSERT_EQ(ERROR_SUCCESS, result.error) << result.message;
}

void ShellTest::InsertCard() {
    std::string binding;
    if (m_kind == cardinstall::WindowsKind::Win2000) {
        binding = cardinstall::DefaultInstanceId(kCardIndex);
    } else if (m_kind == cardinstall::WindowsKind::NT4) {
        binding = cardinstall::ServiceName(kCardIndex);
    } else {
        char name[8];
        std::snprintf(name, sizeof name, "%04d", kCardIndex);
        binding = name;
    }
    const std::string text =
        "card bind=" + binding +
        "\nap name=main ssid=OFFICE bssid=00:60:B3:10:00:01 channel=6 signal=40 noise=8\n";
    const simcard::WorldLoad load = simcard::ParseWorld(text, "test.world");
    ASSERT_TRUE(load.ok) << load.error;
    driverlib::CardRack::Instance().InstallWorld(load.world);
}

int ShellTest::Run(const std::function<void()>& user) {
    // A fresh application object for each run; the framework's entry point finds it through AfxGetApp.
    CWlanUtilityApp app;
    HANDLE hUser =
        ::CreateThread(nullptr, 0, &UserThread, const_cast<std::function<void()>*>(&user), 0, nullptr);
    const int nResult = AfxWinMain(nullptr, nullptr, const_cast<LPTSTR>(""), SW_SHOWNORMAL);
    ::WaitForSingleObject(hUser, INFINITE);
    ::CloseHandle(hUser);
    // Time for the monitor thread to notice the stop and end.
    ::Sleep(4000);
    return nResult;
}

bool ShellTest::WaitFor(const std::function<bool()>& done, DWORD limitMs) {
    for (DWORD waited = 0; waited <= limitMs; waited += 100) {
        if (done())
            return true;
        ::Sleep(100);
    }
    ADD_FAILURE() << "condition not reached within " << limitMs << " ms";
    return false;
}

HWND ShellTest::SheetWindow() {
    return hostui::FindTopWindow(kTitle, "#32770");
}

HWND ShellTest::FrameWindow() {
    return g_pMainFrame != nullptr ? g_pMainFrame->GetSafeHwnd() : nullptr;
}

CConfigUtility* ShellTest::Sheet() {
    return g_pConfigSheet;
}

void ShellTest::ChooseFromTrayMenu(UINT nCommand) {
    hostui::QueueMenuChoice(nCommand);
    EXPECT_TRUE(hostui::RightClickTray());
    ::Sleep(100);
}

Lines ShellTest::TrayLog() {
    Lines lines;
    for (const hostui::UiEvent& event : hostui::Events()) {
        if (event.kind == hostui::UiEvent::Kind::TrayAdd)
            lines.push_back("add " + std::to_string(event.value));
        else if (event.kind == hostui::UiEvent::Kind::TrayModify)
            lines.push_back("modify " + std::to_string(event.value));
        else if (event.kind == hostui::UiEvent::Kind::TrayDelete)
            lines.push_back("delete");
    }
    return lines;
}

Lines ShellTest::BoxTexts() {
    Lines texts;
    for (const hostui::UiEvent& event : hostui::EventsOf(hostui::UiEvent::Kind::Box))
        texts.push_back(event.text);
    return texts;
}

std::vector<simcard::TraceEntry> ShellTest::TakeTraceEntries() {
    std::shared_ptr<simcard::SimCard> card = driverlib::CardRack::Instance().Card(0);
    if (!card)
        return {};
    std::vector<simcard::TraceEntry> entries = card->Trace();
    card->ClearTrace();
    return entries;
}

} // namespace shelltest
