// The transcript's wording of what the program did: window-system events, system records, driver requests.
#pragma once
#include "simcard/Trace.h"

#include <hostsim/System.h>
#include <hostui/Events.h>

#include <string>

namespace runner {

std::string Quote(const std::string& text); // "text" with \" \\ \n \t and \xNN escapes
std::string FormatUiEvent(const hostui::UiEvent& event);
std::string FormatSystemRecord(const hostsim::SystemRecord& record);
std::string FormatRequest(const simcard::TraceEntry& entry);
const char* AnswerName(int answer); // "ok", "cancel", ... "none"

} // namespace runner
