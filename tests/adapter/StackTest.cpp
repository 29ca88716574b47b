// The channel and the compound operations over the real driver-access library and a simulated card on a
// Windows 2000 machine, checked against the card's own trace of requests.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "CardInstaller.h"
#include "adapter/NdisRequests.h"
#include "adapter/WlanAdapter.h"
#include "common/Globals.h"
#include "driverlib/CardRack.h"
#include "hostsim/Registry.h"
#include "hostsim/System.h"
#include "simcard/Trace.h"
#include "simcard/WorldFile.h"

namespace {

using simcard::ExpectedRequest;

class StackTest : public ::testing::Test {
protected:
    void SetUp() override {
        hostsim::ResetSystem();
        hostsim::ResetRegistry();
        hostsim::SetWindowsKind(hostsim::WindowsKind::Win2000);
        g_bCardPresent = 1;
        cardinstall::InstallPlan plan;
        plan.kind = cardinstall::WindowsKind::Win2000;
        plan.cards = {{7, 0, ""}};
        ASSERT_EQ(ERROR_SUCCESS, cardinstall::Install(plan).error);
        simcard::WorldLoad load = simcard::ParseWorld(
            "card bind=" + cardinstall::DefaultInstanceId(7) + " mac=00:60:B3:00:00:07\n", "test.world");
        ASSERT_TRUE(load.ok) << load.error;
        driverlib::CardRack::Instance().InstallWorld(load.world,
                                                     std::make_shared<simcard::ManualClock>(1000));
        m_name.Set("0007");

        std::memset(&m_wanted, 0, sizeof(m_wanted));
        m_wanted.NetworkType = 1;
        m_wanted.DSChannel = 3;
        std::memcpy(m_wanted.SSID, "Lab", 3);
        m_wanted.SSIDLength = 3;
        m_wanted.TxRate = 8;
    }
    void TearDown() override {
        m_adapter.CloseAdapter();
        EXPECT_EQ("", driverlib::CardRack::Instance().UnfiredFaults());
        driverlib::CardRack::Instance().Clear();
        g_bCardPresent = 0;
        hostsim::ResetSystem();
    }

    std::shared_ptr<simcard::SimCard> Card() { return driverlib::CardRack::Instance().Card(0); }

    std::string Diff(const std::vector<ExpectedRequest>& expected) {
        std::string diff = simcard::DiffTrace(expected, Card()->Trace());
        Card()->ClearTrace();
        return diff;
    }

    CAdapterName m_name;
    CWlanAdapter m_adapter;
    LinkStatus m_wanted;
};

TEST_F(StackTest, BasicConfigReachesTheCardThroughTheRawDevicePath) {
    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    EXPECT_EQ("", Diff({ExpectedRequest::Set(OID_NETWORK_TYPE, std::nullopt, "01"),
                        ExpectedRequest::Set(OID_CONFIG_ITEM, ITEM_DESIRED_SSID, "4C6162"),
                        ExpectedRequest::Set(OID_TX_RATE, std::nullopt, "0800"),
                        ExpectedRequest::Set(OID_CONFIG_ITEM, ITEM_POWER_SAVING, "01"),
                        ExpectedRequest::Set(OID_CONFIG_ITEM, ITEM_CHANNEL, "03"),
                        ExpectedRequest::Set(OID_COMMIT).WithStatus(0)}));
    EXPECT_EQ(1u, driverlib::CardRack::Instance().OpenHandleCount());

    // The channel named the device for DOS once, at its one open.
    int nDosDevices = 0;
    for (const hostsim::SystemRecord& record : hostsim::SystemRecords())
        if (record.kind == hostsim::SystemRecord::Kind::DosDevice) {
            ++nDosDevices;
            EXPECT_NE(std::string::npos, record.text.find("\\Device\\" + cardinstall::DefaultInstanceId(7)));
        }
    EXPECT_EQ(1, nDosDevices);

    // What the card took is what it now reports.
    BYTE abRate[2] = {};
    DWORD cb = 0;
    ASSERT_EQ(1, m_adapter.QueryOid(m_name, OID_TX_RATE, abRate, sizeof(abRate), &cb));
    EXPECT_EQ(2u, cb);
    EXPECT_EQ(8, abRate[0]);
}

TEST_F(StackTest, AFailedItemStopsTheSequenceClosesTheAdapterAndIsSentAgainOnRetry) {
    simcard::FaultRule rule;
    rule.oid = OID_CONFIG_ITEM;
    rule.subId = ITEM_DESIRED_SSID;
    Card()->ArmFault(rule);

    EXPECT_EQ(0, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    EXPECT_EQ("", Diff({ExpectedRequest::Set(OID_NETWORK_TYPE, std::nullopt, "01"),
                        ExpectedRequest::Set(OID_CONFIG_ITEM, ITEM_DESIRED_SSID)
                            .WithStatus(simcard::status::kFailure)}));
    EXPECT_EQ(0u, driverlib::CardRack::Instance().OpenHandleCount());
    EXPECT_EQ((std::vector<std::string>{"ndis request faile\n"}), hostsim::DebugStrings());

    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    EXPECT_EQ("", Diff({ExpectedRequest::Set(OID_CONFIG_ITEM, ITEM_DESIRED_SSID, "4C6162"),
                        ExpectedRequest::Set(OID_TX_RATE, std::nullopt, "0800"),
                        ExpectedRequest::Set(OID_CONFIG_ITEM, ITEM_POWER_SAVING, "01"),
                        ExpectedRequest::Set(OID_CONFIG_ITEM, ITEM_CHANNEL, "03"),
                        ExpectedRequest::Set(OID_COMMIT)}));
}

TEST_F(StackTest, BeforeTheCardIsVerifiedAQueryLeavesNoHandleOpen) {
    g_bCardPresent = 0;
    BYTE abMac[6] = {};
    DWORD cb = 0;
    ASSERT_EQ(1, m_adapter.QueryOid(m_name, OID_802_3_CURRENT_ADDRESS, abMac, sizeof(abMac), &cb));
    EXPECT_EQ(6u, cb);
    EXPECT_EQ(0x07, abMac[5]);
    EXPECT_EQ(0u, driverlib::CardRack::Instance().OpenHandleCount());
    EXPECT_EQ("", Diff({ExpectedRequest::Query(OID_802_3_CURRENT_ADDRESS).WithBytesOut(6)}));
}

} // namespace
