#include "Events.h"

#include <mutex>

#include <win32api.h>

#include <hostsim/HeapScope.h>

namespace hostui {
namespace {

struct EventLog {
    std::mutex mutex;
    std::vector<UiEvent> events;
    std::function<void(const UiEvent&)> sink;
};

EventLog& Log() {
    static auto* log = new EventLog;
    return *log;
}

} // namespace

const char* EventKindName(UiEvent::Kind kind) {
    switch (kind) {
    case UiEvent::Kind::Box:
        return "messagebox";
    case UiEvent::Kind::Menu:
        return "menu";
    case UiEvent::Kind::TrayAdd:
        return "tray-add";
    case UiEvent::Kind::TrayModify:
        return "tray-modify";
    case UiEvent::Kind::TrayDelete:
        return "tray-delete";
    case UiEvent::Kind::Help:
        return "help";
    case UiEvent::Kind::Shell:
        return "shell-execute";
    case UiEvent::Kind::Failure:
        return "failure";
    }
    return "?";
}

std::vector<UiEvent> Events() {
    std::lock_guard<std::mutex> lock(Log().mutex);
    return Log().events;
}

std::vector<UiEvent> EventsOf(UiEvent::Kind kind) {
    std::vector<UiEvent> result;
    for (UiEvent& event : Events()) {
        if (event.kind == kind)
            result.push_back(std::move(event));
    }
    return result;
}

std::vector<std::string> Failures() {
    std::vector<std::string> result;
    for (const UiEvent& event : EventsOf(UiEvent::Kind::Failure))
        result.push_back(event.text);
    return result;
}

void ClearEvents() {
    std::lock_guard<std::mutex> lock(Log().mutex);
    Log().events.clear();
}

void SetEventSink(std::function<void(const UiEvent&)> sink) {
    std::lock_guard<std::mutex> lock(Log().mutex);
    Log().sink = std::move(sink);
}

namespace detail {
void RecordEvent(UiEvent event) {
    // The record of what the program did is the test's, not the program's heap.
    const hostsim::NotProgramHeap record;
    event.threadId = ::GetCurrentThreadId();
    std::function<void(const UiEvent&)> sink;
    {
        std::lock_guard<std::mutex> lock(Log().mutex);
        Log().events.push_back(event);
        sink = Log().sink;
    }
    if (sink)
        sink(event);
}
} // namespace detail

} // namespace hostui
