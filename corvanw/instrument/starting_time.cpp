#include "instrument/starting_time.h"

#include <algorithm>
#include <cstdio>

#include "data/date_time.h"
#include "data/series_range.h"

namespace corvan {

namespace {
std::string TwoDigits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}
}  // namespace

int DayMaximum(int twoDigitYear, int month) {
    if (month == 12) return 31;
    const int days = DaysInMonth(TwoDigitYear(twoDigitYear), month);
    return days > 0 ? days : 31;
}

int ClampDay(int twoDigitYear, int month, int day) { return std::min(day, DayMaximum(twoDigitYear, month)); }

SeriesStartFields StartFields(const SeriesHeader& s) { return {s.year, s.month, s.day, s.hour, s.minute}; }

void StoreStartFields(SeriesHeader& s, const SeriesStartFields& f) {
    s.year = static_cast<std::uint8_t>(std::clamp(f.year, 0, 99));
    s.month = static_cast<std::uint8_t>(std::clamp(f.month, 1, 12));
    s.day = static_cast<std::uint8_t>(std::clamp(f.day, 1, 31));
    s.hour = static_cast<std::uint8_t>(std::clamp(f.hour, 0, 23));
    s.minute = static_cast<std::uint8_t>(std::clamp(f.minute, 0, 59));
}

std::vector<SeriesListLine> SeriesListLines(const DataSet& data, int seriesCount) {
    std::vector<SeriesListLine> lines;
    seriesCount = std::clamp(seriesCount, 0, kMaxSeries);
    for (int s = 0; s < seriesCount; ++s) {
        const SeriesHeader& h = data.series[static_cast<std::size_t>(s)];
        const SeriesBounds b = BoundsOfSeries(data, s + 1, seriesCount);
        SeriesListLine l;
        l.series = TwoDigits(s + 1);
        l.first = TwoDigits(b.lowest);
        l.last = TwoDigits(b.LastNumber());
        l.count = TwoDigits(b.Count());
        l.date = TwoDigits(h.year) + "." + TwoDigits(h.month) + "." + TwoDigits(h.day);
        l.time = TwoDigits(h.hour) + ":" + TwoDigits(h.minute);
        lines.push_back(std::move(l));
    }
    return lines;
}

}  // namespace corvan
