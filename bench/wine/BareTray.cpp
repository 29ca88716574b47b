// The least a tray program does: it registers a window class, creates a hidden window and adds a tray icon
// at once, then runs its message loop. scripts/bench-wine.sh starts it the way it starts wlanutil.exe and
// compares the two times from start to icon. It ends the way the utility does: a right click on the icon
// opens a menu whose last entry, Exit, closes the window; the icon is removed and the loop ends.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

namespace {

const char kClassName[] = "WlanBareTray";
const UINT kTrayMessage = WM_APP + 1;
const UINT kTrayIconId = 1;
const UINT kExitCommand = 100;

BOOL SendTrayRecord(HWND hwnd, DWORD message) {
    NOTIFYICONDATAA nid;
    std::memset(&nid, 0, sizeof(nid));
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hwnd;
    nid.uID = kTrayIconId;
    if (message == NIM_ADD) {
        nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        nid.uCallbackMessage = kTrayMessage;
        nid.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512)); // IDI_APPLICATION
        std::strncpy(nid.szTip, "Bare tray program", sizeof(nid.szTip) - 1);
    }
    return Shell_NotifyIconA(message, &nid);
}

void ShowTrayMenu(HWND hwnd) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr)
        return;
    AppendMenuA(menu, MF_STRING, kExitCommand, "Exit");
    POINT pt = {0, 0};
    GetCursorPos(&pt);
    // The owner must be the foreground window, or the menu stays open when the user clicks elsewhere.
    SetForegroundWindow(hwnd);
    TrackPopupMenu(menu, TPM_RIGHTALIGN, pt.x, pt.y, 0, hwnd, nullptr);
    DestroyMenu(menu);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kTrayMessage:
        if (static_cast<UINT>(lParam) == WM_RBUTTONUP)
            ShowTrayMenu(hwnd);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kExitCommand)
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        SendTrayRecord(hwnd, NIM_DELETE);
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass;
    std::memset(&windowClass, 0, sizeof(windowClass));
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) == 0)
        return 1;
    // Never shown: the icon is all the user sees.
    HWND hwnd = CreateWindowExA(0, kClassName, "Bare tray program", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                nullptr, instance, nullptr);
    if (hwnd == nullptr)
        return 1;
    if (!SendTrayRecord(hwnd, NIM_ADD)) {
        DestroyWindow(hwnd);
        return 1;
    }
    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return got == -1 ? 1 : static_cast<int>(msg.wParam);
}
