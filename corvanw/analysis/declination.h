#pragma once
// Turning the instrument's magnetic directions into true ones: every valid
// direction of the file, or of one series, rotated by the local magnetic
// declination and written back with a backup of the old file.

#include <optional>
#include <string>

namespace corvan {

struct DataSet;

inline constexpr const char* kDeclinationGpsMessage = "A GPS file holds positions, not current directions.";
inline constexpr const char* kDeclinationNoCurrentMessage = "The file holds no current directions.";
inline constexpr const char* kDeclinationValueMessage = "Error in declination value";
inline constexpr const char* kDeclinationRangeMessage = "The declination must lie between -180 and 180 degrees.";

// The declination as typed: either "." or "," as decimal separator,
// surrounding blanks allowed; nullopt for anything that is not a number.
std::optional<double> ParseDeclination(const std::string& text);

// A direction in radians turned by `degrees` east (true = magnetic +
// declination), wrapped to 0 <= d < 2 pi. Negative directions mean "no
// direction" and are returned unchanged.
float RotatedDirection(float radians, double degrees);

// Why the data set cannot take the correction, or empty when it can.
std::string DeclinationRefusal(const DataSet& data, double degrees);

// Rotates the directions of records first..last (0-based, inclusive);
// returns how many were turned.
int RotateDirections(DataSet& data, int first, int last, double degrees);

// The whole operation: checks, rotates every record of series `series`
// (1-based) or of the file when it is 0, and rewrites B.CVN keeping the old
// file as a backup. Returns a text for the user when refused (nothing is
// changed then); throws FileError when writing fails, with the records in
// memory turned back to what they were.
std::string ApplyDeclination(DataSet& data, double degrees, int series, int* rotated = nullptr);

}  // namespace corvan
