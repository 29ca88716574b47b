#include "TextEscapes.h"

namespace hostreg {

namespace {

const char kHexDigits[] = "0123456789abcdef";

bool IsPrintable(unsigned char c) {
    return c >= 0x20 && c < 0x7F;
}

void AppendHex(std::string* out, unsigned char c) {
    out->push_back(kHexDigits[c >> 4]);
    out->push_back(kHexDigits[c & 0x0F]);
}

template <class Bytes> std::string Quote(const Bytes& bytes) {
    std::string out = "\"";
    for (const auto byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c == 0) {
            out += "\\0";
        } else if (IsPrintable(c)) {
            out.push_back(static_cast<char>(c));
        } else {
            out += "\\x";
            AppendHex(&out, c);
        }
    }
    out.push_back('"');
    return out;
}

} // namespace

std::string QuoteBytes(const std::string& bytes) {
    return Quote(bytes);
}

std::string QuoteBytes(const std::vector<std::uint8_t>& bytes) {
    return Quote(bytes);
}

std::string EscapeKeyName(const std::string& name) {
    std::string out;
    for (const char byte : name) {
        const auto c = static_cast<unsigned char>(byte);
        if (IsPrintable(c) && c != '%') {
            out.push_back(byte);
        } else {
            out.push_back('%');
            AppendHex(&out, c);
        }
    }
    return out;
}

std::string EscapeKeyPath(const std::string& path) {
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find('\\', start);
        const std::string name =
            path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        out += (start == 0) ? name : EscapeKeyName(name);
        if (slash == std::string::npos)
            return out;
        out.push_back('\\');
        start = slash + 1;
    }
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace hostreg
