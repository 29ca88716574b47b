#include "Dialogs.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "hostui/Resources.h"

namespace hostui::detail {
namespace {

// Dialog units to pixels for the dialogs' 8-point font (base units 6 by 13).
int X(int units) {
    return units * 3 / 2;
}
int Y(int units) {
    return units * 13 / 8;
}

const DialogTemplate* FindTemplate(LPCSTR templateName, std::shared_ptr<const ResourceSource>* keep) {
    if (templateName == nullptr || !IS_INTRESOURCE(templateName))
        return nullptr;
    *keep = GetResources();
    return *keep ? (*keep)->FindDialog(LOWORD(reinterpret_cast<ULONG_PTR>(templateName))) : nullptr;
}

// The font of a template's FONT statement, made once for all dialogs that name it (the program never
// deletes a dialog's font). 96 pixels an inch; NULL for a template without a font.
HFONT TemplateFont(const DialogTemplate& dialog) {
    if (dialog.fontPoints <= 0)
        return nullptr;
    static std::mutex mutex;
    static auto* fonts = new std::map<std::string, HFONT>;
    std::lock_guard<std::mutex> lock(mutex);
    HFONT& font = (*fonts)[dialog.fontFace + "/" + std::to_string(dialog.fontPoints) + "/" +
                           std::to_string(dialog.fontWeight) + (dialog.fontItalic ? "/italic" : "")];
    if (font == nullptr) {
        LOGFONTA lf{};
        lf.lfHeight = -(dialog.fontPoints * 96 + 36) / 72;
        lf.lfWeight = dialog.fontWeight;
        lf.lfItalic = dialog.fontItalic ? 1 : 0;
        std::strncpy(lf.lfFaceName, dialog.fontFace.c_str(), sizeof lf.lfFaceName - 1);
        font = ::CreateFontIndirectA(&lf);
    }
    return font;
}

// The dialog and its controls have the template's font from the start. No WM_SETFONT is sent (Windows
// sends one to each control as it is made): the font is only there for WM_GETFONT.
void GiveFont(HWND dialog, HFONT font) {
    if (font == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    Window* w = FindWindowRecord(dialog);
    if (w == nullptr)
        return;
    w->font = font;
    for (HWND child : w->children)
        if (Window* c = FindWindowRecord(child))
            c->font = font;
}

} // namespace

std::string TemplateCaption(LPCSTR templateName) {
    std::shared_ptr<const ResourceSource> keep;
    const DialogTemplate* dialog = FindTemplate(templateName, &keep);
    return dialog != nullptr ? dialog->caption : "";
}

HWND CreateDialogFromResources(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                               LPARAM param, bool asChild) {
    std::shared_ptr<const ResourceSource> keep;
    const DialogTemplate* dialog = FindTemplate(templateName, &keep);
    if (dialog == nullptr) {
        ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        Fail("no dialog template " + std::to_string(LOWORD(reinterpret_cast<ULONG_PTR>(templateName))) +
             " in the resources");
        return nullptr;
    }
    DWORD style = dialog->style;
    if (asChild)
        style = (style & ~static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE |
                                             WS_DISABLED | DS_MODALFRAME)) |
                WS_CHILD | DS_CONTROL;
    HWND hwnd = CreateWindowRecord(dialog->exStyle, "#32770", dialog->caption,
                                   style & ~static_cast<DWORD>(WS_VISIBLE), X(dialog->x), Y(dialog->y),
                                   X(dialog->cx), Y(dialog->cy), parent, nullptr, instance, nullptr);
    if (hwnd == nullptr)
        return nullptr;
    ::SetWindowLongPtrA(hwnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    HWND firstTabStop = nullptr;
    for (const ControlTemplate& control : dialog->controls) {
        HWND child = CreateWindowRecord(
            control.exStyle, control.className, control.text, control.style | WS_CHILD, X(control.x),
            Y(control.y), X(control.cx), Y(control.cy), hwnd,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(static_cast<WORD>(control.id))), instance, nullptr);
        if (child == nullptr) {
            // As on Windows, a control that cannot be made fails the whole dialog.
            Fail("dialog " + std::to_string(dialog->id) + ": control " + std::to_string(control.id) +
                 " of class \"" + control.className + "\" cannot be created");
            ::DestroyWindow(hwnd);
            return nullptr;
        }
        if (firstTabStop == nullptr && (control.style & WS_TABSTOP) != 0)
            firstTabStop = child;
    }
    GiveFont(hwnd, TemplateFont(*dialog));
    if (::SendMessageA(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop), param) != 0 &&
        firstTabStop != nullptr)
        ::SetFocus(firstTabStop);
    if (::IsWindow(hwnd) && (style & WS_VISIBLE) != 0)
        ::ShowWindow(hwnd, SW_SHOWNORMAL);
    return ::IsWindow(hwnd) ? hwnd : nullptr;
}

LRESULT CALLBACK DialogClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefDlgProcA(hwnd, message, wParam, lParam);
}

} // namespace hostui::detail

namespace hostui::detail {

bool DialogKey(HWND dialog, const MSG* msg) {
    if (msg == nullptr || msg->message != WM_KEYDOWN ||
        (msg->wParam != VK_RETURN && msg->wParam != VK_ESCAPE))
        return false;
    bool inside = false;
    for (HWND h = msg->hwnd; h != nullptr && !inside; h = ::GetParent(h))
        inside = h == dialog;
    if (!inside)
        return false;
    MSG copy = *msg;
    if ((::SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(&copy)) &
         DLGC_WANTALLKEYS) != 0)
        return false;
    // Enter on a push button presses that button; anywhere else the dialog's default button, OK.
    char className[16] = "";
    ::GetClassNameA(msg->hwnd, className, sizeof className);
    const DWORD kind = static_cast<DWORD>(::GetWindowLongA(msg->hwnd, GWL_STYLE)) & BS_TYPEMASK;
    if (msg->wParam == VK_RETURN && Lower(className) == "button" &&
        (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON)) {
        ::SendMessageA(::GetParent(msg->hwnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(msg->hwnd), BN_CLICKED),
                       reinterpret_cast<LPARAM>(msg->hwnd));
        return true;
    }
    const int button = msg->wParam == VK_RETURN ? IDOK : IDCANCEL;
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, button)));
    return true;
}

} // namespace hostui::detail

using namespace hostui::detail;

HWND WINAPI CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    return CreateDialogFromResources(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam, false);
}

LRESULT WINAPI DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
    DLGPROC proc = reinterpret_cast<DLGPROC>(::GetWindowLongPtrA(hDlg, DWLP_DLGPROC));
    if (proc != nullptr) {
        ::SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, 0);
        INT_PTR handled = proc(hDlg, Msg, wParam, lParam);
        if (handled != 0) {
            switch (Msg) {
            case WM_INITDIALOG:
            case WM_CTLCOLORMSGBOX:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSCROLLBAR:
            case WM_CTLCOLORSTATIC:
                return handled;
            default:
                return ::GetWindowLongPtrA(hDlg, DWLP_MSGRESULT);
            }
        }
    }
    switch (Msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE:
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, IDCANCEL)));
        return 0;
    default:
        return ::DefWindowProcA(hDlg, Msg, wParam, lParam);
    }
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    Window* w = FindWindowRecord(hDlg);
    if (w == nullptr)
        return FALSE;
    w->ended = true;
    w->dlgResult = nResult;
    w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    return TRUE;
}

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
    return DialogKey(hDlg, lpMsg) ? TRUE : FALSE;
}

BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
    return ::SetWindowTextA(::GetDlgItem(hDlg, nIDDlgItem), lpString);
}

UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax) {
    return static_cast<UINT>(::GetWindowTextA(::GetDlgItem(hDlg, nIDDlgItem), lpString, cchMax));
}

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    HWND control = ::GetDlgItem(hDlg, nIDDlgItem);
    return control != nullptr ? ::SendMessageA(control, Msg, wParam, lParam) : 0;
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    HWND control = ::GetDlgItem(hDlg, nIDButton);
    if (control == nullptr)
        return FALSE;
    ::SendMessageA(control, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    return static_cast<UINT>(::SendDlgItemMessageA(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}

BOOL WINAPI CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        if (HWND control = ::GetDlgItem(hDlg, id))
            ::SendMessageA(control, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}
