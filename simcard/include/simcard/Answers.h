// Encoders of the card's larger answers: scan results and traffic counters.
#pragma once
#include "simcard/Cell.h"

#include <cstdint>
#include <vector>

namespace simcard {

// Fills a 504-byte envelope with the scan results record for at most 8 cells, in the given order. The
// word at offset 6 is left as the caller put it.
void EncodeScanRecord(const std::vector<Cell>& cells, std::uint8_t* envelope);

// A cell's SSID as the card reports it: the 16-bit length word at `at`, the SSID bytes after it (at most
// 32), then the cell's bytes after the SSID, all within `room` bytes after the length word.
void PutSsid(const Cell& cell, std::uint8_t* at, std::size_t room);

// Which of the 44 counters mean what.
namespace counter {
constexpr int kTxUnicastFrames = 0;
constexpr int kTxMulticastFrames = 1;
constexpr int kTxUnicastOctets = 3;
constexpr int kTxMulticastOctets = 4;
constexpr int kRxUnicastFrames = 10;
constexpr int kRxMulticastFrames = 11;
constexpr int kRxUnicastOctets = 13;
constexpr int kRxMulticastOctets = 14;
} // namespace counter

// The 176-byte counter block for the bytes sent and received so far (each counter wraps at 32 bits).
void EncodeTrafficCounters(std::uint64_t txBytes, std::uint64_t rxBytes, std::uint8_t* out);

// Signal and quality bytes of the link to a cell (OIDs 0xFF02019F and 0xFF02019E).
std::uint8_t LinkSignalByte(const Cell& cell);
std::uint8_t LinkQualityByte(const Cell& cell);

} // namespace simcard
