#include "ui/range_selection.h"

#include <algorithm>
#include <cstdio>

#include "data/series_range.h"

namespace corvan {

std::string SeriesItemText(const DataSet& data, int s) {
    const SeriesHeader& h = data.series[static_cast<std::size_t>(std::clamp(s, 1, kMaxSeries) - 1)];
    const SeriesBounds b = BoundsOfSeries(data, s);
    char buf[128];
    std::snprintf(buf, sizeof buf, "%d\v%d\v%d\v%d\v\t%02d.%02d.%02d\t%02d:%02d", s, b.lowest, b.highest, b.Count(),
                  h.year % 100, h.month, h.day, h.hour, h.minute);
    return buf;
}

void RangeSelection::Show() {
    series_ = std::clamp<int>(data_.currentSeries, 1, std::max(1, data_.SeriesCount()));
    const SeriesBounds b = BoundsOfSeries(data_, series_);
    if (data_.rangeCount == 0) {
        data_.rangeFirst = b.lowest - 1;
        data_.rangeLast = b.highest - 1;
    }
    first_.SetLimits(b.lowest, std::max(b.lowest, b.highest));
    last_.SetLimits(b.lowest, std::max(b.lowest, b.highest));
    first_.Set(data_.rangeFirst + 1);
    last_.Set(data_.rangeLast + 1);
    count_.SetLimits(0, last_.maximum - data_.rangeFirst);
    count_.Set(data_.rangeLast - data_.rangeFirst + 1);
    typing_ = false;
}

void RangeSelection::SelectSeries(int s) {
    // The data set's current series changes only on OK, so that Cancel
    // leaves everything as it was.
    series_ = std::clamp(s, 1, std::max(1, data_.SeriesCount()));
    const SeriesBounds b = BoundsOfSeries(data_, series_);
    first_.SetLimits(b.lowest, std::max(b.lowest, b.highest));
    last_.SetLimits(b.lowest, std::max(b.lowest, b.highest));
    first_.Set(first_.minimum);
    last_.Set(last_.maximum);
    const int n = last_.maximum - last_.minimum + 1;
    count_.SetLimits(0, n);
    count_.Set(n);
}

void RangeSelection::FirstChanged(int value) {
    first_.Set(value);
    if (last_.value < first_.value) last_.Set(first_.value);
    count_.SetLimits(count_.minimum, first_.maximum - first_.value + 1);
    count_.Set(last_.value - first_.value + 1);
}

void RangeSelection::ApplyLastRule() {
    if (last_.value < first_.value) {
        first_.Set(last_.value);
        // The count may reach the series' end from the new first record.
        count_.SetLimits(count_.minimum, first_.maximum - first_.value + 1);
    }
    count_.Set(first_.value < last_.value ? last_.value - first_.value + 1 : 1);
}

void RangeSelection::LastChanged(int value) {
    last_.Set(value);
    // While a number is being typed its first digits must not drag
    // SpinFirst down; only the count follows.
    if (!typing_ && last_.value < first_.value) {
        ApplyLastRule();
        return;
    }
    count_.Set(first_.value < last_.value ? last_.value - first_.value + 1 : 1);
}

void RangeSelection::LastTypingEnded() {
    typing_ = false;
    ApplyLastRule();
}

void RangeSelection::CountChanged(int value) {
    count_.Set(value);
    last_.Set(first_.value + count_.value - 1);
}

std::string RangeSelection::Accept() {
    return SelectSeriesRange(data_, RangeRequest{series_, first_.value, last_.value});
}

}  // namespace corvan
