#include "WindowTable.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "Events.h"
#include "MessageQueue.h"

namespace hostui::detail {
namespace {

struct Hook {
    HHOOK handle;
    HOOKPROC proc;
    DWORD threadId;
};

std::vector<Hook>& Hooks() {
    static auto* hooks = new std::vector<Hook>;
    return *hooks;
}

std::map<std::string, WindowClass>& Classes() {
    static auto* classes = new std::map<std::string, WindowClass>;
    return *classes;
}

const char* const kBuiltinClasses[] = {"#32770",
                                       "button",
                                       "edit",
                                       "static",
                                       "combobox",
                                       "syslistview32",
                                       "msctls_trackbar32",
                                       "msctls_progress32",
                                       "systabcontrol32"};

// The hook this thread installed for window creation, if any (copied out so it is called unlocked).
HOOKPROC CreationHook() {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    DWORD self = ::GetCurrentThreadId();
    for (auto it = Hooks().rbegin(); it != Hooks().rend(); ++it) {
        if (it->threadId == self)
            return it->proc;
    }
    return nullptr;
}

} // namespace

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::recursive_mutex& TableMutex() {
    static auto* mutex = new std::recursive_mutex;
    return *mutex;
}

std::map<HWND, std::unique_ptr<Window>>& AllWindows() {
    static auto* windows = new std::map<HWND, std::unique_ptr<Window>>;
    return *windows;
}

Window* FindWindowRecord(HWND hwnd) {
    auto& windows = AllWindows();
    auto it = windows.find(hwnd);
    return it != windows.end() ? it->second.get() : nullptr;
}

bool SnapshotWindow(HWND hwnd, Window* out) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    Window* w = FindWindowRecord(hwnd);
    if (w == nullptr)
        return false;
    *out = *w;
    return true;
}

const WindowClass* FindClass(const std::string& name) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    auto it = Classes().find(Lower(name));
    return it != Classes().end() ? &it->second : nullptr;
}

void AddClass(WindowClass windowClass) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    std::string key = Lower(windowClass.name);
    Classes()[key] = std::move(windowClass);
}

void RemoveProgramClasses() {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    for (auto it = Classes().begin(); it != Classes().end();) {
        bool builtin = std::find(std::begin(kBuiltinClasses), std::end(kBuiltinClasses), it->first) !=
                       std::end(kBuiltinClasses);
        it = builtin ? std::next(it) : Classes().erase(it);
    }
    Hooks().clear();
}

void RegisterBuiltinClasses() {
    static const bool registered = [] {
        AddClass({"#32770", &DialogClassProc, nullptr, nullptr, nullptr});
        AddClass({"Button", &ButtonProc, nullptr, nullptr, &MakeButtonState});
        AddClass({"Edit", &EditProc, nullptr, nullptr, &MakeEditState});
        AddClass({"Static", &StaticProc, nullptr, nullptr, &MakeButtonState});
        AddClass({"ComboBox", &ComboBoxProc, nullptr, nullptr, &MakeComboState});
        AddClass({"SysListView32", &ListViewProc, nullptr, nullptr, &MakeListViewState});
        AddClass({"msctls_trackbar32", &TrackbarProc, nullptr, nullptr, &MakeTrackbarState});
        AddClass({"msctls_progress32", &ProgressProc, nullptr, nullptr, &MakeProgressState});
        AddClass({"SysTabControl32", &TabProc, nullptr, nullptr, &MakeTabState});
        return true;
    }();
    (void)registered;
}

HWND CreateWindowRecord(DWORD exStyle, const std::string& className, const std::string& text, DWORD style,
                        int x, int y, int cx, int cy, HWND parent, HMENU menu, HINSTANCE instance,
                        LPVOID param, WNDPROC procOverride, std::shared_ptr<ControlState> stateOverride) {
    RegisterBuiltinClasses();
    const WindowClass* windowClass = FindClass(className);
    if (windowClass == nullptr) {
        ::SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        Fail("no window class \"" + className + "\"");
        return nullptr;
    }
    if ((style & WS_CHILD) != 0 && !::IsWindow(parent)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    static ULONG_PTR s_nextHandle = 0x10000;
    auto window = std::make_unique<Window>();
    HWND hwnd;
    {
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        s_nextHandle += 4;
        hwnd = reinterpret_cast<HWND>(s_nextHandle);
        window->handle = hwnd;
        window->className = windowClass->name;
        window->text = text;
        window->style = style;
        window->exStyle = exStyle;
        window->id = (style & WS_CHILD) != 0 ? static_cast<int>(reinterpret_cast<UINT_PTR>(menu)) : 0;
        window->parent = parent;
        window->threadId = ::GetCurrentThreadId();
        window->proc = procOverride != nullptr ? procOverride : windowClass->proc;
        window->instance = instance;
        window->rect = RECT{x == CW_USEDEFAULT ? 0 : x, y == CW_USEDEFAULT ? 0 : y,
                            (x == CW_USEDEFAULT ? 0 : x) + (cx == CW_USEDEFAULT ? 0 : cx),
                            (y == CW_USEDEFAULT ? 0 : y) + (cy == CW_USEDEFAULT ? 0 : cy)};
        window->state = stateOverride
                            ? stateOverride
                            : (windowClass->makeState != nullptr ? windowClass->makeState() : nullptr);
        AllWindows()[hwnd] = std::move(window);
        if (Window* parentRecord = FindWindowRecord(parent);
            parentRecord != nullptr && (style & WS_CHILD) != 0)
            parentRecord->children.push_back(hwnd);
    }
    CREATESTRUCTA cs{param,        instance,          menu,   parent, cy, cx, y, x, static_cast<LONG>(style),
                     text.c_str(), className.c_str(), exStyle};
    if (HOOKPROC hook = CreationHook()) {
        CBT_CREATEWNDA cbt{&cs, nullptr};
        if (hook(HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&cbt)) != 0) {
            ::DestroyWindow(hwnd);
            return nullptr;
        }
    }
    if (!::SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
        ::SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        ::DestroyWindow(hwnd);
        return nullptr;
    }
    if ((style & (WS_VISIBLE | WS_CHILD)) == WS_VISIBLE)
        ::SetActiveWindow(hwnd);
    return hwnd;
}

void NotifyParent(HWND control, UINT code) {
    Window copy;
    if (!SnapshotWindow(control, &copy) || copy.parent == nullptr)
        return;
    ::SendMessageA(copy.parent, WM_COMMAND, MAKEWPARAM(copy.id, code), reinterpret_cast<LPARAM>(control));
}

LRESULT NotifyParentHeader(HWND control, NMHDR* header, UINT code) {
    Window copy;
    if (!SnapshotWindow(control, &copy) || copy.parent == nullptr)
        return 0;
    header->hwndFrom = control;
    header->idFrom = static_cast<UINT_PTR>(copy.id);
    header->code = code;
    return ::SendMessageA(copy.parent, WM_NOTIFY, static_cast<WPARAM>(copy.id),
                          reinterpret_cast<LPARAM>(header));
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "hostui: %s\n", what.c_str());
    UiEvent event{UiEvent::Kind::Failure};
    event.text = what;
    RecordEvent(std::move(event));
}

} // namespace hostui::detail

using namespace hostui::detail;

HHOOK WINAPI SetWindowsHookExA(int idHook, HOOKPROC lpfn, HINSTANCE, DWORD dwThreadId) {
    if (idHook != WH_CBT || lpfn == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    static ULONG_PTR s_nextHook = 0x30000;
    s_nextHook += 4;
    HHOOK handle = reinterpret_cast<HHOOK>(s_nextHook);
    Hooks().push_back(Hook{handle, lpfn, dwThreadId != 0 ? dwThreadId : ::GetCurrentThreadId()});
    return handle;
}

BOOL WINAPI UnhookWindowsHookEx(HHOOK hhk) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    auto& hooks = Hooks();
    auto it = std::find_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.handle == hhk; });
    if (it == hooks.end())
        return FALSE;
    hooks.erase(it);
    return TRUE;
}

LRESULT WINAPI CallNextHookEx(HHOOK, int, WPARAM, LPARAM) {
    return 0;
}
