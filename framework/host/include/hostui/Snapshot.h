// Reading the headless windows: find a window, and take a snapshot of a control's state. Callable from any
// thread.
#pragma once
#include <string>
#include <vector>

#include <win32api.h>

namespace hostui {

struct ListColumnSnapshot {
    std::string text;
    int width = 0;
    int format = 0; // LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER
};

struct ControlSnapshot {
    bool exists = false;
    std::string className;
    std::string text;
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};      // as stored: position in the parent and size, in pixels
    std::string font; // the font set with WM_SETFONT (hostui's DescribeFont), empty for none
    bool enabled = false;
    bool visible = false;
    int checked = 0;                               // buttons
    std::vector<std::string> items;                // combo box and tab entries, list view column 0
    int selection = -1;                            // combo box, tab; first selected list row
    std::vector<std::string> columns;              // list view headers
    std::vector<ListColumnSnapshot> columnDetails; // list view columns: header, width, alignment
    DWORD extendedStyle = 0;                       // list view extended style
    std::vector<std::vector<std::string>> rows;    // list view rows, all sub-items
    int rangeMin = 0;                              // slider, progress bar
    int rangeMax = 0;
    int pos = 0;
    int lineSize = 0; // slider
    int pageSize = 0;
    int ticFrequency = 0;
    int limit = 0;    // edit text limit
    int rowCount = 0; // tab rows
};

// The newest top-level window with this title (and class, when given), or NULL.
HWND FindTopWindow(const std::string& title, const std::string& className = "");
HWND FindControl(HWND dialog, int id);
ControlSnapshot ReadControl(HWND control);
ControlSnapshot ReadControl(HWND dialog, int id);
// The page window a property sheet shows now, or NULL.
HWND CurrentSheetPage(HWND sheet);
// The texts of the tabs of a property sheet.
std::vector<std::string> SheetTabs(HWND sheet);
// The window's children in z order (creation order), controls without an id included.
std::vector<HWND> ChildWindows(HWND parent);
// Timers of a window: (id, period) pairs.
std::vector<std::pair<UINT_PTR, UINT>> WindowTimers(HWND hwnd);
// The number of windows that exist (all threads), for leak checks.
size_t WindowCount();
// The GDI objects the program made and has not deleted (brushes, fonts; stock objects do not count) and its
// device contexts not yet released, for leak checks.
size_t GdiObjectCount();

} // namespace hostui
