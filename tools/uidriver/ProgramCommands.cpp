// uidriver: the commands on the program as a whole, through a top-level window of its own that may be
// hidden (its main frame): what its process holds, whether it still answers, and the notices Windows sends
// a program's windows when a device comes or goes and when the machine suspends and resumes.
#include "ProcessObjects.h"
#include "UiDriver.h"

#include <dbt.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace uidriver {

namespace {

// Any top-level window of this title and class (any class when empty), shown or hidden.
HWND FindTopLevel(const std::wstring& title, const std::wstring& windowClass) {
    return FindWindowW(windowClass.empty() ? nullptr : windowClass.c_str(), title.c_str());
}

// A message sent as Windows sends its notices: the sender waits for the answer. False when the window's
// thread did not answer in time.
bool Notify(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer) != 0;
}

int Counts(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    ProcessObjects objects;
    std::string error;
    if (processId == 0 || !CountProcessObjects(processId, &objects, &error))
        return Fail(processId == 0 ? "the window has no process" : error);
    std::printf("%lu %lu %lu\n", static_cast<unsigned long>(objects.handles),
                static_cast<unsigned long>(objects.gdi), static_cast<unsigned long>(objects.user));
    std::printf("process %lu: handles from %s, GDI objects from %s, USER objects from %s\n",
                static_cast<unsigned long>(processId), objects.handlesFrom.c_str(), objects.gdiFrom.c_str(),
                objects.userFrom.c_str());
    return 0;
}

int ListWindows(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    for (HWND top : ProcessTopLevelWindows(processId)) {
        std::printf("%s %s %s \"%s\" %zu below\n", Handle(top).c_str(), Narrow(ClassOf(top)).c_str(),
                    IsWindowVisible(top) ? "visible" : "hidden", Narrow(TextOf(top)).c_str(),
                    Children(top).size());
    }
    return 0;
}

int Responds(HWND window, DWORD timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    if (!Notify(window, WM_NULL, 0, 0, timeoutMs))
        return Fail("the window did not answer within " + std::to_string(timeoutMs) + " ms");
    const auto took =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::printf("%lld\n", static_cast<long long>(took.count()));
    return 0;
}

// A device-node record with the device's identifier after its fixed fields, inside dbcd_size: the system
// copies dbcd_size bytes to the receiving process.
std::vector<unsigned char> DeviceRecord(const std::string& identifier) {
    DEV_BROADCAST_DEVNODE header{};
    header.dbcd_size = static_cast<DWORD>(sizeof header + identifier.size() + 1);
    header.dbcd_devicetype = DBT_DEVTYP_DEVNODE;
    std::vector<unsigned char> record(header.dbcd_size);
    std::memcpy(record.data(), &header, sizeof header);
    std::memcpy(record.data() + sizeof header, identifier.c_str(), identifier.size() + 1);
    return record;
}

// Windows sends DBT_DEVNODES_CHANGED along with every arrival and removal, and the record only with
// SendMessage.
int NotifyDevice(HWND window, const std::string& event, const std::string& identifier, DWORD timeoutMs) {
    WPARAM code = 0;
    if (event == "arrival")
        code = DBT_DEVICEARRIVAL;
    else if (event == "removal")
        code = DBT_DEVICEREMOVECOMPLETE;
    else
        return 2;
    std::vector<unsigned char> record = DeviceRecord(identifier);
    if (!Notify(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0, timeoutMs) ||
        !Notify(window, WM_DEVICECHANGE, code, reinterpret_cast<LPARAM>(record.data()), timeoutMs))
        return Fail("the window did not take the device notice");
    return 0;
}

// Before a suspend Windows asks, then says it suspends; after the resume it says so.
int NotifyPower(HWND window, const std::string& event, DWORD timeoutMs) {
    std::vector<WPARAM> notices;
    if (event == "sleep")
        notices = {PBT_APMQUERYSUSPEND, PBT_APMSUSPEND};
    else if (event == "wake")
        notices = {PBT_APMRESUMESUSPEND};
    else
        return 2;
    for (WPARAM notice : notices)
        if (!Notify(window, WM_POWERBROADCAST, notice, 0, timeoutMs))
            return Fail("the window did not take the power notice");
    return 0;
}

} // namespace

bool IsProgramCommand(const std::string& command) {
    return command == "wait-destroyed" || command == "counts" || command == "windows" ||
           command == "responds" || command == "notify-device" || command == "notify-power";
}

int RunProgramCommand(const std::string& command, const std::vector<std::string>& args,
                      const Options& options) {
    if (args.empty())
        return 2;
    if (command == "wait-destroyed" && args.size() == 1) {
        // A window that is only hidden may still be torn down, and hold what it holds meanwhile.
        const std::wstring title = Widen(args[0]);
        bool destroyed = WaitFor<bool>(options.timeoutMs,
                                       [&] { return FindTopLevel(title, options.windowClass) == nullptr; });
        return destroyed ? 0 : Fail("\"" + args[0] + "\" still exists");
    }
    HWND window = FindTopLevel(Widen(args[0]), options.windowClass);
    if (window == nullptr)
        return Fail("no top-level window \"" + args[0] + "\"");
    if (command == "counts" && args.size() == 1)
        return Counts(window);
    if (command == "windows" && args.size() == 1)
        return ListWindows(window);
    if (command == "responds" && args.size() == 1)
        return Responds(window, options.timeoutMs);
    if (command == "notify-device" && args.size() == 3)
        return NotifyDevice(window, args[1], args[2], options.timeoutMs);
    if (command == "notify-power" && args.size() == 2)
        return NotifyPower(window, args[1], options.timeoutMs);
    return 2;
}

} // namespace uidriver
