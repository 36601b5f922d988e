#pragma once
// A file set whose current is one known tide on a mean flow.

#include <cmath>
#include <numbers>
#include <string>

#include "analysis/tide_constituents.h"
#include "data/data_set.h"
#include "support/temp_dir.h"

namespace corvan::testing {

inline constexpr double kDeg = std::numbers::pi / 180.0;

// 25 days at ten minutes from 2014-05-01 00:00 (the stored start is one
// interval earlier): an M2 ellipse of 30 by 8 cm/s anticlockwise at 45
// degrees, phase 100, on a mean flow of 4 east; every 50th speed invalid,
// every 70th direction missing.
inline std::string WriteTidalFile(const TempDir& dir, int type = 0) {
    DataSet d;
    d.baseName = dir.Path("tidal");
    d.header.instrumentType = static_cast<std::uint8_t>(type);
    const int count = 25 * 144;
    d.header.count = count;
    const DateTime first = *DateTime::FromCivil({2014, 5, 1, 0, 0, 0});
    const TidalConstituent& m2 = *FindConstituent("M2");
    const NodalCorrection nodal = NodalCorrectionOf(m2, AstronomyAt(first.AddSeconds((count - 1) * 300LL)));
    for (int k = 0; k < count; ++k) {
        const double theta =
            (AstronomicalArgument(m2, AstronomyAt(first.AddSeconds(k * 600LL))) + nodal.u - 100) * kDeg;
        const double along = nodal.f * 30 * std::cos(theta), across = nodal.f * 8 * std::sin(theta);
        const double e = 4 + along * std::cos(45 * kDeg) - across * std::sin(45 * kDeg);
        const double n = along * std::sin(45 * kDeg) + across * std::cos(45 * kDeg);
        MeasurementRecord& r = d.records[static_cast<std::size_t>(k)];
        r.speed = k % 50 == 7 ? -999.0f : static_cast<float>(std::hypot(e, n));
        double dir = std::atan2(e, n);
        if (dir < 0) dir += 2 * std::numbers::pi;
        r.direction = k % 70 == 3 ? -999.0f : static_cast<float>(dir);
        r.temperature = static_cast<float>(6 + 0.01 * (k % 100));
    }
    d.recordCount = count;
    d.series[0] = SeriesHeader{0, 14, 4, 30, 23, 50, 600, 0, -1.0f};
    d.seriesCount = 1;
    WriteMeasurementFile(d);
    WriteReferenceFile(d, 1);
    return d.baseName;
}

}  // namespace corvan::testing
