// CTabCtrl: the row of tabs of a property sheet.
#pragma once
#include "fw/Wnd.h"

class CTabCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETITEMCOUNT, 0, 0)); }
    int GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETCURSEL, 0, 0)); }
    int SetCurSel(int nItem) {
        return static_cast<int>(::SendMessageA(m_hWnd, TCM_SETCURSEL, static_cast<WPARAM>(nItem), 0));
    }
    int GetRowCount() const { return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETROWCOUNT, 0, 0)); }
    BOOL GetItem(int nItem, TCITEMA* pTabCtrlItem) const {
        return static_cast<BOOL>(::SendMessageA(m_hWnd, TCM_GETITEMA, static_cast<WPARAM>(nItem),
                                                reinterpret_cast<LPARAM>(pTabCtrlItem)));
    }
    // The tab's text ("" for a tab that does not exist).
    CString GetItemText(int nItem) const;
};
