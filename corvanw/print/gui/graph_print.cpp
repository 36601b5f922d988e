#include "print/gui/graph_print.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

#include "graphs/gui/TGraphPage.h"
#include "graphs/gui/chart_painter.h"

namespace corvan {

namespace {
constexpr double kLogicalDpi = 96.0;
}

void DrawGraphPageForPrint(const GraphPageDescription& page, QPainter& painter, const QRect& rect) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    const QPaintDevice* device = painter.device();
    const double scale = device != nullptr ? std::max(1.0, device->logicalDpiX() / kLogicalDpi) : 1.0;
    painter.save();
    painter.translate(rect.topLeft());
    painter.scale(scale, scale);
    painter.setFont(ChartFont());
    PaintGraphPage(painter, QRectF(0, 0, rect.width() / scale, rect.height() / scale), ForPaper(page));
    painter.restore();
}

std::vector<std::string> ProgressiveLegendLines(const ProgressiveLegend& legend) {
    std::vector<std::string> lines = {legend.neumann, legend.restSpeed, legend.restDirection, legend.averageSpeed};
    if (legend.validPointsShown) lines.push_back(legend.validPoints);
    return lines;
}

GraphPrintSource GraphPrintSourceOf(TGraphPage& page, const std::string& title, bool progressiveVector,
                                    std::vector<std::string> legend) {
    GraphPrintSource source;
    source.title = title;
    source.progressiveVector = progressiveVector;
    source.legend = std::move(legend);
    if (progressiveVector && source.legend.empty()) source.legend = ProgressiveLegendLines(page.Legend());
    source.render = [&page](QPainter& painter, const QRect& rect) {
        DrawGraphPageForPrint(page.CurrentView(), painter, rect);
    };
    return source;
}

}  // namespace corvan
