#include "TinyIcon.h"

namespace wlan::rc::test {

std::string tinyIconFile() {
    const int size = 16;
    std::string picture(40 + size * size * 4 + size * 4, '\0');
    picture[0] = 40;
    picture[4] = size;
    picture[8] = size * 2;
    picture[12] = 1;
    picture[14] = 32;
    std::string file = {0, 0, 1, 0, 1, 0};
    std::string entry(16, '\0');
    entry[0] = size;
    entry[1] = size;
    entry[4] = 1;
    entry[6] = 32;
    auto length = static_cast<unsigned>(picture.size());
    for (int i = 0; i < 4; ++i) {
        entry[8 + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    }
    entry[12] = 22;
    return file + entry + picture;
}

} // namespace wlan::rc::test
