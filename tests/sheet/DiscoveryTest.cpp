// Discovery's edges that the discovery-search-order-* scenarios do not reach, on Windows 2000 with the card's
// driver installed: candidate values the enumeration reports in odd shapes, and matching adapters whose
// card does not answer the two verification queries as it must, checked against the cards' traces.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CardInstaller.h"
#include "adapter/NdisRequests.h"
#include "app/WindowsKind.h"
#include "common/Globals.h"
#include "common/TrayIcon.h"
#include "driverlib/CardRack.h"
#include "hostsim/Registry.h"
#include "hostsim/System.h"
#include "sheet/ConfigUtility.h"
#include "simcard/FaultRules.h"
#include "simcard/Trace.h"
#include "simcard/WorldFile.h"

namespace {

using Lines = std::vector<std::string>;
using simcard::ExpectedRequest;

const std::string kClass2000 =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

class RecordingTray : public CTrayIconOwner {
public:
    BOOL TrayAdd(UINT nIconId) override {
        m_calls.push_back("add " + std::to_string(nIconId));
        return TRUE;
    }
    BOOL TrayModify(UINT nIconId) override {
        m_calls.push_back("modify " + std::to_string(nIconId));
        return TRUE;
    }
    BOOL TrayDelete() override {
        m_calls.push_back("delete");
        return TRUE;
    }
    Lines m_calls;
};

class DiscoveryTest : public ::testing::Test {
protected:
    // A fresh Windows 2000 machine, the discovery globals set from it, the card's driver installed as the
    // network class subkeys `cards`, and no card until a test inserts one.
    void StartWith(const std::vector<int>& cards) {
        hostsim::ResetRegistry();
        hostsim::ResetSystem();
        driverlib::CardRack::Instance().Clear();
        g_pTrayIconOwner = &m_tray;
        g_bCardPresent = 0;
        g_bRecheckCard = 1;
        g_szAdapterName.Clear();
        hostsim::SetWindowsKind(hostsim::WindowsKind::Win2000);
        ASSERT_TRUE(DetectWindowsKind());
        cardinstall::InstallPlan plan;
        plan.kind = cardinstall::WindowsKind::Win2000;
        for (int index : cards)
            plan.cards.push_back({index, 0, ""});
        ASSERT_EQ(ERROR_SUCCESS, cardinstall::Install(plan).error);
    }
    ~DiscoveryTest() override {
        m_sheet.m_Adapter.CloseAdapter();
        EXPECT_EQ("", driverlib::CardRack::Instance().UnfiredFaults());
        driverlib::CardRack::Instance().Clear();
        g_pTrayIconOwner = nullptr;
        g_bCardPresent = 0;
        g_bRecheckCard = 1;
        g_szAdapterName.Clear();
        g_nOsKind = OSKIND_UNSUPPORTED;
        hostsim::ResetSystem();
    }

    static std::string AdapterName() {
        char name[CAdapterName::MAX_NAME + 1];
        g_szAdapterName.Get(name);
        return name;
    }

    // Compares the requests card `card` received with the table.
    static std::string Diff(std::size_t card, const std::vector<ExpectedRequest>& expected) {
        std::shared_ptr<simcard::SimCard> sim = driverlib::CardRack::Instance().Card(card);
        return sim ? simcard::DiffTrace(expected, sim->Trace()) : "no card " + std::to_string(card);
    }

    RecordingTray m_tray;
    CConfigUtility m_sheet{"DAZE802.11d AVUD UDE Zadu Vuvivav"};
};

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
    StartWith({2});
    std::string error;
    const std::string text = hostsim::SaveRegistryText() + "\n[HKEY_LOCAL_MACHINE\\" + kClass2000 +
                             "0001]\n  " + GetParam().candidateValues + "\n";
    ASSERT_TRUE(hostsim::LoadRegistryText(text, "case", &error)) << error;

    EXPECT_EQ(GetParam().expected, m_sheet.FindAdapter(0));
}

INSTANTIATE_TEST_SUITE_P(Values, CandidateValueTest, ::testing::ValuesIn(kValueCases));

std::vector<ExpectedRequest> Verification() {
    return {ExpectedRequest::Query(OID_802_3_CURRENT_ADDRESS).WithStatus(0).WithBytesOut(6),
            ExpectedRequest::Query(OID_LINK_STATE).WithStatus(0).WithBytesOut(2)};
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
    StartWith({2, 6});
    const simcard::WorldLoad world =
        simcard::ParseWorld("card bind=" + cardinstall::DefaultInstanceId(2) + " " + c.firstCard +
                                "\ncard bind=" + cardinstall::DefaultInstanceId(6) + "\n",
                            "test.world");
    ASSERT_TRUE(world.ok) << world.error;
    driverlib::CardRack::Instance().InstallWorld(world.world, std::make_shared<simcard::ManualClock>(1000));
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

} // namespace
