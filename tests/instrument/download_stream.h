#pragma once
// Builds the bytes an instrument sends for a download, block by block, so
// the protocol tests can corrupt, drop or resend any of them.

#include <array>
#include <cstdint>
#include <vector>

namespace corvan::test {

using Bytes = std::vector<std::uint8_t>;
using Block = std::array<std::uint8_t, 256>;

inline std::uint8_t ChecksumFor(const std::uint8_t* p, std::size_t n) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += p[i];
    return static_cast<std::uint8_t>((256 - sum % 256) % 256);
}

// "!", N high byte first, checksum.
inline Bytes CountBlock(int n, int checksumError = 0) {
    const auto hi = static_cast<std::uint8_t>((n >> 8) & 0xFF);
    const auto lo = static_cast<std::uint8_t>(n & 0xFF);
    const std::uint8_t payload[2] = {hi, lo};
    return {0x21, hi, lo, static_cast<std::uint8_t>(ChecksumFor(payload, 2) + checksumError)};
}

// A resent count block: no marker.
inline Bytes CountBlockResent(int n) {
    Bytes b = CountBlock(n);
    b.erase(b.begin());
    return b;
}

inline Bytes WithChecksum(const Block& block, int checksumError = 0) {
    Bytes b(block.begin(), block.end());
    b.push_back(static_cast<std::uint8_t>(ChecksumFor(block.data(), block.size()) + checksumError));
    return b;
}

struct SeriesEntry {
    int first = 0;
    int intervalMinutes = 10;
    std::uint8_t year = 0x97, month = 0x02, day = 0x25, hour = 0x12, minute = 0x00;  // BCD
};

inline Block HeaderBlock(int type, const std::vector<SeriesEntry>& series, int sensorKind = 0, int reference = 0x1234) {
    Block h{};
    for (std::size_t i = 0; i < series.size() && i < 16; ++i) {
        const auto& s = series[i];
        const std::size_t at = 2 + 8 * i;
        h[at] = static_cast<std::uint8_t>(s.first >> 8);
        h[at + 1] = static_cast<std::uint8_t>(s.first & 0xFF);
        h[at + 2] = static_cast<std::uint8_t>(s.intervalMinutes);
        h[at + 3] = s.year;
        h[at + 4] = s.month;
        h[at + 5] = s.day;
        h[at + 6] = s.hour;
        h[at + 7] = s.minute;
    }
    h[130] = static_cast<std::uint8_t>(series.size());
    h[133] = static_cast<std::uint8_t>(reference >> 8);
    h[134] = static_cast<std::uint8_t>(reference & 0xFF);
    h[135] = static_cast<std::uint8_t>(sensorKind);
    h[185] = static_cast<std::uint8_t>(type);
    return h;
}

// Record bytes of types 0, 1 and 3 from raw values.
inline void PutCurrentRecord(Block& b, std::size_t at, int speed12, int dir10, int value10) {
    b[at] = static_cast<std::uint8_t>(value10 & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(dir10 & 0xFF);
    b[at + 2] = static_cast<std::uint8_t>(speed12 & 0xFF);
    b[at + 3] = static_cast<std::uint8_t>(((speed12 >> 8) << 4) | ((dir10 >> 8) << 2) | (value10 >> 8));
}

inline void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

}  // namespace corvan::test
