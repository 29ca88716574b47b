// The smallest icon file the reader accepts: one 16x16 picture of 32 bits.
#pragma once

#include <string>

namespace wlan::rc::test {

std::string tinyIconFile();

} // namespace wlan::rc::test
