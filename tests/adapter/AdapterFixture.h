// Shared set-up of the adapter tests: a fresh channel over the recording library, the card not yet verified,
// an adapter named "0007".
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeDriverLibrary.h"
#include "adapter/WlanAdapter.h"
#include "common/Globals.h"
#include "hostsim/System.h"

class AdapterTest : public ::testing::Test {
protected:
    AdapterTest() {
        fakelib::Reset();
        hostsim::ResetSystem();
        g_bCardPresent = 0;
        g_nRequestsInFlight = 0;
        m_name.Set("0007");
    }
    ~AdapterTest() override {
        g_bCardPresent = 0;
        fakelib::Reset();
        hostsim::ResetSystem();
    }

    // The calls since the last look, so each step of a test states only its own requests.
    std::vector<std::string> TakeCalls() {
        std::vector<std::string> calls = fakelib::Calls();
        fakelib::ClearCalls();
        return calls;
    }

    CAdapterName m_name;
    CWlanAdapter m_adapter;
};

using Lines = std::vector<std::string>;
