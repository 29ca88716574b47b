#include "fw/DataExchange.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Backend.h"
#include "fw/WinApp.h"

namespace {

bool IsClass(HWND hWnd, const char* className) {
    char name[64] = "";
    ::GetClassNameA(hWnd, name, static_cast<int>(sizeof name));
    return ::strcasecmp(name, className) == 0;
}

CString ControlText(HWND hWnd) {
    CString text;
    CWnd::FromHandle(hWnd)->GetWindowText(text);
    return text;
}

// Sets a control's text only when it differs, so that an unchanged value sends no change notification.
void SetTextIfChanged(HWND hWnd, LPCTSTR text) {
    if (ControlText(hWnd) != text)
        ::SetWindowTextA(hWnd, text);
}

// Reads a whole number the way a user types it: blanks around it, an optional sign, digits, nothing else.
bool ParseNumber(const CString& text, bool allowSign, long long* value) {
    CString trimmed = text;
    trimmed.TrimLeft();
    trimmed.TrimRight();
    if (trimmed.IsEmpty() || (!allowSign && trimmed[0] == '-'))
        return false;
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(trimmed, &end, 10);
    if (errno != 0 || end == static_cast<LPCTSTR>(trimmed) || *end != '\0')
        return false;
    *value = parsed;
    return true;
}

template <class T>
void ExchangeNumber(CDataExchange* pDX, int nIDC, T& value, long long minValue, long long maxValue,
                    const char* format) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (hWnd == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        long long parsed = 0;
        if (!ParseNumber(ControlText(hWnd), minValue < 0, &parsed) || parsed < minValue ||
            parsed > maxValue) {
            CString message;
            if (minValue < 0)
                message = "Please enter an integer.";
            else
                message.Format("Please enter an integer between %lld and %lld.", minValue, maxValue);
            AfxMessageBox(message, MB_ICONEXCLAMATION);
            pDX->Fail();
            return;
        }
        value = static_cast<T>(parsed);
    } else {
        CString text;
        text.Format(format, static_cast<long long>(value));
        SetTextIfChanged(hWnd, text);
    }
}

} // namespace

HWND CDataExchange::PrepareCtrl(int nIDC) {
    if (m_bFailed)
        return nullptr;
    HWND hWnd = m_pDlgWnd != nullptr ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (hWnd == nullptr) {
        fw::GetBackend().ReportFailure("data exchange with control id " + std::to_string(nIDC) +
                                       ", which the dialog does not have");
        m_bFailed = TRUE;
        return nullptr;
    }
    m_hWndLastControl = hWnd;
    m_bEditLastControl = FALSE;
    return hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWnd = PrepareCtrl(nIDC);
    if (hWnd != nullptr)
        m_bEditLastControl = TRUE;
    return hWnd;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_hWndLastControl != nullptr) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    m_bFailed = TRUE;
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (hWnd != nullptr)
        rControl.SubclassWindow(hWnd);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (hWnd == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = ControlText(hWnd);
    else
        SetTextIfChanged(hWnd, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    ExchangeNumber(pDX, nIDC, value, INT32_MIN, INT32_MAX, "%lld");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    ExchangeNumber(pDX, nIDC, value, 0, UINT32_MAX, "%lld");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
    ExchangeNumber(pDX, nIDC, value, INT32_MIN, INT32_MAX, "%lld");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, unsigned long& value) {
    ExchangeNumber(pDX, nIDC, value, 0, UINT32_MAX, "%lld");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) {
    ExchangeNumber(pDX, nIDC, value, 0, 255, "%lld");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, short& value) {
    ExchangeNumber(pDX, nIDC, value, INT16_MIN, INT16_MAX, "%lld");
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (hWnd == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(hWnd, BM_GETCHECK, 0, 0));
    } else {
        if (value < 0 || value > 2)
            value = 0;
        ::SendMessageA(hWnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (hWnd == nullptr)
        return;
    // The group runs from the first button to the next control that starts a group.
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    do {
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(hWnd, BM_GETCHECK, 0, 0) != BST_UNCHECKED)
                value = index;
        } else {
            ::SendMessageA(hWnd, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
        hWnd = ::GetWindow(hWnd, GW_HWNDNEXT);
    } while (hWnd != nullptr && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_GROUP) == 0 &&
             IsClass(hWnd, "Button"));
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (hWnd == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(hWnd, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (hWnd == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = ControlText(hWnd);
    } else if (::SendMessageA(hWnd, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value))) == CB_ERR) {
        // No entry begins with the text: it goes into the edit field.
        SetTextIfChanged(hWnd, value);
    }
}

void AFXAPI DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (hWnd == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = ControlText(hWnd);
        return;
    }
    LRESULT index = ::SendMessageA(hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
    if (index == CB_ERR)
        SetTextIfChanged(hWnd, value);
    else
        ::SendMessageA(hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void AFXAPI DDX_Slider(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (hWnd == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(hWnd, TBM_GETPOS, 0, 0));
    else
        ::SendMessageA(hWnd, TBM_SETPOS, TRUE, value);
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->m_bFailed)
        return;
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            CString message;
            message.Format("Please enter no more than %d characters.", nChars);
            AfxMessageBox(message, MB_ICONEXCLAMATION);
            pDX->Fail();
        }
        return;
    }
    // Loading: the limit goes to the control of the exchange just before this validation.
    HWND hWnd = pDX->LastControl();
    if (hWnd == nullptr)
        return;
    ::SendMessageA(hWnd, IsClass(hWnd, "ComboBox") ? CB_LIMITTEXT : EM_LIMITTEXT, static_cast<WPARAM>(nChars),
                   0);
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString message;
    message.Format("Please enter an integer between %d and %d.", minVal, maxVal);
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    pDX->Fail();
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString message;
    message.Format("Please enter an integer between %u and %u.", minVal, maxVal);
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    pDX->Fail();
}

void AFXAPI DDV_MinMaxSlider(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal) {
    if (pDX->m_bFailed)
        return;
    if (pDX->m_bSaveAndValidate) {
        DDV_MinMaxUInt(pDX, value, minVal, maxVal);
        return;
    }
    HWND hWnd = pDX->LastControl();
    if (hWnd == nullptr)
        return;
    ::SendMessageA(hWnd, TBM_SETRANGEMIN, FALSE, static_cast<LPARAM>(minVal));
    ::SendMessageA(hWnd, TBM_SETRANGEMAX, TRUE, static_cast<LPARAM>(maxVal));
}
