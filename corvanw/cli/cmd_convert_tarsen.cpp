// corvan convert-tarsen FILE [--cell N]... [--no-low-snr] [--no-spikes] [--no-boundary]
//                           [--boundary pressure|acoustic] [--on-glitch skip|stop]
// Converts cells of a Tarsen instrument file into measurement file sets
// beside it through the converter library, loaded by name at run time as
// the desktop program loads it.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "tarsen_cvn_loader.h"

namespace corvan::cli {
namespace {

constexpr int kHighestCell = 128;

struct Conversion {
    std::string file;
    bool skipGlitches = true;
};

// The library's texts break lines with "\r" and usually name the input
// file; on one line after "FILE: " the name is not repeated.
std::string OneLine(const std::string& text, const std::string& file) {
    std::string line;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty() && line.back() != ' ') line += ' ';
        } else {
            line += c;
        }
    }
    const std::size_t at = line.find(file);
    if (at != std::string::npos) line.erase(at, file.size());
    while (!line.empty() && line.back() == ' ') line.pop_back();
    while (!line.empty() && line.front() == ' ') line.erase(0, 1);
    return line;
}

void OnMessage(void* context, int32_t kind, const char* text) {
    const auto* c = static_cast<const Conversion*>(context);
    std::fprintf(stderr, "%s: %s%s\n", c->file.c_str(), kind == TARSEN_MESSAGE_NOTE ? "note: " : "",
                 OneLine(text, c->file).c_str());
}

int32_t OnTimeGlitch(void* context, int32_t cell, const char*) {
    const auto* c = static_cast<const Conversion*>(context);
    std::fprintf(
        stderr, "%s: cell %d: time glitch; %s\n", c->file.c_str(), cell,
        c->skipGlitches ? "records are dropped until the time agrees again" : "the rest of the cell is not converted");
    return c->skipGlitches ? 1 : 0;
}

void OnCellDone(void*, int32_t, int32_t converted, const char* measurementFile, const char* referenceFile) {
    if (!converted) return;
    std::printf("%s\n%s\n", measurementFile, referenceFile);
}

int RunConvertTarsen(const std::vector<std::string>& args) {
    Conversion conversion;
    std::vector<int32_t> cells;
    TarsenOptions options{};
    options.removeLowSnr = 1;
    options.removeSpikes = 1;
    options.removeBoundary = 1;
    options.boundaryMethod = TARSEN_BOUNDARY_ACOUSTIC;

    CLI::App app =
        CommandApp("convert-tarsen", "Converts cells of a Tarsen instrument file into measurement file sets.");
    bool keepLowSnr = false, keepSpikes = false, keepBoundary = false;
    std::string boundary = "acoustic";
    std::string onGlitch = "skip";
    app.add_option("FILE", conversion.file, "Tarsen file (.prf, .orl, .wpr, .cpr)")->required();
    app.add_option("--cell", cells, "cell to convert, from 1 (repeat for more; default: the Center cell)")
        ->check(CLI::Range(1, kHighestCell))
        ->allow_extra_args(false);
    app.add_flag("--no-low-snr", keepLowSnr, "keep cells of low signal-to-noise ratio");
    app.add_flag("--no-spikes", keepSpikes, "keep cells with amplitude spikes");
    app.add_flag("--no-boundary", keepBoundary, "keep cells beyond the surface or the bottom");
    app.add_option("--boundary", boundary, "how the boundary is found: pressure or acoustic (default)")
        ->check(CLI::IsMember({"pressure", "acoustic"}));
    app.add_option("--on-glitch", onGlitch, "at a time glitch: skip the records (default) or stop the cell")
        ->check(CLI::IsMember({"skip", "stop"}));
    if (const auto status = ParseCommandLine(app, args)) return *status;
    options.removeLowSnr = keepLowSnr ? 0 : 1;
    options.removeSpikes = keepSpikes ? 0 : 1;
    options.removeBoundary = keepBoundary ? 0 : 1;
    options.boundaryMethod = boundary == "pressure" ? TARSEN_BOUNDARY_PRESSURE : TARSEN_BOUNDARY_ACOUSTIC;
    conversion.skipGlitches = onGlitch == "skip";
    options.cells = cells.empty() ? nullptr : cells.data();
    options.cellCount = static_cast<int32_t>(cells.size());

    tarsen::TarsenLibrary library;
    if (!library.Load()) {
        std::fprintf(stderr, "%s: %s\n", tarsen::kTarsenLibraryFileName, library.LoadError().c_str());
        return kExitFailure;
    }
    const tarsen::TarsenConvertFunction convert = library.Convert();
    if (!convert) {
        std::fprintf(stderr, "%s: the library has no conversion entry\n", tarsen::kTarsenLibraryFileName);
        return kExitFailure;
    }
    TarsenCallbacks callbacks{};
    callbacks.context = &conversion;
    callbacks.askTimeGlitch = &OnTimeGlitch;
    callbacks.message = &OnMessage;
    callbacks.cellDone = &OnCellDone;
    const int32_t result = convert(conversion.file.c_str(), &options, &callbacks);
    std::fflush(stdout);
    return result == 0 ? kExitOk : kExitFailure;
}

CommandRegistrar reg("convert-tarsen",
                     "convert-tarsen FILE [--cell N]... [--no-low-snr] [--no-spikes] [--no-boundary] "
                     "[--boundary pressure|acoustic] [--on-glitch skip|stop]",
                     &RunConvertTarsen);

}  // namespace
}  // namespace corvan::cli
