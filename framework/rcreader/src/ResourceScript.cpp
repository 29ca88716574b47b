#include "rcreader/ResourceScript.h"

namespace wlan::rc {

namespace {

constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_DISABLED = 0x08000000;

template <typename Map> const typename Map::mapped_type* lookup(const Map& map, int id) {
    auto found = map.find(id);
    return found == map.end() ? nullptr : &found->second;
}

} // namespace

bool DialogControl::visible() const {
    return (style & WS_VISIBLE) != 0;
}

bool DialogControl::enabled() const {
    return (style & WS_DISABLED) == 0;
}

std::uint32_t DialogControl::kind() const {
    if (className == "Button") {
        return style & 0x0F;
    }
    if (className == "Static") {
        return style & 0x1F;
    }
    if (className == "ComboBox") {
        return style & 0x03;
    }
    return 0;
}

const DialogControl* Dialog::control(int controlId) const {
    for (const DialogControl& c : controls) {
        if (c.id == controlId) {
            return &c;
        }
    }
    return nullptr;
}

const std::string* VersionInfo::value(std::string_view key) const {
    for (const StringBlock& block : stringBlocks) {
        for (const auto& [name, text] : block.values) {
            if (name == key) {
                return &text;
            }
        }
    }
    return nullptr;
}

const Dialog* ResourceScript::dialog(int id) const {
    return lookup(dialogs, id);
}

const std::string* ResourceScript::string(int id) const {
    return lookup(strings, id);
}

const IconResource* ResourceScript::icon(int id) const {
    return lookup(icons, id);
}

std::optional<std::int64_t> ResourceScript::symbol(std::string_view name) const {
    auto found = symbols.find(name);
    if (found == symbols.end()) {
        return std::nullopt;
    }
    return found->second;
}

} // namespace wlan::rc
