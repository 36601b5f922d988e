#pragma once
// A chart as a plain value, and the functions that build it from the data
// set, the statistics and the settings. Everything a drawing needs is here;
// the arithmetic that depends on the drawing's size (the rounded left axis,
// the equal scale, label thinning, sticks, day marks, polar rings) is done
// by LayOutChart in chart_layout.h, and the painter only draws the result.
// Screen, printer, clipboard, report and command line all go this way.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "graphs/chart_geometry.h"
#include "graphs/chart_series.h"
#include "graphs/graph_kinds.h"
#include "graphs/graph_settings.h"
#include "graphs/scale_settings.h"
#include "graphs/statistics.h"
#include "graphs/vector_graphs.h"

namespace corvan {

// Colours are 0x00BBGGRR, system colours already resolved.
using ChartColour = std::uint32_t;
inline constexpr ChartColour kChartBlack = 0x000000;
inline constexpr ChartColour kChartWhite = 0xFFFFFF;
inline constexpr ChartColour kChartGrey = 0x808080;

struct ChartAxisRequest {
    double minimum = 0.0;
    double maximum = 1.0;
    double increment = 1.0;
    bool automatic = true;
    std::string labelFormat = "0";
    int labelSeparation = 20;  // percent of a label
};

struct ChartLine {
    std::vector<ChartPoint> points;  // kept in the order added
    ChartColour colour = 0x0000FF;
    bool lineVisible = true;      // false: only markers (or nothing) are drawn
    bool markersVisible = false;  // 3 x 3 diamonds
    ChartColour markerColour = 0x0000FF;
};

struct ChartBars {
    std::vector<std::string> labels;
    std::vector<double> values;
    ChartColour colour = 0xFF0000;
    int minimumLabelSpacing = 0;  // pixels between bottom labels
};

struct ChartPolar {
    std::array<double, kSectorCount> values{};
    ChartColour colour = 0x0000FF;
};

struct ChartSticks {
    // One per record of the range: cm/s and radians as stored.
    std::vector<float> speeds;
    std::vector<float> directions;
    double maximum = 0.0;  // M of the speed axis
};

struct ChartDescription {
    ChartMode mode = kModeTime;
    bool empty = true;        // nothing to draw: a frame with axes only
    double interval = 1.0;    // seconds per measurement
    double bottomStep = 1.0;  // smallest meaningful bottom step
    ChartAxisRequest left{0.0, 1.0, 0.1, true, "0.0", 10};
    ChartAxisRequest bottom{0.0, 1.0, 1.0, true, "0", 20};
    bool autoAxis = true;  // the two-pass rounding of the left axis
    double dataMinimum = 0.0;
    double dataMaximum = 1.0;
    std::string leftCaption;
    std::string leftCaptionSuffix;  // after whatever caption the left axis gets
    std::string modeCaption2;       // foot in vector / polar mode
    std::string modeCaption3;       // foot in bar mode
    ChartColour background = 0xF0F0F0;
    ChartColour axisColour = kChartBlack;

    std::optional<ChartLine> line;
    std::optional<ChartBars> bars;
    std::optional<ChartPolar> polar;
    std::optional<ChartSticks> sticks;

    // Progressive vector.
    bool equalScale = false;
    bool skippedInvalid = false;   // the north caption notes skipped records
    std::vector<bool> pointValid;  // one per point of the path
    bool dayMarks = false;
    double dayMarkT0 = 0.0;  // time of point 0, days
    int dayMarkDt = 0;
    bool zeroLines = false;

    // Date axis below the time axis.
    bool dateAxis = false;
    double dateT0 = 0.0;    // time of the first shown record, days
    bool dateGrid = false;  // vertical lines at day starts

    // Interaction state laid over the description by whoever shows it.
    bool zoomed = false;
    double zoomUnitsPerPixel = 0.0;  // equal scale of a zoomed vector, 0: not yet known
};

void SetDataRange(ChartDescription& chart, double maximum, double minimum);

// Where a picture goes: the screen keeps the user's background; paper is
// white and its date axis carries no day grid lines.
enum class ChartTarget { Screen, Paper };

// Which graph of the page.
struct GraphRequest {
    GraphKind kind = kGraphLine;
    int barKind = kBarSpeed;
    int lineKind = kLineSpeed;
    int vectorKind = kVectorProgressive;
    int barScale = kBarScaleNumber;
    bool startOfDays = false;
};

// The graph page: one chart, or two side by side, with the title and the
// progressive vector's legend.
struct GraphPageDescription {
    bool drawable = false;  // false: no data or statistics not valid
    ChartDescription chart1;
    std::optional<ChartDescription> chart2;
    bool chart1HalfWidth = false;  // sector diagrams take the left half
    bool legendShown = false;      // the progressive vector's legend panel
    ProgressiveLegend legend = ProgressiveLegendTexts({}, 0);
};

// The page the desktop shows for `request` over the data set's range.
// `buttonFaceRgb` resolves the system colour of the settings.
GraphPageDescription DescribeGraphPage(const DataSet& data, const Statistics& stats, const ScaleSettings& scale,
                                       const GraphSettings& settings, const GraphRequest& request,
                                       ChartTarget target = ChartTarget::Screen,
                                       std::uint32_t buttonFaceRgb = 0xF0F0F0);

// The same chart on paper: white, and no day grid lines (the printed date
// labels carry no year to find them by). A zoomed chart says so after its
// left caption.
inline constexpr const char* kZoomedCaptionSuffix = " (zoomed)";
ChartDescription ForPaper(ChartDescription chart);
GraphPageDescription ForPaper(GraphPageDescription page);

// Whether the file holds the quantity of the graph at all (current for bars,
// vectors and the speed lines, oxygen for the oxygen graphs, ...).
bool GraphAvailable(const MeasurementFileHeader& header, const GraphRequest& request);

// Smallest and largest x and y over the points that are not gaps; false
// when there are none.
struct PointExtent {
    double xMinimum = 0.0, xMaximum = 0.0, yMinimum = 0.0, yMaximum = 0.0;
};
bool ExtentOfPoints(const std::vector<ChartPoint>& points, PointExtent& out);

}  // namespace corvan
