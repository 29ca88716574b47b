#include "MessageQueue.h"

#include <deque>
#include <map>
#include <memory>
#include <vector>

#include <hostsim/Clock.h>
#include <hostsim/HeapScope.h>

#include "WindowTable.h"
#include "WindowTrace.h"

namespace hostui::detail {
namespace {

struct SentMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool done = false;
};

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    std::uint64_t due;
    TIMERPROC proc;
};

struct ThreadQueue {
    std::deque<MSG> posted;
    std::deque<SentMessage*> sent;
    std::vector<Timer> timers;
    bool quit = false;
    int quitCode = 0;
};

// Every queue lives as long as the process; the scheduler lock guards them all. The queues and timers are the
// window system's, not the program's heap: their memory is taken inside NotProgramHeap scopes.
std::map<DWORD, std::unique_ptr<ThreadQueue>>& Queues() {
    static auto* queues = new std::map<DWORD, std::unique_ptr<ThreadQueue>>;
    return *queues;
}

ThreadQueue& QueueOf(DWORD threadId) {
    const hostsim::NotProgramHeap system;
    auto& slot = Queues()[threadId];
    if (!slot)
        slot = std::make_unique<ThreadQueue>();
    return *slot;
}

LRESULT CallProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = nullptr;
    {
        std::lock_guard<std::recursive_mutex> lock(TableMutex());
        Window* w = FindWindowRecord(hwnd);
        if (w == nullptr)
            return 0;
        proc = w->proc;
    }
    return proc != nullptr ? proc(hwnd, message, wParam, lParam) : 0;
}

// Runs one message sent by another thread; called with the scheduler lock held, which it lets go meanwhile.
void ServeOneSent(std::unique_lock<std::mutex>& lock, ThreadQueue& queue) {
    SentMessage* sent = queue.sent.front();
    queue.sent.pop_front();
    lock.unlock();
    LRESULT result = CallProcedure(sent->hwnd, sent->message, sent->wParam, sent->lParam);
    lock.lock();
    sent->result = result;
    sent->done = true;
    hostsim::NotifyChange(lock);
}

bool Matches(const MSG& msg, HWND hwnd, UINT first, UINT last) {
    if (hwnd != nullptr && msg.hwnd != hwnd)
        return false;
    if (first == 0 && last == 0)
        return true;
    return msg.message >= first && msg.message <= last;
}

// Takes the next message for GetMessage/PeekMessage; false when there is none now. Serves sent messages
// first. `deadline` gets the earliest timer.
bool TakeMessage(std::unique_lock<std::mutex>& lock, ThreadQueue& queue, MSG* msg, HWND hwnd, UINT first,
                 UINT last, bool remove, std::uint64_t* deadline) {
    while (!queue.sent.empty())
        ServeOneSent(lock, queue);
    for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
        if (Matches(*it, hwnd, first, last)) {
            *msg = *it;
            if (remove)
                queue.posted.erase(it);
            return true;
        }
    }
    if (queue.quit && hwnd == nullptr) {
        *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, 0, {0, 0}};
        if (remove)
            queue.quit = false;
        return true;
    }
    std::uint64_t now = hostsim::NowMs();
    Timer* dueTimer = nullptr;
    *deadline = hostsim::kNoDeadline;
    for (Timer& timer : queue.timers) {
        if (hwnd != nullptr && timer.hwnd != hwnd)
            continue;
        if (timer.due <= now && (dueTimer == nullptr || timer.due < dueTimer->due))
            dueTimer = &timer;
        if (timer.due < *deadline)
            *deadline = timer.due;
    }
    if (dueTimer != nullptr && Matches(MSG{dueTimer->hwnd, WM_TIMER, 0, 0, 0, {0, 0}}, hwnd, first, last)) {
        *msg = MSG{dueTimer->hwnd,          WM_TIMER, dueTimer->id, reinterpret_cast<LPARAM>(dueTimer->proc),
                   static_cast<DWORD>(now), {0, 0}};
        // Like Windows, the next tick counts from when this one was taken.
        if (remove)
            dueTimer->due = now + dueTimer->period;
        return true;
    }
    return false;
}

DWORD ThreadOfWindow(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    Window* w = FindWindowRecord(hwnd);
    return w != nullptr ? w->threadId : 0;
}

} // namespace

void RemoveWindowTimers(HWND hwnd) {
    auto lock = hostsim::LockScheduler();
    for (auto& entry : Queues()) {
        auto& timers = entry.second->timers;
        for (auto it = timers.begin(); it != timers.end();)
            it = it->hwnd == hwnd ? timers.erase(it) : it + 1;
    }
}

std::vector<std::pair<UINT_PTR, UINT>> TimersOf(HWND hwnd) {
    auto lock = hostsim::LockScheduler();
    std::vector<std::pair<UINT_PTR, UINT>> result;
    for (auto& entry : Queues()) {
        for (const Timer& timer : entry.second->timers) {
            if (timer.hwnd == hwnd)
                result.emplace_back(timer.id, timer.period);
        }
    }
    return result;
}

void ResetQueues() {
    auto lock = hostsim::LockScheduler();
    for (auto& entry : Queues()) {
        entry.second->posted.clear();
        entry.second->timers.clear();
        entry.second->quit = false;
    }
}

} // namespace hostui::detail

using namespace hostui::detail;

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    DWORD target = ThreadOfWindow(hWnd);
    if (target == 0) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    DWORD self = ::GetCurrentThreadId();
    if (target == self)
        return CallProcedure(hWnd, Msg, wParam, lParam);
    // Another thread's window: the message waits in that thread's queue until it takes messages; meanwhile
    // this thread answers messages sent to it, as Windows does.
    SentMessage sent{hWnd, Msg, wParam, lParam};
    auto lock = hostsim::LockScheduler();
    ThreadQueue& targetQueue = QueueOf(target);
    ThreadQueue& ownQueue = QueueOf(self);
    {
        const hostsim::NotProgramHeap system;
        targetQueue.sent.push_back(&sent);
    }
    hostsim::NotifyChange(lock);
    while (!sent.done) {
        auto ready = [&] { return sent.done || !ownQueue.sent.empty(); };
        hostsim::BlockUntil(lock, ready, hostsim::kNoDeadline, "SendMessage");
        while (!sent.done && !ownQueue.sent.empty())
            ServeOneSent(lock, ownQueue);
    }
    return sent.result;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd == nullptr)
        return PostThreadMessageA(::GetCurrentThreadId(), Msg, wParam, lParam);
    DWORD target = ThreadOfWindow(hWnd);
    if (target == 0) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    auto lock = hostsim::LockScheduler();
    const hostsim::NotProgramHeap system;
    QueueOf(target).posted.push_back(
        MSG{hWnd, Msg, wParam, lParam, static_cast<DWORD>(hostsim::NowMs()), {0, 0}});
    hostsim::NotifyChange(lock);
    return TRUE;
}

BOOL WINAPI PostThreadMessageA(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
    auto lock = hostsim::LockScheduler();
    const hostsim::NotProgramHeap system;
    QueueOf(idThread).posted.push_back(
        MSG{nullptr, Msg, wParam, lParam, static_cast<DWORD>(hostsim::NowMs()), {0, 0}});
    hostsim::NotifyChange(lock);
    return TRUE;
}

VOID WINAPI PostQuitMessage(int nExitCode) {
    auto lock = hostsim::LockScheduler();
    ThreadQueue& queue = QueueOf(::GetCurrentThreadId());
    queue.quit = true;
    queue.quitCode = nExitCode;
    hostsim::NotifyChange(lock);
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (lpMsg == nullptr)
        return -1;
    auto lock = hostsim::LockScheduler();
    ThreadQueue& queue = QueueOf(::GetCurrentThreadId());
    for (;;) {
        std::uint64_t deadline = hostsim::kNoDeadline;
        if (TakeMessage(lock, queue, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true, &deadline))
            return lpMsg->message != WM_QUIT;
        auto ready = [&] { return !queue.sent.empty() || !queue.posted.empty() || queue.quit; };
        hostsim::BlockUntil(lock, ready, deadline, "GetMessage");
    }
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (lpMsg == nullptr)
        return FALSE;
    auto lock = hostsim::LockScheduler();
    ThreadQueue& queue = QueueOf(::GetCurrentThreadId());
    std::uint64_t deadline = hostsim::kNoDeadline;
    return TakeMessage(lock, queue, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0,
                       &deadline);
}

BOOL WINAPI TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (lpMsg == nullptr)
        return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam != 0) {
        reinterpret_cast<TIMERPROC>(lpMsg->lParam)(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, lpMsg->time);
        return 0;
    }
    if (lpMsg->hwnd == nullptr || !::IsWindow(lpMsg->hwnd))
        return 0;
    return CallProcedure(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

namespace {
UINT_PTR StartTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
BOOL StopTimer(HWND hWnd, UINT_PTR uIDEvent);
} // namespace

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    const UINT_PTR id = StartTimer(hWnd, nIDEvent, uElapse, lpTimerFunc);
    if (WindowTraceOn())
        TraceWindow("SetTimer(" + DescribeWindow(hWnd) + ", " + std::to_string(nIDEvent) + ", " +
                    std::to_string(uElapse) + " ms) -> " + std::to_string(id));
    return id;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    const BOOL done = StopTimer(hWnd, uIDEvent);
    if (WindowTraceOn())
        TraceWindow("KillTimer(" + DescribeWindow(hWnd) + ", " + std::to_string(uIDEvent) + ") -> " +
                    (done ? "TRUE" : "FALSE"));
    return done;
}

namespace {
UINT_PTR StartTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    DWORD self = ::GetCurrentThreadId();
    if (hWnd != nullptr) {
        DWORD owner = ThreadOfWindow(hWnd);
        if (owner == 0) {
            ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        if (owner != self) {
            ::SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
    }
    UINT period = uElapse < 10 ? 10 : uElapse;
    auto lock = hostsim::LockScheduler();
    const hostsim::NotProgramHeap system;
    ThreadQueue& queue = QueueOf(self);
    static UINT_PTR s_nextTimerId = 0x7FF0;
    if (hWnd == nullptr)
        nIDEvent = ++s_nextTimerId;
    for (Timer& timer : queue.timers) {
        if (timer.hwnd == hWnd && timer.id == nIDEvent) {
            timer.period = period;
            timer.due = hostsim::NowMs() + period;
            timer.proc = lpTimerFunc;
            return nIDEvent != 0 ? nIDEvent : 1;
        }
    }
    queue.timers.push_back(Timer{hWnd, nIDEvent, period, hostsim::NowMs() + period, lpTimerFunc});
    return nIDEvent != 0 ? nIDEvent : 1;
}

BOOL StopTimer(HWND hWnd, UINT_PTR uIDEvent) {
    auto lock = hostsim::LockScheduler();
    ThreadQueue& queue = QueueOf(::GetCurrentThreadId());
    for (auto it = queue.timers.begin(); it != queue.timers.end(); ++it) {
        if (it->hwnd == hWnd && it->id == uIDEvent) {
            queue.timers.erase(it);
            // A tick already taken from the queue is not delivered any more.
            return TRUE;
        }
    }
    return FALSE;
}
} // namespace
