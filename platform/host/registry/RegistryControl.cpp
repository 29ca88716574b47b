// The control API of the registry stand-in (hostsim/Registry.h).
#include "hostsim/Registry.h"

#include "RegistryState.h"
#include "RegistryTextFormat.h"
#include "RegistryTextParser.h"
#include "RegistryTypeNames.h"
#include "TextEscapes.h"

#include <cstdio>

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

void SetRegistryReadObserver(std::function<void(const RegistryRead&)> observer) {
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    state.SetReadObserver(std::move(observer));
}

bool ParseRegistryTypeName(const std::string& name, std::uint32_t* type) {
    return hostreg::ParseTypeName(name, type);
}

namespace {

std::string Hex(std::uintptr_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

// The Win32 error codes the registry calls answer, by name.
std::string ResultText(std::int32_t rc) {
    switch (rc) {
    case ERROR_SUCCESS:
        return "ok";
    case ERROR_FILE_NOT_FOUND:
        return "error 2 (file not found)";
    case ERROR_ACCESS_DENIED:
        return "error 5 (access denied)";
    case ERROR_INVALID_HANDLE:
        return "error 6 (invalid handle)";
    case ERROR_BAD_PATHNAME:
        return "error 161 (bad path name)";
    case ERROR_MORE_DATA:
        return "error 234 (more data)";
    case ERROR_NO_MORE_ITEMS:
        return "error 259 (no more items)";
    case ERROR_KEY_DELETED:
        return "error 1018 (key deleted)";
    default:
        return "error " + std::to_string(rc);
    }
}

// What a read found: the value's type and data as the registry file writes them, or its type and size
// when the data was not copied.
std::string Found(const RegistryRead& read) {
    if (!read.hasType)
        return "";
    if (read.hasData)
        return " " + hostreg::FormatTypedData(read.type, read.data);
    return " " + hostreg::TypeName(read.type) + ", " + std::to_string(read.size) + " bytes";
}

} // namespace

std::string FormatRegistryRead(const RegistryRead& read) {
    const std::string key = '[' + hostreg::EscapeKeyPath(read.keyPath) + ']';
    const std::string result = ResultText(read.result);
    switch (read.kind) {
    case RegistryRead::Kind::Open:
        return "open " + key + " -> " + (read.result == ERROR_SUCCESS ? Hex(read.handle) : result);
    case RegistryRead::Kind::Create:
        return "open " + key + " (create) -> " + Hex(read.handle) + (read.created ? " created" : " existing");
    case RegistryRead::Kind::Close:
        return "close " + key + " " + Hex(read.handle) + " -> " + result;
    case RegistryRead::Kind::Query:
        return "query " + key + ' ' + hostreg::QuoteBytes(read.name) + " -> " + result + Found(read);
    case RegistryRead::Kind::EnumValue:
        return "enum value " + key + " #" + std::to_string(read.index) + " -> " + result +
               (read.hasType ? ' ' + hostreg::QuoteBytes(read.name) : std::string()) + Found(read);
    case RegistryRead::Kind::EnumKey:
        return "enum key " + key + " #" + std::to_string(read.index) + " -> " + result +
               (read.name.empty() ? std::string() : ' ' + hostreg::QuoteBytes(read.name));
    }
    return key;
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
