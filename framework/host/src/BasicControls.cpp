// Buttons, statics and edits.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "Controls.h"

namespace hostui::detail {

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

std::shared_ptr<ControlState> MakeButtonState() {
    return std::make_shared<ButtonState>();
}
std::shared_ptr<ControlState> MakeEditState() {
    return std::make_shared<EditState>();
}

bool ApplyTyping(std::string& text, int& selStart, int& selEnd, int limit, DWORD style, WPARAM ch) {
    int length = static_cast<int>(text.size());
    int start = Clamp(std::min(selStart, selEnd), 0, length);
    int end = Clamp(std::max(selStart, selEnd), 0, length);
    if (ch == VK_BACK) {
        if (start == end && start > 0)
            --start;
        text.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
        selStart = selEnd = start;
        return true;
    }
    char c = static_cast<char>(ch);
    if ((style & ES_NUMBER) != 0 && !std::isdigit(static_cast<unsigned char>(c)))
        return false;
    if ((style & ES_UPPERCASE) != 0)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if ((style & ES_LOWERCASE) != 0)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (length - (end - start) + 1 > limit)
        return false;
    text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), 1, c);
    selStart = selEnd = start + 1;
    return true;
}

EditKey ApplyEditKey(std::string& text, int& selStart, int& selEnd, UINT virtualKey) {
    const int length = static_cast<int>(text.size());
    int start = Clamp(std::min(selStart, selEnd), 0, length);
    int end = Clamp(std::max(selStart, selEnd), 0, length);
    switch (virtualKey) {
    case VK_DELETE:
        if (start == end && end < length)
            ++end;
        if (start == end)
            return EditKey::None;
        text.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
        selStart = selEnd = start;
        return EditKey::Changed;
    case VK_LEFT:
        selStart = selEnd = start == end ? std::max(0, start - 1) : start;
        return EditKey::Moved;
    case VK_RIGHT:
        selStart = selEnd = start == end ? std::min(length, end + 1) : end;
        return EditKey::Moved;
    case VK_HOME:
        selStart = selEnd = 0;
        return EditKey::Moved;
    case VK_END:
        selStart = selEnd = length;
        return EditKey::Moved;
    default:
        return EditKey::None;
    }
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto state = StateOf<ButtonState>(hwnd);
    if (!state)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    DWORD kind = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE)) & BS_TYPEMASK;
    switch (message) {
    case BM_GETCHECK: {
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        return state->check;
    }
    case BM_SETCHECK: {
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        if (kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON && kind != BS_GROUPBOX)
            state->check = static_cast<int>(wParam);
        return 0;
    }
    case BM_GETSTATE: {
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        return state->check | (state->pushed ? 0x0004 : 0);
    }
    case BM_SETSTATE: {
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        state->pushed = wParam != 0;
        return 0;
    }
    case BM_CLICK: {
        if (kind == BS_AUTOCHECKBOX || kind == BS_AUTO3STATE) {
            std::lock_guard<std::recursive_mutex> lock(TableMutex());
            state->check = (state->check + 1) % (kind == BS_AUTO3STATE ? 3 : 2);
        } else if (kind == BS_AUTORADIOBUTTON) {
            // The clicked button is checked, the others of its group unchecked.
            std::vector<HWND> siblings;
            for (HWND h = ::GetWindow(hwnd, GW_HWNDFIRST); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
                siblings.push_back(h);
            auto styleOf = [](HWND h) { return static_cast<DWORD>(::GetWindowLongA(h, GWL_STYLE)); };
            size_t index =
                static_cast<size_t>(std::find(siblings.begin(), siblings.end(), hwnd) - siblings.begin());
            size_t first = std::min(index, siblings.size());
            while (first > 0 && first < siblings.size() && (styleOf(siblings[first]) & WS_GROUP) == 0)
                --first;
            for (size_t i = first; i < siblings.size(); ++i) {
                if (i != first && (styleOf(siblings[i]) & WS_GROUP) != 0)
                    break;
                if ((styleOf(siblings[i]) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                    ::SendMessageA(siblings[i], BM_SETCHECK,
                                   siblings[i] == hwnd ? BST_CHECKED : BST_UNCHECKED, 0);
            }
        }
        NotifyParent(hwnd, BN_CLICKED);
        return 0;
    }
    default:
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto state = StateOf<ButtonState>(hwnd);
    if (state && (message == STM_SETICON || message == STM_GETICON)) {
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        HICON previous = state->icon;
        if (message == STM_SETICON)
            state->icon = reinterpret_cast<HICON>(wParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto state = StateOf<EditState>(hwnd);
    if (!state)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    DWORD style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
    switch (message) {
    case WM_SETTEXT: {
        ::DefWindowProcA(hwnd, message, wParam, lParam);
        {
            std::lock_guard<std::recursive_mutex> lock(TableMutex());
            state->selStart = state->selEnd = 0;
        }
        // A single-line edit reports a new text as a change, whoever set it.
        if ((style & ES_MULTILINE) == 0) {
            NotifyParent(hwnd, EN_UPDATE);
            NotifyParent(hwnd, EN_CHANGE);
        }
        return TRUE;
    }
    case EM_LIMITTEXT: {
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        state->limit = wParam == 0 ? 0x7FFFFFFE : static_cast<int>(wParam);
        return 0;
    }
    case EM_GETLIMITTEXT: {
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        return state->limit;
    }
    case EM_SETSEL: {
        int length = ::GetWindowTextLengthA(hwnd);
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        int start = static_cast<int>(static_cast<INT_PTR>(wParam));
        int end = static_cast<int>(lParam);
        if (start == -1) {
            state->selStart = state->selEnd = Clamp(state->selEnd, 0, length);
        } else {
            state->selStart = Clamp(start, 0, length);
            state->selEnd = end < 0 ? length : Clamp(end, 0, length);
        }
        return 0;
    }
    case EM_GETSEL: {
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        if (wParam != 0)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(state->selStart);
        if (lParam != 0)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(state->selEnd);
        return MAKELONG(state->selStart, state->selEnd);
    }
    case WM_KEYDOWN: {
        if ((style & ES_MULTILINE) != 0)
            return 0;
        char buffer[4096] = "";
        ::DefWindowProcA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
        std::string text = buffer;
        EditKey done = EditKey::None;
        {
            std::lock_guard<std::recursive_mutex> lock(TableMutex());
            int selStart = state->selStart;
            int selEnd = state->selEnd;
            done = ApplyEditKey(text, selStart, selEnd, static_cast<UINT>(wParam));
            if (done == EditKey::Changed && (style & ES_READONLY) != 0)
                done = EditKey::None; // a read-only edit keeps its text
            if (done != EditKey::None) {
                state->selStart = selStart;
                state->selEnd = selEnd;
            }
        }
        if (done == EditKey::Changed) {
            int caret = 0;
            {
                std::lock_guard<std::recursive_mutex> lock(TableMutex());
                caret = state->selStart;
            }
            ::DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
            NotifyParent(hwnd, EN_UPDATE);
            NotifyParent(hwnd, EN_CHANGE);
            std::lock_guard<std::recursive_mutex> lock(TableMutex());
            state->selStart = state->selEnd = caret;
        }
        return 0;
    }
    case EM_SETREADONLY:
        ::SetWindowLongA(
            hwnd, GWL_STYLE,
            static_cast<LONG>(wParam ? (style | ES_READONLY) : (style & ~static_cast<DWORD>(ES_READONLY))));
        return TRUE;
    case EM_REPLACESEL:
    case WM_CHAR: {
        if (message == WM_CHAR && ((style & ES_READONLY) != 0 || (wParam < 0x20 && wParam != VK_BACK)))
            return 0;
        char buffer[4096] = "";
        ::DefWindowProcA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
        std::string text = buffer;
        bool accepted = true;
        {
            std::lock_guard<std::recursive_mutex> lock(TableMutex());
            if (message == WM_CHAR) {
                accepted = ApplyTyping(text, state->selStart, state->selEnd, state->limit, style, wParam);
            } else {
                int start = Clamp(std::min(state->selStart, state->selEnd), 0, static_cast<int>(text.size()));
                int end = Clamp(std::max(state->selStart, state->selEnd), 0, static_cast<int>(text.size()));
                const char* insert = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
                text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), insert);
                state->selStart = state->selEnd = start + static_cast<int>(std::strlen(insert));
            }
        }
        if (!accepted) {
            if ((style & ES_NUMBER) == 0)
                NotifyParent(hwnd, EN_MAXTEXT);
            return 0;
        }
        ::DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        NotifyParent(hwnd, EN_UPDATE);
        NotifyParent(hwnd, EN_CHANGE);
        return 0;
    }
    default:
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace hostui::detail
