// A script as the reader leaves it: every command checked and resolved (control names to ids, durations to
// milliseconds, world and fault lines parsed), so that playing it can only fail on what the program does.
#pragma once
#include "simcard/FaultRules.h"
#include "simcard/WorldFile.h"

#include <hostsim/Registry.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace runner {

// What `wait until` and `expect` look at.
struct Condition {
    enum class Kind {
        Icon,
        NoIcon,
        IconFollowsLink,
        Box,
        ControlText,
        ControlState,
        Link,
        SheetUp,
        SheetDown,
        Page,
        Request,
        RegistryChanges,
        Exited
    };
    Kind kind = Kind::Exited;
    int number = 0;   // icon id, control id, page index (-1: by title), OID
    std::string text; // box text, control text, control state word, link state word, page title,
                      // registry file (resolved against the script's folder)
    std::optional<simcard::RequestKind> requestKind;
    std::string source; // as written, for messages
};

struct Command {
    enum class Verb {
        TrayDoubleClick,
        TrayRightClick,
        TrayMessage,
        TrayMenu,
        MenuPick,
        Tab,
        Type,
        Select,
        Check,
        Uncheck,
        Slider,
        Click,
        Key,
        Reveal,
        Sheet,
        Answer,
        AnswerShell,
        Wait,
        WaitUntil,
        CardRemove,
        CardInsert,
        DeviceArrival,
        DeviceRemoval,
        DeviceNodesChanged,
        PowerSleep,
        PowerWake,
        PowerBroadcast,
        PowerLegacy,
        World,
        Fault,
        FaultClear,
        RegistrySet,
        RegistryDelete,
        RegistryRefuse,
        RegistryMark,
        DriverFile,
        DumpPage,
        DumpSheet,
        DumpRegistry,
        DumpTray,
        DumpTrace,
        DumpRequest,
        Expect,
        ExpectIdle
    };
    Verb verb = Verb::Wait;
    int line = 0;
    std::string source;      // the line as written, without its comment
    int control = 0;         // control id of the user commands
    int number = -1;         // menu command id, tab/select index, slider position, answer id, card index,
                             // sheet button id, dump trace count, key code, tray or power message,
                             // shell result
    std::uint64_t count = 0; // dump request: the request number
    std::string text;        // typed text, entry or tab title, menu entry text, registry key, device id,
                             // driver file version ("" for none)
    std::optional<std::uint32_t>
        deviceType;                       // device arrival/removal: dbch_devicetype (default: a device node)
    std::optional<std::string> valueName; // registry set/delete: the value (delete without: the key)
    std::uint32_t valueType = 0;          // registry set
    std::vector<std::uint8_t> valueData;  // registry set
    std::uint64_t ms = 0;                 // wait, wait until limit, expect idle
    hostsim::RegistryRefusal refusal;     // registry refuse
    Condition condition;
    simcard::WorldDefinition world; // `world`: the cells and changes this line adds
    std::vector<simcard::FaultRule> faults;
};

// Run settings a script may carry in `setup` lines; the command line overrides them.
struct ScriptSetup {
    std::optional<std::string> kind;
    std::optional<std::string> registry; // paths as resolved against the script's folder
    std::optional<std::string> world;
    std::optional<std::string> faults;
    // Titles of top-level windows of other programs that are open when the program starts (a copy of the
    // program that already runs, as the program's single-instance guard sees it).
    std::vector<std::string> windows;
    // What the transcript traces besides its usual lines: library, registry, events, window.
    std::set<std::string> traces;
    // The card's driver file where the About page looks: a version "a.b.c.d", or "" for none. Unset: what
    // the registry's installation leaves.
    std::optional<std::string> driverFile;
};

// The kinds of trace a run can switch on, in the order the documentation lists them.
extern const char* const kTraceKinds[4];
bool IsTraceKind(const std::string& word);

struct Script {
    std::string name; // the file name as given
    ScriptSetup setup;
    std::vector<Command> commands;
};

} // namespace runner
