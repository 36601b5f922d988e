#include "analysis/declination.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <vector>

#include "data/data_set.h"
#include "data/series_range.h"

namespace corvan {

std::optional<double> ParseDeclination(const std::string& text) {
    std::string t = text;
    for (char& c : t)
        if (c == ',') c = '.';
    const auto b = t.find_first_not_of(" \t");
    if (b == std::string::npos) return std::nullopt;
    const auto e = t.find_last_not_of(" \t");
    t = t.substr(b, e - b + 1);
    double v = 0;
    const auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || p != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

float RotatedDirection(float radians, double degrees) {
    if (radians < 0) return radians;
    constexpr double kTwoPi = 2 * std::numbers::pi;
    double d = std::fmod(static_cast<double>(radians) + degrees * std::numbers::pi / 180.0, kTwoPi);
    if (d < 0) d += kTwoPi;
    // Rounding to a float can land exactly on 2 pi, which readers would
    // take as out of range.
    float out = static_cast<float>(d);
    if (out >= static_cast<float>(kTwoPi)) out = 0.0f;
    return out;
}

std::string DeclinationRefusal(const DataSet& data, double degrees) {
    if (HasPositions(data.header)) return kDeclinationGpsMessage;
    if (!HasCurrent(data.header)) return kDeclinationNoCurrentMessage;
    if (!std::isfinite(degrees) || degrees < -180.0 || degrees > 180.0) return kDeclinationRangeMessage;
    return {};
}

int RotateDirections(DataSet& data, int first, int last, double degrees) {
    int rotated = 0;
    const int end = std::min(last, data.HeaderCount() - 1);
    for (int i = std::max(0, first); i <= end; ++i) {
        MeasurementRecord& r = data.records[static_cast<std::size_t>(i)];
        if (r.direction < 0) continue;
        r.direction = RotatedDirection(r.direction, degrees);
        ++rotated;
    }
    return rotated;
}

std::string ApplyDeclination(DataSet& data, double degrees, int series, int* rotated) {
    if (std::string refusal = DeclinationRefusal(data, degrees); !refusal.empty()) return refusal;
    int first = 0;
    int last = data.HeaderCount() - 1;
    if (series != 0) {
        if (series < 1 || series > data.SeriesCount())
            return "series " + std::to_string(series) + " is not in 1.." + std::to_string(data.SeriesCount());
        const SeriesBounds b = BoundsOfSeries(data, series);
        if (b.Empty()) return "series " + std::to_string(series) + " holds no measurements";
        first = b.lowest - 1;
        last = b.highest - 1;
    }
    // What is in memory must keep matching a file on disk: when writing
    // fails the directions go back to what they were.
    const std::vector<MeasurementRecord> before(data.records.begin() + first, data.records.begin() + last + 1);
    const int n = RotateDirections(data, first, last, degrees);
    try {
        WriteMeasurementFile(data);
    } catch (...) {
        std::copy(before.begin(), before.end(), data.records.begin() + first);
        throw;
    }
    if (rotated) *rotated = n;
    return {};
}

}  // namespace corvan
