// Shows the six pages of our resources in a real property sheet, to look at their layout under Windows or
// Wine (scripts/render-dialogs.sh takes one picture per page).
//
//   dialogview [--page N] [--close-after MS] [--empty]
//
// N is a tab index 0..5 or a page's dialog id (183 Link Info ... 181 About). --close-after closes the sheet
// by itself; --empty leaves the controls as the templates have them instead of filling in sample values.
#include "SampleContent.h"
#include "resource.h"

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <array>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

constexpr std::array<int, 6> kPages = {IDD_LINK_INFO,  IDD_CONFIGURATION, IDD_SITE_SURVEY,
                                       IDD_ENCRYPTION, IDD_ADVANCED,      IDD_ABOUT};
constexpr char kCaption[] = "DAZE802.11d AVUD UDE Zadu Vuvivav";

struct Options {
    int startPage = 0;
    UINT closeAfterMs = 0;
    bool sampleContent = true;
};

HWND s_sheet = nullptr;
bool s_sampleContent = true;

int pageIndex(int value) {
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        if (kPages[i] == value) {
            return static_cast<int>(i);
        }
    }
    return value >= 0 && value < static_cast<int>(kPages.size()) ? value : -1;
}

bool parseOptions(const char* commandLine, Options& options) {
    std::istringstream in(commandLine);
    std::string word;
    while (in >> word) {
        if (word == "--page" && in >> word) {
            options.startPage = pageIndex(std::atoi(word.c_str()));
            if (options.startPage < 0) {
                return false;
            }
        } else if (word == "--close-after" && in >> word) {
            options.closeAfterMs = static_cast<UINT>(std::atoi(word.c_str()));
        } else if (word == "--empty") {
            options.sampleContent = false;
        } else {
            return false;
        }
    }
    return true;
}

INT_PTR CALLBACK pageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
        if (s_sampleContent) {
            fillSampleContent(page, static_cast<int>(sheetPage->lParam));
        }
        return TRUE;
    }
    return FALSE;
}

int CALLBACK sheetCallback(HWND sheet, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED) {
        s_sheet = sheet;
        // All six tabs in one row, as the program shows them.
        HWND tabs = PropSheet_GetTabControl(sheet);
        SetWindowLongPtrA(tabs, GWL_STYLE,
                          GetWindowLongPtrA(tabs, GWL_STYLE) & ~static_cast<LONG_PTR>(TCS_MULTILINE));
    }
    return 0;
}

void CALLBACK closeSheet(HWND, UINT, UINT_PTR, DWORD) {
    if (s_sheet) {
        PropSheet_PressButton(s_sheet, PSBTN_CANCEL);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    Options options;
    if (!parseOptions(commandLine, options)) {
        MessageBoxA(nullptr, "dialogview [--page 0..5 or dialog id] [--close-after MS] [--empty]", kCaption,
                    MB_OK | MB_ICONINFORMATION);
        return 2;
    }
    s_sampleContent = options.sampleContent;

    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                                    ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    std::array<PROPSHEETPAGEA, kPages.size()> pages{};
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        pages[i].dwSize = sizeof(PROPSHEETPAGEA);
        pages[i].dwFlags = PSP_HASHELP;
        pages[i].hInstance = instance;
        pages[i].pszTemplate = MAKEINTRESOURCEA(kPages[i]);
        pages[i].pfnDlgProc = pageProc;
        pages[i].lParam = kPages[i];
    }
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof(PROPSHEETHEADERA);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_HASHELP | PSH_USECALLBACK;
    header.hInstance = instance;
    header.pszCaption = kCaption;
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = static_cast<UINT>(options.startPage);
    header.ppsp = pages.data();
    header.pfnCallback = sheetCallback;

    if (options.closeAfterMs > 0) {
        SetTimer(nullptr, 0, options.closeAfterMs, closeSheet);
    }
    return PropertySheetA(&header) < 0 ? 1 : 0;
}
