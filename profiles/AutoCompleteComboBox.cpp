#include "profiles/AutoCompleteComboBox.h"

CAutoCompleteComboBox::CAutoCompleteComboBox() : m_bAutoComplete(1) {}

BOOL CAutoCompleteComboBox::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN) {
        const WPARAM nKey = pMsg->wParam;
        m_bAutoComplete = (nKey == VK_BACK || nKey == VK_DELETE) ? 0 : 1;
    }
    return CComboBox::PreTranslateMessage(pMsg);
}
