// The user driver on the headless window system.
#include <hostsim/Clock.h>
#include <hostui/HostUi.h>

#include "TestDialogs.h"
#include "driver/UserDriver.h"

namespace {

class HostUserDriver : public UserDriver {
public:
    void Reset() override {
        hostui::ResetUi();
        hostui::SetResources(MakeTestResources());
    }

    HWND WaitForWindow(const char* title) override {
        for (int i = 0; i < 5000; ++i) {
            if (HWND hwnd = ::FindWindowA(nullptr, title); hwnd != nullptr && ::IsWindowVisible(hwnd))
                return hwnd;
            ::Sleep(1);
        }
        return nullptr;
    }

    bool Click(HWND dialog, int id) override { return hostui::ClickButton(dialog, id); }
    bool Type(HWND dialog, int id, const std::string& text) override {
        return hostui::TypeText(dialog, id, text);
    }
    bool PickCombo(HWND dialog, int id, int index) override {
        return hostui::SelectComboItem(dialog, id, index);
    }
    bool ClickRow(HWND dialog, int id, int row) override { return hostui::ClickListRow(dialog, id, row); }
    bool DragSlider(HWND dialog, int id, int pos) override { return hostui::MoveSlider(dialog, id, pos); }
    bool SelectTab(HWND sheet, int index) override { return hostui::SelectSheetTab(sheet, index); }
    void AnswerNextBox(int answer) override { hostui::QueueMessageBoxAnswer(answer); }

    std::vector<std::string> BoxesShown() override {
        std::vector<std::string> texts;
        for (const hostui::UiEvent& event : hostui::EventsOf(hostui::UiEvent::Kind::Box))
            texts.push_back(event.text);
        return texts;
    }

    std::vector<std::pair<UINT, ULONG_PTR>> HelpRequests() override {
        std::vector<std::pair<UINT, ULONG_PTR>> requests;
        for (const hostui::UiEvent& event : hostui::EventsOf(hostui::UiEvent::Kind::Help))
            requests.emplace_back(event.value, static_cast<ULONG_PTR>(event.data));
        return requests;
    }

    std::shared_ptr<void> TestTime() override { return std::make_shared<hostsim::VirtualTime>(0); }
    bool TimeIsExact() override { return true; }
    bool SeesHelpRequests() override { return true; }
    std::vector<std::string> Failures() override { return hostui::Failures(); }
};

} // namespace

UserDriver& Driver() {
    static HostUserDriver driver;
    return driver;
}
