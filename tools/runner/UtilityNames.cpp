// What wlanrun knows of the utility beyond its Win32 calls: the sheet object's two hand-shake events, which
// `trace events` shows by the names of the members that hold them. Read through the program's own pointer
// to the sheet object, which is set before the monitor thread starts and so before either thread touches
// the events.
#include "HandleNames.h"

#include "sheet/ConfigUtility.h"

namespace {

struct InstallUtilityNames {
    InstallUtilityNames() {
        runner::InstallEventNamer([](std::uintptr_t handle) -> std::optional<std::string> {
            CConfigUtility* pSheet = g_pConfigSheet.load();
            if (pSheet == nullptr)
                return std::nullopt;
            if (handle == reinterpret_cast<std::uintptr_t>(pSheet->m_hUiIdle))
                return std::string("m_hUiIdle");
            if (handle == reinterpret_cast<std::uintptr_t>(pSheet->m_hMonitorIdle))
                return std::string("m_hMonitorIdle");
            return std::string();
        });
    }
};

const InstallUtilityNames s_installed;

} // namespace
