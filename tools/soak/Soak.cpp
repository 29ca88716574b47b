#include "Soak.h"

#include "ScriptWords.h"

#include "driverlib/CardRack.h"
#include "resource.h"

#include <hostsim/Clock.h>
#include <hostsim/HeapScope.h>
#include <hostsim/Registry.h>
#include <hostui/HostUi.h>

#include <cstdio>

namespace soak {
namespace {

constexpr std::uint64_t kHourMs = 3600ull * 1000;

const std::vector<std::string> kSsids = {"WLAN", "OFFICE", "any", "LAN party", "GUEST"};
const std::vector<std::string> kProfiles = {"p1", "p2", "p3", "p4"};
// Requests a one-off fault may meet, and how.
const std::vector<std::string> kFaultSites = {
    "oid 0xFF010199", "oid 0xFF010181 query", "oid 0xFF020191 set", "oid 0xFF020198", "oid 0xFF010194",
    "oid 0xFF02019D", "oid 0xFF02018D",       "oid 0xFF020196",     "oid 0x01010102", "oid 0xFF02019C"};
const std::vector<std::string> kFaultActions = {"fail 0xC0000001", "short 1", "mute", "delay 2500",
                                                "delay 1500 fail 0xC0000001"};
const std::vector<std::string> kTabs = {"Link Info",  "Configuration", "Site Survey",
                                        "Encryption", "Advanced",      "About"};

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

bool Holdings::operator==(const Holdings& o) const {
    return kernelHandles == o.kernelHandles && registryHandles == o.registryHandles &&
           adapterHandles == o.adapterHandles && windows == o.windows && gdiObjects == o.gdiObjects &&
           heap.blocks == o.heap.blocks && heap.bytes == o.heap.bytes;
}

std::string Holdings::Describe() const {
    char text[200];
    std::snprintf(text, sizeof text,
                  "kernel handles %zu, registry handles %zu, adapter handles %zu, windows %zu, GDI objects "
                  "%zu, heap %lld blocks / %lld bytes",
                  kernelHandles, registryHandles, adapterHandles, windows, gdiObjects,
                  static_cast<long long>(heap.blocks), static_cast<long long>(heap.bytes));
    return text;
}

Soak::Soak(runner::LiveRun& run, std::shared_ptr<SoakChecks> checks, std::uint64_t seed,
           hostsim::WindowsKind kind, simcard::WorldDefinition world)
    : m_run(run), m_checks(std::move(checks)), m_random(seed), m_answers(seed ^ 0x5EEDu), m_kind(kind),
      m_world(std::move(world)) {
    // A box the user answers as a user would: OK, or yes or no to a question.
    hostui::SetMessageBoxResponder([this](const std::string&, unsigned int style) {
        const hostsim::NotProgramHeap soakHeap; // the soak's record of its answers
        const bool question = (style & MB_TYPEMASK) == MB_YESNO;
        const int answer = question ? (m_answers() % 2 == 0 ? IDYES : IDNO) : IDOK;
        m_answersOfStep.push_back(answer == IDYES ? "yes" : answer == IDNO ? "no" : "ok");
        return answer;
    });
}

// ---- playing -----------------------------------------------------------------------------------------

std::uint64_t Soak::Now() const {
    return m_run.GetSession()->Now();
}

bool Soak::Fail(const std::string& what) {
    m_figures.boxes = m_checks->Boxes();
    m_figures.linkPolls = m_checks->LinkPolls();
    m_figures.registryWrites = m_checks->RegistryWrites();
    if (m_failure.empty())
        m_failure = "step " + std::to_string(m_figures.steps) + " at " + Clock(Now()) + ": " + what;
    return false;
}

bool Soak::Play(const std::string& line) {
    runner::Command command;
    bool empty = true;
    std::string error;
    const int number = static_cast<int>(m_script.size() + 1);
    if (!m_run.Reader().ReadLine(line, "soak", number, &command, &empty, &error))
        return Fail("the soak made a line the runner does not read: " + error);
    m_answersOfStep.clear();
    ++m_figures.steps;
    const std::size_t failures = m_run.GetSession()->record.FailureCount();
    const bool played = m_run.Player().Play(command);
    for (const std::string& answer : m_answersOfStep)
        m_script.push_back("answer " + answer);
    m_script.push_back(line);
    if (m_run.Program().Exited())
        return Fail("the program ended (exit code " + std::to_string(m_run.Program().ExitCode()) + ") at " +
                    line);
    if (!played || m_run.GetSession()->record.FailureCount() != failures) {
        std::string last;
        for (const std::string& seen : m_run.GetSession()->transcript.Lines())
            if (seen.find("FAILED") != std::string::npos || seen.find("FAILURE") != std::string::npos)
                last = seen;
        return Fail(line + ": " + (last.empty() ? "the command failed" : last));
    }
    m_checks->CheckIcon(Now());
    const std::string violation = m_checks->Violation();
    if (!violation.empty())
        return Fail(violation);
    return true;
}

bool Soak::PlayAll(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        if (!Play(line))
            return false;
    return true;
}

std::string Soak::ReplayScript(const std::string& worldPath) const {
    std::string text =
        "# The soak's steps as the host runner plays them (the boxes' answers before each step).\n";
    text += std::string("setup kind ") + hostsim::WindowsKindName(m_kind) + "\n";
    text += "setup world " + worldPath + "\n";
    for (const std::string& line : m_script)
        text += line + "\n";
    return text;
}

// ---- what the program shows --------------------------------------------------------------------------

HWND Soak::Sheet() const {
    if (m_run.Program().Exited())
        return nullptr;
    HWND top = ::FindWindowA("#32770", nullptr);
    if (top == nullptr || !::IsWindowVisible(top))
        return nullptr;
    return hostui::SheetTabs(top).empty() ? nullptr : top;
}

HWND Soak::Page() const {
    HWND sheet = Sheet();
    return sheet != nullptr ? hostui::CurrentSheetPage(sheet) : nullptr;
}

std::string Soak::PageTitle() const {
    HWND sheet = Sheet();
    if (sheet == nullptr)
        return "";
    HWND tab = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    const hostui::ControlSnapshot tabs = hostui::ReadControl(tab);
    if (tabs.selection < 0 || tabs.selection >= static_cast<int>(tabs.items.size()))
        return "";
    return tabs.items[static_cast<std::size_t>(tabs.selection)];
}

bool Soak::Usable(int control) const {
    HWND page = Page();
    if (page == nullptr)
        return false;
    const hostui::ControlSnapshot c = hostui::ReadControl(page, control);
    return c.exists && c.enabled && c.visible;
}

bool Soak::TrayShown() const {
    return hostui::GetTrayIcon().shown;
}

// ---- random choices ----------------------------------------------------------------------------------

int Soak::Pick(int n) {
    return static_cast<int>(m_random() % static_cast<std::uint64_t>(n));
}

bool Soak::Chance(int percent) {
    return Pick(100) < percent;
}

std::string Soak::OneOf(const std::vector<std::string>& choices) {
    return choices[static_cast<std::size_t>(Pick(static_cast<int>(choices.size())))];
}

std::string Soak::HexDigits(int count) {
    static const char digits[] = "0123456789ABCDEFabcdef";
    std::string text;
    for (int i = 0; i < count; ++i)
        text += digits[Pick(22)];
    return text;
}

// ---- the world ---------------------------------------------------------------------------------------

std::vector<std::string> Soak::NextAction() {
    if (m_asleep)
        return Chance(50) ? std::vector<std::string>{"power wake"} : WaitAction();
    const int roll = Pick(100);
    if (roll < 20)
        return WorldAction();
    if (roll < 75)
        return UserAction();
    return WaitAction();
}

std::vector<std::string> Soak::WorldAction() {
    const int roll = Pick(100);
    const simcard::Cell& cell =
        m_world.cells[static_cast<std::size_t>(Pick(static_cast<int>(m_world.cells.size())))];
    if (roll < 40)
        return {"world at 0 " + cell.name + " signal=" + std::to_string(Pick(60))};
    if (roll < 55)
        return {"world at 0 " + cell.name + " present=" + (Chance(70) ? "yes" : "no")};
    if (roll < 70) {
        ++m_figures.faults;
        return {"fault " + OneOf(kFaultSites) + " times=1 optional " + OneOf(kFaultActions)};
    }
    if (roll < 85) {
        if (m_cardIn) {
            m_cardIn = false;
            ++m_figures.faults;
            if (Chance(70))
                return {"card remove", "device removal"};
            return {"card remove"};
        }
        m_cardIn = true;
        if (Chance(80))
            return {"card insert", "device arrival"};
        return {"card insert"};
    }
    if (roll < 92 && m_cardIn) {
        m_asleep = true;
        ++m_figures.faults;
        return {"power sleep"};
    }
    return {"device nodes-changed"};
}

std::vector<std::string> Soak::WaitAction() {
    const int roll = Pick(100);
    // Left alone with the sheet down, the program polls the link once a second and does nothing else: the
    // faults armed are let go first, and a pending apply has its cycle.
    if (roll < 8 && Sheet() == nullptr && m_cardIn && !m_asleep && m_checks->PolledWithin(Now(), 1500))
        return {"fault clear", "wait 3s", "expect idle 10s"};
    if (roll < 65)
        return {"wait " + std::to_string(1 + Pick(5)) + "s"};
    if (roll < 95)
        return {"wait " + std::to_string(5 + Pick(25)) + "s"};
    return {"wait " + std::to_string(1 + Pick(3)) + "m"};
}

// ---- the user ----------------------------------------------------------------------------------------

std::vector<std::string> Soak::UserAction() {
    HWND sheet = Sheet();
    if (sheet == nullptr) {
        if (!TrayShown())
            return WaitAction();
        // The menu offers "Show" while the sheet is down; with no card it says so.
        return {Chance(70) ? "tray double-click" : "tray menu ID_TRAY_SHOW"};
    }
    const int roll = Pick(100);
    if (roll < 15)
        return {"tab " + Quoted(OneOf(kTabs))};
    if (roll < 22) {
        const int close = Pick(3);
        if (close == 0)
            return {"sheet ok"};
        if (close == 1)
            return {"sheet cancel"};
        return TrayShown() ? std::vector<std::string>{"tray menu ID_TRAY_HIDE"}
                           : std::vector<std::string>{"sheet cancel"};
    }
    std::vector<std::string> lines = PageAction(PageTitle());
    return lines.empty() ? WaitAction() : lines;
}

std::vector<std::string> Soak::PageAction(const std::string& page) {
    auto click = [this](int control, const char* name) -> std::vector<std::string> {
        if (!Usable(control))
            return {};
        return {std::string("click ") + name};
    };
    auto selectIndex = [this](int control, const char* name) -> std::vector<std::string> {
        if (!Usable(control))
            return {};
        const hostui::ControlSnapshot c = hostui::ReadControl(Page(), control);
        const std::size_t count = c.className == "SysListView32" ? c.rows.size() : c.items.size();
        if (count == 0)
            return {};
        return {std::string("select ") + name + " " + std::to_string(Pick(static_cast<int>(count)))};
    };
    const int roll = Pick(100);
    if (page == "Link Info")
        return roll < 30 ? click(IDC_LINK_RESEARCH, "IDC_LINK_RESEARCH") : std::vector<std::string>{};
    if (page == "Configuration") {
        if (roll < 15)
            return Usable(IDC_CFG_SSID)
                       ? std::vector<std::string>{"type IDC_CFG_SSID " + Quoted(OneOf(kSsids))}
                       : std::vector<std::string>{};
        if (roll < 20)
            return selectIndex(IDC_CFG_MODE, "IDC_CFG_MODE");
        if (roll < 28)
            return selectIndex(IDC_CFG_RATE, "IDC_CFG_RATE");
        if (roll < 34)
            return selectIndex(IDC_CFG_CHANNEL, "IDC_CFG_CHANNEL");
        if (roll < 38)
            return selectIndex(IDC_CFG_POWER_SAVING, "IDC_CFG_POWER_SAVING");
        if (roll < 55)
            return click(IDC_CFG_APPLY, "IDC_CFG_APPLY");
        if (roll < 60)
            return click(IDC_CFG_UNDO, "IDC_CFG_UNDO");
        if (roll < 64)
            return click(IDC_CFG_RESTORE, "IDC_CFG_RESTORE");
        if (roll < 72) {
            if (!Usable(IDC_CFG_PROFILE))
                return {};
            std::vector<std::string> lines = {"type IDC_CFG_PROFILE " + Quoted(OneOf(kProfiles))};
            return lines;
        }
        if (roll < 76)
            return click(IDC_CFG_CREATE, "IDC_CFG_CREATE");
        if (roll < 84)
            return selectIndex(IDC_CFG_PROFILE, "IDC_CFG_PROFILE");
        if (roll < 90)
            return click(IDC_CFG_ACTIVATE, "IDC_CFG_ACTIVATE");
        return click(IDC_CFG_REMOVE, "IDC_CFG_REMOVE");
    }
    if (page == "Site Survey") {
        if (roll < 35)
            return click(IDC_SURVEY_SEARCH, "IDC_SURVEY_SEARCH");
        if (roll < 70)
            return selectIndex(IDC_SURVEY_LIST, "IDC_SURVEY_LIST");
        return click(IDC_SURVEY_CONNECT, "IDC_SURVEY_CONNECT");
    }
    if (page == "Encryption") {
        if (roll < 15)
            return selectIndex(IDC_WEP_MODE, "IDC_WEP_MODE");
        if (roll < 45) {
            // One key box of those shown: a good key, or one of the wrong length.
            const int boxes64[] = {IDC_WEP_KEY64_1, IDC_WEP_KEY64_2, IDC_WEP_KEY64_3, IDC_WEP_KEY64_4};
            const int boxes128[] = {IDC_WEP_KEY128_1, IDC_WEP_KEY128_2, IDC_WEP_KEY128_3, IDC_WEP_KEY128_4};
            const int slot = Pick(4);
            if (Usable(boxes64[slot])) {
                const std::string key = Chance(85) ? (slot == 0 && Chance(50) ? "0102030405" : HexDigits(10))
                                                   : HexDigits(1 + Pick(9));
                return {"type " + std::to_string(boxes64[slot]) + " " + Quoted(key)};
            }
            if (Usable(boxes128[slot]))
                return {"type " + std::to_string(boxes128[slot]) + " " +
                        Quoted(Chance(85) ? HexDigits(26) : HexDigits(1 + Pick(25)))};
            return {};
        }
        if (roll < 55)
            return selectIndex(IDC_WEP_DEFAULT_KEY, "IDC_WEP_DEFAULT_KEY");
        if (roll < 80)
            return click(IDC_WEP_APPLY, "IDC_WEP_APPLY");
        if (roll < 90)
            return click(IDC_WEP_UNDO, "IDC_WEP_UNDO");
        return click(IDC_WEP_RESTORE, "IDC_WEP_RESTORE");
    }
    if (page == "Advanced") {
        if (roll < 15)
            return Usable(IDC_ADV_FRAG_SLIDER) ? std::vector<std::string>{"slider IDC_ADV_FRAG_SLIDER " +
                                                                          std::to_string(256 + Pick(2177))}
                                               : std::vector<std::string>{};
        if (roll < 30)
            return Usable(IDC_ADV_RTS_SLIDER)
                       ? std::vector<std::string>{"slider IDC_ADV_RTS_SLIDER " + std::to_string(Pick(2433))}
                       : std::vector<std::string>{};
        if (roll < 40)
            return selectIndex(IDC_ADV_AUTH_TYPE, "IDC_ADV_AUTH_TYPE");
        if (roll < 50)
            return selectIndex(IDC_ADV_PREAMBLE, "IDC_ADV_PREAMBLE");
        if (roll < 75)
            return click(IDC_ADV_APPLY, "IDC_ADV_APPLY");
        if (roll < 88)
            return click(IDC_ADV_UNDO, "IDC_ADV_UNDO");
        return click(IDC_ADV_RESTORE, "IDC_ADV_RESTORE");
    }
    return {};
}

// ---- the end of an hour ------------------------------------------------------------------------------

Holdings Soak::Count() const {
    Holdings h;
    h.kernelHandles = hostsim::OpenKernelHandleCount();
    h.registryHandles = hostsim::OpenRegistryHandleCount();
    h.adapterHandles = driverlib::CardRack::Instance().OpenHandleCount();
    h.windows = hostui::WindowCount();
    h.gdiObjects = hostui::GdiObjectCount();
    h.heap = ProgramHeap();
    return h;
}

// Program and world to the same resting state, whatever the hour left: faults over, the world as it began,
// the card pulled and put back with Windows' notifications, the same settings made on every page, the sheet
// closed, the link back, the program idle.
bool Soak::Rest() {
    std::vector<std::string> lines = {"fault clear"};
    if (m_asleep)
        lines.push_back("power wake");
    m_asleep = false;
    for (const simcard::Cell& cell : m_world.cells)
        lines.push_back("world at 0 " + cell.name + " signal=" + std::to_string(cell.signal) + " channel=" +
                        std::to_string(cell.channel) + " present=" + (cell.present ? "yes" : "no"));
    if (Sheet() != nullptr)
        lines.push_back("sheet cancel");
    if (m_cardIn)
        lines.insert(lines.end(), {"card remove", "device removal"});
    lines.insert(lines.end(), {"wait 3s", "card insert", "device arrival"});
    m_cardIn = true;
    lines.insert(
        lines.end(),
        {"wait 5s", "wait until icon follows link within 30s", "tray double-click",
         "wait until sheet up within 5s",
         // The monitor thread's failure box, once: whatever it keeps for showing one, it keeps
         // from the first hour on.
         "tab \"Link Info\"", "fault oid 0xFF010194 set thread=monitor times=1 fail 0xC0000001",
         "click IDC_LINK_RESEARCH", "wait 3s", "fault clear", "tab \"Configuration\"",
         "select IDC_CFG_PROFILE \"default\"", "click IDC_CFG_ACTIVATE", "click IDC_CFG_RESTORE",
         "click IDC_CFG_APPLY", "tab \"Encryption\"", "select IDC_WEP_MODE \"128 Bits\"",
         "type IDC_WEP_KEY128_1 \"0102030405060708090A0B0C0D\"",
         "type IDC_WEP_KEY128_2 \"1112131415161718191A1B1C1D\"",
         "type IDC_WEP_KEY128_3 \"2122232425262728292A2B2C2D\"",
         "type IDC_WEP_KEY128_4 \"3132333435363738393A3B3C3D\"", "select IDC_WEP_DEFAULT_KEY \"1\"",
         "click IDC_WEP_APPLY", "select IDC_WEP_MODE \"64 Bits\"", "type IDC_WEP_KEY64_1 \"0102030405\"",
         "type IDC_WEP_KEY64_2 \"1112131415\"", "type IDC_WEP_KEY64_3 \"2122232425\"",
         "type IDC_WEP_KEY64_4 \"3132333435\"", "click IDC_WEP_APPLY", "select IDC_WEP_MODE \"Disabled\"",
         "click IDC_WEP_APPLY", "tab \"Advanced\"", "click IDC_ADV_RESTORE", "click IDC_ADV_APPLY",
         // Shown again, the sheet loads what was just saved, as after every hour.
         "sheet cancel", "wait until sheet down within 2s", "tray double-click",
         "wait until sheet up within 5s", "tab \"About\"", "wait 12s", "tab \"Site Survey\"",
         "select IDC_SURVEY_LIST 0", "tab \"Link Info\"", "wait 5s", "sheet cancel",
         "wait until sheet down within 2s", "wait 5s", "wait until icon 186 within 30s", "expect idle 10s"});
    return PlayAll(lines);
}

bool Soak::Run(std::uint64_t hours, std::uint64_t restMinutes) {
    const std::uint64_t period = restMinutes * 60 * 1000;
    if (!Play("wait until icon 186 within 30s"))
        return false;
    m_figures.start = Count();
    std::uint64_t nextRest = period;
    std::uint64_t rests = 0;
    while (Now() < hours * kHourMs || rests * period < hours * kHourMs) {
        if (Now() >= nextRest) {
            if (!Rest())
                return false;
            const Holdings held = Count();
            ++rests;
            m_figures.hours = rests * period / kHourMs;
            m_figures.last = held;
            if (HeapSitesKept())
                (rests == 1 ? m_figures.firstSites : m_figures.lastSites) = HeapSites();
            if (rests == 1)
                m_figures.first = held;
            else if (!(held == m_figures.first))
                return Fail("at rest " + std::to_string(rests) + " the program holds " + held.Describe() +
                            "; at the first: " + m_figures.first.Describe());
            nextRest = (Now() / period + 1) * period;
            continue;
        }
        const bool sheetWasUp = Sheet() != nullptr;
        const std::vector<std::string> action = NextAction();
        ++m_figures.actions;
        if (!PlayAll(action))
            return false;
        // A sheet being opened comes up once its first page has had its turn at the card, which may wait
        // for the monitor thread and for a slow driver: the user waits for it before doing anything else
        // (and gives up after 10 s, when the program did not open it).
        const std::string& first = action.front();
        if (!sheetWasUp && (first == "tray double-click" || first == "tray menu ID_TRAY_SHOW"))
            for (int i = 0; i < 10 && Sheet() == nullptr; ++i)
                if (!Play("wait 1s"))
                    return false;
    }
    m_figures.boxes = m_checks->Boxes();
    m_figures.linkPolls = m_checks->LinkPolls();
    m_figures.registryWrites = m_checks->RegistryWrites();
    return true;
}

} // namespace soak
