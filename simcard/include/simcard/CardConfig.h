// The card's configuration as its firmware holds it: one copy in effect, one staged copy that writes go
// to until a commit makes it the one in effect.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace simcard {

struct CardConfig {
    std::uint8_t networkType = 1;       // 0 ad hoc, 1 infrastructure, 3 further ad hoc type
    std::string ssid;                   // desired SSID; empty or "ANY" in any letter case: any network
    std::uint8_t channel = 6;           // ad hoc channel, 1..14
    std::uint16_t txRate = 15;          // rate code 1, 2, 3, 4, 8 or 15
    std::uint8_t powerSaving = 1;       // as the item carries it: 1 off, 2 on
    std::uint16_t wepMode = 0;          // 0 off, 2 64-bit, 6 128-bit
    std::array<std::string, 4> wepKeys; // key bytes as written, 5 or 13 each
    std::uint8_t txKey = 1;             // default transmit key, 1..4
    std::uint16_t authentAlg = 1;       // 1 open, 2 shared key, 3 auto
    std::uint16_t preamble = 1;         // 1 long, 2 short
    std::uint16_t fragThreshold = 2432;
    std::uint16_t rtsThreshold = 2432;
    std::uint16_t denyUnencrypted = 0;

    bool WantsAnySsid() const;
    bool IsAdHoc() const { return networkType != 1; }
    // Key length that the WEP mode needs: 5, 13, or 0 when WEP is off.
    std::size_t WepKeyLength() const;

    bool operator==(const CardConfig& other) const;
    bool operator!=(const CardConfig& other) const { return !(*this == other); }
};

// Value checks shared by every way a value reaches the card.
bool IsValidNetworkType(unsigned v);
bool IsValidRateCode(unsigned v);
bool IsValidWepMode(unsigned v);
bool IsValidChannel(unsigned v);

} // namespace simcard
