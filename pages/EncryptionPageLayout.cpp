// The Encryption page's controls: the two lists, which key boxes show for a mode, and the handlers of single
// controls (mode list, key edits, entry radio buttons, colours).
#include "pages/EncryptionPage.h"

#include "adapter/NdisRequests.h"

namespace {

// Controls that stay white when disabled.
const int s_aWhiteControls[] = {
    IDC_WEP_PASSPHRASE, IDC_WEP_DEFAULT_KEY, IDC_WEP_KEY64_1,  IDC_WEP_KEY64_2,  IDC_WEP_KEY64_3,
    IDC_WEP_KEY64_4,    IDC_WEP_KEY128_1,    IDC_WEP_KEY128_2, IDC_WEP_KEY128_3, IDC_WEP_KEY128_4,
};

} // namespace

// The strings go in at their positions: both lists carry the sort style, which an insertion at a position
// does not apply, so the order stays as listed and a position maps to a value.
void CEncryptionPage::FillLists() {
    static const UINT s_aKeyNames[] = {IDS_TX_KEY_1, IDS_TX_KEY_2, IDS_TX_KEY_3, IDS_TX_KEY_4};
    static const UINT s_aModeNames[] = {IDS_WEP_DISABLED, IDS_WEP_64_BITS, IDS_WEP_128_BITS};
    CString strName;
    for (int i = 0; i < (int)(sizeof(s_aKeyNames) / sizeof(s_aKeyNames[0])); ++i) {
        strName.LoadString(s_aKeyNames[i]);
        m_cmbDefaultKey.InsertString(i, strName);
    }
    for (int i = 0; i < (int)(sizeof(s_aModeNames) / sizeof(s_aModeNames[0])); ++i) {
        strName.LoadString(s_aModeNames[i]);
        m_cmbEncryption.InsertString(i, strName);
    }
    m_bCombosFilled = 1;
}

// Mode list positions: 0 Disabled, 1 64 Bits, 2 128 Bits. A mode the page does not know selects nothing.
void CEncryptionPage::SelectLists(BYTE bMode, int nDefaultKey) {
    if (bMode == WEP_MODE_OFF) {
        m_cmbDefaultKey.SetCurSel(0);
        m_cmbEncryption.SetCurSel(0);
    } else if (bMode == WEP_MODE_64) {
        m_cmbDefaultKey.SetCurSel(nDefaultKey);
        m_cmbEncryption.SetCurSel(1);
    } else if (bMode == WEP_MODE_128) {
        m_cmbDefaultKey.SetCurSel(nDefaultKey);
        m_cmbEncryption.SetCurSel(2);
    }
}

void CEncryptionPage::SetKeyBoxes(BYTE bWidth, int nShow, BOOL bEnable) {
    CEdit* apBoxes64[] = {&m_edtKey64_1, &m_edtKey64_2, &m_edtKey64_3, &m_edtKey64_4};
    CEdit* apBoxes128[] = {&m_edtKey128_1, &m_edtKey128_2, &m_edtKey128_3, &m_edtKey128_4};
    CEdit** apBoxes = bWidth == WEP_MODE_128 ? apBoxes128 : apBoxes64;
    for (int i = 0; i < WEP_KEY_COUNT; ++i) {
        if (nShow >= 0)
            apBoxes[i]->ShowWindow(nShow);
        apBoxes[i]->EnableWindow(bEnable);
    }
}

// The four key labels, the Default Tx Key list and its label.
void CEncryptionPage::EnableKeyLabels(BOOL bEnable) {
    m_stcKey1.EnableWindow(bEnable);
    m_stcKey2.EnableWindow(bEnable);
    m_stcKey3.EnableWindow(bEnable);
    m_stcKey4.EnableWindow(bEnable);
    m_cmbDefaultKey.EnableWindow(bEnable);
    m_stcDefaultKey.EnableWindow(bEnable);
}

// The 64-bit and 128-bit boxes share their places, so one set shows at a time. The passphrase controls are
// hidden in the dialog and stay disabled here; "Create with Passphrase" is never enabled.
void CEncryptionPage::LayOutKeys(BYTE bMode, int nDisabledWidth) {
    if (bMode == WEP_MODE_64 || bMode == WEP_MODE_128) {
        const BOOL b128 = bMode == WEP_MODE_128;
        SetKeyBoxes(WEP_MODE_64, b128 ? SW_HIDE : SW_SHOW, !b128);
        SetKeyBoxes(WEP_MODE_128, b128 ? SW_SHOW : SW_HIDE, b128);
        EnableKeyLabels(TRUE);
        m_edtPassphrase.EnableWindow(FALSE);
        m_stcPassphrase.EnableWindow(FALSE);
    } else {
        int nShow128 = -1;
        int nShow64 = -1;
        if (nDisabledWidth == WEP_MODE_128) {
            nShow128 = SW_SHOW;
            nShow64 = SW_HIDE;
        } else if (nDisabledWidth == WEP_MODE_64) {
            nShow128 = SW_HIDE;
            nShow64 = SW_SHOW;
        }
        SetKeyBoxes(WEP_MODE_128, nShow128, FALSE);
        SetKeyBoxes(WEP_MODE_64, nShow64, FALSE);
        EnableKeyLabels(FALSE);
    }
    if (bMode == WEP_MODE_OFF || m_nPassphraseRadio != 0) {
        m_edtPassphrase.EnableWindow(FALSE);
        m_stcPassphrase.EnableWindow(FALSE);
    }
    const BOOL bKeysOn = bMode != WEP_MODE_OFF;
    m_btnPassphrase.EnableWindow(FALSE);
    m_btnManualEntry.EnableWindow(bKeysOn);
    m_grpKeyEntry.EnableWindow(bKeysOn);
}

void CEncryptionPage::EnableUndoApply(BOOL bEnable) {
    m_btnUndo.EnableWindow(bEnable);
    m_btnApply.EnableWindow(bEnable);
}

// A refresh of the members that fails its validation has told the user so; the handlers go on.
void CEncryptionPage::OnSelchangeEncryption() {
    UpdateData(TRUE);
    const int nPosition = m_cmbEncryption.GetCurSel();
    const BYTE bMode = nPosition == 2 ? WEP_MODE_128 : nPosition == 1 ? WEP_MODE_64 : WEP_MODE_OFF;
    LayOutKeys(bMode, 0);
    EnableUndoApply(TRUE);
    UpdateData(FALSE);
}

// Texts the page puts into the boxes itself come through data exchange, which holds their notifications
// back: only the user's edits arrive here.
void CEncryptionPage::OnKeyEdited() {
    UpdateData(TRUE);
    EnableUndoApply(TRUE);
    UpdateData(FALSE);
}

void CEncryptionPage::OnCreateWithPassphrase() {
    m_nPassphraseRadio = 0;
    m_nManualRadio = -1;
    SetKeyBoxes(WEP_MODE_64, -1, FALSE);
    SetKeyBoxes(WEP_MODE_128, -1, FALSE);
    EnableKeyLabels(FALSE);
    m_stcPassphrase.EnableWindow(TRUE);
    m_edtPassphrase.EnableWindow(TRUE);
    EnableUndoApply(TRUE);
    UpdateData(FALSE);
}

void CEncryptionPage::OnManualEntry() {
    m_nPassphraseRadio = -1;
    m_nManualRadio = 0;
    SetKeyBoxes(m_cmbEncryption.GetCurSel() == 2 ? WEP_MODE_128 : WEP_MODE_64, -1, TRUE);
    EnableKeyLabels(TRUE);
    m_stcPassphrase.EnableWindow(FALSE);
    m_edtPassphrase.EnableWindow(FALSE);
    EnableUndoApply(TRUE);
    UpdateData(FALSE);
}

// The key boxes, the passphrase and the Default Tx Key list stay white with black text when disabled, so
// that the keys stay readable.
HBRUSH CEncryptionPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    const int nId = pWnd != nullptr ? pWnd->GetDlgCtrlID() : 0;
    for (int i = 0; i < (int)(sizeof(s_aWhiteControls) / sizeof(s_aWhiteControls[0])); ++i) {
        if (s_aWhiteControls[i] == nId) {
            pDC->SetTextColor(RGB(0, 0, 0));
            pDC->SetBkMode(TRANSPARENT);
            return m_brWhite;
        }
    }
    return CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CEncryptionPage::OnPaint() {
    CPaintDC dc(this);
}
