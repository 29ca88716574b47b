#include "EventFormat.h"

#include <win32api.h>

#include <cstdio>

namespace runner {
namespace {

std::string Hex(std::uint64_t value, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

} // namespace

std::string Quote(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            quoted += std::string("\\") + c;
        else if (c == '\n')
            quoted += "\\n";
        else if (c == '\t')
            quoted += "\\t";
        else if (u < 0x20 || u >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", u);
            quoted += escape;
        } else
            quoted += c;
    }
    return quoted + "\"";
}

const char* AnswerName(int answer) {
    switch (answer) {
    case IDOK:
        return "ok";
    case IDCANCEL:
        return "cancel";
    case IDABORT:
        return "abort";
    case IDRETRY:
        return "retry";
    case IDIGNORE:
        return "ignore";
    case IDYES:
        return "yes";
    case IDNO:
        return "no";
    default:
        return "none";
    }
}

std::string FormatUiEvent(const hostui::UiEvent& event) {
    using Kind = hostui::UiEvent::Kind;
    switch (event.kind) {
    case Kind::Box:
        return "message box " + Quote(event.text) + " caption " + Quote(event.caption) + " style " +
               Hex(event.value, 5) + " -> " + AnswerName(static_cast<int>(event.data));
    case Kind::Menu: {
        std::string items;
        for (const std::string& item : event.items)
            items += (items.empty() ? "" : " | ") + item;
        return "popup menu [" + items + "] -> " + (event.value != 0 ? std::to_string(event.value) : "none");
    }
    case Kind::TrayAdd:
        return "tray add icon " + std::to_string(event.value) + " tip " + Quote(event.text);
    case Kind::TrayModify:
        return "tray change icon " + std::to_string(event.value) + " tip " + Quote(event.text);
    case Kind::TrayDelete:
        return "tray delete";
    case Kind::Help:
        return "help " + Quote(event.text) + " command " + Hex(event.value, 4) + " data " +
               std::to_string(event.data);
    case Kind::Shell: {
        std::string text = "shell " + Quote(event.caption) + " " + Quote(event.text);
        for (const std::string& parameters : event.items)
            text += " " + Quote(parameters);
        return text + " show " + std::to_string(event.value) + " -> " + std::to_string(event.data);
    }
    case Kind::Failure:
        return "FAILURE " + event.text;
    }
    return "?";
}

std::string FormatSystemRecord(const hostsim::SystemRecord& record) {
    switch (record.kind) {
    case hostsim::SystemRecord::Kind::DebugString:
        return "debug string " + Quote(record.text);
    case hostsim::SystemRecord::Kind::DosDevice:
        return "dos device " + Quote(record.text) + " flags " + Hex(record.value, 2);
    case hostsim::SystemRecord::Kind::Beep:
        return "beep " + Hex(record.value, 2);
    }
    return "?";
}

std::string FormatRequest(const simcard::TraceEntry& entry) {
    std::string text = "request dev=" + entry.adapter + " " +
                       (entry.kind == simcard::RequestKind::Query ? "query " : "set ") + Hex(entry.oid, 8);
    if (entry.subId)
        text += (entry.oid == 0xFF020191u ? " item=" : " record=") + Hex(*entry.subId, 4);
    text += " in=" + std::to_string(entry.bytesIn) + " out=" + std::to_string(entry.bytesOut);
    if (entry.bytesNeeded != 0)
        text += " needed=" + std::to_string(entry.bytesNeeded);
    text += " status=" + Hex(entry.status, 8);
    if (!entry.value.empty()) {
        text += " value=";
        const std::size_t shown = entry.value.size() > 32 ? 32 : entry.value.size();
        for (std::size_t i = 0; i < shown; ++i) {
            char byte[4];
            std::snprintf(byte, sizeof byte, "%02X", entry.value[i]);
            text += byte;
        }
        if (shown < entry.value.size())
            text += "...(" + std::to_string(entry.value.size()) + " bytes)";
    }
    if (!entry.fault.empty())
        text += " fault " + Quote(entry.fault);
    return text;
}

} // namespace runner
