// Names of keys and values compare without regard to ASCII letter case, as on Windows; the spelling a
// name was created with is kept for display and enumeration.
#pragma once
#include <string>
#include <vector>

namespace hostreg {

// The form under which a name is compared and sorted: ASCII letters in upper case, every other byte as is.
// Windows sorts subkeys by their upper-case form, so "aZ" comes before "A_b".
std::string FoldName(const std::string& name);

bool SameName(const std::string& a, const std::string& b);

// Splits a relative key path at backslashes. Runs of backslashes and a trailing backslash name no key of
// their own and are skipped; a leading backslash makes the path invalid (false), as on Windows.
bool SplitKeyPath(const char* path, std::vector<std::string>* parts);

} // namespace hostreg
