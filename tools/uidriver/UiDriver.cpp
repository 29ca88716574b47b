// uidriver: drives the utility's windows from another process, for end-to-end tests and the headless run.
// It finds windows by title and class, reads their texts and controls, switches the sheet's pages and
// presses buttons with messages, and works the tray icon through the shell's own icon window, the way a
// mouse click on it would. Every wait is bounded. Exit status: 0 done, 1 failed or timed out, 2 usage.
#include "UiDriver.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cstdlib>

namespace uidriver {

namespace {

// A plain function rather than a lambda: on 32-bit Windows the callback must be stdcall.
BOOL CALLBACK CollectChild(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

} // namespace

std::wstring Widen(const std::string& text) {
    if (text.empty())
        return L"";
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty())
        return "";
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length,
                        nullptr, nullptr);
    return narrow;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[128] = L"";
    GetClassNameW(hwnd, name, 128);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 2000, &copied))
        return L"";
    text.resize(copied);
    return text;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND FindControl(HWND parent, int id) {
    HWND hidden = nullptr;
    for (HWND child : Children(parent)) {
        if (GetDlgCtrlID(child) != id)
            continue;
        if (IsWindowVisible(child))
            return child;
        if (hidden == nullptr)
            hidden = child;
    }
    return hidden;
}

// The window's surfaces reach the X server when its thread next waits for messages, hence the messages
// after the redraw.
void PaintNow(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    ::Sleep(150);
    SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
}

std::string Handle(HWND hwnd) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return text;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "uidriver: %s\n", message.c_str());
    return 1;
}

namespace {

const char kUsage[] =
    "usage: uidriver COMMAND [ARGS] [--class CLASS] [--timeout MS]\n"
    "  wait-window TITLE            wait until a visible top-level window TITLE exists; print its handle\n"
    "  wait-gone TITLE              wait until no visible top-level window TITLE is left\n"
    "  rect TITLE                   print the window's screen rectangle: X Y WIDTH HEIGHT\n"
    "  controls TITLE               list the child controls: id, class, visible, enabled, text\n"
    "  pages TITLE                  list the sheet's pages by their titles, selecting each in turn, then\n"
    "                               the first\n"
    "  select-page TITLE N          make page N (from 0) the sheet's current page and let it paint\n"
    "  wait-text TITLE ID TEXT      wait until control ID's text begins with TEXT\n"
    "  wait-change TITLE ID TEXT    wait until control ID's text is no longer TEXT; print the new text\n"
    "  wait-state TITLE ID STATE    wait until control ID is enabled, disabled, visible, hidden, checked\n"
    "                               or unchecked\n"
    "  text TITLE ID                print control ID's text (a drop-down list: its selected entry)\n"
    "  check TITLE ID               print the button's check state: checked, unchecked or indeterminate\n"
    "  click TITLE ID               press the button with control id ID (BM_CLICK)\n"
    "  set-text TITLE ID TEXT       put TEXT into an edit or combo box and notify its parent as typing\n"
    "                               would (EN_UPDATE/EN_CHANGE, CBN_EDITUPDATE/CBN_EDITCHANGE)\n"
    "  select-item TITLE ID ITEM    pick the combo box entry whose text is ITEM, else the entry at\n"
    "                               position ITEM (from 0); the parent gets CBN_SELCHANGE\n"
    "  slider TITLE ID POS          drag the trackbar's thumb with the mouse to position POS; print where\n"
    "                               it came to rest\n"
    "  list-rows TITLE ID [N]       print the rows of a report list, columns separated by tabs; with N,\n"
    "                               first wait until the list holds exactly N rows\n"
    "  close TITLE                  ask the window to close (WM_CLOSE)\n"
    "  wait-tray-icon               wait until the shell's tray shows an icon; print its handle\n"
    "  tray-icon-gone               wait until the shell's tray shows no icon\n"
    "  tray-click double|right      double-click or right-click the first tray icon\n"
    "  menu-choose-last             wait for a popup menu and choose its last entry\n"
    "  wait-destroyed TITLE         wait until no top-level window TITLE exists, shown or hidden\n"
    "  counts TITLE                 print the kernel handles, GDI objects and USER objects of the process\n"
    "                               that owns top-level window TITLE (shown or hidden), then where each\n"
    "                               count came from\n"
    "  windows TITLE                list the top-level windows of that process, shown or hidden: handle,\n"
    "                               class, visible or hidden, title, how many windows below it\n"
    "  responds TITLE               wait (--timeout) for the window to answer a message; print the ms\n"
    "  notify-device TITLE arrival|removal ID\n"
    "                               send the window DBT_DEVNODES_CHANGED, then the arrival or removal of\n"
    "                               the device node whose identifier is ID, as Windows does\n"
    "  notify-power TITLE sleep|wake\n"
    "                               send the window the power notices of a suspend (query-suspend, then\n"
    "                               suspend) or of the resume from it (resume-suspend)\n"
    "  --class CLASS                only windows of this class (wait-window, wait-gone, the window\n"
    "                               commands and the program commands)\n"
    "  --timeout MS                 longest wait (default 20000)\n";

// The shell's notification area in Wine's stand-alone tray window, and one icon in it.
const wchar_t kTrayClass[] = L"__winex11_standalone_tray";
const wchar_t kTrayIconClass[] = L"__winex11_tray_icon";
const wchar_t kMenuClass[] = L"#32768";

// A visible top-level window of this title (any title when null) and class (any class when empty).
HWND FindVisibleTopLevel(const wchar_t* title, const std::wstring& windowClass) {
    HWND hwnd = nullptr;
    while ((hwnd = FindWindowExW(nullptr, hwnd, windowClass.empty() ? nullptr : windowClass.c_str(),
                                 title)) != nullptr) {
        if (IsWindowVisible(hwnd))
            return hwnd;
    }
    return nullptr;
}

HWND WaitForWindow(const std::wstring& title, const Options& options) {
    return WaitFor<HWND>(options.timeoutMs,
                         [&] { return FindVisibleTopLevel(title.c_str(), options.windowClass); });
}

HWND FirstTrayIcon() {
    HWND tray = FindWindowW(kTrayClass, nullptr);
    if (tray == nullptr)
        return nullptr;
    for (HWND child : Children(tray))
        if (ClassOf(child) == kTrayIconClass && IsWindowVisible(child))
            return child;
    return nullptr;
}

// The current page of a sheet, once it is the page wanted and shown.
HWND WaitForCurrentPage(HWND sheet, int index, DWORD timeoutMs) {
    return WaitFor<HWND>(timeoutMs, [&]() -> HWND {
        HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
        HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        if (tab == nullptr || page == nullptr || SendMessageW(tab, TCM_GETCURSEL, 0, 0) != index)
            return nullptr;
        return IsWindowVisible(page) ? page : nullptr;
    });
}

int SelectPage(HWND sheet, int index, const Options& options, std::wstring* title) {
    PostMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    HWND page = WaitForCurrentPage(sheet, index, options.timeoutMs);
    if (page == nullptr)
        return Fail("page " + std::to_string(index) + " did not become current");
    if (title != nullptr)
        *title = TextOf(page);
    PaintNow(sheet);
    return 0;
}

int RunWindowCommand(const std::string& command, const std::vector<std::string>& args,
                     const Options& options) {
    if (args.empty())
        return 2;
    const std::wstring title = Widen(args[0]);
    HWND hwnd = WaitForWindow(title, options);
    if (hwnd == nullptr)
        return Fail("no visible window \"" + args[0] + "\"");

    if (command == "wait-window") {
        std::printf("%s\n", Handle(hwnd).c_str());
        return 0;
    }
    if (command == "rect") {
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        PaintNow(hwnd);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        return 0;
    }
    if (command == "controls") {
        for (HWND child : Children(hwnd)) {
            std::printf("%d %s %s %s \"%s\"\n", GetDlgCtrlID(child), Narrow(ClassOf(child)).c_str(),
                        IsWindowVisible(child) ? "visible" : "hidden",
                        IsWindowEnabled(child) ? "enabled" : "disabled", Narrow(TextOf(child)).c_str());
        }
        return 0;
    }
    if (command == "pages") {
        HWND tab = reinterpret_cast<HWND>(SendMessageW(hwnd, PSM_GETTABCONTROL, 0, 0));
        if (tab == nullptr)
            return Fail("\"" + args[0] + "\" is not a property sheet");
        const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring pageTitle;
            if (SelectPage(hwnd, i, options, &pageTitle) != 0)
                return 1;
            std::printf("%d \"%s\"\n", i, Narrow(pageTitle).c_str());
        }
        return count > 0 ? SelectPage(hwnd, 0, options, nullptr) : 0;
    }
    if (command == "select-page" && args.size() == 2)
        return SelectPage(hwnd, std::atoi(args[1].c_str()), options, nullptr);
    if (command == "wait-text" && args.size() == 3) {
        HWND control = FindControl(hwnd, std::atoi(args[1].c_str()));
        if (control == nullptr)
            return Fail("no control " + args[1] + " in \"" + args[0] + "\"");
        const std::wstring prefix = Widen(args[2]);
        bool shown = WaitFor<bool>(options.timeoutMs,
                                   [&] { return TextOf(control).compare(0, prefix.size(), prefix) == 0; });
        if (!shown)
            return Fail("control " + args[1] + " shows \"" + Narrow(TextOf(control)) + "\"");
        PaintNow(hwnd);
        return 0;
    }
    if (command == "click" && args.size() == 2) {
        HWND button = FindControl(hwnd, std::atoi(args[1].c_str()));
        if (button == nullptr)
            return Fail("no control " + args[1] + " in \"" + args[0] + "\"");
        // Posted: the button's action may open a modal window of its own.
        PostMessageW(button, BM_CLICK, 0, 0);
        return 0;
    }
    if (command == "close") {
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    }
    return RunControlCommand(hwnd, command, args, options);
}

int Run(const std::string& command, const std::vector<std::string>& args, const Options& options) {
    if (command == "wait-gone" && args.size() == 1) {
        const std::wstring title = Widen(args[0]);
        bool gone = WaitFor<bool>(options.timeoutMs, [&] {
            return FindVisibleTopLevel(title.c_str(), options.windowClass) == nullptr;
        });
        return gone ? 0 : Fail("\"" + args[0] + "\" is still there");
    }
    if (command == "wait-tray-icon") {
        HWND icon = WaitFor<HWND>(options.timeoutMs, FirstTrayIcon);
        if (icon == nullptr)
            return Fail("no icon in the tray");
        std::printf("%s\n", Handle(icon).c_str());
        return 0;
    }
    if (command == "tray-icon-gone") {
        bool gone = WaitFor<bool>(options.timeoutMs, [] { return FirstTrayIcon() == nullptr; });
        return gone ? 0 : Fail("the tray still shows an icon");
    }
    if (command == "tray-click" && args.size() == 1) {
        HWND icon = WaitFor<HWND>(options.timeoutMs, FirstTrayIcon);
        if (icon == nullptr)
            return Fail("no icon in the tray");
        // The icon window hands mouse messages to the icon's owner as its callback message.
        const LPARAM centre = MAKELPARAM(8, 8);
        if (args[0] == "double") {
            PostMessageW(icon, WM_LBUTTONDOWN, MK_LBUTTON, centre);
            PostMessageW(icon, WM_LBUTTONUP, 0, centre);
            PostMessageW(icon, WM_LBUTTONDBLCLK, MK_LBUTTON, centre);
            PostMessageW(icon, WM_LBUTTONUP, 0, centre);
            return 0;
        }
        if (args[0] == "right") {
            PostMessageW(icon, WM_RBUTTONDOWN, MK_RBUTTON, centre);
            PostMessageW(icon, WM_RBUTTONUP, 0, centre);
            return 0;
        }
        return 2;
    }
    if (command == "menu-choose-last") {
        HWND menu = WaitFor<HWND>(options.timeoutMs, [] { return FindVisibleTopLevel(nullptr, kMenuClass); });
        if (menu == nullptr)
            return Fail("no popup menu");
        // The menu's loop reads keys from its thread's queue: Up from no selection goes to the last entry,
        // Enter chooses it.
        PostMessageW(menu, WM_KEYDOWN, VK_UP, 1);
        PostMessageW(menu, WM_KEYUP, VK_UP, 0xC0000001);
        PostMessageW(menu, WM_CHAR, '\r', 1);
        bool closed = WaitFor<bool>(options.timeoutMs, [menu] { return !IsWindowVisible(menu); });
        return closed ? 0 : Fail("the popup menu stayed open");
    }
    if (IsProgramCommand(command))
        return RunProgramCommand(command, args, options);
    return RunWindowCommand(command, args, options);
}

} // namespace

} // namespace uidriver

int main(int argc, char** argv) {
    using namespace uidriver;
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    Options options;
    std::vector<std::string> args;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--class" || arg == "--timeout") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (arg == "--class")
                options.windowClass = Widen(value);
            else
                options.timeoutMs = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 10));
        } else {
            args.push_back(arg);
        }
    }
    const int status = Run(argv[1], args, options);
    if (status == 2)
        std::fputs(kUsage, stderr);
    std::fflush(stdout);
    return status;
}
