// The script reader on arbitrary bytes: it must answer with a script or an error, never crash or hang.
#include "ScriptReader.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const runner::ResourceCatalog catalog = [] {
        runner::ResourceCatalog c;
        c.AddSymbol("IDC_CFG_SSID", 1012);
        c.AddSymbol("ID_TRAY_EXIT", 2004);
        c.AddSymbol("IDC_ADV_FRAG_SLIDER", 1145);
        c.AddSymbol("IDC_ABOUT_WEB_LINK", 1161);
        c.AddControl(1012);
        c.AddControl(1118);
        c.AddControl(1145);
        c.AddControl(1161);
        c.AddCaption("Configuration");
        return c;
    }();
    runner::ScriptReader reader(catalog, {"home"});
    const runner::ReadResult result =
        reader.Read(std::string(reinterpret_cast<const char*>(data), size), "fuzz.script");
    if (!result.ok && result.error.rfind("fuzz.script:", 0) != 0)
        __builtin_trap(); // every error names its place
    return 0;
}
