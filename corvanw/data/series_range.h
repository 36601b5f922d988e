#pragma once
// Choosing a series and a range of its records: one operation with one
// policy for the range dialog, the download, the tools and every command.

#include <optional>
#include <string>

#include "data/data_set.h"

namespace corvan {

// The measurement numbers (1-based, as the range dialog shows them) that
// 1-based series s spans: first(s) + 1 .. end(s), where end(s) is the next
// series' first record or the header count. Empty when the series holds no
// record or s is not in the table.
struct SeriesBounds {
    int lowest = 1;
    int highest = 0;
    bool Empty() const { return highest < lowest; }
    int Count() const { return Empty() ? 0 : highest - lowest + 1; }
    // The number a listing shows as the series' last: highest, or the one
    // before lowest when the series holds nothing (so last - first + 1 is 0
    // even for a table whose firsts run backwards).
    int LastNumber() const { return Empty() ? lowest - 1 : highest; }
};
SeriesBounds BoundsOfSeries(const DataSet& data, int s);
// The same for a table of seriesCount series, for an editor whose count is
// not yet stored in the data set.
SeriesBounds BoundsOfSeries(const DataSet& data, int s, int seriesCount);

// A series and a range as a caller asks for it; an absent first or last
// stands for the series' own first or last measurement.
struct RangeRequest {
    int series = 1;
    std::optional<long long> first;
    std::optional<long long> last;
};

// Checks the request against the loaded series table and, when it holds,
// writes series, first, last, count and interval into the data set. A
// request outside the series is refused, never clamped: the returned text
// says why and the data set is left as it was. Empty text on success.
std::string SelectSeriesRange(DataSet& data, const RangeRequest& request);

// Parses "BASE", "BASE:SERIES" or "BASE:SERIES:FIRST:LAST" (the report's and
// the merge's way of naming a position): the base name and the request.
// nullopt when the numbers after the colons are not whole numbers. A colon
// followed by something that is not a number belongs to the name (a drive
// letter, a folder), so "C:\x\buoy3" is a base name.
struct NamedRange {
    std::string base;
    RangeRequest request;
};
std::optional<NamedRange> ParseNamedRange(const std::string& text);

}  // namespace corvan
