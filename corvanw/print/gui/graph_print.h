#pragma once
// What the print command needs of a graph page: its title, the drawing of
// its chart(s) into a printer rectangle, and the progressive vector's legend.

#include <QRect>
#include <functional>
#include <string>
#include <vector>

#include "graphs/chart_description.h"
#include "graphs/vector_graphs.h"

class QPainter;

namespace corvan {

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

// Paints the page into a rectangle of a printer or picture as the screen
// lays it out: at 96 logical pixels per inch, scaled to the device, so that
// text, markers and margins keep their proportions. Paper is white; a
// zoomed chart gets " (zoomed)" after its left caption.
void DrawGraphPageForPrint(const GraphPageDescription& page, QPainter& painter, const QRect& rect);

// The legend lines in the order they print; "Valid data points" only when
// the graph shows it.
std::vector<std::string> ProgressiveLegendLines(const ProgressiveLegend& legend);

// The page's charts as they are on the screen now, zoom included; both
// halves of two sector diagrams are of one size, so their circles have one
// radius. A progressive vector without `legend` prints the page's own
// legend. The page must outlive the source.
GraphPrintSource GraphPrintSourceOf(TGraphPage& page, const std::string& title, bool progressiveVector = false,
                                    std::vector<std::string> legend = {});

}  // namespace corvan
