#include "FuzzInput.h"

#include "TinyIcon.h"

#include <algorithm>
#include <string>

namespace wlan::rc::fuzz {

namespace {

const char* const kHeader =
    "#ifndef IDS_H\n#define IDS_H\n#define IDD_A 1\n#define IDC_A 100\n#define IDS_A 200\n"
    "#define IDC_STATIC (-1)\n#endif\n";

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
}

} // namespace

LoadResult loadFuzzInput(const std::uint8_t* data, std::size_t size) {
    MemorySource source;
    source.add("fuzz.rc", std::string(reinterpret_cast<const char*>(data), size));
    source.add("ids.h", kHeader);
    source.add("a.ico", test::tinyIconFile());
    return loadResourceScript("fuzz.rc", source);
}

bool isConsistent(const LoadResult& result, const std::uint8_t* data, std::size_t size) {
    if (result.script.has_value() == result.error.has_value()) {
        return false;
    }
    if (!result.error) {
        return true;
    }
    const LoadError& error = *result.error;
    if (error.message.empty() || error.line < 0) {
        return false;
    }
    // The error names one of the three sources and a line inside it: the script may include any of them,
    // the icon file too (its bytes then read as script text).
    if (error.file == "fuzz.rc") {
        return error.line <= lineCount(std::string(reinterpret_cast<const char*>(data), size));
    }
    if (error.file == "a.ico") {
        return error.line <= lineCount(test::tinyIconFile());
    }
    return error.file == "ids.h" && error.line <= lineCount(kHeader);
}

} // namespace wlan::rc::fuzz
