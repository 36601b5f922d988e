// corvan stats FILE [--series S] [--first A] [--last B] [--json]: the
// statistics of a range, chosen and clamped as the range dialog does.

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <locale>
#include <string>
#include <type_traits>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "data/series_range.h"
#include "graphs/statistics.h"
#include "graphs/statistics_pages.h"

namespace corvan::cli {
namespace {

// The separator of the user's locale, as the desktop's summary page uses it;
// the global C++ locale stays "C" so the JSON numbers keep their point.
std::string LocaleDecimalSeparator() {
    try {
        return std::string(1, std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point());
    } catch (const std::exception&) {
        return ".";
    }
}

template <typename T, std::size_t N>
std::string JsonArray(const std::array<T, N>& values) {
    std::string out = "[";
    for (std::size_t i = 0; i < N; ++i) {
        if (i) out += ", ";
        if constexpr (std::is_integral_v<T>) {
            out += std::to_string(values[i]);
        } else {
            out += JsonNumber(values[i]);
        }
    }
    return out + "]";
}

std::string Json(const DataSet& data, const ScaleSettings& scale, const Statistics& stats) {
    const StatisticalSummary& s = stats.summary;
    const SectorStatistics& sec = stats.sectors;
    const ProgressiveFigures& p = stats.progressive;
    std::string o = "{\"range\": {";
    o += "\"series\": " + std::to_string(data.currentSeries);
    o += ", \"first\": " + std::to_string(data.rangeFirst);
    o += ", \"last\": " + std::to_string(data.rangeLast);
    o += ", \"count\": " + std::to_string(data.rangeCount);
    o += ", \"interval\": " + std::to_string(data.rangeInterval) + "}";
    o += ",\n \"summary\": {";
    o += "\"valid_speed\": " + std::to_string(s.validSpeedCount);
    o += ", \"valid_direction\": " + std::to_string(s.validDirectionCount);
    o += ", \"valid_temperature\": " + std::to_string(s.validTemperatureCount);
    o += ", \"mean\": " + JsonArray(s.mean);
    o += ", \"variance\": " + JsonArray(s.variance);
    o += ", \"std_dev\": " + JsonArray(s.stdDev);
    o += ", \"rel_std_dev\": " + JsonArray(s.relStdDev);
    o += ", \"max_speed\": " + JsonNumber(s.maxSpeed);
    o += ", \"min_speed\": " + JsonNumber(s.minSpeed);
    o += ", \"significant_max\": " + JsonNumber(s.significantMax);
    o += ", \"significant_min\": " + JsonNumber(s.significantMin) + "}";
    o += ",\n \"speed_range\": " + std::to_string(sec.speedRange);
    o += ", \"class_bounds\": " + JsonArray(SpeedClassBounds(sec.speedRange));
    o += ",\n \"sectors\": {";
    o += "\"count\": " + JsonArray(sec.sectorCount);
    o += ", \"water_flux\": " + JsonArray(sec.sectorWaterFlux);
    o += ", \"max_speed\": " + JsonArray(sec.sectorMaxSpeed);
    o += ", \"sensor_flux\": " + JsonArray(sec.sectorSensorFlux) + "}";
    o += ",\n \"classes\": " + JsonArray(sec.classCount);
    o += ",\n \"matrix\": [";
    for (std::size_t i = 0; i < sec.matrixCount.size(); ++i) o += (i ? ", " : "") + JsonArray(sec.matrixCount[i]);
    o += "]";
    o += ",\n \"total_water_flux\": " + JsonNumber(sec.totalWaterFlux);
    o += ", \"total_sensor_flux\": " + JsonNumber(sec.totalSensorFlux);
    o += ",\n \"progressive\": {";
    o += "\"neumann\": " + JsonNumber(p.neumann);
    o += ", \"rest_speed\": " + JsonNumber(p.restSpeed);
    o += ", \"rest_direction\": " + JsonNumber(p.restDirection);
    o += ", \"average_speed\": " + JsonNumber(p.averageSpeed);
    o += ", \"plotted\": " + std::to_string(p.plottedCount) + "}";
    o += ",\n \"scale\": {";
    o += "\"speed_min\": " + JsonNumber(scale.speedMin);
    o += ", \"speed_max\": " + JsonNumber(scale.speedMax);
    o += ", \"temperature_min\": " + JsonNumber(scale.temperatureMin);
    o += ", \"temperature_max\": " + JsonNumber(scale.temperatureMax);
    o += ", \"optional_min\": " + JsonNumber(scale.optionalMin);
    o += ", \"optional_max\": " + JsonNumber(scale.optionalMax);
    o += ", \"oxygen_mgl_min\": " + JsonNumber(scale.oxygenMglMin);
    o += ", \"oxygen_mgl_max\": " + JsonNumber(scale.oxygenMglMax);
    o += ", \"particle_flux_min\": " + JsonNumber(scale.particleFluxMin);
    o += ", \"particle_flux_max\": " + JsonNumber(scale.particleFluxMax);
    o += ", \"oxygen_flux_min\": " + JsonNumber(scale.oxygenFluxMin);
    o += ", \"oxygen_flux_max\": " + JsonNumber(scale.oxygenFluxMax);
    o += ", \"speed_bar_max\": " + std::to_string(scale.speedBarMax);
    o += ", \"direction_bar_max\": " + std::to_string(scale.directionBarMax) + "}}\n";
    return o;
}

std::string Text(const DataSet& data, const Statistics& stats) {
    const std::string fileName = std::filesystem::path(MeasurementFileName(data.baseName)).filename().string();
    const InformationPanelTexts info = InformationTexts(data, fileName);
    std::string o = info.fileName + "\n" + info.seriesNumber + "\n" + info.refNumber + "\n" + info.intervalTime + "\n" +
                    info.displayedFromTo + "\n" + info.measurementCount + "\n\n";
    o += SummaryPageAsText(SummaryTexts(data, stats, LocaleDecimalSeparator()));
    o += "\n";
    o += MatrixPageAsText(MatrixCellTexts(data, stats));
    return o;
}

int RunStats(const std::vector<std::string>& args) {
    CLI::App app = CommandApp("stats", "The summary and the speed/direction matrix of a range of one series.");
    std::string file;
    bool json = false;
    long long series = 1;
    long long first = 0;  // 0: not given
    long long last = 0;
    app.add_option("FILE", file, "measurement file (base name or .CVN)")->required();
    app.add_option("--series", series, "series number (from 1)")->check(WholeNumberFrom(1));
    app.add_option("--first", first, "first measurement number (default: the series' first)")
        ->check(WholeNumberFrom(1));
    app.add_option("--last", last, "last measurement number (default: the series' last)")->check(WholeNumberFrom(1));
    app.add_flag("--json", json, "one JSON object instead of text");
    if (const auto status = ParseCommandLine(app, args)) return *status;
    DataSet data;
    if (!OpenFileSet(file, data)) return kExitFailure;
    RangeRequest request{static_cast<int>(std::min<long long>(series, std::numeric_limits<int>::max())), std::nullopt,
                         std::nullopt};
    if (first != 0) request.first = first;
    if (last != 0) request.last = last;
    const std::string refused = SelectSeriesRange(data, request);
    if (!refused.empty()) return UsageError("stats: " + refused + " in " + MeasurementFileName(data.baseName));

    ScaleSettings scale;
    Statistics stats;
    ComputeStatistics(data, scale, stats);
    const std::string out = json ? Json(data, scale, stats) : Text(data, stats);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

const CommandRegistrar kStats("stats",
                              "stats FILE [--series S] [--first A] [--last B] [--json]  summary and matrix of a range",
                              &RunStats);

}  // namespace
}  // namespace corvan::cli
