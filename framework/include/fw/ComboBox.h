// CComboBox: drop-down lists, and combo boxes with an edit field.
#pragma once
#include "fw/Wnd.h"

class CComboBox : public CWnd {
public:
    int GetCount() const { return Send(CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return Send(CB_GETCURSEL, 0, 0); }
    int SetCurSel(int nSelect) { return Send(CB_SETCURSEL, static_cast<WPARAM>(nSelect), 0); }
    int AddString(LPCTSTR lpszString) { return Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)); }
    int InsertString(int nIndex, LPCTSTR lpszString) {
        return Send(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszString));
    }
    int DeleteString(UINT nIndex) { return Send(CB_DELETESTRING, nIndex, 0); }
    void ResetContent() { Send(CB_RESETCONTENT, 0, 0); }
    int FindString(int nStartAfter, LPCTSTR lpszString) const {
        return Send(CB_FINDSTRING, static_cast<WPARAM>(nStartAfter), reinterpret_cast<LPARAM>(lpszString));
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
        return Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), reinterpret_cast<LPARAM>(lpszFind));
    }
    int SelectString(int nStartAfter, LPCTSTR lpszString) {
        return Send(CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), reinterpret_cast<LPARAM>(lpszString));
    }
    int GetLBTextLen(int nIndex) const { return Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0); }
    int GetLBText(int nIndex, LPTSTR lpszText) const {
        return Send(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszText));
    }
    void GetLBText(int nIndex, CString& rString) const;
    DWORD_PTR GetItemData(int nIndex) const {
        return static_cast<DWORD_PTR>(::SendMessageA(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0));
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) {
        return Send(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData));
    }
    BOOL LimitText(int nMaxChars) { return Send(CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars), 0); }
    DWORD GetEditSel() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, CB_GETEDITSEL, 0, 0)); }
    BOOL SetEditSel(int nStartChar, int nEndChar) {
        return Send(CB_SETEDITSEL, 0, MAKELPARAM(nStartChar, nEndChar));
    }
    void ShowDropDown(BOOL bShowIt = TRUE) { Send(CB_SHOWDROPDOWN, static_cast<WPARAM>(bShowIt), 0); }

private:
    int Send(UINT message, WPARAM wParam, LPARAM lParam) const {
        return static_cast<int>(::SendMessageA(m_hWnd, message, wParam, lParam));
    }
};
