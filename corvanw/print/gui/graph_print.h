#pragma once
// What the print command needs of a graph page: its title, the drawing of
// its chart(s) into a printer rectangle, and the progressive vector's legend.

#include <QRect>
#include <functional>
#include <string>
#include <vector>

#include "graphs/vector_graphs.h"

class QPainter;

namespace corvan {

class TChartVx;
class TGraphPage;

struct GraphPrintSource {
    // The main window's title label for the graph on show.
    std::string title;
    // Draws the chart(s) into `rect`, in the painter's device pixels.
    std::function<void(QPainter&, const QRect&)> render;
    // The progressive vector prints a shorter header and, first, an upright
    // page with these legend lines.
    bool progressiveVector = false;
    std::vector<std::string> legend;
};

inline constexpr const char* kZoomedCaptionSuffix = " (zoomed)";

// Draws the chart into a rectangle of a printer or picture the way the
// screen shows it: laid out at the chart's screen resolution and scaled up,
// so that text, markers and margins keep their proportions. A zoomed chart
// gets " (zoomed)" after its left caption.
void DrawChartForPrint(TChartVx& chart, QPainter& painter, const QRect& rect);

// The legend lines in the order they print; "Valid data points" only when
// the graph shows it.
std::vector<std::string> ProgressiveLegendLines(const ProgressiveLegend& legend);

// The page's Chart1 across the rectangle, or Chart1 and Chart2 side by side
// when the page shows two diagrams; both halves are of one size, so two
// sector diagrams get circles of one radius. A progressive vector without
// `legend` prints the page's own legend. The page must outlive the source.
GraphPrintSource GraphPrintSourceOf(TGraphPage& page, const std::string& title, bool progressiveVector = false,
                                    std::vector<std::string> legend = {});

}  // namespace corvan
