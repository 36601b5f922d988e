#pragma once
// What a data-exchange file holds, worked out from a data set before any
// byte is written: the time axis, one variable per channel with its quality
// flags, and the attributes that let data centres and analysis programs
// read names, units, times and missing values without asking us. Building
// the content apart from writing it keeps every value and flag testable
// without the file library.

#include <optional>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "data/date_time.h"
#include "data/deployment_site.h"

namespace corvan {

enum class NcType { Byte, Short, Int, Float, Double, Char };

struct NcAttribute {
    std::string name;
    NcType type = NcType::Char;
    std::string text;             // for Char
    std::vector<double> numbers;  // for the numeric types, converted on writing
};

enum class NcShape {
    PerRecord,  // along the one TIME dimension
    Scalar,     // a single number
    Text,       // a character string with a length dimension of its own
};

struct NcVariable {
    std::string name;
    NcType type = NcType::Float;
    NcShape shape = NcShape::PerRecord;
    std::vector<NcAttribute> attributes;
    // The values of the one member that fits type and shape.
    std::vector<float> floats;
    std::vector<double> doubles;
    std::vector<signed char> bytes;
    std::vector<short> shorts;
    std::string text;

    const NcAttribute* Attribute(const std::string& attributeName) const;
};

struct NetcdfContent {
    int recordCount = 0;
    std::vector<NcAttribute> globals;
    std::vector<NcVariable> variables;

    const NcVariable* Variable(const std::string& variableName) const;
    const NcAttribute* Global(const std::string& attributeName) const;
};

struct NetcdfExportOptions {
    // Record indices from 0; a last beyond the records read is cut there.
    int first = 0;
    int last = -1;
    DeploymentSite site;
    // What wrote the file, for the history ("corvan export-netcdf").
    std::string writtenBy;
    // The creation time (UTC); the clock's when absent.
    std::optional<DateTime> created;
};

// The values a data variable stores for "missing", and the flags.
inline constexpr float kNcFloatFill = 99999.0f;
inline constexpr short kNcSeriesFill = -1;
inline constexpr signed char kNcQcFill = -128;
inline constexpr signed char kQcGood = 1;
inline constexpr signed char kQcBad = 4;
inline constexpr signed char kQcMissing = 9;
// 1950-01-01T00:00:00Z, the origin of the time axis.
DateTime NetcdfTimeOrigin();

// Fills out with what the file is to hold; returns an empty text, or why the
// records cannot form one file (nothing to write, times that do not rise).
std::string BuildNetcdfContent(const DataSet& data, const NetcdfExportOptions& options, NetcdfContent& out);

// Record range of the whole file: 0 .. records read - 1.
void SelectAllRecords(const DataSet& data, NetcdfExportOptions& options);

// A chosen name whose file part has no extension gets ".nc".
std::string NetcdfFileNameWithExtension(const std::string& chosenName);

// "YYYY-MM-DDTHH:MM:SSZ"
std::string IsoUtc(DateTime t);
DateTime UtcNow();

}  // namespace corvan
