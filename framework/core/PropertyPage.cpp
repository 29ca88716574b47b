#include "fw/PropertyPage.h"

#include "fw/WinApp.h"

BEGIN_MESSAGE_MAP(CPropertyPage, CDialog)
END_MESSAGE_MAP()

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate) {
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.pszTemplate = MAKEINTRESOURCEA(nIDTemplate);
    m_psp.pfnDlgProc = &CPropertyPage::PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    if (nIDCaption != 0 && m_strCaption.LoadString(nIDCaption))
        m_psp.dwFlags |= PSP_USETITLE;
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    const PROPSHEETPAGEA* record = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    CPropertyPage* page = record != nullptr ? reinterpret_cast<CPropertyPage*>(record->lParam) : nullptr;
    if (page == nullptr)
        return TRUE;
    if (CWnd::FromHandlePermanent(hWnd) == nullptr)
        page->SubclassWindow(hWnd);
    // Each new page window starts with its first activation: OnInitDialog has just pushed the members.
    page->m_bFirstSetActive = TRUE;
    return page->OnInitDialog();
}

LRESULT CPropertyPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CDialog::WindowProc(message, wParam, lParam);
    // A dialog answers a notification through DWLP_MSGRESULT as well as through the message's result.
    if (message == WM_NOTIFY && m_hWnd != nullptr)
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return result;
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom != ::GetParent(m_hWnd))
        return CDialog::OnNotify(wParam, lParam, pResult);
    switch (header->code) {
    case PSN_SETACTIVE:
        *pResult = OnSetActive() ? 0 : -1;
        return TRUE;
    case PSN_KILLACTIVE:
        *pResult = OnKillActive() ? FALSE : TRUE;
        return TRUE;
    case PSN_APPLY:
        *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return TRUE;
    case PSN_RESET:
        OnReset();
        *pResult = 0;
        return TRUE;
    case PSN_QUERYCANCEL:
        *pResult = OnQueryCancel() ? FALSE : TRUE;
        return TRUE;
    case PSN_HELP:
        // The help request goes to the sheet as the framework's help command.
        ::SendMessageA(header->hwndFrom, WM_COMMAND, ID_HELP, 0);
        *pResult = 0;
        return TRUE;
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
}

BOOL CPropertyPage::OnSetActive() {
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() {
    OnCancel();
}
BOOL CPropertyPage::OnQueryCancel() {
    return TRUE;
}
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

void CPropertyPage::SetModified(BOOL bChanged) {
    HWND sheet = ::GetParent(m_hWnd);
    if (sheet != nullptr)
        ::SendMessageA(sheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CPropertyPage::CancelToClose() {
    HWND sheet = ::GetParent(m_hWnd);
    if (sheet != nullptr)
        ::SendMessageA(sheet, PSM_CANCELTOCLOSE, 0, 0);
}
