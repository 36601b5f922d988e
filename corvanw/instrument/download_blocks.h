#pragma once
// The instrument's blocks: count, header and data payloads, BCD digits and
// BCD floats, the per-type record decoding and the type-3 gap filling.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "data/measurement_files.h"

namespace corvan {

inline constexpr std::size_t kBlockSize = 256;

// 10 x high nibble + low nibble.
int BcdDigits(std::uint8_t byte);

// Ten BCD digits in bytes 0..4, exponent in the low 7 bits of byte 5 (two's
// complement). Empty when a digit nibble is not a decimal digit.
std::optional<double> BcdFloat(std::span<const std::uint8_t, 6> bytes);

struct HeaderBlock {
    std::array<SeriesHeader, kMaxSeries> series{};
    // The count byte as sent, and the count the tables can hold.
    int seriesCountSent = 0;
    int seriesCount = 0;
    std::int32_t referenceNumber = 0;
    std::uint8_t sensorKind = 0;
    std::uint8_t instrumentType = 0;
    float sensorCoefficient = 1.0f;
};

// Parses the 256-byte header payload for a download of recordCount records.
// Series starting beyond the records are moved to the end of the records, so
// no later step indexes past them; salinity is "not set" and the interval
// code is left 0 for the caller to keep its own.
HeaderBlock ParseHeaderBlock(std::span<const std::uint8_t, kBlockSize> block, int recordCount);

// Bytes per record of an instrument type; 0 for types whose blocks carry no
// records the program can read.
int RecordBytes(int instrumentType);

// The optional value of a type-3 odd record from its raw 10-bit value.
double OptionalSensorValue(int sensorKind, int raw, double coefficient);

struct RecordDecoder {
    int instrumentType = 0;
    int sensorKind = 0;
    double coefficient = 1.0;

    // Decodes the records of one data block into out[received...], stopping
    // at count; returns the new received count. Types without records mark
    // every remaining record as received without writing it.
    int DecodeBlock(std::span<const std::uint8_t, kBlockSize> block, int received, int count,
                    MeasurementRecord* out) const;
};

// Type 3 carries temperature in even and the optional value in odd records;
// each record gets the missing one from its neighbours (mean of both, or the
// one there is, or 0). A record has no previous neighbour at the start of
// its series and no next one before a later series starts.
void FillType3Gaps(std::span<MeasurementRecord> records, const std::array<SeriesHeader, kMaxSeries>& series,
                   int seriesCount);

}  // namespace corvan
