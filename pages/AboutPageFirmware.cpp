// The card's firmware version as the About page shows it.
#include "adapter/NdisRequests.h"
#include "pages/AboutPage.h"

CString CAboutPage::FormatFirmwareVersion(const BYTE* pbAnswer, DWORD cbAnswer) {
    if (cbAnswer != FIRMWARE_VERSION_SIZE)
        return "---";
    CString strVersion;
    strVersion.Format("%d.%02d.%02d.%02d", pbAnswer[2], pbAnswer[1], pbAnswer[0], pbAnswer[3]);
    return strVersion;
}
