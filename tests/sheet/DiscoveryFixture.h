// Shared set-up of the discovery tests: a fresh machine of one Windows kind with the card's driver
// installation (and decoys) in the registry, simulated cards behind the driver-access library, a tray that
// records what it is told, and the sheet object whose FindAdapter and CheckCardPresent run.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CardInstaller.h"
#include "common/Globals.h"
#include "common/TrayIcon.h"
#include "app/WindowsKind.h"
#include "driverlib/CardRack.h"
#include "hostsim/Registry.h"
#include "hostsim/System.h"
#include "sheet/ConfigUtility.h"
#include "simcard/Trace.h"
#include "simcard/WorldFile.h"

namespace discoverytest {

using Lines = std::vector<std::string>;

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
    DiscoveryTest() {
        hostsim::ResetRegistry();
        hostsim::ResetSystem();
        // No card until a test inserts one (an unconfigured library would fall back to a default card).
        driverlib::CardRack::Instance().Clear();
        g_pTrayIconOwner = &m_tray;
        g_bCardPresent = 0;
        g_bRecheckCard = 1;
        g_szAdapterName.Clear();
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

    // Start-up on `kind`: GetVersionExA answers it and the discovery globals are set from it.
    void StartOn(cardinstall::WindowsKind kind) {
        m_kind = kind;
        hostsim::WindowsKind system = hostsim::WindowsKind::Win2000;
        if (kind == cardinstall::WindowsKind::Win95)
            system = hostsim::WindowsKind::Win95;
        else if (kind == cardinstall::WindowsKind::Win98)
            system = hostsim::WindowsKind::Win98;
        else if (kind == cardinstall::WindowsKind::NT4)
            system = hostsim::WindowsKind::NT4;
        hostsim::SetWindowsKind(system);
        ASSERT_TRUE(DetectWindowsKind());
    }

    void Install(const std::vector<int>& cards, const std::vector<cardinstall::Decoy>& decoys = {}) {
        cardinstall::InstallPlan plan;
        plan.kind = m_kind;
        for (int index : cards)
            plan.cards.push_back({index, 0, ""});
        plan.decoys = decoys;
        ASSERT_EQ(ERROR_SUCCESS, cardinstall::Install(plan).error);
    }

    // The name the simulated card of the entry `index` answers to on this kind.
    std::string BindingOf(int index) const {
        if (m_kind == cardinstall::WindowsKind::Win2000)
            return cardinstall::DefaultInstanceId(index);
        if (m_kind == cardinstall::WindowsKind::NT4)
            return cardinstall::ServiceName(index);
        char name[8];
        std::snprintf(name, sizeof name, "%04d", index);
        return name;
    }

    // One simulated card per entry; `extra` is appended to each card line in the same order.
    void InsertCards(const std::vector<int>& indexes, const std::vector<std::string>& extra = {}) {
        std::string world;
        for (std::size_t i = 0; i < indexes.size(); ++i)
            world += "card bind=" + BindingOf(indexes[i]) + (i < extra.size() ? " " + extra[i] : "") + "\n";
        const simcard::WorldLoad load = simcard::ParseWorld(world, "test.world");
        ASSERT_TRUE(load.ok) << load.error;
        driverlib::CardRack::Instance().InstallWorld(load.world,
                                                     std::make_shared<simcard::ManualClock>(1000));
    }

    void SetText(const std::string& keyPath, const char* name, const std::string& data) {
        HKEY hKey = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
        RegSetValueExA(hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size()));
        RegCloseKey(hKey);
    }

    static std::string AdapterName() {
        char name[CAdapterName::MAX_NAME + 1];
        g_szAdapterName.Get(name);
        return name;
    }

    // Compares the requests card `card` received with the table, and forgets them.
    static std::string Diff(std::size_t card, const std::vector<simcard::ExpectedRequest>& expected) {
        std::shared_ptr<simcard::SimCard> sim = driverlib::CardRack::Instance().Card(card);
        if (!sim)
            return "no card " + std::to_string(card);
        const std::string diff = simcard::DiffTrace(expected, sim->Trace());
        sim->ClearTrace();
        return diff;
    }

    static int DosDeviceDefinitions() {
        int n = 0;
        for (const hostsim::SystemRecord& record : hostsim::SystemRecords())
            n += record.kind == hostsim::SystemRecord::Kind::DosDevice;
        return n;
    }

    cardinstall::WindowsKind m_kind = cardinstall::WindowsKind::Win2000;
    RecordingTray m_tray;
    CConfigUtility m_sheet{"DAZE802.11d AVUD UDE Zadu Vuvivav"};
};

} // namespace discoverytest
