// Worker threads. AfxBeginThread starts a thread that runs the given function; when the function returns
// (or the thread calls AfxEndThread), the thread object deletes itself. That self-deletion is the classic
// contract: the returned pointer is valid only while the thread runs.
#pragma once
#include "fw/CmdTarget.h"

class CWnd;

typedef UINT(AFXAPI* AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget {
public:
    CWinThread() = default;
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
        : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}
    ~CWinThread() override;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    CWnd* m_pMainWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;

    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    virtual BOOL PreTranslateMessage(MSG* pMsg);

private:
    static DWORD WINAPI ThreadEntry(LPVOID pThread);

    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
};

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                  int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                  DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Ends the calling worker thread; its thread object is deleted first when bDelete is TRUE.
void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
