// The framework's backend on the headless window system.
#include "core/Backend.h"

#include "WindowTable.h"

namespace fw {
namespace {

class HostBackend : public Backend {
public:
    HINSTANCE ResourceModule() override {
        return reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x400000));
    }
    std::string ModulePath() override { return "C:\\Program Files\\WlanUtility\\WlanUtility.exe"; }
    void ReportFailure(const std::string& what) override { hostui::detail::Fail(what); }
};

} // namespace

Backend& GetBackend() {
    static HostBackend backend;
    return backend;
}

} // namespace fw
