// The About page. Everything is read when the tab is shown: the firmware version from the card, the driver
// file's version from disk; nothing runs while the page is not active.
#include "pages/AboutPage.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "adapter/NdisRequests.h"
#include "common/Globals.h"
#include "sheet/ConfigUtility.h"
#include "sheet/UiDriverTurn.h"

namespace {

enum {
    PLATFORM_WIN32_WINDOWS = 1,
    PLATFORM_WIN32_NT = 2,
    SYSTEM_DIRECTORY_SIZE = 260,
};

// The utility's own version, the same as its version resource.
const int s_aUtilityVersion[4] = {2, 96, 0, 1};

// The card's driver file: in the drivers folder of the system directory on the NT family, found by its bare
// name (the loader's search) on Windows 95/98/Me.
const char s_szNtDriverFolder[] = "\\Drivers\\";
const char s_szNtDriverName[] = "DAVARIVU";
const char s_szNtDriverExtension[] = ".SYS";
const char s_sz9xDriverFile[] = "DIZOZUVA.ROR";

} // namespace

BEGIN_MESSAGE_MAP(CAboutPage, CPropertyPage)
ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
ON_BN_CLICKED(IDC_ABOUT_WEB_LINK, OnWebLink)
ON_WM_CTLCOLOR()
ON_WM_PAINT()
END_MESSAGE_MAP()

CAboutPage::CAboutPage()
    : CPropertyPage(IDD), m_bLinkFontCreated(0), m_brWhite(RGB(255, 255, 255)),
      m_strMiniportVersion("Unknown"), m_FixedFileInfo(), m_OsVersion() {}

CAboutPage::~CAboutPage() {}

void CAboutPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ABOUT_UTILITY_VERSION, m_stcUtilityVersion);
    DDX_Text(pDX, IDC_ABOUT_UTILITY_VERSION, m_strUtilityVersion);
    DDX_Text(pDX, IDC_ABOUT_DRIVER_VERSION, m_strDriverVersion);
    DDX_Text(pDX, IDC_ABOUT_FIRMWARE_VERSION, m_strFirmwareVersion);
    DDX_Text(pDX, IDC_ABOUT_PRODUCT, m_strProductDescription);
    DDX_Text(pDX, IDC_ABOUT_COPYRIGHT, m_strCopyright);
}

CConfigUtility* CAboutPage::Sheet() const {
    return static_cast<CConfigUtility*>(GetParent());
}

BOOL CAboutPage::OnSetActive() {
    PrepareWebLink();
    m_strProductDescription = g_szAppTitle;
    m_strCopyright.LoadString(IDS_COPYRIGHT);

    ReadFirmwareVersion();

    std::memset(&m_OsVersion, 0, sizeof(m_OsVersion));
    m_OsVersion.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    ::GetVersionExA(&m_OsVersion);
    ReadDriverFileVersion();
    m_strDriverVersion = m_strMiniportVersion;

    m_strUtilityVersion.Format("%d.%d.%d.%d", s_aUtilityVersion[0], s_aUtilityVersion[1],
                               s_aUtilityVersion[2], s_aUtilityVersion[3]);

    UpdateData(FALSE);
    return CPropertyPage::OnSetActive();
}

// The web link gets the vendor's address as its text and an underlined version of the page's font. The
// font is made once per page object; the page's window may be new at every showing of the sheet.
void CAboutPage::PrepareWebLink() {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof(lf));
    const HFONT hPageFont = (HFONT)SendMessage(WM_GETFONT);
    if (hPageFont != nullptr)
        ::GetObjectA(hPageFont, sizeof(lf), &lf);
    lf.lfUnderline = 1;
    lf.lfQuality = PROOF_QUALITY;
    if (!m_bLinkFontCreated)
        m_fontLink.CreateFontIndirect(&lf);
    m_bLinkFontCreated = 1;

    CString strAddress;
    strAddress.LoadString(IDS_WEB_ADDRESS);
    SetDlgItemText(IDC_ABOUT_WEB_LINK, strAddress);

    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        CString strText;
        CWnd::FromHandle(hChild)->GetWindowText(strText);
        if (strText == strAddress) {
            ::SendMessageA(hChild, WM_SETFONT, (WPARAM)(HFONT)m_fontLink, TRUE);
            break;
        }
    }
}

// A failed query shows as no version, like an answer of the wrong size.
void CAboutPage::ReadFirmwareVersion() {
    CConfigUtility* pSheet = Sheet();
    CUiDriverTurn turn(pSheet);
    BYTE abVersion[FIRMWARE_VERSION_SIZE] = {};
    DWORD cbWritten = 0;
    if (!pSheet->m_Adapter.QueryOid(g_szAdapterName, OID_FIRMWARE_VERSION, abVersion, sizeof(abVersion),
                                    &cbWritten))
        cbWritten = 0;
    m_strFirmwareVersion = FormatFirmwareVersion(abVersion, cbWritten);
}

// A file that is missing or has no version information leaves the text as it was: "Unknown", or the
// version of an earlier visit.
void CAboutPage::ReadDriverFileVersion() {
    char szPath[SYSTEM_DIRECTORY_SIZE + sizeof(s_szNtDriverFolder) + sizeof(s_szNtDriverName) +
                sizeof(s_szNtDriverExtension)];
    const char* pszFormat = nullptr;
    if (m_OsVersion.dwPlatformId == PLATFORM_WIN32_NT) {
        char szSystem[SYSTEM_DIRECTORY_SIZE];
        const UINT cchSystem = ::GetSystemDirectoryA(szSystem, sizeof(szSystem));
        if (cchSystem == 0 || cchSystem >= sizeof(szSystem))
            return;
        std::snprintf(szPath, sizeof(szPath), "%s%s%s%s", szSystem, s_szNtDriverFolder, s_szNtDriverName,
                      s_szNtDriverExtension);
        pszFormat = "%d.%d.%d.%d";
    } else if (m_OsVersion.dwPlatformId == PLATFORM_WIN32_WINDOWS) {
        std::snprintf(szPath, sizeof(szPath), "%s", s_sz9xDriverFile);
        pszFormat = "%d.%2.2d.%2.2d.%2.2d";
    } else {
        return;
    }

    DWORD dwHandle = 0;
    const DWORD cbInfo = ::GetFileVersionInfoSizeA(szPath, &dwHandle);
    if (cbInfo == 0)
        return;
    BYTE* pbInfo = (BYTE*)std::malloc(cbInfo + 1);
    if (pbInfo == nullptr)
        return;
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT cbFixed = 0;
    if (::GetFileVersionInfoA(szPath, dwHandle, cbInfo, pbInfo) &&
        ::VerQueryValueA(pbInfo, "\\", (LPVOID*)&pFixed, &cbFixed) && pFixed != nullptr &&
        cbFixed >= sizeof(VS_FIXEDFILEINFO)) {
        std::memcpy(&m_FixedFileInfo, pFixed, sizeof(VS_FIXEDFILEINFO));
        m_strMiniportVersion.Format(
            pszFormat, HIWORD(m_FixedFileInfo.dwFileVersionMS), LOWORD(m_FixedFileInfo.dwFileVersionMS),
            HIWORD(m_FixedFileInfo.dwFileVersionLS), LOWORD(m_FixedFileInfo.dwFileVersionLS));
    }
    std::free(pbInfo);
}

void CAboutPage::OnWebLink() {
    CString strAddress;
    GetDlgItemText(IDC_ABOUT_WEB_LINK, strAddress);
    if (strAddress.IsEmpty()) {
        AfxMessageBox(IDS_ERR_NO_URL, MB_OK);
        return;
    }
    const HINSTANCE hResult = ::ShellExecuteA(nullptr, "open", strAddress, nullptr, nullptr, SW_SHOWNORMAL);
    if ((INT_PTR)hResult <= 32)
        AfxMessageBox(IDS_ERR_WEB_PAGE, MB_OK);
}

// The web link is drawn in blue on white.
HBRUSH CAboutPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    const HBRUSH hBrush = CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd != nullptr && pWnd->GetDlgCtrlID() == IDC_ABOUT_WEB_LINK) {
        pDC->SetTextColor(RGB(0, 0, 255));
        return m_brWhite;
    }
    return hBrush;
}

// The sheet hands the Help button to the page that shows.
LRESULT CAboutPage::OnCommandHelp(WPARAM, LPARAM lParam) {
    AfxGetApp()->WinHelp(lParam != 0 ? (DWORD_PTR)lParam : (DWORD_PTR)HIDD_ABOUT, HELP_CONTEXT);
    return TRUE;
}

void CAboutPage::OnPaint() {
    CPaintDC dc(this);
}
