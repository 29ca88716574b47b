// What the resource reader gives the host framework: the dialogs, strings, icons and version information
// of a resource script, with ids, styles and rectangles exactly as the resource compiler would store them.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wlan::rc {

// In dialog units, as written in the script.
struct Rect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

struct DialogFont {
    int pointSize = 0;
    std::string typeface;
    int weight = 0;
    bool italic = false;
    int charset = 0;
};

struct DialogControl {
    int id = 0; // -1 for the unnamed statics
    // "Button", "Edit", "Static", "ComboBox", "ListBox", "ScrollBar", or a class name as written
    // ("msctls_trackbar32", "SysListView32", ...).
    std::string className;
    std::string text;
    // Set when the text is a resource ordinal rather than a string (the icon of an ICON control).
    std::optional<std::uint16_t> textOrdinal;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    Rect rect;

    bool visible() const;
    bool enabled() const;
    bool hasStyle(std::uint32_t bits) const { return (style & bits) == bits; }
    // The button kind (BS_*) of a Button, the static kind (SS_*) of a Static, the combo box kind (CBS_*).
    std::uint32_t kind() const;
};

struct Dialog {
    int id = 0;
    std::string caption;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t helpId = 0;
    std::optional<DialogFont> font;
    Rect rect;
    std::vector<DialogControl> controls; // in template order, which is the tab and z order

    // The first control with this id (ids of statics repeat), or nullptr.
    const DialogControl* control(int controlId) const;
};

struct IconImage {
    int width = 0;
    int height = 0;
    int bitCount = 0;
};

struct IconResource {
    int id = 0;
    std::string path; // as resolved against the script's folder
    std::vector<IconImage> images;
};

struct VersionInfo {
    int id = 0;
    std::array<std::uint16_t, 4> fileVersion{};
    std::array<std::uint16_t, 4> productVersion{};
    std::uint32_t fileFlagsMask = 0;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOs = 0;
    std::uint32_t fileType = 0;
    std::uint32_t fileSubtype = 0;
    struct StringBlock {
        std::string name; // language and code page, "040904B0"
        std::vector<std::pair<std::string, std::string>> values;
    };
    std::vector<StringBlock> stringBlocks;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;

    // A value of the first string block that has it, or nullptr.
    const std::string* value(std::string_view key) const;
};

struct ResourceScript {
    std::map<int, Dialog> dialogs;
    std::map<int, std::string> strings;
    std::map<int, IconResource> icons;
    std::optional<VersionInfo> versionInfo;
    // Every #define whose value is a number (the ids of resource.h), by name.
    std::map<std::string, std::int64_t, std::less<>> symbols;

    const Dialog* dialog(int id) const;
    const std::string* string(int id) const;
    const IconResource* icon(int id) const;
    std::optional<std::int64_t> symbol(std::string_view name) const;
};

} // namespace wlan::rc
