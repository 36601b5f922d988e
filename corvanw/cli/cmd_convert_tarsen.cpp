// corvan convert-tarsen FILE [--cell N]... [--no-low-snr] [--no-spikes] [--no-boundary]
//                           [--boundary pressure|acoustic] [--on-glitch skip|stop]
// Converts cells of a Tarsen instrument file into measurement file sets
// beside it through the converter library, loaded by name at run time as
// the desktop program loads it.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tarsen_cvn_loader.h"
#include "cli/cli_common.h"
#include "cli/command_registry.h"

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
    std::fprintf(stderr, "%s: cell %d: time glitch; %s\n", c->file.c_str(), cell,
                 c->skipGlitches ? "records are dropped until the time agrees again"
                                 : "the rest of the cell is not converted");
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

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
        if (a == "--cell") {
            const std::string* v = value();
            const auto n = v ? ParseInteger(*v) : std::nullopt;
            if (!n || *n < 1 || *n > kHighestCell) return UsageError("--cell takes a cell number from 1 to 128");
            cells.push_back(static_cast<int32_t>(*n));
        } else if (a == "--no-low-snr") {
            options.removeLowSnr = 0;
        } else if (a == "--no-spikes") {
            options.removeSpikes = 0;
        } else if (a == "--no-boundary") {
            options.removeBoundary = 0;
        } else if (a == "--boundary") {
            const std::string* v = value();
            if (v && *v == "pressure") {
                options.boundaryMethod = TARSEN_BOUNDARY_PRESSURE;
            } else if (v && *v == "acoustic") {
                options.boundaryMethod = TARSEN_BOUNDARY_ACOUSTIC;
            } else {
                return UsageError("--boundary takes pressure or acoustic");
            }
        } else if (a == "--on-glitch") {
            const std::string* v = value();
            if (v && *v == "skip") {
                conversion.skipGlitches = true;
            } else if (v && *v == "stop") {
                conversion.skipGlitches = false;
            } else {
                return UsageError("--on-glitch takes skip or stop");
            }
        } else if (!a.empty() && a[0] == '-') {
            return UsageError("convert-tarsen: unknown option " + a);
        } else if (conversion.file.empty()) {
            conversion.file = a;
        } else {
            return UsageError("convert-tarsen takes one FILE");
        }
    }
    if (conversion.file.empty()) return UsageError("convert-tarsen needs a FILE");
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
