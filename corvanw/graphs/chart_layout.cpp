#include "graphs/chart_layout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvan {

namespace {

constexpr double kTickLength = 4.0;
constexpr double kMinorTickLength = 2.0;
constexpr double kDateTickLength = 10.0;
constexpr double kMargin = 8.0;
constexpr int kMinorTicksPerStep = 4;

int Round(double v) { return static_cast<int>(std::lround(v)); }

struct Foot {
    std::string line1, line2;
};

Foot SplitFoot(const std::string& caption) {
    Foot f{caption, {}};
    if (const auto cr = caption.find('\r'); cr != std::string::npos) {
        f.line1 = caption.substr(0, cr);
        f.line2 = caption.substr(cr + 1);
        if (!f.line2.empty() && f.line2.front() == '\n') f.line2.erase(0, 1);
    }
    return f;
}

// Equal scale of the progressive vector: one metre east as many pixels as
// one metre north, then metres or kilometres.
void ApplyEqualScale(const ChartDescription& chart, ChartLayout& out, ChartAxisRequest& left) {
    PointExtent e;
    if (!chart.line || !ExtentOfPoints(chart.line->points, e)) return;
    const double bottomLength = out.plot.Width();
    const double leftLength = out.plot.Height();
    ChartAxisRequest& bottom = out.bottom;
    if (!chart.zoomed) {
        const VectorRange r = EqualScaleRange(e.xMinimum, e.xMaximum, e.yMinimum, e.yMaximum, bottomLength, leftLength);
        bottom.minimum = r.bottomMinimum;
        bottom.maximum = r.bottomMaximum;
        left.minimum = r.leftMinimum;
        left.maximum = r.leftMaximum;
    } else {
        const bool justZoomed = chart.zoomUnitsPerPixel <= 0.0;
        out.zoomUnitsPerPixel = justZoomed ? ZoomedUnitsPerPixel(bottom.maximum - bottom.minimum, bottomLength,
                                                                 left.maximum - left.minimum, leftLength)
                                           : chart.zoomUnitsPerPixel;
        bottom.maximum = bottom.minimum + out.zoomUnitsPerPixel * bottomLength;
        left.maximum = left.minimum + out.zoomUnitsPerPixel * leftLength;
        if (justZoomed) {
            const AxisRange b = KeepViewNearData(bottom.minimum, bottom.maximum, e.xMinimum, e.xMaximum);
            bottom.minimum = b.minimum, bottom.maximum = b.maximum;
            const AxisRange l = KeepViewNearData(left.minimum, left.maximum, e.yMinimum, e.yMaximum);
            left.minimum = l.minimum, left.maximum = l.maximum;
        }
    }
    const VectorAxisCaptions c =
        ProgressiveCaptions(bottom.maximum - bottom.minimum, left.maximum - left.minimum, chart.skippedInvalid);
    bottom.increment = left.increment = c.increment;
    out.leftCaption = c.leftCaption;
    out.footCaption = c.footCaption;
}

void LayOutPolar(const ChartDescription& chart, const ChartMetrics& m, ChartLayout& out) {
    const auto width = [&](const std::string& s) { return m.textWidth(s); };
    const double fh = m.fontHeight;
    out.polarCentreX = std::round((out.plot.left + out.plot.right) / 2.0);
    out.polarCentreY = std::round((out.plot.top + out.plot.bottom) / 2.0);
    out.polarRadius = std::max(1.0, std::floor(std::min(out.plot.Width(), out.plot.Height()) / 2.0) - fh);
    PolarScale s = PolarRadiusScale(chart.polar->values, out.polarRadius, width("0000"));
    if (chart.zoomed && chart.left.maximum > 0.0 && std::isfinite(chart.left.maximum)) {
        // Zoomed towards the centre: the outer circle is the zoomed radius.
        s.maximum = chart.left.maximum;
        s.increment = LabelIncrement(0.0, s.maximum, s.maximum > 2.0 ? 1.0 : 0.0, out.polarRadius, width("0000"), 30);
    }
    out.polarRadiusMaximum = s.maximum;
    const double scale = out.polarRadius / s.maximum;
    for (double r : AxisLabelValues(0.0, s.maximum, s.increment)) {
        if (r > 0.0) out.polarRings.push_back(r * scale);
        // Each label ends just inside its ring, so the circle never runs
        // through its own number.
        const int decimals = s.increment >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(s.increment) - 1e-9));
        const std::string text = AxisLabelText(r, s.increment, false, decimals, m.decimalSeparator);
        const double x = r > 0.0 ? out.polarCentreX + r * scale - width(text) - 2.0 : out.polarCentreX + 2.0;
        out.polarLabels.push_back({x, out.polarCentreY + kTickLength + m.fontAscent, text});
    }
    out.leftCaptionText = {out.polarCentreX - width(out.leftCaption) / 2.0,
                           out.polarCentreY - out.polarRadius - 2.0 - (fh - m.fontAscent), out.leftCaption};
    for (int k = 0; k < kSectorCount; ++k) {
        const double a = SectorPolarAngle(k) * std::numbers::pi / 180.0;
        const double v = chart.polar->values[static_cast<std::size_t>(k)];
        out.polarPoints.push_back(
            {out.polarCentreX + v * scale * std::cos(a), out.polarCentreY - v * scale * std::sin(a)});
    }
    // Title and foot are centred on the diagrams.
    const Foot f = SplitFoot(out.footCaption);
    const double footTop = m.height - kMargin - (f.line2.empty() ? 1 : 2) * fh;
    out.foot.push_back({m.width / 2.0 - width(f.line1) / 2.0, footTop + m.fontAscent, f.line1});
    if (!f.line2.empty())
        out.foot.push_back({m.width / 2.0 - width(f.line2) / 2.0, footTop + fh + m.fontAscent, f.line2});
}

}  // namespace

IndexWindow StickRecordWindow(bool zoomed, double bottomMinimum, double bottomMaximum, double dt, int count) {
    if (count <= 0) return {};
    if (!zoomed || dt <= 0.0) return {0, count - 1};
    const auto index = [&](double v) {
        if (!std::isfinite(v)) return v > 0 ? count - 1 : 0;
        return static_cast<int>(std::clamp<double>(std::round(v), 0.0, count - 1.0));
    };
    return {index(bottomMinimum / dt + 0.499999), index(bottomMaximum / dt - 0.5)};
}

std::vector<int> ThinnedLabels(const std::vector<double>& centres, const std::vector<double>& widths, double spacing) {
    std::vector<int> kept;
    double lastRight = -1e300;
    for (std::size_t i = 0; i < centres.size() && i < widths.size(); ++i) {
        const double left = std::round(centres[i] - widths[i] / 2.0);
        if (left < lastRight + spacing) continue;
        kept.push_back(static_cast<int>(i));
        lastRight = left + widths[i];
    }
    return kept;
}

PolarScale PolarRadiusScale(const std::array<double, kSectorCount>& values, double radiusPixels, double labelWidth) {
    double largest = 0.0;
    for (double v : values) largest = std::max(largest, v);
    if (!(largest > 2.0) || !std::isfinite(largest)) return {};
    PolarScale s;
    s.increment = LabelIncrement(0.0, largest, 1.0, radiusPixels, labelWidth, 30);
    s.maximum = std::ceil(largest / s.increment - 1e-9) * s.increment;
    if (s.maximum < largest) s.maximum += s.increment;
    return s;
}

ChartLayout LayOutChart(const ChartDescription& chart, const ChartMetrics& metricsIn) {
    ChartMetrics m = metricsIn;
    if (!m.textWidth) m.textWidth = [](const std::string& s) { return 7.0 * static_cast<double>(s.size()); };
    const auto width = [&](const std::string& s) { return m.textWidth(s); };
    const double fh = m.fontHeight;
    ChartLayout out;
    out.bottom = chart.bottom;
    out.leftCaption = chart.leftCaption;
    ChartAxisRequest left = chart.left;

    // The automatic bottom range: the bars, or 0 .. the last x.
    if (out.bottom.automatic) {
        out.bottom.minimum = 0.0;
        if (chart.mode == kModeBars) {
            out.bottom.maximum =
                chart.bars ? std::max<double>(1.0, static_cast<double>(chart.bars->values.size())) : 1.0;
        } else {
            const bool any = chart.line && !chart.line->points.empty();
            double largest = any ? chart.line->points.front().x : 0.0;
            if (any)
                for (const ChartPoint& p : chart.line->points) largest = std::max(largest, p.x);
            out.bottom.maximum = any ? std::max(largest, chart.bottomStep) : 1.0;
        }
    }

    const bool timeAxis = chart.mode == kModeTime || chart.mode == kModeStick;
    const bool dateShown = chart.dateAxis && timeAxis && chart.line.has_value();
    out.bottomIncrement = out.bottom.increment;
    if (timeAxis) {
        const TimeUnit unit = BottomTimeUnit(out.bottom.minimum, out.bottom.maximum, chart.interval);
        out.footCaption = unit.caption;
        out.bottomIncrement = unit.increment;
    } else if (chart.mode == kModeVector) {
        out.footCaption = chart.modeCaption2;
    } else {
        out.footCaption = chart.modeCaption3;
    }
    Foot foot = SplitFoot(out.footCaption);

    // Caption above the left axis, labels left and below, the date axis
    // under the bottom axis, the foot at the bottom.
    const double labelWidth = width("-00000.0");
    const double lift = dateShown ? fh + 1.0 + kDateTickLength + 6.0 : 0.0;
    const int footLines = foot.line2.empty() ? 1 : 2;
    out.plot.left = std::round(kMargin + labelWidth + kTickLength);
    out.plot.top = std::round(kMargin + fh + 4.0);
    out.plot.right = std::round(m.width - 1.0 - 2.0 * kMargin);
    out.plot.bottom = std::round(m.height - 1.0 - kMargin - footLines * fh - fh - kTickLength - 4.0 - lift);
    if (chart.mode == kModeStick) {
        out.plot.left = std::max(out.plot.left, std::floor(m.width / 10.0));
        out.plot.right = std::floor(m.width * 9.0 / 10.0);
    }
    if (out.plot.Width() < 2.0 || out.plot.Height() < 2.0) return out;
    out.drawable = true;

    if (chart.polar) {
        LayOutPolar(chart, m, out);
        return out;
    }
    if (chart.equalScale && chart.mode == kModeVector) {
        ApplyEqualScale(chart, out, left);
        out.bottomIncrement = out.bottom.increment;
        foot = SplitFoot(out.footCaption);
    }
    out.bottomMap = AxisMapping{out.bottom.minimum, out.bottom.maximum, out.plot.left, out.plot.right};

    // Left axis: the two rounding passes when automatic, else as given.
    std::vector<double> leftValues;
    if (left.automatic && chart.autoAxis) {
        out.leftAxis = AdjustLeftAxis(chart.mode, chart.dataMinimum, chart.dataMaximum, left.increment,
                                      out.plot.Height(), out.plot.Width(), fh, left.labelSeparation);
        leftValues =
            LeftAxisLabelValues(chart.mode, out.leftAxis, chart.dataMinimum, chart.dataMaximum, left.increment);
    } else {
        const bool fromData = left.automatic && !chart.equalScale;
        const double lo = fromData ? chart.dataMinimum : left.minimum;
        const double hi = fromData ? chart.dataMaximum : left.maximum;
        out.leftAxis = {lo, hi, LabelIncrement(lo, hi, left.increment, out.plot.Height(), fh, left.labelSeparation)};
        leftValues = AxisLabelValues(out.leftAxis.minimum, out.leftAxis.maximum, out.leftAxis.increment);
    }
    out.leftMap = AxisMapping{out.leftAxis.minimum, out.leftAxis.maximum, out.plot.bottom, out.plot.top};

    const int leftDecimals = FormatDecimals(left.labelFormat);
    const bool vector = chart.mode == kModeVector;
    for (double v : leftValues) {
        const int y = Round(out.leftMap.ValueToPixel(v));
        out.leftTicks.push_back({Round(out.plot.left - kTickLength), y, Round(out.plot.left), y});
        const std::string text = AxisLabelText(v, vector ? left.increment : out.leftAxis.increment, vector,
                                               leftDecimals, m.decimalSeparator);
        out.leftLabels.push_back({out.plot.left - kTickLength - 2.0 - width(text), y - fh / 2.0 + m.fontAscent, text});
    }
    out.leftCaption += chart.leftCaptionSuffix;
    out.leftCaptionText = {out.plot.left, kMargin + m.fontAscent, out.leftCaption};

    // Bottom labels: whole time units with minor ticks between them, or the
    // bars' own labels thinned where they would crowd.
    const double labelTop = out.plot.bottom + kTickLength + 2.0;
    if (chart.mode != kModeBars) {
        const double unitCount =
            LabelIncrement(out.bottom.minimum / out.bottomIncrement, out.bottom.maximum / out.bottomIncrement, 1.0,
                           out.plot.Width(), width("0000"), out.bottom.labelSeparation);
        const double inc = std::max(1.0, std::round(unitCount)) * out.bottomIncrement;
        const std::vector<double> values = AxisLabelValues(out.bottom.minimum, out.bottom.maximum, inc);
        for (double v : values) {
            const int x = Round(out.bottomMap.ValueToPixel(v));
            out.bottomTicks.push_back({x, Round(out.plot.bottom), x, Round(out.plot.bottom + kTickLength)});
            const std::string text =
                AxisLabelText(v, out.bottomIncrement, true, FormatDecimals(out.bottom.labelFormat), m.decimalSeparator);
            out.bottomLabels.push_back({x - std::round(width(text) / 2.0), labelTop + m.fontAscent, text});
        }
        const double minorStep = inc / (kMinorTicksPerStep + 1);
        if (!values.empty() && minorStep > 0.0 &&
            out.bottomMap.Length() / ((out.bottom.maximum - out.bottom.minimum) / minorStep) >= 3.0) {
            for (double v = values.front() - inc; v <= out.bottom.maximum; v += inc) {
                for (int k = 1; k <= kMinorTicksPerStep; ++k) {
                    const double mv = v + k * minorStep;
                    if (mv < out.bottom.minimum || mv > out.bottom.maximum) continue;
                    const int x = Round(out.bottomMap.ValueToPixel(mv));
                    out.minorTicks.push_back({x, Round(out.plot.bottom), x, Round(out.plot.bottom + kMinorTickLength)});
                }
            }
        }
    } else if (chart.bars) {
        std::vector<double> centres, widths;
        for (std::size_t i = 0; i < chart.bars->labels.size(); ++i) {
            centres.push_back(out.bottomMap.ValueToPixel(static_cast<double>(i) + 0.5));
            widths.push_back(width(chart.bars->labels[i]));
        }
        for (int i : ThinnedLabels(centres, widths, chart.bars->minimumLabelSpacing)) {
            const auto k = static_cast<std::size_t>(i);
            out.bottomLabels.push_back(
                {std::round(centres[k] - widths[k] / 2.0), labelTop + m.fontAscent, chart.bars->labels[k]});
        }
        const double base = out.leftMap.ValueToPixel(std::max(0.0, out.leftAxis.minimum));
        for (std::size_t i = 0; i < chart.bars->values.size(); ++i) {
            const double v = chart.bars->values[i];
            if (!(v > 0.0)) continue;
            out.bars.push_back({out.bottomMap.ValueToPixel(static_cast<double>(i) + 0.15),
                                out.bottomMap.ValueToPixel(static_cast<double>(i) + 0.85), out.leftMap.ValueToPixel(v),
                                base});
        }
    }

    // Date axis and the day grid.
    if (dateShown) {
        const AxisRange dr = DateAxisRange(chart.dateT0, out.bottom.minimum, out.bottom.maximum);
        const AxisMapping dateMap{dr.minimum, dr.maximum, out.bottomMap.startPixel, out.bottomMap.endPixel};
        const double step =
            LabelIncrement(dr.minimum, dr.maximum, 1.0, out.plot.Width(), width("00.Mmm"), out.bottom.labelSeparation);
        const std::vector<DayMark> days = DateAxisDays(dr, step);
        // A few pixels above the foot, so the last day label does not sit on the unit.
        const double axisY = out.plot.bottom + lift + fh + kTickLength - 1.0;
        for (const DayMark& d : days) {
            const int x = Round(dateMap.ValueToPixel(d.days));
            if (x < out.plot.left || x > out.plot.right) continue;
            out.dateTicks.push_back({x, Round(axisY - kDateTickLength), x, Round(axisY)});
            // A label that would run past the axis end is left out rather
            // than crowding the foot caption.
            if (x + 2.0 + width(d.label) > m.width - kMargin) continue;
            out.dateLabels.push_back({x + 2.0, axisY - 2.0, d.label});
        }
        if (chart.dateGrid) out.dayGrid = DayGridPositions(days, dateMap);
    }

    // Foot, right-justified to the end of the bottom axis.
    const double footTop = m.height - 1.0 - kMargin - footLines * fh;
    out.foot.push_back({out.plot.right - width(foot.line1), footTop + m.fontAscent, foot.line1});
    if (!foot.line2.empty())
        out.foot.push_back({out.plot.right - width(foot.line2), footTop + fh + m.fontAscent, foot.line2});

    // Sticks: the mean vector of the records since the previous stick.
    if (chart.sticks && chart.mode == kModeStick && chart.line && out.leftAxis.maximum - out.leftAxis.minimum != 0.0) {
        const ChartSticks& s = *chart.sticks;
        const int n = static_cast<int>(std::min({s.speeds.size(), s.directions.size(), chart.line->points.size()}));
        const IndexWindow w =
            StickRecordWindow(chart.zoomed, out.bottom.minimum, out.bottom.maximum, chart.interval, n);
        if (w.hi >= w.lo) {
            const double y0 = out.leftMap.ValueToPixel(0.0);
            const double yM = out.leftMap.ValueToPixel(s.maximum);
            const double g = s.maximum > 0.0 ? (y0 - yM) / s.maximum : y0 - yM;
            const std::vector<float> v(s.speeds.begin() + w.lo, s.speeds.begin() + w.hi + 1);
            const std::vector<float> d(s.directions.begin() + w.lo, s.directions.begin() + w.hi + 1);
            std::vector<int> xs;
            xs.reserve(v.size());
            for (int k = w.lo; k <= w.hi; ++k)
                xs.push_back(Round(out.bottomMap.ValueToPixel(chart.line->points[static_cast<std::size_t>(k)].x)));
            out.sticks = StickLines(v, d, xs, Round(y0), g, 1);
        }
    }

    // Zero lines and day marks of the vector graphs.
    if (chart.zeroLines && (chart.mode == kModeVector || chart.mode == kModeStick)) {
        const double x = out.bottomMap.ValueToPixel(0.0);
        if (x >= out.plot.left && x <= out.plot.right)
            out.zeroLines.push_back({Round(x), Round(out.plot.top), Round(x), Round(out.plot.bottom)});
        const double y = out.leftMap.ValueToPixel(0.0);
        if (y >= out.plot.top && y <= out.plot.bottom)
            out.zeroLines.push_back({Round(out.plot.left), Round(y), Round(out.plot.right), Round(y)});
    }
    if (chart.dayMarks && chart.mode == kModeVector && chart.line) {
        const std::vector<ChartPoint>& pts = chart.line->points;
        std::vector<PixelPoint> pixels;
        pixels.reserve(pts.size());
        for (const ChartPoint& pt : pts)
            pixels.push_back({Round(out.bottomMap.ValueToPixel(pt.x)), Round(out.leftMap.ValueToPixel(pt.y))});
        std::vector<bool> valid = chart.pointValid;
        valid.resize(pixels.size(), false);
        for (int k : DayMarkPoints(chart.dayMarkT0, chart.dayMarkDt, static_cast<int>(pixels.size()))) {
            PixelPoint at;
            if (!DayMarkPosition(pixels, valid, k, at)) continue;
            const std::vector<PixelLine> cross = DayMarkCross(at, Round(out.plot.left), Round(out.plot.top),
                                                              Round(out.plot.right), Round(out.plot.bottom));
            if (cross.empty()) continue;
            out.dayMarkPixels.push_back(at);
            out.dayMarkStrokes.insert(out.dayMarkStrokes.end(), cross.begin(), cross.end());
        }
    }
    return out;
}

}  // namespace corvan
