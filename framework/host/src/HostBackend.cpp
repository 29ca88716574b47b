// The framework's backend on the headless window system.
#include "core/Backend.h"

#include "WindowTable.h"
#include "WindowTrace.h"

namespace fw {
namespace {

class HostBackend : public Backend {
public:
    HINSTANCE ResourceModule() override {
        return reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x400000));
    }
    std::string ModulePath() override { return "C:\\Program Files\\WlanUtility\\WlanUtility.exe"; }
    void ReportFailure(const std::string& what) override { hostui::detail::Fail(what); }
    void ModalResult(HWND sheet, INT_PTR result) override {
        if (hostui::detail::WindowTraceOn())
            hostui::detail::TraceWindow("property sheet " + hostui::detail::DescribeWindow(sheet) +
                                        ": DoModal returns " + std::to_string(result));
    }
};

} // namespace

Backend& GetBackend() {
    static HostBackend backend;
    return backend;
}

} // namespace fw
