#include "ShellFixture.h"

#include <cstdio>
#include <cstring>

#include "app/DeviceIdentifier.h"
#include "app/MainFrame.h"
#include "app/ResetProgramGlobals.h"
#include "app/WlanUtilityApp.h"
#include "simcard/WorldFile.h"
#include "sheet/ConfigUtility.h"

namespace shelltest {

const char kTitle[] = "DAZE802.11d AVUD UDE Zadu Vuvivav";
const char kOfficeWorld[] = "ap name=main ssid=OFFICE bssid=00:60:B3:10:00:01 channel=6 signal=40 noise=8\n";

namespace {

DWORD WINAPI UserThread(LPVOID pParam) {
    (*static_cast<const std::function<void()>*>(pParam))();
    // A scenario that stopped early leaves the program running: close it, as a user would.
    if (HWND hFrame = ShellTest::FrameWindow())
        ::SendMessageA(hFrame, WM_CLOSE, 0, 0);
    return 0;
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
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
    if (m_bExpectNoFailures) {
        EXPECT_EQ(Lines{}, hostui::Failures());
    }
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

void ShellTest::InstallCard(int index) {
    cardinstall::InstallPlan plan;
    plan.kind = m_kind;
    plan.cards.push_back({index, 0, ""});
    const cardinstall::InstallResult result = cardinstall::Install(plan);
    ASSERT_EQ(ERROR_SUCCESS, result.error) << result.message;
}

void ShellTest::InsertCard(int index, const std::string& cardKeys, const std::string& world) {
    std::string binding;
    if (m_kind == cardinstall::WindowsKind::Win2000) {
        binding = cardinstall::DefaultInstanceId(index);
    } else if (m_kind == cardinstall::WindowsKind::NT4) {
        binding = cardinstall::ServiceName(index);
    } else {
        char name[8];
        std::snprintf(name, sizeof name, "%04d", index);
        binding = name;
    }
    const std::string text = "card bind=" + binding + " " + cardKeys + "\n" + world;
    const simcard::WorldLoad load = simcard::ParseWorld(text, "test.world");
    ASSERT_TRUE(load.ok) << load.error;
    driverlib::CardRack::Instance().InstallWorld(load.world);
}

std::shared_ptr<simcard::SimCard> ShellTest::Card() {
    return driverlib::CardRack::Instance().Card(0);
}

int ShellTest::Run(const std::function<void()>& user) {
    // A fresh application object for each run; the framework's entry point finds it through AfxGetApp.
    CWlanUtilityApp app;
    HANDLE hUser =
        ::CreateThread(nullptr, 0, &UserThread, const_cast<std::function<void()>*>(&user), 0, nullptr);
    const int nResult = AfxWinMain(nullptr, nullptr, const_cast<LPTSTR>(""), SW_SHOWNORMAL);
    m_dwEndTick = ::GetTickCount();
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

void ShellTest::DoubleClickTray() {
    EXPECT_TRUE(hostui::DoubleClickTray());
    ::Sleep(100);
}

LRESULT ShellTest::SendDeviceChange(UINT nEvent, const char* pszIdentifier) {
    DEV_BROADCAST_DEVNODE_ID record;
    std::memset(&record, 0, sizeof(record));
    const size_t cchIdentifier = std::strlen(pszIdentifier);
    std::memcpy(record.szIdentifier, pszIdentifier, cchIdentifier + 1);
    record.Node.dbcd_size = (DWORD)(offsetof(DEV_BROADCAST_DEVNODE_ID, szIdentifier) + cchIdentifier + 1);
    record.Node.dbcd_devicetype = DBT_DEVTYP_DEVNODE;
    return ::SendMessageA(FrameWindow(), WM_DEVICECHANGE, nEvent, reinterpret_cast<LPARAM>(&record));
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

Lines ShellTest::TrayPictures() {
    Lines pictures;
    std::string shown = "none";
    for (const std::string& line : TrayLog()) {
        const std::string picture = line == "delete" ? "none" : line.substr(line.find(' ') + 1);
        if (picture != shown)
            pictures.push_back(picture);
        shown = picture;
    }
    return pictures;
}

Lines ShellTest::BoxTexts() {
    Lines texts;
    for (const hostui::UiEvent& event : hostui::EventsOf(hostui::UiEvent::Kind::Box))
        texts.push_back(event.text);
    return texts;
}

std::vector<hostui::UiEvent> ShellTest::Menus() {
    return hostui::EventsOf(hostui::UiEvent::Kind::Menu);
}

std::vector<simcard::TraceEntry> ShellTest::TakeTraceEntries() {
    std::shared_ptr<simcard::SimCard> card = Card();
    if (!card)
        return {};
    std::vector<simcard::TraceEntry> entries = card->Trace();
    card->ClearTrace();
    return entries;
}

Lines ShellTest::TakeTrace() {
    Lines lines;
    for (const simcard::TraceEntry& entry : TakeTraceEntries())
        lines.push_back("t=" + std::to_string(static_cast<DWORD>(entry.timeMs)) + " " +
                        (entry.kind == simcard::RequestKind::Query ? "query " : "set ") + Hex(entry.oid) +
                        " status=" + Hex(entry.status));
    return lines;
}

} // namespace shelltest
