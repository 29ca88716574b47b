// Property sheets: a dialog with a tab control, OK, Cancel, Apply and Help buttons, and one page dialog per
// tab, made when its tab is first chosen. The sheet tells its pages about their life with the same
// notifications, in the same order, as the common controls of Windows: PSN_KILLACTIVE to the page left,
// WM_INITDIALOG to a page made now, PSN_SETACTIVE to the page shown; OK: PSN_KILLACTIVE, then PSN_APPLY to
// every page made; Cancel: PSN_QUERYCANCEL, then PSN_RESET to every page made.
#include <algorithm>

#include "Dialogs.h"
#include "Events.h"

namespace hostui::detail {
namespace {

// The ids the sheet gives its own windows.
constexpr int ID_TAB_CONTROL_HOST = 0x3020;
constexpr int ID_APPLY_NOW_HOST = 0x3021;

struct SheetPage {
    PROPSHEETPAGEA record{};
    HWND hwnd = nullptr;
    bool changed = false;
};

struct SheetState : ControlState {
    std::vector<SheetPage> pages;
    int current = -1;
    bool finished = false;
    bool modeless = false;
    int result = 0;
    HWND tab = nullptr;
};

std::shared_ptr<SheetState> Sheet(HWND hwnd) {
    return StateOf<SheetState>(hwnd);
}

LRESULT Notify(HWND sheet, HWND page, UINT code, LPARAM lParam = 0) {
    PSHNOTIFY notify{};
    notify.hdr.hwndFrom = sheet;
    notify.hdr.idFrom = 0;
    notify.hdr.code = code;
    notify.lParam = lParam;
    return ::SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
}

HWND PageWindow(SheetState& s, int index) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    return index >= 0 && index < static_cast<int>(s.pages.size()) ? s.pages[static_cast<size_t>(index)].hwnd
                                                                  : nullptr;
}

// The current page agrees to be left.
bool LeaveCurrent(HWND sheet, SheetState& s) {
    HWND page = PageWindow(s, s.current);
    return page == nullptr || Notify(sheet, page, PSN_KILLACTIVE) == FALSE;
}

bool Activate(HWND sheet, SheetState& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.pages.size()))
        return false;
    HWND page = PageWindow(s, index);
    if (page == nullptr) {
        SheetPage& entry = s.pages[static_cast<size_t>(index)];
        page =
            CreateDialogFromResources(entry.record.hInstance, entry.record.pszTemplate, sheet,
                                      entry.record.pfnDlgProc, reinterpret_cast<LPARAM>(&entry.record), true);
        if (page == nullptr)
            return false;
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        s.pages[static_cast<size_t>(index)].hwnd = page;
    }
    if (Notify(sheet, page, PSN_SETACTIVE) == -1)
        return false;
    HWND previous = PageWindow(s, s.current);
    if (previous != nullptr && previous != page)
        ::ShowWindow(previous, SW_HIDE);
    ::ShowWindow(page, SW_SHOW);
    s.current = index;
    ::SendMessageA(s.tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    bool help = (s.pages[static_cast<size_t>(index)].record.dwFlags & PSP_HASHELP) != 0;
    ::EnableWindow(::GetDlgItem(sheet, IDHELP), help);
    return true;
}

void Finish(SheetState& s, int result) {
    s.finished = true;
    s.result = result;
    s.current = -1;
}

void PressOk(HWND sheet, SheetState& s) {
    if (!LeaveCurrent(sheet, s))
        return;
    for (size_t i = 0; i < s.pages.size(); ++i) {
        HWND page = PageWindow(s, static_cast<int>(i));
        if (page == nullptr)
            continue;
        LRESULT answer = Notify(sheet, page, PSN_APPLY, TRUE);
        if (answer == PSNRET_INVALID || answer == PSNRET_INVALID_NOCHANGEPAGE) {
            if (answer == PSNRET_INVALID)
                Activate(sheet, s, static_cast<int>(i));
            return;
        }
    }
    Finish(s, IDOK);
}

void PressCancel(HWND sheet, SheetState& s) {
    HWND current = PageWindow(s, s.current);
    if (current != nullptr && Notify(sheet, current, PSN_QUERYCANCEL) != FALSE)
        return;
    for (size_t i = 0; i < s.pages.size(); ++i) {
        if (HWND page = PageWindow(s, static_cast<int>(i)))
            Notify(sheet, page, PSN_RESET, TRUE);
    }
    Finish(s, IDCANCEL);
}

void PressApply(HWND sheet, SheetState& s) {
    if (!LeaveCurrent(sheet, s))
        return;
    for (size_t i = 0; i < s.pages.size(); ++i) {
        if (HWND page = PageWindow(s, static_cast<int>(i))) {
            if (Notify(sheet, page, PSN_APPLY, FALSE) != PSNRET_NOERROR)
                return;
            s.pages[i].changed = false;
        }
    }
    ::EnableWindow(::GetDlgItem(sheet, ID_APPLY_NOW_HOST), FALSE);
}

LRESULT CALLBACK SheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto state = Sheet(hwnd);
    if (!state)
        return ::DefDlgProcA(hwnd, message, wParam, lParam);
    SheetState& s = *state;
    switch (message) {
    case WM_INITDIALOG:
        Activate(hwnd, s, static_cast<int>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (s.finished)
            return 0;
        switch (LOWORD(wParam)) {
        case IDOK:
            PressOk(hwnd, s);
            return 0;
        case IDCANCEL:
            PressCancel(hwnd, s);
            return 0;
        case ID_APPLY_NOW_HOST:
            PressApply(hwnd, s);
            return 0;
        case IDHELP:
            if (HWND page = PageWindow(s, s.current))
                Notify(hwnd, page, PSN_HELP);
            return 0;
        default:
            return 0;
        }
    case WM_CLOSE:
        ::SendMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        return 0;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header == nullptr || header->hwndFrom != s.tab)
            return 0;
        if (header->code == TCN_SELCHANGING)
            return LeaveCurrent(hwnd, s) ? FALSE : TRUE;
        if (header->code == TCN_SELCHANGE)
            Activate(hwnd, s, static_cast<int>(::SendMessageA(s.tab, TCM_GETCURSEL, 0, 0)));
        return 0;
    }
    case PSM_SETCURSEL: {
        int index = static_cast<int>(wParam);
        if (lParam != 0) {
            for (size_t i = 0; i < s.pages.size(); ++i) {
                if (reinterpret_cast<LPARAM>(&s.pages[i].record) == lParam)
                    index = static_cast<int>(i);
            }
        }
        if (s.finished || index < 0 || index >= static_cast<int>(s.pages.size()) || !LeaveCurrent(hwnd, s))
            return FALSE;
        return Activate(hwnd, s, index);
    }
    case PSM_GETCURRENTPAGEHWND:
        return reinterpret_cast<LRESULT>(s.finished ? nullptr : PageWindow(s, s.current));
    case PSM_GETTABCONTROL:
        return reinterpret_cast<LRESULT>(s.tab);
    case PSM_ISDIALOGMESSAGE:
        return DialogKey(hwnd, reinterpret_cast<const MSG*>(lParam)) ? TRUE : FALSE;
    case PSM_PRESSBUTTON: {
        static const int buttons[] = {0, 0, 0, IDOK, ID_APPLY_NOW_HOST, IDCANCEL, IDHELP};
        if (wParam < sizeof buttons / sizeof buttons[0] && buttons[wParam] != 0)
            ::SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(buttons[wParam], BN_CLICKED), 0);
        return 0;
    }
    case PSM_CHANGED:
    case PSM_UNCHANGED: {
        bool any = false;
        for (SheetPage& page : s.pages) {
            if (page.hwnd == reinterpret_cast<HWND>(wParam))
                page.changed = message == PSM_CHANGED;
            any = any || page.changed;
        }
        ::EnableWindow(::GetDlgItem(hwnd, ID_APPLY_NOW_HOST), any);
        return 0;
    }
    case PSM_CANCELTOCLOSE:
        ::EnableWindow(::GetDlgItem(hwnd, IDCANCEL), FALSE);
        ::SetWindowTextA(::GetDlgItem(hwnd, IDOK), "Close");
        return 0;
    case PSM_SETTITLEA:
        ::DefWindowProcA(hwnd, WM_SETTEXT, 0, lParam);
        return 0;
    case PSM_QUERYSIBLINGS:
        for (size_t i = 0; i < s.pages.size(); ++i) {
            if (HWND page = PageWindow(s, static_cast<int>(i))) {
                if (LRESULT answer = ::SendMessageA(page, PSM_QUERYSIBLINGS, wParam, lParam))
                    return answer;
            }
        }
        return 0;
    case PSM_REMOVEPAGE: {
        size_t index = static_cast<size_t>(wParam);
        if (index >= s.pages.size())
            return 0;
        if (s.pages[index].hwnd != nullptr)
            ::DestroyWindow(s.pages[index].hwnd);
        s.pages.erase(s.pages.begin() + static_cast<std::ptrdiff_t>(index));
        if (s.current == static_cast<int>(index))
            s.current = -1;
        return 0;
    }
    default:
        return ::DefDlgProcA(hwnd, message, wParam, lParam);
    }
}

HWND CreateButton(HWND sheet, int id, const char* text, DWORD extraStyle, int x) {
    return CreateWindowRecord(0, "Button", text, WS_CHILD | WS_TABSTOP | extraStyle, x, 330, 75, 23, sheet,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

} // namespace
} // namespace hostui::detail

using namespace hostui::detail;

INT_PTR WINAPI PropertySheetA(LPCPROPSHEETHEADERA header) {
    if (header == nullptr || (header->dwFlags & PSH_PROPSHEETPAGE) == 0 || header->ppsp == nullptr) {
        Fail("PropertySheetA: only sheets of PROPSHEETPAGE records are supported");
        return -1;
    }
    auto state = std::make_shared<SheetState>();
    for (UINT i = 0; i < header->nPages; ++i)
        state->pages.push_back(SheetPage{header->ppsp[i]});
    state->modeless = (header->dwFlags & PSH_MODELESS) != 0;
    std::string caption =
        header->pszCaption != nullptr && !IS_INTRESOURCE(header->pszCaption) ? header->pszCaption : "";
    HWND sheet =
        CreateWindowRecord(WS_EX_CONTROLPARENT, "#32770", caption,
                           WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK, 0, 0, 400, 370,
                           header->hwndParent, nullptr, header->hInstance, nullptr, &SheetProc, state);
    if (sheet == nullptr)
        return -1;
    state->tab = CreateWindowRecord(
        0, "SysTabControl32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TCS_MULTILINE, 7, 7, 380, 310, sheet,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_TAB_CONTROL_HOST)), header->hInstance, nullptr);
    CreateButton(sheet, IDOK, "OK", WS_VISIBLE | BS_DEFPUSHBUTTON, 70);
    CreateButton(sheet, IDCANCEL, "Cancel", WS_VISIBLE, 150);
    CreateButton(sheet, ID_APPLY_NOW_HOST, "&Apply",
                 (header->dwFlags & PSH_NOAPPLYNOW) != 0 ? 0 : WS_VISIBLE | WS_DISABLED, 230);
    CreateButton(sheet, IDHELP, "Help", (header->dwFlags & PSH_HASHELP) != 0 ? WS_VISIBLE : 0, 310);
    for (size_t i = 0; i < state->pages.size(); ++i) {
        const PROPSHEETPAGEA& record = state->pages[i].record;
        std::string title = (record.dwFlags & PSP_USETITLE) != 0 && record.pszTitle != nullptr &&
                                    !IS_INTRESOURCE(record.pszTitle)
                                ? record.pszTitle
                                : TemplateCaption(record.pszTemplate);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPSTR>(title.c_str());
        ::SendMessageA(state->tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    UINT start = header->nStartPage < header->nPages ? header->nStartPage : 0;
    ::SendMessageA(sheet, WM_INITDIALOG, 0, static_cast<LPARAM>(start));
    if (!::IsWindow(sheet))
        return -1;
    ::ShowWindow(sheet, SW_SHOW);
    if (state->modeless)
        return reinterpret_cast<INT_PTR>(sheet);
    MSG msg{};
    while (!state->finished && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    int result = state->result;
    ::DestroyWindow(sheet);
    return result == IDOK ? 1 : 0;
}
