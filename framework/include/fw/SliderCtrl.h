// CSliderCtrl: a trackbar. It is a kind of CScrollBar here, since scroll handlers are told a slider's
// messages come from a scroll bar.
#pragma once
#include "fw/ScrollBar.h"

class CSliderCtrl : public CScrollBar {
public:
    int GetPos() const { return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETPOS, 0, 0)); }
    void SetPos(int nPos) { ::SendMessageA(m_hWnd, TBM_SETPOS, TRUE, nPos); }
    int GetRangeMin() const { return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETRANGEMIN, 0, 0)); }
    int GetRangeMax() const { return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETRANGEMAX, 0, 0)); }
    void GetRange(int& nMin, int& nMax) const {
        nMin = GetRangeMin();
        nMax = GetRangeMax();
    }
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE) {
        // Two messages, so that a range beyond 16 bits survives.
        ::SendMessageA(m_hWnd, TBM_SETRANGEMIN, FALSE, nMin);
        ::SendMessageA(m_hWnd, TBM_SETRANGEMAX, static_cast<WPARAM>(bRedraw), nMax);
    }
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE) {
        ::SendMessageA(m_hWnd, TBM_SETRANGEMIN, static_cast<WPARAM>(bRedraw), nMin);
    }
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE) {
        ::SendMessageA(m_hWnd, TBM_SETRANGEMAX, static_cast<WPARAM>(bRedraw), nMax);
    }
    int SetLineSize(int nSize) { return static_cast<int>(::SendMessageA(m_hWnd, TBM_SETLINESIZE, 0, nSize)); }
    int GetLineSize() const { return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETLINESIZE, 0, 0)); }
    int SetPageSize(int nSize) { return static_cast<int>(::SendMessageA(m_hWnd, TBM_SETPAGESIZE, 0, nSize)); }
    int GetPageSize() const { return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETPAGESIZE, 0, 0)); }
    void SetTicFreq(int nFreq) { ::SendMessageA(m_hWnd, TBM_SETTICFREQ, static_cast<WPARAM>(nFreq), 0); }
};
