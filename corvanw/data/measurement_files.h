#pragma once
// The measurement file set of one deployment: B.CVN (header + records),
// B.RF6 (series headers) and the optional B.LN6 companion file. Reading,
// writing with backups, and upgrading files of older versions.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace corvan {

inline constexpr int kMaxRecords = 32767;
inline constexpr int kMaxSeries = 16;
inline constexpr std::int16_t kCurrentFileVersion = 4;
inline constexpr std::size_t kHeaderSize = 16;
inline constexpr std::size_t kRecordSize = 16;
inline constexpr std::size_t kSeriesHeaderSize = 21;
inline constexpr std::size_t kOldRecordSize = 12;
inline constexpr std::size_t kOldSeriesHeaderSize = 11;
inline constexpr std::size_t kVersion3SeriesHeaderSize = 15;

// Values at or below this are invalid measurements; tools write exactly it.
inline constexpr float kInvalidValue = -999.0f;
// L-file values at or above this are missing.
inline constexpr float kLMissingThreshold = 1e9f;
inline constexpr float kLFill = 9.0e9f;
// A position logger writes this for "no position".
inline constexpr float kNoPosition = 1e10f;

inline constexpr const char* kReferenceNotFoundMessage = "Fatal error. Reference file not found.";
inline constexpr const char* kIncompatibleVersionMessage = "Incompatible file version:";

// In memory the records keep their natural alignment: the byte layout on
// disk is the codec's business (Encode*/Decode* below), and a packed struct
// would turn every reference to a field into a misaligned access.
struct MeasurementFileHeader {
    std::int16_t version = kCurrentFileVersion;
    std::int32_t referenceNumber = 0;
    std::uint8_t instrumentType = 0;
    std::int16_t count = 0;
    std::uint8_t sensorKind = 0;
    float sensorCoefficient = 0.0f;
    std::int16_t reserved = 0;
};

struct MeasurementRecord {
    float speed = 0.0f;        // cm/s; type 2: latitude in minutes of arc
    float direction = 0.0f;    // radians; negative = no direction; type 2: longitude
    float temperature = 0.0f;  // deg C
    float optional = 0.0f;     // optional sensor value
};

struct SeriesHeader {
    std::int32_t first = 0;
    std::uint8_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::int32_t interval = 0;      // seconds
    std::int32_t intervalCode = 0;  // averaging time; views do not use it
    float salinity = -1.0f;         // -1 = not set
};
// The record array is read and written as a run of 16-byte records.
static_assert(sizeof(MeasurementRecord) == kRecordSize);

// Explicit little-endian (de)serialisation of the packed records.
MeasurementFileHeader DecodeHeader(const std::uint8_t* bytes16);
void EncodeHeader(const MeasurementFileHeader& h, std::uint8_t* out16);
MeasurementRecord DecodeRecord(const std::uint8_t* bytes16);
void EncodeRecord(const MeasurementRecord& r, std::uint8_t* out16);
SeriesHeader DecodeSeriesHeader(const std::uint8_t* bytes21);
void EncodeSeriesHeader(const SeriesHeader& s, std::uint8_t* out21);
// The 11-byte series header of versions 0..3 (interval in minutes).
SeriesHeader DecodeOldSeriesHeader(const std::uint8_t* bytes11);

// File names of a set. Extensions are matched without regard to case, so a
// set written as "x.cvn" on a case-sensitive file system is still found;
// when no file exists the canonical upper-case name is returned.
std::string MeasurementFileName(const std::string& baseName);
std::string ReferenceFileName(const std::string& baseName);
std::string LFileName(const std::string& baseName);
std::string FileNameWithExtension(const std::string& baseName, const std::string& extension);

bool FileExists(const std::string& fileName);

// A free backup name for a file about to be replaced: name.~EXT, then
// name.~EXT~1 .. ~99; when all are taken ~99 is deleted and reused.
std::string MakeBackupName(const std::string& fileName);

// Renames an existing file to its backup name; returns the backup name, or
// an empty string when there was nothing to keep.
std::string KeepBackup(const std::string& fileName);

// First 16-bit word of B.CVN, or -1 when it is missing or shorter than one
// complete 16-byte record.
int ReadFileVersion(const std::string& baseName);

struct DataSet;

// Reads up to kMaxSeries headers of B.RF6 into the table; -1 when the file
// cannot be opened or read. Sets reference-loaded when at least one was read.
int ReadReferenceFile(const std::string& baseName, std::array<SeriesHeader, kMaxSeries>& table,
                      DataSet* data = nullptr);

struct LoadOutcome {
    bool measurementFileFound = false;
    // A text the user must see (error box), or empty.
    std::string message;
};

// Reads the file set of data.baseName into the data set, upgrading older
// versions on disk first (with backups). Throws FileError on input/output
// errors of the conversion.
LoadOutcome LoadMeasurementFiles(DataSet& data);

// Converts a file of version 0..3 on disk; true when the caller must not
// read the file again (data already in memory, or unknown version, in which
// case outcome.message is set).
bool ConvertFileVersion(DataSet& data, std::int16_t version, LoadOutcome& outcome);

// Writes the header (version forced to 4) and header-count records to B.CVN,
// keeping the previous file under a backup name.
void WriteMeasurementFile(DataSet& data);

// Compacts the series table (of several series starting at one record the
// later survives; an empty series at the end is dropped), updates the series
// count and writes B.RF6, keeping the previous file under a backup name.
void WriteReferenceFile(DataSet& data, int count);

}  // namespace corvan
