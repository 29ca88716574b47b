// The notification-area icon as the program set it, and the user's mouse on it.
#pragma once
#include <cstddef>
#include <string>

#include <win32api.h>

namespace hostui {

struct TrayIcon {
    bool shown = false;
    HWND hwnd = nullptr;
    UINT id = 0;
    UINT iconResource = 0; // the resource id the icon was loaded from; 0 for none
    UINT callbackMessage = 0;
    std::string tip;
};

// The program's one icon (the most recently added one that still shows).
TrayIcon GetTrayIcon();
// The mouse messages Windows sends the icon's window for a double click or a right click; FALSE (and a
// failure event) when no icon shows.
BOOL DoubleClickTray();
BOOL RightClickTray();
// One mouse message alone (WM_MOUSEMOVE, WM_LBUTTONDOWN, ...), as the callback would get it.
BOOL SendTrayMouse(UINT mouseMessage);
// What the next ShellExecuteA answers (above 32 success, else an error code); 42 when nothing is queued.
void QueueShellExecuteResult(INT_PTR result);
std::size_t PendingShellExecuteResults();
// The resource id an icon handle was loaded from (0 for none).
UINT IconResourceId(HICON icon);

} // namespace hostui
