// Trackbars, progress bars and tab controls.
#include <algorithm>
#include <cstring>

#include "Controls.h"

namespace hostui::detail {

std::shared_ptr<ControlState> MakeTrackbarState() {
    return std::make_shared<TrackbarState>();
}
std::shared_ptr<ControlState> MakeProgressState() {
    return std::make_shared<ProgressState>();
}
std::shared_ptr<ControlState> MakeTabState() {
    return std::make_shared<TabState>();
}

namespace {

// The keyboard of a trackbar, as the common controls move it: arrows by the line size, Page Up and Page Down
// by the page size, Home and End to the ends; each key a scroll notification with its code, the key's
// release the end of the scroll. The mouse capture is never taken, so no NM_RELEASEDCAPTURE follows.
bool KeyScroll(TrackbarState& s, UINT key, int* code) {
    int pos = s.pos;
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        *code = TB_LINEUP;
        pos -= s.line;
        break;
    case VK_RIGHT:
    case VK_DOWN:
        *code = TB_LINEDOWN;
        pos += s.line;
        break;
    case VK_PRIOR:
        *code = TB_PAGEUP;
        pos -= s.page;
        break;
    case VK_NEXT:
        *code = TB_PAGEDOWN;
        pos += s.page;
        break;
    case VK_HOME:
        *code = TB_TOP;
        pos = s.min;
        break;
    case VK_END:
        *code = TB_BOTTOM;
        pos = s.max;
        break;
    default:
        return false;
    }
    s.pos = Clamp(pos, s.min, std::max(s.min, s.max));
    return true;
}

void NotifyScroll(HWND slider, int code) {
    UINT scroll = (::GetWindowLongA(slider, GWL_STYLE) & TBS_VERT) != 0 ? WM_VSCROLL : WM_HSCROLL;
    ::SendMessageA(::GetParent(slider), scroll, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(slider));
}

} // namespace

LRESULT CALLBACK TrackbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto state = StateOf<TrackbarState>(hwnd);
    if (!state)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_KEYDOWN || message == WM_KEYUP) {
        int code = TB_ENDTRACK;
        bool scrolled = false;
        {
            std::lock_guard<std::recursive_mutex> lock(TableMutex());
            TrackbarState probe = *state;
            scrolled = KeyScroll(message == WM_KEYDOWN ? *state : probe, static_cast<UINT>(wParam), &code);
        }
        if (scrolled)
            NotifyScroll(hwnd, message == WM_KEYDOWN ? code : TB_ENDTRACK);
        return 0;
    }
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    TrackbarState& s = *state;
    int value = static_cast<int>(lParam);
    switch (message) {
    case TBM_GETPOS:
        return s.pos;
    case TBM_GETRANGEMIN:
        return s.min;
    case TBM_GETRANGEMAX:
        return s.max;
    case TBM_SETPOS:
        s.pos = Clamp(value, s.min, std::max(s.min, s.max));
        return 0;
    case TBM_SETRANGE:
        s.min = static_cast<short>(LOWORD(lParam));
        s.max = static_cast<short>(HIWORD(lParam));
        s.pos = Clamp(s.pos, s.min, std::max(s.min, s.max));
        return 0;
    case TBM_SETRANGEMIN:
        s.min = value;
        s.pos = Clamp(s.pos, s.min, std::max(s.min, s.max));
        return 0;
    case TBM_SETRANGEMAX:
        s.max = value;
        s.pos = Clamp(s.pos, s.min, std::max(s.min, s.max));
        return 0;
    case TBM_SETTICFREQ:
        s.ticFrequency = static_cast<int>(wParam);
        return 0;
    case TBM_SETPAGESIZE: {
        int old = s.page;
        s.page = value;
        return old;
    }
    case TBM_GETPAGESIZE:
        return s.page;
    case TBM_SETLINESIZE: {
        int old = s.line;
        s.line = value;
        return old;
    }
    case TBM_GETLINESIZE:
        return s.line;
    default:
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK ProgressProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto state = StateOf<ProgressState>(hwnd);
    if (!state)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    ProgressState& s = *state;
    auto clampPos = [&] { s.pos = Clamp(s.pos, s.min, std::max(s.min, s.max)); };
    switch (message) {
    case PBM_SETRANGE: {
        LRESULT old = MAKELONG(s.min, s.max);
        s.min = LOWORD(lParam);
        s.max = HIWORD(lParam);
        clampPos();
        return old;
    }
    case PBM_SETRANGE32: {
        LRESULT old = MAKELONG(s.min, s.max);
        s.min = static_cast<int>(wParam);
        s.max = static_cast<int>(lParam);
        clampPos();
        return old;
    }
    case PBM_GETRANGE: {
        if (lParam != 0) {
            reinterpret_cast<PBRANGE*>(lParam)->iLow = s.min;
            reinterpret_cast<PBRANGE*>(lParam)->iHigh = s.max;
        }
        return wParam != 0 ? s.min : s.max;
    }
    case PBM_SETPOS: {
        int old = s.pos;
        s.pos = static_cast<int>(wParam);
        clampPos();
        return old;
    }
    case PBM_DELTAPOS: {
        int old = s.pos;
        s.pos += static_cast<int>(wParam);
        clampPos();
        return old;
    }
    case PBM_GETPOS:
        return s.pos;
    case PBM_SETSTEP: {
        int old = s.step;
        s.step = static_cast<int>(wParam);
        return old;
    }
    case PBM_STEPIT: {
        int old = s.pos;
        s.pos += s.step;
        if (s.pos > s.max)
            s.pos = s.min + (s.pos - s.max);
        clampPos();
        return old;
    }
    default:
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK TabProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto state = StateOf<TabState>(hwnd);
    if (!state)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    DWORD style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
    RECT rect{};
    ::GetClientRect(hwnd, &rect);
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    TabState& s = *state;
    int count = static_cast<int>(s.items.size());
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (message) {
    case TCM_INSERTITEMA: {
        const TCITEMA* item = reinterpret_cast<const TCITEMA*>(lParam);
        if (item == nullptr || index < 0)
            return -1;
        int at = std::min(index, count);
        s.items.insert(s.items.begin() + at,
                       (item->mask & TCIF_TEXT) != 0 && item->pszText != nullptr ? item->pszText : "");
        if (s.selection >= at)
            ++s.selection;
        if (s.selection < 0)
            s.selection = 0;
        return at;
    }
    case TCM_GETITEMA:
    case TCM_SETITEMA: {
        TCITEMA* item = reinterpret_cast<TCITEMA*>(lParam);
        if (item == nullptr || index < 0 || index >= count)
            return FALSE;
        std::string& text = s.items[static_cast<size_t>(index)];
        if ((item->mask & TCIF_TEXT) != 0) {
            if (message == TCM_SETITEMA) {
                text = item->pszText != nullptr ? item->pszText : "";
            } else if (item->pszText != nullptr && item->cchTextMax > 0) {
                size_t n = std::min(text.size(), static_cast<size_t>(item->cchTextMax - 1));
                std::memcpy(item->pszText, text.data(), n);
                item->pszText[n] = '\0';
            }
        }
        return TRUE;
    }
    case TCM_DELETEALLITEMS:
        s.items.clear();
        s.selection = -1;
        return TRUE;
    case TCM_GETITEMCOUNT:
        return count;
    case TCM_GETCURSEL:
        return s.selection;
    case TCM_SETCURSEL: {
        if (index < 0 || index >= count)
            return -1;
        int old = s.selection;
        s.selection = index;
        return old;
    }
    case TCM_GETROWCOUNT: {
        if ((style & TCS_MULTILINE) == 0 || count == 0)
            return 1;
        // Tabs are as wide as their text (about 6 pixels a character plus a margin); a multi-line tab
        // control wraps them into rows as wide as itself.
        int width = std::max<int>(rect.right - rect.left, 1);
        int rows = 1;
        int used = 0;
        for (const std::string& item : s.items) {
            int tab = static_cast<int>(item.size()) * 6 + 12;
            if (used > 0 && used + tab > width) {
                ++rows;
                used = 0;
            }
            used += tab;
        }
        return rows;
    }
    default:
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace hostui::detail
