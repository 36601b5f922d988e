#include "ui/range_selection.h"

#include <algorithm>
#include <cstdio>

namespace corvan {

int SeriesEnd(const DataSet& data, int s) {
    if (s < data.SeriesCount()) return data.SeriesFirst(s + 1);
    return data.HeaderCount();
}

std::string SeriesItemText(const DataSet& data, int s) {
    const SeriesHeader& h = data.series[static_cast<std::size_t>(std::clamp(s, 1, kMaxSeries) - 1)];
    const int first = data.SeriesFirst(s);
    const int end = SeriesEnd(data, s);
    char buf[128];
    std::snprintf(buf, sizeof buf, "%d\v%d\v%d\v%d\v\t%02d.%02d.%02d\t%02d:%02d", s, first + 1, end, end - first,
                  h.year % 100, h.month, h.day, h.hour, h.minute);
    return buf;
}

void RangeSelection::Show() {
    series_ = std::clamp<int>(data_.currentSeries, 1, std::max(1, data_.SeriesCount()));
    const int first = data_.SeriesFirst(series_);
    const int end = SeriesEnd(data_, series_);
    if (data_.rangeCount == 0) {
        data_.rangeFirst = first;
        data_.rangeLast = end - 1;
    }
    first_.SetLimits(first + 1, std::max(first + 1, end));
    last_.SetLimits(first + 1, std::max(first + 1, end));
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
    const int first = data_.SeriesFirst(series_);
    const int end = SeriesEnd(data_, series_);
    first_.SetLimits(first + 1, std::max(first + 1, end));
    last_.SetLimits(first + 1, std::max(first + 1, end));
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

void RangeSelection::Accept() {
    data_.currentSeries = static_cast<std::uint16_t>(series_);
    // The written range always lies inside the series, whatever the spins
    // were left holding.
    const int lo = first_.minimum;
    const int hi = first_.maximum;
    const int firstNumber = std::clamp(first_.value, lo, hi);
    const int lastNumber = std::clamp(std::max(last_.value, firstNumber), lo, hi);
    data_.rangeFirst = firstNumber - 1;
    data_.rangeLast = lastNumber - 1;
    data_.rangeInterval = static_cast<std::int16_t>(data_.series[static_cast<std::size_t>(series_ - 1)].interval);
    data_.rangeCount = lastNumber - data_.rangeFirst;
}

}  // namespace corvan
