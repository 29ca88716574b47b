#include "fw/Wnd.h"

#include <string>
#include <unordered_map>

#include "core/Backend.h"
#include "core/ThreadState.h"
#include "fw/Button.h"
#include "fw/ComboBox.h"
#include "fw/DataExchange.h"
#include "fw/Edit.h"
#include "fw/ListCtrl.h"
#include "fw/ProgressCtrl.h"
#include "fw/SliderCtrl.h"
#include "fw/Static.h"
#include "fw/TabCtrl.h"
#include "fw/GdiObjects.h"
#include "fw/WinApp.h"
#include "threads/Mutex.h"
#include "threads/ThreadSlot.h"

namespace {

// Window objects attached to their windows, for every thread: another thread may reach a window object of
// the user-interface thread (the card monitor ends the sheet's modal loop).
struct PermanentMap {
    threads::Mutex mutex;
    std::unordered_map<HWND, CWnd*> objects;
};

// Never destroyed: a thread's framework state, with the window objects in it, may be destroyed after the
// process's statics (on Windows the first thread's state goes when the process ends), and window objects look
// here when they go.
PermanentMap& Permanent() {
    static PermanentMap* const map = new PermanentMap;
    return *map;
}

// A temporary object of the class that fits the window's class, so that program code may treat what
// GetDlgItem returns as the control it is (a CComboBox for a combo box).
std::unique_ptr<CWnd> MakeTemporary(HWND hWnd) {
    char name[64] = "";
    ::GetClassNameA(hWnd, name, static_cast<int>(sizeof name));
    std::string kind = name;
    for (char& c : kind)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    std::unique_ptr<CWnd> object;
    if (kind == "button")
        object = std::make_unique<CButton>();
    else if (kind == "edit")
        object = std::make_unique<CEdit>();
    else if (kind == "static")
        object = std::make_unique<CStatic>();
    else if (kind == "combobox")
        object = std::make_unique<CComboBox>();
    else if (kind == "syslistview32")
        object = std::make_unique<CListCtrl>();
    else if (kind == "msctls_trackbar32")
        object = std::make_unique<CSliderCtrl>();
    else if (kind == "msctls_progress32")
        object = std::make_unique<CProgressCtrl>();
    else if (kind == "systabcontrol32")
        object = std::make_unique<CTabCtrl>();
    else if (kind == "scrollbar")
        object = std::make_unique<CScrollBar>();
    else
        object = std::make_unique<CWnd>();
    object->m_hWnd = hWnd;
    return object;
}

LRESULT CALLBACK CreateHook(int code, WPARAM wParam, LPARAM lParam) {
    fw::ThreadState& state = fw::GetThreadState();
    if (code == HCBT_CREATEWND && state.hookTarget != nullptr) {
        CWnd* target = state.hookTarget;
        state.hookTarget = nullptr;
        target->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(state.hook, code, wParam, lParam);
}

} // namespace

namespace fw {
ThreadState& GetThreadState() {
    static threads::ThreadLocal<ThreadState> state;
    return state.Get();
}

void DeleteTemporaryWindows() {
    GetThreadState().temporaries.clear();
}
} // namespace fw

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd* AfxGetNoWindow() {
    return &fw::GetThreadState().noWindow;
}

CWnd::~CWnd() {
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
        if (::IsWindow(m_hWnd) && ::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId())
            ::DestroyWindow(m_hWnd);
        if (m_hWnd != nullptr)
            Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    PermanentMap& map = Permanent();
    threads::Lock lock(map.mutex);
    auto it = map.objects.find(hWnd);
    return it != map.objects.end() ? it->second : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hWnd))
        return permanent;
    auto& temporaries = fw::GetThreadState().temporaries;
    auto& slot = temporaries[hWnd];
    if (!slot)
        slot = MakeTemporary(hWnd);
    return slot.get();
}

BOOL CWnd::Attach(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    PermanentMap& map = Permanent();
    threads::Lock lock(map.mutex);
    if (map.objects.count(hWnd) != 0)
        return FALSE;
    map.objects[hWnd] = this;
    m_hWnd = hWnd;
    fw::GetThreadState().temporaries.erase(hWnd);
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        PermanentMap& map = Permanent();
        threads::Lock lock(map.mutex);
        auto it = map.objects.find(hWnd);
        if (it != map.objects.end() && it->second == this)
            map.objects.erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) {
        fw::GetBackend().ReportFailure("a window object cannot be attached twice, nor to no window");
        return FALSE;
    }
    PreSubclassWindow();
    WNDPROC old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WndProc)));
    m_pfnSuper = old != &CWnd::WndProc ? old : nullptr;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND hWnd = pParent != nullptr ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
    if (hWnd == nullptr) {
        fw::GetBackend().ReportFailure("no control with id " + std::to_string(nID) + " to attach to");
        return FALSE;
    }
    return SubclassWindow(hWnd);
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd != nullptr && m_pfnSuper != nullptr)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

void CWnd::HookWindowCreate() {
    fw::ThreadState& state = fw::GetThreadState();
    state.hookTarget = this;
    if (state.hook == nullptr)
        state.hook = ::SetWindowsHookExA(WH_CBT, &CreateHook, nullptr, ::GetCurrentThreadId());
}

BOOL CWnd::UnhookWindowCreate() {
    fw::ThreadState& state = fw::GetThreadState();
    BOOL attached = state.hookTarget == nullptr;
    state.hookTarget = nullptr;
    if (state.hook != nullptr) {
        ::UnhookWindowsHookEx(state.hook);
        state.hook = nullptr;
    }
    return attached;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, void*) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    CREATESTRUCT cs{lpParam, AfxGetInstanceHandle(),     nIDorHMenu,     hWndParent,    nHeight,  nWidth, y,
                    x,       static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
    if (!PreCreateWindow(cs))
        return FALSE;
    HookWindowCreate();
    HWND hWnd =
        ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                          cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    UnhookWindowCreate();
    return hWnd != nullptr && m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CWnd::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    fw::ThreadState& state = fw::GetThreadState();
    MSG saved = state.current;
    state.current = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = pWnd->WindowProc(message, wParam, lParam);
    state.current = saved;
    if (message == WM_NCDESTROY)
        pWnd->OnNcDestroy();
    return result;
}

void CWnd::OnNcDestroy() {
    HWND hWnd = m_hWnd;
    m_pfnSuper = nullptr;
    Detach();
    fw::GetThreadState().temporaries.erase(hWnd);
    CWinThread* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    PostNcDestroy();
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (lParam == 0 || !OnNotify(wParam, lParam, &result))
            return FALSE;
        *pResult = result;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
    if (entry == nullptr)
        return FALSE;
    AFX_MSGARGS args{message, wParam, lParam, 0, pResult};
    *pResult = entry->pfnCall(this, args);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam != 0 && fw::GetThreadState().lockoutNotifyWindow == m_hWnd)
        return TRUE; // a control notification caused by this window's own data exchange
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    const AFX_MSGMAP_ENTRY* entry =
        FindMessageEntry(WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom));
    if (entry == nullptr)
        return FALSE;
    AFX_MSGARGS args{WM_NOTIFY, static_cast<WPARAM>(header->idFrom), lParam,
                     static_cast<UINT>(header->idFrom), pResult};
    entry->pfnCall(this, args);
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& current = fw::GetThreadState().current;
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    if (m_hWnd == nullptr)
        return FALSE;
    fw::ThreadState& state = fw::GetThreadState();
    const HWND hOldLockout = state.lockoutNotifyWindow;
    state.lockoutNotifyWindow = m_hWnd;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    state.lockoutNotifyWindow = hOldLockout;
    return !dx.m_bFailed;
}

void CWnd::PrepareModalLoop() {
    m_nModalResult = -1;
    m_bContinueModal = true;
}

int CWnd::RunModalLoop() {
    MSG msg{};
    while (ContinueModal()) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT ends the loop and goes on to the application's loop, as on Windows.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            break;
        BOOL translated = FALSE;
        for (HWND h = msg.hwnd; h != nullptr && !translated; h = ::GetParent(h)) {
            CWnd* target = FromHandlePermanent(h);
            if (target != nullptr)
                translated = target->PreTranslateMessage(&msg);
            if (h == m_hWnd)
                break;
        }
        if (!translated) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_bContinueModal = false;
    return m_nModalResult;
}

void CWnd::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    m_bContinueModal = false;
    // Wakes the loop if it waits for a message; the loop may belong to another thread.
    if (m_hWnd != nullptr)
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

BOOL CWnd::ContinueModal() {
    return m_bContinueModal;
}

// Default handlers.
int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
BOOL CWnd::OnDeviceChange(UINT, DWORD_PTR) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {
    Default();
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}
BOOL CWnd::OnHelpInfo(HELPINFO*) {
    return static_cast<BOOL>(Default());
}
