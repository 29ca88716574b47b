// Status bar and tool bar objects: a frame may carry them as members without ever creating their windows.
#pragma once
#include "fw/Wnd.h"

class CControlBar : public CWnd {};
class CStatusBar : public CControlBar {};
class CToolBar : public CControlBar {};
