// Recording for hostui/WindowTrace.h.
#pragma once
#include <string>

#include <win32api.h>

namespace hostui::detail {

// True while a sink is set: callers build their text only then.
bool WindowTraceOn();
void TraceWindow(const std::string& text);
// A window as the trace names it: `0x10040 "Link Info"` (top-level: its title) or `0x10058 Button 1015`
// (a child: its class and id, or its text when it has no id, as a property page); `NULL` for none and `0x...
// (no window)` for a handle that names none.
std::string DescribeWindow(HWND hwnd);
std::string HexValue(unsigned long long value);

} // namespace hostui::detail
