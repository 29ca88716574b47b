#include "KeyName.h"

namespace hostreg {

namespace {

char FoldChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string FoldName(const std::string& name) {
    std::string folded(name);
    for (char& c : folded)
        c = FoldChar(c);
    return folded;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldChar(a[i]) != FoldChar(b[i]))
            return false;
    }
    return true;
}

bool SplitKeyPath(const char* path, std::vector<std::string>* parts) {
    parts->clear();
    if (path == nullptr)
        return true;
    if (*path == '\\')
        return false;
    std::string part;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p != '\\') {
            part += *p;
        } else if (!part.empty()) {
            parts->push_back(std::move(part));
            part.clear();
        }
    }
    if (!part.empty())
        parts->push_back(std::move(part));
    return true;
}

} // namespace hostreg
