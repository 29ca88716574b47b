#include "fw/PropertySheet.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "core/Backend.h"
#include "fw/WinApp.h"

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) {
    m_strCaption.LoadString(nIDCaption);
    CommonConstruct(pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption) {
    CommonConstruct(pParentWnd, iSelectPage);
}

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage) {
    m_pParentWnd = pParentWnd;
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    if (pPage == nullptr || GetPageIndex(pPage) >= 0)
        return;
    m_pages.push_back(pPage);
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) {
    int index = GetPageIndex(pPage);
    if (index < 0)
        return;
    if (m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, PSM_REMOVEPAGE, static_cast<WPARAM>(index), 0);
    m_pages.erase(m_pages.begin() + index);
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* pPage) const {
    auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it != m_pages.end() ? static_cast<int>(it - m_pages.begin()) : -1;
}

int CPropertySheet::GetActiveIndex() const {
    if (m_hWnd == nullptr)
        return static_cast<int>(m_psh.nStartPage);
    HWND current = PropSheet_GetCurrentPageHwnd(m_hWnd);
    for (int i = 0; i < GetPageCount(); ++i) {
        if (current != nullptr && m_pages[static_cast<size_t>(i)]->m_hWnd == current)
            return i;
    }
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    return GetPage(GetActiveIndex());
}

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (m_hWnd == nullptr) {
        m_psh.nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    return static_cast<BOOL>(PropSheet_SetCurSel(m_hWnd, nullptr, nPage));
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) {
    return SetActivePage(GetPageIndex(pPage));
}

CTabCtrl* CPropertySheet::GetTabControl() const {
    HWND tab = m_hWnd != nullptr ? PropSheet_GetTabControl(m_hWnd) : nullptr;
    return static_cast<CTabCtrl*>(tab != nullptr ? FromHandle(tab) : AfxGetNoWindow());
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT nStyle) {
    m_strCaption = lpszText;
    if (m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, PSM_SETTITLEA, nStyle, reinterpret_cast<LPARAM>(lpszText));
}

void CPropertySheet::PressButton(int nButton) {
    if (m_hWnd != nullptr)
        ::PostMessageA(m_hWnd, PSM_PRESSBUTTON, static_cast<WPARAM>(nButton), 0);
}

void CPropertySheet::EndDialog(int nEndID) {
    m_nLastButton = static_cast<UINT>(nEndID);
    if (m_bModal)
        EndModalLoop(nEndID);
    else
        DestroyWindow();
}

INT_PTR CPropertySheet::DoModal() {
    if (m_hWnd != nullptr) {
        fw::GetBackend().ReportFailure("the property sheet is already shown");
        return -1;
    }
    ::InitCommonControls();
    HINSTANCE module = AfxGetResourceHandle();
    // The records go to the common controls in their first version (the fields up to pcRefParent and
    // pfnCallback), the only one that Windows 95's and NT 4's first common controls accept. The control walks
    // the page records by their dwSize, so they lie packed at that size.
    const DWORD pageSize = static_cast<DWORD>(offsetof(PROPSHEETPAGEA, pcRefParent) + sizeof(UINT*));
    m_pageRecords.assign(m_pages.size() * pageSize, 0);
    BYTE* next = m_pageRecords.data();
    for (CPropertyPage* page : m_pages) {
        PROPSHEETPAGEA record = page->m_psp;
        record.dwSize = pageSize;
        record.hInstance = module;
        record.pfnDlgProc = &CPropertyPage::PageProc;
        record.lParam = reinterpret_cast<LPARAM>(page);
        if (!page->GetCaption().IsEmpty()) {
            record.dwFlags |= PSP_USETITLE;
            record.pszTitle = page->GetCaption();
        }
        std::memcpy(next, &record, pageSize);
        next += pageSize;
    }
    HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    PROPSHEETHEADERA header = m_psh;
    header.dwSize =
        static_cast<DWORD>(offsetof(PROPSHEETHEADERA, pfnCallback) + sizeof(PFNPROPSHEETCALLBACK));
    header.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS;
    header.hwndParent = parent;
    header.hInstance = module;
    header.pszCaption = m_strCaption;
    header.nPages = static_cast<UINT>(m_pages.size());
    header.nStartPage = m_pages.empty() ? 0 : std::min<UINT>(m_psh.nStartPage, header.nPages - 1);
    header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(m_pageRecords.data());

    m_nLastButton = IDCANCEL;
    PrepareModalLoop();
    HookWindowCreate();
    INT_PTR created = ::PropertySheetA(&header);
    UnhookWindowCreate();
    if (created == 0 || created == -1 || m_hWnd == nullptr) {
        fw::GetBackend().ReportFailure("the property sheet window cannot be created");
        if (m_hWnd != nullptr)
            DestroyWindow();
        return -1;
    }
    m_bModal = TRUE;
    if (parent != nullptr)
        ::EnableWindow(parent, FALSE);
    int result = RunModalLoop();
    fw::GetBackend().ModalResult(m_hWnd, result);
    if (parent != nullptr)
        ::EnableWindow(parent, TRUE);
    m_bModal = FALSE;
    DestroyWindow();
    return result;
}

BOOL CPropertySheet::ContinueModal() {
    if (!CWnd::ContinueModal())
        return FALSE;
    // The sheet has closed itself (OK or Cancel) when it has no current page any more, or no window.
    if (m_hWnd == nullptr || PropSheet_GetCurrentPageHwnd(m_hWnd) == nullptr) {
        m_nModalResult = static_cast<int>(m_nLastButton);
        return FALSE;
    }
    return TRUE;
}

BOOL CPropertySheet::OnInitDialog() {
    return static_cast<BOOL>(Default());
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            m_nLastButton = LOWORD(wParam);
        break;
    case PSM_PRESSBUTTON:
        if (wParam == PSBTN_OK)
            m_nLastButton = IDOK;
        else if (wParam == PSBTN_CANCEL)
            m_nLastButton = IDCANCEL;
        break;
    case WM_CLOSE:
        m_nLastButton = IDCANCEL;
        break;
    default:
        break;
    }
    LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    // A button pressed by a message sent from outside (not by input through the queue) may have closed the
    // sheet while the modal loop waits for a message: wake it so that it looks.
    bool mayClose = message == WM_COMMAND || message == PSM_PRESSBUTTON || message == WM_CLOSE;
    if (mayClose && m_bModal && m_hWnd != nullptr)
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    return result;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
    return m_hWnd != nullptr && PropSheet_IsDialogMessage(m_hWnd, pMsg);
}

void CPropertySheet::OnHelp() {
    SendMessage(WM_COMMANDHELP, 0, 0);
}

LRESULT CPropertySheet::OnCommandHelp(WPARAM wParam, LPARAM lParam) {
    CPropertyPage* page = GetActivePage();
    if (page == nullptr || page->m_hWnd == nullptr)
        return FALSE;
    return page->SendMessage(WM_COMMANDHELP, wParam, lParam);
}
