#include "CardInstaller.h"

#include "RegistryWriter.h"

#include <cstdio>
#include <set>

namespace cardinstall {
namespace {

const char kDescription[] = "IEEE802.11b WLAN PCI Card v2.5";
const char kHardwareId[] = "pci\\ven_1260&dev_3873&subsys_5e0c7a93";
const char kHardwareId98[] = "PCI\\VEN_1260&DEV_3873&SUBSYS_5E0C7A93&REV_01";
const char kDriverFile[] = "DIZOZUVA.ROR";
const char kProvider[] = "PRISM2.5";

// The driver's parameters: name, factory value, how the parameter page describes it.
struct Parameter {
    const char* name;
    const char* factory;
    const char* description;
    const char* type;
};
const Parameter kParameters[] = {
    {"SSID", "any", "Network name (SSID)", "edit"},
    {"NetworkType", "1", "Network type", "enum"},
    {"DSChannel", "6", "Channel", "int"},
    {"TxRate", "15", "Transmit rate", "enum"},
    {"PSMode", "1", "Power saving", "enum"},
    {"WepReq", "0", "WEP", "enum"},
    {"DefaultKeyId", "1", "Default WEP key", "enum"},
    {"DefaultKeys", "", "WEP keys", "edit"},
    {"AuthentAlg", "1", "Authentication", "enum"},
    {"PreambleMode", "1", "Preamble", "enum"},
    {"FragThresh", "2432", "Fragmentation threshold", "int"},
    {"RTSThresh", "2432", "RTS/CTS threshold", "int"},
};

bool IsClassKind(WindowsKind kind) {
    return kind != WindowsKind::NT4;
}

const char* MatchValueName(WindowsKind kind) {
    switch (kind) {
    case WindowsKind::Win2000:
        return "ComponentId";
    case WindowsKind::Win98:
        return "MatchingDeviceId";
    case WindowsKind::Win95:
        return "DriverDesc";
    case WindowsKind::NT4:
        return "Description";
    }
    return "";
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

void WriteClassEntry(RegistryWriter& out, WindowsKind kind, const std::string& key, int index,
                     const std::string& instanceId) {
    out.Text(key, "DriverDesc", kDescription);
    out.Text(key, "ProviderName", kProvider);
    if (kind == WindowsKind::Win2000) {
        out.Text(key, "ComponentId", kHardwareId);
        out.Text(key, "NetCfgInstanceId", instanceId.empty() ? DefaultInstanceId(index) : instanceId);
        out.Text(key, "InfPath", "oem" + std::to_string(index) + ".inf");
    } else {
        out.Text(key, "DeviceVxDs", kDriverFile);
        if (kind == WindowsKind::Win98)
            out.Text(key, "MatchingDeviceId", kHardwareId98);
    }
}

void WriteTextParameters(RegistryWriter& out, const std::string& key, bool ndi) {
    for (const Parameter& p : kParameters) {
        out.Text(key, p.name, p.factory);
        if (!ndi)
            continue;
        const std::string params = key + "\\Ndi\\params\\" + p.name;
        out.Text(params, "ParamDesc", p.description);
        out.Text(params, "default", p.factory);
        out.Text(params, "type", p.type);
    }
}

void WriteNt4Card(RegistryWriter& out, const CardEntry& card) {
    const int instance = card.serviceInstance ? card.serviceInstance : card.index;
    const std::string entry = AdapterKeyPath(WindowsKind::NT4, card.index);
    out.Text(entry, "Description", kDescription);
    out.Text(entry, "ServiceName", ServiceName(instance));
    out.Text(entry, "Title", "[" + std::to_string(card.index) + "] " + kDescription);
    out.Text(entry, "ProductName", "RAZUR");

    const std::string service = "System\\CurrentControlSet\\Services\\" + ServiceName(instance);
    out.Text(service, "DisplayName", kDescription);
    out.Text(service, "ImagePath", std::string("System32\\drivers\\") + kDriverFile);
    out.Number(service, "Type", 1);
    out.Number(service, "Start", 3);
    const std::string params = ParametersKeyPath(WindowsKind::NT4, card);
    for (const Parameter& p : kParameters) {
        if (std::string(p.type) == "edit")
            out.Text(params, p.name, p.factory);
        else
            out.Number(params, p.name, static_cast<DWORD>(std::stoul(p.factory)));
    }
    out.Number(params, "BusType", 5);
    out.Number(params, "BusNumber", 0);
    out.Number(params, "SlotNumber", static_cast<DWORD>(card.index + 8));
}

void WriteDecoy(RegistryWriter& out, WindowsKind kind, const Decoy& decoy) {
    const std::string key = AdapterKeyPath(kind, decoy.index);
    const bool nt4 = kind == WindowsKind::NT4;
    switch (decoy.kind) {
    case DecoyKind::OtherAdapter:
        out.Text(key, nt4 ? "Description" : "DriverDesc", "Fast Ethernet PCI Adapter");
        if (nt4) {
            out.Text(key, "ServiceName", "FETH" + std::to_string(decoy.index));
        } else {
            out.Text(key, kind == WindowsKind::Win2000 ? "ComponentId" : "MatchingDeviceId",
                     "pci\\ven_10ec&dev_8139");
            if (kind == WindowsKind::Win2000)
                out.Text(key, "NetCfgInstanceId", DefaultInstanceId(decoy.index));
        }
        break;
    case DecoyKind::NearMiss:
        out.Text(key, nt4 ? "Description" : "DriverDesc", "IEEE802.11b WLAN PCI Card v2.4");
        if (nt4) {
            out.Text(key, "ServiceName", "RAZUR" + std::to_string(90 + decoy.index));
        } else {
            out.Text(key, kind == WindowsKind::Win2000 ? "ComponentId" : "MatchingDeviceId",
                     "PCI\\VEN_1260&DEV_3873&SUBSYS_5E0C7A94");
            if (kind == WindowsKind::Win2000)
                out.Text(key, "NetCfgInstanceId", DefaultInstanceId(decoy.index));
        }
        break;
    case DecoyKind::NameCase: {
        const std::string match =
            kind == WindowsKind::Win2000 || kind == WindowsKind::Win98 ? kHardwareId98 : kDescription;
        out.Text(key, Lower(MatchValueName(kind)), match);
        if (nt4)
            out.Text(key, "ServiceName", "RAZUR" + std::to_string(90 + decoy.index));
        else if (kind == WindowsKind::Win2000)
            out.Text(key, "NetCfgInstanceId", DefaultInstanceId(decoy.index));
        break;
    }
    }
}

} // namespace

bool ParseWindowsKind(const std::string& text, WindowsKind* kind) {
    const struct {
        const char* name;
        WindowsKind kind;
    } names[] = {{"win95", WindowsKind::Win95},
                 {"win98", WindowsKind::Win98},
                 {"nt4", WindowsKind::NT4},
                 {"win2000", WindowsKind::Win2000}};
    for (const auto& n : names)
        if (text == n.name) {
            *kind = n.kind;
            return true;
        }
    return false;
}

const char* WindowsKindName(WindowsKind kind) {
    switch (kind) {
    case WindowsKind::Win95:
        return "win95";
    case WindowsKind::Win98:
        return "win98";
    case WindowsKind::NT4:
        return "nt4";
    case WindowsKind::Win2000:
        return "win2000";
    }
    return "";
}

bool ParseDecoyKind(const std::string& text, DecoyKind* kind) {
    if (text == "other")
        *kind = DecoyKind::OtherAdapter;
    else if (text == "near-miss")
        *kind = DecoyKind::NearMiss;
    else if (text == "name-case")
        *kind = DecoyKind::NameCase;
    else
        return false;
    return true;
}

std::string DefaultInstanceId(int index) {
    char text[48];
    std::snprintf(text, sizeof text, "{5E0C7A93-1260-3873-0000-%012d}", index);
    return text;
}

std::string ServiceName(int instance) {
    return "RAZUR" + std::to_string(instance);
}

std::string AdapterKeyPath(WindowsKind kind, int index) {
    char text[160];
    switch (kind) {
    case WindowsKind::Win2000:
        std::snprintf(
            text, sizeof text,
            "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\%04d", index);
        break;
    case WindowsKind::Win95:
    case WindowsKind::Win98:
        std::snprintf(text, sizeof text, "System\\CurrentControlSet\\Services\\Class\\Net\\%04d", index);
        break;
    case WindowsKind::NT4:
        std::snprintf(text, sizeof text, "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\%d",
                      index);
        break;
    }
    return text;
}

std::string ParametersKeyPath(WindowsKind kind, const CardEntry& card) {
    if (IsClassKind(kind))
        return AdapterKeyPath(kind, card.index);
    const int instance = card.serviceInstance ? card.serviceInstance : card.index;
    return "System\\CurrentControlSet\\Services\\" + ServiceName(instance) + "\\Parameters";
}

InstallResult Install(const InstallPlan& plan) {
    InstallResult result;
    std::set<int> used;
    const int lowest = plan.kind == WindowsKind::NT4 ? 1 : 0;
    auto claim = [&](int index, const char* what) {
        if (index < lowest || index > 9999) {
            result = {ERROR_INVALID_PARAMETER,
                      std::string(what) + " index " + std::to_string(index) + " out of range"};
            return false;
        }
        if (!used.insert(index).second) {
            result = {ERROR_INVALID_PARAMETER, "index " + std::to_string(index) + " used twice"};
            return false;
        }
        return true;
    };
    for (const CardEntry& card : plan.cards)
        if (!claim(card.index, "card"))
            return result;
    for (const Decoy& decoy : plan.decoys)
        if (!claim(decoy.index, "decoy"))
            return result;

    RegistryWriter out;
    for (const CardEntry& card : plan.cards) {
        if (plan.kind == WindowsKind::NT4) {
            WriteNt4Card(out, card);
        } else {
            const std::string key = AdapterKeyPath(plan.kind, card.index);
            WriteClassEntry(out, plan.kind, key, card.index, card.instanceId);
            WriteTextParameters(out, key, plan.ndiParams);
        }
    }
    for (const Decoy& decoy : plan.decoys)
        WriteDecoy(out, plan.kind, decoy);
    if (out.Error() != ERROR_SUCCESS)
        return {out.Error(), out.FailedWhere()};
    return result;
}

} // namespace cardinstall
