// cardinstall: writes the registry entries of the card's driver installation for one Windows kind.
//   cardinstall --kind win2000 --index 7
//   cardinstall --kind nt4 --index 3 --service 2 --decoy other:1 --decoy near-miss:2
#include "CardInstaller.h"
#include "DriverFile.h"
#include "RegistryFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char kUsage[] =
    "usage: cardinstall --kind win95|win98|nt4|win2000 [--index N]... [--service N] [--guid {ID}]\n"
    "                   [--decoy other|near-miss|name-case:N]... [--no-ndi] [--registry FILE]\n"
    "                   [--driver-file SOURCE]\n"
    "  --index N     class subkey number (win95, win98, win2000; default 7) or network card number\n"
    "                (nt4, from 1; default 1); repeat for several cards\n"
    "  --service N   nt4: service instance RAZURn of the last card (default: its card number)\n"
    "  --guid ID     win2000: NetCfgInstanceId of the last card\n"
    "  --decoy K:N   another adapter entry at index N: other adapter, near-miss id, match value name case\n"
    "  --no-ndi      leave out the Ndi\\params parameter descriptions\n"
    "  --registry F  host build: start from registry file F when it exists and save the result there\n"
    "  --driver-file SOURCE  put the driver file where the installation leaves it: a copy of SOURCE, a\n"
    "                file with a version resource (host build: SOURCE is the version, a.b.c.d)\n";

bool ParseIndex(const std::string& text, int* value) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n < 0 || n > 9999)
        return false;
    *value = static_cast<int>(n);
    return true;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "cardinstall: %s\n%s", message.c_str(), kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    cardinstall::InstallPlan plan;
    bool kindGiven = false;
    std::string registryFile;
    std::string driverFile;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        const std::string value = hasValue ? argv[i + 1] : "";
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--no-ndi") {
            plan.ndiParams = false;
            continue;
        }
        if (!hasValue)
            return Fail("missing value after " + arg);
        ++i;
        if (arg == "--kind") {
            if (!cardinstall::ParseWindowsKind(value, &plan.kind))
                return Fail("unknown Windows kind '" + value + "'");
            kindGiven = true;
        } else if (arg == "--index") {
            cardinstall::CardEntry card;
            if (!ParseIndex(value, &card.index))
                return Fail("bad index '" + value + "'");
            plan.cards.push_back(card);
        } else if (arg == "--service" || arg == "--guid") {
            if (plan.cards.empty())
                plan.cards.push_back({});
            if (arg == "--guid")
                plan.cards.back().instanceId = value;
            else if (!ParseIndex(value, &plan.cards.back().serviceInstance) ||
                     plan.cards.back().serviceInstance == 0)
                return Fail("bad service instance '" + value + "'");
        } else if (arg == "--decoy") {
            const auto colon = value.find(':');
            cardinstall::Decoy decoy;
            if (colon == std::string::npos ||
                !cardinstall::ParseDecoyKind(value.substr(0, colon), &decoy.kind) ||
                !ParseIndex(value.substr(colon + 1), &decoy.index))
                return Fail("bad decoy '" + value + "' (other|near-miss|name-case:N)");
            plan.decoys.push_back(decoy);
        } else if (arg == "--registry") {
            registryFile = value;
        } else if (arg == "--driver-file") {
            driverFile = value;
        } else {
            return Fail("unknown option " + arg);
        }
    }
    if (!kindGiven)
        return Fail("--kind is required");
    const int defaultIndex = plan.kind == cardinstall::WindowsKind::NT4 ? 1 : 7;
    if (plan.cards.empty())
        plan.cards.push_back({defaultIndex, 0, ""});
    for (cardinstall::CardEntry& card : plan.cards)
        if (plan.kind == cardinstall::WindowsKind::NT4 && card.index == 0)
            card.index = defaultIndex;

    std::string error;
    if (!registryFile.empty() && !cardinstall::LoadRegistryFileIfPresent(registryFile, &error))
        return Fail(error);
    const cardinstall::InstallResult result = cardinstall::Install(plan);
    if (result.error != ERROR_SUCCESS) {
        std::fprintf(stderr, "cardinstall: %s\n", result.message.c_str());
        return 1;
    }
    if (!driverFile.empty() && !cardinstall::PlaceDriverFile(plan.kind, driverFile, &error)) {
        std::fprintf(stderr, "cardinstall: %s\n", error.c_str());
        return 1;
    }
    if (!registryFile.empty() && !cardinstall::SaveRegistryFileTo(registryFile, &error)) {
        std::fprintf(stderr, "cardinstall: %s\n", error.c_str());
        return 1;
    }
    for (const cardinstall::CardEntry& card : plan.cards)
        std::printf("installed %s card at HKEY_LOCAL_MACHINE\\%s\n", cardinstall::WindowsKindName(plan.kind),
                    cardinstall::AdapterKeyPath(plan.kind, card.index).c_str());
    return 0;
}
