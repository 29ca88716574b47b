#include "StoredValues.h"

#include <cctype>
#include <cstdint>
#include <set>

namespace soak {
namespace {

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegDword = 4;

struct NumberRule {
    const char* name;
    std::size_t bytes;               // the count written with the text; 0: the length of the text
    std::set<unsigned long> allowed; // empty: the range below
    unsigned long low;
    unsigned long high;
};

const NumberRule kNumbers[] = {
    {"DSChannel", 2, {}, 1, 14},
    {"TxRate", 3, {1, 2, 3, 4, 8, 15}, 0, 0},
    {"NetworkType", 1, {0, 1, 3}, 0, 0},
    {"WepReq", 1, {0, 2, 6}, 0, 0},
    {"DefaultKeyId", 1, {}, 1, 4},
    {"FragThresh", 4, {}, 256, 2432},
    {"RTSThresh", 4, {}, 0, 2432},
    {"PreambleMode", 2, {}, 1, 2},
    {"PSMode", 2, {}, 1, 2},
    {"AuthentAlg", 0, {1, 2, 65535}, 0, 0},
};

bool SameName(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == '\0';
}

bool InRange(const NumberRule& rule, unsigned long n) {
    return rule.allowed.empty() ? n >= rule.low && n <= rule.high : rule.allowed.count(n) != 0;
}

// Decimal digits, then (for a fixed count) zero bytes up to the count.
std::string CheckNumberText(const NumberRule& rule, const std::vector<std::uint8_t>& data) {
    if (rule.bytes != 0 && data.size() != rule.bytes)
        return std::to_string(data.size()) + " bytes where " + std::to_string(rule.bytes) + " are written";
    std::size_t digits = 0;
    unsigned long n = 0;
    while (digits < data.size() && std::isdigit(data[digits])) {
        n = n * 10 + (data[digits] - '0');
        ++digits;
    }
    if (digits == 0)
        return "no digits";
    for (std::size_t i = digits; i < data.size(); ++i)
        if (data[i] != 0 || rule.bytes == 0)
            return "a byte other than the terminating zeros after the number";
    return InRange(rule, n) ? "" : "number " + std::to_string(n) + " out of range";
}

std::string CheckNumber(const NumberRule& rule, const hostsim::RegistryWrite& write, bool ntFour) {
    if (!ntFour)
        return write.type == kRegSz ? CheckNumberText(rule, write.data) : "not REG_SZ";
    if (write.type != kRegDword || write.data.size() != 4)
        return "not a 4-byte REG_DWORD";
    const unsigned long n = write.data[0] | write.data[1] << 8 | write.data[2] << 16 |
                            static_cast<unsigned long>(write.data[3]) << 24;
    return InRange(rule, n) ? "" : "number " + std::to_string(n) + " out of range";
}

// A key text: `fixed` bytes of upper-case hexadecimal digits, or (never set) zeros; or, with fixed 0, a
// whole text of one of the lengths allowed.
std::string CheckKeyText(const std::vector<std::uint8_t>& data, std::size_t fixed,
                         std::initializer_list<std::size_t> lengths) {
    if (fixed != 0 && data.size() != fixed)
        return std::to_string(data.size()) + " bytes where " + std::to_string(fixed) + " are written";
    std::size_t digits = 0;
    while (digits < data.size() && std::isxdigit(data[digits]) && !std::islower(data[digits]))
        ++digits;
    for (std::size_t i = digits; i < data.size(); ++i)
        if (data[i] != 0 || fixed == 0)
            return "a byte that is no upper-case hexadecimal digit";
    if (fixed != 0)
        return digits == 0 || digits == fixed
                   ? ""
                   : std::to_string(digits) + " digits of " + std::to_string(fixed);
    for (std::size_t length : lengths)
        if (digits == length)
            return "";
    return "a key text of " + std::to_string(digits) + " digits";
}

std::string CheckText(const std::vector<std::uint8_t>& data, std::size_t longest, bool backslash) {
    if (data.size() > longest)
        return "a text of " + std::to_string(data.size()) + " bytes";
    for (std::uint8_t b : data)
        if (b == 0 || (!backslash && b == '\\'))
            return "a zero byte or a backslash in the text";
    return "";
}

} // namespace

std::string CheckStoredValue(const hostsim::RegistryWrite& write, bool ntFour) {
    if (write.kind != hostsim::RegistryWrite::Kind::SetValue)
        return "";
    // A mirror holds its setting as the key's unnamed value: "...\Ndi\params\TxRate".
    std::string name = write.valueName;
    if (name.empty()) {
        const std::size_t slash = write.keyPath.find_last_of('\\');
        name = write.keyPath.substr(slash + 1);
    }
    for (const NumberRule& rule : kNumbers)
        if (SameName(name, rule.name))
            return CheckNumber(rule, write, ntFour);
    if (write.type != kRegSz)
        return "not REG_SZ";
    for (const char* key : {"WEP64_KEY_1", "WEP64_KEY_2", "WEP64_KEY_3", "WEP64_KEY_4"})
        if (SameName(name, key))
            return CheckKeyText(write.data, 10, {});
    for (const char* key : {"WEP128_KEY_1", "WEP128_KEY_2", "WEP128_KEY_3", "WEP128_KEY_4"})
        if (SameName(name, key))
            return CheckKeyText(write.data, 26, {});
    for (const char* key : {"WEP_KEY_1", "WEP_KEY_2", "WEP_KEY_3", "WEP_KEY_4"})
        if (SameName(name, key))
            return CheckKeyText(write.data, 0, {0, 10, 26});
    if (SameName(name, "DefaultKeys"))
        return CheckKeyText(write.data, 0, {0, 26, 40, 104});
    if (SameName(name, "SSID"))
        return CheckText(write.data, 32, true);
    if (SameName(name, "CurProfile"))
        return CheckText(write.data, 249, false);
    return "a value the program has no setting for";
}

} // namespace soak
