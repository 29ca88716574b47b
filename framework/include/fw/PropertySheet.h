// CPropertySheet: a tabbed dialog of property pages with OK, Cancel and (by its flags) Apply and Help
// buttons.
//
// DoModal shows the sheet and runs the sheet's own modal loop over a modeless sheet window, so that another
// thread can end the loop with EndModalLoop(result) (the caller then enables the window, as the classic
// contract asks). When the loop returns, the sheet window is destroyed; the sheet and page objects stay and
// can be shown again.
#pragma once
#include <vector>

#include "fw/PropertyPage.h"
#include "fw/TabCtrl.h"

class CPropertySheet : public CWnd {
public:
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    PROPSHEETHEADERA m_psh{};

    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(const CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    CTabCtrl* GetTabControl() const;
    void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
    void PressButton(int nButton);
    void EndDialog(int nEndID);

    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL ContinueModal() override;

protected:
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);

    std::vector<CPropertyPage*> m_pages;
    std::vector<BYTE> m_pageRecords; // the page records as handed to the common controls
    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    UINT m_nLastButton = IDCANCEL;
    BOOL m_bModal = FALSE;
};
