// Loading a resource script. A script loads completely or not at all: any error gives its place
// ("file:line: what is wrong") and no script.
#pragma once

#include "rcreader/ResourceScript.h"

#include <map>
#include <optional>
#include <string>

namespace wlan::rc {

// Where the script, its included headers and its icon files come from.
class SourceProvider {
public:
    virtual ~SourceProvider() = default;
    virtual std::optional<std::string> read(const std::string& path) = 0;
};

class FileSystemSource : public SourceProvider {
public:
    std::optional<std::string> read(const std::string& path) override;
};

// Files held in memory by path, for tests and the fuzzer.
class MemorySource : public SourceProvider {
public:
    MemorySource() = default;
    explicit MemorySource(std::map<std::string, std::string> files) : files_(std::move(files)) {}
    void add(const std::string& path, std::string content) { files_[path] = std::move(content); }
    std::optional<std::string> read(const std::string& path) override;

private:
    std::map<std::string, std::string> files_;
};

struct LoadError {
    std::string file;
    int line = 0;
    std::string message;

    std::string text() const; // "file:line: message"
};

struct LoadResult {
    std::optional<ResourceScript> script;
    std::optional<LoadError> error;

    explicit operator bool() const { return script.has_value(); }
};

LoadResult loadResourceScript(const std::string& path, SourceProvider& source);
LoadResult loadResourceScript(const std::string& path);

} // namespace wlan::rc
