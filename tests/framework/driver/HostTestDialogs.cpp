// The tests' dialogs and strings as the resource compiler would store them (TestDialogs.rc is the same for
// the Windows build).
#include <hostui/Resources.h>

#include "TestDialogs.h"

namespace {

hostui::ControlTemplate Control(int id, const char* className, const char* text, DWORD style) {
    hostui::ControlTemplate control;
    control.id = id;
    control.className = className;
    control.text = text;
    control.style = WS_CHILD | WS_VISIBLE | style;
    control.cx = 80;
    control.cy = 14;
    return control;
}

hostui::DialogTemplate Page(UINT id, const char* caption) {
    hostui::DialogTemplate dialog;
    dialog.id = id;
    dialog.caption = caption;
    dialog.style = DS_SETFONT | WS_CHILD | WS_CAPTION | WS_DISABLED;
    dialog.cx = 250;
    dialog.cy = 150;
    return dialog;
}

} // namespace

std::shared_ptr<hostui::ResourceSource> MakeTestResources() {
    auto resources = std::make_shared<hostui::TableResources>();
    hostui::DialogTemplate first = Page(IDD_TEST_FIRST, "First");
    first.controls = {
        Control(IDC_NAME, "Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL),
        Control(IDC_MODE, "ComboBox", "", WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL),
        Control(IDC_APPLY, "Button", "Apply Changes", WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON),
        Control(IDC_ENABLED, "Button", "Enabled", WS_TABSTOP | BS_AUTOCHECKBOX),
        Control(IDC_LEVEL, "msctls_trackbar32", "", WS_TABSTOP | TBS_AUTOTICKS | TBS_TOP),
        Control(IDC_METER, "msctls_progress32", "", WS_BORDER),
        Control(IDC_NETWORKS, "SysListView32", "",
                WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS),
        Control(IDC_PROFILE, "ComboBox", "", WS_TABSTOP | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL),
    };
    resources->AddDialog(first);
    hostui::DialogTemplate second = Page(IDD_TEST_SECOND, "Second");
    second.controls = {
        Control(IDC_COUNT, "Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL),
        Control(IDC_RADIO_A, "Button", "A", WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON),
        Control(IDC_RADIO_B, "Button", "B", BS_AUTORADIOBUTTON),
    };
    resources->AddDialog(second);
    hostui::DialogTemplate dialog = Page(IDD_TEST_DIALOG, "Plain Dialog");
    dialog.style = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dialog.controls = {
        Control(IDC_NAME, "Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL),
        Control(IDOK, "Button", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON),
        Control(IDCANCEL, "Button", "Cancel", WS_TABSTOP | BS_PUSHBUTTON),
    };
    resources->AddDialog(dialog);
    resources->AddString(IDS_TEST_CAPTION, "Caption From Table");
    resources->AddString(IDS_TEST_PROMPT, "Do you want to go on?");
    resources->AddString(IDS_TEST_APP_TITLE, "Framework Tests");
    return resources;
}
