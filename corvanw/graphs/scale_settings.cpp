#include "graphs/scale_settings.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

#include "data/data_set.h"
#include "graphs/number_format.h"

namespace corvan {

namespace {

// Lines drawn with limits narrowed by less than this stay inside the graph;
// it also absorbs the one decimal the boxes show.
constexpr double kNarrowingTolerance = 0.09;
// A minimum above this (a maximum below its negative) is a running start
// value, not a limit.
constexpr double kUnsetLimit = 1e29;
constexpr int kFieldPrecision = 7;
constexpr int kFieldDecimals = 1;

float ToSingle(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(v, -kMax, kMax));
}

class ManualEntry {
public:
    explicit ManualEntry(bool& ok) : ok_(ok) {}

    void Minimum(const std::string& text, float& limit, bool guarded) {
        double v;
        if (!ParseScaleNumber(text, v)) return;
        if (guarded && v > kUnsetLimit) v = limit;
        if (ok_) ok_ = v < static_cast<double>(limit) + kNarrowingTolerance;
        limit = ToSingle(v);
    }

    void Maximum(const std::string& text, float& limit, bool guarded) {
        double v;
        if (!ParseScaleNumber(text, v)) return;
        if (guarded && v < -kUnsetLimit) v = limit;
        if (ok_) ok_ = v > static_cast<double>(limit) - kNarrowingTolerance;
        limit = ToSingle(v);
    }

    void BarMaximum(const std::string& text, int& limit) {
        double v;
        if (!ParseScaleNumber(text, v)) return;
        if (ok_) ok_ = v > static_cast<double>(limit) - kNarrowingTolerance;
        limit =
            static_cast<int>(RoundHalfEven(std::clamp(v, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX))));
    }

private:
    bool& ok_;
};

}  // namespace

ScaleFieldAvailability ScaleFieldsAvailable(const MeasurementFileHeader& header) {
    return {HasOptional(header), HasOxygen(header), HasFlux(header)};
}

ScaleFields FillScaleFields(const ScaleSettings& scale, const ScaleFieldAvailability& available,
                            std::string_view decimalSeparator) {
    auto limit = [&](float v) { return FormatFloatFixed(v, kFieldPrecision, kFieldDecimals, decimalSeparator); };
    ScaleFields f;
    f.speedMin = limit(scale.speedMin);
    f.speedMax = limit(scale.speedMax);
    f.temperatureMin = limit(scale.temperatureMin);
    f.temperatureMax = limit(scale.temperatureMax);
    if (available.optional) {
        f.optionalMin = limit(scale.optionalMin);
        f.optionalMax = limit(scale.optionalMax);
    }
    if (available.oxygen) {
        f.oxygenMglMin = limit(scale.oxygenMglMin);
        f.oxygenMglMax = limit(scale.oxygenMglMax);
        f.oxygenFluxMin = limit(scale.oxygenFluxMin);
        f.oxygenFluxMax = limit(scale.oxygenFluxMax);
    }
    if (available.flux) {
        f.fluxMin = limit(scale.particleFluxMin);
        f.fluxMax = limit(scale.particleFluxMax);
    }
    f.speedBarMax = std::to_string(scale.speedBarMax);
    f.directionBarMax = std::to_string(scale.directionBarMax);
    f.speedRangeIndex = std::clamp(scale.speedRange, 1, kSpeedRangeCount) - 1;
    return f;
}

bool ApplyManualScaleFields(ScaleSettings& scale, const ScaleFields& fields) {
    bool ok = true;
    ManualEntry entry(ok);
    entry.Minimum(fields.speedMin, scale.speedMin, true);
    entry.Maximum(fields.speedMax, scale.speedMax, true);
    entry.Minimum(fields.temperatureMin, scale.temperatureMin, false);
    entry.Maximum(fields.temperatureMax, scale.temperatureMax, false);
    entry.Minimum(fields.optionalMin, scale.optionalMin, true);
    entry.Maximum(fields.optionalMax, scale.optionalMax, true);
    entry.Minimum(fields.oxygenFluxMin, scale.oxygenFluxMin, true);
    entry.Maximum(fields.oxygenFluxMax, scale.oxygenFluxMax, true);
    entry.Minimum(fields.fluxMin, scale.particleFluxMin, true);
    entry.Maximum(fields.fluxMax, scale.particleFluxMax, true);
    entry.Minimum(fields.oxygenMglMin, scale.oxygenMglMin, true);
    entry.Maximum(fields.oxygenMglMax, scale.oxygenMglMax, true);
    entry.BarMaximum(fields.speedBarMax, scale.speedBarMax);
    entry.BarMaximum(fields.directionBarMax, scale.directionBarMax);
    scale.speedRange = std::clamp(fields.speedRangeIndex, 0, kSpeedRangeCount - 1) + 1;
    return ok;
}

bool ParseScaleNumber(std::string_view text, double& value) {
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return false;
    const auto end = text.find_last_not_of(" \t");
    std::string s(text.substr(begin, end - begin + 1));
    std::replace(s.begin(), s.end(), ',', '.');
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '+') {
        ++first;
        if (first == last || *first == '-') return false;
    }
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || ptr != last || !std::isfinite(v)) return false;
    value = v;
    return true;
}

}  // namespace corvan
