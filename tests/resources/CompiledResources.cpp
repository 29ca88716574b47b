#include "CompiledResources.h"

#include <iterator>
#include <stdexcept>

namespace wlan::rc::test {
namespace {

constexpr int kDialog = 5;
constexpr int kStringBlock = 6;
constexpr int kIconGroup = 14;
constexpr int kVersion = 16;

class Bytes {
public:
    Bytes(const std::string& data, std::size_t begin, std::size_t end)
        : data_(data), pos_(begin), end_(end) {}

    std::uint32_t take(int width) {
        need(static_cast<std::size_t>(width));
        std::uint32_t value = 0;
        for (int i = width - 1; i >= 0; --i) {
            value = (value << 8) | static_cast<unsigned char>(data_[pos_ + static_cast<std::size_t>(i)]);
        }
        pos_ += static_cast<std::size_t>(width);
        return value;
    }
    int takeShort() { return static_cast<std::int16_t>(take(2)); }
    // A name or ordinal field: 0xFFFF then a number, or a zero-ended UTF-16 string.
    void nameOrOrdinal(std::string& name, std::optional<std::uint16_t>& ordinal) {
        std::uint32_t first = take(2);
        if (first == 0xFFFF) {
            ordinal = static_cast<std::uint16_t>(take(2));
            return;
        }
        for (std::uint32_t c = first; c != 0; c = take(2)) {
            if (c > 0x7F) {
                throw std::runtime_error("non-ASCII text");
            }
            name += static_cast<char>(c);
        }
    }
    std::string text() {
        std::string s;
        std::optional<std::uint16_t> ordinal;
        nameOrOrdinal(s, ordinal);
        return s;
    }
    void alignTo4(std::size_t base) {
        while ((pos_ - base) % 4 != 0) {
            ++pos_;
        }
    }
    std::size_t pos() const { return pos_; }
    void skip(std::size_t n) {
        need(n);
        pos_ += n;
    }

private:
    void need(std::size_t n) const {
        if (pos_ + n > end_) {
            throw std::runtime_error("record cut short");
        }
    }
    const std::string& data_;
    std::size_t pos_;
    std::size_t end_;
};

// The predefined window classes a dialog template names by atom, from 0x80 on.
std::string predefinedClass(std::uint16_t atom) {
    static const char* const kNames[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    if (atom >= 0x80 && atom < 0x80 + std::size(kNames)) {
        return kNames[atom - 0x80];
    }
    return "#" + std::to_string(atom);
}

CompiledDialog readDialog(const std::string& data, std::size_t begin, std::size_t end) {
    Bytes b(data, begin, end);
    if (b.take(2) != 1 || b.take(2) != 0xFFFF) {
        throw std::runtime_error("not an extended dialog template");
    }
    CompiledDialog d;
    d.helpId = b.take(4);
    d.exStyle = b.take(4);
    d.style = b.take(4);
    std::uint32_t count = b.take(2);
    d.x = b.takeShort();
    d.y = b.takeShort();
    d.cx = b.takeShort();
    d.cy = b.takeShort();
    b.text(); // menu
    b.text(); // class
    d.caption = b.text();
    if (d.style & 0x40) {
        d.pointSize = static_cast<int>(b.take(2));
        d.weight = static_cast<int>(b.take(2));
        d.italic = static_cast<int>(b.take(1));
        d.charset = static_cast<int>(b.take(1));
        d.typeface = b.text();
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        b.alignTo4(begin);
        CompiledControl c;
        b.take(4); // help id
        c.exStyle = b.take(4);
        c.style = b.take(4);
        c.x = b.takeShort();
        c.y = b.takeShort();
        c.cx = b.takeShort();
        c.cy = b.takeShort();
        c.id = b.take(4);
        std::optional<std::uint16_t> atom;
        b.nameOrOrdinal(c.className, atom);
        if (atom) {
            c.className = predefinedClass(*atom);
        }
        b.nameOrOrdinal(c.text, c.textOrdinal);
        b.skip(b.take(2));
        d.controls.push_back(c);
    }
    return d;
}

} // namespace

CompiledResources readCompiledResources(const std::string& bytes) {
    CompiledResources out;
    std::size_t offset = 0;
    while (offset + 8 <= bytes.size()) {
        Bytes header(bytes, offset, bytes.size());
        std::uint32_t dataSize = header.take(4);
        std::uint32_t headerSize = header.take(4);
        std::string typeName, name;
        std::optional<std::uint16_t> type, id;
        header.nameOrOrdinal(typeName, type);
        header.nameOrOrdinal(name, id);
        std::size_t begin = offset + headerSize;
        std::size_t end = begin + dataSize;
        if (headerSize < 8 || end > bytes.size()) {
            throw std::runtime_error("resource outside the file");
        }
        if (type && id) {
            if (*type == kDialog) {
                out.dialogs[*id] = readDialog(bytes, begin, end);
            } else if (*type == kStringBlock) {
                Bytes b(bytes, begin, end);
                for (int i = 0; i < 16; ++i) {
                    std::uint32_t length = b.take(2);
                    if (length == 0) {
                        continue;
                    }
                    std::string s;
                    for (std::uint32_t k = 0; k < length; ++k) {
                        s += static_cast<char>(b.take(2));
                    }
                    out.strings[(*id - 1) * 16 + i] = s;
                }
            } else if (*type == kIconGroup) {
                Bytes b(bytes, begin, end);
                b.take(4);
                out.iconGroups[*id] = static_cast<int>(b.take(2));
            } else if (*type == kVersion) {
                for (std::size_t p = begin; p + 20 <= end; p += 4) {
                    Bytes b(bytes, p, end);
                    if (b.take(4) == 0xFEEF04BD) {
                        b.take(4);
                        std::uint32_t ms = b.take(4);
                        std::uint32_t ls = b.take(4);
                        out.fileVersion = std::array<std::uint16_t, 4>{
                            static_cast<std::uint16_t>(ms >> 16), static_cast<std::uint16_t>(ms & 0xFFFF),
                            static_cast<std::uint16_t>(ls >> 16), static_cast<std::uint16_t>(ls & 0xFFFF)};
                        break;
                    }
                }
            }
        }
        offset = (end + 3) & ~static_cast<std::size_t>(3);
    }
    return out;
}

} // namespace wlan::rc::test
