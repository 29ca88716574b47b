// What a user does to the program's windows, for the framework's behaviour tests: one implementation per
// backend (the headless window system here; real windows driven by messages under Wine). Reading state goes
// through the Win32 API, which both backends answer.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include <win32api.h>

class UserDriver {
public:
    virtual ~UserDriver() = default;
    // A fresh window system with the tests' own dialogs and strings.
    virtual void Reset() = 0;
    // The top-level window with this title, once it shows (NULL after a few seconds).
    virtual HWND WaitForWindow(const char* title) = 0;
    virtual bool Click(HWND dialog, int id) = 0;
    virtual bool Type(HWND dialog, int id, const std::string& text) = 0;
    virtual bool PickCombo(HWND dialog, int id, int index) = 0;
    virtual bool ClickRow(HWND dialog, int id, int row) = 0;
    virtual bool DragSlider(HWND dialog, int id, int pos) = 0;
    virtual bool SelectTab(HWND sheet, int index) = 0;
    // Answers the next message box the program shows.
    virtual void AnswerNextBox(int answer) = 0;
    // Texts of the message boxes shown since Reset, in order.
    virtual std::vector<std::string> BoxesShown() = 0;
    // Time for a test of timers: virtual on the host (exact, and instant), real elsewhere. Lives as long as
    // the returned object.
    virtual std::shared_ptr<void> TestTime() = 0;
    virtual bool TimeIsExact() = 0;
    // Whether the backend sees the program's help requests (real help would open a window of its own).
    virtual bool SeesHelpRequests() = 0;
    // Help requests since Reset: (command, context).
    virtual std::vector<std::pair<UINT, ULONG_PTR>> HelpRequests() = 0;
    // What went wrong that a user would have seen as a hang or a misuse (host only; empty elsewhere).
    virtual std::vector<std::string> Failures() = 0;
};

UserDriver& Driver();
