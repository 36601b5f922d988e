#pragma once
// The texts of the statistical summary page, the current speed / direction
// matrix and the information panel above them. The desktop's widgets and
// the command line show the same texts; numbers on the summary page use the
// decimal separator the caller passes (the system's).

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_set.h"
#include "graphs/statistics.h"

namespace corvan {

inline constexpr const char* kSummaryTitle = "STATISTICAL SUMMARY";
inline constexpr const char* kMatrixTitle = "CURRENT SPEED / DIRECTION MATRIX";

inline constexpr const char* kSummaryColumnTotal = "Total";
inline constexpr const char* kSummaryColumnEastWest = "East / west";
inline constexpr const char* kSummaryColumnNorthSouth = "North / south";
inline constexpr const char* kSummaryRowMean = "Mean current speed (cm/s)";
inline constexpr const char* kSummaryRowVariance = "Variance (cm/s)²";
inline constexpr const char* kSummaryRowStdDev = "Standard deviation (cm/s)";
inline constexpr const char* kSummaryRowRelStdDev = "Mean standard deviation";
inline constexpr const char* kSummaryRowMaxSpeed = "Maximum current velocity";
inline constexpr const char* kSummaryRowMinSpeed = "Minimum  current velocity";
inline constexpr const char* kSummaryRowSignificantMax = "Significant max velocity";
inline constexpr const char* kSummaryRowSignificantMin = "Significant min velocity";
inline constexpr const char* kValidMeasurementsCaption = "Valid measurements";
inline constexpr const char* kValidVelocityCaption = "Velocity";
inline constexpr const char* kValidDirectionCaption = "Dir";
inline constexpr const char* kValidTemperatureCaption = "Temp";

// Index 0 total, 1 north/south, 2 east/west, as the statistics order them;
// the page shows the columns Total, East / west, North / south.
struct SummaryPageTexts {
    std::array<std::string, 3> mean;
    std::array<std::string, 3> variance;
    std::array<std::string, 3> stdDev;
    std::array<std::string, 3> relStdDev;
    std::string maxSpeed, minSpeed;
    std::string significantMax, significantMin;
    std::string validSpeed, validDirection, validTemperature;
    bool validRowVisible = false;
};

// The "Valid measurements" row is shown when any count differs from the
// number of records in the range.
bool ValidMeasurementsRowVisible(const DataSet& data, const StatisticalSummary& summary);
SummaryPageTexts SummaryTexts(const DataSet& data, const Statistics& stats, std::string_view decimalSeparator);

// The matrix grid, [row][column]: 27 rows, 17 columns or 19 with a particle
// or oxygen sensor. Captions are always there; the data cells only while the
// statistics are valid. Row 0 holds the merged captions in the cells the grid
// draws them from: column 1 (spanning 1..13), 15 (14..15), 16 and 18 (17..18).
inline constexpr int kMatrixRowCount = 27;
inline constexpr int kMatrixFixedRows = 2;
inline constexpr int kMatrixSumRow = 26;
inline constexpr int kMatrixColumnsPlain = 17;
inline constexpr int kMatrixColumnsWithSensorFlux = 19;
inline constexpr int kMatrixSumColumn = 13;
inline constexpr int kMatrixFlowColumn = 14;
inline constexpr int kMatrixFlowPercentColumn = 15;
inline constexpr int kMatrixMaxColumn = 16;
inline constexpr int kMatrixSensorFluxColumn = 17;
inline constexpr int kMatrixSensorPercentColumn = 18;

inline constexpr const char* kSpeedGroupsCaption = "Current speed groups";
inline constexpr const char* kSumPercentCaption = "Sum%";
inline constexpr const char* kTotalFlowCaption = "Total flow";
inline constexpr const char* kFlowUnitCaption = "m³/m²";
inline constexpr const char* kPercentCaption = "%";
inline constexpr const char* kMaxCaption = "Max";
inline constexpr const char* kCurrCaption = "curr";
inline constexpr const char* kParticleFluxCaption = "Tot. part. flux";
inline constexpr const char* kOxygenFluxCaption = "Tot. Ox. flux";
inline constexpr const char* kTurbidityFluxUnit = "FTU g";
inline constexpr const char* kFluorescenceFluxUnit = "mg";
inline constexpr const char* kOxygenFluxUnit = "g/m²";

using TextGrid = std::vector<std::vector<std::string>>;

bool MatrixHasSensorFlux(const MeasurementFileHeader& header);
int MatrixColumnCount(const MeasurementFileHeader& header);
TextGrid MatrixCellTexts(const DataSet& data, const Statistics& stats);

// The labels of the information panel.
inline constexpr const char* kFileNamePrefix = "File name: ";
inline constexpr const char* kSeriesNumberPrefix = "Series number: ";
inline constexpr const char* kRefNumberPrefix = "Ref. number: ";
inline constexpr const char* kIntervalTimePrefix = "Interval time: ";
inline constexpr const char* kDisplayedFromPrefix = "Data displayed from: ";
inline constexpr const char* kDisplayedToPrefix = "   To: ";
inline constexpr const char* kMeasurementCountPrefix = "Number of measurements in data set: ";
inline constexpr const char* kMinutesSuffix = " Minutes";

struct InformationPanelTexts {
    std::string fileName;
    std::string seriesNumber;
    std::string refNumber;
    std::string intervalTime;
    std::string displayedFromTo;
    std::string measurementCount;
};
// Bare prefixes while the statistics are not valid. `fileName` is the name
// with extension the user opened.
InformationPanelTexts InformationTexts(const DataSet& data, const std::string& fileName);
// 600 s: "10"; 90 s: "1:30".
std::string IntervalMinutesText(int seconds);
// "12:10 - 25.Feb-97".
std::string PanelTimeText(DateTime t);

// Plain-text pictures of the two pages for a fixed-width terminal.
std::string SummaryPageAsText(const SummaryPageTexts& texts);
std::string MatrixPageAsText(const TextGrid& cells);

}  // namespace corvan
