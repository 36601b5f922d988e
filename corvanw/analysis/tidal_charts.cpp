#include "analysis/tidal_charts.h"

#include <cmath>
#include <cstdio>

#include "analysis/tidal_tables.h"

namespace corvan {
namespace {

constexpr int kOutlinePoints = 180;

}  // namespace

double EllipseAxisLimit(double major) {
    const double wanted = std::max(std::abs(major) * 1.1, 1e-3);
    const double decade = std::pow(10.0, std::floor(std::log10(wanted)));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (step * decade >= wanted) return step * decade;
    return 10 * decade;
}

ChartDescription EllipseChart(const CurrentConstituent& c, const std::string& sep, bool paper) {
    ChartDescription chart;
    chart.mode = kModeVector;
    chart.empty = false;
    const double limit = EllipseAxisLimit(c.major);
    // Below one the labels need decimals to tell the ticks apart.
    const int decimals = limit >= 5 ? 0 : limit >= 0.5 ? 1 : limit >= 0.05 ? 2 : 3;
    const std::string format = decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0');
    const double increment = std::pow(10.0, -decimals);
    chart.left = ChartAxisRequest{-limit, limit, increment, false, format, 20};
    chart.bottom = ChartAxisRequest{-limit, limit, increment, false, format, 20};
    chart.autoAxis = false;
    SetDataRange(chart, limit, -limit);
    chart.zeroLines = true;
    chart.background = paper ? kChartWhite : 0xF0F0F0;
    const std::string name(c.constituent->name);
    chart.leftCaption = name + "   north (cm/s)";
    chart.modeCaption2 = "east (cm/s)\r" + TidalNumber(c.major, 2, sep) + " x " + TidalNumber(c.minor, 2, sep) +
                         " cm/s " + (c.minor >= 0 ? "anticlockwise" : "clockwise") + ", incl. " +
                         TidalNumber(c.inclination, 1, sep) + "°, phase " + TidalNumber(c.phase, 1, sep) + "°";
    ChartLine line;
    line.colour = 0x0000C0;
    for (const EllipsePoint& p : EllipseOutline(c, kOutlinePoints)) line.points.push_back({p.east, p.north, false});
    // The current at its Greenwich phase: from the centre to the first
    // point of the outline.
    const EllipsePoint start = EllipseOutline(c, kOutlinePoints).front();
    line.points.push_back({0.0, 0.0, true});
    line.points.push_back({0.0, 0.0, false});
    line.points.push_back({start.east, start.north, false});
    chart.line = line;
    return chart;
}

}  // namespace corvan
