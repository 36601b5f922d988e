#pragma once
// Where everything of a chart goes at one size: the plot rectangle, the
// axes with the rounded left axis or the equal scale, label texts and their
// positions, the date axis and day grid, bars, sticks, day marks, zero lines
// and the polar rings. Pure arithmetic over a ChartDescription and the
// metrics of the font; the painter draws exactly this.

#include <functional>
#include <string>
#include <vector>

#include "graphs/chart_description.h"

namespace corvan {

struct ChartMetrics {
    double width = 0.0;  // of the area, pixels
    double height = 0.0;
    double fontHeight = 13.0;
    double fontAscent = 10.0;
    // Width of a text in pixels; characters of 7 pixels when not given.
    std::function<double(const std::string&)> textWidth;
    std::string decimalSeparator = ".";
};

struct ChartText {
    double x = 0.0;  // left end
    double y = 0.0;  // baseline
    std::string text;
};

struct ChartRect {
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
    double Width() const { return right - left; }
    double Height() const { return bottom - top; }
    bool Contains(double x, double y) const { return x > left && x < right && y > top && y < bottom; }
};

struct ChartBarRect {
    double x0 = 0.0, x1 = 0.0, top = 0.0, base = 0.0;
};

struct ChartLayout {
    bool drawable = false;  // the area is too small for a plot
    ChartRect plot;
    AxisMapping bottomMap, leftMap;
    LeftAxis leftAxis;               // the left range and label increment drawn
    ChartAxisRequest bottom;            // the bottom axis as drawn (equal scale may move it)
    double bottomIncrement = 1.0;    // of the time unit, or the axis'
    double zoomUnitsPerPixel = 0.0;  // equal scale of a zoomed vector

    std::string leftCaption;
    std::string footCaption;  // both foot lines, "\r" between them
    ChartText leftCaptionText;
    std::vector<ChartText> foot;

    std::vector<ChartText> leftLabels;
    std::vector<PixelLine> leftTicks;
    std::vector<ChartText> bottomLabels;
    std::vector<PixelLine> bottomTicks;
    std::vector<PixelLine> minorTicks;
    std::vector<ChartText> dateLabels;
    std::vector<PixelLine> dateTicks;
    std::vector<int> dayGrid;  // x of the day grid lines

    std::vector<ChartBarRect> bars;
    std::vector<PixelLine> sticks;
    std::vector<PixelPoint> dayMarkPixels;
    std::vector<PixelLine> dayMarkStrokes;
    std::vector<PixelLine> zeroLines;

    // Polar diagrams.
    double polarCentreX = 0.0, polarCentreY = 0.0, polarRadius = 0.0;
    double polarRadiusMaximum = 0.0;  // value at the outer circle
    std::vector<double> polarRings;   // radii in pixels of the dotted rings
    std::vector<ChartText> polarLabels;
    std::vector<std::pair<double, double>> polarPoints;  // pixels, one per sector
};

ChartLayout LayOutChart(const ChartDescription& chart, const ChartMetrics& metrics);

// The records of the stick diagram that fall inside the bottom range, as
// indices 0..count-1 into the range; all of them when not zoomed. Empty
// (hi < lo) when none.
struct IndexWindow {
    int lo = 0;
    int hi = -1;
};
IndexWindow StickRecordWindow(bool zoomed, double bottomMinimum, double bottomMaximum, double dt, int count);

// Which bar labels are drawn: left to right, a label is skipped when it
// would start less than `spacing` pixels after the previous one drawn.
// centres and widths in pixels; returns the indices kept.
std::vector<int> ThinnedLabels(const std::vector<double>& centres, const std::vector<double>& widths, double spacing);

// The value at the outer circle of a polar diagram and the step of its
// rings: fixed 2.01 (rings of 1) when no value exceeds 2.
struct PolarScale {
    double maximum = 2.01;
    double increment = 1.0;
};
PolarScale PolarRadiusScale(const std::array<double, kSectorCount>& values, double radiusPixels, double labelWidth);

}  // namespace corvan
