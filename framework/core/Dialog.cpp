#include "fw/Dialog.h"

#include <string>

#include "core/Backend.h"
#include "fw/WinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    if (dialog == nullptr)
        return TRUE;
    if (CWnd::FromHandlePermanent(hWnd) == nullptr)
        dialog->SubclassWindow(hWnd);
    return dialog->OnInitDialog();
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    ::InitCommonControls();
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate),
                                     pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (hWnd == nullptr) {
        fw::GetBackend().ReportFailure("dialog template " + std::to_string(nIDTemplate) +
                                       " cannot be created");
        return FALSE;
    }
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    // Modal from the start, so that EndDialog in OnInitDialog ends the loop about to run.
    m_bModal = TRUE;
    PrepareModalLoop();
    if (!Create(m_nIDTemplate, m_pParentWnd)) {
        m_bModal = FALSE;
        return -1;
    }
    HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    if (parent != nullptr)
        ::EnableWindow(parent, FALSE);
    ShowWindow(SW_SHOW);
    int result = RunModalLoop();
    if (parent != nullptr)
        ::EnableWindow(parent, TRUE);
    DestroyWindow();
    m_bModal = FALSE;
    return result;
}

void CDialog::EndDialog(int nResult) {
    if (m_bModal)
        EndModalLoop(nResult);
    else
        ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}
