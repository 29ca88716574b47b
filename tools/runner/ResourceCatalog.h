// What the script reader checks names against: the program's resource script. Control names are the
// symbols of resource.h (IDC_CFG_SSID), control ids must belong to a dialog of the resources, tab titles
// are dialog captions, and menu commands may be named by their symbols (ID_TRAY_EXIT).
#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>

namespace runner {

class ResourceCatalog {
public:
    // False with the resource reader's message when the script does not load.
    bool Load(const std::string& rcPath, std::string* error);
    // For tests: symbols and controls given directly.
    void AddSymbol(const std::string& name, long long value) { m_symbols[name] = value; }
    void AddControl(int id) { m_controls.insert(id); }
    void AddCaption(const std::string& caption) { m_captions.insert(caption); }

    std::optional<long long> Symbol(const std::string& name) const;
    bool IsControl(int id) const { return m_controls.count(id) != 0; }
    bool IsCaption(const std::string& caption) const { return m_captions.count(caption) != 0; }

private:
    std::map<std::string, long long> m_symbols;
    std::set<int> m_controls;
    std::set<std::string> m_captions;
};

} // namespace runner
