// The control API of the registry stand-in for refusals, open handles and whole-content comparisons
// (hostsim/Registry.h).
#include "hostsim/Registry.h"

#include "KeyName.h"
#include "RegistryState.h"
#include "RegistryTextParser.h"

namespace hostsim {

using hostreg::RegistryState;

void ArmRegistryRefusal(RegistryRefusal rule) {
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    state.Refusals().Arm(std::move(rule));
}

std::vector<ArmedRegistryRefusal> RegistryRefusals() {
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    return state.Refusals().Armed();
}

void ClearRegistryRefusals() {
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    state.Refusals().Clear();
}

void SetRegistryAdministratorThread(std::uint32_t threadId) {
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    state.Refusals().SetAdministratorThread(threadId);
}

void SetRegistryRefusalObserver(std::function<void(const RegistryRefused&)> observer) {
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    state.SetRefusalObserver(std::move(observer));
}

std::size_t OpenRegistryHandleCount() {
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    return state.HandleCount();
}

namespace {

void Collect(const hostreg::RegistryKey& key, RegistryContent* content) {
    const std::string path = key.Path();
    const std::string folded = hostreg::FoldName(path);
    RegistryEntry entry;
    entry.key = true;
    entry.spelling = path;
    (*content)[folded] = entry;
    for (const hostreg::RegistryValue& value : key.Values()) {
        RegistryEntry v;
        v.spelling = path + "\\" + value.name;
        v.type = value.type;
        v.data = value.data;
        (*content)[folded + "\\" + hostreg::FoldName(value.name)] = std::move(v);
    }
    for (std::size_t i = 0; i < key.SubkeyCount(); ++i)
        Collect(*key.SubkeyAt(i), content);
}

void CollectTree(const hostreg::RegistryTree& tree, RegistryContent* content) {
    Collect(*tree.LocalMachine(), content);
    Collect(*tree.CurrentUser(), content);
}

} // namespace

RegistryContent RegistryContentNow() {
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    RegistryContent content;
    CollectTree(state.Tree(), &content);
    return content;
}

bool RegistryContentOfText(const std::string& text, const std::string& sourceName, RegistryContent* content,
                           std::string* error) {
    hostreg::RegistryTree tree;
    if (!hostreg::ParseRegistryText(text, sourceName, &tree, error))
        return false;
    content->clear();
    CollectTree(tree, content);
    return true;
}

} // namespace hostsim
