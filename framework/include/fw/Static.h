// CStatic: a label or a picture.
#pragma once
#include "fw/Wnd.h"

class CStatic : public CWnd {
public:
    HICON SetIcon(HICON hIcon) {
        return reinterpret_cast<HICON>(
            ::SendMessageA(m_hWnd, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0));
    }
    HICON GetIcon() const { return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, STM_GETICON, 0, 0)); }
};
