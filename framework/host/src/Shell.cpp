// The notification-area icon, help requests and shell requests, recorded.
#include <algorithm>
#include <cstring>
#include <deque>
#include <mutex>

#include "Events.h"
#include "WindowTable.h"
#include "WindowTrace.h"
#include "hostui/Tray.h"

namespace hostui {
namespace {

struct TrayState {
    std::mutex mutex;
    std::vector<TrayIcon> icons;
    std::deque<INT_PTR> shellResults; // what the next ShellExecuteA calls answer
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

BOOL SendTrayMouse(UINT mouseMessage) {
    return SendMouse({mouseMessage});
}

void QueueShellExecuteResult(INT_PTR result) {
    std::lock_guard<std::mutex> lock(Trays().mutex);
    Trays().shellResults.push_back(result);
}

std::size_t PendingShellExecuteResults() {
    std::lock_guard<std::mutex> lock(Trays().mutex);
    return Trays().shellResults.size();
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
    Trays().shellResults.clear();
}

} // namespace hostui

using namespace hostui;

namespace {

const char* TrayMessageName(DWORD message) {
    switch (message) {
    case NIM_ADD:
        return "NIM_ADD";
    case NIM_MODIFY:
        return "NIM_MODIFY";
    case NIM_DELETE:
        return "NIM_DELETE";
    default:
        return nullptr;
    }
}

std::string Text(const char* field, std::size_t size) {
    return "\"" + std::string(field, strnlen(field, size)) + "\"";
}

// Every field of the record that its size covers.
std::string DescribeTrayRecord(const NOTIFYICONDATAA* data) {
    if (data == nullptr)
        return "NULL";
    const std::size_t size = data->cbSize;
    std::string text = "{cbSize " + std::to_string(size);
    if (size >= NOTIFYICONDATAA_V1_SIZE) {
        text += ", hWnd " + detail::DescribeWindow(data->hWnd) + ", uID " + std::to_string(data->uID) +
                ", uFlags " + detail::HexValue(data->uFlags) + ", uCallbackMessage " +
                detail::HexValue(data->uCallbackMessage) + ", hIcon " +
                (data->hIcon == nullptr ? std::string("NULL")
                                        : "icon " + std::to_string(IconResourceId(data->hIcon))) +
                ", szTip " + Text(data->szTip, size == NOTIFYICONDATAA_V1_SIZE ? 64 : sizeof data->szTip);
    }
    if (size >= sizeof(NOTIFYICONDATAA)) {
        text += ", dwState " + detail::HexValue(data->dwState) + ", dwStateMask " +
                detail::HexValue(data->dwStateMask) + ", szInfo " + Text(data->szInfo, sizeof data->szInfo) +
                ", uTimeout " + std::to_string(data->uTimeout) + ", szInfoTitle " +
                Text(data->szInfoTitle, sizeof data->szInfoTitle) + ", dwInfoFlags " +
                detail::HexValue(data->dwInfoFlags);
    }
    return text + "}";
}

BOOL NotifyIcon(DWORD dwMessage, PNOTIFYICONDATAA lpData);

} // namespace

BOOL WINAPI Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA lpData) {
    // Described before the call: the result is the record's fate, whatever the call does to it.
    const std::string record = detail::WindowTraceOn() ? DescribeTrayRecord(lpData) : std::string();
    const BOOL done = NotifyIcon(dwMessage, lpData);
    if (detail::WindowTraceOn()) {
        const char* name = TrayMessageName(dwMessage);
        detail::TraceWindow(std::string("Shell_NotifyIconA(") +
                            (name != nullptr ? name : detail::HexValue(dwMessage).c_str()) + ", " + record +
                            ") -> " + (done ? "TRUE" : "FALSE"));
    }
    return done;
}

namespace {
BOOL NotifyIcon(DWORD dwMessage, PNOTIFYICONDATAA lpData) {
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
} // namespace

HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR,
                               INT nShowCmd) {
    UiEvent event{UiEvent::Kind::Shell};
    event.caption = lpOperation != nullptr ? lpOperation : "";
    event.text = lpFile != nullptr ? lpFile : "";
    if (lpParameters != nullptr && *lpParameters != '\0')
        event.items.push_back(lpParameters);
    event.value = static_cast<std::uint32_t>(nShowCmd);
    // Above 32 is success; a test may queue another answer (an error code of 32 or less).
    INT_PTR result = 42;
    {
        std::lock_guard<std::mutex> lock(Trays().mutex);
        if (!Trays().shellResults.empty()) {
            result = Trays().shellResults.front();
            Trays().shellResults.pop_front();
        }
    }
    event.data = static_cast<std::uint64_t>(result);
    detail::RecordEvent(event);
    return reinterpret_cast<HINSTANCE>(result);
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
