// What the program showed and asked of the system, in order: message boxes, popup menus, tray changes, help,
// shell requests, and failures (a box nobody answered, an action on a disabled control, a framework misuse).
// Tests assert on the list; the host runner prints each record as it happens.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace hostui {

struct UiEvent {
    enum class Kind { Box, Menu, TrayAdd, TrayModify, TrayDelete, Help, Shell, Failure };
    explicit UiEvent(Kind eventKind = Kind::Failure) : kind(eventKind) {}
    Kind kind;
    std::uint32_t threadId = 0;
    std::string text;               // box text, tray tip, help file, shell file, failure text
    std::string caption;            // box caption, shell operation
    std::uint32_t value = 0;        // box style, tray icon resource id, help command, menu choice
    std::uint64_t data = 0;         // help context; the box's answer; the shell request's result
    std::vector<std::string> items; // menu entries: "id text", "-" for a separator, "(grayed)" marked
};

const char* EventKindName(UiEvent::Kind kind);
std::vector<UiEvent> Events();
std::vector<UiEvent> EventsOf(UiEvent::Kind kind);
std::vector<std::string> Failures();
void ClearEvents();
// Called on the recording thread for each new event.
void SetEventSink(std::function<void(const UiEvent&)> sink);

} // namespace hostui
