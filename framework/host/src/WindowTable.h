// The headless windows: one record per window, kept in one table that every thread may read under its lock.
// A window's procedure is never called with the lock held.
#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <win32api.h>

namespace hostui::detail {

// What a control class keeps beyond the common window record (items, range, check state, ...).
struct ControlState {
    virtual ~ControlState() = default;
};

struct Window {
    HWND handle = nullptr;
    std::string className; // as registered
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    HWND parent = nullptr; // parent of a child, owner of a top-level window
    DWORD threadId = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    LONG_PTR dlgResult = 0;
    DLGPROC dlgProc = nullptr;
    LONG_PTR dlgUser = 0;
    RECT rect{};
    HFONT font = nullptr; // WM_SETFONT
    bool invalid = false;
    bool ended = false;         // EndDialog was called
    std::vector<HWND> children; // in z order (creation order)
    std::shared_ptr<ControlState> state;
};

struct WindowClass {
    std::string name;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    std::shared_ptr<ControlState> (*makeState)() = nullptr;
};

std::recursive_mutex& TableMutex();
// The window, or nullptr; the caller holds TableMutex.
Window* FindWindowRecord(HWND hwnd);
std::map<HWND, std::unique_ptr<Window>>& AllWindows();
const WindowClass* FindClass(const std::string& name);
void AddClass(WindowClass windowClass);
void RemoveProgramClasses();

// State of a control, or nullptr when the window is gone or of another kind.
template <class S> std::shared_ptr<S> StateOf(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    Window* w = FindWindowRecord(hwnd);
    return w != nullptr ? std::dynamic_pointer_cast<S>(w->state) : nullptr;
}

// A copy of a window's record (without children), for reading outside the lock.
bool SnapshotWindow(HWND hwnd, Window* out);

// Creates a window: optional procedure and state override the class's (the property sheet's own window).
HWND CreateWindowRecord(DWORD exStyle, const std::string& className, const std::string& text, DWORD style,
                        int x, int y, int cx, int cy, HWND parent, HMENU menu, HINSTANCE instance,
                        LPVOID param, WNDPROC procOverride = nullptr,
                        std::shared_ptr<ControlState> stateOverride = nullptr);
// Sends a control's notification (WM_COMMAND with the code) to its parent.
void NotifyParent(HWND control, UINT code);
// Sends a WM_NOTIFY with the header filled in to the control's parent; returns the parent's result.
LRESULT NotifyParentHeader(HWND control, NMHDR* header, UINT code);
void RegisterBuiltinClasses();
std::string Lower(std::string text);

// Procedures of the built-in classes.
LRESULT CALLBACK DialogClassProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ListViewProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK TrackbarProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ProgressProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK TabProc(HWND, UINT, WPARAM, LPARAM);
std::shared_ptr<ControlState> MakeButtonState();
std::shared_ptr<ControlState> MakeEditState();
std::shared_ptr<ControlState> MakeComboState();
std::shared_ptr<ControlState> MakeListViewState();
std::shared_ptr<ControlState> MakeTrackbarState();
std::shared_ptr<ControlState> MakeProgressState();
std::shared_ptr<ControlState> MakeTabState();

// A font object as a snapshot shows it: `"MS Shell Dlg" height -11 weight 400 underline`; empty for none.
std::string DescribeFont(HFONT font);

// Records a failure event (and prints it).
void Fail(const std::string& what);

} // namespace hostui::detail
