// The window calls of the Win32 API on the headless window table.
#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "MessageQueue.h"
#include "WindowTable.h"
#include "WindowTrace.h"

using namespace hostui::detail;

namespace {

HWND s_active = nullptr;
HWND s_foreground = nullptr;
HWND s_focus = nullptr;

// Copies text into a caller's buffer the way the A functions do: at most max-1 characters and a zero.
int CopyOut(const std::string& text, LPSTR buffer, int max) {
    if (buffer == nullptr || max <= 0)
        return 0;
    int count = std::min(static_cast<int>(text.size()), max - 1);
    std::memcpy(buffer, text.data(), static_cast<size_t>(count));
    buffer[count] = '\0';
    return count;
}

template <class F> auto WithWindow(HWND hwnd, F f) -> decltype(f(std::declval<Window&>())) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    Window* w = FindWindowRecord(hwnd);
    if (w == nullptr) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return decltype(f(std::declval<Window&>())){};
    }
    return f(*w);
}

HWND Activate(HWND hWnd) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    if (FindWindowRecord(hWnd) == nullptr)
        return nullptr;
    HWND previous = s_active;
    s_active = hWnd;
    return previous;
}

void DestroyTree(HWND hwnd) {
    ::SendMessageA(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children = WithWindow(hwnd, [](Window& w) { return w.children; });
    for (HWND child : children)
        DestroyTree(child);
    ::SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
    RemoveWindowTimers(hwnd);
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    Window* w = FindWindowRecord(hwnd);
    if (w == nullptr)
        return;
    if (Window* parent = FindWindowRecord(w->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
    }
    if (s_active == hwnd)
        s_active = nullptr;
    if (s_foreground == hwnd)
        s_foreground = nullptr;
    if (s_focus == hwnd)
        s_focus = nullptr;
    AllWindows().erase(hwnd);
}

} // namespace

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr || lpWndClass->lpfnWndProc == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    RegisterBuiltinClasses();
    if (FindClass(lpWndClass->lpszClassName) != nullptr) {
        ::SetLastError(1410); // ERROR_CLASS_ALREADY_EXISTS
        return 0;
    }
    AddClass({lpWndClass->lpszClassName, lpWndClass->lpfnWndProc, lpWndClass->hInstance, lpWndClass->hIcon,
              nullptr});
    static ATOM s_nextAtom = 0xC100;
    return ++s_nextAtom;
}

BOOL WINAPI GetClassInfoA(HINSTANCE, LPCSTR lpClassName, WNDCLASSA* lpWndClass) {
    RegisterBuiltinClasses();
    const WindowClass* found = lpClassName != nullptr ? FindClass(lpClassName) : nullptr;
    if (found == nullptr || lpWndClass == nullptr)
        return FALSE;
    *lpWndClass = WNDCLASSA{};
    lpWndClass->lpfnWndProc = found->proc;
    lpWndClass->hInstance = found->instance;
    lpWndClass->hIcon = found->icon;
    lpWndClass->lpszClassName = lpClassName;
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                            int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
    if (lpClassName == nullptr || IS_INTRESOURCE(lpClassName)) {
        ::SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    return CreateWindowRecord(dwExStyle, lpClassName, lpWindowName != nullptr ? lpWindowName : "", dwStyle, X,
                              Y, nWidth, nHeight, hWndParent, hMenu, hInstance, lpParam);
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    DWORD owner = WithWindow(hWnd, [](Window& w) { return w.threadId; });
    if (owner == 0)
        return FALSE;
    if (owner != ::GetCurrentThreadId()) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DestroyTree(hWnd);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    return FindWindowRecord(hWnd) != nullptr;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    bool show = nCmdShow != SW_HIDE;
    struct Change {
        bool valid;
        bool wasVisible;
        bool topLevel;
        DWORD thread;
    };
    Change change = WithWindow(hWnd, [&](Window& w) {
        bool was = (w.style & WS_VISIBLE) != 0;
        w.style = show ? (w.style | WS_VISIBLE) : (w.style & ~static_cast<DWORD>(WS_VISIBLE));
        return Change{true, was, (w.style & WS_CHILD) == 0, w.threadId};
    });
    if (!change.valid)
        return FALSE;
    if (change.wasVisible != show && change.thread == ::GetCurrentThreadId())
        ::SendMessageA(hWnd, WM_SHOWWINDOW, show, 0);
    if (change.topLevel && show && nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE)
        Activate(hWnd);
    return change.wasVisible;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    for (Window* w = FindWindowRecord(hWnd); w != nullptr; w = FindWindowRecord(w->parent)) {
        if ((w->style & WS_VISIBLE) == 0)
            return FALSE;
        if ((w->style & WS_CHILD) == 0)
            return TRUE;
    }
    return FALSE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    struct Change {
        bool valid;
        bool wasDisabled;
        DWORD thread;
    };
    Change change = WithWindow(hWnd, [&](Window& w) {
        bool wasDisabled = (w.style & WS_DISABLED) != 0;
        w.style = bEnable ? (w.style & ~static_cast<DWORD>(WS_DISABLED)) : (w.style | WS_DISABLED);
        return Change{true, wasDisabled, w.threadId};
    });
    if (!change.valid)
        return FALSE;
    // The window hears of the change on its own thread only; a change from another thread takes effect at
    // once.
    if (change.wasDisabled != !bEnable && change.thread == ::GetCurrentThreadId())
        ::SendMessageA(hWnd, WM_ENABLE, bEnable, 0);
    return change.wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    return WithWindow(hWnd, [](Window& w) { return (w.style & WS_DISABLED) == 0 ? TRUE : FALSE; });
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    if (!::IsWindow(hWnd)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return static_cast<BOOL>(
        ::SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString != nullptr ? lpString : "")));
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    if (lpString != nullptr && nMaxCount > 0)
        lpString[0] = '\0';
    if (!::IsWindow(hWnd)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(
        ::SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
    if (!::IsWindow(hWnd))
        return 0;
    return static_cast<int>(::SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
    std::string name = WithWindow(hWnd, [](Window& w) { return w.className; });
    return name.empty() ? 0 : CopyOut(name, lpClassName, nMaxCount);
}

HWND WINAPI GetParent(HWND hWnd) {
    return WithWindow(hWnd,
                      [](Window& w) { return (w.style & (WS_CHILD | WS_POPUP)) != 0 ? w.parent : nullptr; });
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    Window* w = FindWindowRecord(hWnd);
    if (w == nullptr)
        return nullptr;
    switch (uCmd) {
    case GW_CHILD:
        return w->children.empty() ? nullptr : w->children.front();
    case GW_OWNER:
        return (w->style & WS_CHILD) == 0 ? w->parent : nullptr;
    case GW_HWNDNEXT:
    case GW_HWNDFIRST: {
        Window* parent = (w->style & WS_CHILD) != 0 ? FindWindowRecord(w->parent) : nullptr;
        if (parent == nullptr)
            return nullptr;
        auto& siblings = parent->children;
        if (uCmd == GW_HWNDFIRST)
            return siblings.front();
        auto it = std::find(siblings.begin(), siblings.end(), hWnd);
        return it != siblings.end() && std::next(it) != siblings.end() ? *std::next(it) : nullptr;
    }
    default:
        return nullptr;
    }
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    Window* dialog = FindWindowRecord(hDlg);
    if (dialog == nullptr) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    for (HWND child : dialog->children) {
        Window* w = FindWindowRecord(child);
        if (w != nullptr && w->id == nIDDlgItem)
            return child;
    }
    ::SetLastError(1421); // ERROR_CONTROL_ID_NOT_FOUND
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    return WithWindow(hWnd, [](Window& w) { return w.id; });
}

HWND WINAPI FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    auto& windows = AllWindows();
    // Newest first, as the newest window is on top.
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        const Window& w = *it->second;
        if ((w.style & WS_CHILD) != 0)
            continue;
        if (lpClassName != nullptr && Lower(w.className) != Lower(lpClassName))
            continue;
        if (lpWindowName != nullptr && w.text != lpWindowName)
            continue;
        return w.handle;
    }
    return nullptr;
}

DWORD WINAPI GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId) {
    if (lpdwProcessId != nullptr)
        *lpdwProcessId = 1;
    return WithWindow(hWnd, [](Window& w) { return w.threadId; });
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
    return WithWindow(hWnd, [&](Window& w) -> LONG_PTR {
        switch (nIndex) {
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(w.proc);
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(w.instance);
        case GWLP_ID:
            return w.id;
        case GWL_STYLE:
            return static_cast<LONG>(w.style);
        case GWL_EXSTYLE:
            return static_cast<LONG>(w.exStyle);
        case GWLP_USERDATA:
            return w.userData;
        case DWLP_MSGRESULT:
            return w.dlgResult;
        case static_cast<int>(DWLP_DLGPROC):
            return reinterpret_cast<LONG_PTR>(w.dlgProc);
        case static_cast<int>(DWLP_USER):
            return w.dlgUser;
        default:
            ::SetLastError(1413);
            return 0; // ERROR_INVALID_INDEX
        }
    });
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    return WithWindow(hWnd, [&](Window& w) -> LONG_PTR {
        LONG_PTR old = 0;
        switch (nIndex) {
        case GWLP_WNDPROC:
            old = reinterpret_cast<LONG_PTR>(w.proc);
            w.proc = reinterpret_cast<WNDPROC>(dwNewLong);
            break;
        case GWLP_ID:
            old = w.id;
            w.id = static_cast<int>(dwNewLong);
            break;
        case GWL_STYLE:
            old = static_cast<LONG>(w.style);
            w.style = static_cast<DWORD>(dwNewLong);
            break;
        case GWL_EXSTYLE:
            old = static_cast<LONG>(w.exStyle);
            w.exStyle = static_cast<DWORD>(dwNewLong);
            break;
        case GWLP_USERDATA:
            old = w.userData;
            w.userData = dwNewLong;
            break;
        case DWLP_MSGRESULT:
            old = w.dlgResult;
            w.dlgResult = dwNewLong;
            break;
        case static_cast<int>(DWLP_DLGPROC):
            old = reinterpret_cast<LONG_PTR>(w.dlgProc);
            w.dlgProc = reinterpret_cast<DLGPROC>(dwNewLong);
            break;
        case static_cast<int>(DWLP_USER):
            old = w.dlgUser;
            w.dlgUser = dwNewLong;
            break;
        default:
            ::SetLastError(1413);
            break;
        }
        return old;
    });
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) {
    return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex));
}
LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
    return static_cast<LONG>(SetWindowLongPtrA(hWnd, nIndex, dwNewLong));
}

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
    BOOL done = FALSE;
    if (::IsWindow(hWnd)) {
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        s_foreground = hWnd;
        done = TRUE;
    }
    if (WindowTraceOn())
        TraceWindow("SetForegroundWindow(" + DescribeWindow(hWnd) + ") -> " + (done ? "TRUE" : "FALSE"));
    return done;
}

HWND WINAPI GetForegroundWindow(void) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    return s_foreground;
}

HWND WINAPI SetActiveWindow(HWND hWnd) {
    HWND previous = Activate(hWnd);
    if (WindowTraceOn())
        TraceWindow("SetActiveWindow(" + DescribeWindow(hWnd) + ") -> " + DescribeWindow(previous));
    return previous;
}

HWND WINAPI GetActiveWindow(void) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    Window* w = FindWindowRecord(s_active);
    return w != nullptr && w->threadId == ::GetCurrentThreadId() ? s_active : nullptr;
}

HWND WINAPI SetFocus(HWND hWnd) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    HWND previous = s_focus;
    if (hWnd == nullptr || FindWindowRecord(hWnd) != nullptr)
        s_focus = hWnd;
    return previous;
}

HWND WINAPI GetFocus(void) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    return s_focus;
}

HWND WINAPI GetDesktopWindow(void) {
    return nullptr;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL) {
    return WithWindow(hWnd, [&](Window& w) {
        w.rect = RECT{X, Y, X + nWidth, Y + nHeight};
        return TRUE;
    });
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND, int X, int Y, int cx, int cy, UINT uFlags) {
    return WithWindow(hWnd, [&](Window& w) {
        if ((uFlags & SWP_NOMOVE) == 0) {
            LONG width = w.rect.right - w.rect.left;
            LONG height = w.rect.bottom - w.rect.top;
            w.rect = RECT{X, Y, X + width, Y + height};
        }
        if ((uFlags & SWP_NOSIZE) == 0) {
            w.rect.right = w.rect.left + cx;
            w.rect.bottom = w.rect.top + cy;
        }
        return TRUE;
    });
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    return WithWindow(hWnd, [&](Window& w) {
        if (lpRect != nullptr)
            *lpRect = w.rect;
        return TRUE;
    });
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    return WithWindow(hWnd, [&](Window& w) {
        if (lpRect != nullptr)
            *lpRect = RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
        return TRUE;
    });
}

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT*, BOOL) {
    return WithWindow(hWnd, [](Window& w) {
        w.invalid = true;
        return TRUE;
    });
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT*) {
    return WithWindow(hWnd, [](Window& w) {
        w.invalid = false;
        return TRUE;
    });
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    bool invalid = WithWindow(hWnd, [](Window& w) { return w.invalid; });
    if (invalid)
        ::SendMessageA(hWnd, WM_PAINT, 0, 0);
    return ::IsWindow(hWnd);
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
    if (lpPoint == nullptr)
        return FALSE;
    *lpPoint = POINT{640, 480};
    return TRUE;
}

UINT WINAPI RegisterWindowMessageA(LPCSTR lpString) {
    if (lpString == nullptr || *lpString == '\0') {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    static std::mutex mutex;
    static std::map<std::string, UINT>* messages = new std::map<std::string, UINT>;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = messages->find(Lower(lpString));
    if (it != messages->end())
        return it->second;
    UINT id = 0xC000 + static_cast<UINT>(messages->size());
    (*messages)[Lower(lpString)] = id;
    return id;
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return lpPrevWndFunc != nullptr ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_SETTEXT:
        return WithWindow(hWnd, [&](Window& w) {
            w.text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
            return TRUE;
        });
    case WM_GETTEXT: {
        std::string text = WithWindow(hWnd, [](Window& w) { return w.text; });
        return CopyOut(text, reinterpret_cast<LPSTR>(lParam), static_cast<int>(wParam));
    }
    case WM_GETTEXTLENGTH:
        return WithWindow(hWnd, [](Window& w) { return static_cast<LRESULT>(w.text.size()); });
    case WM_SETFONT:
        return WithWindow(hWnd, [&](Window& w) {
            w.font = reinterpret_cast<HFONT>(wParam);
            return 0;
        });
    case WM_GETFONT:
        return WithWindow(hWnd, [](Window& w) { return reinterpret_cast<LRESULT>(w.font); });
    case WM_CLOSE:
        ::DestroyWindow(hWnd);
        return 0;
    case WM_PAINT:
        ::ValidateRect(hWnd, nullptr);
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    case WM_DEVICECHANGE:
        return TRUE;
    default:
        return 0;
    }
}
