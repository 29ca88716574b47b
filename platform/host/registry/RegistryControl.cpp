// The control API of the registry stand-in (hostsim/Registry.h).
#include "hostsim/Registry.h"

#include "RegistryState.h"
#include "RegistryTextFormat.h"
#include "RegistryTextParser.h"
#include "TextEscapes.h"

#include <fstream>
#include <sstream>

namespace hostsim {

using hostreg::RegistryState;

void ResetRegistry() {
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    state.Reset();
}

bool LoadRegistryText(const std::string& text, const std::string& sourceName, std::string* error) {
    // Parsed into a tree of its own first: the registry changes only when the whole text is good.
    hostreg::RegistryTree tree;
    if (!hostreg::ParseRegistryText(text, sourceName, &tree, error))
        return false;
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    state.ReplaceTree(std::move(tree));
    return true;
}

bool LoadRegistryFile(const std::string& path, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (file)
        text << file.rdbuf();
    if (!file || file.bad()) {
        if (error != nullptr)
            *error = path + ": cannot read the file";
        return false;
    }
    return LoadRegistryText(text.str(), path, error);
}

std::string SaveRegistryText() {
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    return hostreg::FormatRegistryTree(state.Tree());
}

bool SaveRegistryFile(const std::string& path, std::string* error) {
    const std::string text = SaveRegistryText();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        if (error != nullptr)
            *error = path + ": cannot write the file";
        return false;
    }
    return true;
}

std::string DumpRegistryKey(const std::string& keyPath) {
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    const auto key = state.Tree().Find(keyPath);
    return key == nullptr ? std::string() : hostreg::FormatKeySubtree(*key);
}

void SetRegistryWriteObserver(std::function<void(const RegistryWrite&)> observer) {
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    state.SetObserver(std::move(observer));
}

std::string FormatRegistryWrite(const RegistryWrite& write) {
    const std::string key = '[' + hostreg::EscapeKeyPath(write.keyPath) + ']';
    switch (write.kind) {
    case RegistryWrite::Kind::CreateKey:
        return "create " + key;
    case RegistryWrite::Kind::DeleteKey:
        return "delete " + key;
    case RegistryWrite::Kind::SetValue:
        return "set " + key + ' ' + hostreg::QuoteBytes(write.valueName) + " = " +
               hostreg::FormatTypedData(write.type, write.data);
    case RegistryWrite::Kind::DeleteValue:
        return "delete " + key + ' ' + hostreg::QuoteBytes(write.valueName);
    }
    return key;
}

} // namespace hostsim
