#include "ResourceCatalog.h"

#include "rcreader/ScriptLoader.h"

namespace runner {

bool ResourceCatalog::Load(const std::string& rcPath, std::string* error) {
    const wlan::rc::LoadResult result = wlan::rc::loadResourceScript(rcPath);
    if (!result) {
        *error = result.error ? result.error->text() : "cannot load " + rcPath;
        return false;
    }
    for (const auto& [name, value] : result.script->symbols)
        m_symbols[name] = value;
    for (const auto& [id, dialog] : result.script->dialogs) {
        m_captions.insert(dialog.caption);
        for (const wlan::rc::DialogControl& control : dialog.controls)
            if (control.id > 0)
                m_controls.insert(control.id);
    }
    return true;
}

std::optional<long long> ResourceCatalog::Symbol(const std::string& name) const {
    auto it = m_symbols.find(name);
    if (it == m_symbols.end())
        return std::nullopt;
    return it->second;
}

} // namespace runner
