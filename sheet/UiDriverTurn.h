// The user interface's turn at the driver, one scope long: the side of the hand-shake with the card monitor
// thread that every page handler talking to the driver takes.
#pragma once
#include <win32api.h>

class CConfigUtility;

// Made, it resets the sheet's m_hUiIdle (the user interface wants the driver) and then waits at most
// HANDSHAKE_WAIT_LIMIT ms for m_hMonitorIdle (the monitor thread has finished its cycle; a time-out is no
// error and the handler goes on). Gone, it sets m_hUiIdle again, on every way out of the scope, so an early
// return can never hold the monitor thread back on its later cycles. Requests and anything else that must
// come before m_hUiIdle is set again belong inside the scope.
class CUiDriverTurn {
public:
    explicit CUiDriverTurn(const CConfigUtility* pSheet);
    ~CUiDriverTurn();
    CUiDriverTurn(const CUiDriverTurn&) = delete;
    CUiDriverTurn& operator=(const CUiDriverTurn&) = delete;

private:
    HANDLE m_hUiIdle;
};
