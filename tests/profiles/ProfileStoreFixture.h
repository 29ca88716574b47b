// Shared set-up of the profile store tests: a fresh registry with the card's driver installed for one
// Windows kind, the sheet object whose working profile is loaded and saved, and ways to read back what the
// store left in the registry (value lines in the registry file's form: name, type and exact bytes).
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CardInstaller.h"
#include "common/Globals.h"
#include "app/WindowsKind.h"
#include "hostsim/Registry.h"
#include "hostsim/System.h"
#include "hostui/HostUi.h"
#include "sheet/ConfigUtility.h"

namespace profiletest {

using Lines = std::vector<std::string>;

inline const char kCaption[] = "DAZE802.11d AVUD UDE Zadu Vuvivav";

struct Kind {
    hostsim::WindowsKind system;
    cardinstall::WindowsKind install;
    const char* name;
};

inline const Kind kWin2000{hostsim::WindowsKind::Win2000, cardinstall::WindowsKind::Win2000, "win2000"};
inline const Kind kWin95{hostsim::WindowsKind::Win95, cardinstall::WindowsKind::Win95, "win95"};
inline const Kind kWin98{hostsim::WindowsKind::Win98, cardinstall::WindowsKind::Win98, "win98"};
inline const Kind kNt4{hostsim::WindowsKind::NT4, cardinstall::WindowsKind::NT4, "nt4"};

inline void PrintTo(const Kind& kind, std::ostream* os) {
    *os << kind.name;
}

class ProfileStoreFixture {
protected:
    ProfileStoreFixture() {
        hostsim::ResetRegistry();
        hostsim::ResetSystem();
        hostui::ResetUi();
        hostui::ClearEvents();
        static std::shared_ptr<hostui::ResourceSource> resources = [] {
            std::string error;
            auto loaded = hostui::LoadScriptResources(WLAN_RESOURCE_SCRIPT, &error);
            EXPECT_TRUE(loaded) << error;
            return loaded;
        }();
        hostui::SetResources(resources);
    }
    ~ProfileStoreFixture() {
        hostsim::SetRegistryWriteObserver(nullptr);
        EXPECT_EQ(Lines{}, hostui::Failures());
        g_szAdapterName.Clear();
        g_nOsKind = OSKIND_UNSUPPORTED;
        hostui::ClearAnswers();
        hostsim::ResetSystem();
    }

    // Start-up on `kind`, the driver installed as class subkey 0003 (NT 4: network card 1, service
    // instance `nt4Instance`), discovery done.
    void InstallOn(const Kind& kind, bool ndiParams = true, int nt4Instance = 1) {
        m_kind = kind;
        hostsim::SetWindowsKind(kind.system);
        ASSERT_TRUE(DetectWindowsKind());
        cardinstall::InstallPlan plan;
        plan.kind = kind.install;
        m_card.index = kind.install == cardinstall::WindowsKind::NT4 ? 1 : 3;
        m_card.serviceInstance = kind.install == cardinstall::WindowsKind::NT4 ? nt4Instance : 0;
        plan.cards = {m_card};
        plan.ndiParams = ndiParams;
        ASSERT_EQ(ERROR_SUCCESS, cardinstall::Install(plan).error);
        g_szAdapterName.Set(kind.install == cardinstall::WindowsKind::NT4 ? "0" : "0003");
    }

    bool IsNt4() const { return m_kind.install == cardinstall::WindowsKind::NT4; }

    // Path of the adapter parameters key, under HKEY_LOCAL_MACHINE.
    std::string ParametersPath() const { return cardinstall::ParametersKeyPath(m_kind.install, m_card); }

    // The value lines of one key (not of its subkeys), e.g. `"DSChannel" = sz "11"`, in enumeration order.
    static Lines ValuesOf(const std::string& path) {
        const std::string dump = hostsim::DumpRegistryKey("HKEY_LOCAL_MACHINE\\" + path);
        Lines lines;
        bool inFirstKey = false;
        std::size_t start = 0;
        while (start < dump.size()) {
            std::size_t end = dump.find('\n', start);
            if (end == std::string::npos)
                end = dump.size();
            std::string line = dump.substr(start, end - start);
            start = end + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!line.empty() && line[0] == '[') {
                if (inFirstKey)
                    break;
                inFirstKey = true;
            } else if (inFirstKey && line.size() > 2 && line.compare(0, 3, "  \"") == 0) {
                lines.push_back(line.substr(2));
            }
        }
        return lines;
    }

    static bool KeyExists(const std::string& path) {
        HKEY hKey = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return false;
        RegCloseKey(hKey);
        return true;
    }

    // The registry's own form of one value line, e.g. Line("TxRate", "sz \"15\\0\"").
    static std::string Line(const std::string& name, const std::string& data) {
        return "\"" + name + "\" = " + data;
    }

    // Records every registry change from now on, one line each (create, set, delete).
    void WatchWrites() {
        m_writes.clear();
        hostsim::SetRegistryWriteObserver([this](const hostsim::RegistryWrite& write) {
            m_writes.push_back(hostsim::FormatRegistryWrite(write));
        });
    }

    Kind m_kind = kWin2000;
    cardinstall::CardEntry m_card;
    CConfigUtility m_sheet{kCaption};
    Lines m_writes;
};

} // namespace profiletest
