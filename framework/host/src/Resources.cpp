#include "hostui/Resources.h"

#include <algorithm>
#include <mutex>

#include <rcreader/ScriptLoader.h>

#include "WindowTable.h"
#include "hostui/Tray.h"

namespace hostui {
namespace {

struct Installed {
    std::mutex mutex;
    std::shared_ptr<const ResourceSource> resources;
};

Installed& Current() {
    static auto* installed = new Installed;
    return *installed;
}

// Icon handles carry the resource id they were loaded from.
constexpr ULONG_PTR kIconTag = 0x1C000000;

// The resources of a script loaded by the resource reader.
class ScriptResources : public ResourceSource {
public:
    explicit ScriptResources(const wlan::rc::ResourceScript& script) {
        for (const auto& [id, dialog] : script.dialogs) {
            DialogTemplate converted;
            converted.id = static_cast<UINT>(id);
            converted.caption = dialog.caption;
            converted.style = dialog.style;
            converted.exStyle = dialog.exStyle;
            converted.x = dialog.rect.x;
            converted.y = dialog.rect.y;
            converted.cx = dialog.rect.cx;
            converted.cy = dialog.rect.cy;
            if (dialog.font) {
                converted.fontPoints = dialog.font->pointSize;
                converted.fontFace = dialog.font->typeface;
                converted.fontWeight = dialog.font->weight;
                converted.fontItalic = dialog.font->italic;
            }
            for (const wlan::rc::DialogControl& control : dialog.controls) {
                ControlTemplate c;
                c.id = control.id;
                c.className = control.className;
                c.text = control.textOrdinal ? "#" + std::to_string(*control.textOrdinal) : control.text;
                c.style = control.style;
                c.exStyle = control.exStyle;
                c.x = control.rect.x;
                c.y = control.rect.y;
                c.cx = control.rect.cx;
                c.cy = control.rect.cy;
                converted.controls.push_back(std::move(c));
            }
            m_table.AddDialog(std::move(converted));
        }
        for (const auto& [id, text] : script.strings)
            m_table.AddString(static_cast<UINT>(id), text);
        for (const auto& entry : script.icons)
            m_table.AddIcon(static_cast<UINT>(entry.first));
    }
    const DialogTemplate* FindDialog(UINT id) const override { return m_table.FindDialog(id); }
    const std::string* FindString(UINT id) const override { return m_table.FindString(id); }
    bool HasIcon(UINT id) const override { return m_table.HasIcon(id); }

private:
    TableResources m_table;
};

} // namespace

const DialogTemplate* TableResources::FindDialog(UINT id) const {
    auto it = m_dialogs.find(id);
    return it != m_dialogs.end() ? &it->second : nullptr;
}

const std::string* TableResources::FindString(UINT id) const {
    auto it = m_strings.find(id);
    return it != m_strings.end() ? &it->second : nullptr;
}

std::shared_ptr<ResourceSource> LoadScriptResources(const std::string& rcPath, std::string* error) {
    wlan::rc::LoadResult result = wlan::rc::loadResourceScript(rcPath);
    if (!result) {
        if (error != nullptr)
            *error = result.error ? result.error->text() : "cannot load " + rcPath;
        return nullptr;
    }
    return std::make_shared<ScriptResources>(*result.script);
}

void SetResources(std::shared_ptr<const ResourceSource> resources) {
    std::lock_guard<std::mutex> lock(Current().mutex);
    Current().resources = std::move(resources);
}

std::shared_ptr<const ResourceSource> GetResources() {
    std::lock_guard<std::mutex> lock(Current().mutex);
    return Current().resources;
}

UINT IconResourceId(HICON icon) {
    ULONG_PTR value = reinterpret_cast<ULONG_PTR>(icon);
    return (value & ~static_cast<ULONG_PTR>(0xFFFF)) == kIconTag ? static_cast<UINT>(value & 0xFFFF) : 0;
}

} // namespace hostui

int WINAPI LoadStringA(HINSTANCE, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
    if (lpBuffer == nullptr || cchBufferMax <= 0)
        return 0;
    lpBuffer[0] = '\0';
    auto resources = hostui::GetResources();
    const std::string* text = resources ? resources->FindString(uID) : nullptr;
    if (text == nullptr) {
        ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    int count = std::min(static_cast<int>(text->size()), cchBufferMax - 1);
    text->copy(lpBuffer, static_cast<size_t>(count));
    lpBuffer[count] = '\0';
    return count;
}

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    if (lpIconName == nullptr || !IS_INTRESOURCE(lpIconName)) {
        ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    WORD id = LOWORD(reinterpret_cast<ULONG_PTR>(lpIconName));
    auto resources = hostui::GetResources();
    bool system = hInstance == nullptr && id >= 32512;
    if (!system && !(resources && resources->HasIcon(id))) {
        ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        hostui::detail::Fail("no icon " + std::to_string(id) + " in the resources");
        return nullptr;
    }
    return reinterpret_cast<HICON>(hostui::kIconTag | id);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR lpCursorName) {
    return reinterpret_cast<HCURSOR>(hostui::kIconTag | LOWORD(reinterpret_cast<ULONG_PTR>(lpCursorName)));
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
    return hostui::IconResourceId(hIcon) != 0;
}
