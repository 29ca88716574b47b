// The card's driver file where the About page looks for it, put there or taken away as the script says.
#pragma once
#include <string>

namespace runner {

// `version` "a.b.c.d" puts the file with that version where the installation of the current Windows kind
// puts it (the NT family's path on ntother, the 9x family's on win32s); "" removes it. False with a
// message when the system directory cannot be read.
bool SetDriverFile(const std::string& version, std::string* error);

} // namespace runner
