#include <QGuiApplication>

#include "cli/plot_render.h"
#include "graphs/gui/chart_painter.h"
#include "graphs/gui/headless_start.h"

namespace corvan::cli {

bool PlotAvailable() { return true; }

std::string RenderPlot(const DataSet& data, const Statistics& stats, const ScaleSettings& scale,
                       const GraphRequest& request, const PlotJob& job) {
    PrepareHeadlessQt();
    int argc = 1;
    char name[] = "corvan";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    const std::optional<FigureFormat> format = FigureFormatOf(job.output);
    if (!format) return "the output must end in .png, .svg or .pdf";
    // Paper for a PDF; the screen's look for the pictures meant for screens.
    const ChartTarget target = *format == FigureFormat::Pdf ? ChartTarget::Paper : ChartTarget::Screen;
    GraphSettings settings;
    const GraphPageDescription page = DescribeGraphPage(data, stats, scale, settings, request, target);
    if (!page.drawable) return "no statistics for the range";
    GraphHeader header;
    header.title = job.title;
    header.info = job.info;
    header.legendShown = job.legend && page.legendShown;
    header.legend = page.legend;
    return WriteGraphFigure(job.output, *format, page, QSize(job.width, job.height), job.dpi, &header);
}

}  // namespace corvan::cli
