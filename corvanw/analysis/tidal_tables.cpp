#include "analysis/tidal_tables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "analysis/tidal_residual.h"
#include "data/data_set.h"

namespace corvan {
std::string TidalNumber(double v, int decimals, const std::string& separator) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    // "-0.00" says nothing "0.00" does not.
    if (s.find_first_not_of("-0.") == std::string::npos && s[0] == '-') s.erase(0, 1);
    if (const auto dot = s.find('.'); dot != std::string::npos) s.replace(dot, 1, separator);
    return s;
}

namespace {

// Signal to noise above which a constituent counts as determined.
constexpr double kSignificantSnr = 2.0;

// Phases and inclinations that round up to a full turn read as 0.
std::string Angle(double v, double period, const std::string& separator) {
    if (std::round(v * 10) >= period * 10) v -= period;
    return TidalNumber(v, 1, separator);
}

}  // namespace

TextTable ConstituentTable(const TidalAnalysis& a, const std::string& sep) {
    TextTable t;
    t.headers = {"Name",    "Freq (c/h)", "Major (cm/s)", "Minor (cm/s)", "Incl (°)", "Phase (°)",
                 "Major ±", "Minor ±",    "Incl ±",       "Phase ±",      "SNR"};
    for (const CurrentConstituent& c : a.constituents) {
        t.rows.push_back({std::string(c.constituent->name), TidalNumber(c.frequency, 7, sep),
                          TidalNumber(c.major, 2, sep), TidalNumber(c.minor, 2, sep), Angle(c.inclination, 180, sep),
                          Angle(c.phase, 360, sep), TidalNumber(c.majorCi, 2, sep), TidalNumber(c.minorCi, 2, sep),
                          TidalNumber(c.inclinationCi, 1, sep), TidalNumber(c.phaseCi, 1, sep),
                          TidalNumber(c.snr, 1, sep)});
    }
    return t;
}

TextTable TemperatureTable(const TidalAnalysis& a, const std::string& sep) {
    TextTable t;
    t.headers = {"Name", "Freq (c/h)", "Amplitude (°C)", "Phase (°)", "Amplitude ±", "Phase ±", "SNR"};
    for (const ScalarConstituent& c : a.temperature) {
        t.rows.push_back({std::string(c.constituent->name), TidalNumber(c.frequency, 7, sep),
                          TidalNumber(c.amplitude, 4, sep), Angle(c.phase, 360, sep),
                          TidalNumber(c.amplitudeCi, 4, sep), TidalNumber(c.phaseCi, 1, sep),
                          TidalNumber(c.snr, 1, sep)});
    }
    return t;
}

std::string TableAsText(const TextTable& table) {
    std::string out;
    auto line = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) out += (i ? "\t" : "") + cells[i];
        out += "\r\n";
    };
    line(table.headers);
    for (const auto& row : table.rows) line(row);
    return out;
}

std::vector<std::string> TidalSummaryLines(const TidalAnalysis& a, const std::string& sep) {
    std::vector<std::string> lines;
    lines.push_back("Record: " + TidalNumber(a.recordDays, 2, sep) + " days, " + std::to_string(a.validCount) +
                    " valid currents, " + std::to_string(a.constituents.size()) + " constituents");
    if (a.hasCurrent) {
        lines.push_back("Mean flow: east " + TidalNumber(a.meanEast, 2, sep) + " cm/s, north " +
                        TidalNumber(a.meanNorth, 2, sep) + " cm/s; the tide explains " +
                        TidalNumber(100 * a.varianceExplained, 1, sep) + " % of the variance");
    }
    if (a.hasTemperature) {
        lines.push_back("Temperature: mean " + TidalNumber(a.meanTemperature, 3, sep) + " °C; the tide explains " +
                        TidalNumber(100 * a.temperatureVarianceExplained, 1, sep) + " % of its variance");
    }
    if (!a.leftOut.empty()) {
        // The strongest few by name; a short record leaves out dozens.
        constexpr std::size_t kNamed = 8;
        std::string names;
        for (std::size_t i = 0; i < a.leftOut.size() && i < kNamed; ++i)
            names += (i ? ", " : "") + std::string(a.leftOut[i]->name);
        if (a.leftOut.size() > kNamed) names += " and " + std::to_string(a.leftOut.size() - kNamed) + " more";
        lines.push_back("Not resolved by the record: " + names);
    }
    lines.push_back(NodalLatitudeLine(a, sep));
    return lines;
}

std::string NodalLatitudeLine(const TidalAnalysis& a, const std::string& sep) {
    if (!std::isfinite(a.latitude)) return "Nodal corrections without the latitude-dependent satellites (no latitude)";
    return "Nodal corrections for latitude " + TidalNumber(std::fabs(a.latitude), 2, sep) + "° " +
           (a.latitude < 0 ? "S" : "N");
}

std::vector<const CurrentConstituent*> MainConstituents(const TidalAnalysis& a, std::size_t count) {
    std::vector<const CurrentConstituent*> list;
    for (const CurrentConstituent& c : a.constituents) list.push_back(&c);
    std::stable_sort(list.begin(), list.end(),
                     [](const CurrentConstituent* x, const CurrentConstituent* y) { return x->major > y->major; });
    // Ellipses lost in the noise say nothing; the largest is always shown.
    std::vector<const CurrentConstituent*> shown;
    for (std::size_t i = 0; i < list.size() && shown.size() < count; ++i)
        if (i == 0 || list[i]->snr >= kSignificantSnr) shown.push_back(list[i]);
    return shown;
}

std::vector<EllipsePoint> EllipseOutline(const CurrentConstituent& c, int points) {
    std::vector<EllipsePoint> out;
    points = std::max(points, 4);
    const double inc = c.inclination * std::numbers::pi / 180.0;
    for (int k = 0; k <= points; ++k) {
        const double theta = 2 * std::numbers::pi * k / points;
        const double along = c.major * std::cos(theta);
        const double across = c.minor * std::sin(theta);
        out.push_back({along * std::cos(inc) - across * std::sin(inc), along * std::sin(inc) + across * std::cos(inc)});
    }
    return out;
}

void FillDetidedDataSet(const DataSet& data, const TidalAnalysis& analysis, DataSet& out) {
    out.baseName = data.baseName;
    out.header = data.header;
    out.recordCount = data.recordCount;
    std::copy(data.records.begin(), data.records.end(), out.records.begin());
    out.series = data.series;
    out.seriesCount = data.seriesCount;
    out.currentSeries = data.currentSeries;
    out.rangeFirst = data.rangeFirst;
    out.rangeLast = data.rangeLast;
    out.rangeCount = data.rangeCount;
    out.rangeInterval = data.rangeInterval;
    out.dataLoaded = data.dataLoaded;
    out.referenceLoaded = data.referenceLoaded;
    out.statisticsValid = false;
    out.optionalChannel = data.optionalChannel;
    out.fluxChannel = data.fluxChannel;
    const std::vector<MeasurementRecord> detided = DetidedRecords(data, analysis);
    std::copy(detided.begin(), detided.end(), out.records.begin() + std::max(0, data.rangeFirst));
}

}  // namespace corvan
