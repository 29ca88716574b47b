// The profile name field of the Configuration page as a user types into it, keys included: completion while
// typing, none after Backspace, a field emptied, the names that "Create" and "Apply Changes" refuse without
// touching the registry, and a listed name typed in another letter case. Also when the page's one message
// about the card comes: while the user interface still holds the driver. The whole program runs
// in-process on virtual time (the runner's scripts cannot press keys or see the hand-shake's events).
#include "../../shell/ShellFixture.h"

#include <string>
#include <vector>

#include "common/Globals.h"
#include "hostui/Actions.h"
#include "hostui/Events.h"
#include "hostui/Prompts.h"
#include "hostui/Snapshot.h"
#include "sheet/ConfigUtility.h"
#include "simcard/FaultRules.h"
#include "simcard/SimCard.h"

namespace shelltest {
namespace {

const char kExists[] = "The profile is already exist. Please use a different name.";
const char kBadName[] = "Please enter a profile name of 1 to 19 characters without a backslash.";

class ConfigTypingTest : public ShellTest {
protected:
    ConfigTypingTest() {
        InstallCard();
        InsertCard();
    }

    static HWND OpenConfigPage() {
        WaitFor([] { return g_bCardPresent == 1; });
        ChooseFromTrayMenu(ID_TRAY_SHOW);
        WaitFor([] { return SheetWindow() != nullptr; });
        hostui::SelectSheetTab(SheetWindow(), 1);
        ::Sleep(100);
        return hostui::CurrentSheetPage(SheetWindow());
    }
    static void Press(HWND page, UINT nKey) {
        hostui::PressKey(page, IDC_CFG_PROFILE, nKey);
        ::Sleep(100); // the key goes through the message queue
    }
    static std::string Text(HWND page, int id) { return hostui::ReadControl(page, id).text; }
    static bool Enabled(HWND page, int id) { return hostui::ReadControl(page, id).enabled; }

    // The subkeys of the adapter's profile list and one value of the parameters key, as the run left them.
    static std::vector<std::string> ProfileKeys() {
        std::vector<std::string> names;
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ParametersPath("\\Profile").c_str(), 0, KEY_ALL_ACCESS,
                            &hKey) != ERROR_SUCCESS)
            return names;
        char szName[256];
        for (DWORD i = 0; ::RegEnumKeyA(hKey, i, szName, sizeof(szName)) == ERROR_SUCCESS; ++i)
            names.push_back(szName);
        ::RegCloseKey(hKey);
        return names;
    }
    static std::string ParameterText(const char* pszName) {
        HKEY hKey = nullptr;
        std::string text = "(none)";
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ParametersPath("").c_str(), 0, KEY_ALL_ACCESS, &hKey) !=
            ERROR_SUCCESS)
            return text;
        char abData[256] = "";
        DWORD cbData = sizeof(abData) - 1;
        if (::RegQueryValueExA(hKey, pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(abData), &cbData) ==
            ERROR_SUCCESS)
            text.assign(abData, strnlen(abData, cbData));
        ::RegCloseKey(hKey);
        return text;
    }
    static std::string ParametersPath(const char* pszBelow) {
        char szAdapter[CAdapterName::MAX_NAME + 1];
        g_szAdapterName.Get(szAdapter);
        return std::string(g_szClassKeyPath) + szAdapter + pszBelow;
    }
};

TEST_F(ConfigTypingTest, BackspaceStopsCompletionAndLeavesTheTextAsTyped) {
    std::string completed, afterBackspace, afterMore;
    bool createAfterCompletion = true, activateAfterCompletion = false, createAfterBackspace = true;
    Run([&] {
        HWND page = OpenConfigPage();
        hostui::TypeText(page, IDC_CFG_PROFILE, "D");
        completed = Text(page, IDC_CFG_PROFILE);
        createAfterCompletion = Enabled(page, IDC_CFG_CREATE);
        activateAfterCompletion = Enabled(page, IDC_CFG_ACTIVATE);
        // Backspace takes away the highlighted "efault" and nothing is completed again.
        Press(page, VK_BACK);
        afterBackspace = Text(page, IDC_CFG_PROFILE);
        createAfterBackspace = Enabled(page, IDC_CFG_CREATE);
        // Any other key turns completion back on.
        Press(page, 'E');
        hostui::TypeText(page, IDC_CFG_PROFILE, "e", false);
        afterMore = Text(page, IDC_CFG_PROFILE);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });
    EXPECT_EQ("default", completed);
    EXPECT_FALSE(createAfterCompletion);
    EXPECT_TRUE(activateAfterCompletion);
    EXPECT_EQ("d", afterBackspace);
    EXPECT_FALSE(createAfterBackspace);
    EXPECT_EQ("default", afterMore);
}

TEST_F(ConfigTypingTest, CreateRefusesANameThatDiffersOnlyInLetterCase) {
    bool createOffered = false;
    Run([&] {
        HWND page = OpenConfigPage();
        // "zz" names nothing listed, so "Create" is offered; after a Backspace the field is typed over
        // without completion, so it can hold "DEFAULT" while "Create" still shows.
        hostui::TypeText(page, IDC_CFG_PROFILE, "zz");
        Press(page, VK_BACK);
        hostui::TypeText(page, IDC_CFG_PROFILE, "DEFAULT");
        createOffered = Enabled(page, IDC_CFG_CREATE);
        hostui::QueueMessageBoxAnswer(IDOK);
        hostui::ClickButton(page, IDC_CFG_CREATE);
        ::Sleep(100);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });
    EXPECT_TRUE(createOffered);
    EXPECT_EQ((Lines{kExists}), BoxTexts());
    EXPECT_EQ((std::vector<std::string>{"default"}), ProfileKeys());
    EXPECT_EQ("default", ParameterText("CurProfile"));
}

TEST_F(ConfigTypingTest, AnEmptyNameIsRefusedAndNothingIsSaved) {
    Run([&] {
        HWND page = OpenConfigPage();
        hostui::TypeText(page, IDC_CFG_SSID, "NEWNET");
        hostui::TypeText(page, IDC_CFG_PROFILE, "x");
        Press(page, VK_BACK);
        hostui::QueueMessageBoxAnswer(IDOK);
        hostui::ClickButton(page, IDC_CFG_APPLY);
        ::Sleep(3000);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });
    EXPECT_EQ((Lines{kBadName}), BoxTexts());
    EXPECT_EQ((std::vector<std::string>{"default"}), ProfileKeys());
    EXPECT_EQ("any", ParameterText("SSID"));
    EXPECT_EQ("default", ParameterText("CurProfile"));
    EXPECT_EQ(0, g_bConfigPending);
}

TEST_F(ConfigTypingTest, AnEmptiedFieldCompletesToTheFirstEntry) {
    std::string completed;
    bool createOffered = true, activateOffered = false;
    Run([&] {
        HWND page = OpenConfigPage();
        // The whole text selected and deleted, as by the edit's menu: no key reaches the combo box, so
        // completion stays on, and every entry begins with the empty text.
        hostui::TypeText(page, IDC_CFG_PROFILE, "\b");
        completed = Text(page, IDC_CFG_PROFILE);
        createOffered = Enabled(page, IDC_CFG_CREATE);
        activateOffered = Enabled(page, IDC_CFG_ACTIVATE);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });
    EXPECT_EQ("default", completed);
    EXPECT_FALSE(createOffered);
    EXPECT_TRUE(activateOffered);
}

TEST_F(ConfigTypingTest, AListedNameTypedInOtherLettersIsSavedAsTyped) {
    std::string afterApply, afterOk;
    Run([&] {
        HWND page = OpenConfigPage();
        hostui::TypeText(page, IDC_CFG_SSID, "NEWNET");
        hostui::TypeText(page, IDC_CFG_PROFILE, "zz");
        Press(page, VK_BACK);
        hostui::TypeText(page, IDC_CFG_PROFILE, "DEFAULT");
        hostui::ClickButton(page, IDC_CFG_APPLY);
        afterApply = ParameterText("CurProfile");
        // The same through OK with changes pending.
        hostui::TypeText(page, IDC_CFG_SSID, "OTHER");
        hostui::TypeText(page, IDC_CFG_PROFILE, "zz");
        Press(page, VK_BACK);
        hostui::TypeText(page, IDC_CFG_PROFILE, "Default");
        hostui::PressSheetButton(SheetWindow(), IDOK);
        WaitFor([] { return SheetWindow() == nullptr; });
        afterOk = ParameterText("CurProfile");
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });
    EXPECT_EQ("DEFAULT", afterApply);
    EXPECT_EQ("Default", afterOk);
    EXPECT_EQ("OTHER", ParameterText("SSID"));
    // One key all the same: the registry does not tell the letter cases apart.
    EXPECT_EQ((std::vector<std::string>{"default"}), ProfileKeys());
}

TEST_F(ConfigTypingTest, TheMessageOfAFailedWepWriteComesWhileTheDriverIsStillHeld) {
    bool bBoxSeen = false;
    bool bUiIdleDuringBox = true;
    hostui::SetEventSink([&](const hostui::UiEvent& event) {
        if (event.kind != hostui::UiEvent::Kind::Box || Sheet() == nullptr)
            return;
        bBoxSeen = true;
        bUiIdleDuringBox = ::WaitForSingleObject(Sheet()->m_hUiIdle, 0) == WAIT_OBJECT_0;
    });
    Run([&] {
        HWND page = OpenConfigPage();
        // A second profile, then picked from the list and activated: its WEP settings go to the card.
        hostui::TypeText(page, IDC_CFG_PROFILE, "zz");
        hostui::ClickButton(page, IDC_CFG_CREATE);
        ::Sleep(100);
        const simcard::FaultLoad load = simcard::ParseFaultRules("oid 0xFF02019C set fail 0xC0010015\n", "t");
        ASSERT_TRUE(load.ok) << load.error;
        Card()->ArmFaults(load.rules);
        hostui::SelectComboText(page, IDC_CFG_PROFILE, "zz");
        hostui::QueueMessageBoxAnswer(IDOK);
        hostui::ClickButton(page, IDC_CFG_ACTIVATE);
        ::Sleep(100);
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });
    hostui::SetEventSink(nullptr);
    EXPECT_EQ((Lines{"Failed to change WEP configuration."}), BoxTexts());
    EXPECT_TRUE(bBoxSeen);
    EXPECT_FALSE(bUiIdleDuringBox);
}

} // namespace
} // namespace shelltest
