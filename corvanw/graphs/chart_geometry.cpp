#include "graphs/chart_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/date_time.h"

namespace corvan {

namespace {

// Halves go to the even neighbour, as the axis rounding always has.
double RoundEven(double x) { return std::nearbyint(x); }

}  // namespace

double AxisMapping::ValueToPixel(double value) const {
    const double span = maximum - minimum;
    if (span == 0.0) return startPixel;
    return startPixel + (value - minimum) * (endPixel - startPixel) / span;
}

double AxisMapping::PixelToValue(double pixel) const {
    const double length = endPixel - startPixel;
    if (length == 0.0) return minimum;
    return minimum + (pixel - startPixel) * (maximum - minimum) / length;
}

double AxisMapping::Length() const { return std::abs(endPixel - startPixel); }

double LeftAxisRoundedMinimum(double dataMinimum, double increment) {
    if (increment <= 0.0) return dataMinimum;
    return increment * RoundEven((dataMinimum - increment / 2.0) / increment + 1e-5);
}

namespace {

// The smallest of 1, 2, 5 times a power of ten above x.
double NextNiceStep(double x) {
    const double power = std::pow(10.0, std::floor(std::log10(x)));
    for (double m : {1.0, 2.0, 5.0, 10.0, 20.0}) {
        if (m * power > x * (1.0 + 1e-9)) return m * power;
    }
    return 20.0 * power;
}

}  // namespace

double LabelIncrement(double minimum, double maximum, double requested, double lengthPixels, double labelSize,
                      double separationPercent) {
    const double range = std::abs(maximum - minimum);
    double inc = requested > 0.0 ? requested : (range > 0.0 ? range / 10.0 : 1.0);
    if (range <= 0.0 || lengthPixels <= 0.0 || labelSize <= 0.0 || !std::isfinite(range)) return inc;
    const double space = labelSize * (1.0 + separationPercent / 100.0);
    // A bounded walk: each step at least doubles the increment.
    for (int i = 0; i < 200 && (range / inc) * space > lengthPixels; ++i) inc = NextNiceStep(inc);
    return inc;
}

AxisRange LeftAxisRoundedLimits(double dataMinimum, double dataMaximum, double computedIncrement,
                                double leftLengthPixels) {
    const double g = computedIncrement;
    if (g <= 0.0) return {dataMinimum, dataMaximum};
    AxisRange r;
    r.maximum = g * RoundEven((dataMaximum + g / 2.0) / g);
    r.minimum = g * RoundEven((dataMinimum - g / 2.0) / g + 1e-5);
    if (leftLengthPixels > 2.0) {
        r.maximum = std::max(r.maximum, dataMaximum + 2.0 * (r.maximum - r.minimum) / (leftLengthPixels - 2.0));
    }
    return r;
}

AxisRange StickLeftRange(double dataMinimum, double dataMaximum, double leftLengthPixels, double bottomLengthPixels) {
    const double fifth = bottomLengthPixels / 5.0;
    if (fifth > 0.0 && leftLengthPixels >= fifth) {
        const double g = (leftLengthPixels / fifth) * dataMaximum;
        return {-g, g};
    }
    return {dataMinimum, dataMaximum};
}

LeftAxis AdjustLeftAxis(ChartMode mode, double dataMinimum, double dataMaximum, double axisIncrement,
                        double leftLengthPixels, double bottomLengthPixels, double labelSize,
                        double separationPercent) {
    LeftAxis axis;
    if (mode == kModeStick) {
        const AxisRange r = StickLeftRange(dataMinimum, dataMaximum, leftLengthPixels, bottomLengthPixels);
        axis.minimum = r.minimum;
        axis.maximum = r.maximum;
    } else {
        axis.minimum = LeftAxisRoundedMinimum(dataMinimum, axisIncrement);
        axis.maximum = dataMaximum;
    }
    axis.increment =
        LabelIncrement(axis.minimum, axis.maximum, axisIncrement, leftLengthPixels, labelSize, separationPercent);
    if (axis.increment == 0.0) axis.increment = axisIncrement;
    if (mode == kModeStick) return axis;
    const AxisRange r = LeftAxisRoundedLimits(dataMinimum, dataMaximum, axis.increment, leftLengthPixels);
    axis.minimum = r.minimum;
    axis.maximum = r.maximum;
    return axis;
}

std::vector<double> LeftAxisLabelValues(ChartMode mode, const LeftAxis& axis, double dataMinimum, double dataMaximum,
                                        double axisIncrement) {
    std::vector<double> values;
    const double g = axis.increment > 0.0 ? axis.increment : axisIncrement;
    if (g <= 0.0 || !(axis.maximum >= axis.minimum)) return values;
    double start = axis.minimum;
    if (mode == kModeStick) {
        start = g * RoundEven((dataMinimum - g / 2.0) / g);
        if (start < axis.minimum) start += g;
    }
    const double tolerance = g * 1e-6;
    for (int k = 0; k < 10000; ++k) {
        const double v = start + k * g;
        if (v > axis.maximum + tolerance || v > dataMaximum + g + tolerance) break;
        values.push_back(std::abs(v) < tolerance ? 0.0 : v);
    }
    return values;
}

std::vector<double> AxisLabelValues(double minimum, double maximum, double increment) {
    std::vector<double> values;
    if (increment <= 0.0 || !(maximum >= minimum)) return values;
    const double tolerance = increment * 1e-6;
    const double first = std::ceil(minimum / increment - 1e-6);
    for (int k = 0; k < 10000; ++k) {
        const double v = (first + k) * increment;
        if (v > maximum + tolerance) break;
        values.push_back(std::abs(v) < tolerance ? 0.0 : v);
    }
    return values;
}

std::string AxisLabelText(double value, double increment, bool countsIncrements, int decimals,
                          std::string_view decimalSeparator) {
    if (countsIncrements && increment > 1.0) return std::to_string(std::llround(value / increment));
    decimals = std::clamp(decimals, 0, 9);
    // No "-0.0" for a value that rounds to zero.
    if (std::abs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0.0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    const auto point = text.find('.');
    if (point != std::string::npos) text.replace(point, 1, decimalSeparator);
    return text;
}

int FormatDecimals(std::string_view labelFormat) {
    const auto point = labelFormat.find('.');
    if (point == std::string_view::npos) return 0;
    return static_cast<int>(labelFormat.size() - point - 1);
}

AxisRange DataRange(double maximum, double minimum, double leftIncrement) {
    return {minimum, std::max(maximum, minimum + 2.0 * leftIncrement)};
}

TimeUnit BottomTimeUnit(double bottomMinimum, double bottomMaximum, double dt) {
    const double span = std::round(bottomMaximum - bottomMinimum);
    if (span < 600.0 && dt < 60.0) return {kSecondsCaption, 1.0};
    if (span <= 35999.0 && dt < 3600.0) return {kMinutesCaption, 60.0};
    if (span > 863999.0) return {kDaysCaption, 86400.0};
    return {kHoursCaption, 3600.0};
}

std::string DateAxisLabel(double days) {
    const CivilTime c = DateTime::FromDays(days).ToCivil();
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d.", c.day % 100);
    return std::string(buffer) + MonthAbbreviation(c.month);
}

AxisRange DateAxisRange(double t0Days, double bottomMinimum, double bottomMaximum) {
    return {t0Days + bottomMinimum / 86400.0, t0Days + bottomMaximum / 86400.0};
}

std::vector<DayMark> DateAxisDays(const AxisRange& dateRange, double stepDays) {
    std::vector<DayMark> days;
    if (!(dateRange.maximum >= dateRange.minimum) || !std::isfinite(dateRange.maximum - dateRange.minimum)) return days;
    const double step = std::max(1.0, std::round(stepDays));
    // Times are whole seconds: a day start within a second of an end is on it.
    const double epsilon = 0.5 / 86400.0;
    for (double d = std::ceil(dateRange.minimum - epsilon); d <= dateRange.maximum + epsilon && days.size() < 100000;
         d += step) {
        days.push_back({d, DateAxisLabel(d)});
    }
    return days;
}

std::vector<int> DayGridPositions(const std::vector<DayMark>& days, const AxisMapping& dateAxis) {
    std::vector<int> positions;
    positions.reserve(100);
    const double lo = std::min(dateAxis.startPixel, dateAxis.endPixel);
    const double hi = std::max(dateAxis.startPixel, dateAxis.endPixel);
    for (const DayMark& d : days) {
        const int x = static_cast<int>(std::lround(dateAxis.ValueToPixel(d.days)));
        if (x <= lo || x >= hi) continue;
        if (std::find(positions.begin(), positions.end(), x) == positions.end()) positions.push_back(x);
    }
    return positions;
}

double DateAxisLiftPercent(double labelFontHeight, double axisPenWidth, double tickLength, double leftLengthPixels) {
    if (leftLengthPixels <= 0.0) return 0.0;
    return (labelFontHeight + axisPenWidth + tickLength + 6.0) * 100.0 / leftLengthPixels;
}

AxisRange ZoomBottomRange(double zoomMinimum, double zoomMaximum, double bottomStep, double largestX) {
    AxisRange r{std::min(zoomMaximum - 3.0 * bottomStep, zoomMinimum), zoomMaximum};
    if (r.minimum < 0.0) {
        r.minimum = 0.0;
        // A rectangle that reaches left of the start shows the first three
        // intervals: never negative time, and a rule that is easy to learn.
        r.maximum = std::min(3.0 * bottomStep, largestX);
    }
    return r;
}

AxisRange KeepInsideData(double minimum, double maximum, double smallestX, double largestX) {
    const double span = maximum - minimum;
    if (minimum < smallestX) return {smallestX, smallestX + span};
    if (maximum > largestX) {
        if (span > largestX - smallestX) return {smallestX, smallestX + span};
        return {largestX - span, largestX};
    }
    return {minimum, maximum};
}

PanResult PanBottomRange(double requestedMinimum, double requestedMaximum, double lowerLimit, double upperLimit) {
    const double span = requestedMaximum - requestedMinimum;
    PanResult r{true, requestedMinimum, requestedMaximum};
    if (span <= 0.1) return r;
    if (requestedMinimum <= lowerLimit) {
        r = {false, lowerLimit, lowerLimit + span};
    } else if (requestedMaximum > upperLimit) {
        if (span > upperLimit - lowerLimit)
            r = {false, lowerLimit, lowerLimit + span};
        else
            r = {false, upperLimit - span, upperLimit};
    }
    return r;
}

int RecordAtX(double x, double dt, int first, int last, int scrollMaximum) {
    long long i = first;
    if (dt > 0.0 && std::isfinite(x / dt)) {
        const double steps = std::clamp(std::round(x / dt), -1e9, 1e9);
        i = first + static_cast<long long>(steps);
    }
    i = std::clamp<long long>(i, first, std::max(first, last));
    i = std::min<long long>(i, scrollMaximum);
    return static_cast<int>(std::max<long long>(i, 0));
}

}  // namespace corvan
