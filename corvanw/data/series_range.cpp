#include "data/series_range.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace corvan {

SeriesBounds BoundsOfSeries(const DataSet& data, int s) { return BoundsOfSeries(data, s, data.SeriesCount()); }

SeriesBounds BoundsOfSeries(const DataSet& data, int s, int seriesCount) {
    SeriesBounds b;
    seriesCount = std::clamp(seriesCount, 0, kMaxSeries);
    if (s < 1 || s > seriesCount) return b;
    b.lowest = data.SeriesFirst(s) + 1;
    b.highest = s < seriesCount ? data.SeriesFirst(s + 1) : data.HeaderCount();
    return b;
}

std::string SelectSeriesRange(DataSet& data, const RangeRequest& request) {
    const int seriesCount = data.SeriesCount();
    if (seriesCount < 1) return "the file holds no series";
    if (request.series < 1 || request.series > seriesCount)
        return "series " + std::to_string(request.series) + " is not in 1.." + std::to_string(seriesCount);
    const SeriesBounds b = BoundsOfSeries(data, request.series);
    if (b.Empty()) return "series " + std::to_string(request.series) + " holds no measurements";
    const long long first = request.first.value_or(b.lowest);
    const long long last = request.last.value_or(b.highest);
    const std::string span = std::to_string(b.lowest) + ".." + std::to_string(b.highest);
    if (first < b.lowest || first > b.highest)
        return "first measurement " + std::to_string(first) + " is outside series " + std::to_string(request.series) +
               " (" + span + ")";
    if (last < b.lowest || last > b.highest)
        return "last measurement " + std::to_string(last) + " is outside series " + std::to_string(request.series) +
               " (" + span + ")";
    if (last < first)
        return "last measurement " + std::to_string(last) + " comes before first measurement " + std::to_string(first);

    data.currentSeries = static_cast<std::uint16_t>(request.series);
    data.rangeFirst = static_cast<std::int32_t>(first - 1);
    data.rangeLast = static_cast<std::int32_t>(last - 1);
    data.rangeCount = static_cast<std::int32_t>(last - first + 1);
    data.rangeInterval = static_cast<std::int16_t>(data.series[static_cast<std::size_t>(request.series - 1)].interval);
    return {};
}

namespace {
std::optional<long long> WholeNumber(const std::string& text) {
    long long v = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || p != end) return std::nullopt;
    return v;
}
}  // namespace

std::optional<NamedRange> ParseNamedRange(const std::string& text) {
    // Split off up to three trailing ":number" fields.
    std::vector<std::string> numbers;
    std::string base = text;
    while (numbers.size() < 3) {
        const auto colon = base.rfind(':');
        if (colon == std::string::npos) break;
        const std::string tail = base.substr(colon + 1);
        if (!WholeNumber(tail)) break;
        numbers.insert(numbers.begin(), tail);
        base.erase(colon);
    }
    NamedRange r;
    r.base = base;
    if (numbers.empty()) return r;
    if (numbers.size() == 2) return std::nullopt;  // SERIES:FIRST without LAST is ambiguous
    r.request.series = static_cast<int>(*WholeNumber(numbers[0]));
    if (numbers.size() == 3) {
        r.request.first = *WholeNumber(numbers[1]);
        r.request.last = *WholeNumber(numbers[2]);
    }
    if (base.empty()) return std::nullopt;
    return r;
}

}  // namespace corvan
