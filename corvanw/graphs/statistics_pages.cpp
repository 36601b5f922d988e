#include "graphs/statistics_pages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "graphs/number_format.h"

namespace corvan {

namespace {

constexpr int kSpeedWidth = 6;
constexpr int kSpreadWidth = 8;
constexpr int kSpreadDecimals = 3;

// A share in percent; a zero (or unusable) total shows as no share at all.
std::string PercentOf(double part, double total, int width, int decimals) {
    const double p = part * 100.0 / total;
    if (total == 0.0 || !std::isfinite(p)) return "0.0";
    return FixedText(p, width, decimals);
}

std::string PadLeft(const std::string& s, std::size_t width) {
    const std::size_t n = DisplayLength(s);
    return n >= width ? s : std::string(width - n, ' ') + s;
}

std::string PadRight(const std::string& s, std::size_t width) {
    const std::size_t n = DisplayLength(s);
    return n >= width ? s : s + std::string(width - n, ' ');
}

std::string Centre(const std::string& s, std::size_t width) {
    const std::size_t n = DisplayLength(s);
    if (n >= width) return s;
    const std::size_t left = (width - n) / 2;
    return std::string(left, ' ') + s + std::string(width - n - left, ' ');
}

std::string TrimLeading(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b);
}

}  // namespace

bool ValidMeasurementsRowVisible(const DataSet& data, const StatisticalSummary& summary) {
    return summary.validSpeedCount != data.rangeCount || summary.validDirectionCount != data.rangeCount ||
           summary.validTemperatureCount != data.rangeCount;
}

SummaryPageTexts SummaryTexts(const DataSet& data, const Statistics& stats, std::string_view decimalSeparator) {
    const StatisticalSummary& s = stats.summary;
    const int speedDecimals = Channel(kChSpeed).decimals;
    auto speed = [&](double v) { return FormatAligned(v, speedDecimals, kSpeedWidth, decimalSeparator); };
    auto spread = [&](double v) { return FormatAligned(v, kSpreadDecimals, kSpreadWidth, decimalSeparator); };
    SummaryPageTexts t;
    for (std::size_t k = 0; k < 3; ++k) {
        t.mean[k] = speed(s.mean[k]);
        t.variance[k] = spread(s.variance[k]);
        t.stdDev[k] = spread(s.stdDev[k]);
        t.relStdDev[k] = spread(s.relStdDev[k]);
    }
    t.maxSpeed = speed(s.maxSpeed);
    t.minSpeed = speed(s.minSpeed);
    t.significantMax = speed(s.significantMax);
    t.significantMin = speed(s.significantMin);
    t.validSpeed = std::to_string(s.validSpeedCount);
    t.validDirection = std::to_string(s.validDirectionCount);
    t.validTemperature = std::to_string(s.validTemperatureCount);
    t.validRowVisible = ValidMeasurementsRowVisible(data, s);
    return t;
}

bool MatrixHasSensorFlux(const MeasurementFileHeader& header) { return HasFlux(header) || HasOxygen(header); }

int MatrixColumnCount(const MeasurementFileHeader& header) {
    return MatrixHasSensorFlux(header) ? kMatrixColumnsWithSensorFlux : kMatrixColumnsPlain;
}

TextGrid MatrixCellTexts(const DataSet& data, const Statistics& stats) {
    const MeasurementFileHeader& h = data.header;
    const int columns = MatrixColumnCount(h);
    const bool sensorFlux = MatrixHasSensorFlux(h);
    TextGrid g(kMatrixRowCount, std::vector<std::string>(static_cast<std::size_t>(columns)));
    auto cell = [&](int row, int col) -> std::string& {
        return g[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
    };

    cell(0, 1) = kSpeedGroupsCaption;
    cell(1, kMatrixSumColumn) = kSumPercentCaption;
    cell(0, kMatrixFlowPercentColumn) = kTotalFlowCaption;
    cell(1, kMatrixFlowColumn) = kFlowUnitCaption;
    cell(1, kMatrixFlowPercentColumn) = kPercentCaption;
    cell(0, kMatrixMaxColumn) = kMaxCaption;
    cell(1, kMatrixMaxColumn) = kCurrCaption;
    if (sensorFlux) {
        cell(0, kMatrixSensorPercentColumn) = HasFlux(h) ? kParticleFluxCaption : kOxygenFluxCaption;
        cell(1, kMatrixSensorFluxColumn) =
            HasOxygen(h) ? kOxygenFluxUnit : (h.sensorKind == 3 ? kFluorescenceFluxUnit : kTurbidityFluxUnit);
        cell(1, kMatrixSensorPercentColumn) = kPercentCaption;
    }
    // Until a range is shown the header carries the first set of classes.
    const SectorStatistics& sec = stats.sectors;
    const SpeedClassRow& bounds = SpeedClassBounds(data.statisticsValid ? sec.speedRange : 1);
    for (int c = 1; c <= kSpeedClassCount; ++c) cell(1, c) = std::to_string(bounds[static_cast<std::size_t>(c)]);
    for (int s = 1; s <= kSectorCount; ++s) cell(s + 1, 0) = std::to_string((s - 1) * 15);
    cell(kMatrixSumRow, 0) = kSumPercentCaption;
    if (!data.statisticsValid) return g;

    const StatisticalSummary& sum = stats.summary;
    const double n = sum.validSpeedCount > 0 ? sum.validSpeedCount : 1;
    for (int s = 1; s <= kSectorCount; ++s) {
        const auto i = static_cast<std::size_t>(s - 1);
        const int row = s + 1;
        for (int c = 1; c <= kSpeedClassCount; ++c)
            cell(row, c) = std::to_string(sec.matrixCount[i][static_cast<std::size_t>(c - 1)]);
        cell(row, kMatrixSumColumn) = FixedText(sec.sectorCount[i] * 100.0 / n, 5, 1);
        cell(row, kMatrixFlowColumn) = FixedText(sec.sectorWaterFlux[i], 6, 0);
        cell(row, kMatrixFlowPercentColumn) = PercentOf(sec.sectorWaterFlux[i], sec.totalWaterFlux, 1, 1);
        cell(row, kMatrixMaxColumn) = FixedText(sec.sectorMaxSpeed[i], 5, 1);
        if (sensorFlux) {
            cell(row, kMatrixSensorFluxColumn) = FixedText(sec.sectorSensorFlux[i], 6, 0);
            cell(row, kMatrixSensorPercentColumn) = PercentOf(sec.sectorSensorFlux[i], sec.totalSensorFlux, 1, 1);
        }
    }
    for (int c = 1; c <= kSpeedClassCount; ++c)
        cell(kMatrixSumRow, c) = FixedText(sec.classCount[static_cast<std::size_t>(c - 1)] * 100.0 / n, 1, 1);
    cell(kMatrixSumRow, kMatrixFlowColumn) = FixedText(sec.totalWaterFlux, 6, 0);
    cell(kMatrixSumRow, kMatrixMaxColumn) = FixedText(sum.maxSpeed, 5, 1);
    if (sensorFlux) cell(kMatrixSumRow, kMatrixSensorFluxColumn) = FixedText(sec.totalSensorFlux, 6, 0);
    return g;
}

std::string IntervalMinutesText(int seconds) {
    if (seconds % 60 == 0) return std::to_string(seconds / 60);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d", seconds / 60, std::abs(seconds % 60));
    return buf;
}

std::string PanelTimeText(DateTime t) {
    const CivilTime c = t.ToCivil();
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d:%02d - %02d.%s-%02d", c.hour, c.minute, c.day, MonthAbbreviation(c.month),
                  ((c.year % 100) + 100) % 100);
    return buf;
}

InformationPanelTexts InformationTexts(const DataSet& data, const std::string& fileName) {
    InformationPanelTexts t{kFileNamePrefix,     kSeriesNumberPrefix,  kRefNumberPrefix,
                            kIntervalTimePrefix, kDisplayedFromPrefix, kMeasurementCountPrefix};
    if (!data.statisticsValid) return t;
    const int series = data.currentSeries;
    t.fileName += fileName;
    t.seriesNumber += std::to_string(series);
    t.refNumber += std::to_string(data.header.referenceNumber);
    t.intervalTime += IntervalMinutesText(data.rangeInterval) + kMinutesSuffix;
    t.displayedFromTo += PanelTimeText(RecordTime(data, data.rangeFirst, series)) + kDisplayedToPrefix +
                         PanelTimeText(RecordTime(data, data.rangeLast, series));
    t.measurementCount += std::to_string(data.rangeCount);
    return t;
}

std::string SummaryPageAsText(const SummaryPageTexts& t) {
    constexpr std::size_t kValueWidth = 15;
    const char* rows[] = {kSummaryRowMean,           kSummaryRowVariance,      kSummaryRowStdDev,
                          kSummaryRowRelStdDev,      kSummaryRowMaxSpeed,      kSummaryRowMinSpeed,
                          kSummaryRowSignificantMax, kSummaryRowSignificantMin};
    std::size_t captionWidth = 0;
    for (const char* r : rows) captionWidth = std::max(captionWidth, DisplayLength(r));
    captionWidth += 2;

    std::string out = std::string(kSummaryTitle) + "\n\n";
    out += PadRight("", captionWidth) + PadLeft(kSummaryColumnTotal, kValueWidth) +
           PadLeft(kSummaryColumnEastWest, kValueWidth) + PadLeft(kSummaryColumnNorthSouth, kValueWidth) + "\n";
    // Columns in page order: total, east/west (index 2), north/south (index 1).
    auto three = [&](const char* caption, const std::array<std::string, 3>& v) {
        out += PadRight(caption, captionWidth) + PadLeft(TrimLeading(v[0]), kValueWidth) +
               PadLeft(TrimLeading(v[2]), kValueWidth) + PadLeft(TrimLeading(v[1]), kValueWidth) + "\n";
    };
    auto one = [&](const char* caption, const std::string& v) {
        out += PadRight(caption, captionWidth) + PadLeft(TrimLeading(v), kValueWidth) + "\n";
    };
    three(kSummaryRowMean, t.mean);
    three(kSummaryRowVariance, t.variance);
    three(kSummaryRowStdDev, t.stdDev);
    three(kSummaryRowRelStdDev, t.relStdDev);
    one(kSummaryRowMaxSpeed, t.maxSpeed);
    one(kSummaryRowMinSpeed, t.minSpeed);
    one(kSummaryRowSignificantMax, t.significantMax);
    one(kSummaryRowSignificantMin, t.significantMin);
    if (t.validRowVisible) {
        out += "\n" + PadRight(kValidMeasurementsCaption, captionWidth) + kValidVelocityCaption + " " + t.validSpeed +
               "   " + kValidDirectionCaption + " " + t.validDirection + "   " + kValidTemperatureCaption + " " +
               t.validTemperature + "\n";
    }
    return out;
}

std::string MatrixPageAsText(const TextGrid& cells) {
    if (cells.empty()) return {};
    const std::size_t columns = cells[0].size();
    std::vector<std::size_t> width(columns, 5);
    for (std::size_t r = 1; r < cells.size(); ++r)
        for (std::size_t c = 0; c < columns && c < cells[r].size(); ++c)
            width[c] = std::max(width[c], DisplayLength(cells[r][c]) + 1);

    // Row 0 holds captions drawn across several columns.
    struct Span {
        std::size_t first, last, source;
    };
    std::vector<Span> spans = {{1, 13, 1}, {14, 15, 15}, {16, 16, 16}};
    if (columns > 18) spans.push_back({17, 18, 18});
    for (const Span& s : spans) {
        std::size_t w = 0;
        for (std::size_t c = s.first; c <= s.last; ++c) w += width[c];
        const std::size_t need = DisplayLength(cells[0][s.source]) + 2;
        if (need > w) width[s.last] += need - w;
    }

    std::string out = std::string(kMatrixTitle) + "\n\n" + std::string(width[0], ' ');
    for (const Span& s : spans) {
        std::size_t w = 0;
        for (std::size_t c = s.first; c <= s.last; ++c) w += width[c];
        out += Centre(cells[0][s.source], w);
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    out += "\n";
    std::size_t total = 0;
    for (std::size_t w : width) total += w;
    for (std::size_t r = 1; r < cells.size(); ++r) {
        if (r == static_cast<std::size_t>(kMatrixSumRow)) out += std::string(total, '-') + "\n";
        std::string line;
        for (std::size_t c = 0; c < columns; ++c) line += PadLeft(cells[r][c], width[c]);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
    return out;
}

}  // namespace corvan
