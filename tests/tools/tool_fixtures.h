#pragma once
// Measurement file sets for the tools' tests, written by the program's own
// writers into a temporary folder.

#include <string>
#include <vector>

#include "data/data_set.h"
#include "data/measurement_files.h"

namespace corvan::testing {

struct SetLayout {
    int type = 0;
    int sensorKind = 0;
    int count = 10;
    std::vector<SeriesHeader> series;
    SetLayout() {
        SeriesHeader h;
        h.year = 24;
        h.month = 3;
        h.day = 4;
        h.hour = 12;
        h.interval = 600;
        h.intervalCode = 2;
        series.push_back(h);
    }
};

// Record i holds speed 10 + i, direction 0.01 i, temperature 5 + i / 10 and
// optional 80 + i; a position logger holds latitude 3600 + i, longitude 600
// + i and temperature -999.
inline void WriteSet(const std::string& base, const SetLayout& layout) {
    DataSet d;
    d.baseName = base;
    d.header.instrumentType = static_cast<std::uint8_t>(layout.type);
    d.header.sensorKind = static_cast<std::uint8_t>(layout.sensorKind);
    d.header.count = static_cast<std::int16_t>(layout.count);
    for (int i = 0; i < layout.count; ++i) {
        const float f = static_cast<float>(i);
        d.records[static_cast<std::size_t>(i)] =
            layout.type == 2 ? MeasurementRecord{3600.0f + f, 600.0f + f, kInvalidValue, 0.0f}
                           : MeasurementRecord{10.0f + f, 0.01f * f, 5.0f + f / 10.0f, 80.0f + f};
    }
    for (std::size_t s = 0; s < layout.series.size(); ++s) d.series[s] = layout.series[s];
    WriteMeasurementFile(d);
    WriteReferenceFile(d, static_cast<int>(layout.series.size()));
}

inline bool LoadSet(const std::string& base, DataSet& d) {
    d.baseName = base;
    const LoadOutcome o = LoadMeasurementFiles(d);
    return o.measurementFileFound && o.message.empty() && d.dataLoaded;
}

}  // namespace corvan::testing
