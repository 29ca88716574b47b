// Reads a fuzzer's input as a sequence of small fields; past the end every field reads as zero or empty.
#pragma once
#include <cstddef>
#include <cstdint>

class CFuzzInput {
public:
    CFuzzInput(const std::uint8_t* pbData, std::size_t cbData) : m_pbData(pbData), m_cbLeft(cbData) {}

    bool IsEmpty() const { return m_cbLeft == 0; }

    std::uint8_t Byte() {
        if (m_cbLeft == 0)
            return 0;
        --m_cbLeft;
        return *m_pbData++;
    }

    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }

    // Up to cbWanted bytes; *pcbGot says how many there were.
    const std::uint8_t* Bytes(std::size_t cbWanted, std::size_t* pcbGot) {
        const std::size_t cb = cbWanted < m_cbLeft ? cbWanted : m_cbLeft;
        const std::uint8_t* pb = m_pbData;
        m_pbData += cb;
        m_cbLeft -= cb;
        *pcbGot = cb;
        return pb;
    }

private:
    const std::uint8_t* m_pbData;
    std::size_t m_cbLeft;
};
