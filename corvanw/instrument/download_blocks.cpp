#include "instrument/download_blocks.h"

#include <algorithm>
#include <cmath>

namespace corvan {

namespace {

constexpr std::size_t kSeriesTableOffset = 2;
constexpr std::size_t kSeriesEntrySize = 8;
constexpr std::size_t kSeriesCountOffset = 130;
constexpr std::size_t kReferenceOffset = 133;
constexpr std::size_t kSensorKindOffset = 135;
constexpr std::size_t kInstrumentTypeOffset = 185;
constexpr std::size_t kCoefficientOffset = 192;
constexpr std::size_t kCoefficientSize = 6;
constexpr int kCoefficientKinds = 4;

constexpr std::uint16_t kNoPositionRaw = 0x7FFF;

int BigEndian16(std::span<const std::uint8_t, kBlockSize> b, std::size_t at) { return b[at] * 256 + b[at + 1]; }

SeriesHeader ParseSeriesEntry(std::span<const std::uint8_t, kBlockSize> b, std::size_t at, int recordCount) {
    SeriesHeader s;
    s.first = std::min(BigEndian16(b, at), recordCount);
    s.interval = b[at + 2] * 60;
    const int year = BcdDigits(b[at + 3]);
    const int month = BcdDigits(b[at + 4]);
    const int day = BcdDigits(b[at + 5]);
    const int hour = BcdDigits(b[at + 6]);
    const int minute = BcdDigits(b[at + 7]);
    s.year = static_cast<std::uint8_t>(std::min(year, 99));
    s.month = static_cast<std::uint8_t>(month >= 1 && month <= 12 ? month : 1);
    s.day = static_cast<std::uint8_t>(day >= 1 && day <= 31 ? day : 31);
    s.hour = static_cast<std::uint8_t>(hour <= 23 ? hour : 0);
    s.minute = static_cast<std::uint8_t>(minute <= 59 ? minute : 0);
    s.intervalCode = 0;
    s.salinity = -1.0f;
    return s;
}

float Speed(std::uint8_t b2, std::uint8_t b3) { return static_cast<float>((((b3 & 0xF0) << 4) | b2) / 5.0); }
float Direction(std::uint8_t b1, std::uint8_t b3) { return static_cast<float>((((b3 & 0x0C) << 6) | b1) / 160.0); }
int TenBit(std::uint8_t b0, std::uint8_t b3) { return ((b3 & 0x03) << 8) | b0; }
float Temperature10(int raw) { return static_cast<float>(raw / 20.0 - 2.0); }

float Position(int raw, double divisor) {
    return raw == kNoPositionRaw ? kNoPosition : static_cast<float>(raw / divisor);
}

}  // namespace

int BcdDigits(std::uint8_t byte) { return 10 * (byte >> 4) + (byte & 0x0F); }

std::optional<double> BcdFloat(std::span<const std::uint8_t, 6> bytes) {
    std::int64_t digits = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        const int hi = bytes[i] >> 4;
        const int lo = bytes[i] & 0x0F;
        if (hi > 9 || lo > 9) return std::nullopt;
        digits = digits * 100 + hi * 10 + lo;
    }
    int exponent = bytes[5] & 0x7F;
    if (exponent & 0x40) exponent -= 0x80;
    return static_cast<double>(digits) * std::pow(10.0, exponent - 10);
}

HeaderBlock ParseHeaderBlock(std::span<const std::uint8_t, kBlockSize> block, int recordCount) {
    HeaderBlock h;
    for (int i = 0; i < kMaxSeries; ++i) {
        h.series[static_cast<std::size_t>(i)] =
            ParseSeriesEntry(block, kSeriesTableOffset + kSeriesEntrySize * static_cast<std::size_t>(i), recordCount);
    }
    h.seriesCountSent = block[kSeriesCountOffset];
    h.seriesCount = std::min(h.seriesCountSent, kMaxSeries);
    h.referenceNumber = BigEndian16(block, kReferenceOffset);
    h.sensorKind = block[kSensorKindOffset];
    h.instrumentType = block[kInstrumentTypeOffset];

    double c = 1.0;
    if (h.sensorKind >= 1 && h.sensorKind <= kCoefficientKinds) {
        const std::size_t at = kCoefficientOffset + kCoefficientSize * (h.sensorKind - 1u);
        const auto value = BcdFloat(std::span<const std::uint8_t, 6>(block.data() + at, kCoefficientSize));
        c = value && *value != 0.0 ? *value : 1.0;
    }
    h.sensorCoefficient = static_cast<float>(c);
    // A coefficient too small for the stored float would divide by zero later.
    if (h.sensorCoefficient == 0.0f) h.sensorCoefficient = 1.0f;
    return h;
}

int RecordBytes(int instrumentType) {
    switch (instrumentType) {
        case 0:
        case 1:
        case 2:
        case 3:
            return 4;
        case 4:
            return 2;
        default:
            return 0;
    }
}

double OptionalSensorValue(int sensorKind, int raw, double coefficient) {
    switch (sensorKind) {
        case 1:
            return 89822.33 * raw / (1023.0 * coefficient);
        case 2:
        case 3:
            return 2.5 * raw / (1023.0 * coefficient);
        default:
            return 5.0 * raw / (1023.0 * coefficient);
    }
}

int RecordDecoder::DecodeBlock(std::span<const std::uint8_t, kBlockSize> block, int received, int count,
                               MeasurementRecord* out) const {
    const int size = RecordBytes(instrumentType);
    if (size == 0) return std::max(received, count);
    for (std::size_t used = 0; used + static_cast<std::size_t>(size) <= kBlockSize && received < count;
         used += static_cast<std::size_t>(size), ++received) {
        const std::uint8_t* b = block.data() + used;
        MeasurementRecord& r = out[received];
        switch (instrumentType) {
            case 0:
            case 1:
                r.speed = Speed(b[2], b[3]);
                r.direction = Direction(b[1], b[3]);
                r.temperature = Temperature10(TenBit(b[0], b[3]));
                r.optional = 0.0f;
                break;
            case 2:
                r.speed = Position(b[0] + 256 * b[1], 6.0);
                r.direction = Position(b[2] + 256 * b[3], 3.0);
                r.temperature = 0.0f;
                r.optional = 0.0f;
                break;
            case 3: {
                r.speed = Speed(b[2], b[3]);
                r.direction = Direction(b[1], b[3]);
                const int raw = TenBit(b[0], b[3]);
                if (received % 2 == 0) {
                    r.temperature = Temperature10(raw);
                    r.optional = 0.0f;
                } else {
                    r.temperature = 0.0f;
                    r.optional = static_cast<float>(OptionalSensorValue(sensorKind, raw, coefficient));
                }
                break;
            }
            case 4:
                r.speed = 0.0f;
                r.direction = 0.0f;
                r.temperature = static_cast<float>((b[0] + 256 * b[1]) / 1000.0 - 5.0);
                r.optional = 0.0f;
                break;
        }
    }
    return received;
}

void FillType3Gaps(std::span<MeasurementRecord> records, const std::array<SeriesHeader, kMaxSeries>& series,
                   int seriesCount) {
    const int n = static_cast<int>(records.size());
    seriesCount = std::clamp(seriesCount, 0, kMaxSeries);
    auto firstOf = [&](int s) { return series[static_cast<std::size_t>(s - 1)].first; };
    int p = 1;
    for (int i = 0; i < n; ++i) {
        // A first series that does not start at record 0 must not reach before it.
        const bool hasPrevious = i != firstOf(p) && i > 0;
        bool hasNext;
        if (p < seriesCount && i == firstOf(p + 1)) {
            ++p;
            hasNext = false;
        } else {
            hasNext = i != n - 1;
        }
        auto& r = records[static_cast<std::size_t>(i)];
        float MeasurementRecord::*missing = i % 2 == 0 ? &MeasurementRecord::optional : &MeasurementRecord::temperature;
        const float* prev = hasPrevious ? &(records[static_cast<std::size_t>(i - 1)].*missing) : nullptr;
        const float* next = hasNext ? &(records[static_cast<std::size_t>(i + 1)].*missing) : nullptr;
        if (prev && next) {
            r.*missing = static_cast<float>((static_cast<double>(*prev) + *next) / 2.0);
        } else if (prev) {
            r.*missing = *prev;
        } else if (next) {
            r.*missing = *next;
        } else {
            r.*missing = 0.0f;
        }
    }
}

}  // namespace corvan
