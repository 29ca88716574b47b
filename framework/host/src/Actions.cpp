#include "hostui/Actions.h"

#include "Controls.h"
#include "hostui/Snapshot.h"

namespace hostui {

using namespace detail;

namespace {

// The control a user can reach: it exists, shows and takes input.
HWND Reachable(HWND dialog, int id, const char* action) {
    HWND control = ::GetDlgItem(dialog, id);
    std::string what = std::string(action) + " control " + std::to_string(id);
    if (control == nullptr) {
        Fail(what + ": no such control");
        return nullptr;
    }
    if (!::IsWindowVisible(control)) {
        Fail(what + ": the control is hidden");
        return nullptr;
    }
    for (HWND h = control; h != nullptr; h = ::GetParent(h)) {
        if (!::IsWindowEnabled(h)) {
            Fail(what + ": the control is disabled");
            return nullptr;
        }
    }
    return control;
}

bool IsClass(HWND hwnd, const char* name) {
    char buffer[64] = "";
    ::GetClassNameA(hwnd, buffer, sizeof buffer);
    return Lower(buffer) == Lower(name);
}

BOOL ClickRow(HWND dialog, int id, int row, UINT code) {
    HWND list = Reachable(dialog, id, "click a row of");
    if (list == nullptr)
        return FALSE;
    if (row < 0 || row >= static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0))) {
        Fail("list " + std::to_string(id) + " has no row " + std::to_string(row));
        return FALSE;
    }
    LVITEMA clear{};
    clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    LVITEMA select{};
    select.state = LVIS_SELECTED | LVIS_FOCUSED;
    select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&select));
    // The click notification carries the row (the list view's item-activate record starts as this one).
    NMLISTVIEW notify{};
    notify.iItem = row;
    NotifyParentHeader(list, &notify.hdr, code);
    if (code == NM_DBLCLK) {
        NMLISTVIEW again{};
        again.iItem = row;
        NotifyParentHeader(list, &again.hdr, NM_CLICK);
    }
    return TRUE;
}

} // namespace

BOOL ClickButton(HWND dialog, int id) {
    HWND button = Reachable(dialog, id, "click");
    if (button == nullptr)
        return FALSE;
    ::SendMessageA(button, BM_CLICK, 0, 0);
    return TRUE;
}

BOOL TypeText(HWND dialog, int id, const std::string& text, bool replace) {
    HWND control = Reachable(dialog, id, "type into");
    if (control == nullptr)
        return FALSE;
    bool combo = IsClass(control, "ComboBox");
    if (replace)
        ::SendMessageA(control, combo ? CB_SETEDITSEL : EM_SETSEL, 0, combo ? MAKELPARAM(0, -1) : -1);
    for (char c : text)
        ::SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 0);
    return TRUE;
}

BOOL PressKey(HWND dialog, int id, UINT virtualKey) {
    HWND control = Reachable(dialog, id, "press a key in");
    if (control == nullptr)
        return FALSE;
    MSG msg{control, WM_KEYDOWN, virtualKey, 0, 0, {0, 0}};
    ::PostMessageA(control, msg.message, msg.wParam, msg.lParam);
    if (virtualKey == VK_BACK)
        ::PostMessageA(control, WM_CHAR, VK_BACK, 0);
    ::PostMessageA(control, WM_KEYUP, virtualKey, 0);
    return TRUE;
}

BOOL SelectComboItem(HWND dialog, int id, int index) {
    HWND combo = Reachable(dialog, id, "pick an entry of");
    if (combo == nullptr)
        return FALSE;
    if (index < 0 || index >= static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0))) {
        Fail("combo box " + std::to_string(id) + " has no entry " + std::to_string(index));
        return FALSE;
    }
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    NotifyParent(combo, CBN_SELCHANGE);
    NotifyParent(combo, CBN_SELENDOK);
    return TRUE;
}

BOOL SelectComboText(HWND dialog, int id, const std::string& text) {
    HWND combo = ::GetDlgItem(dialog, id);
    LRESULT index = combo != nullptr ? ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                      reinterpret_cast<LPARAM>(text.c_str()))
                                     : CB_ERR;
    if (index == CB_ERR) {
        Fail("combo box " + std::to_string(id) + " has no entry \"" + text + "\"");
        return FALSE;
    }
    return SelectComboItem(dialog, id, static_cast<int>(index));
}

BOOL ClickListRow(HWND dialog, int id, int row) {
    return ClickRow(dialog, id, row, NM_CLICK);
}
BOOL DoubleClickListRow(HWND dialog, int id, int row) {
    return ClickRow(dialog, id, row, NM_DBLCLK);
}

BOOL MoveSlider(HWND dialog, int id, int pos) {
    HWND slider = Reachable(dialog, id, "drag");
    if (slider == nullptr)
        return FALSE;
    int low = static_cast<int>(::SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
    int high = static_cast<int>(::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
    pos = Clamp(pos, low, high);
    HWND parent = ::GetParent(slider);
    UINT scroll = (::GetWindowLongA(slider, GWL_STYLE) & TBS_VERT) != 0 ? WM_VSCROLL : WM_HSCROLL;
    ::SendMessageA(slider, TBM_SETPOS, TRUE, pos);
    ::SendMessageA(parent, scroll, MAKEWPARAM(TB_THUMBTRACK, pos), reinterpret_cast<LPARAM>(slider));
    ::SendMessageA(parent, scroll, MAKEWPARAM(TB_THUMBPOSITION, pos), reinterpret_cast<LPARAM>(slider));
    ::SendMessageA(parent, scroll, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
    NMHDR header{};
    NotifyParentHeader(slider, &header, NM_RELEASEDCAPTURE);
    return TRUE;
}

BOOL SelectSheetTab(HWND sheet, int index) {
    HWND tab =
        ::IsWindow(sheet) ? reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0)) : nullptr;
    if (tab == nullptr || !::IsWindowVisible(tab)) {
        Fail("no property sheet tabs to click");
        return FALSE;
    }
    if (index < 0 || index >= static_cast<int>(::SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0))) {
        Fail("the sheet has no tab " + std::to_string(index));
        return FALSE;
    }
    NMHDR changing{};
    if (NotifyParentHeader(tab, &changing, TCN_SELCHANGING) != FALSE)
        return TRUE; // the page kept the focus: a click that changes nothing
    ::SendMessageA(tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR change{};
    NotifyParentHeader(tab, &change, TCN_SELCHANGE);
    return TRUE;
}

BOOL PressSheetButton(HWND sheet, int id) {
    return ClickButton(sheet, id);
}

BOOL RevealControl(HWND dialog, int id) {
    HWND control = ::GetDlgItem(dialog, id);
    if (control == nullptr) {
        Fail("reveal control " + std::to_string(id) + ": no such control");
        return FALSE;
    }
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    if (Window* w = FindWindowRecord(control))
        w->style = (w->style | WS_VISIBLE) & ~static_cast<DWORD>(WS_DISABLED);
    return TRUE;
}

BOOL CloseWindow(HWND window) {
    if (!::IsWindow(window)) {
        Fail("no window to close");
        return FALSE;
    }
    ::SendMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

} // namespace hostui
