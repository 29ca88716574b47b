// libFuzzer target for the registry text parser. Beyond not crashing, every text that loads must save to
// a text that loads again and saves identically, and a refused text must leave the registry unchanged.
#include "hostsim/Registry.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    hostsim::ResetRegistry();
    const std::string empty = hostsim::SaveRegistryText();
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (!hostsim::LoadRegistryText(text, "fuzz", &error)) {
        if (error.compare(0, 5, "fuzz:") != 0 || hostsim::SaveRegistryText() != empty)
            std::abort();
        return 0;
    }
    const std::string saved = hostsim::SaveRegistryText();
    if (!hostsim::LoadRegistryText(saved, "saved", &error) || hostsim::SaveRegistryText() != saved)
        std::abort();
    return 0;
}
