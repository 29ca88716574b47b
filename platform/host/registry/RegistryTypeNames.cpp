#include "RegistryTypeNames.h"

namespace hostreg {

namespace {

struct NamedType {
    const char* name;
    std::uint32_t type;
};

const NamedType kNamedTypes[] = {
    {"none", 0}, {"sz", 1}, {"expand_sz", 2}, {"binary", 3}, {"dword", kTypeDword}, {"multi_sz", 7},
};

} // namespace

std::string TypeName(std::uint32_t type) {
    for (const NamedType& named : kNamedTypes) {
        if (named.type == type)
            return named.name;
    }
    return "type(" + std::to_string(type) + ")";
}

bool ParseTypeName(const std::string& name, std::uint32_t* type) {
    for (const NamedType& named : kNamedTypes) {
        if (name == named.name) {
            *type = named.type;
            return true;
        }
    }
    const std::string prefix = "type(";
    if (name.size() <= prefix.size() + 1 || name.compare(0, prefix.size(), prefix) != 0 || name.back() != ')')
        return false;
    std::uint64_t number = 0;
    for (std::size_t i = prefix.size(); i + 1 < name.size(); ++i) {
        const char c = name[i];
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
        if (number > 0xFFFFFFFFu)
            return false;
    }
    *type = static_cast<std::uint32_t>(number);
    return true;
}

bool IsStringType(std::uint32_t type) {
    return type == 1 || type == 2 || type == 7;
}

} // namespace hostreg
