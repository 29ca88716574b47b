// The user driver on real windows: the same messages a user's input brings, sent from the test's user thread;
// message boxes are found by a watcher thread and answered with the queued answers.
#include <atomic>
#include <deque>
#include <string>

#include "driver/UserDriver.h"
#include "threads/Mutex.h"
#include "threads/Thread.h"

namespace {

constexpr int kBoxTextId = 0xFFFF;

bool IsReachable(HWND control) {
    for (HWND h = control; h != nullptr; h = ::GetParent(h)) {
        if (!::IsWindowEnabled(h))
            return false;
    }
    return control != nullptr && ::IsWindowVisible(control);
}

class Win32UserDriver : public UserDriver {
public:
    ~Win32UserDriver() override {
        m_stop = true;
        m_watcher.Join();
    }

    void Reset() override {
        threads::Lock lock(m_mutex);
        m_answers.clear();
        m_boxes.clear();
        m_failures.clear();
        if (!m_watcher.Joinable())
            m_watcher = threads::Thread([this] { Watch(); });
    }

    HWND WaitForWindow(const char* title) override {
        for (int i = 0; i < 500; ++i) {
            HWND hwnd = ::FindWindowA(nullptr, title);
            if (hwnd != nullptr && ::IsWindowVisible(hwnd))
                return hwnd;
            ::Sleep(10);
        }
        return nullptr;
    }

    bool Click(HWND dialog, int id) override {
        HWND button = ::GetDlgItem(dialog, id);
        if (!Reachable(button, "click", id))
            return false;
        ::SendMessageA(button, BM_CLICK, 0, 0);
        return true;
    }

    bool Type(HWND dialog, int id, const std::string& text) override {
        HWND control = ::GetDlgItem(dialog, id);
        if (!Reachable(control, "type into", id))
            return false;
        char className[32] = "";
        ::GetClassNameA(control, className, sizeof className);
        bool combo = ::lstrcmpiA(className, "ComboBox") == 0;
        HWND target = combo ? ::GetWindow(control, GW_CHILD) : control;
        if (target == nullptr)
            target = control;
        ::SendMessageA(target, EM_SETSEL, 0, -1);
        for (char c : text)
            ::SendMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
        return true;
    }

    bool PickCombo(HWND dialog, int id, int index) override {
        HWND combo = ::GetDlgItem(dialog, id);
        if (!Reachable(combo, "pick an entry of", id) ||
            ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) == CB_ERR)
            return false;
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
        return true;
    }

    bool ClickRow(HWND dialog, int id, int row) override {
        HWND list = ::GetDlgItem(dialog, id);
        if (!Reachable(list, "click a row of", id) || row < 0 ||
            row >= static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)))
            return false;
        LVITEMA item{};
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = list;
        click.hdr.idFrom = static_cast<UINT_PTR>(id);
        click.hdr.code = NM_CLICK;
        click.iItem = row;
        ::SendMessageA(dialog, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&click));
        return true;
    }

    bool DragSlider(HWND dialog, int id, int pos) override {
        HWND slider = ::GetDlgItem(dialog, id);
        if (!Reachable(slider, "drag", id))
            return false;
        ::SendMessageA(slider, TBM_SETPOS, TRUE, pos);
        pos = static_cast<int>(::SendMessageA(slider, TBM_GETPOS, 0, 0));
        ::SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, pos), reinterpret_cast<LPARAM>(slider));
        ::SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, pos),
                       reinterpret_cast<LPARAM>(slider));
        ::SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
        NMHDR released{slider, static_cast<UINT_PTR>(id), static_cast<UINT>(NM_RELEASEDCAPTURE)};
        ::SendMessageA(dialog, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&released));
        return true;
    }

    bool SelectTab(HWND sheet, int index) override {
        return ::SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0) != 0;
    }

    void AnswerNextBox(int answer) override {
        threads::Lock lock(m_mutex);
        m_answers.push_back(answer);
    }

    std::vector<std::string> BoxesShown() override {
        threads::Lock lock(m_mutex);
        return m_boxes;
    }

    std::shared_ptr<void> TestTime() override { return nullptr; }
    bool TimeIsExact() override { return false; }
    bool SeesHelpRequests() override { return false; }
    std::vector<std::pair<UINT, ULONG_PTR>> HelpRequests() override { return {}; }

    std::vector<std::string> Failures() override {
        threads::Lock lock(m_mutex);
        return m_failures;
    }

private:
    bool Reachable(HWND control, const char* action, int id) {
        if (IsReachable(control))
            return true;
        threads::Lock lock(m_mutex);
        m_failures.push_back(std::string(action) + " control " + std::to_string(id) + ": not reachable");
        return false;
    }

    static BOOL CALLBACK FindBox(HWND hwnd, LPARAM found) {
        char className[16] = "";
        ::GetClassNameA(hwnd, className, sizeof className);
        DWORD process = 0;
        ::GetWindowThreadProcessId(hwnd, &process);
        if (process == ::GetCurrentProcessId() && ::lstrcmpA(className, "#32770") == 0 &&
            ::IsWindowVisible(hwnd) && ::GetDlgItem(hwnd, kBoxTextId) != nullptr &&
            ::GetDlgItem(hwnd, AFX_TAB) == nullptr) {
            *reinterpret_cast<HWND*>(found) = hwnd;
            return FALSE;
        }
        return TRUE;
    }

    // Message boxes are dialogs with a text of id 0xFFFF; a property sheet has its tab control instead.
    void Watch() {
        while (!m_stop) {
            HWND box = nullptr;
            ::EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&box));
            if (box == nullptr) {
                ::Sleep(20);
                continue;
            }
            char text[1024] = "";
            ::GetDlgItemTextA(box, kBoxTextId, text, sizeof text);
            int answer = IDCANCEL;
            {
                threads::Lock lock(m_mutex);
                m_boxes.push_back(text);
                if (m_answers.empty()) {
                    m_failures.push_back(std::string("message box \"") + text +
                                         "\" shown with no answer queued");
                    answer = ::GetDlgItem(box, IDCANCEL) != nullptr ? IDCANCEL : IDOK;
                } else {
                    answer = m_answers.front();
                    m_answers.pop_front();
                }
            }
            ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
            for (int i = 0; i < 100 && ::IsWindow(box); ++i)
                ::Sleep(10);
        }
    }

    static constexpr int AFX_TAB = 0x3020;
    threads::Mutex m_mutex;
    std::deque<int> m_answers;
    std::vector<std::string> m_boxes;
    std::vector<std::string> m_failures;
    std::atomic<bool> m_stop{false};
    threads::Thread m_watcher;
};

} // namespace

UserDriver& Driver() {
    static Win32UserDriver driver;
    return driver;
}
