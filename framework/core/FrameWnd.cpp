#include "fw/FrameWnd.h"

#include "core/Backend.h"
#include "fw/DocView.h"
#include "fw/WinApp.h"

namespace {
const char kFrameClass[] = "FwFrame";
const char kViewClass[] = "FwView";

// The window classes of frames and views; the framework's window procedure takes over when the object
// attaches at creation.
bool RegisterFrameClasses(UINT nIDIcon) {
    WNDCLASSA existing{};
    HINSTANCE module = AfxGetInstanceHandle();
    if (::GetClassInfoA(module, kFrameClass, &existing))
        return true;
    WNDCLASSA frame{};
    frame.lpfnWndProc = &::DefWindowProcA;
    frame.hInstance = module;
    frame.hIcon = ::LoadIconA(module, MAKEINTRESOURCEA(nIDIcon));
    frame.lpszClassName = kFrameClass;
    WNDCLASSA view{};
    view.lpfnWndProc = &::DefWindowProcA;
    view.hInstance = module;
    view.lpszClassName = kViewClass;
    return ::RegisterClassA(&frame) != 0 && ::RegisterClassA(&view) != 0;
}
} // namespace

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
END_MESSAGE_MAP()

const RECT CFrameWnd::rectDefault = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR, DWORD dwExStyle, CCreateContext* pContext) {
    if (pContext != nullptr)
        m_context = *pContext;
    // rectDefault asks the system for position and size (its left and top are CW_USEDEFAULT).
    const bool useDefault = rect.left == CW_USEDEFAULT;
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    useDefault ? CW_USEDEFAULT : rect.right - rect.left,
                    useDefault ? CW_USEDEFAULT : rect.bottom - rect.top,
                    pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, nullptr, pContext);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
    if (!RegisterFrameClasses(nIDResource)) {
        fw::GetBackend().ReportFailure("the frame window class cannot be registered");
        return FALSE;
    }
    return Create(kFrameClass, AfxGetAppName(), dwDefaultStyle & ~FWS_ADDTOTITLE, rectDefault, pParentWnd,
                  nullptr, 0, pContext);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT) {
    if (m_context.m_pNewViewClass == nullptr)
        return 0;
    CView* view = static_cast<CView*>(m_context.m_pNewViewClass->CreateObject());
    if (view == nullptr) {
        fw::GetBackend().ReportFailure("the view class cannot be created");
        return -1;
    }
    view->m_pDocument = m_context.m_pCurrentDoc;
    RECT none{0, 0, 0, 0};
    // A view deletes itself with its window (CView::PostNcDestroy).
    if (!view->Create(kViewClass, "", WS_CHILD | WS_VISIBLE, none, this, AFX_IDW_PANE_FIRST)) {
        delete view;
        return -1;
    }
    m_pViewActive = view;
    return 0;
}

void CFrameWnd::OnClose() {
    DestroyWindow();
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Commands go to the view, then the frame, then the application.
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(LOWORD(wParam), HIWORD(wParam)))
        return TRUE;
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) {
        CWinApp* app = AfxGetApp();
        nCmdShow = app != nullptr && app->m_pMainWnd == this ? app->m_nCmdShow : SW_SHOW;
    }
    ShowWindow(nCmdShow);
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible) {
    if (m_pViewActive != nullptr)
        m_pViewActive->OnInitialUpdate();
    if (bMakeVisible)
        ActivateFrame(-1);
}

CDocument* CFrameWnd::GetActiveDocument() const {
    return m_pViewActive != nullptr ? m_pViewActive->GetDocument() : m_context.m_pCurrentDoc;
}

void CFrameWnd::PostNcDestroy() {
    // Frames are created by their template and delete themselves with their window (the classic contract).
    delete this;
}
