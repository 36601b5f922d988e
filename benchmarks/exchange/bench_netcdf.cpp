// Writing a full 32767-record oxygen set as a NetCDF file, beside writing
// the same values as bare float arrays through the same library with the
// same compression (no attributes, flags, time axis or derivation), and
// beside the four stored channels as bare arrays: throughput of each and
// the ratios between them.

#include <benchmark/benchmark.h>
#include <netcdf.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "exchange/netcdf_writer.h"

namespace {

constexpr std::int64_t kRecordBytes = 16;

corvan::DataSet& FullOxygenSet() {
    static corvan::DataSet d;
    static bool made = false;
    if (made) return d;
    d.baseName = "bench";
    d.header.instrumentType = 3;
    d.header.sensorKind = 1;
    d.header.count = corvan::kMaxRecords;
    d.recordCount = corvan::kMaxRecords;
    for (int i = 0; i < corvan::kMaxRecords; ++i) {
        // Tidal-looking numbers with a few invalid records, as real files have.
        const double h = i / 6.0;
        d.records[static_cast<std::size_t>(i)] = {
            i % 97 == 0 ? -999.0f : static_cast<float>(20.0 + 15.0 * std::sin(h / 12.42)),
            static_cast<float>(std::fmod(h * 0.5, 6.28)),
            static_cast<float>(8.0 + std::sin(h / 24.0)),
            static_cast<float>(90.0 + 5.0 * std::cos(h / 30.0)),
        };
    }
    d.series[0] = corvan::SeriesHeader{0, 24, 1, 1, 0, 0, 600, 0, 34.0f};
    d.seriesCount = 1;
    made = true;
    return d;
}

std::string Target(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

void WriteExport(const std::string& file) {
    corvan::DataSet& d = FullOxygenSet();
    corvan::NetcdfExportOptions o;
    corvan::SelectAllRecords(d, o);
    o.site.latitude = 59.0;
    o.site.longitude = 10.0;
    o.site.depth = 20.0;
    if (!corvan::WriteNetcdfExport(file, d, o).empty()) std::abort();
}

void WriteArrays(const std::string& file, const std::vector<std::vector<float>>& columns) {
    const std::size_t n = columns.front().size();
    int id = 0;
    int dim = 0;
    if (nc_create(file.c_str(), NC_NETCDF4 | NC_CLASSIC_MODEL | NC_CLOBBER, &id) != NC_NOERR) std::abort();
    nc_def_dim(id, "N", n, &dim);
    std::vector<int> vars(columns.size());
    for (std::size_t k = 0; k < columns.size(); ++k) {
        nc_def_var(id, ("v" + std::to_string(k)).c_str(), NC_FLOAT, 1, &dim, &vars[k]);
        nc_def_var_chunking(id, vars[k], NC_CHUNKED, &n);
        nc_def_var_deflate(id, vars[k], 1, 1, corvan::kNetcdfDeflateLevel);
    }
    nc_enddef(id);
    for (std::size_t k = 0; k < columns.size(); ++k) nc_put_var_float(id, vars[k], columns[k].data());
    nc_close(id);
}

// The float variables the export writes, computed once.
const std::vector<std::vector<float>>& ExportedValues() {
    static std::vector<std::vector<float>> columns;
    if (!columns.empty()) return columns;
    corvan::DataSet& d = FullOxygenSet();
    corvan::NetcdfExportOptions o;
    corvan::SelectAllRecords(d, o);
    corvan::NetcdfContent c;
    if (!corvan::BuildNetcdfContent(d, o, c).empty()) std::abort();
    for (const auto& v : c.variables) {
        if (v.shape == corvan::NcShape::PerRecord && v.type == corvan::NcType::Float) columns.push_back(v.floats);
    }
    return columns;
}

const std::vector<std::vector<float>>& StoredChannels() {
    static std::vector<std::vector<float>> columns;
    if (!columns.empty()) return columns;
    const corvan::DataSet& d = FullOxygenSet();
    columns.assign(4, std::vector<float>(static_cast<std::size_t>(d.recordCount)));
    for (std::size_t i = 0; i < columns[0].size(); ++i) {
        columns[0][i] = d.records[i].speed;
        columns[1][i] = d.records[i].direction;
        columns[2][i] = d.records[i].temperature;
        columns[3][i] = d.records[i].optional;
    }
    return columns;
}

void BM_NetcdfExport(benchmark::State& state) {
    const std::string file = Target("corvan-bench-export.nc");
    for (auto _ : state) WriteExport(file);
    state.SetBytesProcessed(state.iterations() * kRecordBytes * corvan::kMaxRecords);
}
BENCHMARK(BM_NetcdfExport)->Unit(benchmark::kMillisecond);

void BM_SameValuesAsRawFloatArrays(benchmark::State& state) {
    const std::string file = Target("corvan-bench-same.nc");
    const auto& columns = ExportedValues();
    for (auto _ : state) WriteArrays(file, columns);
    state.SetBytesProcessed(state.iterations() * kRecordBytes * corvan::kMaxRecords);
}
BENCHMARK(BM_SameValuesAsRawFloatArrays)->Unit(benchmark::kMillisecond);

void BM_StoredChannelsAsRawFloatArrays(benchmark::State& state) {
    const std::string file = Target("corvan-bench-stored.nc");
    const auto& columns = StoredChannels();
    for (auto _ : state) WriteArrays(file, columns);
    state.SetBytesProcessed(state.iterations() * kRecordBytes * corvan::kMaxRecords);
}
BENCHMARK(BM_StoredChannelsAsRawFloatArrays)->Unit(benchmark::kMillisecond);

// All three in turn, so the ratios compare like with like on a busy machine.
// CPU time of this process: the disk and the neighbours stay out of it.
void BM_ExportOverRaw(benchmark::State& state) {
    const std::string exportFile = Target("corvan-bench-export2.nc");
    const std::string sameFile = Target("corvan-bench-same2.nc");
    const std::string storedFile = Target("corvan-bench-stored2.nc");
    const auto& same = ExportedValues();
    const auto& stored = StoredChannels();
    double exportSeconds = 0.0;
    double sameSeconds = 0.0;
    double storedSeconds = 0.0;
    const auto cpu = [] { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; };
    for (auto _ : state) {
        const double t0 = cpu();
        WriteExport(exportFile);
        const double t1 = cpu();
        WriteArrays(sameFile, same);
        const double t2 = cpu();
        WriteArrays(storedFile, stored);
        const double t3 = cpu();
        exportSeconds += t1 - t0;
        sameSeconds += t2 - t1;
        storedSeconds += t3 - t2;
    }
    const auto ratio = [](double a, double b) { return b > 0.0 ? a / b : 0.0; };
    state.counters["export_over_same_values"] = ratio(exportSeconds, sameSeconds);
    state.counters["export_over_stored_channels"] = ratio(exportSeconds, storedSeconds);
    state.counters["export_MB_per_s"] =
        ratio(static_cast<double>(state.iterations()) * kRecordBytes * corvan::kMaxRecords / 1e6, exportSeconds);
}
BENCHMARK(BM_ExportOverRaw)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
