#include "graphs/chart_series.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "graphs/chart_geometry.h"

namespace corvan {

namespace {

inline constexpr const char* kTemperatureCaption = "Temperature (\u00B0C)";
inline constexpr const char* kOxygenMglCaption = "Ox (mg/l)";
inline constexpr const char* kNumberCaption = "Number of measurements";
inline constexpr const char* kPercentCaption = "Percent of measurements";
inline constexpr const char* kTotalOxFluxCaption = "Total Ox flux";
inline constexpr const char* kRelativeOxFluxCaption = "Relative Ox flux";
inline constexpr const char* kDirectionBarUnit = "Deg";
inline constexpr const char* kOxygenFluxBarUnit = "g/m\u00B2";

std::string NameAndUnit(const ChannelDescriptor& c) { return std::string(c.longName) + " (" + c.unit + ")"; }

float Degrees(float radians) {
    return IsValid(radians) ? static_cast<float>(radians * 180.0 / std::numbers::pi) : kInvalidValue;
}

}  // namespace

std::vector<ChartPoint> DirectionPoints(const std::vector<float>& degrees, double dt) {
    std::vector<ChartPoint> points;
    if (degrees.empty()) return points;
    points.reserve(degrees.size() + 16);
    const auto n = degrees.size();
    double prev = degrees[0];
    for (std::size_t k = 0; k < n; ++k) {
        const double f = degrees[k];
        if (!IsValid(degrees[k])) {
            points.push_back({static_cast<double>(k) * dt, 0.0, true});
            // No crossing is drawn across a gap.
            if (k + 1 < n) prev = degrees[k + 1];
            continue;
        }
        if (std::abs(f - prev) > 180.0) {
            const bool upwards = f >= prev;  // 10 then 350: leaves through 0
            const double r = upwards ? prev / (prev + 360.0 - f) : (360.0 - prev) / (f + 360.0 - prev);
            const double x = (static_cast<double>(k) - 1.0 + r) * dt;
            const double leave = upwards ? 0.0 : 360.0;
            points.push_back({x, leave, false});
            points.push_back({x, 0.0, true});
            points.push_back({x, 360.0 - leave, false});
        }
        points.push_back({static_cast<double>(k) * dt, f, false});
        prev = f;
    }
    return points;
}

LineGraph BuildLineGraph(const DataSet& data, const ScaleSettings& scale, int lineKind) {
    LineGraph g;
    const MeasurementFileHeader& h = data.header;
    const double dt = data.rangeInterval;
    g.bottomStep = dt;
    const int first = data.rangeFirst;
    const int last = std::min(data.rangeLast, static_cast<int>(data.records.size()) - 1);
    const int series = data.currentSeries;

    // value(i) of each kind; kInvalidValue makes a gap.
    auto speedTimes = [&](int i, double v) {
        const float speed = data.records[static_cast<std::size_t>(i)].speed;
        return speed <= kInvalidValue ? static_cast<double>(kInvalidValue) : speed * v / 100.0;
    };
    auto oxygen = [&](int i) {
        const MeasurementRecord& r = data.records[static_cast<std::size_t>(i)];
        return OxygenMgL(data, series, r.temperature, r.optional);
    };
    std::function<double(int)> value;
    bool neverGaps = false;
    double minimum = 0.0, maximum = 0.0;
    bool available = false;
    switch (lineKind) {
        case kLineSpeed:
            available = HasCurrent(h);
            g.leftCaption = NameAndUnit(Channel(kChSpeed));
            value = [&](int i) { return data.records[static_cast<std::size_t>(i)].speed; };
            minimum = scale.speedMin;
            maximum = scale.speedMax;
            break;
        case kLineDirection:
            available = HasCurrent(h);
            g.direction = true;
            g.leftCaption = NameAndUnit(Channel(kChDirection));
            g.labelFormat = "0";
            g.leftIncrement = 1.0;
            minimum = 0.0;
            maximum = 360.0;
            break;
        case kLineTemperature:
            available = HasTemperature(h);
            g.leftCaption = kTemperatureCaption;
            value = [&](int i) { return data.records[static_cast<std::size_t>(i)].temperature; };
            minimum = scale.temperatureMin;
            maximum = scale.temperatureMax;
            break;
        case kLineOptional:
            // A file without the sensor holds no optional values to show.
            available = HasOptional(h);
            g.leftCaption = NameAndUnit(data.OptionalChannel());
            value = [&](int i) { return data.records[static_cast<std::size_t>(i)].optional; };
            minimum = scale.optionalMin;
            maximum = scale.optionalMax;
            break;
        case kLineFlux:
            available = HasFlux(h);
            g.leftCaption = NameAndUnit(data.FluxChannel());
            value = [&](int i) { return speedTimes(i, data.records[static_cast<std::size_t>(i)].optional); };
            minimum = scale.particleFluxMin;
            maximum = scale.particleFluxMax;
            break;
        case kLineOxygenMgl:
            available = HasOxygen(h);
            g.leftCaption = kOxygenMglCaption;
            // The concentration is computed for every record, so it never gaps.
            neverGaps = true;
            value = oxygen;
            minimum = scale.oxygenMglMin;
            maximum = scale.oxygenMglMax;
            break;
        case kLineOxygenFlux:
            available = HasOxygen(h);
            g.leftCaption = NameAndUnit(Channel(kChOxFlux));
            value = [&](int i) { return speedTimes(i, oxygen(i)); };
            minimum = scale.oxygenFluxMin;
            maximum = scale.oxygenFluxMax;
            break;
        default:
            return g;
    }
    if (!available || first < 0 || last < first) return g;
    g.drawn = true;

    if (g.direction) {
        std::vector<float> degrees;
        degrees.reserve(static_cast<std::size_t>(last - first + 1));
        for (int i = first; i <= last; ++i)
            degrees.push_back(Degrees(data.records[static_cast<std::size_t>(i)].direction));
        g.points = DirectionPoints(degrees, dt);
    } else {
        g.points.reserve(static_cast<std::size_t>(last - first + 1));
        for (int i = first; i <= last; ++i) {
            const double y = value(i);
            const double x = static_cast<double>(i - first) * dt;
            if (neverGaps || y > kInvalidValue)
                g.points.push_back({x, y, false});
            else
                g.points.push_back({x, 0.0, true});
        }
    }
    // A nearly flat line gets an increment of room below it.
    if (maximum - minimum < g.leftIncrement && minimum > g.leftIncrement) minimum -= g.leftIncrement;
    const AxisRange r = DataRange(maximum, minimum, g.leftIncrement);
    g.dataMinimum = r.minimum;
    g.dataMaximum = r.maximum;
    return g;
}

BarGraph BuildBarGraph(const DataSet& data, const Statistics& stats, int barKind, int barScale) {
    BarGraph b;
    if (!data.referenceLoaded || data.rangeFirst >= data.rangeLast) return b;
    const SectorStatistics& sec = stats.sectors;
    const bool percent = barScale == kBarScalePercent;
    const double n = stats.summary.validSpeedCount > 0 ? stats.summary.validSpeedCount : 1;
    auto sectorLabels = [&] {
        for (int s = 0; s < kSectorCount; ++s) b.labels.push_back(std::to_string(s * 15));
    };
    double top = 0.0;
    switch (barKind) {
        case kBarSpeed: {
            b.modeCaption = Channel(kChSpeed).unit;
            const SpeedClassRow& bounds = SpeedClassBounds(sec.speedRange);
            for (int c = 1; c <= kSpeedClassCount; ++c) {
                b.labels.push_back(std::to_string(bounds[static_cast<std::size_t>(c - 1)]) + "-" +
                                   std::to_string(bounds[static_cast<std::size_t>(c)]));
                const double count = sec.classCount[static_cast<std::size_t>(c - 1)];
                b.values.push_back(percent ? count * 100.0 / n : count);
            }
            b.leftCaption = percent ? kPercentCaption : kNumberCaption;
            top = percent ? sec.maxClassCount * 100.0 / n : sec.maxClassCount;
            break;
        }
        case kBarDirection:
            b.modeCaption = kDirectionBarUnit;
            b.minimumLabelSpacing = 10;
            sectorLabels();
            for (int s = 0; s < kSectorCount; ++s) {
                const double count = sec.sectorCount[static_cast<std::size_t>(s)];
                b.values.push_back(percent ? count * 100.0 / n : count);
            }
            b.leftCaption = percent ? kPercentCaption : kNumberCaption;
            top = percent ? sec.maxSectorCount * 100.0 / n : sec.maxSectorCount;
            break;
        case kBarOxygenFlux: {
            b.modeCaption = kOxygenFluxBarUnit;
            b.minimumLabelSpacing = 10;
            sectorLabels();
            // Without any flux the shares are 0 rather than a division by 0.
            const double total = sec.totalSensorFlux;
            auto share = [&](double flux) { return total != 0.0 ? flux * 100.0 / total : 0.0; };
            for (int s = 0; s < kSectorCount; ++s) {
                const double flux = sec.sectorSensorFlux[static_cast<std::size_t>(s)];
                b.values.push_back(percent ? share(flux) : flux);
            }
            b.leftCaption = percent ? kRelativeOxFluxCaption : kTotalOxFluxCaption;
            top = percent ? share(sec.maxSectorSensorFlux) : sec.maxSectorSensorFlux;
            break;
        }
        default:
            return b;
    }
    b.drawn = true;
    const AxisRange r = DataRange(top, 0.0, 1.0);
    b.dataMinimum = r.minimum;
    b.dataMaximum = r.maximum;
    return b;
}

}  // namespace corvan
