#pragma once
// The texts the site-survey report puts into its template: site facts,
// headings, contents lines and the statistics of each measuring position.
// Plain functions over the data set and its statistics, so the desktop and
// the command line fill the same words.

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/data_set.h"
#include "data/date_time.h"
#include "graphs/statistics.h"

namespace corvan {

inline constexpr int kReportPositionCount = 3;
// Index 0 surface, 1 dispersion, 2 bottom; the bit of position i is 1 << i.
inline constexpr std::array<const char*, kReportPositionCount> kSectionPlaceholders = {
    "{corvanOverflate}", "{corvanSpredning}", "{corvanBunn}"};
inline constexpr std::array<const char*, kReportPositionCount> kPositionPrefixes = {"{corvanOf", "{corvanSp",
                                                                                    "{corvanBn"};
inline constexpr const char* kSurfaceHeading = "Overflatestrøm";
inline constexpr const char* kDispersionHeading = "Spredningsstrøm";
inline constexpr const char* kBottomHeading = "Bunnstrøm";

// The suffixes after a position's prefix, in the order they are filled.
inline constexpr std::array<const char*, 14> kPositionSuffixes = {
    "Instr}", "InstrNr}", "Tid}",    "Frekvens}", "AvgC}",    "RestC}",   "Neu}",
    "MaxC}",  "HovedD}",  "HovedC}", "MaxFlow}",  "MinFlow}", "AvgFlow}", "Pct0}"};

using Replacement = std::pair<std::string, std::string>;

// "Overflatestrøm - 12 meter" when the depth text is a whole number >= 1,
// else the bare heading.
std::string SurfaceHeadingText(std::string_view depthText);
std::string PositionHeading(int position, std::string_view surfaceDepthText);

// {corvanInnhold1} and {corvanInnhold2} for the set of positions present
// (bit 1 surface, 2 dispersion, 4 bottom).
std::pair<std::string, std::string> ContentsLines(int presentSet);

// 23/02-2009.
std::string ReportDateText(const CivilTime& today);

// {corvanMeasMode} and {corvanTypeLead} for an instrument type.
std::pair<std::string, std::string> MeasuringModeTexts(int instrumentType);

// "1 min", "2 min/10 min", or for the converted types "45 sec/10 min".
std::string IntervalText(int instrumentType, int intervalSeconds, int intervalCode);
// round((last - first) * interval / 86400), halves to even, at least 1.
long long ReportDays(int first, int last, int intervalSeconds);

// Sectors (0-based) and classes (0-based) by count, most first, the later
// one first on a tie; the four that head the lists.
std::vector<int> MainSectors(const SectorStatistics& sectors, std::size_t count = 4);
std::vector<int> MainClasses(const SectorStatistics& sectors, std::size_t count = 4);
// The sector (0-based) with the largest / smallest water flux; the first wins a tie.
int LargestFluxSector(const SectorStatistics& sectors);
int SmallestFluxSector(const SectorStatistics& sectors);
// "1234m#3 ved 90-105 grader. 56m#3/m#2/døgn"
std::string FlowText(const SectorStatistics& sectors, int sector, long long days);

// The position's placeholders (prefix + suffix) with their values, for the
// data set's selected range and the statistics computed over it (the
// progressive figures included). Numbers use the given decimal separator.
std::vector<Replacement> PositionReplacements(const DataSet& data, const Statistics& stats, std::string_view prefix,
                                              std::string_view decimalSeparator);
// The same placeholders with empty values, for a position left out.
std::vector<Replacement> EmptyPositionReplacements(std::string_view prefix);

// The site facts of the dialog's "Global" group and the depths and
// addresses of the positions.
struct ReportSiteFacts {
    std::string totalDepth;
    std::array<std::string, kReportPositionCount> depth;
    std::array<std::string, kReportPositionCount> address;
    std::string utm;
    std::string sted;
    std::string kommune;
    std::string fylke;
};
std::vector<Replacement> SiteReplacements(const ReportSiteFacts& facts, const CivilTime& today);

// The statistical summary as the report's table shows it: row texts
// [row][column], 9 rows, or 12 with the valid-measurements block.
inline constexpr const char* kReportSummaryTitle = "STATISTICAL SUMMARY";
struct SummaryTable {
    std::vector<std::array<std::string, 4>> cells;
    // Centred cells without the decimal tab: the column captions.
    std::vector<std::pair<int, int>> headerCells;
};
SummaryTable ReportSummaryTable(const DataSet& data, const Statistics& stats, std::string_view decimalSeparator);

}  // namespace corvan
