#pragma once
// Building the caller's records for the tests, and a Janus-type three-beam
// head whose beam-to-instrument matrix the tests derive themselves.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "independent_rotation.h"
#include "kxcurrent.h"

namespace kxtest {

using Mat = std::array<Vec, 3>;

// Each record starts on an aligned address so the test's checks can bind
// references to their fields; the library itself must cope with any address.
struct Records {
    alignas(8) CurrentDataInfo info{};
    alignas(8) CurrentQualityParams params{};
    alignas(8) CurrentSample sample{};
    alignas(8) CurrentQualityFlags flags{};
    alignas(8) CurrentQualityResult result{};

    void Run() {
        KXSetCurrentDataInfo(&info);
        KXCurrentQuality(&params, &sample, &flags, &result);
    }
    void SetVelocity(int cell, const Vec& v) {
        for (int k = 0; k < 3; ++k) sample.velocity[k][cell] = static_cast<std::int16_t>(v[k]);
    }
    void FillAmplitudes(int beams, int cells, std::uint8_t value) {
        for (int b = 0; b < beams; ++b)
            for (int c = 0; c < cells; ++c) sample.amplitude[b][c] = value;
    }
};

// Every switch off, the converter's thresholds, a head of a frequency without
// a fixed noise floor, 1 m cells straight after the head.
inline Records MakeRecords(int cells, int beams, std::int32_t coordinates = kCoordinatesEarth) {
    Records r;
    r.info.cells = cells;
    r.info.beams = beams;
    r.info.frequency = 1500000.0f;
    r.info.coordinateSystem = coordinates;
    r.info.beamMatrix[0] = r.info.beamMatrix[4] = r.info.beamMatrix[8] = 4096;
    r.info.beamAngle = 25.0f;
    r.info.blanking = 0.0f;
    r.info.cellSize = 1.0f;
    r.params.snrThreshold = 3.0f;
    r.params.boundaryMethod = kBoundaryByPressure;
    r.params.pressureFactor = 0.9f;
    r.params.secondFactor = 0.9f;
    r.params.spikeThreshold = 10.0f;
    r.params.outlierFactor = 5.0f;
    r.params.threeBeamMask = 7;
    r.FillAmplitudes(kMaxBeams, kMaxCells, 120);
    for (int b = 0; b < kMaxBeams; ++b) r.sample.noise[b] = 40;
    return r;
}

inline Mat Inverse(const Mat& m) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Mat inv{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            // Cofactor of m[j][i] over the determinant.
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            inv[i][j] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
        }
    return inv;
}

inline Vec Apply(const Mat& m, const Vec& v) { return {Dot(m[0], v), Dot(m[1], v), Dot(m[2], v)}; }

// Unit vectors along the three beams in instrument coordinates: slanted by
// the beam angle from Z, 120 degrees apart, the first in the X-Z plane.
inline Mat JanusBeamDirections(double beamAngle) {
    Mat d{};
    for (int k = 0; k < 3; ++k) {
        const double azimuth = Radians(120.0 * k);
        d[k] = {std::sin(Radians(beamAngle)) * std::cos(azimuth), std::sin(Radians(beamAngle)) * std::sin(azimuth),
                std::cos(Radians(beamAngle))};
    }
    return d;
}

// The beam-to-instrument matrix of that head as the instrument stores it.
inline void SetJanusMatrix(CurrentDataInfo& info, double beamAngle) {
    const Mat t = Inverse(JanusBeamDirections(beamAngle));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            info.beamMatrix[i * 3 + j] = static_cast<std::int16_t>(std::lround(t[i][j] * 4096.0));
}

// What the library actually works with after the scaling by 4096.
inline Mat StoredMatrix(const CurrentDataInfo& info) {
    Mat t{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) t[i][j] = info.beamMatrix[i * 3 + j] / 4096.0;
    return t;
}

}  // namespace kxtest
