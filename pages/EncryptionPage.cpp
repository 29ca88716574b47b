// The Encryption page: its life in the sheet, Restore Defaults, Undo and Apply. The layout of the key area
// and the handlers of single controls are in EncryptionPageLayout.cpp, the steps of Apply that make, check
// and write the keys in EncryptionPageApply.cpp.
#include "pages/EncryptionPage.h"

#include "adapter/NdisRequests.h"
#include "common/Globals.h"
#include "pages/EncryptionPageKeys.h"
#include "sheet/ConfigUtility.h"

namespace {

// The key width whose boxes show while WEP is disabled: the width of the mode in force before the last
// Apply, 128-bit at start and after an Apply of Restore Defaults. Kept for the life of the program.
int s_nLastKeyWidth = WEP_MODE_128;
// Set by Restore Defaults; consumed by Apply, dropped by Undo and when the page is left.
BYTE s_bDefaultsRestored = 0;

const char s_szZeroKey128[] = "00000000000000000000000000";
const char s_szZeroKey64[] = "0000000000";
static_assert(sizeof(s_szZeroKey128) == WEP128_KEY_TEXT_LENGTH + 1, "26 zero digits");
static_assert(sizeof(s_szZeroKey64) == WEP64_KEY_TEXT_LENGTH + 1, "10 zero digits");

} // namespace

BEGIN_MESSAGE_MAP(CEncryptionPage, CPropertyPage)
ON_BN_CLICKED(IDC_WEP_APPLY, OnApplyChanges)
ON_BN_CLICKED(IDC_WEP_RESTORE, OnRestoreDefaults)
ON_BN_CLICKED(IDC_WEP_UNDO, OnUndoChanges)
ON_CBN_SELCHANGE(IDC_WEP_MODE, OnSelchangeEncryption)
ON_BN_CLICKED(IDC_WEP_PASSPHRASE_RADIO, OnCreateWithPassphrase)
ON_BN_CLICKED(IDC_WEP_MANUAL_RADIO, OnManualEntry)
ON_CBN_SELCHANGE(IDC_WEP_DEFAULT_KEY, OnKeyEdited)
ON_EN_CHANGE(IDC_WEP_PASSPHRASE, OnKeyEdited)
ON_EN_CHANGE(IDC_WEP_KEY64_1, OnKeyEdited)
ON_EN_CHANGE(IDC_WEP_KEY64_2, OnKeyEdited)
ON_EN_CHANGE(IDC_WEP_KEY64_3, OnKeyEdited)
ON_EN_CHANGE(IDC_WEP_KEY64_4, OnKeyEdited)
ON_EN_CHANGE(IDC_WEP_KEY128_1, OnKeyEdited)
ON_EN_CHANGE(IDC_WEP_KEY128_2, OnKeyEdited)
ON_EN_CHANGE(IDC_WEP_KEY128_3, OnKeyEdited)
ON_EN_CHANGE(IDC_WEP_KEY128_4, OnKeyEdited)
ON_WM_CTLCOLOR()
ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
ON_WM_PAINT()
END_MESSAGE_MAP()

CEncryptionPage::CEncryptionPage()
    : CPropertyPage(IDD), m_bCombosFilled(0), m_brWhite(RGB(255, 255, 255)), m_nPassphraseRadio(-1),
      m_nManualRadio(-1) {}

CEncryptionPage::~CEncryptionPage() {}

void CEncryptionPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WEP_KEY64_1, m_edtKey64_1);
    DDX_Control(pDX, IDC_WEP_KEY64_2, m_edtKey64_2);
    DDX_Control(pDX, IDC_WEP_KEY64_3, m_edtKey64_3);
    DDX_Control(pDX, IDC_WEP_KEY64_4, m_edtKey64_4);
    DDX_Control(pDX, IDC_WEP_KEY128_1, m_edtKey128_1);
    DDX_Control(pDX, IDC_WEP_KEY128_2, m_edtKey128_2);
    DDX_Control(pDX, IDC_WEP_KEY128_3, m_edtKey128_3);
    DDX_Control(pDX, IDC_WEP_KEY128_4, m_edtKey128_4);
    DDX_Control(pDX, IDC_WEP_MANUAL_RADIO, m_btnManualEntry);
    DDX_Control(pDX, IDC_WEP_PASSPHRASE_RADIO, m_btnPassphrase);
    DDX_Control(pDX, IDC_WEP_UNDO, m_btnUndo);
    DDX_Control(pDX, IDC_WEP_RESTORE, m_btnRestore);
    DDX_Control(pDX, IDC_WEP_APPLY, m_btnApply);
    DDX_Control(pDX, IDC_WEP_PASSPHRASE_LABEL, m_stcPassphrase);
    DDX_Control(pDX, IDC_WEP_DEFAULT_KEY_LABEL, m_stcDefaultKey);
    DDX_Control(pDX, IDC_WEP_KEY1_LABEL, m_stcKey1);
    DDX_Control(pDX, IDC_WEP_KEY2_LABEL, m_stcKey2);
    DDX_Control(pDX, IDC_WEP_KEY3_LABEL, m_stcKey3);
    DDX_Control(pDX, IDC_WEP_KEY4_LABEL, m_stcKey4);
    DDX_Control(pDX, IDC_WEP_KEY_GROUP, m_grpKeyEntry);
    DDX_Control(pDX, IDC_WEP_PASSPHRASE, m_edtPassphrase);
    DDX_Control(pDX, IDC_WEP_MODE, m_cmbEncryption);
    DDX_Control(pDX, IDC_WEP_DEFAULT_KEY, m_cmbDefaultKey);
    DDX_Text(pDX, IDC_WEP_PASSPHRASE, m_strPassphrase);
    DDX_Radio(pDX, IDC_WEP_PASSPHRASE_RADIO, m_nPassphraseRadio);
    DDX_Radio(pDX, IDC_WEP_MANUAL_RADIO, m_nManualRadio);
    DDX_Text(pDX, IDC_WEP_KEY128_1, m_strKey128_1);
    DDV_MaxChars(pDX, m_strKey128_1, WEP128_KEY_TEXT_LENGTH);
    DDX_Text(pDX, IDC_WEP_KEY128_2, m_strKey128_2);
    DDV_MaxChars(pDX, m_strKey128_2, WEP128_KEY_TEXT_LENGTH);
    DDX_Text(pDX, IDC_WEP_KEY128_3, m_strKey128_3);
    DDV_MaxChars(pDX, m_strKey128_3, WEP128_KEY_TEXT_LENGTH);
    DDX_Text(pDX, IDC_WEP_KEY128_4, m_strKey128_4);
    DDV_MaxChars(pDX, m_strKey128_4, WEP128_KEY_TEXT_LENGTH);
    DDX_Text(pDX, IDC_WEP_KEY64_1, m_strKey64_1);
    DDV_MaxChars(pDX, m_strKey64_1, WEP64_KEY_TEXT_LENGTH);
    DDX_Text(pDX, IDC_WEP_KEY64_2, m_strKey64_2);
    DDV_MaxChars(pDX, m_strKey64_2, WEP64_KEY_TEXT_LENGTH);
    DDX_Text(pDX, IDC_WEP_KEY64_3, m_strKey64_3);
    DDV_MaxChars(pDX, m_strKey64_3, WEP64_KEY_TEXT_LENGTH);
    DDX_Text(pDX, IDC_WEP_KEY64_4, m_strKey64_4);
    DDV_MaxChars(pDX, m_strKey64_4, WEP64_KEY_TEXT_LENGTH);
}

CConfigUtility* CEncryptionPage::Sheet() const {
    return static_cast<CConfigUtility*>(GetParent());
}

void CEncryptionPage::ShowStoredKeys(const CConfigUtility* pSheet) {
    m_strKey128_1 = pSheet->WEP128_KEY_1;
    m_strKey128_2 = pSheet->WEP128_KEY_2;
    m_strKey128_3 = pSheet->WEP128_KEY_3;
    m_strKey128_4 = pSheet->WEP128_KEY_4;
    m_strKey64_1 = pSheet->WEP64_KEY_1;
    m_strKey64_2 = pSheet->WEP64_KEY_2;
    m_strKey64_3 = pSheet->WEP64_KEY_3;
    m_strKey64_4 = pSheet->WEP64_KEY_4;
}

BOOL CEncryptionPage::OnSetActive() {
    CConfigUtility* pSheet = Sheet();
    if (!m_bCombosFilled)
        FillLists();

    ShowStoredKeys(pSheet);

    SelectLists(pSheet->WepReq, pSheet->DefaultKeyId);

    m_strPassphrase = pSheet->Passphrase;
    if (m_strPassphrase.IsEmpty()) {
        pSheet->PassphraseRadio = m_nPassphraseRadio = -1;
        pSheet->ManualRadio = m_nManualRadio = 0;
    }

    if (pSheet->WepReq == WEP_MODE_OFF || m_nPassphraseRadio == 0)
        LayOutKeys(WEP_MODE_OFF, s_nLastKeyWidth == WEP_MODE_128 ? WEP_MODE_128 : WEP_MODE_64);
    else if (pSheet->WepReq == WEP_MODE_64 || pSheet->WepReq == WEP_MODE_128)
        LayOutKeys(pSheet->WepReq, 0);

    EnableUndoApply(FALSE);
    UpdateData(FALSE);
    return CPropertyPage::OnSetActive();
}

BOOL CEncryptionPage::OnKillActive() {
    s_bDefaultsRestored = 0;
    return CPropertyPage::OnKillActive();
}

// Closing the sheet with OK applies what this page still holds.
void CEncryptionPage::OnOK() {
    if (m_btnApply.IsWindowEnabled())
        OnApplyChanges();
    CPropertyPage::OnOK();
}

BOOL CEncryptionPage::OnApply() {
    g_bSheetActive = 0;
    m_bCombosFilled = 0;
    return CPropertyPage::OnApply();
}

void CEncryptionPage::OnCancel() {
    g_bSheetActive = 0;
    m_bCombosFilled = 0;
    CPropertyPage::OnCancel();
}

// Only the page changes: the working profile, the registry and the card see the factory values when they
// are applied.
void CEncryptionPage::OnRestoreDefaults() {
    m_strPassphrase.Empty();
    m_nPassphraseRadio = -1;
    m_nManualRadio = 0;
    m_strKey128_1 = m_strKey128_2 = m_strKey128_3 = m_strKey128_4 = s_szZeroKey128;
    m_strKey64_1 = m_strKey64_2 = m_strKey64_3 = m_strKey64_4 = s_szZeroKey64;
    UpdateData(FALSE);

    SelectLists(WEP_MODE_OFF, 0);

    SetKeyBoxes(WEP_MODE_128, SW_SHOW, FALSE);
    SetKeyBoxes(WEP_MODE_64, SW_HIDE, FALSE);
    m_edtPassphrase.EnableWindow(FALSE);
    m_btnPassphrase.EnableWindow(FALSE);
    m_btnManualEntry.EnableWindow(FALSE);
    m_grpKeyEntry.EnableWindow(FALSE);
    EnableKeyLabels(FALSE);
    m_stcPassphrase.EnableWindow(FALSE);

    UpdateData(TRUE);
    EnableUndoApply(TRUE);
    s_bDefaultsRestored = 1;
}

void CEncryptionPage::OnUndoChanges() {
    CConfigUtility* pSheet = Sheet();
    const BYTE bMode = pSheet->WepReq;

    SelectLists(bMode, pSheet->DefaultKeyId);
    if (bMode == WEP_MODE_OFF) {
        ShowStoredKeys(pSheet);
        const BOOL b128 = s_nLastKeyWidth == WEP_MODE_128;
        SetKeyBoxes(WEP_MODE_128, b128 ? SW_SHOW : SW_HIDE, FALSE);
        SetKeyBoxes(WEP_MODE_64, b128 ? SW_HIDE : SW_SHOW, FALSE);
    } else if (bMode == WEP_MODE_64) {
        // The texts in force, which are the 64-bit texts of the last Apply.
        m_strKey64_1 = pSheet->WEP_KEY_1;
        m_strKey64_2 = pSheet->WEP_KEY_2;
        m_strKey64_3 = pSheet->WEP_KEY_3;
        m_strKey64_4 = pSheet->WEP_KEY_4;
    } else if (bMode == WEP_MODE_128) {
        m_strKey128_1 = pSheet->WEP128_KEY_1;
        m_strKey128_2 = pSheet->WEP128_KEY_2;
        m_strKey128_3 = pSheet->WEP128_KEY_3;
        m_strKey128_4 = pSheet->WEP128_KEY_4;
    }

    if (pSheet->Passphrase.IsEmpty()) {
        pSheet->PassphraseRadio = m_nPassphraseRadio = -1;
        pSheet->ManualRadio = m_nManualRadio = 0;
    } else {
        pSheet->PassphraseRadio = m_nPassphraseRadio = 0;
        pSheet->ManualRadio = m_nManualRadio = -1;
    }

    if (bMode == WEP_MODE_OFF || m_nPassphraseRadio == 0)
        LayOutKeys(WEP_MODE_OFF, 0);
    else if (bMode == WEP_MODE_64 || bMode == WEP_MODE_128)
        LayOutKeys(bMode, 0);

    UpdateData(FALSE);
    EnableUndoApply(FALSE);
    s_bDefaultsRestored = 0;
}

// A refresh of the members that fails its validation (a stored key longer than its box takes) has told the
// user so; Apply goes on with the members as they stand, and the key length check then refuses that key.
void CEncryptionPage::OnApplyChanges() {
    CConfigUtility* pSheet = Sheet();
    if (pSheet->WepReq != WEP_MODE_OFF)
        s_nLastKeyWidth = pSheet->WepReq;
    if (s_bDefaultsRestored) {
        s_bDefaultsRestored = 0;
        s_nLastKeyWidth = WEP_MODE_128;
    }

    UpdateData(TRUE);

    const int nModePosition = m_cmbEncryption.GetCurSel();
    const BYTE bMode = nModePosition == 2 ? WEP_MODE_128 : nModePosition == 1 ? WEP_MODE_64 : WEP_MODE_OFF;
    pSheet->WepReq = bMode;
    g_CardSettings.WepMode = bMode;

    if (m_nPassphraseRadio == 0 && m_nManualRadio == -1 && bMode != WEP_MODE_OFF) {
        if (!MakeKeysFromPassphrase(bMode))
            return; // an empty passphrase: nothing to make keys from
    }

    // Design decision: the list has no selection only after a working profile with an unknown WEP mode
    // opened a new sheet window; the profile's default key then stays as it is.
    int nDefaultKey = m_cmbDefaultKey.GetCurSel();
    if (nDefaultKey < 0 || nDefaultKey >= WEP_KEY_COUNT)
        nDefaultKey = pSheet->DefaultKeyId;
    g_CardSettings.TxKeyIndex = (BYTE)nDefaultKey;
    pSheet->DefaultKeyId = (BYTE)nDefaultKey;

    // With WEP off the card gets open authentication; the profile keeps the Advanced page's choice for when
    // WEP is turned on again.
    if (bMode != WEP_MODE_OFF) {
        g_CardSettings.AuthentAlg = pSheet->AuthentAlg;
        g_CardSettings.DenyUnencrypted = pSheet->DenyUnencrypted;
    } else {
        g_CardSettings.AuthentAlg = 1;
        g_CardSettings.DenyUnencrypted = 1;
    }

    pSheet->PassphraseRadio = m_nPassphraseRadio;
    pSheet->ManualRadio = m_nManualRadio;
    pSheet->Passphrase = m_strPassphrase;

    if (!StoreKeys(bMode))
        return;

    pSheet->SaveProfile();
    WriteToCard();

    EnableUndoApply(FALSE);
    UpdateData(FALSE);
}

// The sheet hands the Help button to the page that shows.
LRESULT CEncryptionPage::OnCommandHelp(WPARAM, LPARAM lParam) {
    AfxGetApp()->WinHelp(lParam != 0 ? (DWORD_PTR)lParam : (DWORD_PTR)HIDD_ENCRYPTION, HELP_CONTEXT);
    return TRUE;
}
