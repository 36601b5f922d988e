// One screen of the list view painted into an image, anywhere in a full
// 32767-record file: what every scroll step costs.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "data/data_set.h"
#include "ui/list_view.h"

namespace {

void FillFullSet(corvan::DataSet& d) {
    d.header.instrumentType = 3;
    d.header.sensorKind = 1;
    d.header.count = corvan::kMaxRecords;
    d.recordCount = corvan::kMaxRecords;
    for (int i = 0; i < corvan::kMaxRecords; ++i) {
        d.records[static_cast<std::size_t>(i)] = {10.0f + (i % 50), 0.001f * (i % 6000), 8.0f + (i % 7), 90.0f};
    }
    d.series[0] = corvan::SeriesHeader{0, 24, 1, 1, 0, 0, 600, 2, -1.0f};
    d.series[1] = corvan::SeriesHeader{20000, 24, 6, 1, 0, 0, 600, 2, -1.0f};
    d.seriesCount = 2;
    d.dataLoaded = true;
    d.statisticsValid = true;
    corvan::SelectChannelDescriptors(d);
    d.AllocateLRecords();
}

void BM_PaintListScreen(benchmark::State& state) {
    corvan::DataSet d;
    FillFullSet(d);
    corvan::TListView view(d);
    view.resize(1200, 900);
    view.RebuildListColumns();
    view.LayoutListView();
    QImage image(1200, 900, QImage::Format_ARGB32_Premultiplied);
    int first = 0;
    for (auto _ : state) {
        view.ScrollToRecord(first);
        QPainter p(&image);
        view.PaintLines(p, QRect(0, 0, 1200, 880));
        p.end();
        first = (first + 1013) % (corvan::kMaxRecords - 100);
    }
    state.counters["lines"] = view.VisibleLines();
}
BENCHMARK(BM_PaintListScreen)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
