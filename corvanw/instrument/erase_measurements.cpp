#include "instrument/erase_measurements.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace corvan {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Positions below this are "no position" markers, not coordinates.
constexpr float kLowestPosition = -900.0f;

bool StartsSeries(const DataSet& data, int index) {
    for (int s = 0; s < data.SeriesCount(); ++s) {
        if (data.series[static_cast<std::size_t>(s)].first == index) return true;
    }
    return false;
}

std::string Trimmed(const std::string& text) {
    const auto b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const auto e = text.find_last_not_of(" \t");
    return text.substr(b, e - b + 1);
}

}  // namespace

int ParseRecordNumber(const std::string& text, int fallback) {
    const std::string t = Trimmed(text);
    int value = 0;
    const char* b = t.data();
    const char* e = b + t.size();
    if (!t.empty() && *b == '+') ++b;
    const auto [p, ec] = std::from_chars(b, e, value);
    if (t.empty() || ec != std::errc() || p != e) return fallback;
    return value;
}

bool LoadedWithoutReference(const DataSet& data, const LoadOutcome& outcome) {
    return outcome.message == kReferenceNotFoundMessage && data.recordCount > 0;
}

bool EraseMeasurements(DataSet& data, int first, int last) {
    // Records beyond the header count are not written, and those beyond the
    // records read are not measurements: a run reaching either is refused.
    const int n = std::min(data.recordCount, data.HeaderCount());
    if (first < 1 || last < first || last > n) return false;

    const auto& rec = data.records;
    MeasurementRecord before{};
    if (first != 1 && !StartsSeries(data, first - 1)) before = rec[static_cast<std::size_t>(first - 2)];
    MeasurementRecord after = before;
    if (last - 1 < n - 1 && !StartsSeries(data, last)) after = rec[static_cast<std::size_t>(last)];
    if (std::fabs(before.speed) + std::fabs(before.direction) + std::fabs(before.temperature) == 0.0f) {
        before = after;
    }

    const bool positions = data.header.instrumentType == 2;
    double dSpeed = static_cast<double>(after.speed) - before.speed;
    double dDirection = static_cast<double>(after.direction) - before.direction;
    const double dTemperature = static_cast<double>(after.temperature) - before.temperature;
    double dOptional = static_cast<double>(after.optional) - before.optional;
    if (positions) {
        if (before.speed < kLowestPosition || after.speed < kLowestPosition) dSpeed = 0.0;
        if (before.direction < kLowestPosition || after.direction < kLowestPosition) dDirection = 0.0;
        dOptional = 0.0;
    } else if (dDirection > std::numbers::pi) {
        dDirection -= kTwoPi;
    } else if (dDirection < -std::numbers::pi) {
        dDirection += kTwoPi;
    }

    const int steps = last - first + 2;
    for (int u = 1; u <= last - first + 1; ++u) {
        const double f = static_cast<double>(u) / steps;
        MeasurementRecord& r = data.records[static_cast<std::size_t>(first - 2 + u)];
        r.speed = static_cast<float>(before.speed + dSpeed * f);
        double direction = before.direction + dDirection * f;
        r.temperature = static_cast<float>(before.temperature + dTemperature * f);
        if (positions) {
            r.optional = 0.0f;
        } else {
            r.optional = static_cast<float>(before.optional + dOptional * f);
            // fmod rather than a loop: a wild value must not spin for ever.
            direction = std::fmod(direction, kTwoPi);
            if (direction < 0.0) direction += kTwoPi;
        }
        r.direction = static_cast<float>(direction);
    }
    return true;
}

}  // namespace corvan
