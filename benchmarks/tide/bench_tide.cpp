// Harmonic analysis of a full file: 32767 records at ten minutes (227
// days) with every constituent the record resolves, current and
// temperature, one record in twenty missing; and the prediction over it.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "analysis/harmonic_analysis.h"

namespace {

using namespace corvan;

const TidalInput& FullRecord() {
    static const TidalInput in = [] {
        TidalInput r;
        r.firstTime = *DateTime::FromCivil({2019, 4, 2, 8, 0, 0});
        r.intervalSeconds = 600;
        std::mt19937 rng(5);
        std::normal_distribution<double> noise(0.0, 3.0);
        std::uniform_int_distribution<int> pick(0, 19);
        for (int k = 0; k < 32767; ++k) {
            const double t = k / 6.0;
            const bool gap = pick(rng) == 0;
            const double e = 40 * std::cos(0.50587 * t) + 12 * std::cos(0.5236 * t + 1) + 8 * std::cos(0.2625 * t);
            const double n = 15 * std::sin(0.50587 * t) + 5 * std::cos(0.2434 * t + 2);
            r.east.push_back(gap ? std::nan("") : e + noise(rng));
            r.north.push_back(gap ? std::nan("") : n + noise(rng));
            r.temperature.push_back(pick(rng) == 0 ? std::nan("") : 8 + 0.3 * std::cos(0.50587 * t));
        }
        return r;
    }();
    return in;
}

void BM_AnalyseFullFile(benchmark::State& state) {
    const TidalInput& in = FullRecord();
    std::size_t constituents = 0;
    for (auto _ : state) {
        const TidalAnalysis a = AnalyseTide(in);
        constituents = a.constituents.size();
        benchmark::DoNotOptimize(a.varianceExplained);
    }
    state.counters["constituents"] = static_cast<double>(constituents);
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(in.east.size()));
}

void BM_PredictFullFile(benchmark::State& state) {
    const TidalInput& in = FullRecord();
    const TidalAnalysis a = AnalyseTide(in);
    for (auto _ : state) {
        const TidalPrediction p = PredictTide(a, in.firstTime, in.intervalSeconds, 32767);
        benchmark::DoNotOptimize(p.east.back());
    }
    state.SetItemsProcessed(state.iterations() * 32767);
}

BENCHMARK(BM_AnalyseFullFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PredictFullFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
