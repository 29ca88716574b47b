// Dialogs made from the templates of the installed resources.
#pragma once
#include "WindowTable.h"

namespace hostui::detail {

// The dialog manager's keys: Enter presses the push button that has it, or else the dialog's OK (the
// default button); Escape presses Cancel; unless the control that has the key wants it (WM_GETDLGCODE with
// DLGC_WANTALLKEYS). True when the message was such a key of a window in `dialog` and has been acted on.
bool DialogKey(HWND dialog, const MSG* msg);

// A dialog window from template `id`; asChild makes it a hidden child (a property page).
HWND CreateDialogFromResources(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                               LPARAM param, bool asChild);
// The caption of a dialog template ("" when there is none).
std::string TemplateCaption(LPCSTR templateName);

} // namespace hostui::detail
