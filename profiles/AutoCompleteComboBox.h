// CAutoCompleteComboBox: the profile combo box of the Configuration page. It remembers whether the last key
// the user pressed in it was one that deletes text: completing the text right after Backspace or Delete
// would put back what the user just took away, so the page completes only while m_bAutoComplete is 1.
#pragma once
#include "fw/Framework.h"

class CAutoCompleteComboBox : public CComboBox {
public:
    CAutoCompleteComboBox();

    BOOL m_bAutoComplete;

    // Sees the key-down messages of the combo box and of its edit field before they are dispatched.
    BOOL PreTranslateMessage(MSG* pMsg) override;
};
