// The world around the program: the cards (pulled, put back, their radio world and faults), and the
// notifications Windows sends about devices and power.
#include "DeviceNotice.h"
#include "ScriptPlayer.h"

#include "driverlib/CardRack.h"

#include <hostsim/Clock.h>

namespace runner {

bool ScriptPlayer::Outside(const Command& command) {
    using Verb = Command::Verb;
    driverlib::CardRack& rack = driverlib::CardRack::Instance();
    switch (command.verb) {
    case Verb::CardRemove:
    case Verb::CardInsert: {
        auto card = rack.Card(static_cast<std::size_t>(command.number));
        if (!card)
            return Fail("there is no card " + std::to_string(command.number));
        command.verb == Verb::CardRemove ? card->Remove() : card->Insert();
        return true;
    }
    case Verb::DeviceArrival:
    case Verb::DeviceRemoval: {
        HWND main = m_program.MainWindow();
        if (main == nullptr)
            return Fail(m_program.Exited() ? "the program has ended"
                                           : "the program has no main window to notify");
        const DeviceNotice notice(command.text.empty() ? kCardDeviceId : command.text,
                                  command.deviceType.value_or(DBT_DEVTYP_DEVNODE));
        const WPARAM event =
            command.verb == Verb::DeviceArrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
        // Windows sends DBT_DEVNODES_CHANGED along with every arrival and removal.
        ::SendMessageA(main, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
        ::SendMessageA(main, WM_DEVICECHANGE, event, notice.Param());
        return true;
    }
    case Verb::DeviceNodesChanged:
    case Verb::PowerBroadcast:
    case Verb::PowerLegacy: {
        HWND main = m_program.MainWindow();
        if (main == nullptr)
            return Fail(m_program.Exited() ? "the program has ended"
                                           : "the program has no main window to notify");
        if (command.verb == Verb::DeviceNodesChanged)
            ::SendMessageA(main, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
        else
            ::SendMessageA(main, command.verb == Verb::PowerLegacy ? WM_POWER : WM_POWERBROADCAST,
                           static_cast<WPARAM>(command.number), 0);
        return true;
    }
    case Verb::PowerSleep: {
        HWND main = m_program.MainWindow();
        if (main != nullptr) {
            ::SendMessageA(main, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0);
            ::SendMessageA(main, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
        }
        for (const auto& card : rack.Cards())
            card->Suspend();
        return true;
    }
    case Verb::PowerWake: {
        for (const auto& card : rack.Cards())
            card->Resume();
        if (HWND main = m_program.MainWindow())
            ::SendMessageA(main, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
        return true;
    }
    case Verb::World: {
        auto world = rack.World();
        if (!world)
            return Fail("no radio world is installed");
        // The world runs on the cards' clock.
        auto first = rack.Card(0);
        const std::uint64_t now = first ? first->Clock().NowMs() : hostsim::NowMs();
        for (const simcard::Cell& cell : command.world.cells)
            if (!world->Add(cell, now))
                return Fail("a cell named " + cell.name + " is already on the air");
        for (const simcard::WorldEvent& event : command.world.events)
            if (!world->Change(event.cellName, event.change, now + event.atMs))
                return Fail("no cell named " + event.cellName);
        return true;
    }
    default:
        return true;
    }
}

} // namespace runner
