#include "fw/WinThread.h"

#include "fw/Wnd.h"

namespace {
thread_local CWinThread* t_currentThread = nullptr;
}

CWinThread::~CWinThread() {
    if (t_currentThread == this)
        t_currentThread = nullptr;
    if (m_hThread != nullptr)
        ::CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    m_hThread = ::CreateThread(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this, dwCreateFlags,
                               &m_nThreadID);
    return m_hThread != nullptr;
}

BOOL CWinThread::PreTranslateMessage(MSG*) {
    return FALSE;
}

DWORD WINAPI CWinThread::ThreadEntry(LPVOID pThread) {
    CWinThread* thread = static_cast<CWinThread*>(pThread);
    t_currentThread = thread;
    UINT exitCode = thread->m_pfnThreadProc != nullptr ? thread->m_pfnThreadProc(thread->m_pThreadParams) : 0;
    // The function returned: the same end as AfxEndThread, without leaving through ExitThread.
    if (t_currentThread != nullptr && t_currentThread->m_bAutoDelete)
        delete t_currentThread;
    t_currentThread = nullptr;
    return exitCode;
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    (void)nPriority;
    // Self-deleting by the classic contract (see WinThread.h).
    CWinThread* thread = new CWinThread(pfnThreadProc, pParam);
    if (!thread->CreateThread(dwCreateFlags, nStackSize, lpSecurityAttrs)) {
        delete thread;
        return nullptr;
    }
    return thread;
}

void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete) {
    CWinThread* thread = t_currentThread;
    if (thread != nullptr && bDelete && thread->m_bAutoDelete)
        delete thread;
    t_currentThread = nullptr;
    ::ExitThread(nExitCode);
}
