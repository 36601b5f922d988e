// corvan plot FILE --graph KIND [--series S] [--first A] [--last B]
// [--percent] [--days] [--legend] [--size WxH] [--dpi N] -o OUT: a graph of
// a range as the desktop draws it, with the header panel above it.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "cli/plot_render.h"
#include "data/series_range.h"
#include "ui/window_rules.h"

namespace corvan::cli {
namespace {

struct GraphName {
    GraphKind kind;
    int sub;
};

const std::map<std::string, GraphName>& GraphNames() {
    static const std::map<std::string, GraphName> names = {
        {"speed", {kGraphLine, kLineSpeed}},
        {"direction", {kGraphLine, kLineDirection}},
        {"temperature", {kGraphLine, kLineTemperature}},
        {"optional", {kGraphLine, kLineOptional}},
        {"flux", {kGraphLine, kLineFlux}},
        {"oxmgl", {kGraphLine, kLineOxygenMgl}},
        {"oxflux", {kGraphLine, kLineOxygenFlux}},
        {"speedbar", {kGraphBar, kBarSpeed}},
        {"dirbar", {kGraphBar, kBarDirection}},
        {"oxfluxbar", {kGraphBar, kBarOxygenFlux}},
        {"progressive", {kGraphVector, kVectorProgressive}},
        {"maxmean", {kGraphVector, kVectorMaxMean}},
        {"fluxcount", {kGraphVector, kVectorFluxNumber}},
        {"oxrose", {kGraphVector, kVectorOxygenFlux}},
        {"stick", {kGraphVector, kVectorStick}},
    };
    return names;
}

// "1200x800" into its two numbers.
bool ParseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    const auto w = ParseInteger(text.substr(0, x));
    const auto h = ParseInteger(text.substr(x + 1));
    if (!w || !h || *w < 100 || *h < 100 || *w > 20000 || *h > 20000) return false;
    width = static_cast<int>(*w);
    height = static_cast<int>(*h);
    return true;
}

bool HasPictureExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".png" || ext == ".svg" || ext == ".pdf";
}

int RunPlot(const std::vector<std::string>& args) {
    CLI::App app =
        CommandApp("plot", "A graph of a range as the desktop draws it, with the header panel's texts above it.");
    std::string file, graph, output, size = "1000x700";
    int series = 1;
    std::optional<long long> first, last;
    bool percent = false, days = false, legend = false;
    int dpi = 96;
    std::vector<std::string> kinds;
    for (const auto& [name, g] : GraphNames()) kinds.push_back(name);
    app.add_option("FILE", file, "measurement file (base name or .CVN)")->required();
    app.add_option("--graph", graph, "graph to draw")->required()->check(CLI::IsMember(kinds));
    app.add_option("--series", series, "series number (from 1)")->check(CLI::Range(1, 16));
    app.add_option("--first", first, "first measurement number of the series (from 1)");
    app.add_option("--last", last, "last measurement number of the series");
    app.add_flag("--percent", percent, "bar graphs in percent of the measurements");
    app.add_flag("--days", days, "date axis with the start of each day");
    app.add_flag("--legend", legend, "the progressive vector's legend under the header");
    app.add_option("--size", size, "size in pixels at 96 dpi, WxH (default 1000x700)");
    app.add_option("--dpi", dpi, "resolution of PNG and PDF output (default 96)")->check(CLI::Range(36, 1200));
    app.add_option("-o,--output", output, "picture to write: .png, .svg or .pdf")->required();
    if (const auto status = ParseCommandLine(app, args)) return *status;
    int width = 0, height = 0;
    if (!ParseSize(size, width, height)) return UsageError("plot: --size must be WxH, each 100 to 20000");
    if (!PlotAvailable()) {
        std::fprintf(stderr, "corvan plot: plotting is not available in this build\n");
        return kExitFailure;
    }
    if (!HasPictureExtension(output)) return UsageError("plot: the output must end in .png, .svg or .pdf");

    DataSet data;
    if (!OpenFileSet(file, data)) return kExitFailure;
    const std::string cvn = MeasurementFileName(data.baseName);
    const std::string refused = SelectSeriesRange(data, {series, first, last});
    if (!refused.empty()) {
        std::fprintf(stderr, "%s: %s\n", cvn.c_str(), refused.c_str());
        return kExitFailure;
    }
    ScaleSettings scale;
    Statistics stats;
    ComputeStatistics(data, scale, stats);

    const GraphName g = GraphNames().at(graph);
    GraphRequest request;
    request.kind = g.kind;
    request.barKind = request.lineKind = request.vectorKind = g.sub;
    request.barScale = percent ? kBarScalePercent : kBarScaleNumber;
    request.startOfDays = days;
    if (!GraphAvailable(data.header, request)) {
        std::fprintf(stderr, "%s: the file has no data for the %s graph (%s)\n", cvn.c_str(), graph.c_str(),
                     InstrumentTypeName(data.header.instrumentType).c_str());
        return kExitFailure;
    }

    ViewState view;
    view.page = kPageViews;
    view.innerPage = kInnerChart;
    view.graphMode = g.kind;
    view.barKind = view.lineChannel = view.vectorKind = g.sub;
    PlotJob job;
    job.output = output;
    job.width = width;
    job.height = height;
    job.dpi = dpi;
    job.legend = legend;
    job.title = ViewTitle(view, data);
    job.info = InformationTexts(data, std::filesystem::path(cvn).filename().string());
    const std::string failed = RenderPlot(data, stats, scale, request, job);
    if (!failed.empty()) {
        std::fprintf(stderr, "%s: %s\n", output.c_str(), failed.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

const CommandRegistrar kPlot("plot",
                             "plot FILE --graph KIND [--series S] [--first A] [--last B] [--percent] [--days] "
                             "[--legend] [--size WxH] [--dpi N] -o OUT.png|.svg|.pdf  a graph as a picture",
                             &RunPlot);

}  // namespace
}  // namespace corvan::cli
