#pragma once
// The arithmetic of the time-series charts: value-to-pixel mapping, the
// rounded left axis and its label increment, the time unit of the bottom
// axis, the date axis, and the limits of zoom and pan. The widgets only draw
// what these compute.

#include <string>
#include <string_view>
#include <vector>

namespace corvan {

// One axis between two pixel positions. For a vertical axis `startPixel` is
// the bottom (larger y) and `endPixel` the top, so larger values map upwards.
struct AxisMapping {
    double minimum = 0.0;
    double maximum = 1.0;
    double startPixel = 0.0;
    double endPixel = 100.0;

    double ValueToPixel(double value) const;
    double PixelToValue(double pixel) const;
    double Length() const;  // in pixels, never negative
};

// The chart's modes.
enum ChartMode : int {
    kModeTime = 0,
    kModeVector = 2,
    kModeBars = 3,
    kModeStick = 4,
};

// First pass of the left axis: the data minimum rounded down to the axis
// increment (the small offset keeps a minimum that lies on a label from
// dropping by a whole increment).
double LeftAxisRoundedMinimum(double dataMinimum, double increment);

// The label increment an axis uses: the requested one when the labels fit,
// otherwise the next of 1, 2, 5 times a power of ten at which labels of
// `labelSize` pixels, `separationPercent` of a label apart, fit the length.
// A requested increment of 0 or less starts from a tenth of the range.
double LabelIncrement(double minimum, double maximum, double requested, double lengthPixels, double labelSize,
                      double separationPercent);

struct AxisRange {
    double minimum = 0.0;
    double maximum = 0.0;
};

// Second pass: both ends rounded outwards to the computed increment, with at
// least two pixels of headroom above the data maximum.
AxisRange LeftAxisRoundedLimits(double dataMinimum, double dataMaximum, double computedIncrement,
                                double leftLengthPixels);

// The stick diagram's left range: the data maximum takes as many pixels up
// as one fifth of the bottom axis across, when the left axis is that long.
AxisRange StickLeftRange(double dataMinimum, double dataMaximum, double leftLengthPixels, double bottomLengthPixels);

// The whole left axis of a drawing with the automatic adjustment on: both
// passes, as one call.
struct LeftAxis {
    double minimum = 0.0;
    double maximum = 0.0;
    double increment = 0.0;  // the computed label increment
};
LeftAxis AdjustLeftAxis(ChartMode mode, double dataMinimum, double dataMaximum, double axisIncrement,
                        double leftLengthPixels, double bottomLengthPixels, double labelSize, double separationPercent);

// The values at which the left axis carries labels.
std::vector<double> LeftAxisLabelValues(ChartMode mode, const LeftAxis& axis, double dataMinimum, double dataMaximum,
                                        double axisIncrement);

// Values at which an axis without the adjustment carries labels: the
// multiples of the increment inside the range.
std::vector<double> AxisLabelValues(double minimum, double maximum, double increment);

// The text of an axis label. On a horizontal axis (or in vector mode) with an
// increment above 1 the label counts increments, so time labels count units
// of the time unit and vector labels kilometres.
std::string AxisLabelText(double value, double increment, bool countsIncrements, int decimals,
                          std::string_view decimalSeparator);

// Decimals of a label format "0" or "0.0".
int FormatDecimals(std::string_view labelFormat);

// Data range of a chart: the maximum is at least two increments above the
// minimum.
AxisRange DataRange(double maximum, double minimum, double leftIncrement);

struct TimeUnit {
    const char* caption;
    double increment;  // seconds
};
inline constexpr const char* kSecondsCaption = "Seconds";
inline constexpr const char* kMinutesCaption = "Minutes";
inline constexpr const char* kHoursCaption = "Hours";
inline constexpr const char* kDaysCaption = "Days";
// Unit of a bottom axis from bottomMinimum to bottomMaximum seconds at dt
// seconds per measurement.
TimeUnit BottomTimeUnit(double bottomMinimum, double bottomMaximum, double dt);

// Day labels of the date axis: "05.Mar".
std::string DateAxisLabel(double days);

// Range of the date axis in days since 1899-12-30: t0 is the time of the
// first shown record.
AxisRange DateAxisRange(double t0Days, double bottomMinimum, double bottomMaximum);

// Each day start (whole days) inside the date axis range, with its label.
struct DayMark {
    double days = 0.0;
    std::string label;
};
// Every `stepDays`-th day from the first day start on; the step grows
// like any label increment when the labels crowd.
std::vector<DayMark> DateAxisDays(const AxisRange& dateRange, double stepDays = 1.0);

// Pixel x of each day start strictly between the ends of the bottom axis,
// without repeats: where the date grid draws its lines.
std::vector<int> DayGridPositions(const std::vector<DayMark>& days, const AxisMapping& dateAxis);

// How far the bottom axis is lifted for the date axis below it, in percent
// of the left axis.
double DateAxisLiftPercent(double labelFontHeight, double axisPenWidth, double tickLength, double leftLengthPixels);

// The bottom range after a zoom to zoomMinimum..zoomMaximum: at least three
// measurement intervals, never negative time: a rectangle reaching left of
// 0 shows 0 .. min(3 intervals, last x). The zoomed vertical range stays as
// dragged.
AxisRange ZoomBottomRange(double zoomMinimum, double zoomMaximum, double bottomStep, double largestX);

// The bottom range moved, span unchanged, so that it starts at the data's
// first x or ends at its last.
AxisRange KeepInsideData(double minimum, double maximum, double smallestX, double largestX);

// A horizontal pan request against the limits 0 .. largest x.
struct PanResult {
    bool allowed = true;   // the widget scrolls as requested
    double minimum = 0.0;  // when refused: the range set instead
    double maximum = 0.0;
};
PanResult PanBottomRange(double requestedMinimum, double requestedMaximum, double lowerLimit, double upperLimit);

// Record shown at x seconds on a line graph, for the list view.
int RecordAtX(double x, double dt, int first, int last, int scrollMaximum);

}  // namespace corvan
