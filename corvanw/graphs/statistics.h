#pragma once
// Every statistic of the selected range: the summary (means, variances,
// significant speeds), the direction sectors and speed classes, and the
// figures of the progressive vector. One Statistics object lives beside the
// DataSet it describes and is recomputed whenever range, scaling or data
// change.

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "data/data_set.h"
#include "graphs/scale_settings.h"

namespace corvan {

inline constexpr int kSectorCount = 24;
inline constexpr int kSpeedClassCount = 12;
inline constexpr double kSectorWidthDegrees = 15.0;

// Class boundaries in cm/s, one row per speed range; class c (1..12) holds
// B[c-1] < v <= B[c], class 1 also everything below, class 12 everything
// above B[11].
using SpeedClassRow = std::array<int, kSpeedClassCount + 1>;
const std::array<SpeedClassRow, kSpeedRangeCount>& SpeedClassTable();
const SpeedClassRow& SpeedClassBounds(int speedRange);

// 1-based class of speed v in the given speed range.
int SpeedClassOf(float speed, int speedRange);

// SpeedClassOf of one speed range as a table, for passes over many records.
// The bounds are whole numbers, so B < v holds exactly when B < ceil(v), and
// v falls in the class of the whole number ceil(v).
class SpeedClassLookup {
public:
    explicit SpeedClassLookup(int speedRange);
    // Not for NaN, which has no class.
    int ClassOf(float v) const {
        // Clamped into 0 .. B[11] + 1 first: everything below keeps class 1,
        // everything above class 12, and ceil() stays in int range.
        const float c = std::min(std::max(v, 0.0f), top_);
        int n = static_cast<int>(c);
        n += static_cast<float>(n) < c ? 1 : 0;
        return table_[static_cast<std::size_t>(n)];
    }

private:
    std::vector<std::uint8_t> table_;
    float top_;  // B[11] + 1
};
// 1-based sector of a stored direction in radians; a missing (negative)
// direction and one that cannot be rounded count in sector 1.
int SectorOf(float directionRadians);
int SectorOfDegrees(double degrees);
// The speed range the automatic scaling picks for a largest speed.
int AutomaticSpeedRange(float maxSpeed);

struct StatisticalSummary {
    int validSpeedCount = 0;
    int validDirectionCount = 0;
    int validTemperatureCount = 0;
    // Index 0 total speed, 1 north/south (cosine), 2 east/west (sine).
    std::array<double, 3> mean{};
    std::array<double, 3> variance{};
    std::array<double, 3> stdDev{};
    std::array<double, 3> relStdDev{};
    float maxSpeed = 0.0f;
    float minSpeed = 0.0f;
    float significantMax = 0.0f;
    float significantMin = 0.0f;
};

struct SectorStatistics {
    // The speed range whose classes the counts below use.
    int speedRange = 1;
    // Index s - 1 for sector s, c - 1 for class c.
    std::array<int, kSectorCount> sectorCount{};
    std::array<float, kSectorCount> sectorWaterFlux{};
    std::array<float, kSectorCount> sectorMaxSpeed{};
    std::array<float, kSectorCount> sectorSensorFlux{};
    std::array<int, kSpeedClassCount> classCount{};
    std::array<std::array<int, kSpeedClassCount>, kSectorCount> matrixCount{};
    double totalWaterFlux = 0.0;
    double totalSensorFlux = 0.0;
    // In manual scaling these hold the user's bar maxima, not the data's.
    int maxClassCount = 0;
    int maxSectorCount = 0;
    float maxSectorSensorFlux = 0.0f;
};

struct ProgressiveFigures {
    float neumann = 0.0f;
    float restSpeed = 0.0f;      // cm/s
    float restDirection = 0.0f;  // degrees, 0 <= d < 360
    float averageSpeed = 0.0f;   // cm/s
    int plottedCount = 0;
};

// Working storage of one recomputation, kept so that a range of 32767
// records costs no allocation after the first.
struct StatisticsScratch {
    std::vector<double> northSouth;  // |cos d * v| of each valid speed
    std::vector<double> eastWest;    // |sin d * v| of each valid speed
    std::vector<double> oxygen;      // oxygen mg/l of each record of the range
    std::vector<std::uint32_t> keys, keysTemp;
};

struct Statistics {
    StatisticalSummary summary;
    SectorStatistics sectors;
    // Over the range; zero without current.
    ProgressiveFigures progressive;
    StatisticsScratch scratch;
};

// Summary pass, scale update and (with current) sector pass over the data
// set's range, then sets statistics-valid when the range lies inside the
// records. Uses the range interval of the data set as dt.
void ComputeStatistics(DataSet& data, ScaleSettings& scale, Statistics& stats);

// The sector pass alone, over the data set's range.
void ComputeSectorStatistics(const DataSet& data, ScaleSettings& scale, Statistics& stats);

// Mean of the highest / lowest third of the range's speeds (N div 3 of
// them, N the valid speed count); 0 without current or when N < 3.
float SignificantMaximum(const DataSet& data, int validSpeedCount);
float SignificantMinimum(const DataSet& data, int validSpeedCount);
// The same over a plain run of speeds, for callers with their own records.
float SignificantMaximum(const float* speeds, std::size_t count, int validSpeedCount);
float SignificantMinimum(const float* speeds, std::size_t count, int validSpeedCount);

// One point of the progressive vector path, in metres from the start.
struct ProgressivePoint {
    double east = 0.0;
    double north = 0.0;
    bool valid = true;  // false: the line breaks here
};

// Walks records first..last with interval dt. When `path` is given it gets
// the origin and then one point per record (invalid where the record lacks
// speed or direction).
ProgressiveFigures ComputeProgressiveFigures(const DataSet& data, int first, int last, int dt,
                                             std::vector<ProgressivePoint>* path = nullptr);
// Over the data set's range and range interval.
ProgressiveFigures ComputeProgressiveFigures(const DataSet& data, std::vector<ProgressivePoint>* path = nullptr);

}  // namespace corvan
