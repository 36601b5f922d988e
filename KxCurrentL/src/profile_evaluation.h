#pragma once
// Evaluation of one profile, step by step. Each step reads and writes the
// caller's records; EvaluateProfile runs them in their fixed order.

#include <array>
#include <cstdint>

#include "kxcurrent.h"

namespace kx {

// The stored instrument geometry with its counts clamped to what the records
// can hold, so no step can index outside them whatever the caller sent.
struct Geometry {
    int cells = 0;
    int beams = 0;
    float frequency = 0.0f;
    std::int32_t instrumentType = 0;
    std::int32_t coordinateSystem = kCoordinatesEarth;
    std::array<std::int16_t, 9> beamMatrix{};
    float beamAngle = 0.0f;
    float blanking = 0.0f;
    float cellSize = 0.0f;
};

Geometry GeometryFromInfo(const CurrentDataInfo& info);

using CellRanges = std::array<double, kMaxCells>;

void ClearFlags(CurrentQualityFlags& flags);
CellRanges ComputeCellRanges(const Geometry& geometry);

void FlagBoundaryByPressure(const Geometry& geometry, const CellRanges& ranges, float pressure, float pressureFactor,
                            CurrentQualityFlags& flags);
void FlagBoundaryByAmplitude(const Geometry& geometry, const CurrentSample& sample, CurrentQualityFlags& flags);
void FlagLowSnr(const Geometry& geometry, float snrThreshold, CurrentSample& sample, CurrentQualityFlags& flags,
                CurrentQualityResult& result);
void FlagSpikes(const Geometry& geometry, float spikeThreshold, const CurrentSample& sample,
                CurrentQualityFlags& flags);
void FlagOutliers(const Geometry& geometry, float outlierFactor, const CurrentSample& sample,
                  CurrentQualityFlags& flags);
// Beam velocities, speed, direction, range and status of every cell.
void WriteCellResults(const Geometry& geometry, const CellRanges& ranges, const CurrentSample& sample,
                      const CurrentQualityFlags& flags, CurrentQualityResult& result);
void MapCells(const Geometry& geometry, CurrentSample& sample, CurrentQualityFlags& flags,
              CurrentQualityResult& result);
void RebuildThirdBeam(const Geometry& geometry, std::int32_t beamMask, const CurrentSample& sample,
                      CurrentQualityResult& result);

void EvaluateProfile(const Geometry& geometry, const CurrentQualityParams& params, CurrentSample& sample,
                     CurrentQualityFlags& flags, CurrentQualityResult& result);

}  // namespace kx
