// The application's start through a single-document template with a hidden frame, and the frame's life
// around the tray icon: the registered tray message, the popup menu's commands, device notifications and the
// close that ends the message loop. The tray and menu are driven through the headless window system.
#include <gtest/gtest.h>

#include <cstdio>

#include <fw/Framework.h>
#include <hostui/HostUi.h>

#include "TestDialogs.h"
#include "driver/UserDriver.h"

namespace {

using Lines = std::vector<std::string>;

UINT s_nTrayMessage = ::RegisterWindowMessageA("TEST_TRAY_MESSAGE");
Lines s_calls;

class TestDoc : public CDocument {
    DECLARE_DYNCREATE(TestDoc)
};
IMPLEMENT_DYNCREATE(TestDoc, CDocument)

class TestView : public CView {
    DECLARE_DYNCREATE(TestView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(TestView, CView)

class TestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(TestFrame)
public:
    BOOL TrayAdd(UINT icon) {
        NOTIFYICONDATAA data{};
        data.cbSize = NOTIFYICONDATAA_V1_SIZE;
        data.hWnd = m_hWnd;
        data.uID = 1;
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = s_nTrayMessage;
        data.hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(icon));
        std::snprintf(data.szTip, sizeof data.szTip, "%s", "Framework Tests");
        return ::Shell_NotifyIconA(NIM_ADD, &data);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
        s_calls.push_back("create");
        return CFrameWnd::OnCreate(lpCreateStruct);
    }
    afx_msg LRESULT OnTray(WPARAM wParam, LPARAM lParam) {
        s_calls.push_back("tray " + std::to_string(wParam) + " " + std::to_string(lParam));
        if (lParam == WM_RBUTTONUP) {
            CMenu menu;
            menu.CreatePopupMenu();
            menu.AppendMenu(MF_STRING, 2002, "Show");
            menu.AppendMenu(MF_SEPARATOR);
            menu.AppendMenu(MF_STRING, 2004, "Exit");
            POINT at{};
            ::GetCursorPos(&at);
            menu.TrackPopupMenu(TPM_RIGHTALIGN, at.x, at.y, this);
        }
        return 0;
    }
    afx_msg void OnMenuCommand(UINT nID) {
        s_calls.push_back("command " + std::to_string(nID));
        if (nID == 2004)
            PostMessage(WM_CLOSE);
    }
    afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR) {
        s_calls.push_back("device " + std::to_string(nEventType));
        return TRUE;
    }
    afx_msg void OnClose() {
        s_calls.push_back("close");
        CFrameWnd::OnClose();
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
ON_WM_CREATE()
ON_REGISTERED_MESSAGE(s_nTrayMessage, OnTray)
ON_COMMAND_RANGE(2000, 2004, OnMenuCommand)
ON_WM_DEVICECHANGE()
ON_WM_CLOSE()
END_MESSAGE_MAP()

class TestApp : public CWinApp {
public:
    BOOL InitInstance() override {
        SetRegistryKey("PRISM2.5");
        LoadStdProfileSettings(4);
        AddDocTemplate(new CSingleDocTemplate(128, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestFrame),
                                              RUNTIME_CLASS(TestView)));
        CCommandLineInfo info;
        ParseCommandLine(info);
        m_nCmdShow = SW_HIDE;
        if (!ProcessShellCommand(info))
            return FALSE;
        return static_cast<TestFrame*>(m_pMainWnd)->TrayAdd(187);
    }
};

class FrameTrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        Driver().Reset();
        auto resources = std::make_shared<hostui::TableResources>();
        resources->AddIcon(128);
        resources->AddIcon(187);
        resources->AddString(IDS_TEST_APP_TITLE, "Framework Tests");
        hostui::SetResources(resources);
        s_calls.clear();
    }
    void TearDown() override { EXPECT_EQ(hostui::Failures(), Lines{}); }
};

TEST_F(FrameTrayTest, TheHiddenFrameRunsTheTrayAndEndsTheLoopWhenClosed) {
    TestApp app;
    hostui::QueueMenuChoice(2004);
    struct User {
        static DWORD WINAPI Run(LPVOID) {
            HWND frame = nullptr;
            for (int i = 0; i < 5000 && frame == nullptr; ++i) {
                if (hostui::GetTrayIcon().shown)
                    frame = hostui::GetTrayIcon().hwnd;
                else
                    ::Sleep(1);
            }
            DEV_BROADCAST_HDR header{sizeof(DEV_BROADCAST_HDR), DBT_DEVTYP_DEVNODE, 0};
            ::SendMessageA(frame, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, reinterpret_cast<LPARAM>(&header));
            hostui::DoubleClickTray();
            hostui::RightClickTray();
            return 0;
        }
    };
    HANDLE user = ::CreateThread(nullptr, 0, &User::Run, nullptr, 0, nullptr);
    char commandLine[] = "";
    int exitCode = AfxWinMain(nullptr, nullptr, commandLine, SW_SHOWNORMAL);
    ::WaitForSingleObject(user, INFINITE);
    ::CloseHandle(user);

    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(s_calls, (Lines{"create", "device 7", "tray 1 513", "tray 1 514", "tray 1 515", "tray 1 514",
                              "tray 1 516", "tray 1 517", "command 2004", "close"}));
    EXPECT_STREQ(app.m_pszRegistryKey, "PRISM2.5");
    EXPECT_EQ(app.GetMaxMRU(), 4u);
    EXPECT_STREQ(AfxGetAppName(), "Framework Tests");
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    auto menus = hostui::EventsOf(hostui::UiEvent::Kind::Menu);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].items, (Lines{"2002 Show", "-", "2004 Exit"}));
    auto trays = hostui::EventsOf(hostui::UiEvent::Kind::TrayAdd);
    ASSERT_EQ(trays.size(), 1u);
    EXPECT_EQ(trays[0].value, 187u);
    EXPECT_EQ(trays[0].text, "Framework Tests");
}

TEST_F(FrameTrayTest, TheFrameIsCreatedHiddenWithTheApplicationsShowCommand) {
    TestApp app;
    app.m_pszAppName = "Framework Tests";
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(app.m_pMainWnd, nullptr);
    EXPECT_FALSE(app.m_pMainWnd->IsWindowVisible());
    EXPECT_EQ(CWnd::FindWindow(nullptr, "Framework Tests"), app.m_pMainWnd);
    app.m_pMainWnd->DestroyWindow();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    MSG msg{};
    EXPECT_FALSE(::GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

} // namespace
