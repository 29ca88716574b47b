// A fixture for registry tests that run on the host stand-in and on Windows (or Wine) alike: each test
// gets a fresh key HKEY_CURRENT_USER\Software\WlanUtilityTests\<suite>.<test>, removed again afterwards.
#pragma once
#include "Wine.h"
#include <win32api.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// Where Wine is known to behave differently from Windows, the tests expect Wine's behaviour under Wine
// and Windows' behaviour everywhere else (the host stand-in follows Windows).
using testsupport::RunningUnderWine;

// Removes a key with everything below it, on every Windows family (the NT family only deletes leaves).
void DeleteKeyTree(HKEY parent, const std::string& name);

std::vector<BYTE> Bytes(const std::string& text);

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets a value on the scratch key with exactly these bytes.
    void Set(const char* name, DWORD type, const std::string& bytes);
    // The stored bytes of a value of the scratch key, read with a buffer of `room` bytes.
    std::vector<BYTE> Query(const char* name, DWORD room = 256);
    HKEY CreateSubkey(const char* path);

    HKEY m_key = nullptr;
    std::string m_path; // relative to HKEY_CURRENT_USER
};
