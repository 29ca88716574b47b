// Recording of the events that hostui/Events.h lists.
#pragma once
#include "hostui/Events.h"

namespace hostui::detail {
void RecordEvent(UiEvent event);
}
