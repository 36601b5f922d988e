#include "data/ascii_import.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <optional>
#include <string_view>

#include "data/current_direction.h"
#include "data/file_error.h"
#include "data/series_range.h"

namespace corvan {

namespace {

constexpr std::string_view kMeasurementsKey = "Number of measurements";
constexpr std::string_view kIntervalKey = "Profile interval";
constexpr std::string_view kCellsKey = "Number of cells";
constexpr std::string_view kCellSizeKey = "Cell size";
constexpr std::string_view kFirstTimeKey = "Time of first measurement";
constexpr std::string_view kStopLine = "-------------";
// 1-based columns where each keyword's value starts.
constexpr std::size_t kMeasurementsColumn = 23;
constexpr std::size_t kIntervalColumn = 17;
constexpr std::size_t kCellsColumn = 16;
constexpr std::size_t kCellSizeColumn = 10;
constexpr std::size_t kFirstTimeColumn = 26;

constexpr const char* kBlanks = " \t";
constexpr const char* kNotOnCalendar = " does not give a date and time";
constexpr const char* kNoCells = "the header names no cells";
constexpr const char* kNoMeasurements = "the header names no measurements";

std::string_view Trim(std::string_view s) {
    const std::size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string_view::npos) return {};
    const std::size_t b = s.find_last_not_of(" \t\r\n");
    return s.substr(a, b - a + 1);
}

std::string_view FromColumn(std::string_view line, std::size_t column) {
    return line.size() >= column ? Trim(line.substr(column - 1)) : std::string_view();
}

std::optional<int> WholeNumber(std::string_view s) {
    int v = 0;
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return v;
}

int Field(std::string_view value, std::size_t from, std::size_t length, int fallback) {
    if (value.size() < from) return fallback;
    return WholeNumber(Trim(value.substr(from - 1, length))).value_or(fallback);
}

// "dd/mm/yyyy hh:mm:ss" by character positions; a field that is not a
// number takes its default.
std::optional<DateTime> FirstMeasurementTime(std::string_view v) {
    CivilTime c;
    c.day = Field(v, 1, 2, 1);
    c.month = Field(v, 4, 2, 1);
    c.year = Field(v, 7, 4, 2000);
    c.hour = Field(v, 12, 2, 0);
    c.minute = Field(v, 15, 2, 0);
    c.second = Field(v, 18, 2, 0);
    return DateTime::FromCivil(c);
}

std::string ErrnoText(int error) {
    if (error == ENOENT) return "File not found.";
    return error ? std::strerror(error) : "The file could not be read.";
}

// Splits a companion line into its blank-separated values.
std::vector<std::string_view> Values(std::string_view line) {
    std::vector<std::string_view> out;
    line = Trim(line);
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t end = line.find_first_of(kBlanks, i);
        out.push_back(line.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i));
        if (end == std::string_view::npos) break;
        i = line.find_first_not_of(kBlanks, end);
    }
    return out;
}

double Number(std::string_view token) {
    std::string t(token);
    std::replace(t.begin(), t.end(), ',', '.');
    const char* begin = t.data();
    if (!t.empty() && t.front() == '+') ++begin;
    double v = 0.0;
    const auto [end, ec] = std::from_chars(begin, t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size() || begin == end || !std::isfinite(v)) return 0.0;
    return v;
}

// One column of every line of a companion file, exactly `count` values;
// lines missing at the end read as 0.
std::vector<double> ReadColumn(const std::string& file, int column, int count) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw FileError(file, ErrnoText(errno));
    std::vector<double> values(static_cast<std::size_t>(count), 0.0);
    std::string line;
    for (int i = 0; i < count && std::getline(in, line); ++i) {
        values[static_cast<std::size_t>(i)] = CompanionValue(line, column);
    }
    if (in.bad()) throw FileError(file, ErrnoText(errno));
    return values;
}

}  // namespace

AsciiHeader ParseAsciiHeader(std::istream& in, DateTime now) {
    AsciiHeader h;
    h.firstMeasurement = now;
    std::string raw;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string_view line = raw;
        if (h.cells > 0 && line.starts_with(kStopLine)) break;
        if (line.starts_with(kCellSizeKey)) {
            h.cellSize = std::string(FromColumn(line, kCellSizeColumn));
        } else if (line.find(kMeasurementsKey) != std::string_view::npos) {
            h.measurements = WholeNumber(FromColumn(line, kMeasurementsColumn)).value_or(0);
        } else if (line.find(kIntervalKey) != std::string_view::npos) {
            const std::string_view v = FromColumn(line, kIntervalColumn);
            h.interval = WholeNumber(v.substr(0, v.find_first_of(kBlanks))).value_or(1);
        } else if (line.find(kCellsKey) != std::string_view::npos) {
            h.cells = WholeNumber(FromColumn(line, kCellsColumn)).value_or(0);
        } else if (line.find(kFirstTimeKey) != std::string_view::npos) {
            const std::string_view v = FromColumn(line, kFirstTimeColumn);
            if (const auto t = FirstMeasurementTime(v)) {
                h.firstMeasurement = *t;
            } else {
                h.error = std::string(kFirstTimeKey) + " \"" + std::string(v) + "\"" + kNotOnCalendar;
            }
        }
    }
    return h;
}

AsciiHeader ReadAsciiHeader(const std::string& headerFile, DateTime now) {
    std::ifstream in(headerFile, std::ios::binary);
    if (!in) throw FileError(headerFile, ErrnoText(errno));
    AsciiHeader h = ParseAsciiHeader(in, now);
    if (in.bad()) throw FileError(headerFile, ErrnoText(errno));
    return h;
}

std::string CompanionFileName(const std::string& headerFile, const std::string& extension) {
    return FileNameWithExtension(StripExtension(headerFile), extension);
}

double CompanionValue(const std::string& line, int column) {
    if (column < 1) return 0.0;
    const std::vector<std::string_view> values = Values(line);
    if (static_cast<std::size_t>(column) > values.size()) return 0.0;
    return Number(values[static_cast<std::size_t>(column - 1)]);
}

std::string AsciiCellRefusal(const AsciiHeader& header, int cell) {
    if (!header.error.empty()) return header.error;
    if (header.cells <= 0) return kNoCells;
    if (header.measurements <= 0) return kNoMeasurements;
    if (cell < 1 || cell > header.cells) {
        return "cell " + std::to_string(cell) + " is not one of the header's cells 1 to " +
               std::to_string(header.cells);
    }
    return {};
}

AsciiImport ReadAsciiCell(const std::string& headerFile, const AsciiHeader& header, int cell) {
    const int count = std::clamp(header.measurements, 0, kMaxRecords);
    // All three files are read before anything is built, so a missing one
    // costs nothing but the message.
    const std::vector<double> v1 = ReadColumn(CompanionFileName(headerFile, "v1"), cell, count);
    const std::vector<double> v2 = ReadColumn(CompanionFileName(headerFile, "v2"), cell, count);
    const std::vector<double> sen =
        ReadColumn(CompanionFileName(headerFile, "sen"), kAsciiSensorTemperatureColumn, count);

    AsciiImport out;
    out.records.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < out.records.size(); ++i) {
        MeasurementRecord& r = out.records[i];
        r.speed = static_cast<float>(std::sqrt(v2[i] * v2[i] + v1[i] * v1[i]) * 100.0);
        r.direction = static_cast<float>(DirectionTowards(v2[i], v1[i]));
        r.temperature = static_cast<float>(sen[i]);
        r.optional = 0.0f;
    }

    out.header = MeasurementFileHeader{};
    out.header.version = kCurrentFileVersion;
    out.header.referenceNumber = 0;
    out.header.instrumentType = 0;
    out.header.count = static_cast<std::int16_t>(count);
    out.header.sensorKind = 0;

    // The series start is one interval before the first measurement.
    const CivilTime start = header.firstMeasurement.AddSeconds(-header.interval).ToCivil();
    out.series = SeriesHeader{};
    out.series.first = 0;
    out.series.year = static_cast<std::uint8_t>(((start.year % 100) + 100) % 100);
    out.series.month = static_cast<std::uint8_t>(start.month);
    out.series.day = static_cast<std::uint8_t>(start.day);
    out.series.hour = static_cast<std::uint8_t>(start.hour);
    out.series.minute = static_cast<std::uint8_t>(start.minute);
    out.series.interval = header.interval;
    out.series.intervalCode = 0;
    out.series.salinity = kAsciiSalinity;
    return out;
}

std::string ProposedAsciiFileName(const std::string& headerFile, int cell) {
    const std::size_t slash = headerFile.find_last_of("/\\");
    const std::string name = StripExtension(slash == std::string::npos ? headerFile : headerFile.substr(slash + 1));
    return std::to_string(cell) + "-" + name + ".CVN";
}

namespace {

void Fill(DataSet& data, const AsciiImport& import, const std::string& baseName) {
    data.baseName = baseName;
    data.header = import.header;
    std::copy(import.records.begin(), import.records.end(), data.records.begin());
    data.recordCount = static_cast<std::int32_t>(import.records.size());
    data.series.fill(SeriesHeader{});
    data.series[0] = import.series;
    data.seriesCount = 1;
}

}  // namespace

void WriteAsciiImport(const AsciiImport& import, const std::string& baseName) {
    auto scratch = std::make_unique<DataSet>();
    Fill(*scratch, import, baseName);
    WriteMeasurementFile(*scratch);
    WriteReferenceFile(*scratch, 1);
    // A companion file of the set being replaced belongs to other records;
    // it is kept aside rather than read with these.
    const std::string lFile = LFileName(baseName);
    if (FileExists(lFile)) KeepBackup(lFile);
}

void AdoptAsciiImport(DataSet& data, const AsciiImport& import, const std::string& baseName) {
    Fill(data, import, baseName);
    data.ReleaseLRecords();
    data.lFilePresent = false;
    data.dataLoaded = true;
    data.referenceLoaded = true;
    data.statisticsValid = false;
    SelectChannelDescriptors(data);
    SelectSeriesRange(data, RangeRequest{});
}

}  // namespace corvan
