// corvan merge-gps: temperatures of a run of records in one file copied into
// a run of records of a position logger's file, paired one for one.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "cli/tool_cli.h"
#include "data/series_range.h"
#include "tools/gps_merge.h"

namespace corvan::cli {
namespace {

struct SideOptions {
    std::string file;
    long long series = 1;
    std::optional<long long> first;
    std::optional<long long> last;
};

void AddSide(CLI::App& app, SideOptions& o, const std::string& letter, const std::string& fileOption,
             const std::string& what) {
    app.add_option(fileOption, o.file, what + " (base name or .CVN)")->required();
    app.add_option("--" + letter + "-series", o.series, "series of the " + what + " (default 1)");
    app.add_option("--" + letter + "-first", o.first,
                   "first measurement of the run, 1-based (default: the series' first)");
    app.add_option("--" + letter + "-last", o.last, "last measurement of the run, 1-based (default: the series' last)");
}

// Checks the side's file and chooses its run; the refusal on stderr and
// kExitFailure otherwise.
std::optional<int> PrepareSide(MergeSide side, const SideOptions& o, MergeSideState& state) {
    state.baseName = BaseNameOfArgument(o.file);
    const std::string cvn = MeasurementFileName(state.baseName);
    if (!FileExists(cvn)) return ToolFailure(cvn, MergeFileNotFoundText(state.baseName));
    const auto header = ReadHeaderRecord(state.baseName);
    const std::string refusal = CheckMergeFile(side, header);
    if (!refusal.empty()) return ToolFailure(cvn, refusal);
    if (side == MergeSide::Temperature) {
        const std::string upgrade = UpgradeTemperatureFile(state.baseName);
        if (!upgrade.empty()) return ToolFailure(cvn, upgrade);
    }
    state.header = *ReadHeaderRecord(state.baseName);
    state.seriesCount = ReadSeriesTableOfVersion(state.baseName, state.series);
    if (state.seriesCount < 0)
        return ToolFailure(ReferenceFileName(state.baseName), "Fatal error. Reference file not found.");

    // The range is chosen as the range dialog chooses it, on the side's own
    // series table.
    DataSet table;
    table.header = state.header;
    table.series = state.series;
    table.seriesCount = state.seriesCount;
    RangeRequest request;
    request.series = static_cast<int>(o.series);
    request.first = o.first;
    request.last = o.last;
    const std::string outside = SelectSeriesRange(table, request);
    if (!outside.empty()) return ToolFailure(cvn, outside);
    state.currentSeries = table.currentSeries;
    state.first = table.rangeFirst + 1;
    state.last = table.rangeLast + 1;
    return std::nullopt;
}

int RunMergeGps(const std::vector<std::string>& args) {
    CLI::App app(
        "Import temperature data into a GPS file: the temperatures of a run of the temperature\n"
        "file's measurements replace those of a run of the GPS file's, one for one; the GPS file\n"
        "is rewritten, the old one kept as backup. An older temperature file is upgraded first.",
        "corvan merge-gps");
    SideOptions t;
    SideOptions g;
    AddSide(app, t, "t", "--temperature", "temperature file");
    AddSide(app, g, "g", "--gps", "GPS file");
    if (const auto status = ParseToolOptions(app, args)) return *status;

    MergeSideState ts;
    MergeSideState gs;
    if (const auto failed = PrepareSide(MergeSide::Temperature, t, ts)) return *failed;
    if (const auto failed = PrepareSide(MergeSide::Gps, g, gs)) return *failed;
    DataSet gps;
    const MergeOutcome o = RunGpsMerge(ts, gs, gps);
    const std::string gpsFile = MeasurementFileName(gs.baseName);
    if (!o.message.empty()) return ToolFailure(gpsFile, o.message);
    std::printf("%s: %d temperatures from measurements %d..%d of %s into measurements from %d on\n", gpsFile.c_str(),
                o.copied, ts.first, ts.last, MeasurementFileName(ts.baseName).c_str(), gs.first);
    return kExitOk;
}

const CommandRegistrar kMergeGps("merge-gps",
                                 "merge-gps --temperature T [--t-series S] [--t-first A] [--t-last B] --gps G "
                                 "[--g-series S] [--g-first A] [--g-last B]  temperatures into a GPS file",
                                 &RunMergeGps);

}  // namespace
}  // namespace corvan::cli
