#pragma once
// Temperatures of a run of records in one measurement file copied into the
// temperature slot of a run of records of a position logger's file, paired
// one for one by their place in the two runs.

#include <array>
#include <optional>
#include <string>

#include "data/data_set.h"

namespace corvan {

inline constexpr const char* kNotTemperatureFileText = "Not a valid temperature file.";
inline constexpr const char* kNotGpsFileText = "Not a valid GPS file.";
inline constexpr const char* kTemperatureReadErrorText = "Error reading temperature data";

// "File: "BASE" not found."
std::string MergeFileNotFoundText(const std::string& baseName);

enum class MergeSide { Temperature, Gps };

// The first 16 bytes of B.CVN as a header; nullopt when the file cannot be
// read or is shorter than that.
std::optional<MeasurementFileHeader> ReadHeaderRecord(const std::string& baseName);

// Whether a header (or none, for an unreadable file) may serve as the side's
// file; the refusal text otherwise, empty when it may.
std::string CheckMergeFile(MergeSide side, const std::optional<MeasurementFileHeader>& header);

// The series table of a set in the layout its version uses, without
// changing anything on disk; -1 when the reference file cannot be read.
int ReadSeriesTableOfVersion(const std::string& baseName, std::array<SeriesHeader, kMaxSeries>& table);

// Brings a temperature file of an older version to version 4 on disk (with
// backups), so its records can be read as 16-byte records. Empty text on
// success, else what the user must be told; the file is then unchanged.
std::string UpgradeTemperatureFile(const std::string& baseName);

// One side as the dialog keeps it: runs are 1-based measurement numbers.
struct MergeSideState {
    std::string baseName;
    MeasurementFileHeader header{};
    std::array<SeriesHeader, kMaxSeries> series{};
    int seriesCount = 0;
    int currentSeries = 1;
    int first = 1;
    int last = 1;
};

struct MergeOutcome {
    std::string message;  // empty on success
    int copied = 0;
};

// The merge: upgrades the temperature file if needed, loads the GPS file
// into `gps`, copies the temperatures and writes the GPS file back with its
// backup. On any failure the GPS file is not written.
MergeOutcome RunGpsMerge(const MergeSideState& temperature, const MergeSideState& gpsSide, DataSet& gps);

}  // namespace corvan
