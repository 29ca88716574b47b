// What the framework needs from the window system beyond the Win32 calls that both backends answer alike.
// Exactly one backend library (framework/win32 or framework/host) defines GetBackend(); the build picks it.
#pragma once
#include <string>

#include <win32api.h>

namespace fw {

class Backend {
public:
    virtual ~Backend() = default;
    // The module whose resources hold the dialogs, strings, icons and menus.
    virtual HINSTANCE ResourceModule() = 0;
    // The program file's path, from which the application's name and help file are derived.
    virtual std::string ModulePath() = 0;
    // A misuse of the framework by program code (an unknown control id, a missing template): reported, never
    // fatal.
    virtual void ReportFailure(const std::string& what) = 0;
    // A modal property sheet's loop ended with this result, which DoModal returns. For a backend that
    // traces it; nothing by default.
    virtual void ModalResult(HWND sheet, INT_PTR result) {
        (void)sheet;
        (void)result;
    }
};

Backend& GetBackend();

} // namespace fw
