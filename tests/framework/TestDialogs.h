// The dialogs and strings of the framework tests, with the ids both builds use (the host builds them in
// code; the Windows build compiles TestDialogs.rc).
#pragma once
#ifndef RC_INVOKED
#include <memory>
#endif

#define IDD_TEST_FIRST 901
#define IDD_TEST_SECOND 902
#define IDD_TEST_DIALOG 903
#define IDC_NAME 1001
#define IDC_MODE 1002
#define IDC_APPLY 1003
#define IDC_ENABLED 1004
#define IDC_LEVEL 1005
#define IDC_METER 1006
#define IDC_NETWORKS 1007
#define IDC_PROFILE 1008
#define IDC_COUNT 1011
#define IDC_RADIO_A 1012
#define IDC_RADIO_B 1013
#define IDS_TEST_CAPTION 61000
#define IDS_TEST_PROMPT 61001
#define IDS_TEST_APP_TITLE 0xE000
#define TEST_SHEET_TITLE "Framework Test Sheet"

#ifndef RC_INVOKED
namespace hostui {
class ResourceSource;
}
std::shared_ptr<hostui::ResourceSource> MakeTestResources();
#endif
