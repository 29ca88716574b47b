#include "fw/String.h"
#include "fw/WinApp.h"

BOOL CString::LoadString(UINT id) {
    // A string-table entry holds at most 4096 characters.
    char buffer[4097];
    int length = ::LoadStringA(AfxGetResourceHandle(), id, buffer, static_cast<int>(sizeof buffer));
    if (length <= 0)
        return FALSE;
    m_text.assign(buffer, static_cast<size_t>(length));
    Fit();
    return TRUE;
}
