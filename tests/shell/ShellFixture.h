// The program run in-process: a machine of one Windows kind with the card's driver installed, simulated
// cards behind the driver-access library, the headless window system with the program's resources, and a
// user on a thread of its own who works the tray while the program runs on the test's thread. Everything
// runs on virtual time, so a run takes milliseconds and gives the same trace every time.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CardInstaller.h"
#include "TestClock.h"
#include "common/Globals.h"
#include "driverlib/CardRack.h"
#include "hostsim/Registry.h"
#include "hostsim/System.h"
#include "hostui/HostUi.h"
#include "resource.h"
#include "simcard/Trace.h"

class CConfigUtility;

namespace shelltest {

using Lines = std::vector<std::string>;

extern const char kTitle[];

class ShellTest : public ::testing::Test {
public:
    ShellTest();
    ~ShellTest() override;

    // The machine: GetVersionExA answers `kind`; the card's driver installation as network entry 1, and a
    // simulated card for it in a world of one open access point.
    void OnSystem(hostsim::WindowsKind kind);
    void InstallCard();
    void InsertCard();

    // Runs the program on this thread until it ends, with `user` on a program thread of its own. When the
    // user is done and the program still runs, the user closes it. Returns AfxWinMain's result.
    int Run(const std::function<void()>& user);

    // --- For the user ---
    // Lets virtual time pass in steps of 100 ms until `done`; false (and a test failure) after `limitMs`.
    static bool WaitFor(const std::function<bool()>& done, DWORD limitMs = 60000);
    static HWND SheetWindow(); // the sheet window while it is up
    static HWND FrameWindow();
    static CConfigUtility* Sheet();
    static void ChooseFromTrayMenu(UINT nCommand);

    // --- What the program did ---
    // "add 187", "modify 186", "delete", in order.
    static Lines TrayLog();
    static Lines BoxTexts();
    // The card's requests, and forgets them.
    static std::vector<simcard::TraceEntry> TakeTraceEntries();

    testsupport::TestClock m_clock{testsupport::ClockKind::Virtual};
    cardinstall::WindowsKind m_kind = cardinstall::WindowsKind::Win2000;
};

} // namespace shelltest
