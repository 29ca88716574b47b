// Device notifications to the main frame: the card arriving and going, and changes of the device tree.
#include "app/MainFrame.h"

#include <cstring>

#include "app/DeviceIdentifier.h"
#include "common/Globals.h"
#include "sheet/ConfigUtility.h"

namespace {

const char s_szCardHardwareId[] = "PCI\\VEN_1260&DEV_3873&SUBSYS_5E0C7A93";

BOOL IsTheCard(DWORD_PTR dwData) {
    char szIdentifier[DEVICE_IDENTIFIER_SIZE];
    if (!GetDeviceIdentifier(dwData, szIdentifier, sizeof(szIdentifier)))
        return FALSE;
    for (char* pch = szIdentifier; *pch != '\0'; ++pch)
        if (*pch >= 'a' && *pch <= 'z')
            *pch = (char)(*pch - 'a' + 'A');
    return std::strstr(szIdentifier, s_szCardHardwareId) != nullptr;
}

} // namespace

BOOL CMainFrame::OnDeviceChange(UINT nEventType, DWORD_PTR dwData) {
    switch (nEventType) {
    case DBT_DEVNODES_CHANGED:
        g_bRecheckCard = 1;
        break;
    case DBT_DEVICEARRIVAL:
        if (IsTheCard(dwData)) {
            TrayAdd(TRAY_ICON_NOT_CONNECTED);
            g_bCardPresent = 1;
        }
        break;
    case DBT_DEVICEREMOVECOMPLETE:
        if (IsTheCard(dwData)) {
            g_bCardPresent = 0;
            CConfigUtility* pSheet = g_pConfigSheet;
            if (pSheet != nullptr) {
                if (g_bSheetActive == 1)
                    pSheet->CloseSheetWindow(IDOK);
                pSheet->m_Adapter.CloseAdapter();
            }
            TrayDelete();
            if (pSheet != nullptr)
                pSheet->m_wLastLinkState = LINK_STATE_UNKNOWN;
        }
        break;
    default:
        break;
    }
    return TRUE;
}
