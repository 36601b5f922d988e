#pragma once
// One cell of a Tarsen file into one measurement file and one reference
// file: time checks with gap filling, quality control of every profile
// through the quality library, and the speed, direction and temperature of
// the chosen cell.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "converter_ui.h"
#include "data/date_time.h"
#include "kxcurrent.h"
#include "tarsen_file.h"

namespace tarsen {

inline constexpr int kMaxConvertibleCells = 128;
inline constexpr int kMaxConvertibleBeams = 4;

// Boundary methods of ImportSettings.
inline constexpr int kBoundaryPressure = 0;
inline constexpr int kBoundaryAcoustic = 1;

// What the user chose for the conversion (the dialog's settings).
struct ImportSettings {
    // When set, the files are written there instead of beside the input.
    std::string outputFolder;
    bool removeLowSnr = true;
    bool removeSpikes = true;
    bool removeBoundary = true;
    // A down-looking file turns pressure into acoustic for the rest of the
    // import.
    int boundaryMethod = kBoundaryAcoustic;
};

struct OutputNames {
    std::string measurement;
    std::string reference;
};

// Folder + input name without extension + "-" + cell + ".cvn" / ".rf6".
OutputNames MakeOutputNames(const std::string& inputPath, const std::string& outputFolder, int cell);

struct TimeCheckResult {
    bool glitch = false;
    // Profiles missing between the previous record and this one.
    std::int64_t missing = 0;
};

// The time of a record against the previous converted record's; interval in
// seconds. The first record of a cell (previous below one day) passes.
TimeCheckResult TimeCheck(corvan::DateTime t, corvan::DateTime previous, int interval);

// The refusal text for a geometry beyond the working records, or empty.
std::string GeometryRefusal(std::int64_t beams, std::int64_t cells);
// The same for the geometry a file starts its record stream with.
std::string GeometryRefusal(const TarsenFile& input);

// The cells of a data record's own layout: a single-point record carries
// one, a profile as many as its length holds for its beams.
std::int64_t RecordCells(const DataRecord& record);

// The quality library's sample from a data record laid out with the given
// beams and cells; the noise floor of every beam starts at noiseLevel.
void FillCurrentSample(const DataRecord& record, std::int64_t beams, std::int64_t cells, int noiseLevel,
                       CurrentSample& sample);

struct CellReport {
    OutputNames names;
    std::int64_t bytesRead = 0;
    std::int64_t recordsWritten = 0;
    std::int64_t missingRecords = 0;
    std::int64_t droppedRecords = 0;
    std::int64_t checksumErrors = 0;
    // Records whose cell carried flag 1, 2, 4, 8, 16, 32.
    std::array<std::int64_t, 6> flagCounts{};
    bool stoppedAtGlitch = false;
    bool capacityReached = false;
};

// Converts cell (from 1) of the open input. False when the cell could not be
// converted completely: output files that could not be opened, a file error
// that ended the stream, a cell or geometry the working records cannot hold.
bool ConvertCell(TarsenFile& input, ImportSettings& settings, ConverterUi& ui, int cell, CellReport* report = nullptr);

}  // namespace tarsen
