// A fresh machine of one Windows kind, the card's installation in its registry, and simulated cards on a
// manual clock in the library's rack.
#pragma once
#include "CardInstaller.h"
#include "W32N50.h"
#include "driverlib/CardRack.h"
#include "simcard/Bytes.h"
#include "simcard/Ndis.h"

#include <hostsim/Registry.h>
#include <hostsim/System.h>
#include <win32api.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace driverlib_test {

class DriverlibTestBase : public ::testing::Test {
protected:
    void SetUp() override {
        hostsim::ResetSystem();
        hostsim::ResetRegistry();
    }
    void TearDown() override {
        EXPECT_EQ("", driverlib::CardRack::Instance().UnfiredFaults());
        driverlib::CardRack::Instance().Clear();
    }

    void Machine(hostsim::WindowsKind windows, cardinstall::InstallPlan plan) {
        hostsim::SetWindowsKind(windows);
        const cardinstall::InstallResult result = cardinstall::Install(plan);
        ASSERT_EQ(ERROR_SUCCESS, result.error) << result.message;
    }

    void World(const std::string& text) {
        simcard::WorldLoad load = simcard::ParseWorld(text, "test.world");
        ASSERT_TRUE(load.ok) << load.error;
        driverlib::CardRack::Instance().InstallWorld(load.world, m_clock);
    }

    DWORD Request(HANDLE h, DWORD type, DWORD oid, void* buffer, DWORD length, DWORD* written = nullptr) {
        W32N_REQUEST record;
        std::memset(&record, 0xCD, sizeof record);
        record.RequestType = type;
        record.Oid = oid;
        record.InformationBuffer = buffer;
        record.InformationBufferLength = length;
        record.BytesWritten = 0;
        record.BytesNeeded = 0;
        const DWORD status = W32N_MakeNdisRequest(h, &record, nullptr, 1);
        if (written)
            *written = record.BytesWritten;
        return status;
    }

    std::shared_ptr<simcard::ManualClock> m_clock = std::make_shared<simcard::ManualClock>(1000);
};

} // namespace driverlib_test
