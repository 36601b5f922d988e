#pragma once
// The tidal constituents the analysis knows, their frequencies from Doodson
// numbers, the astronomical arguments of a moment and the nodal
// corrections (f, u) of the lunar constituents.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/date_time.h"

namespace corvan {

// The lunar node's slow modulation of the astronomical constituents. Every
// constituent's correction is a product of these (a shallow-water or
// compound constituent takes the corrections of the tides it is made of).
enum class NodalKind { None, M2, M3, K2, K1, O1, J1, OO1, MF, MM, L2 };

struct NodalTerm {
    NodalKind kind = NodalKind::None;
    int power = 0;  // negative for a constituent that is a difference
};

struct TidalConstituent {
    std::string_view name;
    // Multiples of tau (mean lunar time), s, h, p, N' (= -N) and p1.
    std::array<int, 6> doodson{};
    // Phase offset of the argument in quarter cycles (90 degrees).
    int quarters = 0;
    std::array<NodalTerm, 2> nodal{};
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
// f and u for the moment of a (only the node and perigee matter).
NodalCorrection NodalCorrectionOf(const TidalConstituent& c, const Astronomy& a);
NodalCorrection BasicNodalCorrection(NodalKind kind, const Astronomy& a);

// Chooses constituents a record of `spanHours` can separate with the
// Rayleigh criterion (frequencies at least factor / span apart, and apart
// from the mean). Candidates are tried by priority; the answer is in
// frequency order. `rejected` receives those left out.
std::vector<const TidalConstituent*> SelectByRayleigh(std::span<const TidalConstituent* const> candidates,
                                                      double spanHours, double rayleighFactor,
                                                      std::vector<const TidalConstituent*>* rejected = nullptr);

}  // namespace corvan
