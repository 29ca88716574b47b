// uidriver: what another process holds of the system's objects: its open kernel handles, its GDI objects
// and its USER objects, for checks that the program gives back what it takes.
//
// The system's own counts come first (GetProcessHandleCount, GetGuiResources). Where the system does not
// keep one (Wine answers GetGuiResources with ERROR_CALL_NOT_IMPLEMENTED), the count is made from what
// can be read of the process instead, and says so:
// - handles: the system's list of open handles, those of the process (NtQuerySystemInformation);
// - GDI objects: the live entries of the process's GDI handle table, which the system maps into the
//   process and names in its process environment block (Wine keeps one table per process);
// - USER objects: the windows of the process: top-level, message-only, and every window below them.
//   Menus, icons and cursors are USER objects too, and are not in that count.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace uidriver {

struct ProcessObjects {
    DWORD handles = 0;
    DWORD gdi = 0;
    DWORD user = 0;
    // Where each count came from: the system's own count, or the way it was made instead.
    std::string handlesFrom;
    std::string gdiFrom;
    std::string userFrom;
};

// The top-level windows of the process, shown or hidden, message-only ones too, in the order the system
// lists them.
std::vector<HWND> ProcessTopLevelWindows(DWORD processId);

// Counts the objects of the process. False, with the reason, when the process cannot be read.
bool CountProcessObjects(DWORD processId, ProcessObjects* objects, std::string* error);

} // namespace uidriver
