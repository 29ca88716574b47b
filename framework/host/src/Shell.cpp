// The notification-area icon, help requests and shell requests, recorded.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "Events.h"
#include "WindowTable.h"
#include "hostui/Tray.h"

namespace hostui {
namespace {

struct TrayState {
    std::mutex mutex;
    std::vector<TrayIcon> icons;
};

TrayState& Trays() {
    static auto* state = new TrayState;
    return *state;
}

BOOL SendMouse(std::initializer_list<UINT> messages) {
    TrayIcon icon = GetTrayIcon();
    if (!icon.shown) {
        detail::Fail("no tray icon to click");
        return FALSE;
    }
    for (UINT mouse : messages)
        ::PostMessageA(icon.hwnd, icon.callbackMessage, icon.id, static_cast<LPARAM>(mouse));
    return TRUE;
}

} // namespace

TrayIcon GetTrayIcon() {
    std::lock_guard<std::mutex> lock(Trays().mutex);
    return Trays().icons.empty() ? TrayIcon{} : Trays().icons.back();
}

BOOL DoubleClickTray() {
    return SendMouse({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
}
BOOL RightClickTray() {
    return SendMouse({WM_RBUTTONDOWN, WM_RBUTTONUP});
}

void ResetTray() {
    std::lock_guard<std::mutex> lock(Trays().mutex);
    Trays().icons.clear();
}

} // namespace hostui

using namespace hostui;

BOOL WINAPI Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA lpData) {
    if (lpData == nullptr || lpData->cbSize < NOTIFYICONDATAA_V1_SIZE) {
        detail::Fail("Shell_NotifyIconA: record too small");
        return FALSE;
    }
    UiEvent event{UiEvent::Kind::TrayAdd};
    {
        std::lock_guard<std::mutex> lock(Trays().mutex);
        auto& icons = Trays().icons;
        auto it = std::find_if(icons.begin(), icons.end(), [&](const TrayIcon& i) {
            return i.hwnd == lpData->hWnd && i.id == lpData->uID;
        });
        size_t tipSize = lpData->cbSize == NOTIFYICONDATAA_V1_SIZE ? 64 : sizeof lpData->szTip;
        auto apply = [&](TrayIcon& icon) {
            if ((lpData->uFlags & NIF_MESSAGE) != 0)
                icon.callbackMessage = lpData->uCallbackMessage;
            if ((lpData->uFlags & NIF_ICON) != 0)
                icon.iconResource = IconResourceId(lpData->hIcon);
            if ((lpData->uFlags & NIF_TIP) != 0)
                icon.tip.assign(lpData->szTip, strnlen(lpData->szTip, tipSize));
        };
        switch (dwMessage) {
        case NIM_ADD:
            if (it != icons.end())
                return FALSE;
            icons.push_back(TrayIcon{true, lpData->hWnd, lpData->uID, 0, 0, ""});
            apply(icons.back());
            event.value = icons.back().iconResource;
            event.text = icons.back().tip;
            break;
        case NIM_MODIFY:
            if (it == icons.end())
                return FALSE;
            apply(*it);
            event.kind = UiEvent::Kind::TrayModify;
            event.value = it->iconResource;
            event.text = it->tip;
            break;
        case NIM_DELETE:
            if (it == icons.end())
                return FALSE;
            icons.erase(it);
            event.kind = UiEvent::Kind::TrayDelete;
            break;
        default:
            return FALSE;
        }
    }
    detail::RecordEvent(event);
    return TRUE;
}

HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR,
                               INT nShowCmd) {
    UiEvent event{UiEvent::Kind::Shell};
    event.caption = lpOperation != nullptr ? lpOperation : "";
    event.text = lpFile != nullptr ? lpFile : "";
    if (lpParameters != nullptr && *lpParameters != '\0')
        event.items.push_back(lpParameters);
    event.value = static_cast<std::uint32_t>(nShowCmd);
    detail::RecordEvent(event);
    return reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(42));
}

BOOL WINAPI WinHelpA(HWND, LPCSTR lpszHelp, UINT uCommand, ULONG_PTR dwData) {
    UiEvent event{UiEvent::Kind::Help};
    event.text = lpszHelp != nullptr ? lpszHelp : "";
    event.value = uCommand;
    event.data = dwData;
    detail::RecordEvent(event);
    return TRUE;
}

VOID WINAPI InitCommonControls(void) {}
BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX*) {
    return TRUE;
}
