// CScrollBar: what a scroll handler is told the message came from (a slider, for the pages).
#pragma once
#include "fw/Wnd.h"

class CScrollBar : public CWnd {};
