// corvan belvan: an older-series data file turned into a measurement file
// set (BASE.CVN in version 1, upgraded when first opened, and BASE.RF6).

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "cli/tool_cli.h"
#include "data/measurement_files.h"
#include "tools/belvan.h"

namespace corvan::cli {
namespace {

int RunBelvan(const std::vector<std::string>& args) {
    CLI::App app(
        "Convert a Belvan data file (.dat) into BASE.CVN and BASE.RF6.\n"
        "An existing set at BASE is replaced only with --force, and then kept under its backup\n"
        "names; a conversion that fails leaves nothing at BASE.",
        "corvan belvan");
    std::string input;
    std::string output;
    bool force = false;
    app.add_option("IN", input, "the Belvan data file")->required();
    app.add_option("-o,--output", output, "the base name of the new set")->required();
    app.add_flag("--force", force, "replace an existing set, keeping its files as backups");
    if (const auto status = ParseToolOptions(app, args)) return *status;

    const std::string base = BaseNameOfArgument(output);
    if (!force && BelvanOutputExists(base)) {
        const std::string existing =
            FileExists(MeasurementFileName(base)) ? MeasurementFileName(base) : ReferenceFileName(base);
        return ToolFailure(existing, "already exists; give --force to replace the set (its files are kept as backups)");
    }
    const BelvanConversion c = ConvertBelvanFile(input, base, &LocalNow);
    std::printf("%s: %d measurements, interval %d min\n", (base + ".CVN").c_str(), c.recordCount,
                c.series.intervalMinutes);
    return kExitOk;
}

const CommandRegistrar kBelvan("belvan", "belvan IN.dat -o BASE [--force]  convert a Belvan file", &RunBelvan);

}  // namespace
}  // namespace corvan::cli
