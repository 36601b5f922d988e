// The graphs of a full 32767-record file painted into a 1600 x 1000 image:
// the line graph, the progressive vector and the stick diagram. The budget
// is one frame at 60 Hz; "frame_share" is the share of it one painting uses.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "data/data_set.h"
#include "data/series_range.h"
#include "graphs/gui/chart_painter.h"

namespace {

constexpr double kFrameMs = 1000.0 / 60.0;

struct FullFile {
    corvan::DataSet data;
    corvan::ScaleSettings scale;
    corvan::Statistics stats;
    corvan::GraphSettings settings;
    FullFile() {
        corvan::DataSet& d = data;
        d.header.instrumentType = 0;
        d.header.count = corvan::kMaxRecords;
        d.recordCount = corvan::kMaxRecords;
        for (int i = 0; i < corvan::kMaxRecords; ++i) {
            const double tide = std::sin(i * 2.0 * 3.14159265 / 74.5);
            d.records[static_cast<std::size_t>(i)] = {static_cast<float>(20.0 + 15.0 * tide + (i % 7)),
                                                      static_cast<float>(tide > 0 ? 0.8 : 3.9), 8.0f, 0.0f};
        }
        d.series[0] = corvan::SeriesHeader{0, 24, 1, 1, 0, 0, 600, 2, -1.0f};
        d.seriesCount = 1;
        d.referenceLoaded = true;
        d.dataLoaded = true;
        corvan::SelectChannelDescriptors(d);
        corvan::SelectSeriesRange(d, {1, std::nullopt, std::nullopt});
        corvan::ComputeStatistics(d, scale, stats);
    }
};

void PaintGraph(benchmark::State& state, corvan::GraphKind kind, int sub) {
    static FullFile file;
    corvan::GraphRequest r;
    r.kind = kind;
    r.lineKind = r.vectorKind = sub;
    const corvan::GraphPageDescription page =
        corvan::DescribeGraphPage(file.data, file.stats, file.scale, file.settings, r);
    QImage image(1600, 1000, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&image);
        p.setFont(corvan::ChartFont());
        corvan::PaintGraphPage(p, QRectF(0, 0, 1600, 1000), page);
    }
    // Elapsed time over (iterations x one frame): below 1 fits in a frame.
    state.counters["frame_share"] = benchmark::Counter(static_cast<double>(state.iterations()) * kFrameMs / 1000.0,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LineGraph(benchmark::State& s) { PaintGraph(s, corvan::kGraphLine, corvan::kLineSpeed); }
void BM_ProgressiveVector(benchmark::State& s) { PaintGraph(s, corvan::kGraphVector, corvan::kVectorProgressive); }
void BM_StickDiagram(benchmark::State& s) { PaintGraph(s, corvan::kGraphVector, corvan::kVectorStick); }
BENCHMARK(BM_LineGraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgressiveVector)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StickDiagram)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
