#include "graphs/vector_graphs.h"

#include <algorithm>
#include <cmath>

#include "graphs/number_format.h"

namespace corvan {

namespace {
inline constexpr const char* kNeumannLabel = "Neumann parameter: ";
inline constexpr const char* kRestSpeedLabel = "Rest speed: ";
inline constexpr const char* kRestDirectionLabel = "Rest direction: ";
inline constexpr const char* kAverageSpeedLabel = "Average speed: ";
inline constexpr const char* kValidPointsLabel = "Valid data points: ";
inline constexpr const char* kSpeedUnit = " cm/s";
inline constexpr const char* kDegreesUnit = " deg.";
inline constexpr const char* kKmNorth = "km N";
inline constexpr const char* kKmEast = "km E";
inline constexpr const char* kMetersNorth = "meters N";
inline constexpr const char* kMetersEast = "meters E";
inline constexpr const char* kSkippedNote = " (Skipped invalid data.)";
inline constexpr const char* kMaxVelocityLegend = "Maximum velocity (cm/s)\rper 15 deg sector";
inline constexpr const char* kMeanVelocityLegend = "Mean velocity (cm/s)\rper 15 deg sector";
inline constexpr const char* kWaterFluxLegend = "Relative water flux (%)\rper 15 deg sector";
inline constexpr const char* kNumberLegend = "Number of measurements\rper 15 deg sector";
inline constexpr const char* kOxygenFluxLegend = "Relative oxygen flux (%)\rper 15 deg sector";
inline constexpr double kKilometreThreshold = 5000.0;
inline constexpr int kCrossArm = 5;
}  // namespace

ProgressiveLegend ProgressiveLegendTexts(const ProgressiveFigures& f, int rangeRecordCount) {
    ProgressiveLegend l;
    l.neumann = kNeumannLabel + FixedText(f.neumann, 1, 3);
    l.restSpeed = kRestSpeedLabel + FixedText(f.restSpeed, 3, 1) + kSpeedUnit;
    l.restDirection = kRestDirectionLabel + FixedText(f.restDirection, 1, 0) + kDegreesUnit;
    l.averageSpeed = kAverageSpeedLabel + FixedText(f.averageSpeed, 3, 1) + kSpeedUnit;
    l.validPoints = kValidPointsLabel + std::to_string(f.plottedCount);
    l.validPointsShown = f.plottedCount != rangeRecordCount;
    return l;
}

VectorRange EqualScaleRange(double xMinimum, double xMaximum, double yMinimum, double yMaximum, double bottomLength,
                            double leftLength) {
    const double mx = 0.05 * (xMaximum - xMinimum);
    const double my = 0.05 * (yMaximum - yMinimum);
    const double x0 = xMinimum - mx, x1 = xMaximum + mx;
    const double y0 = yMinimum - my, y1 = yMaximum + my;
    const double bx = bottomLength > 0.0 ? (x1 - x0) / bottomLength : 1.0;
    const double by = leftLength > 0.0 ? (y1 - y0) / leftLength : 1.0;
    double u = std::max(bx, by);
    // A single point has no extent; a metre per pixel keeps the axes apart.
    if (u <= 0.0) u = 1.0;
    return {x0, x0 + u * bottomLength, y0, y0 + u * leftLength};
}

double ZoomedUnitsPerPixel(double bottomSpan, double bottomLength, double leftSpan, double leftLength) {
    const double bx = bottomLength > 0.0 ? bottomSpan / bottomLength : 1.0;
    const double by = leftLength > 0.0 ? leftSpan / leftLength : 1.0;
    return std::max(bx, by);
}

AxisRange KeepViewNearData(double minimum, double maximum, double dataMinimum, double dataMaximum) {
    const double span = maximum - minimum;
    const double lower = dataMinimum - 0.1 * span;
    const double upper = dataMaximum + 0.1 * span;
    if (minimum < lower) return {lower, lower + span};
    if (maximum > upper) {
        if (span > upper - lower) return {lower, lower + span};
        return {upper - span, upper};
    }
    return {minimum, maximum};
}

VectorAxisCaptions ProgressiveCaptions(double bottomSpan, double leftSpan, bool skippedInvalid) {
    VectorAxisCaptions c;
    const bool km = std::min(bottomSpan, leftSpan) > kKilometreThreshold;
    c.increment = km ? 1000.0 : 1.0;
    c.leftCaption = km ? kKmNorth : kMetersNorth;
    if (skippedInvalid) c.leftCaption += kSkippedNote;
    c.footCaption = km ? kKmEast : kMetersEast;
    return c;
}

std::vector<int> DayMarkPoints(double t0Days, int dt, int pointCount) {
    std::vector<int> marks;
    if (dt <= 0) return marks;
    const int perDay = std::max(1, 86400 / dt);
    const double frac = t0Days - std::floor(t0Days);
    const int k0 = static_cast<int>(std::lround((1.0 - frac) * 86400.0 / dt));
    for (long long k = k0; k < pointCount; k += perDay) marks.push_back(static_cast<int>(k));
    return marks;
}

bool DayMarkPosition(const std::vector<PixelPoint>& pixels, const std::vector<bool>& valid, int k, PixelPoint& out) {
    const int n = static_cast<int>(std::min(pixels.size(), valid.size()));
    if (k < 0 || k >= n) return false;
    if (valid[k]) {
        out = pixels[k];
        return true;
    }
    int j = k;
    while (j > 0 && !valid[j]) --j;
    int m = k;
    while (m < n - 1 && !valid[m]) ++m;
    if (!valid[j] || !valid[m]) return false;
    out = {(pixels[j].x + pixels[m].x) / 2, (pixels[j].y + pixels[m].y) / 2};
    return true;
}

std::vector<PixelLine> DayMarkCross(PixelPoint p, int left, int top, int right, int bottom) {
    if (!(left < p.x && p.x < right && top < p.y && p.y < bottom)) return {};
    const int a = std::min({kCrossArm, p.x - left, p.y - top});
    const int b = std::min({kCrossArm, right - p.x, bottom - p.y});
    const int c = std::min({kCrossArm, p.x - left, bottom - p.y});
    const int e = std::min({kCrossArm, right - p.x, p.y - top});
    return {{p.x - a, p.y - a, p.x + b + 1, p.y + b + 1}, {p.x - c, p.y + c, p.x + e + 1, p.y - e - 1}};
}

std::vector<PixelLine> StickLines(const std::vector<float>& speeds, const std::vector<float>& directions,
                                  const std::vector<int>& xs, int y0, double g, int penWidth) {
    std::vector<PixelLine> lines;
    const std::size_t n = std::min({speeds.size(), directions.size(), xs.size()});
    int count = 0;
    double se = 0.0, sn = 0.0;
    int lastX = -999;
    for (std::size_t k = 0; k < n; ++k) {
        const double v = speeds[k];
        if (v > -999.0) {
            ++count;
            se += std::sin(directions[k]) * v;
            sn += std::cos(directions[k]) * v;
        }
        const int x = xs[k];
        if (x - lastX >= 2 * penWidth && count > 0) {
            lines.push_back({x, y0, x + static_cast<int>(std::lround(g * se / count)),
                             y0 - static_cast<int>(std::lround(g * sn / count))});
            count = 0;
            se = sn = 0.0;
            lastX = x;
        }
    }
    return lines;
}

SectorDiagrams BuildSectorDiagrams(const SectorStatistics& s, int vectorKind, int dt) {
    SectorDiagrams d;
    if (vectorKind == kVectorMaxMean) {
        d.left.legend = kMaxVelocityLegend;
        d.right.legend = kMeanVelocityLegend;
        for (int k = 0; k < kSectorCount; ++k) {
            d.left.values[k] = s.sectorMaxSpeed[k];
            const double time = s.sectorCount[k] * dt * 0.01;
            d.right.values[k] = time > 0.0 ? s.sectorWaterFlux[k] / time : 0.0;
        }
    } else if (vectorKind == kVectorFluxNumber) {
        d.left.legend = kWaterFluxLegend;
        d.right.legend = kNumberLegend;
        double total = 0.0;
        for (float f : s.sectorWaterFlux) total += f;
        if (total == 0.0) total = 1.0;
        for (int k = 0; k < kSectorCount; ++k) {
            d.left.values[k] = s.sectorWaterFlux[k] * 100.0 / total;
            d.right.values[k] = s.sectorCount[k];
        }
    } else if (vectorKind == kVectorOxygenFlux) {
        d.left.legend = kOxygenFluxLegend;
        d.rightShown = false;
        for (int k = 0; k < kSectorCount; ++k)
            d.left.values[k] = s.totalSensorFlux != 0.0 ? s.sectorSensorFlux[k] * 100.0 / s.totalSensorFlux : 0.0;
    }
    return d;
}

double SectorPolarAngle(int k) { return 90.0 - (k + 0.5) * 15.0; }

}  // namespace corvan
