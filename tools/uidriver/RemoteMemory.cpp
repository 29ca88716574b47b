#include "RemoteMemory.h"

#include <commctrl.h>

namespace uidriver {

namespace {

const int kColumnTextChars = 512;
const DWORD kMessageTimeoutMs = 2000;

} // namespace

RemoteBuffer::RemoteBuffer(HWND owner, SIZE_T size) : size_(size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(owner, &processId);
    if (processId == 0)
        return;
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_ == nullptr)
        return;
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
    if (address_ != nullptr)
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr)
        CloseHandle(process_);
}

LPARAM RemoteBuffer::Address(SIZE_T offset) const {
    return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset);
}

bool RemoteBuffer::Write(SIZE_T offset, const void* data, SIZE_T size) {
    SIZE_T written = 0;
    return Valid() && offset + size <= size_ &&
           WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &written) &&
           written == size;
}

bool RemoteBuffer::Read(SIZE_T offset, void* data, SIZE_T size) const {
    SIZE_T read = 0;
    return Valid() && offset + size <= size_ &&
           ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &read) &&
           read == size;
}

// Every cell goes through one LVITEMW at the start of the buffer, whose pszText points just behind it.
bool ReadListRows(HWND list, std::vector<std::vector<std::wstring>>* rows) {
    rows->clear();
    DWORD_PTR count = 0;
    DWORD_PTR columns = 0;
    DWORD_PTR header = 0;
    if (!SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &count) ||
        !SendMessageTimeoutW(list, LVM_GETHEADER, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &header) ||
        header == 0 ||
        !SendMessageTimeoutW(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &columns))
        return false;
    if (count == 0)
        return true;

    const SIZE_T textOffset = sizeof(LVITEMW);
    RemoteBuffer buffer(list, textOffset + kColumnTextChars * sizeof(wchar_t));
    if (!buffer.Valid())
        return false;
    for (int row = 0; row < static_cast<int>(count); ++row) {
        std::vector<std::wstring> cells;
        for (int column = 0; column < static_cast<int>(columns); ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = reinterpret_cast<LPWSTR>(buffer.Address(textOffset));
            item.cchTextMax = kColumnTextChars;
            DWORD_PTR length = 0;
            wchar_t text[kColumnTextChars] = L"";
            if (!buffer.Write(0, &item, sizeof item) ||
                !SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), buffer.Address(),
                                     SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length) ||
                length >= kColumnTextChars || !buffer.Read(textOffset, text, (length + 1) * sizeof(wchar_t)))
                return false;
            cells.emplace_back(text, length);
        }
        rows->push_back(cells);
    }
    return true;
}

bool ReadControlRect(HWND control, UINT message, RECT* rect) {
    RemoteBuffer buffer(control, sizeof(RECT));
    DWORD_PTR ignored = 0;
    const RECT empty{};
    return buffer.Write(0, &empty, sizeof empty) &&
           SendMessageTimeoutW(control, message, 0, buffer.Address(), SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                               &ignored) &&
           buffer.Read(0, rect, sizeof *rect);
}

} // namespace uidriver
