#include "sheet/UiDriverTurn.h"

#include "sheet/ConfigUtility.h"

CUiDriverTurn::CUiDriverTurn(const CConfigUtility* pSheet) : m_hUiIdle(pSheet->m_hUiIdle) {
    ::ResetEvent(m_hUiIdle);
    ::WaitForSingleObject(pSheet->m_hMonitorIdle, HANDSHAKE_WAIT_LIMIT);
}

CUiDriverTurn::~CUiDriverTurn() {
    ::SetEvent(m_hUiIdle);
}
