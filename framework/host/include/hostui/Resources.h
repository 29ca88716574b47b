// Where the headless window system gets its dialog templates, strings and icons. Tests and the host runner
// install a source; ScriptResources serves a resource script read by the resource reader, TableResources
// serves templates built in code.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <win32api.h>

namespace hostui {

struct ControlTemplate {
    int id = 0;
    std::string className; // "Button", "Edit", "Static", "ComboBox", "SysListView32", ...
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0; // position and size in dialog units
    int y = 0;
    int cx = 0;
    int cy = 0;
};

struct DialogTemplate {
    UINT id = 0;
    std::string caption;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    // The FONT statement: every window of the dialog gets this font (0 points: none).
    int fontPoints = 0;
    std::string fontFace;
    int fontWeight = 0;
    bool fontItalic = false;
    std::vector<ControlTemplate> controls; // in template order: the tab and z order
};

class ResourceSource {
public:
    virtual ~ResourceSource() = default;
    virtual const DialogTemplate* FindDialog(UINT id) const = 0;
    virtual const std::string* FindString(UINT id) const = 0;
    virtual bool HasIcon(UINT id) const = 0;
};

// Templates, strings and icon ids held in memory.
class TableResources : public ResourceSource {
public:
    void AddDialog(DialogTemplate dialog) { m_dialogs[dialog.id] = std::move(dialog); }
    void AddString(UINT id, std::string text) { m_strings[id] = std::move(text); }
    void AddIcon(UINT id) { m_icons[id] = true; }
    const DialogTemplate* FindDialog(UINT id) const override;
    const std::string* FindString(UINT id) const override;
    bool HasIcon(UINT id) const override { return m_icons.count(id) != 0; }

private:
    std::map<UINT, DialogTemplate> m_dialogs;
    std::map<UINT, std::string> m_strings;
    std::map<UINT, bool> m_icons;
};

// The resources of a resource script (.rc). Returns nullptr, with the reader's message in *error, when the
// script does not load.
std::shared_ptr<ResourceSource> LoadScriptResources(const std::string& rcPath, std::string* error);

// The source every later dialog, string and icon lookup uses (none at first: every lookup fails).
void SetResources(std::shared_ptr<const ResourceSource> resources);
std::shared_ptr<const ResourceSource> GetResources();

} // namespace hostui
