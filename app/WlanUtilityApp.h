// CWlanUtilityApp: the application object. It starts the hidden main frame (which makes the sheet object and
// starts the card monitor thread), keeps a second copy from running, and works out the Windows kind.
#pragma once
#include "fw/Framework.h"

class CWlanUtilityApp : public CWinApp {
public:
    CWlanUtilityApp() = default;
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

// The one application object; the framework's entry point finds it through AfxGetApp.
extern CWlanUtilityApp theApp;
