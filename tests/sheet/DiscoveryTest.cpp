// Finding the card's adapter entry on each Windows kind among other adapters and near misses, and verifying
// it with the two driver queries, checked against the simulated card's trace of requests.
#include "DiscoveryFixture.h"

#include "adapter/NdisRequests.h"
#include "hostsim/Clock.h"

namespace discoverytest {
namespace {

using cardinstall::Decoy;
using cardinstall::DecoyKind;
using cardinstall::WindowsKind;
using simcard::ExpectedRequest;

const std::string kClass2000 =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
const std::string kClass9x = "System\\CurrentControlSet\\Services\\Class\\Net\\";
const std::string kNetworkCards = "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\";

std::vector<ExpectedRequest> Verification() {
    return {ExpectedRequest::Query(OID_802_3_CURRENT_ADDRESS).WithStatus(0).WithBytesOut(6),
            ExpectedRequest::Query(OID_LINK_STATE).WithStatus(0).WithBytesOut(2)};
}

// --- Where each kind finds the card ---

TEST_F(DiscoveryTest, Windows2000FindsTheHardwareIdInAnyLetterCaseAmongDecoys) {
    StartOn(WindowsKind::Win2000);
    Install({7}, {{DecoyKind::OtherAdapter, 1}, {DecoyKind::NearMiss, 3}, {DecoyKind::NameCase, 5}});
    SetText(kClass2000 + "0007", "ComponentId", "Pci\\Ven_1260&Dev_3873&SubSys_5e0C7a93");

    EXPECT_EQ(8, m_sheet.FindAdapter(0));
    EXPECT_EQ("0007", AdapterName());
    EXPECT_EQ(0, m_sheet.FindAdapter(8));
    EXPECT_EQ("", AdapterName());
}

TEST_F(DiscoveryTest, Nt4FindsTheDescriptionAndNamesTheAdapterOneBelowTheCardNumber) {
    StartOn(WindowsKind::NT4);
    Install({3}, {{DecoyKind::OtherAdapter, 1}, {DecoyKind::NameCase, 2}, {DecoyKind::NearMiss, 4}});
    SetText(kNetworkCards + "3", "Description", "ieee802.11b wlan pci card v2.5");

    EXPECT_EQ(4, m_sheet.FindAdapter(0));
    EXPECT_EQ("2", AdapterName());
    EXPECT_EQ(0, m_sheet.FindAdapter(4));
    EXPECT_EQ("", AdapterName());
}

TEST_F(DiscoveryTest, Windows95MatchesTheDescriptionOnlyAsTheWholeValue) {
    StartOn(WindowsKind::Win95);
    Install({2}, {{DecoyKind::NearMiss, 0}});
    SetText(kClass9x + "0001", "DriverDesc", "IEEE802.11b WLAN PCI Card v2.5 (copy)");
    SetText(kClass9x + "0002", "DriverDesc", "IEEE802.11B Wlan Pci Card V2.5");

    EXPECT_EQ(3, m_sheet.FindAdapter(0));
    EXPECT_EQ("0002", AdapterName());
}

TEST_F(DiscoveryTest, Windows98FindsTheHardwareIdInsideALongerIdAndWaitsBeforeVerifying) {
    StartOn(WindowsKind::Win98);
    Install({4}, {{DecoyKind::NameCase, 1}, {DecoyKind::NearMiss, 2}, {DecoyKind::OtherAdapter, 3}});
    InsertCards({4});
    hostsim::VirtualTime time(5000);

    EXPECT_EQ(TRUE, m_sheet.CheckCardPresent());
    EXPECT_EQ("0004", AdapterName());
    EXPECT_EQ(7000u, hostsim::NowMs());
    EXPECT_EQ("", Diff(0, Verification()));
}

TEST_F(DiscoveryTest, WithTheKindNotKnownYetNothingIsLookedAt) {
    StartOn(WindowsKind::Win2000);
    Install({0});
    g_nOsKind = OSKIND_UNSUPPORTED;
    g_szAdapterName.Set("0000");

    EXPECT_EQ(0, m_sheet.FindAdapter(0));
    EXPECT_EQ("", AdapterName());
}

// --- Which candidates are looked at ---

TEST_F(DiscoveryTest, CandidatesRunUpwardsFromTheStartIndexTo29) {
    StartOn(WindowsKind::Win2000);
    Install({4, 9, 29, 30});

    EXPECT_EQ(5, m_sheet.FindAdapter(0));
    EXPECT_EQ(10, m_sheet.FindAdapter(5));
    EXPECT_EQ(30, m_sheet.FindAdapter(10));
    EXPECT_EQ("0029", AdapterName());
    EXPECT_EQ(0, m_sheet.FindAdapter(30)); // 0030 holds the card too, but is never looked at
    EXPECT_EQ("", AdapterName());
}

struct ValueCase {
    const char* label;
    std::string candidateValues; // value lines of class subkey 0001, in the registry file's form
    int expected;                // FindAdapter(0); the card itself sits at 0002
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.label;
}

const std::string kId = "PCI\\\\VEN_1260&DEV_3873&SUBSYS_5E0C7A93";

const ValueCase kValueCases[] = {
    {"256 bytes without terminator, id at the end",
     "\"ComponentId\" = sz \"" + std::string(256 - 37, 'x') + kId + "\"", 2},
    {"a short value first: the buffer sizes start afresh",
     "\"A\" = sz \"a\"\n  \"ComponentId\" = sz \"" + kId + "\"", 2},
    {"data past the buffer ends the look at the key",
     "\"ComponentId\" = sz \"" + std::string(300, 'x') + kId + "\"", 3},
    {"a name past the buffer ends the look at the key",
     "\"" + std::string(64, 'N') + "\" = sz \"1\"\n  \"ComponentId\" = sz \"" + kId + "\"", 3},
    {"the id after a zero byte is not part of the text", "\"ComponentId\" = sz \"x\\0" + kId + "\"", 3},
    {"a number", "\"ComponentId\" = dword 7", 3},
    {"an empty value", "\"ComponentId\" = sz \"\"", 3},
    {"the name in another letter case", "\"COMPONENTID\" = sz \"" + kId + "\"", 3},
};

class CandidateValueTest : public DiscoveryTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(CandidateValueTest, OnlyTheBytesTheEnumerationReportedAreCompared) {
    StartOn(WindowsKind::Win2000);
    Install({2});
    std::string error;
    const std::string text = hostsim::SaveRegistryText() + "\n[HKEY_LOCAL_MACHINE\\" + kClass2000 +
                             "0001]\n  " + GetParam().candidateValues + "\n";
    ASSERT_TRUE(hostsim::LoadRegistryText(text, "case", &error)) << error;

    EXPECT_EQ(GetParam().expected, m_sheet.FindAdapter(0));
}

INSTANTIATE_TEST_SUITE_P(Values, CandidateValueTest, ::testing::ValuesIn(kValueCases));

// --- Verification ---

TEST_F(DiscoveryTest, VerificationOpensAndClosesTheAdapterForEachQueryWhileTheCardIsNotYetPresent) {
    StartOn(WindowsKind::Win2000);
    Install({7});
    InsertCards({7});
    hostsim::VirtualTime time(5000);
    m_sheet.m_wLastLinkState = 1;

    EXPECT_EQ(TRUE, m_sheet.CheckCardPresent());

    EXPECT_EQ("", Diff(0, Verification()));
    EXPECT_EQ(2, DosDeviceDefinitions()); // one open per query
    EXPECT_EQ(0u, driverlib::CardRack::Instance().OpenHandleCount());
    EXPECT_EQ(Lines{"add 187"}, m_tray.m_calls);
    EXPECT_EQ(1, g_bCardPresent.load());
    EXPECT_EQ(0, g_bRecheckCard.load());
    EXPECT_EQ(5000u, hostsim::NowMs()); // no wait outside Windows 98/Me
    EXPECT_EQ(1, m_sheet.m_wLastLinkState.load());
}

TEST_F(DiscoveryTest, ARecheckWithTheCardPresentVerifiesOverOneOpenThatStaysOpen) {
    StartOn(WindowsKind::Win2000);
    Install({7});
    InsertCards({7});
    g_bCardPresent = 1;
    g_szAdapterName.Set("0007");

    EXPECT_EQ(TRUE, m_sheet.CheckCardPresent());

    EXPECT_EQ("", Diff(0, Verification()));
    EXPECT_EQ(1, DosDeviceDefinitions());
    EXPECT_EQ(1u, driverlib::CardRack::Instance().OpenHandleCount());
    EXPECT_EQ(0, g_bRecheckCard.load());
}

TEST_F(DiscoveryTest, WithTheCardPresentAndNoRecheckNothingIsAskedAtAll) {
    StartOn(WindowsKind::Win2000);
    Install({7});
    InsertCards({7});
    g_bCardPresent = 1;
    g_bRecheckCard = 0;
    g_szAdapterName.Set("0007");
    hostsim::ResetRegistry();

    EXPECT_EQ(TRUE, m_sheet.CheckCardPresent());

    EXPECT_EQ("", Diff(0, {}));
    EXPECT_EQ(Lines{}, m_tray.m_calls);
    EXPECT_EQ("0007", AdapterName());
}

TEST_F(DiscoveryTest, NoAdapterRemovesTheTrayIconAndForgetsTheLinkState) {
    StartOn(WindowsKind::Win2000);
    Install({}, {{DecoyKind::NearMiss, 0}});
    m_sheet.m_wLastLinkState = 1;
    g_bCardPresent = 1;
    g_szAdapterName.Set("0000");

    EXPECT_EQ(FALSE, m_sheet.CheckCardPresent());

    EXPECT_EQ(Lines{"delete"}, m_tray.m_calls);
    EXPECT_EQ(LINK_STATE_UNKNOWN, m_sheet.m_wLastLinkState.load());
    EXPECT_EQ(0, g_bCardPresent.load());
    EXPECT_EQ("", AdapterName());

    g_pTrayIconOwner = nullptr; // before the main frame exists there is no tray to tell
    EXPECT_EQ(FALSE, m_sheet.CheckCardPresent());
}

struct SilentCase {
    const char* label;
    std::string firstCard;                       // world options of the first matching adapter's card
    std::string fault;                           // fault rules armed on it
    std::vector<ExpectedRequest> firstCardTrace; // what it received
};

void PrintTo(const SilentCase& c, std::ostream* os) {
    *os << c.label;
}

class SilentAdapterTest : public DiscoveryTest, public ::testing::WithParamInterface<SilentCase> {};

TEST_P(SilentAdapterTest, TheNextMatchingAdapterIsTriedAndTheFailedOneNeverAgain) {
    const SilentCase& c = GetParam();
    StartOn(WindowsKind::Win2000);
    Install({2, 6});
    InsertCards({2, 6}, {c.firstCard});
    if (!c.fault.empty()) {
        const simcard::FaultLoad faults = simcard::ParseFaultRules(c.fault, "faults");
        ASSERT_TRUE(faults.ok) << faults.error;
        driverlib::CardRack::Instance().Card(0)->ArmFaults(faults.rules);
    }

    EXPECT_EQ(TRUE, m_sheet.CheckCardPresent());

    EXPECT_EQ("0006", AdapterName());
    EXPECT_EQ("", Diff(0, c.firstCardTrace));
    EXPECT_EQ("", Diff(1, Verification()));
    EXPECT_EQ(Lines{"add 187"}, m_tray.m_calls);
    EXPECT_EQ(0u, driverlib::CardRack::Instance().OpenHandleCount());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SilentAdapterTest,
    ::testing::Values(SilentCase{"never answers",
                                 "answers=no",
                                 "",
                                 {ExpectedRequest::Query(OID_802_3_CURRENT_ADDRESS)
                                      .WithStatus(simcard::status::kRequestTimedOut)}},
                      SilentCase{
                          "short address",
                          "",
                          "oid 0x01010102 short 5",
                          {ExpectedRequest::Query(OID_802_3_CURRENT_ADDRESS).WithStatus(0).WithBytesOut(5)}},
                      SilentCase{"short link state",
                                 "",
                                 "oid 0xFF010199 short 1",
                                 {ExpectedRequest::Query(OID_802_3_CURRENT_ADDRESS).WithBytesOut(6),
                                  ExpectedRequest::Query(OID_LINK_STATE).WithStatus(0).WithBytesOut(1)}}));

TEST_F(DiscoveryTest, Nt4VerifiesTheCardThroughItsAdapterIndex) {
    StartOn(WindowsKind::NT4);
    Install({1, 3});
    InsertCards({3}); // network card 1 has no card behind it
    hostsim::VirtualTime time(5000);

    EXPECT_EQ(TRUE, m_sheet.CheckCardPresent());

    EXPECT_EQ("2", AdapterName());
    EXPECT_EQ("", Diff(0, Verification()));
    EXPECT_EQ(Lines{"add 187"}, m_tray.m_calls);
}

} // namespace
} // namespace discoverytest
