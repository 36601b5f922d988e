#pragma once
// Data files of the older Belvan instruments (.dat, 22-byte records without
// a header) turned into a measurement file set: B.CVN in the 12-byte layout
// of version 1, which opening upgrades, and B.RF6 with one series.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/date_time.h"

namespace corvan {

inline constexpr std::size_t kBelvanRecordSize = 22;
inline constexpr const char* kBelvanDirectorySection = "Directory";
inline constexpr const char* kBelvanDirectoryIdent = "Belvan";

// The 6-byte real of the old files: exponent byte biased by 129 (0 = zero),
// a 39-bit fraction, least significant byte first, sign in the top bit.
double DecodeReal48(const std::uint8_t* bytes6);

struct BelvanRecord {
    std::int16_t number = 0;
    double speed = 0.0;          // cm/s; negative = not measured
    std::int16_t direction = 0;  // degrees; negative = not measured
    double temperature = 0.0;    // deg C; -20 or below = not measured
    std::int16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
};
BelvanRecord DecodeBelvanRecord(const std::uint8_t* bytes22);

// The one series entry the conversion writes (11-byte layout).
struct BelvanSeries {
    std::uint8_t year = 0;  // two digits
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::int16_t intervalMinutes = 0;
};

struct BelvanConversion {
    std::vector<std::uint8_t> measurementFile;  // version 1
    std::vector<std::uint8_t> referenceFile;
    int recordCount = 0;
    BelvanSeries series;
};

// The conversion in memory. `now` stands in for a series start that is not
// on the calendar. Throws FileError naming inputName for input it cannot
// convert (two first records with one number, more measurements than a file
// holds).
BelvanConversion ConvertBelvanRecords(const std::vector<std::uint8_t>& input, const std::string& inputName,
                                      const std::function<DateTime()>& now);

// Whether BASE.CVN or BASE.RF6 exists, so that replacing needs consent.
bool BelvanOutputExists(const std::string& outputBase);

// Converts inputFile into outputBase.CVN and outputBase.RF6. Both are
// written under temporary names and put in place only when complete; files
// already there are kept under their backup names. Throws FileError with the
// file and the reason; nothing is left at outputBase then.
BelvanConversion ConvertBelvanFile(const std::string& inputFile, const std::string& outputBase,
                                   const std::function<DateTime()>& now);

// The directory setting: the picked file's folder as given with its
// trailing separator, without its last character when it is 3 characters
// or longer ("C:\DATA\" -> "C:\DATA", "C:\" -> "C:").
std::string BelvanDirectorySetting(const std::string& folderWithSeparator);

}  // namespace corvan
