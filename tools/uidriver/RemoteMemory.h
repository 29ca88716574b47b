// uidriver: reading controls of another process whose messages carry pointers. Such messages are not
// marshalled between processes, so the structure and the text buffer they point to are made inside the
// control's own process, and read back from there.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace uidriver {

// A block of memory in the process that owns a window, released with the object.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, SIZE_T size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return address_ != nullptr; }
    // The address as the owning process sees it, to pass in a message's parameter.
    LPARAM Address(SIZE_T offset = 0) const;
    bool Write(SIZE_T offset, const void* data, SIZE_T size);
    bool Read(SIZE_T offset, void* data, SIZE_T size) const;

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    SIZE_T size_ = 0;
};

// The rows of a report-view list: one entry per row, each the texts of its columns from the first.
// False when the list's process cannot be read.
bool ReadListRows(HWND list, std::vector<std::vector<std::wstring>>* rows);

// A rectangle that a control writes through the pointer in lParam (TBM_GETTHUMBRECT, TBM_GETCHANNELRECT).
bool ReadControlRect(HWND control, UINT message, RECT* rect);

} // namespace uidriver
