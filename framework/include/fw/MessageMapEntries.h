// The entries of a message map. Each entry names the message (and for commands and notifications the code
// and the control id) and the member that handles it, with the member's classic signature.
#pragma once

#define AFX_MSG_ENTRY_(msg, lastMsg, code, id, lastId, reg, ...)                                             \
    {static_cast<UINT>(msg),                                                                                 \
     static_cast<UINT>(lastMsg),                                                                             \
     static_cast<UINT>(code),                                                                                \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(lastId),                                                                              \
     reg,                                                                                                    \
     [](CCmdTarget* t_, AFX_MSGARGS& a_) -> LRESULT {                                                        \
         ThisClass* p_ = static_cast<ThisClass*>(t_);                                                        \
         (void)p_;                                                                                           \
         (void)a_;                                                                                           \
         __VA_ARGS__                                                                                         \
     }},

// Commands (menu entries, buttons) and control notifications.
#define ON_COMMAND(id, memberFxn)                                                                            \
    AFX_MSG_ENTRY_(WM_COMMAND, 0, 0, id, id, nullptr, p_->memberFxn(); return 0;)
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                              \
    AFX_MSG_ENTRY_(WM_COMMAND, 0, 0, id, idLast, nullptr, p_->memberFxn(a_.nID); return 0;)
#define ON_CONTROL(code, id, memberFxn)                                                                      \
    AFX_MSG_ENTRY_(WM_COMMAND, 0, code, id, id, nullptr, p_->memberFxn(); return 0;)
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                                                        \
    AFX_MSG_ENTRY_(WM_COMMAND, 0, code, id, idLast, nullptr, p_->memberFxn(a_.nID); return 0;)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)

// Notifications of common controls (WM_NOTIFY): void memberFxn(NMHDR*, LRESULT*).
#define ON_NOTIFY(code, id, memberFxn)                                                                       \
    AFX_MSG_ENTRY_(WM_NOTIFY, 0, code, id, id, nullptr,                                                      \
                   p_->memberFxn(reinterpret_cast<NMHDR*>(a_.lParam), a_.pResult);                           \
                   return *a_.pResult;)

// Any message, and messages registered at run time: LRESULT memberFxn(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn)                                                                       \
    AFX_MSG_ENTRY_(message, 0, 0, 0, 0, nullptr, return p_->memberFxn(a_.wParam, a_.lParam);)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                   \
    AFX_MSG_ENTRY_(0, 0, 0, 0, 0, &nMessageVariable, return p_->memberFxn(a_.wParam, a_.lParam);)

// Window messages with the classic handler names and signatures.
#define ON_WM_CREATE()                                                                                       \
    AFX_MSG_ENTRY_(WM_CREATE, 0, 0, 0, 0, nullptr,                                                           \
                   return p_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(a_.lParam));)
#define ON_WM_DESTROY() AFX_MSG_ENTRY_(WM_DESTROY, 0, 0, 0, 0, nullptr, p_->OnDestroy(); return 0;)
#define ON_WM_CLOSE() AFX_MSG_ENTRY_(WM_CLOSE, 0, 0, 0, 0, nullptr, p_->OnClose(); return 0;)
#define ON_WM_PAINT() AFX_MSG_ENTRY_(WM_PAINT, 0, 0, 0, 0, nullptr, p_->OnPaint(); return 0;)
#define ON_WM_TIMER()                                                                                        \
    AFX_MSG_ENTRY_(WM_TIMER, 0, 0, 0, 0, nullptr, p_->OnTimer(static_cast<UINT_PTR>(a_.wParam)); return 0;)
#define ON_WM_SHOWWINDOW()                                                                                   \
    AFX_MSG_ENTRY_(WM_SHOWWINDOW, 0, 0, 0, 0, nullptr,                                                       \
                   p_->OnShowWindow(static_cast<BOOL>(a_.wParam), static_cast<UINT>(a_.lParam));             \
                   return 0;)
#define ON_WM_DEVICECHANGE()                                                                                 \
    AFX_MSG_ENTRY_(                                                                                          \
        WM_DEVICECHANGE, 0, 0, 0, 0, nullptr,                                                                \
        return p_->OnDeviceChange(static_cast<UINT>(a_.wParam), static_cast<DWORD_PTR>(a_.lParam));)
#define ON_WM_HSCROLL()                                                                                      \
    AFX_MSG_ENTRY_(                                                                                          \
        WM_HSCROLL, 0, 0, 0, 0, nullptr,                                                                     \
        p_->OnHScroll(LOWORD(a_.wParam), HIWORD(a_.wParam),                                                  \
                      static_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(a_.lParam))));        \
        return 0;)
#define ON_WM_VSCROLL()                                                                                      \
    AFX_MSG_ENTRY_(                                                                                          \
        WM_VSCROLL, 0, 0, 0, 0, nullptr,                                                                     \
        p_->OnVScroll(LOWORD(a_.wParam), HIWORD(a_.wParam),                                                  \
                      static_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(a_.lParam))));        \
        return 0;)
#define ON_WM_CTLCOLOR()                                                                                     \
    AFX_MSG_ENTRY_(                                                                                          \
        WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, 0, 0, 0, nullptr,                                              \
        return reinterpret_cast<LRESULT>(p_->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(a_.wParam)),   \
                                                        CWnd::FromHandle(reinterpret_cast<HWND>(a_.lParam)), \
                                                        a_.message - WM_CTLCOLORMSGBOX));)
#define ON_WM_HELPINFO()                                                                                     \
    AFX_MSG_ENTRY_(WM_HELP, 0, 0, 0, 0, nullptr,                                                             \
                   return p_->OnHelpInfo(reinterpret_cast<HELPINFO*>(a_.lParam));)
