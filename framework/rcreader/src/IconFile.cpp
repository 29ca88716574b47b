#include "IconFile.h"

#include <cstdint>

namespace wlan::rc {

namespace {

std::uint32_t little(const std::string& bytes, std::size_t offset, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return value;
}

} // namespace

std::vector<IconImage> readIconDirectory(const std::string& bytes, std::string& problem) {
    constexpr std::size_t kHeader = 6;
    constexpr std::size_t kEntry = 16;
    if (bytes.size() < kHeader || little(bytes, 0, 2) != 0 || little(bytes, 2, 2) != 1) {
        problem = "no icon file header";
        return {};
    }
    std::size_t count = little(bytes, 4, 2);
    if (count == 0) {
        problem = "no pictures";
        return {};
    }
    if (bytes.size() < kHeader + count * kEntry) {
        problem = "directory cut short";
        return {};
    }
    std::vector<IconImage> images;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t entry = kHeader + i * kEntry;
        std::uint64_t size = little(bytes, entry + 8, 4);
        std::uint64_t offset = little(bytes, entry + 12, 4);
        if (size == 0 || offset + size > bytes.size()) {
            problem = "picture " + std::to_string(i + 1) + " lies outside the file";
            return {};
        }
        IconImage image;
        image.width = bytes[entry] == 0 ? 256 : static_cast<unsigned char>(bytes[entry]);
        image.height = bytes[entry + 1] == 0 ? 256 : static_cast<unsigned char>(bytes[entry + 1]);
        image.bitCount = static_cast<int>(little(bytes, entry + 6, 2));
        images.push_back(image);
    }
    return images;
}

} // namespace wlan::rc
