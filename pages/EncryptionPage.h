// The Encryption page: WEP mode, the four keys and the default transmit key. What it shows comes from the
// working profile; Apply saves the keys there and writes them to the card. The page never reads the WEP
// configuration back from the card.
#pragma once
#include "adapter/CardRecords.h"
#include "fw/Framework.h"
#include "resource.h"

class CConfigUtility;

// The security settings the Encryption page last handed to the card. It lives as long as the program, so
// fields an Apply does not set keep what the previous Apply put there.
extern CardSettings g_CardSettings;

class CEncryptionPage : public CPropertyPage {
public:
    enum { IDD = IDD_ENCRYPTION };

    CEncryptionPage();
    ~CEncryptionPage() override;

    // 1 once the two drop-down lists have been filled in this sheet window. The page object outlives its
    // window, so the main frame clears it after every showing of the sheet and the next showing fills the
    // page afresh.
    int m_bCombosFilled;

    CBrush m_brWhite;
    CEdit m_edtKey64_1, m_edtKey64_2, m_edtKey64_3, m_edtKey64_4;
    CEdit m_edtKey128_1, m_edtKey128_2, m_edtKey128_3, m_edtKey128_4;
    CButton m_btnManualEntry, m_btnPassphrase;
    CButton m_btnUndo, m_btnRestore, m_btnApply;
    CStatic m_stcPassphrase, m_stcDefaultKey;
    CStatic m_stcKey1, m_stcKey2, m_stcKey3, m_stcKey4;
    CButton m_grpKeyEntry;
    CEdit m_edtPassphrase;
    CComboBox m_cmbEncryption, m_cmbDefaultKey;

    CString m_strPassphrase;
    int m_nPassphraseRadio; // 0 checked, -1 not
    int m_nManualRadio;     // 0 checked, -1 not
    CString m_strKey128_1, m_strKey128_2, m_strKey128_3, m_strKey128_4;
    CString m_strKey64_1, m_strKey64_2, m_strKey64_3, m_strKey64_4;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    void OnOK() override;
    BOOL OnApply() override;
    void OnCancel() override;

    afx_msg void OnApplyChanges();
    afx_msg void OnRestoreDefaults();
    afx_msg void OnUndoChanges();
    afx_msg void OnSelchangeEncryption();
    afx_msg void OnCreateWithPassphrase();
    afx_msg void OnManualEntry();
    afx_msg void OnKeyEdited();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    CConfigUtility* Sheet() const;
    void FillLists();
    // Sets the key area for a WEP mode (0, 2 or 6). For mode 0 the key boxes are disabled and
    // nDisabledWidth says which set shows: 2 the 64-bit boxes, 6 the 128-bit boxes, 0 leave both as they are.
    void LayOutKeys(BYTE bMode, int nDisabledWidth);
    // nShow is SW_SHOW, SW_HIDE or -1 to leave the boxes' visibility alone.
    void SetKeyBoxes(BYTE bWidth, int nShow, BOOL bEnable);
    void EnableKeyLabels(BOOL bEnable);
    void SelectLists(BYTE bMode, int nDefaultKey);
    // The eight key boxes take the working profile's 64-bit and 128-bit key texts.
    void ShowStoredKeys(const CConfigUtility* pSheet);
    void EnableUndoApply(BOOL bEnable);
    // Steps of Apply (EncryptionPageApply.cpp).
    int MakeKeysFromPassphrase(BYTE bMode);
    int StoreKeys(BYTE bMode);
    void WriteToCard();
};
