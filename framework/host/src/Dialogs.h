// Dialogs made from the templates of the installed resources.
#pragma once
#include "WindowTable.h"

namespace hostui::detail {

// A dialog window from template `id`; asChild makes it a hidden child (a property page).
HWND CreateDialogFromResources(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                               LPARAM param, bool asChild);
// The caption of a dialog template ("" when there is none).
std::string TemplateCaption(LPCSTR templateName);

} // namespace hostui::detail
