// The Configuration page: the named profiles and the basic settings of the card.
//
// The page edits the working profile that the sheet holds and saves it with SaveProfile. It never writes the
// basic configuration to the card itself: after a save it sets g_bConfigPending, and the card monitor thread
// writes network type, SSID, rate, power saving and channel. Only when a profile picked from the list is
// applied does the page send that profile's WEP settings to the card at once. At every activation it reads
// the card's allowed channels.
#pragma once
#include "fw/Framework.h"
#include "profiles/AutoCompleteComboBox.h"
#include "resource.h"

class CConfigUtility;

// The profile that the page creates when there is none and never removes; loaded from the string table when
// a page object is made. Compared exactly, letter case included.
extern CString g_strDefaultProfileName;

class CConfigPage : public CPropertyPage {
public:
    enum { IDD = IDD_CONFIGURATION };

    CConfigPage();

    // 1 once the lists have been filled since the sheet window opened. The page object outlives its window,
    // so the main frame clears it after every showing of the sheet and the next showing fills the page
    // afresh.
    BOOL m_bPagesFilled;

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnApply() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    // Buttons.
    afx_msg void OnApplyChanges();
    afx_msg void OnUndoChanges();
    afx_msg void OnRestoreDefaults();
    afx_msg void OnCreateProfile();
    afx_msg void OnRemoveProfile();
    afx_msg void OnActivateProfile();
    // The profile combo.
    afx_msg void OnSelchangeProfile();
    afx_msg void OnEditupdateProfile();
    // The settings.
    afx_msg void OnSelchangeMode();
    afx_msg void OnSelchangeChannelOrRate();
    afx_msg void OnChangeSsid();
    afx_msg void OnSelchangePowerSaving();

    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()

    // Controls.
    CAutoCompleteComboBox m_cboProfile;
    CButton m_btnCreate;
    CButton m_btnRemove;
    CButton m_btnActivate;
    CComboBox m_cboMode;
    CEdit m_edtSSID;
    CComboBox m_cboRate;
    CComboBox m_cboChannel;
    CComboBox m_cboPowerSaving;
    CButton m_btnRestore;
    CButton m_btnUndo;
    CButton m_btnApply;

    // Exchanged with the controls.
    CString m_strSSID;
    int m_nChannelIndex;
    int m_nPSIndex;
    CString m_strProfileName;

    // The undo point: the values at the last activation or "Apply Changes".
    CString m_strSavedSSID;
    WORD m_wSavedChannelIndex;
    WORD m_wSavedTxRate;
    WORD m_wSavedNetworkType;
    int m_nSavedPSIndex;

    BOOL m_bProfileSelected;  // a profile was picked from the list since the last Apply or Undo
    BOOL m_bSaveWithoutApply; // the next Apply saves without having the card reconfigured

private:
    CConfigUtility* GetSheet() const;

    // Members to controls. Setting the SSID text makes the edit report a change, and a change handler pulls
    // every control: a pull in the middle of a push would take back values not yet pushed. The change
    // handlers therefore do nothing while the page itself pushes.
    void PushToControls();
    BOOL m_bPushing;

    // Channel mask of the card, read inside the hand-shake; CONFIG_CHANNEL_MASK_FALLBACK when it cannot be
    // read.
    WORD ReadChannelMask();
    void FillLists(WORD wChannelMask);
    void FillProfileList();

    // Position of a channel number in the channel list, -1 when it is not offered.
    int FindChannelEntry(int nChannel);
    // The channel number of a position; FALSE for no entry.
    BOOL GetChannelOfEntry(int nIndex, WORD* pwChannel);
    // The list entry whose whole text equals pszName in any letter case, -1 when there is none.
    int FindProfileEntry(LPCSTR pszName);

    void SetModeSelection(BYTE bNetworkType);
    // Channel list on and power saving off (ad hoc), or the reverse.
    void ApplyLayout(BOOL bAdHoc);
    void EnableEditButtons(BOOL bEnable);
    void EnableRemoveFor(const CString& strName);
    // The controls' basic settings into the working profile (network type, channel, SSID, rate, power
    // saving); bSetUndoPoint also makes them the new undo point.
    void StoreSettingsInProfile(BOOL bSetUndoPoint);

    // The stored mode, SSID, rate, channel and power saving of a profile into the controls; the working
    // profile is not touched.
    void ShowProfileValues(LPCSTR pszName);
    // The WEP settings of the working profile to the card, inside the hand-shake.
    void ApplyProfileWep();
};
