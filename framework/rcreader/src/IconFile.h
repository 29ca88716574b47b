// The directory of an .ico file: which pictures it holds. Checked so that an icon the program will load
// is known to be whole.
#pragma once

#include "rcreader/ResourceScript.h"

#include <string>
#include <vector>

namespace wlan::rc {

// The pictures of an icon file; empty, with problem set, when the bytes are not a whole icon file.
std::vector<IconImage> readIconDirectory(const std::string& bytes, std::string& problem);

} // namespace wlan::rc
