#pragma once
// Text exports of the Tarsen instruments: a header file (.hdr) that says how
// many measurements and cells there are, and three column files beside it
// (.v1 and .v2 with one velocity component per cell, .sen with the sensors).
// One cell of such an export becomes a measurement file set.

#include <istream>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "data/date_time.h"
#include "data/measurement_files.h"

namespace corvan {

inline constexpr const char* kAsciiUseCellLabel = "Use cell number:";
inline constexpr const char* kAsciiCellSizeLabel = "Cell size: ";
inline constexpr const char* kSelectCellCaption = "Select cell";
// The salinity the series is written with; the export carries none.
inline constexpr float kAsciiSalinity = 35.0f;
// The column of the temperature in the sensor file.
inline constexpr int kAsciiSensorTemperatureColumn = 15;

struct AsciiHeader {
    int measurements = 0;
    int interval = 1;  // s
    int cells = 0;
    std::string cellSize = "0";  // shown as written
    DateTime firstMeasurement;
    // Empty unless the header cannot be imported as it stands.
    std::string error;
};

// Reads the header's keywords; `now` stands in for a missing time of the
// first measurement.
AsciiHeader ParseAsciiHeader(std::istream& in, DateTime now);
// The same from a file; throws FileError when it cannot be read.
AsciiHeader ReadAsciiHeader(const std::string& headerFile, DateTime now);

// The companion file of a header: its name with the extension replaced
// ("v1", "v2", "sen"), found in any case of the extension.
std::string CompanionFileName(const std::string& headerFile, const std::string& extension);

// Value `column` (from 1) of one companion line: blank-separated, a decimal
// comma read as a point, 0 when absent or not a number.
double CompanionValue(const std::string& line, int column);

// Why a header cannot give the chosen cell, or empty.
std::string AsciiCellRefusal(const AsciiHeader& header, int cell);

struct AsciiImport {
    MeasurementFileHeader header;
    SeriesHeader series;
    std::vector<MeasurementRecord> records;
};

// Reads the companion files for one cell (from 1) and builds the records
// and headers. Throws FileError naming a companion file that cannot be read;
// nothing is written in any case.
AsciiImport ReadAsciiCell(const std::string& headerFile, const AsciiHeader& header, int cell);

// "3-moor1.CVN" for cell 3 of ...\moor1.hdr.
std::string ProposedAsciiFileName(const std::string& headerFile, int cell);

// Writes B.CVN and B.RF6 through the program's writers, each keeping the
// file it replaces under a backup name. The data set is not touched, so a
// failed write leaves the shown series as it was. Throws FileError.
void WriteAsciiImport(const AsciiImport& import, const std::string& baseName);

// Makes the written import the current data set with the whole series as
// its range.
void AdoptAsciiImport(DataSet& data, const AsciiImport& import, const std::string& baseName);

}  // namespace corvan
