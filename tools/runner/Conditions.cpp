// What the script looks at: the conditions of `wait until` and `expect`, and the dumps.
#include "EventFormat.h"
#include "ScriptPlayer.h"

#include "driverlib/CardRack.h"

#include <hostsim/Registry.h>
#include <hostui/HostUi.h>

#include <algorithm>

namespace runner {
namespace {

const char* LinkName(simcard::LinkState state) {
    switch (state) {
    case simcard::LinkState::Connected:
        return "connected";
    case simcard::LinkState::Searching:
        return "searching";
    case simcard::LinkState::Disconnected:
        return "disconnected";
    case simcard::LinkState::NotAvailable:
        return "off";
    default:
        return "in between";
    }
}

std::string DescribeControl(const hostui::ControlSnapshot& c) {
    std::string text = c.className + " " + Quote(c.text);
    text += c.enabled ? "" : " disabled";
    text += c.visible ? "" : " hidden";
    if (c.checked != 0)
        text += " checked";
    if (c.className == "ComboBox" || c.className == "SysTabControl32") {
        std::string items;
        for (const std::string& item : c.items)
            items += (items.empty() ? "" : ", ") + Quote(item);
        text += " items [" + items + "] selection " + std::to_string(c.selection);
    } else if (c.className == "SysListView32") {
        text += " rows " + std::to_string(c.rows.size()) + " selection " + std::to_string(c.selection);
    } else if (c.rangeMax != c.rangeMin) {
        text += " pos " + std::to_string(c.pos) + " of " + std::to_string(c.rangeMin) + ".." +
                std::to_string(c.rangeMax);
    }
    return text;
}

std::string FullKeyPath(const std::string& key) {
    for (const char* prefix : {"HKLM\\", "HKCU\\"}) {
        if (key.compare(0, 5, prefix) == 0)
            return std::string(prefix[2] == 'L' ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\") +
                   key.substr(5);
    }
    return key;
}

} // namespace

std::string ScriptPlayer::PageTitle(HWND sheet) const {
    HWND tab = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    const hostui::ControlSnapshot tabs = hostui::ReadControl(tab);
    if (tabs.selection < 0 || tabs.selection >= static_cast<int>(tabs.items.size()))
        return "no page";
    return tabs.items[static_cast<std::size_t>(tabs.selection)];
}

bool ScriptPlayer::Holds(const Condition& condition, std::string* actual) {
    using Kind = Condition::Kind;
    switch (condition.kind) {
    case Kind::Icon:
    case Kind::NoIcon: {
        const hostui::TrayIcon icon = hostui::GetTrayIcon();
        *actual = icon.shown ? "the tray shows icon " + std::to_string(icon.iconResource) : "no tray icon";
        return condition.kind == Kind::NoIcon
                   ? !icon.shown
                   : icon.shown && static_cast<int>(icon.iconResource) == condition.number;
    }
    case Kind::Box: {
        auto found = m_record.FindBox(condition.text, m_boxCursor);
        if (!found) {
            *actual = "no such message box since the last one a condition took";
            return false;
        }
        m_boxCursor = *found + 1;
        return true;
    }
    case Kind::ControlText:
    case Kind::ControlState: {
        std::string error;
        HWND dialog = DialogWith(condition.number, &error);
        if (dialog == nullptr) {
            *actual = error;
            return false;
        }
        const hostui::ControlSnapshot c = hostui::ReadControl(dialog, condition.number);
        *actual = "the control is " + DescribeControl(c);
        if (condition.kind == Kind::ControlText)
            return c.text == condition.text;
        const std::string& state = condition.text;
        return state == "enabled"     ? c.enabled
               : state == "disabled"  ? !c.enabled
               : state == "checked"   ? c.checked != 0
               : state == "unchecked" ? c.checked == 0
               : state == "visible"   ? c.visible
                                      : !c.visible;
    }
    case Kind::Link: {
        auto card = driverlib::CardRack::Instance().Card(0);
        if (!card) {
            *actual = "there is no card";
            return false;
        }
        const simcard::CardStatus status = card->Status();
        const std::string state = !status.present ? "off" : LinkName(status.link);
        *actual = "the card's link is " + state;
        return state == condition.text;
    }
    case Kind::SheetUp:
    case Kind::SheetDown: {
        const bool up = Sheet() != nullptr;
        *actual = up ? "the sheet is up" : "the sheet is down";
        return up == (condition.kind == Kind::SheetUp);
    }
    case Kind::Page: {
        HWND sheet = Sheet();
        if (sheet == nullptr) {
            *actual = "no sheet shows";
            return false;
        }
        HWND tab = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
        const hostui::ControlSnapshot tabs = hostui::ReadControl(tab);
        *actual = "the page showing is " + Quote(PageTitle(sheet));
        return condition.number >= 0 ? tabs.selection == condition.number
                                     : PageTitle(sheet) == condition.text;
    }
    case Kind::Request: {
        auto found = m_record.FindRequest(static_cast<std::uint32_t>(condition.number), condition.requestKind,
                                          m_requestCursor);
        if (!found) {
            *actual = "no such request since the last one a condition took";
            return false;
        }
        m_requestCursor = *found + 1;
        return true;
    }
    case Kind::Exited:
        *actual = m_program.Exited() ? "the program has ended" : "the program runs";
        return m_program.Exited();
    }
    return false;
}

void ScriptPlayer::Dump(const Command& command) {
    using Verb = Command::Verb;
    if (command.verb == Verb::DumpTray) {
        const hostui::TrayIcon icon = hostui::GetTrayIcon();
        Say(icon.shown ? "  tray icon " + std::to_string(icon.iconResource) + " tip " + Quote(icon.tip)
                       : std::string("  no tray icon"));
        return;
    }
    if (command.verb == Verb::DumpRegistry) {
        const std::string text = hostsim::DumpRegistryKey(FullKeyPath(command.text));
        if (text.empty()) {
            Say("  no key " + command.text);
            return;
        }
        std::size_t begin = 0;
        while (begin < text.size()) {
            std::size_t end = text.find('\n', begin);
            if (end == std::string::npos)
                end = text.size();
            Say("  " + text.substr(begin, end - begin));
            begin = end + 1;
        }
        return;
    }
    if (command.verb == Verb::DumpTrace) {
        std::vector<simcard::TraceEntry> entries;
        for (const auto& card : driverlib::CardRack::Instance().Cards()) {
            std::vector<simcard::TraceEntry> trace = card->Trace();
            entries.insert(entries.end(), trace.begin(), trace.end());
        }
        // Cards share one clock: the time orders the requests of several cards.
        std::stable_sort(
            entries.begin(), entries.end(),
            [](const simcard::TraceEntry& a, const simcard::TraceEntry& b) { return a.timeMs < b.timeMs; });
        const std::size_t count = std::min(entries.size(), static_cast<std::size_t>(command.number));
        for (std::size_t i = entries.size() - count; i < entries.size(); ++i)
            Say("  #" + std::to_string(entries[i].seq) + " t" + std::to_string(entries[i].threadId) + " " +
                FormatRequest(entries[i]));
        if (count == 0)
            Say("  no requests");
        return;
    }
    HWND sheet = Sheet();
    if (sheet == nullptr) {
        Say("  no sheet shows");
        return;
    }
    const std::string title = PageTitle(sheet);
    HWND tab = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    const int selection = hostui::ReadControl(tab).selection;
    if ((command.number >= 0 && command.number != selection) ||
        (command.number == -1 && command.text != title)) {
        Say("  that page is not showing (the page showing is " + Quote(title) + ")");
        return;
    }
    HWND page = hostui::CurrentSheetPage(sheet);
    Say("  page " + Quote(title));
    for (HWND child = ::GetWindow(page, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        if (id <= 0 || id == 0xFFFF)
            continue;
        const hostui::ControlSnapshot c = hostui::ReadControl(child);
        Say("  " + std::to_string(id) + " " + DescribeControl(c));
        // A list view's texts, column headers first, one line per row.
        if (c.className == "SysListView32") {
            std::vector<std::vector<std::string>> lines{c.columns};
            lines.insert(lines.end(), c.rows.begin(), c.rows.end());
            for (std::size_t i = 0; i < lines.size(); ++i) {
                std::string texts;
                for (const std::string& text : lines[i])
                    texts += (texts.empty() ? "" : " | ") + Quote(text);
                const std::string label = i == 0 ? std::string("columns") : "row " + std::to_string(i - 1);
                Say("    " + label + " [" + texts + "]");
            }
        }
    }
}

} // namespace runner
