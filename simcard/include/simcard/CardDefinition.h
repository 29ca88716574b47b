// What a world file says about one card: its identity, the adapter name it is bound to, its power-on
// configuration and its timing.
#pragma once
#include "simcard/Bytes.h"
#include "simcard/CardConfig.h"

#include <array>
#include <cstdint>
#include <string>

namespace simcard {

struct CardTiming {
    std::uint32_t joinDelayMs = 1000;     // from power-on or commit to the first join attempt
    std::uint32_t retryMs = 1000;         // between join attempts while searching
    std::uint32_t lostDelayMs = 2000;     // disconnected before searching again
    std::uint32_t scanIntervalMs = 10000; // background scans while connected
};

struct CardDefinition {
    std::string bind = "*"; // adapter name it answers to: device name (NT), class subkey (9x); "*" any
    bool answers = true;    // false: it opens, but never completes a request
    MacAddress mac{{0x00, 0x60, 0xB3, 0x5E, 0x0C, 0x01}};
    std::array<std::uint8_t, 4> firmware{{0x05, 0x04, 0x01, 0x00}}; // as the query answers them
    std::uint16_t channelMask = 0x07FF;                             // bit 0 = channel 1
    std::uint16_t sensitivity = 5;      // cells heard below this level are neither listed nor joined
    std::uint32_t trafficTxPerS = 1500; // bytes per second sent while connected
    std::uint32_t trafficRxPerS = 6000; // bytes per second received while connected
    CardConfig powerOn;                 // configuration after power-on
    CardTiming timing;
};

} // namespace simcard
