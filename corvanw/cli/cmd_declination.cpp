// corvan declination FILE --degrees D [--series N]: magnetic directions to
// true ones, the old measurement file kept as a backup.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>
#include <vector>

#include "analysis/declination.h"
#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "data/series_range.h"

namespace corvan::cli {
namespace {

int RunDeclination(const std::vector<std::string>& args) {
    CLI::App app{"Rotates every valid current direction by the magnetic declination (degrees east).",
                 "corvan declination"};
    std::string file;
    double degrees = 0;
    int series = 0;
    app.add_option("FILE", file, "measurement file set (base name or .CVN)")->required();
    app.add_option("--degrees", degrees, "declination, degrees east (west negative)")
        ->required()
        ->check(CLI::Range(-180.0, 180.0));
    auto* seriesOption = app.add_option("--series", series, "only this series (from 1)")->check(CLI::PositiveNumber);
    if (const auto status = ParseCommandLine(app, args)) return *status;

    DataSet data;
    if (!OpenFileSet(file, data)) return kExitFailure;
    const std::string cvn = MeasurementFileName(data.baseName);
    if (seriesOption->count()) {
        // Refuses a series the file does not have before anything is turned.
        RangeRequest request;
        request.series = series;
        if (const std::string why = SelectSeriesRange(data, request); !why.empty()) {
            std::fprintf(stderr, "%s: %s\n", cvn.c_str(), why.c_str());
            return kExitFailure;
        }
    }
    int rotated = 0;
    if (const std::string why = ApplyDeclination(data, degrees, seriesOption->count() ? series : 0, &rotated);
        !why.empty()) {
        std::fprintf(stderr, "%s: %s\n", cvn.c_str(), why.c_str());
        return kExitFailure;
    }
    std::printf("%s: %d directions turned by %g degrees\n", cvn.c_str(), rotated, degrees);
    return kExitOk;
}

const CommandRegistrar kDeclination("declination",
                                    "declination FILE --degrees D [--series N]  correct directions for the "
                                    "magnetic declination",
                                    &RunDeclination);

}  // namespace
}  // namespace corvan::cli
