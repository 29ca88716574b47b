// The tray icon of the main frame, and what the user does with it.
#include "app/MainFrame.h"

#include <cstring>

#include "common/Globals.h"
#include "resource.h"
#include "sheet/ConfigUtility.h"

namespace {

enum { TRAY_ICON_ID = 1 };

// The record of the first shell version, which every system takes.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "the tray record is 88 bytes");

} // namespace

BOOL CMainFrame::SendTrayRecord(DWORD dwMessage, UINT nIconId) {
    NOTIFYICONDATAA nid;
    std::memset(&nid, 0, sizeof(nid));
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = m_hWnd;
    nid.uID = TRAY_ICON_ID;
    if (dwMessage != NIM_DELETE) {
        nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        nid.uCallbackMessage = g_nTrayMessage;
        nid.hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIconId));
        std::strncpy(nid.szTip, g_szAppTitle, 63);
    }
    return ::Shell_NotifyIconA(dwMessage, &nid);
}

BOOL CMainFrame::TrayAdd(UINT nIconId) {
    return SendTrayRecord(NIM_ADD, nIconId);
}
BOOL CMainFrame::TrayModify(UINT nIconId) {
    return SendTrayRecord(NIM_MODIFY, nIconId);
}
BOOL CMainFrame::TrayDelete() {
    return SendTrayRecord(NIM_DELETE, 0);
}

LRESULT CMainFrame::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    switch ((UINT)lParam) {
    case WM_LBUTTONDBLCLK:
        if (g_bSheetActive == 0 && g_bCardPresent == 1)
            OpenSheet();
        else
            BringSheetForward();
        break;
    case WM_RBUTTONUP:
        ShowTrayMenu();
        break;
    default:
        break;
    }
    return 0;
}

void CMainFrame::BringSheetForward() {
    HWND hFound = ::FindWindowA(nullptr, g_szAppTitle);
    if (hFound == nullptr)
        return;
    ::SetForegroundWindow(hFound);
    CConfigUtility* pSheet = g_pConfigSheet;
    if (pSheet != nullptr && pSheet->m_hWnd != nullptr)
        ::SetActiveWindow(pSheet->m_hWnd);
}

void CMainFrame::ShowTrayMenu() {
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);

    CString strShowHide;
    CString strExit;
    const BOOL bSheetUp = g_bSheetActive == 1;
    strShowHide.LoadString(bSheetUp ? IDS_MENU_HIDE : IDS_MENU_SHOW);
    strExit.LoadString(IDS_MENU_EXIT);

    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    menu.AppendMenu(MF_STRING, bSheetUp ? ID_TRAY_HIDE : ID_TRAY_SHOW, strShowHide);
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_TRAY_EXIT, strExit);
    // The shell's rule for tray menus: the owner must be the foreground window, or the menu stays open
    // when the user clicks elsewhere.
    SetForegroundWindow();
    menu.TrackPopupMenu(TPM_RIGHTALIGN, pt.x, pt.y, this);
    menu.DestroyMenu();
}
