// The control API of the headless window system, for tests and the host runner.
#pragma once
#include "hostui/Actions.h"
#include "hostui/Events.h"
#include "hostui/Snapshot.h"
#include "hostui/Prompts.h"
#include "hostui/Resources.h"
#include "hostui/Tray.h"

namespace hostui {

// A fresh window system: every window destroyed without messages, no timers, tray, menus, answers, events,
// registered classes or hooks of the program; the resources stay.
void ResetUi();

} // namespace hostui
