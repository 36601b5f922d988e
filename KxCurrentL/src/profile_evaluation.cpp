#include "profile_evaluation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "kx_math.h"

namespace kx {

namespace {

constexpr double kDecibelPerCount = 0.43;
// A rise of 7 dB from one cell to the next marks the surface or the bottom.
constexpr double kBoundaryJumpCounts = 16.27907;
// Beams whose boundary cells spread more than this disagree on where it is.
constexpr double kBoundarySpreadLimit = 2.0;
// Steps 6-9 convert beams 1-3 only; a fourth beam is carried as given.
constexpr int kConvertedBeams = 3;

int Amplitude(const CurrentSample& sample, int beam, int cell) { return sample.amplitude[beam][cell]; }

double Velocity(const CurrentSample& sample, int beam, int cell) { return sample.velocity[beam][cell]; }

Vector3 CellVector(const CurrentSample& sample, int cell) {
    return {Velocity(sample, 0, cell), Velocity(sample, 1, cell), Velocity(sample, 2, cell)};
}

bool IsFinite(const Vector3& v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

Matrix3 SampleAttitude(const CurrentSample& sample, bool withTilt) {
    return InstrumentToEarth(sample.heading, withTilt ? sample.pitch : 0.0, withTilt ? sample.roll : 0.0,
                             sample.orientation == 1);
}

// Beam to earth with the sample's full attitude (tilt optional).
Matrix3 BeamToEarth(const Geometry& geometry, const CurrentSample& sample, bool withTilt) {
    return Multiply(SampleAttitude(sample, withTilt), BeamToInstrumentMatrix(geometry.beamMatrix));
}

// From beam velocities to the coordinate system the sample is stored in.
Matrix3 BeamToStored(const Geometry& geometry, const CurrentSample& sample) {
    switch (geometry.coordinateSystem) {
        case kCoordinatesEarth:
            return BeamToEarth(geometry, sample, true);
        case kCoordinatesInstrument:
            return BeamToInstrumentMatrix(geometry.beamMatrix);
        default:
            return Identity();
    }
}

void InvalidateConvertedRows(const Geometry& geometry, int firstCell, int endCell, CurrentQualityResult& result) {
    const int rows = std::min(geometry.beams, kConvertedBeams);
    for (int c = firstCell; c < std::min(endCell, geometry.cells); ++c)
        for (int k = 0; k < rows; ++k) result.velocity[k][c] = kInvalidResult;
}

void WriteConvertedCell(const Geometry& geometry, int cell, const Vector3& v, CurrentQualityResult& result) {
    const int rows = std::min(geometry.beams, kConvertedBeams);
    const bool finite = IsFinite(v);
    for (int k = 0; k < rows; ++k) result.velocity[k][cell] = finite ? static_cast<float>(v[k]) : kInvalidResult;
}

}  // namespace

Geometry GeometryFromInfo(const CurrentDataInfo& info) {
    Geometry g;
    const std::int32_t cells = info.cells;
    const std::int32_t beams = info.beams;
    g.cells = std::clamp<std::int32_t>(cells, 0, kMaxCells);
    g.beams = std::clamp<std::int32_t>(beams, 0, kMaxBeams);
    g.frequency = info.frequency;
    g.instrumentType = info.instrumentType;
    g.coordinateSystem = info.coordinateSystem;
    for (int i = 0; i < 9; ++i) g.beamMatrix[i] = info.beamMatrix[i];
    g.beamAngle = info.beamAngle;
    g.blanking = info.blanking;
    g.cellSize = info.cellSize;
    return g;
}

void ClearFlags(CurrentQualityFlags& flags) {
    // The record is packed and may sit at any address, so no typed pointer
    // into it is ever formed.
    std::memset(&flags, 0, sizeof flags);
}

CellRanges ComputeCellRanges(const Geometry& geometry) {
    CellRanges ranges{};
    for (int c = 0; c < geometry.cells; ++c)
        ranges[c] = (c + 1) * static_cast<double>(geometry.cellSize) + geometry.blanking;
    return ranges;
}

void FlagBoundaryByPressure(const Geometry& geometry, const CellRanges& ranges, float pressure, float pressureFactor,
                            CurrentQualityFlags& flags) {
    const double surface = static_cast<double>(pressure) * pressureFactor;
    // Written as "not at or below the surface" so a pressure that is not a
    // number removes the cells instead of keeping them.
    for (int c = 0; c < geometry.cells; ++c)
        if (!(surface >= ranges[c])) flags.cell[c] |= kFlagBeyondSurface;
}

void FlagBoundaryByAmplitude(const Geometry& geometry, const CurrentSample& sample, CurrentQualityFlags& flags) {
    const int n = geometry.cells;
    std::array<double, kMaxBeams> boundary{};
    int first = n;
    bool found = false;
    for (int b = 0; b < geometry.beams; ++b) {
        int best = 0;
        for (int j = 1; j <= n - 3; ++j) {
            const int jump = Amplitude(sample, b, j) - Amplitude(sample, b, j - 1);
            if (jump > kBoundaryJumpCounts && jump > best) {
                best = jump;
                boundary[b] = j;
                first = std::min(first, j);
                found = true;
            }
        }
    }
    const auto spread = SampleStdDev(std::span<const double>(boundary.data(), geometry.beams));
    if (!spread || !(*spread < kBoundarySpreadLimit) || !found || first >= n) return;
    for (int c = first; c < n; ++c) flags.cell[c] |= kFlagBeyondAcousticBoundary;
}

void FlagLowSnr(const Geometry& geometry, float snrThreshold, CurrentSample& sample, CurrentQualityFlags& flags,
                CurrentQualityResult& result) {
    for (int b = 0; b < geometry.beams; ++b) {
        int noise = NoiseFloorForFrequency(geometry.frequency, sample.noise[b]);
        for (int c = 0; c < geometry.cells; ++c) noise = std::min(noise, Amplitude(sample, b, c));
        sample.noise[b] = static_cast<std::uint8_t>(noise);
        for (int c = 0; c < geometry.cells; ++c) {
            const double snr = (Amplitude(sample, b, c) - noise) * kDecibelPerCount;
            result.snr[b][c] = static_cast<float>(snr);
            if (snr < snrThreshold) {
                flags.beamCell[b][c] |= kFlagLowSnr;
                flags.cell[c] |= kFlagLowSnr;
            }
        }
    }
}

void FlagSpikes(const Geometry& geometry, float spikeThreshold, const CurrentSample& sample,
                CurrentQualityFlags& flags) {
    const double limit = spikeThreshold / kDecibelPerCount;
    for (int b = 0; b < geometry.beams; ++b)
        for (int c = 2; c <= geometry.cells - 4; ++c) {
            const int here = Amplitude(sample, b, c);
            const int d1 = here - Amplitude(sample, b, c + 1);
            const int d2 = here - Amplitude(sample, b, c - 1);
            if (d1 > 0 && d2 > 0 && (d1 + d2) / 2.0 > limit) {
                flags.beamCell[b][c] |= kFlagSnrSpike;
                flags.cell[c] |= kFlagSnrSpike;
            }
        }
}

void FlagOutliers(const Geometry& geometry, float outlierFactor, const CurrentSample& sample,
                  CurrentQualityFlags& flags) {
    std::array<double, kMaxCells> values{};
    for (int b = 0; b < geometry.beams; ++b) {
        for (int c = 0; c < geometry.cells; ++c) values[c] = Velocity(sample, b, c);
        const std::span<const double> beam(values.data(), geometry.cells);
        const auto spread = SampleStdDev(beam);
        if (!spread) continue;
        const double limit = *spread * outlierFactor + std::fabs(Mean(beam));
        for (int c = 0; c < geometry.cells; ++c)
            if (std::fabs(values[c]) > limit) flags.cell[c] |= kFlagVelocityOutlier;
    }
}

void WriteCellResults(const Geometry& geometry, const CellRanges& ranges, const CurrentSample& sample,
                      const CurrentQualityFlags& flags, CurrentQualityResult& result) {
    std::optional<Matrix3> toEarth;
    if (geometry.coordinateSystem == kCoordinatesInstrument)
        toEarth = SampleAttitude(sample, true);
    else if (geometry.coordinateSystem != kCoordinatesEarth)
        toEarth = BeamToEarth(geometry, sample, true);

    for (int c = 0; c < geometry.cells; ++c) {
        result.range[c] = static_cast<float>(ranges[c]);
        result.status[c] = flags.cell[c] != 0 ? kStatusFlagged : kStatusValid;

        bool valid = flags.cell[c] == 0;
        for (int b = 0; b < geometry.beams; ++b) {
            const bool beamValid = valid && flags.beamCell[b][c] == 0;
            result.velocity[b][c] = beamValid ? static_cast<float>(sample.velocity[b][c]) : kInvalidResult;
            valid = valid && beamValid;
        }

        result.speed[c] = kInvalidResult;
        result.direction[c] = kInvalidResult;
        if (!valid) continue;
        const Vector3 earth = toEarth ? Multiply(*toEarth, CellVector(sample, c)) : CellVector(sample, c);
        // An attitude that is not a number leaves the cell without a current
        // rather than handing NaN on as a measurement.
        if (!std::isfinite(earth[0]) || !std::isfinite(earth[1])) continue;
        result.speed[c] = static_cast<float>(SpeedMetresPerSecond(earth[0], earth[1]));
        result.direction[c] = static_cast<float>(DirectionDegrees(earth[0], earth[1]));
    }
}

void MapCells(const Geometry& geometry, CurrentSample& sample, CurrentQualityFlags& flags,
              CurrentQualityResult& result) {
    const int n = geometry.cells;
    if (n == 0) return;

    const Matrix3 toEarth = BeamToEarth(geometry, sample, true);
    const auto fromEarth = Invert(toEarth);
    const auto fromEarthLevel = Invert(BeamToEarth(geometry, sample, false));
    if (!fromEarth || !fromEarthLevel) {
        InvalidateConvertedRows(geometry, 1, kMaxCells, result);
        return;
    }

    // One entry beyond the last cell: a position just short of N interpolates
    // towards index N, which repeats cell N - 1 like the rest of the tail.
    constexpr int kWorkCells = kMaxCells + 1;
    std::array<std::array<double, kWorkCells>, kConvertedBeams> beamVelocity{};
    std::array<std::array<double, kWorkCells>, kConvertedBeams> beamAmplitude{};
    for (int c = 0; c < n; ++c) {
        const Vector3 beam = Multiply(*fromEarth, CellVector(sample, c));
        for (int k = 0; k < kConvertedBeams; ++k) {
            beamVelocity[k][c] = beam[k];
            beamAmplitude[k][c] = Amplitude(sample, k, c);
        }
    }
    for (int k = 0; k < kConvertedBeams; ++k) {
        std::fill(beamVelocity[k].begin() + n, beamVelocity[k].end(), beamVelocity[k][n - 1]);
        std::fill(beamAmplitude[k].begin() + n, beamAmplitude[k].end(), beamAmplitude[k][n - 1]);
    }

    auto mapped = beamVelocity;
    std::array<bool, kMaxCells> outside{};
    const double s = geometry.cellSize;
    const double z = geometry.blanking;
    const int mappedBeams = std::min(geometry.beams, kConvertedBeams);
    for (int i = 1; i < n; ++i)
        for (int j = 0; j < mappedBeams; ++j) {
            const double x = (*fromEarthLevel)[j][2];
            const double xTilted = (*fromEarth)[j][2];
            const double levelRange = (i * x + 1.0) * s + z;
            const double pos = (levelRange - z - s) / (xTilted * s);
            if (!(pos > 0.0 && pos < n)) {
                flags.cell[i] |= kFlagOutsideProfile;
                outside[i] = true;
                continue;
            }
            const int lo = static_cast<int>(std::floor(pos));
            const int hi = static_cast<int>(std::ceil(pos));
            double wLo = hi - pos;
            double wHi = pos - lo;
            if (lo == hi) {
                wLo = 1.0;
                wHi = 0.0;
            }
            mapped[j][i] = RoundHalfTowardZero(wLo * beamVelocity[j][lo] + wHi * beamVelocity[j][hi]);
            const double amplitude = RoundHalfTowardZero(wLo * beamAmplitude[j][lo] + wHi * beamAmplitude[j][hi]);
            sample.amplitude[j][i] = static_cast<std::uint8_t>(std::clamp(amplitude, 0.0, 255.0));
        }

    for (int i = 1; i < n; ++i) {
        if (outside[i]) {
            InvalidateConvertedRows(geometry, i, i + 1, result);
            continue;
        }
        const Vector3 beam{mapped[0][i], mapped[1][i], mapped[2][i]};
        WriteConvertedCell(geometry, i, Multiply(toEarth, beam), result);
    }
}

void RebuildThirdBeam(const Geometry& geometry, std::int32_t beamMask, const CurrentSample& sample,
                      CurrentQualityResult& result) {
    int good1 = -1, good2 = -1, rebuilt = -1;
    switch (beamMask) {
        case 3:
            good1 = 0, good2 = 1, rebuilt = 2;
            break;
        case 5:
            good1 = 0, good2 = 2, rebuilt = 1;
            break;
        case 6:
            good1 = 1, good2 = 2, rebuilt = 0;
            break;
        default:
            return;
    }
    if (geometry.cells == 0) return;

    const Matrix3 toStored = BeamToStored(geometry, sample);
    const auto fromStored = Invert(toStored);
    const double divisor = toStored[2][rebuilt];
    if (!fromStored || divisor == 0.0 || !std::isfinite(divisor)) {
        InvalidateConvertedRows(geometry, 0, kMaxCells, result);
        return;
    }
    for (int c = 0; c < geometry.cells; ++c) {
        Vector3 beam = Multiply(*fromStored, CellVector(sample, c));
        beam[rebuilt] = -(toStored[2][good1] * beam[good1] + toStored[2][good2] * beam[good2]) / divisor;
        WriteConvertedCell(geometry, c, Multiply(toStored, beam), result);
    }
}

void EvaluateProfile(const Geometry& geometry, const CurrentQualityParams& params, CurrentSample& sample,
                     CurrentQualityFlags& flags, CurrentQualityResult& result) {
    ClearFlags(flags);
    const CellRanges ranges = ComputeCellRanges(geometry);

    if (params.removeBoundary != 0) {
        if (params.boundaryMethod == kBoundaryByPressure)
            FlagBoundaryByPressure(geometry, ranges, sample.pressure, params.pressureFactor, flags);
        else if (params.boundaryMethod == kBoundaryByAmplitude)
            FlagBoundaryByAmplitude(geometry, sample, flags);
    }
    if (params.removeLowSnr != 0) FlagLowSnr(geometry, params.snrThreshold, sample, flags, result);
    if (params.removeSpikes != 0) FlagSpikes(geometry, params.spikeThreshold, sample, flags);
    if (params.removeOutliers != 0) FlagOutliers(geometry, params.outlierFactor, sample, flags);

    WriteCellResults(geometry, ranges, sample, flags, result);

    if (params.cellMapping != 0) MapCells(geometry, sample, flags, result);
    if (params.threeBeam != 0) RebuildThirdBeam(geometry, params.threeBeamMask, sample, result);
}

}  // namespace kx
