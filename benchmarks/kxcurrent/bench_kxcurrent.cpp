// Profiles evaluated per second through the shared library, for the
// converter's usual head (3 beams, 40 cells, beam coordinates) and for full
// records with every step switched on.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "kxcurrent.h"

namespace {

struct Records {
    alignas(8) CurrentDataInfo info{};
    alignas(8) CurrentQualityParams params{};
    alignas(8) CurrentSample sample{};
    alignas(8) CurrentQualityFlags flags{};
    alignas(8) CurrentQualityResult result{};
};

Records MakeProfile(int cells, int beams, bool everyStep) {
    Records r;
    r.info.cells = cells;
    r.info.beams = beams;
    r.info.frequency = 1000000.0f;
    r.info.coordinateSystem = 2;
    // A three-beam head at 25 degrees, scaled by 4096.
    const std::int16_t matrix[9] = {6461, -3230, -3230, 0, -5596, 5596, 1506, 1506, 1506};
    for (int i = 0; i < 9; ++i) r.info.beamMatrix[i] = matrix[i];
    r.info.beamAngle = 25.0f;
    r.info.blanking = 0.5f;
    r.info.cellSize = 1.0f;
    r.params.snrThreshold = 3.0f;
    r.params.boundaryMethod = everyStep ? 1 : 0;
    r.params.pressureFactor = 0.9f;
    r.params.spikeThreshold = 10.0f;
    r.params.outlierFactor = 5.0f;
    r.params.threeBeamMask = 3;
    r.params.removeBoundary = r.params.removeLowSnr = r.params.removeSpikes = 1;
    r.params.removeOutliers = r.params.cellMapping = r.params.threeBeam = everyStep ? 1 : 0;
    r.sample.heading = 123.4f;
    r.sample.pitch = 2.5f;
    r.sample.roll = -1.5f;
    r.sample.pressure = 35.0f;
    for (int b = 0; b < beams; ++b) {
        r.sample.noise[b] = 30;
        for (int c = 0; c < cells; ++c) {
            r.sample.velocity[b][c] = static_cast<std::int16_t>(200.0 * std::sin(0.1 * c + b));
            r.sample.amplitude[b][c] = static_cast<std::uint8_t>(180 - c);
        }
    }
    return r;
}

void Evaluate(benchmark::State& state, int cells, int beams, bool everyStep) {
    Records r = MakeProfile(cells, beams, everyStep);
    KXSetCurrentDataInfo(&r.info);
    const CurrentSample original = r.sample;
    for (auto _ : state) {
        r.sample = original;
        KXCurrentQuality(&r.params, &r.sample, &r.flags, &r.result);
        benchmark::DoNotOptimize(r.result);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("profiles");
}

void BM_ConverterProfile(benchmark::State& state) { Evaluate(state, 40, 3, false); }
void BM_FullProfileEveryStep(benchmark::State& state) { Evaluate(state, 128, 4, true); }

BENCHMARK(BM_ConverterProfile);
BENCHMARK(BM_FullProfileEveryStep);

}  // namespace

BENCHMARK_MAIN();
