#pragma once
// Harmonic analysis of a current (and temperature) record: least squares
// fit of the mean and the tidal constituents to the valid records, tidal
// current ellipses with Greenwich phases, confidence intervals from the
// residual spectrum, and the tidal prediction and residual.

#include <string>
#include <vector>

#include "analysis/tide_constituents.h"
#include "data/date_time.h"

namespace corvan {

struct DataSet;

// A regularly sampled record; NaN marks an invalid value.
struct TidalInput {
    DateTime firstTime;  // time of sample 0, taken as UTC
    double intervalSeconds = 600;
    std::vector<double> east;         // cm/s
    std::vector<double> north;        // cm/s
    std::vector<double> temperature;  // deg C; may be empty
};

// The selected range of the data set as east/north components and
// temperature; directions that are negative and values at or below the
// invalid marker become NaN.
TidalInput TidalInputFromRange(const DataSet& data);

struct TidalOptions {
    // Empty: every constituent of the standard set the record resolves.
    std::vector<const TidalConstituent*> constituents;
    // Degrees north; NaN when unknown, which leaves the satellites that
    // depend on latitude out of the nodal corrections.
    double latitude = 0.0 / 0.0;
    double rayleighFactor = 1.0;
};

struct CurrentConstituent {
    const TidalConstituent* constituent = nullptr;
    double frequency = 0;  // cycles per hour
    // Ellipse: semi-axes in cm/s (minor positive when the current turns
    // anticlockwise), inclination of the major axis in degrees
    // anticlockwise from east (0..180), Greenwich phase in degrees.
    double major = 0, minor = 0, inclination = 0, phase = 0;
    // Half-widths of the 95 % confidence intervals.
    double majorCi = 0, minorCi = 0, inclinationCi = 0, phaseCi = 0;
    double snr = 0;
    // The components on their own: amplitude (cm/s) and Greenwich phase.
    double eastAmplitude = 0, eastPhase = 0, northAmplitude = 0, northPhase = 0;
};

struct ScalarConstituent {
    const TidalConstituent* constituent = nullptr;
    double frequency = 0;
    double amplitude = 0, phase = 0;
    double amplitudeCi = 0, phaseCi = 0;
    double snr = 0;
};

struct TidalAnalysis {
    // Empty on success; otherwise why nothing could be fitted.
    std::string error;
    double recordDays = 0;  // span of the valid records
    DateTime midTime;       // where f, u and V were taken
    double latitude = 0.0 / 0.0;  // of the nodal corrections; NaN when unknown
    int validCount = 0;
    double meanEast = 0, meanNorth = 0;
    double varianceExplained = 0;
    std::vector<CurrentConstituent> constituents;
    // Requested or standard constituents the record cannot separate.
    std::vector<const TidalConstituent*> leftOut;

    bool hasCurrent = false;
    bool hasTemperature = false;
    int temperatureValidCount = 0;
    double meanTemperature = 0;
    double temperatureVarianceExplained = 0;
    std::vector<ScalarConstituent> temperature;
};

TidalAnalysis AnalyseTide(const TidalInput& input, const TidalOptions& options = {});

// The tide (mean included) at start + k * interval, k = 0 .. count - 1,
// with the nodal corrections of the middle of that span.
struct TidalPrediction {
    std::vector<double> east, north, temperature;
};
TidalPrediction PredictTide(const TidalAnalysis& analysis, DateTime start, double intervalSeconds, int count);

// Ellipse of a pair of complex component amplitudes given as amplitude
// and Greenwich phase (degrees) of the east and north components.
struct Ellipse {
    double major = 0, minor = 0, inclination = 0, phase = 0;
};
Ellipse EllipseFromComponents(double eastAmplitude, double eastPhase, double northAmplitude, double northPhase);

}  // namespace corvan
