#pragma once
// What the tidal analysis page shows, as texts and numbers: the summary
// line, the constituent tables, the ellipse outlines and the detided data
// set the residual graphs are drawn from.

#include <string>
#include <vector>

#include "analysis/harmonic_analysis.h"

namespace corvan {

struct DataSet;

struct TextTable {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
};

// One row per constituent: name, frequency, the ellipse and its intervals,
// signal to noise. Numbers use `decimalSeparator`.
// v with `decimals` decimals and the given separator; no "-0.00".
std::string TidalNumber(double v, int decimals, const std::string& separator);

TextTable ConstituentTable(const TidalAnalysis& analysis, const std::string& decimalSeparator);
TextTable TemperatureTable(const TidalAnalysis& analysis, const std::string& decimalSeparator);
// Tab-separated, headers first: what the clipboard gets.
std::string TableAsText(const TextTable& table);

// Record length, valid count, mean flow, variance explained, what the
// record could not resolve and the latitude of the nodal corrections, as
// lines.
std::vector<std::string> TidalSummaryLines(const TidalAnalysis& analysis, const std::string& decimalSeparator);
std::string NodalLatitudeLine(const TidalAnalysis& analysis, const std::string& decimalSeparator);

// The constituents with the largest major axes, largest first, as many of
// them as stand out of the noise (signal to noise 2 or more) and at least
// the largest.
std::vector<const CurrentConstituent*> MainConstituents(const TidalAnalysis& analysis, std::size_t count);

// The outline of a constituent's ellipse in cm/s east and north, starting
// at Greenwich phase (maximum along the major axis) and going round in the
// current's own sense; `points` + 1 points, the last closing the figure.
struct EllipsePoint {
    double east = 0, north = 0;
};
std::vector<EllipsePoint> EllipseOutline(const CurrentConstituent& c, int points);

// `out` becomes a copy of `data` (header, series, range) whose range holds
// the detided records, ready for the statistics and the graphs.
void FillDetidedDataSet(const DataSet& data, const TidalAnalysis& analysis, DataSet& out);

}  // namespace corvan
