// The rows the Site Survey page makes of the card's scan results record 0xFD88: entries built byte by byte
// at the offsets the driver uses, and the texts of each column.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "pages/SiteSurveyPage.h"

namespace {

struct Entry {
    WORD wChannel;
    WORD wSignal;
    BYTE abBssid[6];
    WORD wCapability;
    std::string ssid;
    WORD wSsidLength; // 0xFFFF: the length of ssid
};

class ScanRecord {
public:
    ScanRecord() { std::memset(&m_envelope, 0, sizeof m_envelope); }
    void Put(int nIndex, const Entry& entry) {
        BYTE* pb = m_envelope.abBytes + 8 + nIndex * 62;
        PutLeWord(pb + 0, entry.wChannel);
        PutLeWord(pb + 2, 0x1111); // fields the page does not read, so a wrong offset shows
        PutLeWord(pb + 4, entry.wSignal);
        std::memcpy(pb + 6, entry.abBssid, 6);
        PutLeWord(pb + 12, 0x2222);
        PutLeWord(pb + 14, entry.wCapability);
        PutLeWord(pb + 16,
                  entry.wSsidLength == 0xFFFF ? static_cast<WORD>(entry.ssid.size()) : entry.wSsidLength);
        std::memcpy(pb + 18, entry.ssid.data(), entry.ssid.size() < 32 ? entry.ssid.size() : 32);
        std::memset(pb + 50, 0x5A, 12);
    }
    // What a short answer leaves: the bytes from nFrom on as the page zeroed them.
    void ZeroFrom(int nFrom) { std::memset(m_envelope.abBytes + nFrom, 0, sizeof m_envelope - nFrom); }
    int Decode() { return CSiteSurveyPage::DecodeScanResults(&m_envelope, m_aRows); }
    const SurveyRow& Row(int i) const { return m_aRows[i]; }

private:
    CARD_RECORD_ENVELOPE m_envelope;
    SurveyRow m_aRows[SCAN_ENTRY_COUNT];
};

Entry Ap(const std::string& ssid, WORD wChannel = 6, WORD wSignal = 27, WORD wCapability = 0x0001) {
    return Entry{wChannel, wSignal, {0x00, 0x60, 0xB3, 0x0A, 0xBC, 0x0F}, wCapability, ssid, 0xFFFF};
}

TEST(ScanResults, EachColumnOfAnEntry) {
    ScanRecord record;
    record.Put(0, Ap("OFFICE", 11, 27, 0x0011));
    record.Put(1, Ap("LAN party", 3, 0, 0x0002));
    ASSERT_EQ(record.Decode(), 2);

    EXPECT_EQ(record.Row(0).strSSID.str(), "OFFICE");
    EXPECT_EQ(record.Row(0).strBSSID.str(), "00-60-B3-0A-BC-0F");
    EXPECT_EQ(record.Row(0).strSignal.str(), "60%");
    EXPECT_EQ(record.Row(0).strChannel.str(), "11");
    EXPECT_TRUE(record.Row(0).bPrivacy);
    EXPECT_TRUE(record.Row(0).bInfrastructure);

    EXPECT_EQ(record.Row(1).strSignal.str(), "0%");
    EXPECT_EQ(record.Row(1).strChannel.str(), "3");
    EXPECT_FALSE(record.Row(1).bPrivacy);
    EXPECT_FALSE(record.Row(1).bInfrastructure);
}

TEST(ScanResults, TheFirstEntryWithoutSsidEndsTheList) {
    ScanRecord record;
    record.Put(0, Ap(""));
    record.Put(1, Ap("LATER"));
    EXPECT_EQ(record.Decode(), 0);

    ScanRecord middle;
    middle.Put(0, Ap("ONE"));
    middle.Put(2, Ap("THREE"));
    EXPECT_EQ(middle.Decode(), 1);
}

TEST(ScanResults, EightEntriesFillTheRecordAndAllAreListed) {
    ScanRecord record;
    for (int i = 0; i < 8; ++i)
        record.Put(i, Ap("AP" + std::to_string(i), static_cast<WORD>(i + 1)));
    ASSERT_EQ(record.Decode(), 8);
    EXPECT_EQ(record.Row(7).strSSID.str(), "AP7");
    EXPECT_EQ(record.Row(7).strChannel.str(), "8");
}

TEST(ScanResults, SsidLengthsAtTheEdges) {
    ScanRecord record;
    const std::string full = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    record.Put(0, Ap(full));
    Entry tooLong = Ap(full);
    tooLong.wSsidLength = 300; // never read beyond the 32 bytes of the field
    record.Put(1, tooLong);
    record.Put(2, Ap(std::string("\x01N\x7F\xE9\0L", 6)));
    record.Put(3, Ap(std::string("\0LAN", 4)));
    ASSERT_EQ(record.Decode(), 4);
    EXPECT_EQ(record.Row(0).strSSID.str(), full);
    EXPECT_EQ(record.Row(1).strSSID.str(), full);
    // One character per byte, whatever the byte, up to a zero byte: a first byte of zero is an empty text.
    EXPECT_EQ(record.Row(2).strSSID.str(), "\x01N\x7F\xE9");
    EXPECT_EQ(record.Row(3).strSSID.str(), "");
}

TEST(ScanResults, AShortAnswerIsReadUpToTheFirstEntryWithoutSsid) {
    ScanRecord record;
    for (int i = 0; i < 4; ++i)
        record.Put(i, Ap("WLAN" + std::to_string(i), static_cast<WORD>(i + 1)));
    // The driver stopped inside the SSID of entry 1: it is listed with the bytes it got.
    record.ZeroFrom(8 + 62 + 18 + 2);
    ASSERT_EQ(record.Decode(), 2);
    EXPECT_EQ(record.Row(1).strSSID.str(), "WL");
    EXPECT_EQ(record.Row(1).strChannel.str(), "2");
    // Stopped before entry 1's SSID: listed with an empty SSID.
    record.ZeroFrom(8 + 62 + 18);
    ASSERT_EQ(record.Decode(), 2);
    EXPECT_EQ(record.Row(1).strSSID.str(), "");
    EXPECT_EQ(record.Row(1).strBSSID.str(), "00-60-B3-0A-BC-0F");
    // Stopped before entry 1's SSID length: entry 1 ends the list.
    record.ZeroFrom(8 + 62 + 16);
    EXPECT_EQ(record.Decode(), 1);
}

TEST(ScanResults, SignalPercentSteps) {
    EXPECT_EQ(CSiteSurveyPage::SignalLevelToPercent(0), 0);
    EXPECT_EQ(CSiteSurveyPage::SignalLevelToPercent(6), 0);    // s = 6
    EXPECT_EQ(CSiteSurveyPage::SignalLevelToPercent(7), 6);    // s = 8
    EXPECT_EQ(CSiteSurveyPage::SignalLevelToPercent(27), 60);  // s = 31
    EXPECT_EQ(CSiteSurveyPage::SignalLevelToPercent(45), 93);  // s = 51
    EXPECT_EQ(CSiteSurveyPage::SignalLevelToPercent(46), 100); // s = 53
    EXPECT_EQ(CSiteSurveyPage::SignalLevelToPercent(0xFFFF), 100);
    // The first level of every step, and the last level before it.
    const struct {
        WORD wLevel;
        int nPercent;
    } steps[] = {{10, 6},  {11, 13}, {12, 13}, {13, 20}, {14, 26}, {15, 33}, {17, 33}, {18, 40}, {20, 46},
                 {23, 53}, {25, 53}, {26, 60}, {29, 66}, {33, 73}, {36, 80}, {39, 86}, {43, 86}, {44, 93}};
    for (const auto& step : steps)
        EXPECT_EQ(CSiteSurveyPage::SignalLevelToPercent(step.wLevel), step.nPercent)
            << "level " << step.wLevel;
}

} // namespace
