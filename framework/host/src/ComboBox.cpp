// Combo boxes: drop-down lists and combo boxes with an edit field.
#include <algorithm>
#include <cstring>
#include <strings.h>

#include "Controls.h"

namespace hostui::detail {
namespace {

bool HasEdit(DWORD style) {
    return (style & 0x3) != CBS_DROPDOWNLIST;
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    size_t length = std::strlen(prefix);
    return text.size() >= length && ::strncasecmp(text.c_str(), prefix, length) == 0;
}

// The first entry after `start` (wrapping around) that matches; CB_ERR when none does.
int FindEntry(const ComboState& state, WPARAM start, const char* text, bool exact) {
    int count = static_cast<int>(state.items.size());
    int first = static_cast<int>(static_cast<INT_PTR>(start));
    first = first < 0 || first >= count ? 0 : first + 1;
    for (int i = 0; i < count; ++i) {
        const std::string& item = state.items[static_cast<size_t>((first + i) % count)].text;
        if (exact ? ::strcasecmp(item.c_str(), text) == 0 : StartsWithNoCase(item, text))
            return (first + i) % count;
    }
    return CB_ERR;
}

int CopyText(const std::string& text, LPARAM buffer) {
    if (buffer != 0)
        std::memcpy(reinterpret_cast<char*>(buffer), text.c_str(), text.size() + 1);
    return static_cast<int>(text.size());
}

} // namespace

std::shared_ptr<ControlState> MakeComboState() {
    return std::make_shared<ComboState>();
}

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto state = StateOf<ComboState>(hwnd);
    if (!state)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    DWORD style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
    std::unique_lock<std::recursive_mutex> lock(TableMutex());
    ComboState& s = *state;
    int count = static_cast<int>(s.items.size());
    auto setEditText = [&](const std::string& text) {
        lock.unlock();
        ::DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        lock.lock();
        s.selStart = s.selEnd = 0;
    };
    // The edit field's text is the window's own, read without the table lock.
    auto readEditText = [&]() {
        lock.unlock();
        char buffer[4096] = "";
        ::DefWindowProcA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
        lock.lock();
        return std::string(buffer);
    };
    // A change typed into the edit field: the new text, the caret, and the parent told with no lock held.
    auto typeEditText = [&](const std::string& text, int caret) {
        lock.unlock();
        ::DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        lock.lock();
        s.selStart = s.selEnd = caret;
        lock.unlock();
        NotifyParent(hwnd, CBN_EDITUPDATE);
        NotifyParent(hwnd, CBN_EDITCHANGE);
    };
    switch (message) {
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
        std::string text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
        int index;
        if (message == CB_ADDSTRING && (style & CBS_SORT) != 0) {
            auto it = std::find_if(s.items.begin(), s.items.end(), [&](const ComboItem& item) {
                return ::strcasecmp(item.text.c_str(), text.c_str()) > 0;
            });
            index = static_cast<int>(it - s.items.begin());
        } else {
            int wanted = static_cast<int>(static_cast<INT_PTR>(wParam));
            index = message == CB_ADDSTRING || wanted < 0 ? count : wanted;
            if (index > count)
                return CB_ERR;
        }
        s.items.insert(s.items.begin() + index, ComboItem{text, 0});
        if (s.selection >= index)
            ++s.selection;
        return index;
    }
    case CB_DELETESTRING: {
        int index = static_cast<int>(wParam);
        if (index < 0 || index >= count)
            return CB_ERR;
        s.items.erase(s.items.begin() + index);
        if (s.selection == index)
            s.selection = -1;
        else if (s.selection > index)
            --s.selection;
        return count - 1;
    }
    case CB_RESETCONTENT:
        s.items.clear();
        s.selection = -1;
        if (HasEdit(style))
            setEditText("");
        return CB_OKAY;
    case CB_GETCOUNT:
        return count;
    case CB_GETCURSEL:
        return s.selection;
    case CB_SETCURSEL: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (index < 0 || index >= count) {
            s.selection = -1;
            if (HasEdit(style))
                setEditText("");
            return CB_ERR;
        }
        s.selection = index;
        if (HasEdit(style))
            setEditText(s.items[static_cast<size_t>(index)].text);
        return index;
    }
    case CB_GETLBTEXT:
    case CB_GETLBTEXTLEN: {
        int index = static_cast<int>(wParam);
        if (index < 0 || index >= count)
            return CB_ERR;
        const std::string& text = s.items[static_cast<size_t>(index)].text;
        return message == CB_GETLBTEXT ? CopyText(text, lParam) : static_cast<LRESULT>(text.size());
    }
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
        return lParam != 0
                   ? FindEntry(s, wParam, reinterpret_cast<LPCSTR>(lParam), message == CB_FINDSTRINGEXACT)
                   : CB_ERR;
    case CB_SELECTSTRING: {
        int index = lParam != 0 ? FindEntry(s, wParam, reinterpret_cast<LPCSTR>(lParam), false) : CB_ERR;
        if (index == CB_ERR)
            return CB_ERR;
        s.selection = index;
        if (HasEdit(style))
            setEditText(s.items[static_cast<size_t>(index)].text);
        return index;
    }
    case CB_GETITEMDATA:
    case CB_SETITEMDATA: {
        int index = static_cast<int>(wParam);
        if (index < 0 || index >= count)
            return CB_ERR;
        if (message == CB_GETITEMDATA)
            return static_cast<LRESULT>(s.items[static_cast<size_t>(index)].data);
        s.items[static_cast<size_t>(index)].data = static_cast<DWORD_PTR>(lParam);
        return CB_OKAY;
    }
    case CB_LIMITTEXT:
        s.limit = wParam == 0 ? 0x7FFFFFFE : static_cast<int>(wParam);
        return TRUE;
    case CB_GETEDITSEL:
        if (wParam != 0)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(s.selStart);
        if (lParam != 0)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(s.selEnd);
        return MAKELONG(s.selStart, s.selEnd);
    case CB_SETEDITSEL: {
        if (!HasEdit(style))
            return CB_ERR;
        lock.unlock();
        int length = ::GetWindowTextLengthA(hwnd);
        lock.lock();
        int start = static_cast<short>(LOWORD(lParam));
        int end = static_cast<short>(HIWORD(lParam));
        s.selStart = start < 0 ? 0 : Clamp(start, 0, length);
        s.selEnd = end < 0 ? length : Clamp(end, 0, length);
        return TRUE;
    }
    case CB_SHOWDROPDOWN:
        return TRUE;
    case WM_SETTEXT: {
        if (HasEdit(style)) {
            setEditText(lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "");
            return TRUE;
        }
        int index = lParam != 0
                        ? FindEntry(s, static_cast<WPARAM>(-1), reinterpret_cast<LPCSTR>(lParam), true)
                        : CB_ERR;
        if (index == CB_ERR)
            return CB_ERR;
        s.selection = index;
        return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
        if (HasEdit(style)) {
            lock.unlock();
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        }
        std::string text = s.selection >= 0 ? s.items[static_cast<size_t>(s.selection)].text : "";
        if (message == WM_GETTEXTLENGTH)
            return static_cast<LRESULT>(text.size());
        int max = static_cast<int>(wParam);
        if (lParam == 0 || max <= 0)
            return 0;
        text = text.substr(0, static_cast<size_t>(max - 1));
        return CopyText(text, lParam);
    }
    case WM_CHAR: {
        if (!HasEdit(style) || (wParam < 0x20 && wParam != VK_BACK))
            return 0;
        std::string text = readEditText();
        if (!ApplyTyping(text, s.selStart, s.selEnd, s.limit, 0, wParam))
            return 0;
        typeEditText(text, s.selStart);
        return 0;
    }
    case WM_KEYDOWN: {
        if (!HasEdit(style))
            return 0;
        std::string text = readEditText();
        if (ApplyEditKey(text, s.selStart, s.selEnd, static_cast<UINT>(wParam)) != EditKey::Changed)
            return 0;
        typeEditText(text, s.selStart);
        return 0;
    }
    default:
        lock.unlock();
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace hostui::detail
