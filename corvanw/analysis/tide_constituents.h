#pragma once
// The tidal constituents the analysis knows, their frequencies from Doodson
// numbers, the astronomical arguments of a moment and the nodal
// corrections (f, u) of the lunar constituents.

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/date_time.h"

namespace corvan {

// A compound (shallow-water) constituent is a sum of main constituents,
// each taken `times` times (negative for one subtracted); it takes its
// nodal correction from theirs.
struct ConstituentPart {
    std::string_view name;
    int times = 0;
};

struct TidalConstituent {
    std::string_view name;
    // Multiples of tau (mean lunar time), s, h, p, N' (= -N) and p1.
    std::array<int, 6> doodson{};
    // Phase offset of the argument in quarter cycles (90 degrees).
    int quarters = 0;
    // Empty for a main constituent.
    std::array<ConstituentPart, 3> parts{};
    // Smaller is kept first when two constituents are too close to be told
    // apart by the record.
    int priority = 0;
};

// Mean longitudes in degrees at a moment (universal time).
struct Astronomy {
    double tau = 0;     // mean lunar time
    double s = 0;       // moon
    double h = 0;       // sun
    double p = 0;       // lunar perigee
    double nPrime = 0;  // minus the moon's ascending node
    double p1 = 0;      // solar perigee
};

Astronomy AstronomyAt(DateTime t);

// Rates of tau, s, h, p, N', p1 in degrees per hour.
const std::array<double, 6>& AstronomicalRates();

// The table of every constituent, in frequency order.
std::span<const TidalConstituent> StandardConstituents();
const TidalConstituent* FindConstituent(std::string_view name);

// Frequency in cycles per hour.
double ConstituentFrequency(const TidalConstituent& c);

// Equilibrium argument V in degrees (0..360) at a moment.
double AstronomicalArgument(const TidalConstituent& c, const Astronomy& a);

struct NodalCorrection {
    double f = 1.0;
    double u = 0.0;  // degrees
};
// f and u for the moment of a, summed over the constituent's satellites
// (lines of the tidal potential a few cycles per 18.6 years away, which a
// record of months cannot separate from it). Some satellites come from the
// third-degree potential, whose size relative to the main line depends on
// the latitude (degrees north); NaN leaves those out.
NodalCorrection NodalCorrectionOf(const TidalConstituent& c, const Astronomy& a, double latitude = 0.0 / 0.0);

// Chooses constituents a record of `spanHours` can separate with the
// Rayleigh criterion (frequencies at least factor / span apart, and apart
// from the mean). Candidates are tried by priority; the answer is in
// frequency order. `rejected` receives those left out.
std::vector<const TidalConstituent*> SelectByRayleigh(std::span<const TidalConstituent* const> candidates,
                                                      double spanHours, double rayleighFactor,
                                                      std::vector<const TidalConstituent*>* rejected = nullptr);

}  // namespace corvan
