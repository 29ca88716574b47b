#include "SampleContent.h"

#include "resource.h"

#include <commctrl.h>

#include <array>
#include <string>

namespace {

std::string loadString(int id) {
    std::array<char, 256> buffer{};
    int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), buffer.data(),
                             static_cast<int>(buffer.size()));
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

void addStrings(HWND page, int control, std::initializer_list<int> stringIds, int selected) {
    for (int id : stringIds) {
        SendDlgItemMessageA(page, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(loadString(id).c_str()));
    }
    SendDlgItemMessageA(page, control, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void addTexts(HWND page, int control, std::initializer_list<const char*> texts, int selected) {
    for (const char* text : texts) {
        SendDlgItemMessageA(page, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendDlgItemMessageA(page, control, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void setBar(HWND page, int control, int position) {
    SendDlgItemMessageA(page, control, PBM_SETRANGE, 0, MAKELPARAM(0, 15));
    SendDlgItemMessageA(page, control, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void fillLinkInfo(HWND page) {
    SetDlgItemTextA(page, IDC_LINK_STATE, (loadString(IDS_STATE_CONNECTED) + "00-60-B3-12-34-56").c_str());
    SetDlgItemTextA(page, IDC_LINK_CHANNEL, "6");
    SetDlgItemTextA(page, IDC_LINK_RATE, "11");
    SetDlgItemTextA(page, IDC_LINK_SSID, "WLAN-Office-Second-Floor");
    SetDlgItemTextA(page, IDC_LINK_TRANSMITTED, "1520");
    SetDlgItemTextA(page, IDC_LINK_RECEIVED, "204800");
    setBar(page, IDC_LINK_SIGNAL_BAR, 9);
    SetDlgItemTextA(page, IDC_LINK_SIGNAL_TEXT, (loadString(IDS_LEVEL_VERY_GOOD) + " (60%)").c_str());
    setBar(page, IDC_LINK_QUALITY_BAR, 12);
    SetDlgItemTextA(page, IDC_LINK_QUALITY_TEXT, (loadString(IDS_LEVEL_EXCELLENT) + " (80%)").c_str());
}

void fillConfiguration(HWND page) {
    addTexts(page, IDC_CFG_PROFILE, {"default", "office"}, 0);
    addStrings(page, IDC_CFG_MODE, {IDS_AD_HOC, IDS_INFRASTRUCTURE}, 1);
    SetDlgItemTextA(page, IDC_CFG_SSID, "any");
    addStrings(page, IDC_CFG_RATE,
               {IDS_RATE_FIXED_1, IDS_RATE_FIXED_2, IDS_RATE_1_OR_2, IDS_RATE_FIXED_5_5, IDS_RATE_FIXED_11,
                IDS_RATE_AUTO},
               5);
    addTexts(page, IDC_CFG_CHANNEL, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}, 5);
    addStrings(page, IDC_CFG_POWER_SAVING, {IDS_POWER_SAVING_OFF, IDS_POWER_SAVING_ON}, 0);
    EnableWindow(GetDlgItem(page, IDC_CFG_CHANNEL), FALSE); // infrastructure layout
    EnableWindow(GetDlgItem(page, IDC_CFG_REMOVE), FALSE);  // "default" cannot be removed
}

void fillSiteSurvey(HWND page) {
    HWND list = GetDlgItem(page, IDC_SURVEY_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    const std::array<std::pair<const char*, int>, 6> columns = {
        {{"SSID", 101}, {"BSSID", 108}, {"Signal", 41}, {"Channel", 51}, {"WEP", 37}, {"BSSType", 101}}};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].second;
        column.pszText = const_cast<char*>(columns[i].first);
        column.iSubItem = static_cast<int>(i);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    const std::array<std::array<const char*, 6>, 3> rows = {{
        {"WLAN-Office", "00-60-B3-12-34-56", "60%", "6", "Yes", "Infrastructure"},
        {"guest", "00-60-B3-AB-CD-EF", "33%", "11", "No", "Infrastructure"},
        {"laptops", "02-00-4C-4F-4F-50", "13%", "3", "No", "Ad-Hoc"},
    }};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        item.pszText = const_cast<char*>(rows[r][0]);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (std::size_t c = 1; c < rows[r].size(); ++c) {
            item.iSubItem = static_cast<int>(c);
            item.pszText = const_cast<char*>(rows[r][c]);
            SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
        }
    }
    EnableWindow(GetDlgItem(page, IDC_SURVEY_CONNECT), FALSE);
}

void fillEncryption(HWND page) {
    addStrings(page, IDC_WEP_MODE, {IDS_WEP_DISABLED, IDS_WEP_64_BITS, IDS_WEP_128_BITS}, 1);
    addStrings(page, IDC_WEP_DEFAULT_KEY, {IDS_TX_KEY_1, IDS_TX_KEY_2, IDS_TX_KEY_3, IDS_TX_KEY_4}, 0);
    SetDlgItemTextA(page, IDC_WEP_KEY64_1, "0123456789");
    SetDlgItemTextA(page, IDC_WEP_KEY64_2, "ABCDEF0123");
    SetDlgItemTextA(page, IDC_WEP_KEY64_3, "0000000000");
    SetDlgItemTextA(page, IDC_WEP_KEY64_4, "0000000000");
}

void fillAdvanced(HWND page) {
    SendDlgItemMessageA(page, IDC_ADV_FRAG_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(256, 2432));
    SendDlgItemMessageA(page, IDC_ADV_FRAG_SLIDER, TBM_SETTICFREQ, 217, 0);
    SendDlgItemMessageA(page, IDC_ADV_FRAG_SLIDER, TBM_SETPOS, TRUE, 2432);
    SendDlgItemMessageA(page, IDC_ADV_RTS_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, 2432));
    SendDlgItemMessageA(page, IDC_ADV_RTS_SLIDER, TBM_SETTICFREQ, 243, 0);
    SendDlgItemMessageA(page, IDC_ADV_RTS_SLIDER, TBM_SETPOS, TRUE, 512);
    SetDlgItemTextA(page, IDC_ADV_FRAG_VALUE, "2432");
    ShowWindow(GetDlgItem(page, IDC_ADV_FRAG_DISABLED), SW_SHOW);
    SetDlgItemTextA(page, IDC_ADV_RTS_VALUE, "512");
    CheckDlgButton(page, IDC_ADV_DENY_UNENCRYPTED, BST_CHECKED);
    EnableWindow(GetDlgItem(page, IDC_ADV_DENY_UNENCRYPTED), FALSE);
    addStrings(page, IDC_ADV_AUTH_TYPE, {IDS_AUTH_OPEN_SYSTEM, IDS_AUTH_SHARED_KEY, IDS_AUTH_AUTO}, 1);
    addStrings(page, IDC_ADV_PREAMBLE, {IDS_PREAMBLE_LONG, IDS_PREAMBLE_SHORT}, 0);
}

void fillAbout(HWND page) {
    SetDlgItemTextA(page, IDC_ABOUT_COPYRIGHT, loadString(IDS_COPYRIGHT).c_str());
    SetDlgItemTextA(page, IDC_ABOUT_PRODUCT, "DAZE802.11d AVUD UDE Zadu Vuvivav");
    SetDlgItemTextA(page, IDC_ABOUT_DRIVER_VERSION, "1.5.0.3");
    SetDlgItemTextA(page, IDC_ABOUT_UTILITY_VERSION, "2.96.0.1");
    SetDlgItemTextA(page, IDC_ABOUT_FIRMWARE_VERSION, "1.04.05.00");
    SetDlgItemTextA(page, IDC_ABOUT_WEB_LINK, loadString(IDS_WEB_ADDRESS).c_str());
}

} // namespace

void fillSampleContent(HWND page, int dialogId) {
    switch (dialogId) {
    case IDD_LINK_INFO:
        fillLinkInfo(page);
        break;
    case IDD_CONFIGURATION:
        fillConfiguration(page);
        break;
    case IDD_SITE_SURVEY:
        fillSiteSurvey(page);
        break;
    case IDD_ENCRYPTION:
        fillEncryption(page);
        break;
    case IDD_ADVANCED:
        fillAdvanced(page);
        break;
    case IDD_ABOUT:
        fillAbout(page);
        break;
    default:
        break;
    }
}
