// Fixture for tests of what only the host stand-in has: every test starts from an empty registry on
// Windows 2000 and leaves the same behind.
#pragma once
#include <win32api.h>

#include "hostsim/Registry.h"
#include "hostsim/System.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class HostRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        hostsim::ResetRegistry();
        hostsim::SetWindowsKind(hostsim::WindowsKind::Win2000);
    }
    void TearDown() override {
        hostsim::ResetRegistry();
        hostsim::SetWindowsKind(hostsim::WindowsKind::Win2000);
    }

    static HKEY Create(HKEY parent, const char* path) {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        return key;
    }
    static void Set(HKEY key, const std::string& name, DWORD type, const std::string& bytes) {
        EXPECT_EQ(ERROR_SUCCESS,
                  RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())));
    }
    // Type and bytes of a value, or "missing".
    static std::string Read(HKEY key, const std::string& name) {
        BYTE data[1024];
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS)
            return "missing";
        return std::to_string(type) + ":" + std::string(reinterpret_cast<const char*>(data), size);
    }
};
