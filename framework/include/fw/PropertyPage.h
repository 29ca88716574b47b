// CPropertyPage: one page of a property sheet. The sheet creates the page's window when the page is first
// shown, and tells the page about its life in this order: OnInitDialog (window created), OnSetActive (page
// shown), OnKillActive (page left; FALSE keeps it), and when the sheet closes OnApply -> OnOK (OK) or
// OnQueryCancel, OnReset -> OnCancel (Cancel). The page object outlives its window and is reused when the
// sheet is shown again.
#pragma once
#include "fw/Dialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    PROPSHEETPAGEA m_psp{};

    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual BOOL OnQueryCancel();
    void OnOK() override;
    void OnCancel() override;
    // Tells the sheet that the page holds changes (it enables the sheet's Apply button, where there is one).
    void SetModified(BOOL bChanged = TRUE);
    void CancelToClose();

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The dialog procedure the sheet creates pages with.
    static INT_PTR CALLBACK PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    const CString& GetCaption() const { return m_strCaption; }

protected:
    CString m_strCaption;
    BOOL m_bFirstSetActive = TRUE;

    DECLARE_MESSAGE_MAP()
};
