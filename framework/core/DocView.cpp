#include "fw/DocView.h"

#include "core/Backend.h"
#include "fw/GdiObjects.h"
#include "fw/WinApp.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CView, CWnd)

BOOL CDocument::OnNewDocument() {
    m_strTitle.Empty();
    return TRUE;
}

void CView::PostNcDestroy() {
    // Views are created by their frame and delete themselves with their window (the classic contract).
    delete this;
}

void CCommandLineInfo::ParseParam(LPCTSTR lpszParam, BOOL bFlag, BOOL) {
    if (!bFlag) {
        m_strFileName = lpszParam;
        m_nShellCommand = FileOpen;
    }
}

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() = default;

CSingleDocTemplate::~CSingleDocTemplate() {
    delete m_pOnlyDoc;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR, BOOL bMakeVisible) {
    if (m_pOnlyDoc != nullptr)
        return m_pOnlyDoc->OnNewDocument() ? m_pOnlyDoc : nullptr;
    CDocument* doc = m_pDocClass != nullptr ? static_cast<CDocument*>(m_pDocClass->CreateObject()) : nullptr;
    CFrameWnd* frame =
        m_pFrameClass != nullptr ? static_cast<CFrameWnd*>(m_pFrameClass->CreateObject()) : nullptr;
    if (doc == nullptr || frame == nullptr) {
        fw::GetBackend().ReportFailure("the document or frame class cannot be created");
        delete doc;
        delete frame;
        return nullptr;
    }
    doc->m_pDocTemplate = this;
    m_pOnlyDoc = doc;
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = doc;
    context.m_pNewDocTemplate = this;
    // A frame whose window was created deletes itself when the window goes (also when its OnCreate fails).
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    if (!doc->OnNewDocument()) {
        frame->DestroyWindow();
        return nullptr;
    }
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == nullptr)
        app->m_pMainWnd = frame;
    frame->InitialUpdateFrame(doc, bMakeVisible);
    return doc;
}
