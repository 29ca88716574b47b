#include "RegistryTextFormat.h"

#include "RegistryTypeNames.h"
#include "TextEscapes.h"

namespace hostreg {

const char kRegistryFileHeader[] = "wlan-registry 1";

namespace {

std::string FormatHex(const std::vector<std::uint8_t>& data) {
    static const char digits[] = "0123456789abcdef";
    std::string out = "hex";
    for (const std::uint8_t byte : data) {
        out.push_back(' ');
        out.push_back(digits[byte >> 4]);
        out.push_back(digits[byte & 0x0F]);
    }
    return out;
}

void AppendKey(const RegistryKey& key, std::string* out) {
    // A root without values needs no line of its own: the paths of its subkeys name it.
    if (key.Parent() != nullptr || !key.Values().empty()) {
        if (!out->empty())
            out->push_back('\n');
        *out += '[' + EscapeKeyPath(key.Path()) + "]\n";
        for (const RegistryValue& value : key.Values())
            *out += "  " + QuoteBytes(value.name) + " = " + FormatTypedData(value.type, value.data) + '\n';
    }
    for (std::size_t i = 0; i < key.SubkeyCount(); ++i)
        AppendKey(*key.SubkeyAt(i), out);
}

} // namespace

std::string FormatRegistryTree(const RegistryTree& tree) {
    std::string body;
    AppendKey(*tree.LocalMachine(), &body);
    AppendKey(*tree.CurrentUser(), &body);
    std::string out = std::string(kRegistryFileHeader) + '\n';
    if (!body.empty())
        out += '\n' + body;
    return out;
}

std::string FormatKeySubtree(const RegistryKey& key) {
    std::string out;
    AppendKey(key, &out);
    return out;
}

std::string FormatTypedData(std::uint32_t type, const std::vector<std::uint8_t>& data) {
    std::string out = TypeName(type) + ' ';
    if (IsStringType(type))
        return out + QuoteBytes(data);
    if (type == kTypeDword && data.size() == 4) {
        const std::uint32_t number =
            static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
            static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
        return out + std::to_string(number);
    }
    return out + FormatHex(data);
}

} // namespace hostreg
