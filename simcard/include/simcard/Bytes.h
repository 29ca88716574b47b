// Little-endian field access for the records exchanged with the driver, and MAC address text.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace simcard {

using MacAddress = std::array<std::uint8_t, 6>;

inline void PutU16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutU32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline std::uint16_t GetU16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}
inline std::uint32_t GetU32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

// "00:60:B3:01:02:03" or with hyphens; nullopt when the text is not six hexadecimal pairs.
std::optional<MacAddress> ParseMac(const std::string& text);
std::string FormatMac(const MacAddress& mac); // "00:60:B3:01:02:03"

// Hexadecimal digits to bytes (an even count of digits, nothing else); nullopt otherwise.
std::optional<std::string> ParseHexBytes(const std::string& text);
std::string FormatHex(const std::uint8_t* data, std::size_t size); // "0A1B2C"

} // namespace simcard
