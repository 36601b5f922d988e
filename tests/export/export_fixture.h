#pragma once
// Measurement file sets for the export tests, written to disk with the
// program's own writers and read back through its loader.

#include <cstdio>
#include <string>

#include "data/data_set.h"
#include "data/measurement_files.h"
#include "data/text_export.h"

namespace corvan::testing {

// Three series of a type-0 meter: records 0..3, 4..7 and 8..9, the last one
// cut short (header count 12, 10 records on disk).
//   series 1: 1997-02-25 12:00, 600 s; series 2: 1997-03-01 00:00, 1800 s;
//   series 3: 2024-01-05 23:50, 600 s.
// Series 2 holds an exact half (8.125 / 12.25), an all-invalid record with
// a negative direction, a speed that rounds to zero and a negative speed.
inline void WriteThreeSeries(const std::string& base) {
    DataSet d;
    d.baseName = base;
    d.header.instrumentType = 0;
    d.header.count = 10;
    const MeasurementRecord records[10] = {
        {20.0f, 1.0f, 7.0f, 0.0f},  {21.0f, 1.1f, 7.1f, 0.0f},        {22.0f, 1.2f, 7.2f, 0.0f},
        {23.0f, 1.3f, 7.3f, 0.0f},  {12.25f, 0.5f, 8.125f, 0.0f},     {-999.0f, -1.0f, -999.0f, 0.0f},
        {0.04f, 6.2f, -1.5f, 0.0f}, {-2.5f, 3.14159265f, 3.5f, 0.0f}, {30.0f, 0.0f, 9.0f, 0.0f},
        {31.0f, 0.1f, 9.5f, 0.0f},
    };
    for (int i = 0; i < 10; ++i) d.records[static_cast<std::size_t>(i)] = records[i];
    d.series[0] = SeriesHeader{0, 97, 2, 25, 12, 0, 600, 2, -1.0f};
    d.series[1] = SeriesHeader{4, 97, 3, 1, 0, 0, 1800, 2, -1.0f};
    d.series[2] = SeriesHeader{8, 24, 1, 5, 23, 50, 600, 2, -1.0f};
    WriteMeasurementFile(d);
    WriteReferenceFile(d, 3);
}

// Declares more records than the file holds, as a set cut short by a full
// disk would.
inline void RaiseHeaderCount(const std::string& base, std::int16_t count) {
    std::FILE* f = std::fopen(MeasurementFileName(base).c_str(), "r+b");
    if (f == nullptr) return;
    std::fseek(f, 7, SEEK_SET);
    const unsigned char bytes[2] = {static_cast<unsigned char>(count & 0xFF), static_cast<unsigned char>(count >> 8)};
    std::fwrite(bytes, 1, 2, f);
    std::fclose(f);
}

inline bool Load(const std::string& base, DataSet& d) {
    d.baseName = base;
    const LoadOutcome outcome = LoadMeasurementFiles(d);
    return outcome.measurementFileFound && outcome.message.empty() && d.dataLoaded;
}

// "," with 01.03.1997 and 00:30: a locale unlike the ISO fallback in every
// piece.
inline ExportLocale CommaLocale() {
    ExportLocale l;
    l.decimalSeparator = ",";
    l.shortDate = [](const CivilTime& c) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", c.day, c.month, c.year);
        return std::string(buf);
    };
    l.shortTime = [](const CivilTime& c) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02d:%02d", c.hour, c.minute);
        return std::string(buf);
    };
    return l;
}

}  // namespace corvan::testing
