// Loading a full 32767-record set and deriving every record's quantities.

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "data/data_set.h"
#include "data/list_format.h"

namespace {

std::string MakeFullSet() {
    static std::string base;
    if (!base.empty()) return base;
    base = (std::filesystem::temp_directory_path() / "corvan-bench-full").string();
    corvan::DataSet d;
    d.baseName = base;
    d.header.instrumentType = 3;
    d.header.sensorKind = 1;
    d.header.count = corvan::kMaxRecords;
    for (int i = 0; i < corvan::kMaxRecords; ++i) {
        d.records[static_cast<std::size_t>(i)] = {10.0f + (i % 50), 0.001f * (i % 6000), 8.0f + (i % 7), 90.0f};
    }
    d.series[0] = corvan::SeriesHeader{0, 24, 1, 1, 0, 0, 600, 2, -1.0f};
    d.seriesCount = 1;
    std::filesystem::remove(base + ".CVN");
    std::filesystem::remove(base + ".RF6");
    corvan::WriteMeasurementFile(d);
    corvan::WriteReferenceFile(d, 1);
    return base;
}

void BM_LoadFullSet(benchmark::State& state) {
    corvan::DataSet d;
    d.baseName = MakeFullSet();
    for (auto _ : state) {
        corvan::LoadMeasurementFiles(d);
        benchmark::DoNotOptimize(d.records.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (16 + 16 * corvan::kMaxRecords));
}
BENCHMARK(BM_LoadFullSet)->Unit(benchmark::kMillisecond);

void BM_LoadAndDerive(benchmark::State& state) {
    corvan::DataSet d;
    d.baseName = MakeFullSet();
    for (auto _ : state) {
        corvan::LoadMeasurementFiles(d);
        double sum = 0;
        for (int i = 0; i < d.recordCount; ++i) {
            const auto& r = d.records[static_cast<std::size_t>(i)];
            const double dir = corvan::DirectionDegrees(r.direction);
            const double flux = r.speed * r.optional / 100.0;
            const double o2 = corvan::OxygenMgL(d, 1, r.temperature, r.optional);
            const double east = r.speed * std::sin(r.direction);
            const double north = r.speed * std::cos(r.direction);
            sum += dir + flux + o2 + east + north + static_cast<double>(corvan::RecordTime(d, i, 1).Seconds());
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * corvan::kMaxRecords);
}
BENCHMARK(BM_LoadAndDerive)->Unit(benchmark::kMillisecond);

void BM_FormatListScreen(benchmark::State& state) {
    corvan::DataSet d;
    d.baseName = MakeFullSet();
    corvan::LoadMeasurementFiles(d);
    const auto columns = corvan::RebuildListColumns(d);
    std::vector<std::string> cells;
    bool starts = false;
    int first = 0;
    for (auto _ : state) {
        corvan::SeriesCursor cursor(d, first);
        for (int i = first; i < first + 50; ++i) corvan::FormatListRow(d, columns, i, cursor, cells, starts);
        first = (first + 997) % (corvan::kMaxRecords - 50);
        benchmark::DoNotOptimize(cells.data());
    }
}
BENCHMARK(BM_FormatListScreen)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
