#pragma once
// The arithmetic of the vector graphs: the legend of the progressive vector,
// its equal scale, axis captions and day marks, the sticks of the stick
// diagram and the values of the sector diagrams. The chart only draws them.

#include <array>
#include <string>
#include <vector>

#include "graphs/chart_geometry.h"
#include "graphs/statistics.h"

namespace corvan {

enum VectorKind : int {
    kVectorProgressive = 0,
    kVectorMaxMean = 1,
    kVectorFluxNumber = 2,
    kVectorStick = 3,
    kVectorOxygenFlux = 4,
};

// The texts of the legend panel next to the progressive vector.
struct ProgressiveLegend {
    std::string neumann;
    std::string restSpeed;
    std::string restDirection;
    std::string averageSpeed;
    std::string validPoints;
    bool validPointsShown = false;  // only when records were skipped
};
ProgressiveLegend ProgressiveLegendTexts(const ProgressiveFigures& figures, int rangeRecordCount);

struct VectorRange {
    double bottomMinimum = 0.0, bottomMaximum = 1.0;
    double leftMinimum = 0.0, leftMaximum = 1.0;
};

// One metre takes as many pixels east as north: the data extent with a 5 %
// margin, the axis with the more metres per pixel sets the scale of both.
VectorRange EqualScaleRange(double xMinimum, double xMaximum, double yMinimum, double yMaximum,
                            double bottomLengthPixels, double leftLengthPixels);
// Units per pixel of a zoomed view: the larger of the two axes'.
double ZoomedUnitsPerPixel(double bottomSpan, double bottomLengthPixels, double leftSpan, double leftLengthPixels);

// A zoomed view moved, span unchanged, to lie within the data extent widened
// by a tenth of the view's span on each side.
AxisRange KeepViewNearData(double minimum, double maximum, double dataMinimum, double dataMaximum);

// Increments and captions of the progressive vector: kilometres once the
// smaller span exceeds 5000 metres.
struct VectorAxisCaptions {
    double increment = 1.0;
    std::string leftCaption;
    std::string footCaption;
};
VectorAxisCaptions ProgressiveCaptions(double bottomSpan, double leftSpan, bool skippedInvalid);

// Points of the path (0 the origin) that start a new day: T0 the time of
// point 0 in days, dt seconds per record.
std::vector<int> DayMarkPoints(double t0Days, int dt, int pointCount);

struct PixelPoint {
    int x = 0;
    int y = 0;
};
// Where the mark of point k goes: the point itself when valid, else midway
// between the nearest valid points either side; false when there is none
// after it.
bool DayMarkPosition(const std::vector<PixelPoint>& pixels, const std::vector<bool>& valid, int k, PixelPoint& out);

struct PixelLine {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};
// The two strokes of an "X" at p whose arms never leave the plot; none when
// p is not strictly inside it.
std::vector<PixelLine> DayMarkCross(PixelPoint p, int left, int top, int right, int bottom);

// The sticks over records lo..hi (indices into speeds/directions, radians);
// x pixel of each record in xs. Every stick is the mean vector of the
// records since the previous one, g pixels per cm/s, drawn from y0.
std::vector<PixelLine> StickLines(const std::vector<float>& speeds, const std::vector<float>& directions,
                                  const std::vector<int>& xs, int y0, double g, int penWidth);

// The 24 values and the legends of one sector diagram pair.
struct SectorDiagram {
    std::array<double, kSectorCount> values{};
    std::string legend;
};
struct SectorDiagrams {
    SectorDiagram left;
    SectorDiagram right;
    bool rightShown = true;
};
SectorDiagrams BuildSectorDiagrams(const SectorStatistics& sectors, int vectorKind, int dt);

// Polar angle (degrees counter-clockwise from east) of sector k's centre.
double SectorPolarAngle(int k);

}  // namespace corvan
