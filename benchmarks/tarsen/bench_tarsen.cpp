// Throughput of the converter on a synthesized profiler file of 3 beams and
// 40 cells (200 MB unless TARSEN_BENCH_MB says otherwise, kept in the temporary
// folder or TARSEN_BENCH_DIR for the next run), in MB/s of input.
//
// BM_ConvertOneCell is the whole conversion of one cell; a measurement file
// holds at most 32767 records, so it reads only as far as those take.
// BM_ReadAndEvaluateWholeFile runs the same record stream, sample filling and
// quality evaluation over every profile of the file, without writing, which
// shows that neither time per byte nor memory grows with the file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "configuration.h"
#include "convert_cell.h"
#include "tarsen_file.h"
#include "tarsen_synth.h"

#if defined(__linux__)
#include <sys/resource.h>
#endif

namespace {

constexpr int kCell = 20;

class QuietUi final : public tarsen::ConverterUi {
public:
    void ShowMessage(tarsen::MessageKind, const std::string&) override {}
    bool AskTimeGlitch(int, const std::string&) override { return true; }
    void SetProgress(int) override {}
};

double PeakResidentMegabytes() {
#if defined(__linux__)
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
#else
    return 0.0;
#endif
}

// The input file, made once per run.
const std::string& InputFile() {
    static const std::string path = [] {
        long long megabytes = 200;
        if (const char* env = std::getenv("TARSEN_BENCH_MB")) megabytes = std::atoll(env);
        const char* dir = std::getenv("TARSEN_BENCH_DIR");
        const std::filesystem::path folder = dir ? std::filesystem::path(dir) : std::filesystem::temp_directory_path();
        const auto file = folder / ("tarsen-bench-" + std::to_string(megabytes) + "mb.prf");
        if (!std::filesystem::exists(file)) {
            tarsen_synth::Deployment d;
            d.setup = tarsen_synth::SetupFor(tarsen::kOrlenProfiler);
            d.setup.user.beams = 3;
            d.setup.user.cells = 40;
            d.setup.user.interval = 1;
            // Made under another name first: an interrupted run leaves no
            // short file behind to be measured next time.
            const auto partial = file.string() + ".part";
            if (tarsen_synth::WriteDeployment(d, partial, megabytes * 1024 * 1024) > 0) {
                std::filesystem::rename(partial, file);
            }
        }
        return file.string();
    }();
    return path;
}

void BM_ConvertOneCell(benchmark::State& state) {
    const std::string& path = InputFile();
    QuietUi ui;
    std::int64_t bytes = 0;
    std::int64_t records = 0;
    for (auto _ : state) {
        tarsen::TarsenFile file;
        if (!file.ReadConfiguration(path, ui)) {
            state.SkipWithError("the input cannot be read");
            return;
        }
        tarsen::ImportSettings settings;
        tarsen::CellReport report;
        if (!tarsen::ConvertCell(file, settings, ui, kCell, &report)) {
            state.SkipWithError("the conversion failed");
            return;
        }
        bytes += report.bytesRead;
        records = report.recordsWritten;
        std::remove(report.names.measurement.c_str());
        std::remove(report.names.reference.c_str());
    }
    state.SetBytesProcessed(bytes);
    state.counters["records"] = static_cast<double>(records);
    state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_ConvertOneCell)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadAndEvaluateWholeFile(benchmark::State& state) {
    const std::string& path = InputFile();
    QuietUi ui;
    std::int64_t bytes = 0;
    std::int64_t profiles = 0;
    auto work = std::make_unique<std::tuple<CurrentSample, CurrentQualityFlags, CurrentQualityResult>>();
    auto& [sample, flags, result] = *work;
    for (auto _ : state) {
        tarsen::TarsenFile file;
        if (!file.ReadConfiguration(path, ui)) {
            state.SkipWithError("the input cannot be read");
            return;
        }
        const tarsen::CConfig& config = file.Config();
        CurrentDataInfo info{};
        info.cells = config.cells;
        info.beams = config.beams;
        info.frequency = static_cast<float>(config.frequency);
        info.coordinateSystem = config.coordinateSystem;
        for (int i = 0; i < 9; ++i) info.beamMatrix[i] = config.matrix[static_cast<std::size_t>(i)];
        info.beamAngle = static_cast<float>(config.beamAngle);
        info.blanking = static_cast<float>(0.01 * config.blanking);
        info.cellSize = static_cast<float>(config.cellSize);
        KXSetCurrentDataInfo(&info);
        CurrentQualityParams params{3.0f, 1, 0.9f, 0.9f, 10.0f, 5.0f, 0.0f, 0, 0, 7, 0, 1, 1, 1, 0};
        double speedSum = 0.0;
        tarsen::RecordStream stream(file.Handle(), file.Length(),
                                    tarsen::RecordValidator(file.StreamBeams(), file.StreamCells(), true));
        stream.Run(
            [&](const tarsen::DataRecord& r) {
                tarsen::FillCurrentSample(r, r.beams, tarsen::RecordCells(r), config.defaultNoiseLevel, sample);
                KXCurrentQuality(&params, &sample, &flags, &result);
                speedSum += result.speed[kCell - 1];
                ++profiles;
                return true;
            },
            [](int) {});
        benchmark::DoNotOptimize(speedSum);
        bytes += stream.Position();
    }
    state.SetBytesProcessed(bytes);
    state.counters["profiles"] = benchmark::Counter(static_cast<double>(profiles), benchmark::Counter::kAvgIterations);
    state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_ReadAndEvaluateWholeFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
