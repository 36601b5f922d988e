// corvan import-ascii FILE.hdr [--cell N] [-o BASE] [--force]
// One cell of a Tarsen text export (FILE.hdr with FILE.v1, FILE.v2,
// FILE.sen beside it) as a measurement file set; without --cell, the cells
// the header offers.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "data/ascii_import.h"
#include "data/data_set.h"
#include "data/measurement_files.h"

namespace corvan::cli {
namespace {

constexpr const char* kUsage = "import-ascii FILE.hdr [--cell N] [-o BASE] [--force]";

int RunImportAscii(const std::vector<std::string>& args) {
    CLI::App app("Imports one cell of a Tarsen text export as a measurement file set", "corvan import-ascii");
    std::string headerFile;
    int cell = 0;
    std::string base;
    bool force = false;
    app.add_option("FILE", headerFile, "the export's header file (.hdr)")->required();
    app.add_option("--cell", cell, "the cell to import (from 1); without it the cells are listed");
    app.add_option("-o,--output", base, "base name of the written set (default: CELL-NAME beside the header)");
    app.add_flag("--force", force, "replace an existing set, keeping it under its backup name");
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        std::printf("%s", app.help().c_str());
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        return UsageError(std::string("import-ascii: ") + e.what());
    }

    const AsciiHeader header = ReadAsciiHeader(headerFile, LocalNow());
    if (cell == 0) {
        if (const std::string refusal = AsciiCellRefusal(header, 1); !refusal.empty()) {
            std::fprintf(stderr, "%s: %s\n", headerFile.c_str(), refusal.c_str());
            return kExitFailure;
        }
        std::printf("Cells: %d\n%s%s\n", header.cells, kAsciiCellSizeLabel, header.cellSize.c_str());
        return kExitOk;
    }
    if (const std::string refusal = AsciiCellRefusal(header, cell); !refusal.empty()) {
        std::fprintf(stderr, "%s: %s\n", headerFile.c_str(), refusal.c_str());
        return kExitFailure;
    }
    if (base.empty()) {
        const std::size_t slash = headerFile.find_last_of("/\\");
        const std::string folder = slash == std::string::npos ? std::string() : headerFile.substr(0, slash + 1);
        base = folder + ProposedAsciiFileName(headerFile, cell);
    }
    base = BaseNameOfArgument(base);
    const AsciiImport import = ReadAsciiCell(headerFile, header, cell);
    const std::string measurementFile = MeasurementFileName(base);
    if (!force) {
        for (const std::string& existing : {measurementFile, ReferenceFileName(base)}) {
            if (FileExists(existing)) {
                std::fprintf(stderr, "%s: exists; --force replaces it and keeps it under a backup name\n",
                             existing.c_str());
                return kExitFailure;
            }
        }
    }
    if (header.measurements > kMaxRecords) {
        std::fprintf(stderr, "%s: note: only the first %d of %d measurements fit a measurement file\n",
                     headerFile.c_str(), kMaxRecords, header.measurements);
    }
    WriteAsciiImport(import, base);
    std::printf("%s\n%s\n", MeasurementFileName(base).c_str(), ReferenceFileName(base).c_str());
    return kExitOk;
}

CommandRegistrar reg("import-ascii", kUsage, &RunImportAscii);

}  // namespace
}  // namespace corvan::cli
