#include "RegistryChanges.h"

#include "EventFormat.h"

#include <cstdio>
#include <set>

namespace runner {
namespace {

std::string Describe(const hostsim::RegistryEntry* entry) {
    if (entry == nullptr)
        return "absent";
    if (entry->key)
        return "a key";
    std::string bytes;
    for (std::uint8_t b : entry->data) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", b);
        bytes += pair;
    }
    return "type " + std::to_string(entry->type) + " hex [" + bytes + "]";
}

const hostsim::RegistryEntry* Find(const hostsim::RegistryContent& content, const std::string& path) {
    auto it = content.find(path);
    return it == content.end() ? nullptr : &it->second;
}

bool Same(const hostsim::RegistryEntry* a, const hostsim::RegistryEntry* b) {
    return a == nullptr ? b == nullptr : b != nullptr && *a == *b;
}

} // namespace

std::vector<std::string> ChangesOutside(const hostsim::RegistryContent& mark,
                                        const hostsim::RegistryContent& now,
                                        const hostsim::RegistryContent& allowed, std::size_t limit) {
    std::set<std::string> paths;
    for (const auto& entry : mark)
        paths.insert(entry.first);
    for (const auto& entry : now)
        paths.insert(entry.first);
    std::vector<std::string> lines;
    std::size_t more = 0;
    for (const std::string& path : paths) {
        const hostsim::RegistryEntry* before = Find(mark, path);
        const hostsim::RegistryEntry* after = Find(now, path);
        if (Same(before, after))
            continue;
        const hostsim::RegistryEntry* wanted = Find(allowed, path);
        if (Same(after, wanted))
            continue;
        if (lines.size() == limit) {
            ++more;
            continue;
        }
        const std::string& name = after != nullptr ? after->spelling : before->spelling;
        lines.push_back(Quote(name) + " is " + Describe(after) + ", was " + Describe(before) +
                        ", the action leaves " + Describe(wanted));
    }
    if (more != 0)
        lines.push_back("and " + std::to_string(more) + " more");
    return lines;
}

} // namespace runner
