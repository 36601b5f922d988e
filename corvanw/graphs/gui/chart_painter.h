#pragma once
// The one chart renderer. Screen, printer, clipboard, report and `corvan
// plot` all paint through here; nothing borrows a widget.
//
// Quick use, for a caller that has a data set with a chosen range and its
// statistics (the report, the tidal page, the command line):
//
//     GraphRequest r;                   // chart_description.h
//     r.kind = kGraphVector;
//     r.vectorKind = kVectorStick;
//     const GraphPageDescription page = DescribeGraphPage(data, stats, scale, settings, r, ChartTarget::Paper);
//     QImage img = RenderGraphImage(page, QSize(800, 500), 300);  // 800 x 500 at 96 dpi, drawn at 300 dpi
//     // or, onto any painter:
//     PaintGraphPage(painter, QRectF(x, y, w, h), page);
//
// Sizes are logical pixels of a 96 dpi screen: fonts, ticks and margins keep
// their proportions whatever the output resolution.

#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <optional>
#include <string>

#include "graphs/chart_description.h"
#include "graphs/chart_layout.h"
#include "graphs/statistics_pages.h"

class QPainter;

namespace corvan {

// Paints one chart into `rect` with the painter's current font; returns the
// layout it drew (pixel positions relative to the painter, rect included).
ChartLayout PaintChart(QPainter& painter, const QRectF& rect, const ChartDescription& chart);

// Chart1 across `rect`, or Chart1 in the left half and Chart2 (when there is
// one) in the right half for the sector diagrams: the page as the desktop
// lays it out.
void PaintGraphPage(QPainter& painter, const QRectF& rect, const GraphPageDescription& page);

// The header panel's texts: the view title, the information labels and,
// for the progressive vector, the legend line.
struct GraphHeader {
    std::string title;
    InformationPanelTexts info;
    bool legendShown = false;
    ProgressiveLegend legend = ProgressiveLegendTexts({}, 0);
};

// Height the header takes at the painter's font.
double GraphHeaderHeight(const QFont& font, const GraphHeader& header);
void PaintGraphHeader(QPainter& painter, const QRectF& rect, const GraphHeader& header);

// The header (when given) above the graph page: a figure as "Copy to
// Clipboard" and `corvan plot` give it.
void PaintGraphFigure(QPainter& painter, const QRectF& rect, const GraphPageDescription& page,
                      const GraphHeader* header = nullptr);

// The font every picture is drawn with, in logical pixels.
QFont ChartFont();

// The figure into an image of size x (dpi / 96) device pixels.
QImage RenderGraphImage(const GraphPageDescription& page, QSize logicalSize, int dpi = 96,
                        const GraphHeader* header = nullptr);

enum class FigureFormat { Png, Svg, Pdf };
// The format from the name's extension (.png, .svg, .pdf); nothing for others.
std::optional<FigureFormat> FigureFormatOf(const std::string& path);

// Writes the figure to `path` through a temporary name renamed when
// complete; an empty result means success, otherwise the reason.
std::string WriteGraphFigure(const std::string& path, FigureFormat format, const GraphPageDescription& page,
                             QSize logicalSize, int dpi, const GraphHeader* header = nullptr);

}  // namespace corvan
