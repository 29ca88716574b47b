// Simulated user actions on the headless windows. Each goes to the window's thread as the real input would
// (a sent message), so the program sees the same notifications through its message maps as on Windows.
// An action a user could not do (a hidden or disabled control, an unknown id, an entry that is not there)
// does nothing but record a failure event and return FALSE.
#pragma once
#include <string>

#include <win32api.h>

namespace hostui {

BOOL ClickButton(HWND dialog, int id);
// Types text into an edit (or a combo box's edit field) character by character, replacing what is there
// when `replace`; the control's text limit applies as it does to a user.
BOOL TypeText(HWND dialog, int id, const std::string& text, bool replace = true);
BOOL PressKey(HWND dialog, int id, UINT virtualKey);
BOOL SelectComboItem(HWND dialog, int id, int index);
BOOL SelectComboText(HWND dialog, int id, const std::string& text);
BOOL ClickListRow(HWND dialog, int id, int row);
BOOL DoubleClickListRow(HWND dialog, int id, int row);
// Drags a slider's thumb to pos and lets go.
BOOL MoveSlider(HWND dialog, int id, int pos);
BOOL SelectSheetTab(HWND sheet, int index);
// OK, Cancel, Apply or Help of a property sheet (IDOK, IDCANCEL, ID_APPLY_NOW 0x3021, IDHELP).
BOOL PressSheetButton(HWND sheet, int id);
BOOL CloseWindow(HWND window);
// Not a user's action but a test hook: shows and enables a control the program keeps hidden or disabled,
// so that a test can reach what no user could. The control gets no message about it. FALSE (and a failure
// event) when the dialog has no such control.
BOOL RevealControl(HWND dialog, int id);

} // namespace hostui
