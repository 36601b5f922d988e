#include <QGuiApplication>
#include <cstdio>

#include "cli/plot_render.h"
#include "graphs/gui/chart_painter.h"

namespace corvan::cli {

namespace {

// The platform's start-up chatter (a missing runtime folder and the like) is
// no business of a command whose output is one picture.
void QuietStartup(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths:"))) return;
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

bool PlotAvailable() { return true; }

std::string RenderPlot(const DataSet& data, const Statistics& stats, const ScaleSettings& scale,
                       const GraphRequest& request, const PlotJob& job) {
    // Fonts need a platform; the offscreen one needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "corvan";
    char* argv[] = {name, nullptr};
    qInstallMessageHandler(QuietStartup);
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
