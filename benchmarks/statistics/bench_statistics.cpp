// ComputeStatistics over a full range of 32767 records: random currents, a
// range whose speeds only grow (the worst case of the significant-speed
// insertion list) and an oxygen file, whose concentration is computed per
// record.

#include <benchmark/benchmark.h>

#include <random>

#include "data/data_set.h"
#include "graphs/statistics.h"

namespace {

using namespace corvan;

enum class Fill { Random, Ascending, Oxygen };

void FillFull(DataSet& d, Fill fill) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> speed(0.0f, 180.0f);
    std::uniform_real_distribution<float> dir(0.0f, 6.28f);
    std::uniform_int_distribution<int> pick(0, 49);
    d.header.instrumentType = fill == Fill::Oxygen ? 3 : 0;
    d.header.sensorKind = fill == Fill::Oxygen ? 1 : 0;
    d.header.count = kMaxRecords;
    for (int i = 0; i < kMaxRecords; ++i) {
        MeasurementRecord& r = d.records[static_cast<std::size_t>(i)];
        r.speed = fill == Fill::Ascending ? 0.005f * static_cast<float>(i) : speed(rng);
        if (pick(rng) == 0) r.speed = -999.0f;
        r.direction = pick(rng) == 0 ? -999.0f : dir(rng);
        r.temperature = 4.0f + 0.0003f * static_cast<float>(i);
        r.optional = 85.0f + static_cast<float>(i % 15);
    }
    d.recordCount = kMaxRecords;
    d.series[0].first = 0;
    d.series[0].interval = 600;
    d.series[0].salinity = 34.0f;
    d.seriesCount = 1;
    d.dataLoaded = true;
    d.currentSeries = 1;
    d.rangeFirst = 0;
    d.rangeLast = kMaxRecords - 1;
    d.rangeCount = kMaxRecords;
    d.rangeInterval = 600;
    SelectChannelDescriptors(d);
}

void Run(benchmark::State& state, Fill fill) {
    static DataSet d;  // one data set of full size, as the program keeps it
    FillFull(d, fill);
    ScaleSettings scale;
    Statistics stats;
    for (auto _ : state) {
        ComputeStatistics(d, scale, stats);
        benchmark::DoNotOptimize(stats.summary.significantMax);
    }
    state.SetItemsProcessed(state.iterations() * kMaxRecords);
}

void BM_ComputeStatisticsRandom(benchmark::State& state) { Run(state, Fill::Random); }
void BM_ComputeStatisticsAscending(benchmark::State& state) { Run(state, Fill::Ascending); }
void BM_ComputeStatisticsOxygen(benchmark::State& state) { Run(state, Fill::Oxygen); }

void BM_ProgressiveFigures(benchmark::State& state) {
    static DataSet d;
    FillFull(d, Fill::Random);
    std::vector<ProgressivePoint> path;
    for (auto _ : state) {
        const ProgressiveFigures f = ComputeProgressiveFigures(d, &path);
        benchmark::DoNotOptimize(f.neumann);
    }
    state.SetItemsProcessed(state.iterations() * kMaxRecords);
}

BENCHMARK(BM_ComputeStatisticsRandom)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeStatisticsAscending)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeStatisticsOxygen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProgressiveFigures)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
