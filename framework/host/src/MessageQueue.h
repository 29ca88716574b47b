// The message queue of each thread, on the one clock: posted messages, messages sent from other threads,
// timers and the quit request. A thread waiting for a message blocks on the clock, so virtual time moves on
// to the next timer when every program thread waits.
#pragma once
#include <utility>
#include <vector>

#include <win32api.h>

namespace hostui::detail {

void RemoveWindowTimers(HWND hwnd);
void ResetQueues();
std::vector<std::pair<UINT_PTR, UINT>> TimersOf(HWND hwnd);

} // namespace hostui::detail
