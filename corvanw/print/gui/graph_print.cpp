#include "print/gui/graph_print.h"

#include <QFontInfo>
#include <QPainter>
#include <algorithm>

#include "graphs/gui/TChartVx.h"
#include "graphs/gui/TGraphPage.h"

namespace corvan {

void DrawChartForPrint(TChartVx& chart, QPainter& painter, const QRect& rect) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    const QPaintDevice* device = painter.device();
    const double screenDpi = std::max(1, chart.logicalDpiX());
    const double scale = device != nullptr ? std::max(1.0, device->logicalDpiX() / screenDpi) : 1.0;

    // A point-sized font would be resolved at the printer's resolution and
    // then scaled up once more; in pixels it scales with everything else.
    const bool ownFont = chart.testAttribute(Qt::WA_SetFont);
    const QFont screenFont = chart.font();
    QFont pixelFont = screenFont;
    pixelFont.setPixelSize(std::max(1, QFontInfo(screenFont).pixelSize()));
    const std::string caption = chart.LeftCaption();
    const bool blocked = chart.blockSignals(true);
    chart.setFont(pixelFont);
    if (chart.IsZoomed()) chart.SetLeftCaption(caption + kZoomedCaptionSuffix);

    painter.save();
    painter.translate(rect.topLeft());
    painter.scale(scale, scale);
    chart.Draw(painter, QRect(0, 0, static_cast<int>(rect.width() / scale), static_cast<int>(rect.height() / scale)),
               false);
    painter.restore();

    chart.SetLeftCaption(caption);
    chart.setFont(ownFont ? screenFont : QFont());
    if (!ownFont) chart.setAttribute(Qt::WA_SetFont, false);
    chart.blockSignals(blocked);
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
        if (page.Chart2 == nullptr || page.Chart2->isHidden()) {
            DrawChartForPrint(*page.Chart1, painter, rect);
            return;
        }
        const int half = rect.width() / 2;
        DrawChartForPrint(*page.Chart1, painter, QRect(rect.left(), rect.top(), half, rect.height()));
        DrawChartForPrint(*page.Chart2, painter,
                          QRect(rect.left() + half, rect.top(), rect.width() - half, rect.height()));
    };
    return source;
}

}  // namespace corvan
