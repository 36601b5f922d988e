#pragma once
// Builds data sets in memory for the statistics tests.

#include <cmath>
#include <numbers>
#include <vector>

#include "data/data_set.h"

namespace corvan::testing {

inline float Radians(double degrees) { return static_cast<float>(degrees * std::numbers::pi / 180.0); }

struct Rec {
    float speed;
    double degrees;  // negative: no direction (stored as -999 radians)
    float temperature = 10.0f;
    float optional = 0.0f;
};

// One series starting 1997-02-25 12:00 with the given records as the range.
inline void FillDataSet(DataSet& d, const std::vector<Rec>& recs, int instrumentType = 0, int sensorKind = 0,
                        int interval = 600) {
    d.header.instrumentType = static_cast<std::uint8_t>(instrumentType);
    d.header.sensorKind = static_cast<std::uint8_t>(sensorKind);
    d.header.count = static_cast<std::int16_t>(recs.size());
    d.header.referenceNumber = 4711;
    for (std::size_t i = 0; i < recs.size(); ++i) {
        MeasurementRecord& r = d.records[i];
        r.speed = recs[i].speed;
        r.direction = recs[i].degrees < 0 ? -999.0f : Radians(recs[i].degrees);
        r.temperature = recs[i].temperature;
        r.optional = recs[i].optional;
    }
    d.recordCount = static_cast<std::int32_t>(recs.size());
    d.series[0] = SeriesHeader{};
    d.series[0].first = 0;
    d.series[0].year = 97;
    d.series[0].month = 2;
    d.series[0].day = 25;
    d.series[0].hour = 12;
    d.series[0].minute = 0;
    d.series[0].interval = interval;
    d.seriesCount = 1;
    d.referenceLoaded = true;
    d.dataLoaded = true;
    d.currentSeries = 1;
    d.rangeFirst = 0;
    d.rangeLast = static_cast<std::int32_t>(recs.size()) - 1;
    d.rangeCount = static_cast<std::int32_t>(recs.size());
    d.rangeInterval = static_cast<std::int16_t>(interval);
    SelectChannelDescriptors(d);
}

}  // namespace corvan::testing
