// The Advanced page: fragmentation and RTS/CTS thresholds, authentication and preamble, and the "Deny
// Unencrypted Data Frames" box that follows the WEP mode of the Encryption page.
#pragma once
#include "fw/Framework.h"
#include "resource.h"

class CConfigUtility;

class CAdvancedPage : public CPropertyPage {
public:
    enum { IDD = IDD_ADVANCED };

    CAdvancedPage();
    ~CAdvancedPage() override;

    // 1 once sliders and lists are set up in this sheet window. The page object outlives its window, so the
    // main frame clears it after every showing of the sheet and the next showing fills the page afresh.
    int m_bCombosFilled;

    CButton m_grpSecurity;
    CStatic m_stcAuthType;
    CButton m_chkDenyUnencrypted;
    CStatic m_stcRtsValue, m_stcFragValue;
    CStatic m_stcRtsDisabled, m_stcFragDisabled;
    CButton m_btnUndo, m_btnRestore, m_btnApply;
    CComboBox m_cmbAuthType, m_cmbPreamble;
    CSliderCtrl m_sldRts, m_sldFrag;

    int m_nFragThreshold;
    int m_nRtsThreshold;
    int m_nPreambleIndex;
    int m_nAuthTypeIndex;
    int m_bDenyChecked;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnSetActive() override;
    void OnOK() override;
    BOOL OnApply() override;
    void OnCancel() override;

    afx_msg void OnApplyChanges();
    afx_msg void OnRestoreDefaults();
    afx_msg void OnUndoChanges();
    afx_msg void OnSettingChanged();
    afx_msg void OnReleasedCaptureFrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnReleasedCaptureRts(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    CConfigUtility* Sheet() const;
    void SetUpControls();
    // Puts a threshold on its slider and shows it beside the slider, with "( Disabled )" at the top.
    void ShowFragThreshold(int nValue);
    void ShowRtsThreshold(int nValue);
    void EnableUndoApply(BOOL bEnable);
    // Apply and OK (AdvancedPageApply.cpp).
    BOOL IsChanged() const;
    void StoreInProfile();
    void WriteToCard(BOOL bReadFirst);
};
