// corvan tide FILE [--series S] [--first A] [--last B] [--constituents M2,S2,...]
// [--lat L] [--json] [--residual OUT] [--predict OUT --from A --to B
// [--step MINUTES]]: tidal constituents, ellipses, the detided current of a
// range and the tide it predicts.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/harmonic_analysis.h"
#include "analysis/tidal_residual.h"
#include "analysis/tidal_tables.h"
#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "data/current_direction.h"
#include "data/date_time.h"
#include "data/file_error.h"
#include "data/series_range.h"
#include "data/text_export.h"

namespace corvan::cli {
namespace {

std::string Fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string Json(const TidalAnalysis& a) {
    std::string o = "{\"record_days\": " + JsonNumber(a.recordDays);
    o += ", \"latitude\": " + (std::isfinite(a.latitude) ? JsonNumber(a.latitude) : std::string("null"));
    if (a.hasCurrent) {
        o += ", \"mean\": {\"east\": " + JsonNumber(a.meanEast) + ", \"north\": " + JsonNumber(a.meanNorth) + "}";
        o += ", \"variance_explained\": " + JsonNumber(a.varianceExplained);
    } else {
        o += ", \"mean\": null, \"variance_explained\": null";
    }
    o += ",\n \"constituents\": [";
    for (std::size_t i = 0; i < a.constituents.size(); ++i) {
        const CurrentConstituent& c = a.constituents[i];
        o += i ? ",\n  " : "\n  ";
        o += "{\"name\": " + JsonString(std::string(c.constituent->name));
        o += ", \"frequency\": " + JsonNumber(c.frequency);
        o += ", \"major\": " + JsonNumber(c.major);
        o += ", \"minor\": " + JsonNumber(c.minor);
        o += ", \"inclination\": " + JsonNumber(c.inclination);
        o += ", \"phase\": " + JsonNumber(c.phase);
        o += ", \"major_ci\": " + JsonNumber(c.majorCi);
        o += ", \"minor_ci\": " + JsonNumber(c.minorCi);
        o += ", \"inclination_ci\": " + JsonNumber(c.inclinationCi);
        o += ", \"phase_ci\": " + JsonNumber(c.phaseCi);
        o += ", \"snr\": " + JsonNumber(c.snr) + "}";
    }
    o += "]";
    if (a.hasTemperature) {
        o += ",\n \"temperature\": {\"mean\": " + JsonNumber(a.meanTemperature) + ", \"constituents\": [";
        for (std::size_t i = 0; i < a.temperature.size(); ++i) {
            const ScalarConstituent& c = a.temperature[i];
            o += i ? ",\n  " : "\n  ";
            o += "{\"name\": " + JsonString(std::string(c.constituent->name));
            o += ", \"amplitude\": " + JsonNumber(c.amplitude);
            o += ", \"phase\": " + JsonNumber(c.phase);
            o += ", \"amplitude_ci\": " + JsonNumber(c.amplitudeCi);
            o += ", \"phase_ci\": " + JsonNumber(c.phaseCi) + "}";
        }
        o += "]}";
    } else {
        o += ",\n \"temperature\": null";
    }
    return o + "}\n";
}

std::string Text(const DataSet& data, const TidalAnalysis& a) {
    std::string o = std::filesystem::path(MeasurementFileName(data.baseName)).filename().string();
    o += "  series " + std::to_string(data.currentSeries) + ", measurements " + std::to_string(data.rangeFirst + 1) +
         ".." + std::to_string(data.rangeLast + 1) + ", " + Fixed(a.recordDays, 2) + " days, " +
         std::to_string(a.validCount) + " valid currents\n";
    o += NodalLatitudeLine(a, ".") + "\n";
    if (a.hasCurrent) {
        o += "Mean flow: east " + Fixed(a.meanEast, 2) + " cm/s, north " + Fixed(a.meanNorth, 2) +
             " cm/s; the tide explains " + Fixed(100 * a.varianceExplained, 1) + " % of the variance\n\n";
        o += "Name    Freq (c/h)   Major   Minor    Incl   Phase  Major±  Minor±   Incl±  Phase±       SNR\n";
        for (const CurrentConstituent& c : a.constituents) {
            char line[160];
            std::snprintf(line, sizeof line, "%-6s %11.7f %7.2f %7.2f %7.1f %7.1f %7.2f %7.2f %7.1f %7.1f %9.1f\n",
                          std::string(c.constituent->name).c_str(), c.frequency, c.major, c.minor, c.inclination,
                          c.phase, c.majorCi, c.minorCi, c.inclinationCi, c.phaseCi, c.snr);
            o += line;
        }
    }
    if (a.hasTemperature) {
        o += "\nTemperature: mean " + Fixed(a.meanTemperature, 3) + " deg C, the tide explains " +
             Fixed(100 * a.temperatureVarianceExplained, 1) + " % of the variance\n";
        o += "Name    Amplitude   Phase    Amp±  Phase±\n";
        for (const ScalarConstituent& c : a.temperature) {
            char line[120];
            std::snprintf(line, sizeof line, "%-6s %10.4f %7.1f %7.4f %7.1f\n",
                          std::string(c.constituent->name).c_str(), c.amplitude, c.phase, c.amplitudeCi, c.phaseCi);
            o += line;
        }
    }
    return o;
}

// A prediction file longer than this is a mistyped span or step, not a wish.
constexpr double kMaxPredictionLines = 1000000;

// A text under a measurement file's name would either replace records for
// good or, beside a set spelt in another case, be read as part of it.
bool HasMeasurementExtension(const std::string& fileName) {
    std::string ext = std::filesystem::path(fileName).extension().string();
    for (char& c : ext)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return ext == ".CVN" || ext == ".RF6" || ext == ".LN6";
}

// The tide from `from` on at `stepSeconds`, one line a time, with the
// components, speed and the direction the current flows to as the records
// hold them; columns the analysis has nothing for stay empty.
std::string PredictionText(const TidalAnalysis& analysis, DateTime from, double stepSeconds, int count) {
    const TidalPrediction tide = PredictTide(analysis, from, stepSeconds, count);
    std::string o = "time,east,north,speed,direction,temperature\n";
    o.reserve(o.size() + static_cast<std::size_t>(count) * 60);
    for (int k = 0; k < count; ++k) {
        const auto uk = static_cast<std::size_t>(k);
        std::string time = from.AddSeconds(std::llround(k * stepSeconds)).Iso();
        time[10] = ' ';
        o += time;
        if (analysis.hasCurrent && uk < tide.east.size() && uk < tide.north.size()) {
            const double e = tide.east[uk], n = tide.north[uk];
            double direction = DirectionTowards(e, n) * 180 / std::numbers::pi;
            // A direction that rounds up to a full turn is north.
            direction = std::round(direction * 10) / 10;
            if (direction >= 360) direction -= 360;
            o += "," + TidalNumber(e, 2, ".") + "," + TidalNumber(n, 2, ".") + "," +
                 TidalNumber(std::hypot(e, n), 2, ".") + "," + TidalNumber(direction, 1, ".");
        } else {
            o += ",,,,";
        }
        o += ",";
        if (analysis.hasTemperature && uk < tide.temperature.size()) o += TidalNumber(tide.temperature[uk], 3, ".");
        o += "\n";
    }
    return o;
}

int RunTide(const std::vector<std::string>& args) {
    CLI::App app{"Tidal constituents, current ellipses and the detided current of a range.", "corvan tide"};
    std::string file;
    int series = 1;
    long long first = 0, last = 0;
    std::string constituents;
    double latitude = std::nan("");
    bool json = false;
    std::string residual;
    std::string predict, fromText, toText;
    double stepMinutes = 0;
    app.add_option("FILE", file, "measurement file set (base name or .CVN)")->required();
    app.add_option("--series", series, "series number (from 1)")->check(CLI::PositiveNumber);
    auto* firstOption = app.add_option("--first", first, "first measurement (from 1)");
    auto* lastOption = app.add_option("--last", last, "last measurement (from 1)");
    app.add_option("--constituents", constituents, "comma-separated names, e.g. M2,S2,K1,O1");
    app.add_option("--lat", latitude,
                   "latitude of the mooring, degrees north: sets the latitude-dependent satellites of the "
                   "nodal corrections (left out without it)")
        ->check(CLI::Range(-90.0, 90.0));
    app.add_flag("--json", json, "JSON instead of a table");
    app.add_option("--residual", residual, "write the detided range as OUT.CVN/OUT.RF6");
    auto* predictOption =
        app.add_option("--predict", predict, "write the predicted tide from --from to --to as the text file OUT");
    auto* fromOption = app.add_option("--from", fromText, "first time of the prediction, YYYY-MM-DD[ HH:MM[:SS]] UTC");
    auto* toOption = app.add_option("--to", toText, "last time of the prediction, YYYY-MM-DD[ HH:MM[:SS]] UTC");
    auto* stepOption =
        app.add_option("--step", stepMinutes, "minutes between predicted times (default: the record's interval)");
    if (const auto status = ParseCommandLine(app, args)) return *status;

    const bool predicting = predictOption->count() > 0;
    DateTime from, to;
    double stepSeconds = 0;
    if (!predicting && (fromOption->count() || toOption->count() || stepOption->count()))
        return UsageError("tide: --from, --to and --step need --predict");
    if (predicting) {
        if (predict.empty()) return UsageError("tide: --predict names no file");
        if (HasMeasurementExtension(predict))
            return UsageError("tide: --predict " + predict + " would be taken for a measurement file");
        if (!fromOption->count() || !toOption->count()) return UsageError("tide: --predict needs --from and --to");
        const auto a = ParseDateTime(fromText);
        if (!a) return UsageError("tide: --from is not a time of the form YYYY-MM-DD[ HH:MM[:SS]]: " + fromText);
        const auto b = ParseDateTime(toText);
        if (!b) return UsageError("tide: --to is not a time of the form YYYY-MM-DD[ HH:MM[:SS]]: " + toText);
        if (*b < *a) return UsageError("tide: --to " + toText + " is before --from " + fromText);
        from = *a;
        to = *b;
        if (stepOption->count()) {
            if (!std::isfinite(stepMinutes) || stepMinutes <= 0)
                return UsageError("tide: --step must be a positive number of minutes");
            stepSeconds = stepMinutes * 60;
            // The times are written to the second; a step between seconds
            // would print times the tide was not predicted for.
            if (!std::isfinite(stepSeconds) || std::fabs(stepSeconds - std::round(stepSeconds)) > 1e-6)
                return UsageError("tide: --step must be a whole number of seconds");
            stepSeconds = std::round(stepSeconds);
        }
    }

    TidalOptions options;
    options.latitude = latitude;
    if (!constituents.empty()) {
        std::size_t start = 0;
        while (start <= constituents.size()) {
            const std::size_t comma = std::min(constituents.find(',', start), constituents.size());
            const std::string name = constituents.substr(start, comma - start);
            start = comma + 1;
            if (name.empty()) continue;
            const TidalConstituent* c = FindConstituent(name);
            if (!c) return UsageError("tide: unknown constituent " + name);
            if (std::find(options.constituents.begin(), options.constituents.end(), c) == options.constituents.end())
                options.constituents.push_back(c);
        }
        if (options.constituents.empty()) return UsageError("tide: --constituents names none");
    }

    DataSet data;
    if (!OpenFileSet(file, data)) return kExitFailure;
    const std::string cvn = MeasurementFileName(data.baseName);
    if (!HasCurrent(data.header) && !HasTemperature(data.header)) {
        std::fprintf(stderr, "%s: the file holds neither currents nor temperatures\n", cvn.c_str());
        return kExitFailure;
    }
    RangeRequest request;
    request.series = series;
    if (firstOption->count()) request.first = first;
    if (lastOption->count()) request.last = last;
    if (const std::string why = SelectSeriesRange(data, request); !why.empty()) {
        std::fprintf(stderr, "%s: %s\n", cvn.c_str(), why.c_str());
        return kExitFailure;
    }

    const TidalInput input = TidalInputFromRange(data);
    int predictionCount = 0;
    if (predicting) {
        if (!stepOption->count()) stepSeconds = input.intervalSeconds;
        // Without an interval the analysis below says why it cannot work.
        if (stepSeconds > 0) {
            const double lines = std::floor(static_cast<double>(to.Seconds() - from.Seconds()) / stepSeconds) + 1;
            if (lines > kMaxPredictionLines)
                return UsageError("tide: the prediction would have " + Fixed(lines, 0) + " lines, more than " +
                                  Fixed(kMaxPredictionLines, 0));
            predictionCount = static_cast<int>(lines);
        }
    }

    const TidalAnalysis analysis = AnalyseTide(input, options);
    if (!analysis.error.empty()) {
        std::fprintf(stderr, "%s: %s\n", cvn.c_str(), analysis.error.c_str());
        return kExitFailure;
    }
    if (!options.constituents.empty())
        for (const TidalConstituent* c : analysis.leftOut)
            std::fprintf(stderr, "corvan tide: %s is not resolved by %.2f days of record; left out\n",
                         std::string(c->name).c_str(), analysis.recordDays);
    const std::string out = json ? Json(analysis) : Text(data, analysis);
    std::fwrite(out.data(), 1, out.size(), stdout);

    if (!residual.empty()) {
        if (!HasCurrent(data.header)) {
            std::fprintf(stderr, "%s: the file holds no currents to detide\n", cvn.c_str());
            return kExitFailure;
        }
        const std::string outBase = BaseNameOfArgument(residual);
        if (const std::string why = WriteDetidedFiles(data, analysis, outBase); !why.empty()) {
            std::fprintf(stderr, "%s: %s\n", MeasurementFileName(outBase).c_str(), why.c_str());
            return kExitFailure;
        }
    }

    if (predicting) {
        try {
            ReplaceFileContents(predict, PredictionText(analysis, from, stepSeconds, predictionCount));
        } catch (const FileError& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return kExitFailure;
        }
    }
    return kExitOk;
}

const CommandRegistrar kTide("tide",
                             "tide FILE [--series S] [--first A] [--last B] [--constituents M2,S2,...] [--lat L] "
                             "[--json] [--residual OUT] [--predict OUT --from A --to B [--step MINUTES]]  "
                             "tidal analysis of a range and the tide it predicts",
                             &RunTide);

}  // namespace
}  // namespace corvan::cli
