// What the user does: the tray icon, popup menus, the sheet's tabs and buttons, the controls of the page or
// dialog that shows, and answers to message boxes.
#include "EventFormat.h"
#include "ScriptPlayer.h"

#include <hostui/HostUi.h>

namespace runner {

HWND ScriptPlayer::Sheet() const {
    if (m_program.Exited())
        return nullptr;
    HWND top = ::FindWindowA("#32770", nullptr);
    if (top == nullptr || !::IsWindowVisible(top))
        return nullptr;
    return hostui::SheetTabs(top).empty() ? nullptr : top;
}

HWND ScriptPlayer::Dialog() const {
    if (m_program.Exited())
        return nullptr;
    if (HWND sheet = Sheet())
        return hostui::CurrentSheetPage(sheet);
    HWND top = ::FindWindowA("#32770", nullptr);
    return top != nullptr && ::IsWindowVisible(top) ? top : nullptr;
}

HWND ScriptPlayer::DialogWith(int control, std::string* error) const {
    HWND dialog = Dialog();
    if (dialog == nullptr) {
        *error = "no sheet or dialog shows";
        return nullptr;
    }
    if (::GetDlgItem(dialog, control) == nullptr) {
        HWND sheet = Sheet();
        *error = "control " + std::to_string(control) + " is not on " +
                 (sheet != nullptr ? "the page showing (" + PageTitle(sheet) + ")"
                                   : std::string("the dialog showing"));
        return nullptr;
    }
    return dialog;
}

bool ScriptPlayer::User(const Command& command) {
    using Verb = Command::Verb;
    switch (command.verb) {
    case Verb::TrayDoubleClick:
        return hostui::DoubleClickTray() ? true : Fail("no tray icon to double-click");
    case Verb::TrayRightClick:
        return hostui::RightClickTray() ? true : Fail("no tray icon to right-click");
    case Verb::TrayMenu: {
        // The choice and the click in one step: nothing of the program runs between them.
        if (!hostui::GetTrayIcon().shown)
            return Fail("no tray icon to right-click");
        const unsigned id = static_cast<unsigned>(command.number);
        hostui::QueueMenuChoice(id);
        m_record.QueueMenuChoice(id, command.line);
        return hostui::RightClickTray() ? true : Fail("no tray icon to right-click");
    }
    case Verb::TrayMessage:
        return hostui::SendTrayMouse(static_cast<UINT>(command.number)) ? true
                                                                        : Fail("no tray icon to send it to");
    case Verb::MenuPick: {
        unsigned id = static_cast<unsigned>(command.number);
        if (!command.text.empty()) {
            auto known = m_record.MenuCommand(command.text);
            if (!known)
                return Fail("no popup menu shown so far has an entry " + Quote(command.text) +
                            " (name the command by its id or symbol)");
            id = *known;
        }
        hostui::QueueMenuChoice(id);
        m_record.QueueMenuChoice(id, command.line);
        Say("menu choice " + std::to_string(id) + " queued");
        return true;
    }
    case Verb::Answer:
        hostui::QueueMessageBoxAnswer(command.number);
        m_record.QueueAnswer(command.number, command.line);
        Say(std::string("message box answer ") + AnswerName(command.number) + " queued");
        return true;
    case Verb::AnswerShell:
        hostui::QueueShellExecuteResult(command.number);
        m_record.QueueShellAnswer(command.number, command.line);
        Say("shell answer " + std::to_string(command.number) + " queued");
        return true;
    case Verb::Tab: {
        HWND sheet = Sheet();
        if (sheet == nullptr)
            return Fail("no sheet shows");
        int index = command.number;
        if (index < 0) {
            const std::vector<std::string> tabs = hostui::SheetTabs(sheet);
            for (std::size_t i = 0; i < tabs.size(); ++i)
                if (tabs[i] == command.text)
                    index = static_cast<int>(i);
            if (index < 0)
                return Fail("the sheet has no tab " + Quote(command.text));
        }
        return hostui::SelectSheetTab(sheet, index)
                   ? true
                   : Fail("tab " + std::to_string(index) + " cannot be selected");
    }
    case Verb::Sheet: {
        HWND sheet = Sheet();
        if (sheet == nullptr)
            return Fail("no sheet shows");
        return hostui::PressSheetButton(sheet, command.number) ? true
                                                               : Fail("the sheet button cannot be pressed");
    }
    default:
        break;
    }

    std::string error;
    HWND dialog = DialogWith(command.control, &error);
    if (dialog == nullptr)
        return Fail(error);
    const hostui::ControlSnapshot control = hostui::ReadControl(dialog, command.control);
    BOOL done = FALSE;
    switch (command.verb) {
    case Verb::Type:
        done = hostui::TypeText(dialog, command.control, command.text);
        break;
    case Verb::Click:
        done = hostui::ClickButton(dialog, command.control);
        break;
    case Verb::Key:
        done = hostui::PressKey(dialog, command.control, static_cast<UINT>(command.number));
        break;
    case Verb::Reveal:
        done = hostui::RevealControl(dialog, command.control);
        break;
    case Verb::Check:
    case Verb::Uncheck: {
        const bool want = command.verb == Verb::Check;
        done = (control.checked != 0) == want ? TRUE : hostui::ClickButton(dialog, command.control);
        break;
    }
    case Verb::Slider:
        done = hostui::MoveSlider(dialog, command.control, command.number);
        break;
    case Verb::Select:
        if (control.className == "SysListView32") {
            int row = command.number;
            for (std::size_t i = 0; row < 0 && i < control.items.size(); ++i)
                if (control.items[i] == command.text)
                    row = static_cast<int>(i);
            if (row < 0)
                return Fail("list " + std::to_string(command.control) + " has no row " + Quote(command.text));
            done = hostui::ClickListRow(dialog, command.control, row);
        } else if (command.text.empty() && command.number >= 0) {
            done = hostui::SelectComboItem(dialog, command.control, command.number);
        } else {
            done = hostui::SelectComboText(dialog, command.control, command.text);
        }
        break;
    default:
        break;
    }
    return done ? true : Fail("the user cannot do that: " + command.source);
}

} // namespace runner
