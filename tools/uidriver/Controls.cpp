// uidriver: the commands on one control of a window. Edits and selections end with the notification the
// control's parent would get from a user's typing or pick; a slider is dragged with the mouse messages a
// user's drag gives it, so that the trackbar itself tells its parent everything it would.
#include "UiDriver.h"

#include "RemoteMemory.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

namespace uidriver {

namespace {

const DWORD kMessageTimeoutMs = 2000;

bool IsClass(HWND hwnd, const wchar_t* name) {
    return lstrcmpiW(ClassOf(hwnd).c_str(), name) == 0;
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

// A control notification as the control itself sends it: WM_COMMAND to its parent.
void NotifyParent(HWND control, WORD code) {
    const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code);
    Send(GetParent(control), WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control));
}

bool ParseInt(const std::string& text, int* value) {
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0')
        return false;
    *value = static_cast<int>(number);
    return true;
}

// Wine forwards WM_SETTEXT from a combo box to its edit field, which tells nobody; a single-line edit
// reports EN_UPDATE and EN_CHANGE itself, a multi-line one does not. Typing gives the parent both.
int SetText(HWND control, const std::string& text) {
    const std::wstring wide = Widen(text);
    DWORD_PTR done = 0;
    if (!SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &done) ||
        !done)
        return Fail("the control refused the text \"" + text + "\"");
    if (IsClass(control, L"ComboBox")) {
        NotifyParent(control, CBN_EDITUPDATE);
        NotifyParent(control, CBN_EDITCHANGE);
    } else if (IsClass(control, L"Edit") && (GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) != 0) {
        NotifyParent(control, EN_UPDATE);
        NotifyParent(control, EN_CHANGE);
    }
    return 0;
}

std::wstring ComboItemText(HWND combo, int index) {
    const LRESULT length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        return L"";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    // The W form: Wine hands a cross-process CB_GETLBTEXT in its A form back cut to one character.
    const LRESULT copied =
        Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

// An entry whose whole text is ITEM wins; otherwise a number is a position from 0.
int SelectItem(HWND combo, const std::string& item) {
    const int count = static_cast<int>(Send(combo, CB_GETCOUNT, 0, 0));
    const std::wstring wanted = Widen(item);
    int index = -1;
    for (int i = 0; i < count && index < 0; ++i)
        if (ComboItemText(combo, i) == wanted)
            index = i;
    if (index < 0 && (!ParseInt(item, &index) || index < 0 || index >= count))
        return Fail("the list has no entry \"" + item + "\" (" + std::to_string(count) + " entries)");
    if (Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != index)
        return Fail("the list did not take entry " + std::to_string(index));
    NotifyParent(combo, CBN_SELCHANGE);
    return 0;
}

// Presses the mouse on the thumb, moves it to the place nearest POS and lets go: the trackbar sends its
// parent the scroll messages of the drag, the end of the track and NM_RELEASEDCAPTURE, which no other
// process could send for it. The place is found by moving and reading the position back, so it does not
// depend on how the trackbar maps places to positions, nor on a parent that snaps the thumb.
int DragSlider(HWND slider, int target) {
    RECT thumb{};
    RECT channel{};
    if (!ReadControlRect(slider, TBM_GETTHUMBRECT, &thumb) ||
        !ReadControlRect(slider, TBM_GETCHANNELRECT, &channel))
        return Fail("the slider's rectangles cannot be read");
    const bool vertical = (GetWindowLongW(slider, GWL_STYLE) & TBS_VERT) != 0;
    const int across = vertical ? (thumb.left + thumb.right) / 2 : (thumb.top + thumb.bottom) / 2;
    auto point = [&](int along) { return vertical ? MAKELPARAM(across, along) : MAKELPARAM(along, across); };
    auto moveTo = [&](int along) {
        Send(slider, WM_MOUSEMOVE, MK_LBUTTON, point(along));
        return static_cast<int>(Send(slider, TBM_GETPOS, 0, 0));
    };

    const int start = vertical ? (thumb.top + thumb.bottom) / 2 : (thumb.left + thumb.right) / 2;
    Send(slider, WM_LBUTTONDOWN, MK_LBUTTON, point(start));
    const int thumbSize = vertical ? thumb.bottom - thumb.top : thumb.right - thumb.left;
    int low = (vertical ? channel.top : channel.left) - thumbSize;
    int high = (vertical ? channel.bottom : channel.right) + thumbSize;
    const bool rising = moveTo(low) <= moveTo(high);
    // The first place whose position is at or beyond the target, then the nearer of it and the one before.
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const int position = moveTo(middle);
        if (rising ? position >= target : position <= target)
            high = middle;
        else
            low = middle + 1;
    }
    const int after = moveTo(low);
    const int before = moveTo(low - 1);
    const int place = std::abs(after - target) <= std::abs(before - target) ? low : low - 1;
    moveTo(place);
    Send(slider, WM_LBUTTONUP, 0, point(place));

    const int position = static_cast<int>(Send(slider, TBM_GETPOS, 0, 0));
    std::printf("%d\n", position);
    return position == target ? 0 : Fail("the slider came to rest at " + std::to_string(position));
}

// enabled, disabled, visible, hidden, checked or unchecked; false for another word.
bool StateWord(const std::string& word, HWND control, bool* holds) {
    if (word == "enabled" || word == "disabled")
        *holds = (IsWindowEnabled(control) != FALSE) == (word == "enabled");
    else if (word == "visible" || word == "hidden")
        *holds = (IsWindowVisible(control) != FALSE) == (word == "visible");
    else if (word == "checked" || word == "unchecked")
        *holds = (Send(control, BM_GETCHECK, 0, 0) == BST_CHECKED) == (word == "checked");
    else
        return false;
    return true;
}

int PrintRows(HWND list, const std::string& wantedCount, const Options& options) {
    int wanted = -1;
    if (!wantedCount.empty() && (!ParseInt(wantedCount, &wanted) || wanted < 0))
        return 2;
    std::vector<std::vector<std::wstring>> rows;
    const bool read = WaitFor<bool>(options.timeoutMs, [&] {
        return ReadListRows(list, &rows) && (wanted < 0 || static_cast<int>(rows.size()) == wanted);
    });
    if (!read)
        return Fail("the list holds " + std::to_string(rows.size()) + " rows, not " + wantedCount);
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i)
            line += (i == 0 ? "" : "\t") + Narrow(row[i]);
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

} // namespace

int RunControlCommand(HWND window, const std::string& command, const std::vector<std::string>& args,
                      const Options& options) {
    int id = 0;
    if (args.size() < 2 || !ParseInt(args[1], &id))
        return 2;
    HWND control = FindControl(window, id);
    if (control == nullptr)
        return Fail("no control " + args[1] + " in \"" + args[0] + "\"");

    if (command == "set-text" && args.size() == 3)
        return SetText(control, args[2]);
    if (command == "select-item" && args.size() == 3)
        return SelectItem(control, args[2]);
    if (command == "slider" && args.size() == 3) {
        int target = 0;
        return ParseInt(args[2], &target) ? DragSlider(control, target) : 2;
    }
    if (command == "check" && args.size() == 2) {
        const LRESULT state = Send(control, BM_GETCHECK, 0, 0);
        std::printf("%s\n", state == BST_CHECKED         ? "checked"
                            : state == BST_INDETERMINATE ? "indeterminate"
                                                         : "unchecked");
        return 0;
    }
    if (command == "text" && args.size() == 2) {
        std::printf("%s\n", Narrow(TextOf(control)).c_str());
        return 0;
    }
    if (command == "wait-change" && args.size() == 3) {
        const std::wstring old = Widen(args[2]);
        std::wstring now;
        if (!WaitFor<bool>(options.timeoutMs, [&] { return (now = TextOf(control)) != old; }))
            return Fail("control " + args[1] + " still shows \"" + args[2] + "\"");
        std::printf("%s\n", Narrow(now).c_str());
        return 0;
    }
    if (command == "wait-state" && args.size() == 3) {
        bool holds = false;
        if (!StateWord(args[2], control, &holds))
            return 2;
        if (!WaitFor<bool>(options.timeoutMs, [&] { return StateWord(args[2], control, &holds) && holds; }))
            return Fail("control " + args[1] + " is not " + args[2]);
        return 0;
    }
    if (command == "list-rows" && (args.size() == 2 || args.size() == 3))
        return PrintRows(control, args.size() == 3 ? args[2] : "", options);
    return 2;
}

} // namespace uidriver
