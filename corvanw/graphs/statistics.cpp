#include "graphs/statistics.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>

#include "graphs/abs_sin_cos.h"

namespace corvan {

namespace {

constexpr float kRunningMinStart = 1e30f;
constexpr float kRunningMaxStart = -1e30f;
// Round() of the stored directions works on 64-bit integers; anything beyond
// cannot be turned into a sector.
constexpr double kLargestRoundable = 9.2e18;

// Narrowing beyond the float range is undefined; a corrupt record times an
// interval easily gets there, so it becomes the infinity IEEE would give.
float ToSingle(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (v > kMax) return std::numeric_limits<float>::infinity();
    if (v < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

struct Range {
    int first = 0;
    int last = -1;
    bool valid = false;
    int Count() const { return last - first + 1; }
};

// The data set's range, cut to the records array so a stale or foreign range
// can never read past it.
Range RangeOf(const DataSet& data, int first, int last) {
    const int size = static_cast<int>(data.records.size());
    Range r;
    if (first < 0 || first >= size || last < first) return r;
    r.first = first;
    r.last = std::min(last, size - 1);
    r.valid = true;
    return r;
}

Range SelectedRange(const DataSet& data) {
    if (data.rangeCount <= 0) return {};
    return RangeOf(data, data.rangeFirst, data.rangeLast);
}

struct Extremes {
    float min = kRunningMinStart;
    float max = kRunningMaxStart;
    void Take(float v) {
        if (v < min) min = v;
        if (v > max) max = v;
    }
    void Take(double v) { Take(ToSingle(v)); }
};

// A pair that saw no value keeps its start values (min above max); an axis
// from 1e30 down to -1e30 is of no use to anyone, so it becomes 0..0.
void StoreLimits(const Extremes& e, float& min, float& max) {
    if (e.min > e.max) {
        min = 0.0f;
        max = 0.0f;
    } else {
        min = e.min;
        max = e.max;
    }
}

// Keys whose unsigned order is the order of the floats they come from.
std::uint32_t FloatKey(float f) {
    const auto u = std::bit_cast<std::uint32_t>(f);
    return (u & 0x80000000u) != 0 ? ~u : (u | 0x80000000u);
}

float KeyFloat(std::uint32_t k) { return std::bit_cast<float>((k & 0x80000000u) != 0 ? (k & 0x7FFFFFFFu) : ~k); }

// Ascending least-significant-digit radix sort in three passes of 11, 11
// and 10 bits; linear, so sorted and reversed ranges cost no more than any.
void RadixSort(std::vector<std::uint32_t>& keys, std::vector<std::uint32_t>& temp) {
    constexpr int kBits = 11;
    constexpr std::uint32_t kBuckets = 1u << kBits;
    constexpr std::uint32_t kMask = kBuckets - 1;
    std::array<std::array<std::uint32_t, kBuckets>, 3> count{};
    for (std::uint32_t k : keys) {
        ++count[0][k & kMask];
        ++count[1][(k >> kBits) & kMask];
        ++count[2][k >> (2 * kBits)];
    }
    temp.resize(keys.size());
    for (int pass = 0; pass < 3; ++pass) {
        std::array<std::uint32_t, kBuckets>& c = count[static_cast<std::size_t>(pass)];
        std::uint32_t position = 0;
        for (std::uint32_t& n : c) {
            const std::uint32_t here = n;
            n = position;
            position += here;
        }
        const int shift = pass * kBits;
        for (std::uint32_t k : keys) temp[c[(k >> shift) & kMask]++] = k;
        keys.swap(temp);
    }
}

struct SignificantSpeeds {
    float max = 0.0f;
    float min = 0.0f;
};

// Both insertion lists at once. The maximum list takes every speed above its
// -1e30 start, the minimum list every valid speed below its +1e30 start, and
// each keeps the K best; sorting all candidates once yields the same K
// entries in the same order (largest first, smallest first) without the
// list's quadratic shifting on sorted input. The entries are summed in that
// order.
template <typename SpeedAt>
SignificantSpeeds SignificantOf(SpeedAt speedAt, std::size_t count, int validSpeedCount, StatisticsScratch& scratch) {
    SignificantSpeeds out;
    const int k = validSpeedCount / 3;
    if (k <= 0) return out;
    std::vector<std::uint32_t>& keys = scratch.keys;
    keys.clear();
    keys.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const float v = speedAt(i);
        if (v > kRunningMaxStart) keys.push_back(FloatKey(v));
    }
    RadixSort(keys, scratch.keysTemp);

    const std::size_t wanted = static_cast<std::size_t>(k);
    double sum = 0.0;
    for (std::size_t j = 0; j < wanted && j < keys.size(); ++j) sum += KeyFloat(keys[keys.size() - 1 - j]);
    out.max = ToSingle(sum / k);

    const auto firstValid =
        std::partition_point(keys.begin(), keys.end(), [](std::uint32_t key) { return !IsValid(KeyFloat(key)); });
    sum = 0.0;
    std::size_t taken = 0;
    for (auto it = firstValid; it != keys.end() && taken < wanted; ++it, ++taken) {
        const float v = KeyFloat(*it);
        if (!(v < kRunningMinStart)) break;
        sum += v;
    }
    out.min = ToSingle(sum / k);
    return out;
}

const float* RangeSpeeds(const DataSet& data, const Range& r, std::vector<float>& speeds) {
    speeds.clear();
    if (!r.valid) return speeds.data();
    speeds.reserve(static_cast<std::size_t>(r.Count()));
    for (int i = r.first; i <= r.last; ++i) speeds.push_back(data.records[static_cast<std::size_t>(i)].speed);
    return speeds.data();
}

// The class search and sector rounding of the sector pass, kept here where
// the compiler can inline them into the record loop.
inline int SectorOfDegreesInline(double degrees) {
    // Every direction of a circle, and far beyond, in plain int arithmetic.
    constexpr double kIntRange = 2e9;
    if (std::fabs(degrees) < kIntRange) {
        const int sector = static_cast<int>(std::rint(degrees)) / 15 + 1;
        return std::clamp(sector, 1, kSectorCount);
    }
    if (!(std::fabs(degrees) <= kLargestRoundable)) return 1;  // also NaN
    return degrees < 0 ? 1 : kSectorCount;
}

inline int SectorOfInline(float directionRadians) {
    return SectorOfDegreesInline(static_cast<double>(directionRadians) * 180.0 / std::numbers::pi);
}

void SummaryPass(DataSet& data, const Range& r, ScaleSettings& scale, Statistics& stats) {
    const MeasurementFileHeader& h = data.header;
    const bool current = HasCurrent(h);
    const bool flux = HasFlux(h);
    const bool oxygen = HasOxygen(h);
    const double salinity = oxygen ? SeriesSalinity(data, data.currentSeries) : 0.0;

    StatisticalSummary s;
    double sumV = 0.0, sumNs = 0.0, sumEw = 0.0;
    Extremes speed, particleFlux, oxygenFlux, temperature, optional, oxygenMgl;
    // The components of every valid speed, in range order, for the second pass.
    std::vector<double>& ns = stats.scratch.northSouth;
    std::vector<double>& ew = stats.scratch.eastWest;
    ns.clear();
    ew.clear();
    stats.scratch.oxygen.clear();
    if (r.valid) {
        if (current) {
            ns.reserve(static_cast<std::size_t>(r.Count()));
            ew.reserve(static_cast<std::size_t>(r.Count()));
        }
        if (oxygen) stats.scratch.oxygen.resize(static_cast<std::size_t>(r.Count()));
        for (int i = r.first; i <= r.last; ++i) {
            const MeasurementRecord& rec = data.records[static_cast<std::size_t>(i)];
            if (rec.direction >= 0.0f) ++s.validDirectionCount;
            const bool speedValid = current && IsValid(rec.speed);
            if (speedValid) {
                const double v = rec.speed;
                const double d = rec.direction;
                ++s.validSpeedCount;
                sumV += v;
                const AbsSinCos t = AbsSinCosOf(d);
                ns.push_back(t.cos * std::fabs(v));
                ew.push_back(t.sin * std::fabs(v));
                sumNs += ns.back();
                sumEw += ew.back();
                speed.Take(rec.speed);
                if (flux) particleFlux.Take(v * rec.optional / 100.0);
            }
            if (IsValid(rec.temperature)) {
                ++s.validTemperatureCount;
                temperature.Take(rec.temperature);
            }
            optional.Take(rec.optional);
            if (oxygen) {
                const double m = OxygenMgLWithSalinity(salinity, rec.temperature, rec.optional);
                stats.scratch.oxygen[static_cast<std::size_t>(i - r.first)] = m;
                oxygenMgl.Take(m);
                if (IsValid(rec.speed)) oxygenFlux.Take(static_cast<double>(rec.speed) * m / 100.0);
            }
        }
    }

    const int n = s.validSpeedCount;
    // One valid speed still has a mean; only the spread needs more.
    if (current && n >= 1) {
        s.mean = {sumV / n, sumNs / n, sumEw / n};
        if (n >= 3) {
            std::array<double, 3> squares{};
            std::size_t k = 0;
            for (int i = r.first; i <= r.last; ++i) {
                const float v = data.records[static_cast<std::size_t>(i)].speed;
                if (!IsValid(v)) continue;
                const double d0 = v - s.mean[0];
                const double d1 = ns[k] - s.mean[1];
                const double d2 = ew[k] - s.mean[2];
                squares[0] += d0 * d0;
                squares[1] += d1 * d1;
                squares[2] += d2 * d2;
                ++k;
            }
            for (int j = 0; j < 3; ++j) s.variance[j] = squares[j] / (n - 1);
        }
        for (int j = 0; j < 3; ++j) {
            s.stdDev[j] = std::sqrt(s.variance[j]);
            s.relStdDev[j] = s.mean[j] != 0.0 ? s.stdDev[j] / s.mean[j] : 0.0;
        }
        if (n >= 3) {
            const MeasurementRecord* rec = data.records.data() + r.first;
            const SignificantSpeeds sig = SignificantOf([rec](std::size_t i) { return rec[i].speed; },
                                                        static_cast<std::size_t>(r.Count()), n, stats.scratch);
            s.significantMax = sig.max;
            s.significantMin = sig.min;
        }
    }
    // Without a valid speed the running extremes are the start values, which
    // must not reach the page.
    if (speed.min <= speed.max) {
        s.maxSpeed = speed.max;
        s.minSpeed = speed.min;
    }
    stats.summary = s;

    if (!scale.manual) {
        StoreLimits(speed, scale.speedMin, scale.speedMax);
        StoreLimits(temperature, scale.temperatureMin, scale.temperatureMax);
        StoreLimits(optional, scale.optionalMin, scale.optionalMax);
        StoreLimits(oxygenMgl, scale.oxygenMglMin, scale.oxygenMglMax);
        StoreLimits(particleFlux, scale.particleFluxMin, scale.particleFluxMax);
        StoreLimits(oxygenFlux, scale.oxygenFluxMin, scale.oxygenFluxMax);
    }
}

void SectorPass(const DataSet& data, const Range& r, ScaleSettings& scale, Statistics& stats,
                const std::vector<double>* oxygenOfRange) {
    const MeasurementFileHeader& h = data.header;
    if (!scale.manual) scale.speedRange = AutomaticSpeedRange(scale.speedMax);
    SectorStatistics s;
    s.speedRange = std::clamp(scale.speedRange, 1, kSpeedRangeCount);

    if (HasCurrent(h) && r.valid) {
        const bool flux = HasFlux(h);
        const bool oxygen = HasOxygen(h);
        const double salinity = oxygen ? SeriesSalinity(data, data.currentSeries) : 0.0;
        const bool haveOxygen =
            oxygenOfRange != nullptr && oxygenOfRange->size() == static_cast<std::size_t>(r.Count());
        const double dt = data.rangeInterval;
        const SpeedClassLookup classes(s.speedRange);
        for (int i = r.first; i <= r.last; ++i) {
            const MeasurementRecord& rec = data.records[static_cast<std::size_t>(i)];
            if (!IsValid(rec.speed)) continue;
            const double v = rec.speed;
            const int c = classes.ClassOf(rec.speed) - 1;
            const int sec = SectorOfInline(rec.direction) - 1;
            ++s.matrixCount[sec][c];
            ++s.sectorCount[sec];
            ++s.classCount[c];
            s.sectorWaterFlux[sec] = ToSingle(s.sectorWaterFlux[sec] + dt * v * 0.01);
            if (flux || oxygen) {
                double add;
                if (flux) {
                    add = dt * v * rec.optional * 0.01;
                } else {
                    const double m = haveOxygen ? (*oxygenOfRange)[static_cast<std::size_t>(i - r.first)]
                                                : OxygenMgLWithSalinity(salinity, rec.temperature, rec.optional);
                    add = m * (dt * v) * 0.01;
                }
                s.sectorSensorFlux[sec] = ToSingle(s.sectorSensorFlux[sec] + add);
                s.maxSectorSensorFlux = std::max(s.maxSectorSensorFlux, s.sectorSensorFlux[sec]);
            }
            s.sectorMaxSpeed[sec] = std::max(s.sectorMaxSpeed[sec], rec.speed);
            s.maxSectorCount = std::max(s.maxSectorCount, s.sectorCount[sec]);
            s.maxClassCount = std::max(s.maxClassCount, s.classCount[c]);
        }
        for (int i = 0; i < kSectorCount; ++i) {
            s.totalWaterFlux += s.sectorWaterFlux[i];
            s.totalSensorFlux += s.sectorSensorFlux[i];
        }
    }

    if (scale.manual) {
        s.maxClassCount = scale.speedBarMax;
        s.maxSectorCount = scale.directionBarMax;
    } else {
        scale.speedBarMax = s.maxClassCount;
        scale.directionBarMax = s.maxSectorCount;
    }
    stats.sectors = s;
}

}  // namespace

const std::array<SpeedClassRow, kSpeedRangeCount>& SpeedClassTable() {
    static constexpr std::array<SpeedClassRow, kSpeedRangeCount> kTable = {{
        {0, 1, 3, 4, 5, 6, 8, 10, 15, 25, 50, 75, 100},
        {0, 1, 3, 5, 7, 10, 15, 20, 30, 50, 100, 150, 200},
        {0, 1, 5, 10, 15, 20, 30, 40, 60, 100, 200, 300, 400},
        {0, 1, 10, 20, 30, 40, 60, 80, 100, 200, 400, 600, 800},
    }};
    return kTable;
}

const SpeedClassRow& SpeedClassBounds(int speedRange) {
    return SpeedClassTable()[static_cast<std::size_t>(std::clamp(speedRange, 1, kSpeedRangeCount) - 1)];
}

int SpeedClassOf(float speed, int speedRange) {
    const SpeedClassRow& b = SpeedClassBounds(speedRange);
    int c = 1;
    while (c < kSpeedClassCount && static_cast<float>(b[static_cast<std::size_t>(c)]) < speed) ++c;
    return c;
}

SpeedClassLookup::SpeedClassLookup(int speedRange) {
    const SpeedClassRow& b = SpeedClassBounds(speedRange);
    const int top = b[kSpeedClassCount - 1] + 1;
    top_ = static_cast<float>(top);
    table_.resize(static_cast<std::size_t>(top) + 1);
    int c = 1;
    for (int n = 0; n <= top; ++n) {
        while (c < kSpeedClassCount && b[static_cast<std::size_t>(c)] < n) ++c;
        table_[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(c);
    }
}

int SectorOfDegrees(double degrees) { return SectorOfDegreesInline(degrees); }

int SectorOf(float directionRadians) { return SectorOfInline(directionRadians); }

int AutomaticSpeedRange(float maxSpeed) {
    if (maxSpeed < 100.0f) return 1;
    if (maxSpeed < 200.0f) return 2;
    if (maxSpeed < 400.0f) return 3;
    return 4;
}

void ComputeStatistics(DataSet& data, ScaleSettings& scale, Statistics& stats) {
    const Range r = SelectedRange(data);
    SummaryPass(data, r, scale, stats);
    if (HasCurrent(data.header)) {
        SectorPass(data, r, scale, stats, &stats.scratch.oxygen);
    } else {
        // A file without current has no sectors; nothing of the previous
        // file may stay behind for the graphs.
        SectorStatistics s;
        s.speedRange = std::clamp(scale.speedRange, 1, kSpeedRangeCount);
        if (!scale.manual) {
            scale.speedBarMax = 0;
            scale.directionBarMax = 0;
        }
        stats.sectors = s;
    }
    // The panel, printing, the report and the command line all read the
    // progressive figures from here, whether or not the graph was drawn.
    stats.progressive = HasCurrent(data.header) ? ComputeProgressiveFigures(data) : ProgressiveFigures{};
    data.statisticsValid = r.valid;
}

void ComputeSectorStatistics(const DataSet& data, ScaleSettings& scale, Statistics& stats) {
    SectorPass(data, SelectedRange(data), scale, stats, nullptr);
}

float SignificantMaximum(const float* speeds, std::size_t count, int validSpeedCount) {
    StatisticsScratch scratch;
    return SignificantOf([speeds](std::size_t i) { return speeds[i]; }, count, validSpeedCount, scratch).max;
}

float SignificantMinimum(const float* speeds, std::size_t count, int validSpeedCount) {
    StatisticsScratch scratch;
    return SignificantOf([speeds](std::size_t i) { return speeds[i]; }, count, validSpeedCount, scratch).min;
}

float SignificantMaximum(const DataSet& data, int validSpeedCount) {
    if (!HasCurrent(data.header)) return 0.0f;
    std::vector<float> speeds;
    const float* p = RangeSpeeds(data, SelectedRange(data), speeds);
    return SignificantMaximum(p, speeds.size(), validSpeedCount);
}

float SignificantMinimum(const DataSet& data, int validSpeedCount) {
    if (!HasCurrent(data.header)) return 0.0f;
    std::vector<float> speeds;
    const float* p = RangeSpeeds(data, SelectedRange(data), speeds);
    return SignificantMinimum(p, speeds.size(), validSpeedCount);
}

ProgressiveFigures ComputeProgressiveFigures(const DataSet& data, int first, int last, int dt,
                                             std::vector<ProgressivePoint>* path) {
    constexpr double kMetresPerStep = 0.6;  // v * dt / 60 cm/s * s, times 0.6, is v * dt / 100 m
    const Range r = RangeOf(data, first, last);
    double east = 0.0, north = 0.0, length = 0.0;
    int plotted = 0;
    if (path != nullptr) {
        path->clear();
        path->reserve(static_cast<std::size_t>(r.valid ? r.Count() + 1 : 1));
        path->push_back({0.0, 0.0, true});
    }
    if (r.valid) {
        for (int i = r.first; i <= r.last; ++i) {
            const MeasurementRecord& rec = data.records[static_cast<std::size_t>(i)];
            const bool usable = IsValid(rec.speed) && rec.direction >= 0.0f;
            if (usable) {
                const double step = static_cast<double>(rec.speed) * dt / 60.0;
                const double d = rec.direction;
                const double e = step * std::cos(std::numbers::pi / 2 - d);
                const double n = step * std::sin(std::numbers::pi / 2 - d);
                east += e;
                north += n;
                length += std::sqrt(e * e + n * n);
                ++plotted;
            }
            if (path != nullptr) path->push_back({kMetresPerStep * east, kMetresPerStep * north, usable});
        }
    }

    ProgressiveFigures f;
    f.plottedCount = plotted;
    const double resultant = std::sqrt(east * east + north * north);
    const double neumann = length != 0.0 ? resultant / length : 0.0;
    const double duration = static_cast<double>(dt) * plotted / 60.0;
    // With nothing plotted there is no mean vector: report it as still water.
    const double restSpeed = duration != 0.0 ? resultant / duration : 0.0;
    double a;
    if (east != 0.0) {
        a = std::atan(north / east) * 180.0 / std::numbers::pi;
        if (east < 0.0) a += 180.0;
    } else {
        a = north >= 0.0 ? 90.0 : 270.0;
    }
    double direction = 90.0 - a;
    while (direction < 0.0) direction += 360.0;
    float restDirection = ToSingle(direction);
    if (restDirection >= 360.0f) restDirection -= 360.0f;
    f.neumann = ToSingle(neumann);
    f.restSpeed = ToSingle(restSpeed);
    f.restDirection = restDirection;
    f.averageSpeed = neumann != 0.0 ? ToSingle(restSpeed / neumann) : 0.0f;
    return f;
}

ProgressiveFigures ComputeProgressiveFigures(const DataSet& data, std::vector<ProgressivePoint>* path) {
    if (data.rangeCount <= 0) return ComputeProgressiveFigures(data, 0, -1, data.rangeInterval, path);
    return ComputeProgressiveFigures(data, data.rangeFirst, data.rangeLast, data.rangeInterval, path);
}

}  // namespace corvan
