#include "fw/WinThread.h"

#include "fw/Wnd.h"
#include "threads/ThreadSlot.h"

namespace {

// The thread object of the calling worker thread; none on other threads.
threads::ThreadSlot& CurrentSlot() {
    static threads::ThreadSlot slot;
    return slot;
}

CWinThread* CurrentThread() {
    return static_cast<CWinThread*>(CurrentSlot().Get());
}

void SetCurrentThread(CWinThread* thread) {
    CurrentSlot().Set(thread);
}

} // namespace

CWinThread::~CWinThread() {
    if (CurrentThread() == this)
        SetCurrentThread(nullptr);
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
    SetCurrentThread(thread);
    UINT exitCode = thread->m_pfnThreadProc != nullptr ? thread->m_pfnThreadProc(thread->m_pThreadParams) : 0;
    // The function returned: the same end as AfxEndThread, without leaving through ExitThread.
    CWinThread* current = CurrentThread();
    if (current != nullptr && current->m_bAutoDelete)
        delete current;
    SetCurrentThread(nullptr);
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
    CWinThread* thread = CurrentThread();
    if (thread != nullptr && bDelete && thread->m_bAutoDelete)
        delete thread;
    SetCurrentThread(nullptr);
    ::ExitThread(nExitCode);
}
