#include "ScriptReader.h"

#include "ScriptWords.h"

#include <hostsim/Registry.h>
#include <hostwin/dbt.h>
#include <hostwin/user.h>

#include <sstream>

namespace runner {
namespace {

struct LineError {
    std::string what;
};

[[noreturn]] void Throw(const std::string& what) {
    throw LineError{what};
}

// Checks the raw bytes of a line: no control characters, no bytes above ASCII outside quotes.
void CheckBytes(const std::string& line) {
    if (line.size() > kMaxLineLength)
        Throw("line is longer than " + std::to_string(kMaxLineLength) + " characters");
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c == '"')
            quoted = !quoted;
        if ((c < 0x20 && c != '\t') || c == 0x7F) {
            char text[8];
            std::snprintf(text, sizeof text, "0x%02X", c);
            Throw(std::string("control character ") + text + " at column " + std::to_string(i + 1));
        }
        if (c >= 0x80 && !quoted)
            Throw("byte outside ASCII at column " + std::to_string(i + 1) +
                  " (only quoted text may hold it)");
    }
}

struct NamedCode {
    const char* name;
    unsigned code;
};

// The keys `key` presses.
const NamedCode kKeys[] = {{"Backspace", VK_BACK}, {"Delete", VK_DELETE}, {"Left", VK_LEFT},
                           {"Right", VK_RIGHT},    {"Up", VK_UP},         {"Down", VK_DOWN},
                           {"Home", VK_HOME},      {"End", VK_END},       {"PageUp", VK_PRIOR},
                           {"PageDown", VK_NEXT},  {"Enter", VK_RETURN},  {"Escape", VK_ESCAPE}};

// The mouse messages the tray icon's window gets, by their Windows names.
const NamedCode kTrayMessages[] = {{"WM_MOUSEMOVE", 0x0200},     {"WM_LBUTTONDOWN", 0x0201},
                                   {"WM_LBUTTONUP", 0x0202},     {"WM_LBUTTONDBLCLK", 0x0203},
                                   {"WM_RBUTTONDOWN", 0x0204},   {"WM_RBUTTONUP", 0x0205},
                                   {"WM_RBUTTONDBLCLK", 0x0206}, {"WM_MBUTTONDOWN", 0x0207},
                                   {"WM_MBUTTONUP", 0x0208},     {"WM_MBUTTONDBLCLK", 0x0209}};

// The WM_POWERBROADCAST notices `power` sends alone.
const NamedCode kPowerNotices[] = {{"query-suspend", PBT_APMQUERYSUSPEND},
                                   {"suspend", PBT_APMSUSPEND},
                                   {"resume-suspend", PBT_APMRESUMESUSPEND},
                                   {"resume-automatic", PBT_APMRESUMEAUTOMATIC},
                                   {"resume-critical", PBT_APMRESUMECRITICAL}};

template <std::size_t N> std::string NameList(const NamedCode (&codes)[N]) {
    std::string list;
    for (const NamedCode& c : codes)
        list += (list.empty() ? "" : ", ") + std::string(c.name);
    return list;
}

template <std::size_t N>
std::optional<unsigned> CodeOf(const NamedCode (&codes)[N], const std::string& name) {
    for (const NamedCode& c : codes)
        if (name == c.name)
            return c.code;
    return std::nullopt;
}

// "a.b.c.d", four numbers from 0 to 65535: a file version.
bool IsFileVersion(const std::string& text) {
    std::size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = text.find('.', at);
        const bool last = part == 3;
        if (last != (dot == std::string::npos))
            return false;
        if (!ParseNumber(text.substr(at, last ? std::string::npos : dot - at), 0xFFFF))
            return false;
        at = dot + 1;
    }
    return true;
}

// A registry key as scripts name it: a full root name or HKLM\ and HKCU\ for short.
bool IsRegistryKey(const std::string& key) {
    for (const char* root : {"HKLM\\", "HKCU\\", "HKEY_LOCAL_MACHINE\\", "HKEY_CURRENT_USER\\"}) {
        const std::string prefix = root;
        if (key.size() > prefix.size() && key.compare(0, prefix.size(), prefix) == 0)
            return true;
    }
    return false;
}

// The key with its root's full name: HKLM\X is HKEY_LOCAL_MACHINE\X.
std::string FullRegistryPath(const std::string& key) {
    if (key.compare(0, 5, "HKLM\\") == 0)
        return "HKEY_LOCAL_MACHINE\\" + key.substr(5);
    if (key.compare(0, 5, "HKCU\\") == 0)
        return "HKEY_CURRENT_USER\\" + key.substr(5);
    return key;
}

// The driver file's version as `driver-file` gives it: "" for none.
std::string DriverFileVersion(const std::string& text) {
    if (text == "none")
        return "";
    if (!IsFileVersion(text))
        Throw("a driver file is a version a.b.c.d (four numbers from 0 to 65535) or none, not '" + text +
              "'");
    return text;
}

// Where an error of a parser of another format ("name:N: what") lands in the script.
std::string Relocate(const std::string& error) {
    std::size_t colon = error.find(": ");
    return colon == std::string::npos ? error : error.substr(colon + 2);
}

class LineParser {
public:
    LineParser(const ResourceCatalog& catalog, std::set<std::string>& cells, const std::vector<Word>& words,
               const std::string& source, const std::string& folder)
        : m_catalog(catalog), m_cells(cells), m_words(words), m_source(source), m_folder(folder) {}

    Command Parse() {
        Command c;
        c.source = m_source;
        const std::string verb = Word(0, "a command");
        if (verb == "tray" && m_words.size() >= 2 && m_words[1].text == "menu" && !m_words[1].quoted) {
            Arity(3);
            c.verb = Command::Verb::TrayMenu;
            c.number = MenuId(m_words[2].text);
        } else if (verb == "tray") {
            Arity(2);
            const std::string& what = Word(1, "double-click, right-click or a mouse message");
            if (what == "double-click" || what == "right-click") {
                c.verb =
                    what == "double-click" ? Command::Verb::TrayDoubleClick : Command::Verb::TrayRightClick;
            } else {
                c.verb = Command::Verb::TrayMessage;
                auto code = m_words[1].quoted ? std::nullopt : CodeOf(kTrayMessages, what);
                if (!code)
                    code = m_words[1].quoted ? std::nullopt : ParseNumber(what, 0xFFFF);
                if (!code)
                    Throw("'tray' takes double-click, right-click, a mouse message (" +
                          NameList(kTrayMessages) + ") or a message number, not '" + what + "'");
                c.number = static_cast<int>(*code);
            }
        } else if (verb == "key") {
            Arity(3);
            c.verb = Command::Verb::Key;
            c.control = Control(1);
            auto code = m_words[2].quoted ? std::nullopt : CodeOf(kKeys, m_words[2].text);
            if (!code)
                Throw("'key' presses " + NameList(kKeys) + ", not '" + m_words[2].text + "'");
            c.number = static_cast<int>(*code);
        } else if (verb == "reveal") {
            Arity(2);
            c.verb = Command::Verb::Reveal;
            c.control = Control(1);
        } else if (verb == "registry") {
            RegistryCommand(&c);
        } else if (verb == "driver-file") {
            Arity(2);
            c.verb = Command::Verb::DriverFile;
            c.text = DriverFileVersion(m_words[1].text);
        } else if (verb == "menu") {
            Keyword(1, {"pick"});
            Arity(3);
            c.verb = Command::Verb::MenuPick;
            if (m_words[2].quoted)
                c.text = m_words[2].text;
            else
                c.number = MenuId(m_words[2].text);
        } else if (verb == "tab") {
            Arity(2);
            c.verb = Command::Verb::Tab;
            IndexOrTitle(m_words[1], &c);
        } else if (verb == "type") {
            Arity(3);
            c.verb = Command::Verb::Type;
            c.control = Control(1);
            c.text = Quoted(2, "the text to type");
        } else if (verb == "select") {
            Arity(3);
            c.verb = Command::Verb::Select;
            c.control = Control(1);
            if (m_words[2].quoted)
                c.text = m_words[2].text;
            else
                c.number = static_cast<int>(Number(2, "an entry index or \"text\"", 9999));
        } else if (verb == "check" || verb == "uncheck" || verb == "click") {
            Arity(2);
            c.verb = verb == "check"     ? Command::Verb::Check
                     : verb == "uncheck" ? Command::Verb::Uncheck
                                         : Command::Verb::Click;
            c.control = Control(1);
        } else if (verb == "slider") {
            Arity(3);
            c.verb = Command::Verb::Slider;
            c.control = Control(1);
            c.number = static_cast<int>(Number(2, "a slider position", 100000));
        } else if (verb == "sheet") {
            Arity(2);
            c.verb = Command::Verb::Sheet;
            const std::string button = Keyword(1, {"ok", "cancel", "help"});
            c.number = button == "ok" ? IDOK : button == "cancel" ? IDCANCEL : IDHELP;
        } else if (verb == "answer" && m_words.size() >= 2 && m_words[1].text == "shell" &&
                   !m_words[1].quoted) {
            Arity(3);
            c.verb = Command::Verb::AnswerShell;
            c.number = static_cast<int>(Number(2, "a ShellExecute result", 0x7FFFFFFF));
        } else if (verb == "answer") {
            Arity(2);
            c.verb = Command::Verb::Answer;
            const std::string a =
                Keyword(1, {"ok", "cancel", "yes", "no", "abort", "retry", "ignore", "shell"});
            c.number = a == "ok"       ? IDOK
                       : a == "cancel" ? IDCANCEL
                       : a == "yes"    ? IDYES
                       : a == "no"     ? IDNO
                       : a == "abort"  ? IDABORT
                       : a == "retry"  ? IDRETRY
                                       : IDIGNORE;
        } else if (verb == "wait") {
            if (m_words.size() >= 2 && m_words[1].text == "until" && !m_words[1].quoted) {
                c.verb = Command::Verb::WaitUntil;
                std::size_t end = m_words.size();
                c.ms = 30000;
                if (end >= 4 && m_words[end - 2].text == "within") {
                    c.ms = Duration(end - 1);
                    end -= 2;
                }
                c.condition = ParseCondition(2, end);
            } else {
                Arity(2);
                c.verb = Command::Verb::Wait;
                c.ms = Duration(1);
            }
        } else if (verb == "expect" && m_words.size() >= 2 && m_words[1].text == "idle" &&
                   !m_words[1].quoted) {
            Arity(3);
            c.verb = Command::Verb::ExpectIdle;
            c.ms = Duration(2);
            if (c.ms < 2000)
                Throw("expect idle needs at least 2s: the program's pace is one link-state query a second");
        } else if (verb == "expect") {
            c.verb = Command::Verb::Expect;
            c.condition = ParseCondition(1, m_words.size());
        } else if (verb == "card") {
            const std::string what = Keyword(1, {"remove", "insert"});
            c.verb = what == "remove" ? Command::Verb::CardRemove : Command::Verb::CardInsert;
            c.number = 0;
            if (m_words.size() == 3)
                c.number = static_cast<int>(Number(2, "a card number", 15));
            else
                Arity(2);
        } else if (verb == "device") {
            const std::string what = Keyword(1, {"arrival", "removal", "nodes-changed"});
            if (what == "nodes-changed") {
                Arity(2);
                c.verb = Command::Verb::DeviceNodesChanged;
            } else {
                c.verb = what == "arrival" ? Command::Verb::DeviceArrival : Command::Verb::DeviceRemoval;
                DeviceOptions(&c);
            }
        } else if (verb == "power") {
            const std::string what = Word(1, "a power notice");
            if (what == "sleep" || what == "wake") {
                Arity(2);
                c.verb = what == "sleep" ? Command::Verb::PowerSleep : Command::Verb::PowerWake;
            } else if (what == "broadcast" || what == "legacy") {
                Arity(3);
                c.verb = what == "broadcast" ? Command::Verb::PowerBroadcast : Command::Verb::PowerLegacy;
                c.number = static_cast<int>(Number(2, "a wParam", 0x7FFFFFFF));
            } else {
                Arity(2);
                auto code = m_words[1].quoted ? std::nullopt : CodeOf(kPowerNotices, what);
                if (!code)
                    Throw("'power' takes sleep, wake, " + NameList(kPowerNotices) +
                          ", broadcast N or legacy N, not '" + what + "'");
                c.verb = Command::Verb::PowerBroadcast;
                c.number = static_cast<int>(*code);
            }
        } else if (verb == "world") {
            c.verb = Command::Verb::World;
            c.world = WorldLine();
        } else if (verb == "fault" && m_words.size() == 2 && m_words[1].text == "clear" &&
                   !m_words[1].quoted) {
            c.verb = Command::Verb::FaultClear;
        } else if (verb == "fault") {
            c.verb = Command::Verb::Fault;
            const simcard::FaultLoad load = simcard::ParseFaultRules(Rest(1, "a fault rule"), "fault");
            if (!load.ok)
                Throw("fault: " + Relocate(load.error));
            c.faults = load.rules;
        } else if (verb == "dump") {
            const std::string what = Keyword(1, {"page", "sheet", "registry", "tray", "trace", "request"});
            if (what == "page") {
                c.verb = Command::Verb::DumpPage;
                c.number = -2; // the page showing now
                if (m_words.size() > 2) {
                    Arity(3);
                    IndexOrTitle(m_words[2], &c);
                }
            } else if (what == "registry") {
                c.verb = Command::Verb::DumpRegistry;
                Arity(3);
                c.text = m_words[2].text;
            } else if (what == "tray") {
                c.verb = Command::Verb::DumpTray;
                Arity(2);
            } else if (what == "sheet") {
                c.verb = Command::Verb::DumpSheet;
                Arity(2);
            } else if (what == "request") {
                c.verb = Command::Verb::DumpRequest;
                Arity(3);
                c.count = Number(2, "a request number", 0xFFFFFFFFu);
                if (c.count == 0)
                    Throw("requests are numbered from 1");
            } else {
                c.verb = Command::Verb::DumpTrace;
                c.number = 10;
                if (m_words.size() > 2) {
                    Arity(3);
                    c.number = static_cast<int>(Number(2, "a number of requests", 100000));
                }
            }
        } else if (verb == "setup") {
            Throw("setup lines must come before every other command");
        } else {
            Throw("unknown command '" + verb + "'");
        }
        return c;
    }

private:
    const std::string& Word(std::size_t i, const char* what) const {
        if (i >= m_words.size())
            Throw(std::string("missing ") + what);
        return m_words[i].text;
    }

    void Arity(std::size_t n) const {
        if (m_words.size() < n)
            Throw("'" + m_words[0].text + "' needs " + std::to_string(n - 1) + " argument" +
                  (n == 2 ? "" : "s"));
        if (m_words.size() > n)
            Throw("unexpected '" + m_words[n].text + "' after '" + m_words[0].text + "' command");
    }

    std::string Keyword(std::size_t i, std::initializer_list<const char*> choices) const {
        std::string list;
        for (const char* choice : choices)
            list += (list.empty() ? "" : "|") + std::string(choice);
        if (i >= m_words.size())
            Throw("'" + m_words[0].text + "' needs " + list);
        for (const char* choice : choices)
            if (m_words[i].text == choice && !m_words[i].quoted)
                return choice;
        Throw("'" + m_words[0].text + "' takes " + list + ", not '" + m_words[i].text + "'");
    }

    std::string Quoted(std::size_t i, const char* what) const {
        if (i >= m_words.size() || !m_words[i].quoted)
            Throw(std::string("expected ") + what + " in double quotes");
        return m_words[i].text;
    }

    std::uint64_t Number(std::size_t i, const char* what, std::uint64_t max) const {
        const std::string& text = Word(i, what);
        auto value = m_words[i].quoted ? std::nullopt : ParseNumber(text, max);
        if (!value)
            Throw("'" + text + "' is not " + what + " (0 to " + std::to_string(max) + ")");
        return *value;
    }

    std::uint64_t Duration(std::size_t i) const {
        const std::string& text = Word(i, "a duration");
        auto value = ParseDuration(text);
        if (!value)
            Throw("'" + text + "' is not a duration (250ms, 5s, 1.5s, 10m; at most a day)");
        return *value;
    }

    int Control(std::size_t i) const {
        const std::string& text = Word(i, "a control");
        if (m_words[i].quoted)
            Throw("a control is named by its id or its symbol, not by quoted text");
        if (auto number = ParseNumber(text, 0xFFFF)) {
            if (!m_catalog.IsControl(static_cast<int>(*number)))
                Throw("no dialog of the resources has a control " + text);
            return static_cast<int>(*number);
        }
        auto symbol = m_catalog.Symbol(text);
        if (!symbol)
            Throw("unknown control '" + text + "'");
        if (!m_catalog.IsControl(static_cast<int>(*symbol)))
            Throw("'" + text + "' (" + std::to_string(*symbol) + ") is not a control of any dialog");
        return static_cast<int>(*symbol);
    }

    int MenuId(const std::string& text) const {
        if (auto number = ParseNumber(text, 0xFFFF)) {
            if (*number == 0)
                Throw("menu command 0 is no entry (0 dismisses a menu)");
            return static_cast<int>(*number);
        }
        auto symbol = m_catalog.Symbol(text);
        if (!symbol || *symbol <= 0 || *symbol > 0xFFFF)
            Throw("unknown menu command '" + text + "' (an id, a resource symbol or \"entry text\")");
        return static_cast<int>(*symbol);
    }

    void IndexOrTitle(const runner::Word& word, Command* c) const {
        if (!word.quoted) {
            if (auto number = ParseNumber(word.text, 63)) {
                c->number = static_cast<int>(*number);
                return;
            }
        }
        if (!m_catalog.IsCaption(word.text))
            Throw("no page is titled '" + word.text + "'");
        c->number = -1;
        c->text = word.text;
    }

    // [type N] [id "..."] after device arrival or removal, in either order.
    void DeviceOptions(Command* c) const {
        for (std::size_t i = 2; i < m_words.size(); i += 2) {
            const std::string& option = m_words[i].text;
            if (i + 1 >= m_words.size() || m_words[i].quoted || (option != "type" && option != "id"))
                Throw("'device " + m_words[1].text + "' takes [type N] [id \"...\"], not '" + option + "'");
            if (option == "type") {
                if (c->deviceType)
                    Throw("type given twice");
                c->deviceType = static_cast<std::uint32_t>(Number(i + 1, "a device type", 0xFFFFFFFFu));
            } else {
                if (!c->text.empty())
                    Throw("id given twice");
                c->text = Quoted(i + 1, "a device identifier");
                if (c->text.empty())
                    Throw("a device identifier is not empty");
            }
        }
    }

    // registry set KEY NAME TYPE DATA, registry delete KEY [NAME], registry refuse KEY [NAME] [options],
    // registry mark.
    void RegistryCommand(Command* c) const {
        const std::string what = Keyword(1, {"set", "delete", "refuse", "mark"});
        if (what == "mark") {
            Arity(2);
            c->verb = Command::Verb::RegistryMark;
            return;
        }
        const std::string& key = Word(2, "a registry key");
        if (!IsRegistryKey(key))
            Throw("'" + key + "' is no registry key (HKLM\\..., HKCU\\... or a full root name)");
        c->text = key;
        if (what == "refuse") {
            RefuseOptions(c);
            return;
        }
        if (what == "delete") {
            c->verb = Command::Verb::RegistryDelete;
            if (m_words.size() >= 4) {
                Arity(4);
                c->valueName = m_words[3].text;
            }
            return;
        }
        c->verb = Command::Verb::RegistrySet;
        c->valueName = Word(3, "a value name (\"\" for the key's default value)");
        const std::string& type = Word(4, "a value type (sz, dword, binary, ...)");
        if (m_words[4].quoted || !hostsim::ParseRegistryTypeName(type, &c->valueType))
            Throw("'" + type +
                  "' is no value type (none, sz, expand_sz, binary, dword, multi_sz or type(N))");
        if (m_words.size() == 5)
            Throw("registry set needs the data: \"text\", a number, or hex and bytes");
        if (m_words[5].quoted) {
            Arity(6);
            c->valueData.assign(m_words[5].text.begin(), m_words[5].text.end());
        } else if (m_words[5].text == "hex") {
            for (std::size_t i = 6; i < m_words.size(); ++i) {
                auto byte = m_words[i].quoted || m_words[i].text.size() != 2
                                ? std::nullopt
                                : ParseNumber("0x" + m_words[i].text, 0xFF);
                if (!byte)
                    Throw("'" + m_words[i].text + "' is not a byte of two hexadecimal digits");
                c->valueData.push_back(static_cast<std::uint8_t>(*byte));
            }
        } else {
            Arity(6);
            const auto number = static_cast<std::uint32_t>(Number(5, "a number", 0xFFFFFFFFu));
            for (int i = 0; i < 4; ++i)
                c->valueData.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
        }
    }

    // registry refuse KEY ["NAME"] [subkeys] [times=N] [optional]: the refusal, with its key as a full path.
    void RefuseOptions(Command* c) const {
        c->verb = Command::Verb::RegistryRefuse;
        hostsim::RegistryRefusal& rule = c->refusal;
        rule.keyPath = FullRegistryPath(c->text);
        std::size_t i = 3;
        if (i < m_words.size() && m_words[i].quoted)
            rule.valueName = m_words[i++].text;
        for (; i < m_words.size(); ++i) {
            const std::string& word = m_words[i].text;
            if (m_words[i].quoted)
                Throw("registry refuse takes one value name, in double quotes, right after the key");
            if (word == "subkeys") {
                rule.subkeys = true;
            } else if (word == "optional") {
                rule.optional = true;
            } else if (word.compare(0, 6, "times=") == 0) {
                auto n = ParseNumber(word.substr(6), 0xFFFFFFFFu);
                if (!n || *n == 0)
                    Throw("times=N needs a number from 1");
                rule.times = static_cast<std::uint32_t>(*n);
            } else {
                Throw("registry refuse takes [\"NAME\"] [subkeys] [times=N] [optional], not '" + word + "'");
            }
        }
        rule.text = m_source.substr(m_words[1].offset);
    }

    std::string Rest(std::size_t i, const char* what) const {
        if (i >= m_words.size())
            Throw(std::string("missing ") + what);
        return m_source.substr(m_words[i].offset);
    }

    // A line of the world file's syntax that adds cells or schedules changes, checked against the cells
    // known so far.
    simcard::WorldDefinition WorldLine() {
        const std::string line = Rest(1, "a line of the world file");
        std::string text;
        for (const std::string& name : m_cells)
            text += "ap name=" + name + " ssid=x bssid=00:00:00:00:00:01 channel=1 signal=1\n";
        const simcard::WorldLoad load = simcard::ParseWorld(text + line + "\n", "world");
        if (!load.ok)
            Throw("world: " + Relocate(load.error));
        simcard::WorldDefinition added;
        if (!load.world.cards.empty())
            Throw("world: cards cannot be added while the program runs (give them in the world file)");
        added.cells.assign(load.world.cells.begin() + static_cast<long>(m_cells.size()),
                           load.world.cells.end());
        added.events = load.world.events;
        for (const simcard::Cell& cell : added.cells)
            m_cells.insert(cell.name);
        return added;
    }

    Condition ParseCondition(std::size_t first, std::size_t end) const {
        Condition c;
        if (first >= end)
            Throw("missing condition (icon, box, control, link, sheet, page, request, registry or exited)");
        for (std::size_t i = first; i < end; ++i)
            c.source += (i == first ? "" : " ") +
                        (m_words[i].quoted ? "\"" + m_words[i].text + "\"" : m_words[i].text);
        const std::string what = m_words[first].text;
        auto count = [&](std::size_t n) {
            if (end - first != n)
                Throw("condition '" + what + "' takes " + std::to_string(n - 1) + " word" +
                      (n == 2 ? "" : "s") + ": " + c.source);
        };
        if (what == "icon" && end - first == 3) {
            if (m_words[first + 1].text != "follows" || m_words[first + 2].text != "link")
                Throw("condition 'icon' takes an icon id, none, or follows link: " + c.source);
            c.kind = Condition::Kind::IconFollowsLink;
        } else if (what == "icon") {
            count(2);
            if (m_words[first + 1].text == "none") {
                c.kind = Condition::Kind::NoIcon;
            } else {
                c.kind = Condition::Kind::Icon;
                c.number = static_cast<int>(Number(first + 1, "an icon id", 0xFFFF));
            }
        } else if (what == "box") {
            count(2);
            c.kind = Condition::Kind::Box;
            c.text = Quoted(first + 1, "the message box text");
        } else if (what == "control") {
            c.number = Control(first + 1);
            if (end - first == 4 && m_words[first + 2].text == "text") {
                c.kind = Condition::Kind::ControlText;
                c.text = Quoted(first + 3, "the control text");
            } else {
                count(3);
                c.kind = Condition::Kind::ControlState;
                const std::string state = m_words[first + 2].text;
                if (state != "enabled" && state != "disabled" && state != "checked" && state != "unchecked" &&
                    state != "visible" && state != "hidden")
                    Throw("a control is enabled, disabled, checked, unchecked, visible or hidden, not '" +
                          state + "'");
                c.text = state;
            }
        } else if (what == "link") {
            count(2);
            c.kind = Condition::Kind::Link;
            c.text = m_words[first + 1].text;
            if (c.text != "connected" && c.text != "searching" && c.text != "disconnected" && c.text != "off")
                Throw("a link is connected, searching, disconnected or off, not '" + c.text + "'");
        } else if (what == "sheet") {
            count(2);
            const std::string state = m_words[first + 1].text;
            if (state != "up" && state != "down")
                Throw("a sheet is up or down, not '" + state + "'");
            c.kind = state == "up" ? Condition::Kind::SheetUp : Condition::Kind::SheetDown;
        } else if (what == "page") {
            count(2);
            c.kind = Condition::Kind::Page;
            Command holder;
            IndexOrTitle(m_words[first + 1], &holder);
            c.number = holder.number;
            c.text = holder.text;
        } else if (what == "request") {
            if (end - first == 3) {
                const std::string kind = m_words[first + 2].text;
                if (kind != "query" && kind != "set")
                    Throw("a request is a query or a set, not '" + kind + "'");
                c.requestKind = kind == "query" ? simcard::RequestKind::Query : simcard::RequestKind::Set;
            } else {
                count(2);
            }
            c.kind = Condition::Kind::Request;
            c.number = static_cast<int>(Number(first + 1, "an OID", 0xFFFFFFFFu));
        } else if (what == "registry") {
            count(4);
            if (m_words[first + 1].text != "changes" || m_words[first + 1].quoted ||
                m_words[first + 2].text != "within" || m_words[first + 2].quoted)
                Throw("the registry condition reads: registry changes within \"FILE\"");
            c.kind = Condition::Kind::RegistryChanges;
            const std::string path = Quoted(first + 3, "a registry file");
            c.text = !path.empty() && path[0] == '/' ? path : m_folder + path;
        } else if (what == "exited") {
            count(1);
            c.kind = Condition::Kind::Exited;
        } else {
            Throw("unknown condition '" + what +
                  "' (icon, box, control, link, sheet, page, request, registry or exited)");
        }
        return c;
    }

    const ResourceCatalog& m_catalog;
    std::set<std::string>& m_cells;
    const std::vector<runner::Word>& m_words;
    const std::string& m_source;
    const std::string m_folder; // of the script, which relative file names start from
};

// Splits a text into lines; a final line without a newline counts, "\r\n" ends a line too.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Folder(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// A setup line: false when the line is no setup line.
bool SetupLine(const std::vector<Word>& words, const std::string& folder, ScriptSetup* setup) {
    if (words.empty() || words[0].text != "setup" || words[0].quoted)
        return false;
    if (words.size() >= 3 && words[1].text == "trace") {
        for (std::size_t i = 2; i < words.size(); ++i) {
            if (words[i].quoted || !IsTraceKind(words[i].text))
                Throw("setup trace takes library, registry, events or window, not '" + words[i].text + "'");
            setup->traces.insert(words[i].text);
        }
        return true;
    }
    if (words.size() != 3)
        Throw("setup takes a setting and a value: setup kind win98, setup world office.world");
    const std::string& what = words[1].text;
    const std::string& value = words[2].text;
    auto path = [&] { return !value.empty() && value[0] == '/' ? value : folder + value; };
    if (what == "kind")
        setup->kind = value;
    else if (what == "registry")
        setup->registry = path();
    else if (what == "world")
        setup->world = path();
    else if (what == "faults")
        setup->faults = path();
    else if (what == "driver-file")
        setup->driverFile = DriverFileVersion(value);
    else if (what == "window") {
        if (value.empty())
            Throw("setup window needs the window's title: setup window \"Title\"");
        setup->windows.push_back(value);
    } else
        Throw("setup of '" + what +
              "': kind, registry, world, faults, trace, driver-file, or window \"Title\"");
    return true;
}

} // namespace

const char* const kTraceKinds[4] = {"library", "registry", "events", "window"};

bool IsTraceKind(const std::string& word) {
    for (const char* kind : kTraceKinds)
        if (word == kind)
            return true;
    return false;
}

ScriptReader::ScriptReader(const ResourceCatalog& catalog, std::set<std::string> cells)
    : m_catalog(catalog), m_cells(std::move(cells)) {}

bool ScriptReader::ReadLine(const std::string& raw, const std::string& fileName, int number, Command* command,
                            bool* empty, std::string* error) {
    try {
        CheckBytes(raw);
        const std::string source = StripComment(raw);
        std::vector<Word> words;
        std::string splitError;
        if (!SplitWords(source, &words, &splitError))
            Throw(splitError);
        *empty = words.empty();
        if (words.empty())
            return true;
        *command = LineParser(m_catalog, m_cells, words, source, Folder(fileName)).Parse();
        command->line = number;
        return true;
    } catch (const LineError& e) {
        *error = fileName + ":" + std::to_string(number) + ": " + e.what;
        return false;
    }
}

ReadResult ScriptReader::Read(const std::string& text, const std::string& fileName) {
    ReadResult result;
    result.script.name = fileName;
    const std::vector<std::string> lines = Lines(text);
    bool setupAllowed = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        try {
            CheckBytes(lines[i]);
            std::vector<Word> words;
            std::string splitError;
            if (!SplitWords(StripComment(lines[i]), &words, &splitError))
                Throw(splitError);
            if (words.empty())
                continue;
            if (setupAllowed && SetupLine(words, Folder(fileName), &result.script.setup))
                continue;
        } catch (const LineError& e) {
            result.error = fileName + ":" + std::to_string(number) + ": " + e.what;
            return result;
        }
        setupAllowed = false;
        Command command;
        bool empty = false;
        if (!ReadLine(lines[i], fileName, number, &command, &empty, &result.error))
            return result;
        if (!empty)
            result.script.commands.push_back(std::move(command));
    }
    result.ok = true;
    return result;
}

bool ReadSetup(const std::string& text, const std::string& fileName, ScriptSetup* setup, std::string* error) {
    const std::vector<std::string> lines = Lines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        try {
            CheckBytes(lines[i]);
            std::vector<Word> words;
            std::string splitError;
            if (!SplitWords(StripComment(lines[i]), &words, &splitError))
                Throw(splitError);
            if (words.empty())
                continue;
            if (!SetupLine(words, Folder(fileName), setup))
                return true;
        } catch (const LineError& e) {
            *error = fileName + ":" + std::to_string(i + 1) + ": " + e.what;
            return false;
        }
    }
    return true;
}

} // namespace runner
