#pragma once
// The tidal current ellipse of one constituent as a chart description for
// the shared renderer: the outline in cm/s, the current at Greenwich phase
// as a line from the centre, the axes equal and symmetric about zero.

#include <string>

#include "analysis/harmonic_analysis.h"
#include "graphs/chart_description.h"

namespace corvan {

ChartDescription EllipseChart(const CurrentConstituent& c, const std::string& decimalSeparator, bool paper);

// Half-width of the symmetric axes that hold an ellipse of semi-major
// axis `major` with a little room: 1, 2 or 5 times a power of ten.
double EllipseAxisLimit(double major);

}  // namespace corvan
