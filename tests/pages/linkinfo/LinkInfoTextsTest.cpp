// What the Link Info page shows for the values the card reports: the texts come from the program's string
// table, so a wrong id or a wrong step of the level table shows here.
#include <gtest/gtest.h>

#include <string>

#include "hostui/Resources.h"
#include "pages/LinkInfoPage.h"

namespace {

class LinkInfoTexts : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        auto resources = hostui::LoadScriptResources(WLAN_RESOURCE_SCRIPT, &error);
        ASSERT_TRUE(resources) << error;
        hostui::SetResources(resources);
    }
    void TearDown() override { hostui::SetResources(nullptr); }

    static std::string Level(BYTE bLevel) { return CLinkInfoPage::FormatLevelText(bLevel).str(); }
    static std::string StateText(WORD wState) {
        CString strText;
        strText.LoadString(CLinkInfoPage::GetLinkStateTextId(wState));
        return strText.str();
    }
};

TEST_F(LinkInfoTexts, SignalByteIsScaledToSixteenStepsWithWordAndPercent) {
    EXPECT_EQ(Level(CLinkInfoPage::ScaleSignalLevel(13)), "Excellent (100%)");
    EXPECT_EQ(Level(CLinkInfoPage::ScaleSignalLevel(12)), "Excellent (86%)");
    EXPECT_EQ(Level(CLinkInfoPage::ScaleSignalLevel(3)), "Poor (20%)");
    EXPECT_EQ(Level(CLinkInfoPage::ScaleSignalLevel(1)), "Poor (6%)");
    EXPECT_EQ(Level(CLinkInfoPage::ScaleSignalLevel(0)), "No Signal");
    // A byte beyond what the card reports still stays on the bar.
    EXPECT_EQ(CLinkInfoPage::ScaleSignalLevel(14), 15);
    EXPECT_EQ(CLinkInfoPage::ScaleSignalLevel(255), 15);
}

TEST_F(LinkInfoTexts, QualityByteIsClampedNotScaled) {
    EXPECT_EQ(Level(CLinkInfoPage::ClampLinkQuality(200)), "Excellent (100%)");
    EXPECT_EQ(Level(CLinkInfoPage::ClampLinkQuality(5)), "Good (33%)");
    EXPECT_EQ(CLinkInfoPage::ClampLinkQuality(15), 15);
    EXPECT_EQ(CLinkInfoPage::ClampLinkQuality(16), 15);
}

TEST_F(LinkInfoTexts, EveryLevelHasItsWordAndPercent) {
    const char* const expected[16] = {
        "No Signal",       "Poor (6%)",       "Poor (13%)",      "Poor (20%)",
        "Poor (26%)",      "Good (33%)",      "Good (40%)",      "Good (46%)",
        "Good (53%)",      "Very Good (60%)", "Very Good (66%)", "Very Good (73%)",
        "Excellent (80%)", "Excellent (86%)", "Excellent (93%)", "Excellent (100%)",
    };
    for (BYTE b = 0; b < 16; ++b)
        EXPECT_EQ(Level(b), expected[b]) << "level " << int(b);
}

TEST_F(LinkInfoTexts, StateTextsByLinkState) {
    EXPECT_EQ(StateText(0), "Not Available ...");
    EXPECT_EQ(StateText(1), "Connected - BSSID = ");
    EXPECT_EQ(StateText(2), "Authenticated ...");
    EXPECT_EQ(StateText(3), "Link Synchronized ...");
    EXPECT_EQ(StateText(4), "Searching ...");
    EXPECT_EQ(StateText(5), "Disconnected ...");
    EXPECT_EQ(StateText(16), "Link Test Failed ...");
    EXPECT_EQ(StateText(17), "Link Reg Fail ...");
    for (WORD w : {6, 7, 15, 18, 0xFFFF})
        EXPECT_EQ(StateText(w), "Unknown State") << "state " << w;
}

TEST_F(LinkInfoTexts, RateTexts) {
    EXPECT_STREQ(CLinkInfoPage::GetRateText(1), "1");
    EXPECT_STREQ(CLinkInfoPage::GetRateText(2), "2");
    EXPECT_STREQ(CLinkInfoPage::GetRateText(3), "1 or 2");
    EXPECT_STREQ(CLinkInfoPage::GetRateText(4), "5.5");
    EXPECT_STREQ(CLinkInfoPage::GetRateText(8), "11");
    EXPECT_STREQ(CLinkInfoPage::GetRateText(15), "Auto");
    EXPECT_STREQ(CLinkInfoPage::GetRateText(0), "----");
    EXPECT_STREQ(CLinkInfoPage::GetRateText(12), "----");
}

TEST(LinkInfoThroughput, BytesPerSecondOverTwoSecondsAndCountersThatGoBack) {
    DWORD dwPrev = 1000;
    DWORD dwRate = 77;
    ASSERT_TRUE(CLinkInfoPage::TakeThroughput(5001, &dwPrev, &dwRate));
    EXPECT_EQ(dwRate, 2000u);
    EXPECT_EQ(dwPrev, 5001u);

    ASSERT_TRUE(CLinkInfoPage::TakeThroughput(5001, &dwPrev, &dwRate));
    EXPECT_EQ(dwRate, 0u);

    // Counters that went back (a card put in again) show nothing; the next period counts from the new sum.
    dwRate = 77;
    EXPECT_FALSE(CLinkInfoPage::TakeThroughput(100, &dwPrev, &dwRate));
    EXPECT_EQ(dwRate, 77u);
    EXPECT_EQ(dwPrev, 100u);
    ASSERT_TRUE(CLinkInfoPage::TakeThroughput(700, &dwPrev, &dwRate));
    EXPECT_EQ(dwRate, 300u);

    // The largest step a 32-bit sum can make still fits the "%d" of the box.
    dwPrev = 0;
    ASSERT_TRUE(CLinkInfoPage::TakeThroughput(0xFFFFFFFF, &dwPrev, &dwRate));
    EXPECT_EQ(dwRate, 0x7FFFFFFFu);
}

TEST(LinkInfoSsid, OneCharacterPerByteAtMostThirtyTwo) {
    BYTE abSsid[40];
    for (int i = 0; i < 40; ++i)
        abSsid[i] = static_cast<BYTE>('A' + i % 26);
    EXPECT_EQ(CLinkInfoPage::FormatSsidText(abSsid, 0).str(), "");
    EXPECT_EQ(CLinkInfoPage::FormatSsidText(abSsid, 4).str(), "ABCD");
    EXPECT_EQ(CLinkInfoPage::FormatSsidText(abSsid, 32).GetLength(), 32);
    // A length word the card got wrong never reads beyond the field.
    EXPECT_EQ(CLinkInfoPage::FormatSsidText(abSsid, 0xFFFF).GetLength(), 32);

    // Every byte is its character, up to a zero byte, which ends the text as it ends a window's text.
    const BYTE abOdd[] = {'a', 0x01, 0x1F, 0x7F, 0xE9, 'z', 0x00, 'q'};
    EXPECT_EQ(CLinkInfoPage::FormatSsidText(abOdd, sizeof abOdd).str(), "a\x01\x1F\x7F\xE9z");
    const BYTE abZero[] = {0x00};
    EXPECT_EQ(CLinkInfoPage::FormatSsidText(abZero, sizeof abZero).str(), "");
}

} // namespace
