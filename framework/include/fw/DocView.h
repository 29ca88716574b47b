// The document/view scaffolding of a single-document template: an empty document and a view window inside the
// frame. The program's document and view hold nothing; they exist because the template needs them.
#pragma once
#include "fw/FrameWnd.h"

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    virtual BOOL OnNewDocument();
    virtual void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    const CString& GetTitle() const { return m_strTitle; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

private:
    friend class CSingleDocTemplate;
    CString m_strTitle;
    CDocTemplate* m_pDocTemplate = nullptr;
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CDocument* GetDocument() const { return m_pDocument; }
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnInitialUpdate() {}

protected:
    void PostNcDestroy() override;

private:
    friend class CFrameWnd;
    CDocument* m_pDocument = nullptr;
};

class CCommandLineInfo : public CObject {
public:
    enum { FileNew, FileOpen, FileNothing = -1 } m_nShellCommand = FileNew;
    CString m_strFileName;
    virtual void ParseParam(LPCTSTR lpszParam, BOOL bFlag, BOOL bLast);
};

class CDocTemplate : public CCmdTarget {
public:
    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);
    ~CDocTemplate() override;
    // Creates a document and its frame; NULL when one of them cannot be made.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;

protected:
    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
};

// One document at a time, with one frame. The template owns the document it created.
class CSingleDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;

private:
    CDocument* m_pOnlyDoc = nullptr;
};
