// What the script looks at: the conditions of `wait until` and `expect`, and the dumps.
#include "EventFormat.h"
#include "RegistryChanges.h"
#include "ScriptPlayer.h"
#include "TraceFormat.h"

#include "driverlib/CardRack.h"

#include <hostsim/Registry.h>
#include <hostui/HostUi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

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

const char* Alignment(int format) {
    switch (format & 0x3) {
    case LVCFMT_RIGHT:
        return "right";
    case LVCFMT_CENTER:
        return "center";
    default:
        return "left";
    }
}

// Where a control is and what it looks like beyond its state: position and size, its font when it is not
// the dialog's (`dialogFont`), slider steps, list view extended style.
std::string Layout(const hostui::ControlSnapshot& c, const std::string& dialogFont = "") {
    std::string text = " at " + std::to_string(c.rect.left) + "," + std::to_string(c.rect.top) + " size " +
                       std::to_string(c.rect.right - c.rect.left) + "x" +
                       std::to_string(c.rect.bottom - c.rect.top);
    if (!c.font.empty() && c.font != dialogFont)
        text += " font " + c.font;
    if (c.className == "msctls_trackbar32")
        text += " line " + std::to_string(c.lineSize) + " page " + std::to_string(c.pageSize) +
                " ticks every " + std::to_string(c.ticFrequency);
    if (c.className == "SysListView32") {
        char style[16];
        std::snprintf(style, sizeof style, "0x%X", static_cast<unsigned>(c.extendedStyle));
        text += std::string(" extended style ") + style;
    }
    return text;
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
    case Kind::IconFollowsLink: {
        // The icon the monitor thread shows for what the card says about its link: connected (186) or not
        // (187). The monitor reads the link once a cycle, so the icon may lag it by a second.
        const hostui::TrayIcon icon = hostui::GetTrayIcon();
        auto card = driverlib::CardRack::Instance().Card(0);
        const simcard::CardStatus status = card ? card->Status() : simcard::CardStatus{};
        const bool connected =
            card && status.present && !status.suspended && status.link == simcard::LinkState::Connected;
        *actual = (icon.shown ? "the tray shows icon " + std::to_string(icon.iconResource) : "no tray icon") +
                  ", the card's link is " + (card ? LinkName(status.link) : "not there");
        return icon.shown && static_cast<int>(icon.iconResource) == (connected ? 186 : 187);
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
    case Kind::RegistryChanges: {
        if (!m_registryMark) {
            *actual = "no registry mark to compare with (registry mark)";
            return false;
        }
        std::ifstream file(condition.text, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        hostsim::RegistryContent allowed;
        std::string error;
        if (!file || !hostsim::RegistryContentOfText(text.str(), condition.text, &allowed, &error)) {
            *actual = error.empty() ? condition.text + ": cannot be read" : error;
            return false;
        }
        const std::vector<std::string> outside =
            ChangesOutside(*m_registryMark, hostsim::RegistryContentNow(), allowed);
        actual->clear();
        for (const std::string& line : outside)
            *actual += (actual->empty() ? "" : "; ") + line;
        return outside.empty();
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
    if (command.verb == Verb::DumpRequest) {
        auto call = m_record.LibraryRequest(command.count);
        if (!call) {
            Say("  no request #" + std::to_string(command.count) + " so far");
            return;
        }
        for (const std::string& line : DumpRequest(*call))
            Say(line);
        return;
    }
    if (command.verb == Verb::DumpSheet) {
        DumpSheet();
        return;
    }
    DumpPage(command);
}

void ScriptPlayer::DumpPage(const Command& command) {
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
    const std::string pageFont = hostui::ReadControl(page).font;
    Say("  page " + Quote(title) +
        (m_detailedDumps && !pageFont.empty() ? " font " + pageFont : std::string()));
    for (HWND child : hostui::ChildWindows(page)) {
        const int id = ::GetDlgCtrlID(child);
        const bool withoutId = id <= 0 || id == 0xFFFF;
        if (withoutId && !m_detailedDumps)
            continue;
        const hostui::ControlSnapshot c = hostui::ReadControl(child);
        Say("  " + (withoutId ? std::string("-") : std::to_string(id)) + " " + DescribeControl(c) +
            (m_detailedDumps ? Layout(c, pageFont) : std::string()));
        // A list view's texts, column headers first, one line per row.
        if (c.className == "SysListView32") {
            std::vector<std::vector<std::string>> lines{c.columns};
            lines.insert(lines.end(), c.rows.begin(), c.rows.end());
            for (std::size_t i = 0; i < lines.size(); ++i) {
                std::string texts;
                for (std::size_t j = 0; j < lines[i].size(); ++j) {
                    std::string text = Quote(lines[i][j]);
                    if (i == 0 && m_detailedDumps && j < c.columnDetails.size())
                        text += " width " + std::to_string(c.columnDetails[j].width) + " " +
                                Alignment(c.columnDetails[j].format);
                    texts += (texts.empty() ? "" : " | ") + text;
                }
                const std::string label = i == 0 ? std::string("columns") : "row " + std::to_string(i - 1);
                Say("    " + label + " [" + texts + "]");
            }
        }
    }
}

// The sheet around the pages: caption, tab control (one row or several) and the sheet's own buttons.
void ScriptPlayer::DumpSheet() {
    HWND sheet = Sheet();
    if (sheet == nullptr) {
        Say("  no sheet shows");
        return;
    }
    const hostui::ControlSnapshot s = hostui::ReadControl(sheet);
    Say("  sheet " + Quote(s.text) + Layout(s));
    for (HWND child : hostui::ChildWindows(sheet)) {
        const hostui::ControlSnapshot c = hostui::ReadControl(child);
        if (c.className == "SysTabControl32") {
            char style[16];
            std::snprintf(style, sizeof style, "0x%X", static_cast<unsigned>(c.style));
            Say(std::string("    tabs style ") + style +
                ((c.style & TCS_MULTILINE) != 0 ? " multi-line" : " one row") + ", " +
                std::to_string(::SendMessageA(child, TCM_GETROWCOUNT, 0, 0)) +
                " row(s): " + DescribeControl(c));
        } else if (c.className == "Button") {
            const bool isDefault = (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
            Say("    button " + std::to_string(c.id) + " " + Quote(c.text) + (isDefault ? " default" : "") +
                (c.visible ? "" : " hidden") + (c.enabled ? "" : " disabled"));
        }
    }
}

} // namespace runner
