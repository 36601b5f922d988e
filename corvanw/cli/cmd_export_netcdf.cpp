// corvan export-netcdf FILE [--all | --series N | --first A --last B]
//   [--lat L --lon L] [--depth D] [--site CODE] [--institution TEXT]
//   [--pi NAME] -o OUT.nc [--force]
// Writes the data-exchange file the desktop's Export writes for the same
// choices.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "data/file_error.h"
#include "data/series_range.h"
#include "exchange/netcdf_writer.h"

namespace corvan::cli {
namespace {

constexpr const char* kName = "export-netcdf";

int RunExportNetcdf(const std::vector<std::string>& args) {
    CLI::App app("Writes measurements as a CF/OceanSITES NetCDF file", std::string("corvan ") + kName);
    std::string file;
    std::string output;
    bool all = false;
    bool force = false;
    std::optional<int> series;
    std::optional<long long> firstNumber;
    std::optional<long long> lastNumber;
    std::optional<double> latitude;
    std::optional<double> longitude;
    std::optional<double> depth;
    DeploymentSite site;

    app.add_option("FILE", file, "measurement file set (base name or .CVN)")->required();
    auto* allOption = app.add_flag("--all", all, "every measurement in the file (the default)");
    auto* seriesOption = app.add_option("--series", series, "one series, numbered from 1");
    auto* firstOption = app.add_option("--first", firstNumber, "first measurement number (from 1)");
    auto* lastOption = app.add_option("--last", lastNumber, "last measurement number (from 1)");
    allOption->excludes(seriesOption, firstOption, lastOption);
    app.add_option("--lat", latitude, "latitude of the site in degrees north");
    app.add_option("--lon", longitude, "longitude of the site in degrees east");
    app.add_option("--depth", depth, "instrument depth in metres");
    app.add_option("--site", site.siteCode, "site code");
    app.add_option("--institution", site.institution, "institution answerable for the data");
    app.add_option("--pi", site.principalInvestigator, "principal investigator");
    app.add_option("-o", output, "the NetCDF file to write")->required();
    app.add_flag("--force", force, "replace an existing output file");

    // CLI11 takes the words last first.
    std::vector<std::string> words(args.rbegin(), args.rend());
    try {
        app.parse(words);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        return UsageError(std::string(kName) + ": " + e.what());
    }
    site.latitude = latitude;
    site.longitude = longitude;
    site.depth = depth;
    if (const std::string why = CheckDeploymentSite(site); !why.empty())
        return UsageError(std::string(kName) + ": " + why);
    for (const auto* number : {&firstNumber, &lastNumber}) {
        if (*number && **number < 1) return UsageError(std::string(kName) + ": measurement numbers count from 1");
    }

    DataSet data;
    if (!OpenFileSet(file, data)) return kExitFailure;

    NetcdfExportOptions options;
    options.site = site;
    options.writtenBy = std::string("corvan ") + kName;
    if (series || firstNumber || lastNumber) {
        RangeRequest request;
        request.series = series.value_or(1);
        request.first = firstNumber;
        request.last = lastNumber;
        if (const std::string why = SelectSeriesRange(data, request); !why.empty()) {
            return UsageError(std::string(kName) + ": " + file + ": " + why);
        }
        options.first = data.rangeFirst;
        options.last = data.rangeLast;
    } else {
        SelectAllRecords(data, options);
    }

    const std::string target = NetcdfFileNameWithExtension(output);
    if (FileExists(target) && !force) {
        std::fprintf(stderr, "%s: the file already exists (--force replaces it)\n", target.c_str());
        return kExitFailure;
    }
    try {
        if (const std::string why = WriteNetcdfExport(target, data, options); !why.empty()) {
            std::fprintf(stderr, "%s: %s\n", file.c_str(), why.c_str());
            return kExitFailure;
        }
    } catch (const FileError& e) {
        std::fprintf(stderr, "%s: %s\n", e.FileName().c_str(), e.Reason().c_str());
        return kExitFailure;
    }
    return kExitOk;
}

const CommandRegistrar kExportNetcdf(kName,
                                     "export-netcdf FILE [--all | --series N | --first A --last B] "
                                     "[--lat L --lon L] [--depth D] [--site CODE] [--institution TEXT] "
                                     "[--pi NAME] -o OUT.nc [--force] measurements as a CF NetCDF file",
                                     &RunExportNetcdf);

}  // namespace
}  // namespace corvan::cli
