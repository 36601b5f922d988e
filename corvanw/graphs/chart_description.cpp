#include "graphs/chart_description.h"

#include <algorithm>

namespace corvan {

namespace {

inline constexpr const char* kNorthCaption = "N";

// A fresh chart as every graph starts from: nothing carried over from the
// graph shown before.
ChartDescription PreparedChart(const DataSet& data, const AppliedColours& colours, std::uint32_t buttonFaceRgb,
                               ChartTarget target) {
    ChartDescription c;
    c.background = target == ChartTarget::Paper ? kChartWhite : ColourRgb(colours.chartBackground, buttonFaceRgb);
    c.left.increment = 1.0;
    c.left.labelSeparation = 10;
    c.bottom.increment = 1.0;
    c.bottom.labelSeparation = 20;
    c.mode = kModeTime;
    c.interval = data.rangeInterval;
    c.autoAxis = true;
    return c;
}

ChartLine LineOf(std::vector<ChartPoint> points, const AppliedColours& colours, std::uint32_t buttonFaceRgb) {
    ChartLine line;
    line.points = std::move(points);
    line.colour = ColourRgb(colours.seriesLine, buttonFaceRgb);
    line.markersVisible = colours.markersVisible;
    line.markerColour = ColourRgb(colours.markerBrush, buttonFaceRgb);
    return line;
}

void DescribeLine(ChartDescription& c, const LineGraph& g, const AppliedColours& colours, std::uint32_t face) {
    if (!g.drawn) return;
    c.empty = false;
    c.line = LineOf(g.points, colours, face);
    c.leftCaption = g.leftCaption;
    c.left.increment = g.leftIncrement;
    c.left.labelFormat = g.labelFormat;
    c.bottom.labelFormat = "0";
    c.bottomStep = g.bottomStep;
    SetDataRange(c, g.dataMaximum, g.dataMinimum);
}

void DescribeBars(ChartDescription& c, const BarGraph& b, const AppliedColours& colours, std::uint32_t face) {
    c.interval = 1.0;
    c.bottomStep = 1.0;
    c.left.labelFormat = "0";
    c.left.increment = 1.0;
    c.mode = kModeBars;
    if (!b.drawn) return;
    c.empty = false;
    ChartBars bars;
    bars.labels = b.labels;
    bars.values = b.values;
    bars.colour = ColourRgb(colours.bar, face);
    bars.minimumLabelSpacing = b.minimumLabelSpacing;
    c.bars = std::move(bars);
    c.leftCaption = b.leftCaption;
    c.modeCaption3 = b.modeCaption;
    SetDataRange(c, b.dataMaximum, b.dataMinimum);
}

void DescribeProgressive(ChartDescription& c, const DataSet& data, const Statistics& stats,
                         const AppliedColours& colours, std::uint32_t face, GraphPageDescription& page) {
    std::vector<ProgressivePoint> path;
    ComputeProgressiveFigures(data, &path);
    const ProgressiveFigures& f = stats.progressive;
    page.legend = ProgressiveLegendTexts(f, data.rangeCount);
    page.legendShown = true;
    std::vector<ChartPoint> points;
    points.reserve(path.size());
    c.pointValid.clear();
    c.pointValid.reserve(path.size());
    double yMin = 0.0, yMax = 0.0;
    for (const ProgressivePoint& pt : path) {
        // An invalid record breaks the line; it resumes at the same place.
        points.push_back({pt.east, pt.north, !pt.valid});
        c.pointValid.push_back(pt.valid);
        yMin = std::min(yMin, pt.north);
        yMax = std::max(yMax, pt.north);
    }
    c.empty = false;
    c.line = LineOf(std::move(points), colours, face);
    c.mode = kModeVector;
    c.left.increment = 1.0;
    c.left.labelFormat = "0";
    c.bottom.increment = 1.0;
    c.bottom.labelFormat = "0";
    c.bottomStep = 1.0;
    SetDataRange(c, yMax, yMin);
    c.autoAxis = false;
    c.equalScale = true;
    c.skippedInvalid = f.plottedCount != data.rangeCount;
    c.zeroLines = true;
    c.dayMarks = data.rangeInterval > 0;
    c.dayMarkDt = data.rangeInterval;
    c.dayMarkT0 = RecordTime(data, data.rangeFirst, data.currentSeries).Days() - data.rangeInterval / 86400.0;
}

void DescribeStick(ChartDescription& c, const DataSet& data, const ScaleSettings& scale, const AppliedColours& colours,
                   std::uint32_t face) {
    const LineGraph g = BuildLineGraph(data, scale, kLineSpeed);
    if (!g.drawn) return;
    const double m = scale.speedMax;
    DescribeLine(c, g, colours, face);
    // The sticks carry the picture; the speed line itself is not drawn.
    c.line->lineVisible = false;
    c.line->markersVisible = false;
    c.mode = kModeStick;
    SetDataRange(c, m, -m);
    c.zeroLines = true;
    ChartSticks sticks;
    sticks.maximum = m;
    const int last = std::min(data.rangeLast, static_cast<int>(data.records.size()) - 1);
    for (int i = data.rangeFirst; i <= last; ++i) {
        sticks.speeds.push_back(data.records[static_cast<std::size_t>(i)].speed);
        sticks.directions.push_back(data.records[static_cast<std::size_t>(i)].direction);
    }
    c.sticks = std::move(sticks);
}

void DescribeSector(ChartDescription& c, const SectorDiagram& diagram, const AppliedColours& colours,
                    std::uint32_t face) {
    c.empty = false;
    c.mode = kModeVector;
    c.autoAxis = false;
    ChartPolar polar;
    polar.values = diagram.values;
    polar.colour = ColourRgb(colours.polar, face);
    c.polar = polar;
    c.leftCaption = kNorthCaption;
    c.modeCaption2 = diagram.legend;
}

}  // namespace

void SetDataRange(ChartDescription& chart, double maximum, double minimum) {
    const AxisRange r = DataRange(maximum, minimum, chart.left.increment);
    chart.dataMinimum = r.minimum;
    chart.dataMaximum = r.maximum;
}

bool GraphAvailable(const MeasurementFileHeader& h, const GraphRequest& request) {
    switch (request.kind) {
        case kGraphBar:
            if (request.barKind == kBarOxygenFlux) return HasCurrent(h) && HasOxygen(h);
            return HasCurrent(h);
        case kGraphVector:
            if (request.vectorKind == kVectorOxygenFlux) return HasCurrent(h) && HasOxygen(h);
            return HasCurrent(h);
        case kGraphLine:
            switch (request.lineKind) {
                case kLineSpeed:
                case kLineDirection:
                    return HasCurrent(h);
                case kLineTemperature:
                    return HasTemperature(h);
                case kLineOptional:
                    return HasOptional(h);
                case kLineFlux:
                    return HasFlux(h);
                case kLineOxygenMgl:
                    return HasOxygen(h);
                case kLineOxygenFlux:
                    return HasOxygen(h) && HasCurrent(h);
                default:
                    return false;
            }
        default:
            return false;
    }
}

GraphPageDescription DescribeGraphPage(const DataSet& data, const Statistics& stats, const ScaleSettings& scale,
                                       const GraphSettings& settings, const GraphRequest& request, ChartTarget target,
                                       std::uint32_t buttonFaceRgb) {
    GraphPageDescription page;
    if (!data.dataLoaded || !data.statisticsValid) return page;
    page.drawable = true;
    const bool lineGraph = request.kind == kGraphLine;
    const AppliedColours colours =
        ApplyColours(settings.legendColour, settings.backgroundColour, lineGraph ? settings.drawSolidLines : true,
                     settings.barColour, settings.lineColour, buttonFaceRgb);
    ChartDescription& c = page.chart1 = PreparedChart(data, colours, buttonFaceRgb, target);

    if (request.kind == kGraphLine) {
        DescribeLine(c, BuildLineGraph(data, scale, request.lineKind), colours, buttonFaceRgb);
    } else if (request.kind == kGraphBar) {
        DescribeBars(c, BuildBarGraph(data, stats, request.barKind, request.barScale), colours, buttonFaceRgb);
    } else if (request.kind == kGraphVector && HasCurrent(data.header)) {
        switch (request.vectorKind) {
            case kVectorProgressive:
                DescribeProgressive(c, data, stats, colours, buttonFaceRgb, page);
                break;
            case kVectorStick:
                DescribeStick(c, data, scale, colours, buttonFaceRgb);
                break;
            case kVectorMaxMean:
            case kVectorFluxNumber:
            case kVectorOxygenFlux: {
                const SectorDiagrams d = BuildSectorDiagrams(stats.sectors, request.vectorKind, data.rangeInterval);
                DescribeSector(c, d.left, colours, buttonFaceRgb);
                page.chart1HalfWidth = true;
                if (d.rightShown) {
                    ChartDescription right = PreparedChart(data, colours, buttonFaceRgb, target);
                    DescribeSector(right, d.right, colours, buttonFaceRgb);
                    page.chart2 = std::move(right);
                }
                break;
            }
            default:
                break;
        }
    }

    const bool timeAxis = c.mode == kModeTime || c.mode == kModeStick;
    c.dateAxis = request.startOfDays && timeAxis && c.line.has_value();
    if (c.dateAxis) c.dateT0 = RecordTime(data, data.rangeFirst, data.currentSeries).Days();
    // Paper prints the date labels without the year, and with it go the
    // day grid lines.
    c.dateGrid = settings.dateGridVisible && target == ChartTarget::Screen;
    return page;
}

ChartDescription ForPaper(ChartDescription chart) {
    chart.background = kChartWhite;
    chart.dateGrid = false;
    if (chart.zoomed) chart.leftCaptionSuffix = kZoomedCaptionSuffix;
    return chart;
}

GraphPageDescription ForPaper(GraphPageDescription page) {
    page.chart1 = ForPaper(std::move(page.chart1));
    if (page.chart2) page.chart2 = ForPaper(std::move(*page.chart2));
    return page;
}

bool ExtentOfPoints(const std::vector<ChartPoint>& points, PointExtent& out) {
    bool any = false;
    for (const ChartPoint& p : points) {
        if (p.null) continue;
        if (!any) {
            out = {p.x, p.x, p.y, p.y};
            any = true;
            continue;
        }
        out.xMinimum = std::min(out.xMinimum, p.x);
        out.xMaximum = std::max(out.xMaximum, p.x);
        out.yMinimum = std::min(out.yMinimum, p.y);
        out.yMaximum = std::max(out.yMaximum, p.y);
    }
    return any;
}

}  // namespace corvan
