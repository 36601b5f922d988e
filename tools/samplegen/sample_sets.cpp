#include "sample_sets.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <vector>

#include "data/data_set.h"
#include "data/file_error.h"

namespace corvan::samples {

namespace {

// A small generator of our own, so the samples do not depend on how a
// standard library implements its distributions.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    double Uniform() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24);
    }
    double Noise(double amplitude) { return (Uniform() * 2.0 - 1.0) * amplitude; }

private:
    std::uint32_t state_;
};

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kTidalPeriodHours = 12.42;

struct Current {
    float speed;
    float direction;
};

// A tidal ellipse along 30 degrees with a residual drift towards 110.
Current TidalCurrent(double hours, Lcg& rng) {
    const double phase = kTwoPi * hours / kTidalPeriodHours;
    const double major = 22.0 * std::cos(phase) + rng.Noise(2.0);
    const double minor = 6.0 * std::sin(phase) + rng.Noise(1.5);
    const double axis = 30.0 * std::numbers::pi / 180.0;
    const double drift = 110.0 * std::numbers::pi / 180.0;
    const double east = major * std::sin(axis) + minor * std::cos(axis) + 4.0 * std::sin(drift);
    const double north = major * std::cos(axis) - minor * std::sin(axis) + 4.0 * std::cos(drift);
    double dir = std::atan2(east, north);
    if (dir < 0) dir += kTwoPi;
    return {static_cast<float>(std::round(std::hypot(east, north) * 10.0) / 10.0), static_cast<float>(dir)};
}

float DailyTemperature(double hours, double base, Lcg& rng) {
    return static_cast<float>(
        std::round((base + 0.6 * std::sin(kTwoPi * (hours - 9.0) / 24.0) + rng.Noise(0.05)) * 100.0) / 100.0);
}

SeriesHeader MakeSeries(int first, int year, int month, int day, int hour, int minute, int intervalSeconds) {
    SeriesHeader s;
    s.first = first;
    s.year = static_cast<std::uint8_t>(year % 100);
    s.month = static_cast<std::uint8_t>(month);
    s.day = static_cast<std::uint8_t>(day);
    s.hour = static_cast<std::uint8_t>(hour);
    s.minute = static_cast<std::uint8_t>(minute);
    s.interval = intervalSeconds;
    s.intervalCode = intervalSeconds / 60 / 5;
    s.salinity = -1.0f;
    return s;
}

void RemoveIfPresent(const std::string& fileName) { std::remove(fileName.c_str()); }

}  // namespace

void WriteCurrentMeterSample(const std::string& baseName) {
    DataSet data;
    data.baseName = baseName;
    RemoveIfPresent(baseName + ".CVN");
    RemoveIfPresent(baseName + ".RF6");
    data.header = MeasurementFileHeader{};
    data.header.referenceNumber = 4711;
    data.header.instrumentType = 0;
    data.header.sensorCoefficient = 1.0f;

    // Series 1: 12 days from 2024-03-04 12:00; the instrument was serviced
    // and series 2 ran another 9 days from 2024-03-16 15:00.
    constexpr int kFirstCount = 12 * 144;
    constexpr int kSecondCount = 9 * 144;
    Lcg rng(20240304u);
    const double secondOffsetHours = (12 * 24 + 3);
    for (int i = 0; i < kFirstCount + kSecondCount; ++i) {
        const double hours = i < kFirstCount ? (i + 1) / 6.0 : secondOffsetHours + (i - kFirstCount + 1) / 6.0;
        const Current c = TidalCurrent(hours, rng);
        MeasurementRecord& r = data.records[static_cast<std::size_t>(i)];
        r.speed = c.speed;
        r.direction = c.direction;
        r.temperature = DailyTemperature(hours, 7.8 + hours / 24.0 * 0.02, rng);
        r.optional = 0.0f;
    }
    // A handful of records the instrument flagged: a fouled rotor, a lost
    // compass reading and a temperature dropout.
    for (int i : {217, 218, 219}) data.records[static_cast<std::size_t>(i)].speed = kInvalidValue;
    for (int i : {905, 2450}) data.records[static_cast<std::size_t>(i)].direction = -1.0f;
    for (int i : {1203, 2801}) data.records[static_cast<std::size_t>(i)].temperature = kInvalidValue;

    data.header.count = static_cast<std::int16_t>(kFirstCount + kSecondCount);
    data.series[0] = MakeSeries(0, 2024, 3, 4, 12, 0, 600);
    data.series[1] = MakeSeries(kFirstCount, 2024, 3, 16, 15, 0, 600);
    data.seriesCount = 2;
    WriteMeasurementFile(data);
    WriteReferenceFile(data, 2);
}

void WriteOxygenSample(const std::string& baseName) {
    DataSet data;
    data.baseName = baseName;
    RemoveIfPresent(baseName + ".CVN");
    RemoveIfPresent(baseName + ".RF6");
    data.header = MeasurementFileHeader{};
    data.header.referenceNumber = 815;
    data.header.instrumentType = 3;
    data.header.sensorKind = 1;
    data.header.sensorCoefficient = 1.0f;

    constexpr int kCount = 7 * 72;  // a week at 20 minutes
    Lcg rng(815u);
    std::vector<MeasurementRecord> companion(kCount);
    for (int i = 0; i < kCount; ++i) {
        const double hours = (i + 1) / 3.0;
        const Current c = TidalCurrent(hours, rng);
        MeasurementRecord& r = data.records[static_cast<std::size_t>(i)];
        r.speed = c.speed;
        r.direction = c.direction;
        r.temperature = DailyTemperature(hours, 10.2, rng);
        r.optional = static_cast<float>(
            std::round((93.0 + 4.0 * std::sin(kTwoPi * hours / 24.0) + rng.Noise(0.5)) * 10.0) / 10.0);
        // The companion instrument sat 5 m deeper: slower, colder, less oxygen.
        MeasurementRecord& l = companion[static_cast<std::size_t>(i)];
        l.speed = static_cast<float>(std::round(c.speed * 0.7f * 10.0f) / 10.0f);
        l.direction = c.direction;
        l.temperature = static_cast<float>(std::round((r.temperature - 0.8) * 100.0) / 100.0);
        l.optional = static_cast<float>(std::round((r.optional - 6.0) * 10.0) / 10.0);
    }
    data.records[40].temperature = kInvalidValue;
    for (int i : {300, 301}) companion[static_cast<std::size_t>(i)] = MeasurementRecord{kLFill, kLFill, kLFill, kLFill};

    data.header.count = static_cast<std::int16_t>(kCount);
    data.series[0] = MakeSeries(0, 2025, 6, 10, 8, 0, 1200);
    data.series[0].salinity = 34.5f;
    data.seriesCount = 1;
    WriteMeasurementFile(data);
    WriteReferenceFile(data, 1);

    // The companion file is only ever read by the program; it is written
    // here record by record in the same layout. The last records are left
    // out, as when the companion instrument stopped first.
    const std::string ln6 = baseName + ".LN6";
    std::ofstream out(ln6, std::ios::binary | std::ios::trunc);
    if (!out) throw FileError(ln6, "cannot be created");
    std::uint8_t bytes[kRecordSize];
    for (int i = 0; i < kCount - 24; ++i) {
        EncodeRecord(companion[static_cast<std::size_t>(i)], bytes);
        out.write(reinterpret_cast<const char*>(bytes), kRecordSize);
    }
    if (!out) throw FileError(ln6, "write error");
}

}  // namespace corvan::samples
