// Message boxes and popup menus: the modal questions, answered from the queues of hostui/Prompts.h.
#include <deque>
#include <map>
#include <mutex>

#include "Events.h"
#include "WindowTable.h"
#include "WindowTrace.h"
#include "hostui/Prompts.h"

namespace hostui {
namespace {

struct MenuItem {
    UINT flags;
    UINT_PTR id;
    std::string text;
};

struct PromptState {
    std::mutex mutex;
    std::deque<int> boxAnswers;
    std::deque<UINT> menuChoices;
    std::map<HMENU, std::vector<MenuItem>> menus;
    std::function<int(const std::string&, unsigned int)> responder;
    ULONG_PTR nextMenu = 0x50000;
};

PromptState& Prompts() {
    static auto* state = new PromptState;
    return *state;
}

bool AnswerFits(UINT type, int answer) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return answer == IDOK;
    case MB_OKCANCEL:
        return answer == IDOK || answer == IDCANCEL;
    case MB_ABORTRETRYIGNORE:
        return answer == IDABORT || answer == IDRETRY || answer == IDIGNORE;
    case MB_YESNOCANCEL:
        return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    case MB_YESNO:
        return answer == IDYES || answer == IDNO;
    case MB_RETRYCANCEL:
        return answer == IDRETRY || answer == IDCANCEL;
    default:
        return false;
    }
}

} // namespace

void QueueMessageBoxAnswer(int answer) {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    Prompts().boxAnswers.push_back(answer);
}

void QueueMenuChoice(unsigned int commandId) {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    Prompts().menuChoices.push_back(commandId);
}

std::size_t PendingMessageBoxAnswers() {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    return Prompts().boxAnswers.size();
}

std::size_t PendingMenuChoices() {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    return Prompts().menuChoices.size();
}

void SetMessageBoxResponder(std::function<int(const std::string& text, unsigned int style)> responder) {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    Prompts().responder = std::move(responder);
}

void ClearAnswers() {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    Prompts().boxAnswers.clear();
    Prompts().menuChoices.clear();
    Prompts().menus.clear();
}

} // namespace hostui

using namespace hostui;

namespace {
int ShowBox(LPCSTR lpText, LPCSTR lpCaption, UINT uType);
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    const int answer = ShowBox(lpText, lpCaption, uType);
    if (detail::WindowTraceOn())
        detail::TraceWindow("MessageBoxA(owner " + detail::DescribeWindow(hWnd) + ", style " +
                            detail::HexValue(uType) + ") -> " + std::to_string(answer));
    return answer;
}

namespace {
int ShowBox(LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    UiEvent event{UiEvent::Kind::Box};
    event.text = lpText != nullptr ? lpText : "";
    event.caption = lpCaption != nullptr ? lpCaption : "Error";
    event.value = uType;
    int answer = 0;
    bool answered = false;
    std::function<int(const std::string&, unsigned int)> responder;
    {
        std::lock_guard<std::mutex> lock(Prompts().mutex);
        if (!Prompts().boxAnswers.empty()) {
            answer = Prompts().boxAnswers.front();
            Prompts().boxAnswers.pop_front();
            answered = true;
        } else {
            responder = Prompts().responder;
        }
    }
    if (responder) {
        answer = responder(event.text, uType);
        answered = true;
    }
    event.data = static_cast<std::uint64_t>(answer);
    detail::RecordEvent(event);
    if (!answered) {
        detail::Fail("message box \"" + event.text + "\" shown with no answer queued");
        return 0;
    }
    if (!AnswerFits(uType, answer))
        detail::Fail("message box \"" + event.text + "\" cannot be answered with " + std::to_string(answer));
    return answer;
}
} // namespace

HMENU WINAPI CreatePopupMenu(void) {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    Prompts().nextMenu += 4;
    HMENU menu = reinterpret_cast<HMENU>(Prompts().nextMenu);
    Prompts().menus[menu];
    return menu;
}

HMENU WINAPI CreateMenu(void) {
    return CreatePopupMenu();
}

BOOL WINAPI DestroyMenu(HMENU hMenu) {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    return Prompts().menus.erase(hMenu) != 0;
}

BOOL WINAPI AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    auto it = Prompts().menus.find(hMenu);
    if (it == Prompts().menus.end()) {
        ::SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    std::string text = (uFlags & MF_SEPARATOR) == 0 && lpNewItem != nullptr ? lpNewItem : "";
    it->second.push_back(MenuItem{uFlags, uIDNewItem, text});
    return TRUE;
}

int WINAPI GetMenuItemCount(HMENU hMenu) {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    auto it = Prompts().menus.find(hMenu);
    return it != Prompts().menus.end() ? static_cast<int>(it->second.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos) {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    auto it = Prompts().menus.find(hMenu);
    if (it == Prompts().menus.end() || nPos < 0 || nPos >= static_cast<int>(it->second.size()))
        return static_cast<UINT>(-1);
    const MenuItem& item = it->second[static_cast<size_t>(nPos)];
    return (item.flags & MF_SEPARATOR) != 0 ? 0 : static_cast<UINT>(item.id);
}

int WINAPI GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags) {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    auto it = Prompts().menus.find(hMenu);
    if (it == Prompts().menus.end())
        return 0;
    const auto& items = it->second;
    for (size_t i = 0; i < items.size(); ++i) {
        bool match = (flags & MF_BYPOSITION) != 0 ? i == uIDItem : items[i].id == uIDItem;
        if (!match)
            continue;
        if (lpString != nullptr && cchMax > 0) {
            size_t n = std::min(items[i].text.size(), static_cast<size_t>(cchMax - 1));
            items[i].text.copy(lpString, n);
            lpString[n] = '\0';
        }
        return static_cast<int>(items[i].text.size());
    }
    return 0;
}

UINT WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
    std::lock_guard<std::mutex> lock(Prompts().mutex);
    auto it = Prompts().menus.find(hMenu);
    if (it == Prompts().menus.end())
        return static_cast<UINT>(-1);
    auto& items = it->second;
    for (size_t i = 0; i < items.size(); ++i) {
        bool match = (uEnable & MF_BYPOSITION) != 0 ? i == uIDEnableItem : items[i].id == uIDEnableItem;
        if (match) {
            UINT old = items[i].flags & (MF_GRAYED | MF_DISABLED);
            items[i].flags = (items[i].flags & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) |
                             (uEnable & (MF_GRAYED | MF_DISABLED));
            return old;
        }
    }
    return static_cast<UINT>(-1);
}

namespace {
BOOL TrackMenu(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd);
}

BOOL WINAPI TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd,
                           const RECT* prc) {
    (void)nReserved;
    (void)prc;
    const BOOL result = TrackMenu(hMenu, uFlags, x, y, hWnd);
    if (detail::WindowTraceOn())
        detail::TraceWindow("TrackPopupMenu(flags " + detail::HexValue(uFlags) + ", at " + std::to_string(x) +
                            "," + std::to_string(y) + ", owner " + detail::DescribeWindow(hWnd) + ") -> " +
                            std::to_string(result));
    return result;
}

namespace {
BOOL TrackMenu(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd) {
    UiEvent event{UiEvent::Kind::Menu};
    std::vector<MenuItem> items;
    bool hasChoice = false;
    UINT choice = 0;
    {
        std::lock_guard<std::mutex> lock(Prompts().mutex);
        auto it = Prompts().menus.find(hMenu);
        if (it == Prompts().menus.end()) {
            ::SetLastError(ERROR_INVALID_MENU_HANDLE);
            return FALSE;
        }
        items = it->second;
        if (!Prompts().menuChoices.empty()) {
            choice = Prompts().menuChoices.front();
            Prompts().menuChoices.pop_front();
            hasChoice = true;
        }
    }
    for (const MenuItem& item : items) {
        if ((item.flags & MF_SEPARATOR) != 0)
            event.items.push_back("-");
        else
            event.items.push_back(std::to_string(item.id) + " " + item.text +
                                  ((item.flags & (MF_GRAYED | MF_DISABLED)) != 0 ? " (grayed)" : ""));
    }
    event.value = choice;
    event.data = static_cast<std::uint64_t>(uFlags) |
                 (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32);
    (void)y;
    detail::RecordEvent(event);
    if (!hasChoice) {
        detail::Fail("popup menu shown with no choice queued");
        return FALSE;
    }
    if (choice == 0)
        return FALSE;
    bool valid = false;
    for (const MenuItem& item : items)
        valid = valid || ((item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) == 0 && item.id == choice);
    if (!valid) {
        detail::Fail("popup menu has no enabled entry " + std::to_string(choice));
        return FALSE;
    }
    if ((uFlags & TPM_RETURNCMD) != 0)
        return static_cast<BOOL>(choice);
    // The choice reaches the owner as a command after the menu has closed.
    ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(choice, 0), 0);
    return TRUE;
}
} // namespace
