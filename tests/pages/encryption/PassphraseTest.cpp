// The passphrase generator in the running program. Its radio button and edit are hidden in the dialog, so
// no user reaches them; a click sent to the page does, and Apply then makes four equal keys from the
// passphrase, shows them in the boxes of the chosen width, makes key 1 the transmit key and writes them.
#include "../../shell/ShellFixture.h"

#include "sheet/ConfigUtility.h"

namespace shelltest {
namespace {

enum { ENCRYPTION_PAGE_INDEX = 3 };

const std::uint32_t kWepKeyBytesItem = 0x01030102;
const std::uint32_t kDefaultKeyItem = 0x01050102;

class PassphraseTest : public ShellTest {
protected:
    PassphraseTest() {
        InstallCard();
        InsertCard();
    }

    static HWND ShowEncryptionPage() {
        WaitFor([] { return g_bCardPresent == 1; });
        ChooseFromTrayMenu(ID_TRAY_SHOW);
        WaitFor([] { return SheetWindow() != nullptr; });
        EXPECT_TRUE(hostui::SelectSheetTab(SheetWindow(), ENCRYPTION_PAGE_INDEX));
        return hostui::CurrentSheetPage(SheetWindow());
    }

    static void ChoosePassphraseEntry(HWND hPage, const char* pszPassphrase) {
        const HWND hRadio = hostui::FindControl(hPage, IDC_WEP_PASSPHRASE_RADIO);
        ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_WEP_PASSPHRASE_RADIO, BN_CLICKED),
                       reinterpret_cast<LPARAM>(hRadio));
        ::SetWindowTextA(hostui::FindControl(hPage, IDC_WEP_PASSPHRASE), pszPassphrase);
    }

    // The values the card was given for one configuration item, in order.
    static std::vector<std::vector<std::uint8_t>> ItemValues(const std::vector<simcard::TraceEntry>& trace,
                                                             std::uint32_t item) {
        std::vector<std::vector<std::uint8_t>> values;
        for (const simcard::TraceEntry& entry : trace)
            if (entry.kind == simcard::RequestKind::Set && entry.subId && *entry.subId == item)
                values.push_back(entry.value);
        return values;
    }
};

TEST_F(PassphraseTest, MakesFourEqualKeysOfTheChosenWidthWithKeyOneToTransmit) {
    std::string strKey1;
    std::string strKey4;
    std::string strKey128;
    std::string strDefaultKey;
    std::vector<simcard::TraceEntry> trace;
    Run([&] {
        const HWND hPage = ShowEncryptionPage();
        EXPECT_TRUE(hostui::SelectComboItem(hPage, IDC_WEP_MODE, 1)); // 64 Bits
        EXPECT_TRUE(hostui::SelectComboItem(hPage, IDC_WEP_DEFAULT_KEY, 3));
        ChoosePassphraseEntry(hPage, "A");
        TakeTraceEntries();
        EXPECT_TRUE(hostui::ClickButton(hPage, IDC_WEP_APPLY));
        trace = TakeTraceEntries();
        strKey1 = hostui::ReadControl(hPage, IDC_WEP_KEY64_1).text;
        strKey4 = hostui::ReadControl(hPage, IDC_WEP_KEY64_4).text;
        strKey128 = hostui::ReadControl(hPage, IDC_WEP_KEY128_1).text;
        strDefaultKey = hostui::ReadControl(hPage, IDC_WEP_DEFAULT_KEY).text;
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    // 'A' is 65; 65 * 65 = 0x1081.
    EXPECT_EQ("8181818181", strKey1);
    EXPECT_EQ("8181818181", strKey4);
    EXPECT_EQ("", strKey128); // the texts of the other width stay
    EXPECT_EQ("1", strDefaultKey);
    const std::vector<std::uint8_t> key(5, 0x81);
    EXPECT_EQ((std::vector<std::vector<std::uint8_t>>{key, key, key, key}),
              ItemValues(trace, kWepKeyBytesItem));
    EXPECT_EQ((std::vector<std::vector<std::uint8_t>>{{0x01}}), ItemValues(trace, kDefaultKeyItem));
}

TEST_F(PassphraseTest, AnEmptyPassphraseStopsApplyWithoutAWordOrARequest) {
    std::vector<simcard::TraceEntry> trace;
    bool bApplyStillEnabled = false;
    Run([&] {
        const HWND hPage = ShowEncryptionPage();
        EXPECT_TRUE(hostui::SelectComboItem(hPage, IDC_WEP_MODE, 2)); // 128 Bits
        ChoosePassphraseEntry(hPage, "");
        TakeTraceEntries();
        EXPECT_TRUE(hostui::ClickButton(hPage, IDC_WEP_APPLY));
        trace = TakeTraceEntries();
        bApplyStillEnabled = hostui::ReadControl(hPage, IDC_WEP_APPLY).enabled;
        ChooseFromTrayMenu(ID_TRAY_EXIT);
    });

    EXPECT_TRUE(bApplyStillEnabled);
    EXPECT_TRUE(ItemValues(trace, kWepKeyBytesItem).empty());
    EXPECT_EQ(Lines{}, BoxTexts());
}

} // namespace
} // namespace shelltest
