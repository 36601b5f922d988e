#pragma once
// The framing of the Tarsen instrument files: every record opens with a sync
// byte, its id and a size word, and closes with a 16-bit checksum. Which
// lengths are plausible depends on the id and on the beams and cells of the
// instrument, which an unconfigured stream learns from the records
// themselves.

#include <cstddef>
#include <cstdint>

#include "data/date_time.h"

namespace tarsen {

inline constexpr std::uint8_t kSync = 0xA5;
inline constexpr std::uint16_t kChecksumSeed = 0xB58C;

// Record ids the reader knows by name.
inline constexpr std::uint8_t kIdUserConfiguration = 0;
inline constexpr std::uint8_t kIdVelocity = 1;
inline constexpr std::uint8_t kIdHeadConfiguration = 4;
inline constexpr std::uint8_t kIdHardwareConfiguration = 5;
inline constexpr std::uint8_t kIdProfilerVelocity = 32;
inline constexpr std::uint8_t kIdProfile = 33;
inline constexpr std::uint8_t kIdHrProfile = 36;
inline constexpr std::uint8_t kIdWaveProfile = 42;

inline constexpr std::size_t kUserConfigurationSize = 512;
inline constexpr std::size_t kHeadConfigurationSize = 224;
inline constexpr std::size_t kHardwareConfigurationSize = 48;

// Sum of `words` little-endian 16-bit words from the start of the record,
// seeded with 0xB58C, modulo 65536.
std::uint16_t RecordChecksum(const std::uint8_t* record, std::size_t words);

// True when the last word of a record of `length` bytes matches the sum of
// the words before it.
bool ChecksumMatches(const std::uint8_t* record, std::size_t length);

// Expected length in bytes of a record for B beams and C cells, rounded up
// to even; 0 for an id of no known size.
std::int64_t RecordSize(int id, std::int64_t beams, std::int64_t cells);

// Beams and cells implied by the length of a record of the given id.
std::int64_t BeamsFromLength(int id, std::int64_t length);
std::int64_t CellsFromLength(int id, std::int64_t length, std::int64_t beams);

struct RecordCheck {
    bool valid = false;
    std::int64_t length = 0;
};

// The plausibility of (id, size word) against the current beams and cells.
// Until the user configuration is known, each record teaches the stream its
// beams and cells (even a record whose checksum later fails).
class RecordValidator {
public:
    RecordValidator(std::int64_t beams, std::int64_t cells, bool configured)
        : beams_(beams), cells_(cells), configured_(configured) {}

    RecordCheck Check(std::uint8_t id, std::uint16_t sizeWord);

    std::int64_t Beams() const { return beams_; }
    std::int64_t Cells() const { return cells_; }
    bool Configured() const { return configured_; }

private:
    bool MatchesConfigured(std::uint8_t id, std::int64_t length) const;

    std::int64_t beams_;
    std::int64_t cells_;
    bool configured_;
};

bool IsDataRecord(std::uint8_t id);

// (high nibble × 10 + low nibble); any byte of 0x99 or more gives 99.
int DecodeBcd(std::uint8_t byte);
// Two BCD digits of a year: below 90 in this century, else the last.
int BcdYear(std::uint8_t byte);

// The time stamp of a data record (bytes 4..9); the zero time when the
// fields are not a date and time.
corvan::DateTime RecordTime(const std::uint8_t* record);

// Where the velocity block of a data record starts, and the smallest length
// that holds the header fields; 0 for other ids.
std::size_t VelocityBlockOffset(std::uint8_t id);
std::size_t MinimumDataRecordSize(std::uint8_t id);

}  // namespace tarsen
