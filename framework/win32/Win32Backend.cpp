// The framework's backend on real Windows: resources of the program's own module, failures to the debugger.
#include <string>

#include "core/Backend.h"

namespace fw {
namespace {

class Win32Backend : public Backend {
public:
    HINSTANCE ResourceModule() override { return ::GetModuleHandleA(nullptr); }

    std::string ModulePath() override {
        char path[MAX_PATH] = "";
        DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        return std::string(path, length < MAX_PATH ? length : 0);
    }

    void ReportFailure(const std::string& what) override {
        std::string line = "framework: " + what + "\n";
        ::OutputDebugStringA(line.c_str());
    }
};

} // namespace

Backend& GetBackend() {
    static Win32Backend backend;
    return backend;
}

} // namespace fw
