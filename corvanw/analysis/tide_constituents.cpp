#include "analysis/tide_constituents.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace corvan {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// Daily rates of the mean longitudes (degrees per mean solar day), the
// linear terms of the polynomials below.
constexpr double kRateS = 13.1763965268;
constexpr double kRateH = 0.9856473354;
constexpr double kRateP = 0.1114040803;
constexpr double kRateN = -0.0529539222;
constexpr double kRateP1 = 0.0000470684;

double Wrap360(double x) {
    x = std::fmod(x, 360.0);
    return x < 0 ? x + 360.0 : x;
}

constexpr ConstituentPart P(std::string_view name, int times = 1) { return ConstituentPart{name, times}; }

// Priorities: the constituents that carry most of the tide in shelf seas
// first, so that a short record keeps them and drops their weaker
// neighbours; then the rest by their usual size. The arguments and the
// make-up of the compound constituents are Foreman's (1977).
// clang-format off
constexpr TidalConstituent kTable[] = {
    // Long period.
    {"SA",   {0, 0, 1, 0, 0, -1},  0, {}, 13},
    {"SSA",  {0, 0, 2, 0, 0, 0},   0, {}, 14},
    {"MSM",  {0, 1, -2, 1, 0, 0},  0, {}, 40},
    {"MM",   {0, 1, 0, -1, 0, 0},  0, {}, 16},
    {"MSF",  {0, 2, -2, 0, 0, 0},  0, {}, 17},
    {"MF",   {0, 2, 0, 0, 0, 0},   0, {}, 15},
    // Diurnal.
    {"ALP1", {1, -4, 2, 1, 0, 0}, -1, {}, 60},
    {"2Q1",  {1, -3, 0, 2, 0, 0}, -1, {}, 30},
    {"SIG1", {1, -3, 2, 0, 0, 0}, -1, {}, 35},
    {"Q1",   {1, -2, 0, 1, 0, 0}, -1, {}, 7},
    {"RHO1", {1, -2, 2, -1, 0, 0}, -1, {}, 25},
    {"O1",   {1, -1, 0, 0, 0, 0}, -1, {}, 3},
    {"TAU1", {1, -1, 2, 0, 0, 0}, -3, {}, 45},
    {"BET1", {1, 0, -2, 1, 0, 0}, -3, {}, 50},
    {"NO1",  {1, 0, 0, 1, 0, 0},  -3, {}, 22},
    {"CHI1", {1, 0, 2, -1, 0, 0}, -3, {}, 42},
    {"PI1",  {1, 1, -3, 0, 0, 1}, -1, {}, 36},
    {"P1",   {1, 1, -2, 0, 0, 0}, -1, {}, 6},
    {"S1",   {1, 1, -1, 0, 0, 1}, -3, {}, 33},
    {"K1",   {1, 1, 0, 0, 0, 0},  -3, {}, 1},
    {"PSI1", {1, 1, 1, 0, 0, -1}, -3, {}, 46},
    {"PHI1", {1, 1, 2, 0, 0, 0},  -3, {}, 41},
    {"THE1", {1, 2, -2, 1, 0, 0}, -3, {}, 43},
    {"J1",   {1, 2, 0, -1, 0, 0}, -3, {}, 20},
    {"SO1",  {1, 3, -2, 0, 0, 0},  1, {P("S2"), P("O1", -1)}, 44},
    {"OO1",  {1, 3, 0, 0, 0, 0},  -3, {}, 23},
    {"UPS1", {1, 4, 0, -1, 0, 0}, -3, {}, 55},
    // Semidiurnal.
    {"OQ2",  {2, -3, 0, 3, 0, 0},  0, {}, 66},
    {"EPS2", {2, -3, 2, 1, 0, 0},  0, {}, 47},
    {"2N2",  {2, -2, 0, 2, 0, 0},  0, {}, 21},
    {"MU2",  {2, -2, 2, 0, 0, 0},  0, {}, 18},
    {"N2",   {2, -1, 0, 1, 0, 0},  0, {}, 4},
    {"NU2",  {2, -1, 2, -1, 0, 0}, 0, {}, 19},
    {"GAM2", {2, 0, -2, 2, 0, 0}, -2, {}, 67},
    {"H1",   {2, 0, -1, 0, 0, 1}, -2, {}, 68},
    {"M2",   {2, 0, 0, 0, 0, 0},   0, {}, 0},
    {"H2",   {2, 0, 1, 0, 0, -1},  0, {}, 69},
    {"MKS2", {2, 0, 2, 0, 0, 0},   0, {P("M2"), P("K2"), P("S2", -1)}, 48},
    {"LDA2", {2, 1, -2, 1, 0, 0}, -2, {}, 31},
    {"L2",   {2, 1, 0, -1, 0, 0}, -2, {}, 24},
    {"T2",   {2, 2, -3, 0, 0, 1},  0, {}, 32},
    {"S2",   {2, 2, -2, 0, 0, 0},  0, {}, 2},
    {"R2",   {2, 2, -1, 0, 0, -1}, -2, {}, 49},
    {"K2",   {2, 2, 0, 0, 0, 0},   0, {}, 5},
    {"MSN2", {2, 3, -2, -1, 0, 0}, 0, {P("M2"), P("S2"), P("N2", -1)}, 51},
    {"ETA2", {2, 3, 0, -1, 0, 0},  0, {}, 50},
    {"2SM2", {2, 4, -4, 0, 0, 0},  0, {P("S2", 2), P("M2", -1)}, 37},
    // Terdiurnal.
    {"MO3",  {3, -1, 0, 0, 0, 0}, -1, {P("M2"), P("O1")}, 27},
    {"M3",   {3, 0, 0, 0, 0, 0},  -2, {}, 26},
    {"SO3",  {3, 1, -2, 0, 0, 0}, -1, {P("S2"), P("O1")}, 52},
    {"MK3",  {3, 1, 0, 0, 0, 0},  -3, {P("M2"), P("K1")}, 28},
    {"SK3",  {3, 3, -2, 0, 0, 0}, -3, {P("S2"), P("K1")}, 38},
    // Quarter diurnal.
    {"MN4",  {4, -1, 0, 1, 0, 0},  0, {P("M2"), P("N2")}, 10},
    {"M4",   {4, 0, 0, 0, 0, 0},   0, {P("M2", 2)}, 8},
    {"SN4",  {4, 1, -2, 1, 0, 0},  0, {P("S2"), P("N2")}, 34},
    {"MS4",  {4, 2, -2, 0, 0, 0},  0, {P("M2"), P("S2")}, 9},
    {"MK4",  {4, 2, 0, 0, 0, 0},   0, {P("M2"), P("K2")}, 39},
    {"S4",   {4, 4, -4, 0, 0, 0},  0, {P("S2", 2)}, 29},
    {"SK4",  {4, 4, -2, 0, 0, 0},  0, {P("S2"), P("K2")}, 53},
    // Fifth diurnal.
    {"2MK5", {5, 1, 0, 0, 0, 0},  -3, {P("M2", 2), P("K1")}, 56},
    {"2SK5", {5, 5, -4, 0, 0, 0}, -3, {P("S2", 2), P("K1")}, 58},
    // Sixth diurnal.
    {"2MN6", {6, -1, 0, 1, 0, 0},  0, {P("M2", 2), P("N2")}, 54},
    {"M6",   {6, 0, 0, 0, 0, 0},   0, {P("M2", 3)}, 11},
    {"MSN6", {6, 1, -2, 1, 0, 0},  0, {P("M2"), P("S2"), P("N2")}, 57},
    {"2MS6", {6, 2, -2, 0, 0, 0},  0, {P("M2", 2), P("S2")}, 12},
    {"2MK6", {6, 2, 0, 0, 0, 0},   0, {P("M2", 2), P("K2")}, 59},
    {"2SM6", {6, 4, -4, 0, 0, 0},  0, {P("S2", 2), P("M2")}, 61},
    {"MSK6", {6, 4, -2, 0, 0, 0},  0, {P("M2"), P("S2"), P("K2")}, 62},
    // Higher.
    {"3MK7", {7, 1, 0, 0, 0, 0},  -3, {P("M2", 3), P("K1")}, 63},
    {"M8",   {8, 0, 0, 0, 0, 0},   0, {P("M2", 4)}, 64},
};

// The satellites of each main constituent: changes of p, N' and p1 from
// the main line, the phase offset in cycles, the amplitude ratio to the
// main line, and whether the ratio scales with latitude (1: a diurnal
// line of the third-degree potential, 2: a semidiurnal one). Main
// constituents not listed (the long-period ones, T2) get no correction.
struct Satellite {
    std::string_view of;
    int dp, dn, dp1;
    double phase;
    double ratio;
    int latitudeKind;
};
constexpr Satellite kSatellites[] = {
    {"ALP1", -1, 0, 0, 0.75, 0.036, 1},
    {"ALP1", 0, -1, 0, 0.0, 0.1906, 0},
    {"2Q1", -2, -2, 0, 0.5, 0.0063, 0},
    {"2Q1", -1, -1, 0, 0.75, 0.0241, 1},
    {"2Q1", -1, 0, 0, 0.75, 0.0607, 1},
    {"2Q1", 0, -2, 0, 0.5, 0.0063, 0},
    {"2Q1", 0, -1, 0, 0.0, 0.1885, 0},
    {"SIG1", -1, 0, 0, 0.75, 0.0095, 1},
    {"SIG1", 0, -2, 0, 0.5, 0.0061, 0},
    {"SIG1", 0, -1, 0, 0.0, 0.1884, 0},
    {"SIG1", 2, 0, 0, 0.5, 0.0087, 0},
    {"Q1", -2, -3, 0, 0.5, 0.0007, 0},
    {"Q1", -2, -2, 0, 0.5, 0.0039, 0},
    {"Q1", -1, -2, 0, 0.75, 0.001, 1},
    {"Q1", -1, -1, 0, 0.75, 0.0115, 1},
    {"Q1", -1, 0, 0, 0.75, 0.0292, 1},
    {"Q1", 0, -2, 0, 0.5, 0.0057, 0},
    {"Q1", -1, 0, 1, 0.0, 0.0008, 0},
    {"Q1", 0, -1, 0, 0.0, 0.1884, 0},
    {"Q1", 1, 0, 0, 0.75, 0.0018, 1},
    {"Q1", 2, 0, 0, 0.5, 0.0028, 0},
    {"RHO1", 0, -2, 0, 0.5, 0.0058, 0},
    {"RHO1", 0, -1, 0, 0.0, 0.1882, 0},
    {"RHO1", 1, 0, 0, 0.75, 0.0131, 1},
    {"RHO1", 2, 0, 0, 0.5, 0.0576, 0},
    {"RHO1", 2, 1, 0, 0.0, 0.0175, 0},
    {"O1", -1, 0, 0, 0.25, 0.0003, 1},
    {"O1", 0, -2, 0, 0.5, 0.0058, 0},
    {"O1", 0, -1, 0, 0.0, 0.1885, 0},
    {"O1", 1, -1, 0, 0.25, 0.0004, 1},
    {"O1", 1, 0, 0, 0.75, 0.0029, 1},
    {"O1", 1, 1, 0, 0.25, 0.0004, 1},
    {"O1", 2, 0, 0, 0.5, 0.0064, 0},
    {"O1", 2, 1, 0, 0.5, 0.001, 0},
    {"TAU1", -2, 0, 0, 0.0, 0.0446, 0},
    {"TAU1", -1, 0, 0, 0.25, 0.0426, 1},
    {"TAU1", 0, -1, 0, 0.5, 0.0284, 0},
    {"TAU1", 0, 1, 0, 0.5, 0.217, 0},
    {"TAU1", 0, 2, 0, 0.5, 0.0142, 0},
    {"BET1", 0, -1, 0, 0.0, 0.2266, 0},
    {"NO1", -2, -2, 0, 0.5, 0.0057, 0},
    {"NO1", -2, -1, 0, 0.0, 0.0665, 0},
    {"NO1", -2, 0, 0, 0.0, 0.3596, 0},
    {"NO1", -1, -1, 0, 0.75, 0.0331, 1},
    {"NO1", -1, 0, 0, 0.25, 0.2227, 1},
    {"NO1", -1, 1, 0, 0.75, 0.029, 1},
    {"NO1", 0, -1, 0, 0.5, 0.029, 0},
    {"NO1", 0, 1, 0, 0.0, 0.2004, 0},
    {"NO1", 0, 2, 0, 0.5, 0.0054, 0},
    {"CHI1", 0, -1, 0, 0.5, 0.0282, 0},
    {"CHI1", 0, 1, 0, 0.0, 0.2187, 0},
    {"PI1", 0, -1, 0, 0.5, 0.0078, 0},
    {"P1", 0, -2, 0, 0.0, 0.0008, 0},
    {"P1", 0, -1, 0, 0.5, 0.0112, 0},
    {"P1", 0, 0, 2, 0.5, 0.0004, 0},
    {"P1", 1, 0, 0, 0.75, 0.0004, 1},
    {"P1", 2, 0, 0, 0.5, 0.0015, 0},
    {"P1", 2, 1, 0, 0.5, 0.0003, 0},
    {"S1", 0, 0, -2, 0.0, 0.3534, 0},
    {"S1", 0, 1, 0, 0.5, 0.0264, 0},
    {"K1", -2, -1, 0, 0.0, 0.0002, 0},
    {"K1", -1, -1, 0, 0.75, 0.0001, 1},
    {"K1", -1, 0, 0, 0.25, 0.0007, 1},
    {"K1", -1, 1, 0, 0.75, 0.0001, 1},
    {"K1", 0, -2, 0, 0.0, 0.0001, 0},
    {"K1", 0, -1, 0, 0.5, 0.0198, 0},
    {"K1", 0, 1, 0, 0.0, 0.1356, 0},
    {"K1", 0, 2, 0, 0.5, 0.0029, 0},
    {"K1", 1, 0, 0, 0.25, 0.0002, 1},
    {"K1", 1, 1, 0, 0.25, 0.0001, 1},
    {"PSI1", 0, 1, 0, 0.0, 0.019, 0},
    {"PHI1", -2, 0, 0, 0.0, 0.0344, 0},
    {"PHI1", -2, 1, 0, 0.0, 0.0106, 0},
    {"PHI1", 0, 0, -2, 0.0, 0.0132, 0},
    {"PHI1", 0, 1, 0, 0.5, 0.0384, 0},
    {"PHI1", 0, 2, 0, 0.5, 0.0185, 0},
    {"THE1", -2, -1, 0, 0.0, 0.03, 0},
    {"THE1", -1, 0, 0, 0.25, 0.0141, 1},
    {"THE1", 0, -1, 0, 0.5, 0.0317, 0},
    {"THE1", 0, 1, 0, 0.0, 0.1993, 0},
    {"J1", 0, -1, 0, 0.5, 0.0294, 0},
    {"J1", 0, 1, 0, 0.0, 0.198, 0},
    {"J1", 0, 2, 0, 0.5, 0.0047, 0},
    {"J1", 1, -1, 0, 0.75, 0.0027, 1},
    {"J1", 1, 0, 0, 0.25, 0.0816, 1},
    {"J1", 1, 1, 0, 0.25, 0.0331, 1},
    {"J1", 1, 2, 0, 0.25, 0.0027, 1},
    {"J1", 2, 0, 0, 0.5, 0.0152, 0},
    {"J1", 2, 1, 0, 0.5, 0.0098, 0},
    {"J1", 2, 2, 0, 0.5, 0.0057, 0},
    {"OO1", -2, -1, 0, 0.5, 0.0037, 0},
    {"OO1", -2, 0, 0, 0.0, 0.1496, 0},
    {"OO1", -2, 1, 0, 0.0, 0.0296, 0},
    {"OO1", -1, 0, 0, 0.25, 0.024, 1},
    {"OO1", -1, 1, 0, 0.25, 0.0099, 1},
    {"OO1", 0, 1, 0, 0.0, 0.6398, 0},
    {"OO1", 0, 2, 0, 0.0, 0.1342, 0},
    {"OO1", 0, 3, 0, 0.0, 0.0086, 0},
    {"UPS1", -2, 0, 0, 0.0, 0.0611, 0},
    {"UPS1", 0, 1, 0, 0.0, 0.6399, 0},
    {"UPS1", 0, 2, 0, 0.0, 0.1318, 0},
    {"UPS1", 1, 0, 0, 0.25, 0.0289, 1},
    {"UPS1", 1, 1, 0, 0.25, 0.0257, 1},
    {"OQ2", -1, 0, 0, 0.25, 0.1042, 2},
    {"OQ2", 0, -1, 0, 0.5, 0.0386, 0},
    {"EPS2", -1, -1, 0, 0.25, 0.0075, 2},
    {"EPS2", -1, 0, 0, 0.25, 0.0402, 2},
    {"EPS2", 0, -1, 0, 0.5, 0.0373, 0},
    {"2N2", -2, -2, 0, 0.5, 0.0061, 0},
    {"2N2", -1, -1, 0, 0.25, 0.0117, 2},
    {"2N2", -1, 0, 0, 0.25, 0.0678, 2},
    {"2N2", 0, -1, 0, 0.5, 0.0374, 0},
    {"MU2", -1, -1, 0, 0.25, 0.0018, 2},
    {"MU2", -1, 0, 0, 0.25, 0.0104, 2},
    {"MU2", 0, -1, 0, 0.5, 0.0375, 0},
    {"N2", -2, -2, 0, 0.5, 0.0039, 0},
    {"N2", -1, 0, 1, 0.0, 0.0008, 0},
    {"N2", 0, -2, 0, 0.0, 0.0005, 0},
    {"N2", 0, -1, 0, 0.5, 0.0373, 0},
    {"NU2", 0, -1, 0, 0.5, 0.0373, 0},
    {"NU2", 1, 0, 0, 0.75, 0.0042, 2},
    {"NU2", 2, 0, 0, 0.0, 0.0042, 0},
    {"NU2", 2, 1, 0, 0.5, 0.0036, 0},
    {"GAM2", -2, -2, 0, 0.0, 0.1429, 0},
    {"GAM2", -1, 0, 0, 0.25, 0.0293, 2},
    {"GAM2", 0, -1, 0, 0.5, 0.033, 0},
    {"H1", 0, -1, 0, 0.5, 0.0224, 0},
    {"H1", 1, 0, -1, 0.5, 0.0447, 0},
    {"M2", -1, -1, 0, 0.75, 0.0001, 2},
    {"M2", -1, 0, 0, 0.75, 0.0004, 2},
    {"M2", 0, -2, 0, 0.0, 0.0005, 0},
    {"M2", 0, -1, 0, 0.5, 0.0373, 0},
    {"M2", 1, -1, 0, 0.25, 0.0001, 2},
    {"M2", 1, 0, 0, 0.75, 0.0009, 2},
    {"M2", 1, 1, 0, 0.75, 0.0002, 2},
    {"M2", 2, 0, 0, 0.0, 0.0006, 0},
    {"M2", 2, 1, 0, 0.0, 0.0002, 0},
    {"H2", 0, -1, 0, 0.5, 0.0217, 0},
    {"LDA2", 0, -1, 0, 0.5, 0.0448, 0},
    {"L2", 0, -1, 0, 0.5, 0.0366, 0},
    {"L2", 2, -1, 0, 0.0, 0.0047, 0},
    {"L2", 2, 0, 0, 0.5, 0.2505, 0},
    {"L2", 2, 1, 0, 0.5, 0.1102, 0},
    {"L2", 2, 2, 0, 0.5, 0.0156, 0},
    {"S2", 0, -1, 0, 0.0, 0.0022, 0},
    {"S2", 1, 0, 0, 0.75, 0.0001, 2},
    {"S2", 2, 0, 0, 0.0, 0.0001, 0},
    {"R2", 0, 0, 2, 0.5, 0.2535, 0},
    {"R2", 0, 1, 2, 0.0, 0.0141, 0},
    {"K2", -1, 0, 0, 0.75, 0.0024, 2},
    {"K2", -1, 1, 0, 0.75, 0.0004, 2},
    {"K2", 0, -1, 0, 0.5, 0.0128, 0},
    {"K2", 0, 1, 0, 0.0, 0.298, 0},
    {"K2", 0, 2, 0, 0.0, 0.0324, 0},
    {"ETA2", 0, -1, 0, 0.5, 0.0187, 0},
    {"ETA2", 0, 1, 0, 0.0, 0.4355, 0},
    {"ETA2", 0, 2, 0, 0.0, 0.0467, 0},
    {"ETA2", 1, 0, 0, 0.75, 0.0747, 2},
    {"ETA2", 1, 1, 0, 0.75, 0.0482, 2},
    {"ETA2", 1, 2, 0, 0.75, 0.0093, 2},
    {"ETA2", 2, 0, 0, 0.5, 0.0078, 0},
    {"M3", 0, -1, 0, 0.5, 0.0564, 0},
};
// clang-format on

}  // namespace

const std::array<double, 6>& AstronomicalRates() {
    static const std::array<double, 6> rates = {
        15.0 + (kRateH - kRateS) / 24.0, kRateS / 24.0, kRateH / 24.0, kRateP / 24.0, -kRateN / 24.0, kRateP1 / 24.0,
    };
    return rates;
}

Astronomy AstronomyAt(DateTime t) {
    // The polynomials count days from 1899-12-31 12:00 UT, one and a half
    // days after the epoch of our day numbers.
    const double days = t.Days();
    const double d = days - 1.5;
    const double c = d / 36525.0;
    const double c2 = c * c;
    const double c3 = c2 * c;
    Astronomy a;
    a.s = Wrap360(270.434164 + kRateS * d - 0.0000850 * c2 + 0.000000039 * c3);
    a.h = Wrap360(279.696678 + kRateH * d + 0.00002267 * c2);
    a.p = Wrap360(334.329556 + kRateP * d - 0.0007739 * c2 - 0.00000026 * c3);
    const double node = 259.183275 + kRateN * d + 0.0001557 * c2 + 0.00000005 * c3;
    a.nPrime = Wrap360(-node);
    a.p1 = Wrap360(281.220844 + kRateP1 * d + 0.0000339 * c2 + 0.00000007 * c3);
    // Mean lunar time counts from the moon's lower transit: it is the mean
    // sun's time from midnight plus the sun's lead over the moon.
    const double dayFraction = days - std::floor(days);
    a.tau = Wrap360(360.0 * dayFraction + a.h - a.s);
    return a;
}

std::span<const TidalConstituent> StandardConstituents() { return kTable; }

const TidalConstituent* FindConstituent(std::string_view name) {
    auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return x == (y >= 'a' && y <= 'z' ? y - 'a' + 'A' : y);
               });
    };
    // The hydrographic offices' list calls Foreman's NO1 M1.
    if (same("M1", name)) name = "NO1";
    for (const TidalConstituent& c : kTable)
        if (same(c.name, name)) return &c;
    return nullptr;
}

double ConstituentFrequency(const TidalConstituent& c) {
    const auto& rates = AstronomicalRates();
    double degreesPerHour = 0;
    for (std::size_t k = 0; k < 6; ++k) degreesPerHour += c.doodson[k] * rates[k];
    return degreesPerHour / 360.0;
}

double AstronomicalArgument(const TidalConstituent& c, const Astronomy& a) {
    const std::array<double, 6> x = {a.tau, a.s, a.h, a.p, a.nPrime, a.p1};
    double v = 90.0 * c.quarters;
    for (std::size_t k = 0; k < 6; ++k) v += c.doodson[k] * x[k];
    return Wrap360(v);
}

namespace {

// The latitude enters as sin(latitude); within 5 degrees of the equator the
// third-degree ratio of a diurnal line grows without bound, so the
// equatorial forcing is taken as that of 5 degrees off it.
double SatelliteRatio(const Satellite& sat, double latitude) {
    if (sat.latitudeKind == 0) return sat.ratio;
    double degrees = latitude;
    if (std::abs(degrees) < 5.0) degrees = degrees < 0 ? -5.0 : 5.0;
    const double sinLat = std::sin(degrees * kDeg);
    if (sat.latitudeKind == 1) return sat.ratio * 0.36309 * (1.0 - 5.0 * sinLat * sinLat) / sinLat;
    return sat.ratio * 2.59808 * sinLat;
}

NodalCorrection MainNodalCorrection(std::string_view name, const Astronomy& a, double latitude) {
    const bool withLatitude = std::isfinite(latitude);
    std::complex<double> sum = 1.0;
    for (const Satellite& sat : kSatellites) {
        if (sat.of != name) continue;
        if (sat.latitudeKind != 0 && !withLatitude) continue;
        const double cycles = (sat.dp * a.p + sat.dn * a.nPrime + sat.dp1 * a.p1) / 360.0 + sat.phase;
        sum += std::polar(SatelliteRatio(sat, latitude), 2 * std::numbers::pi * cycles);
    }
    return {std::abs(sum), std::arg(sum) / kDeg};
}

}  // namespace

NodalCorrection NodalCorrectionOf(const TidalConstituent& c, const Astronomy& a, double latitude) {
    if (c.parts[0].times == 0) return MainNodalCorrection(c.name, a, latitude);
    NodalCorrection total;
    for (const ConstituentPart& part : c.parts) {
        if (part.times == 0) continue;
        const NodalCorrection basic = MainNodalCorrection(part.name, a, latitude);
        total.f *= std::pow(basic.f, std::abs(part.times));
        total.u += part.times * basic.u;
    }
    return total;
}

std::vector<const TidalConstituent*> SelectByRayleigh(std::span<const TidalConstituent* const> candidates,
                                                      double spanHours, double rayleighFactor,
                                                      std::vector<const TidalConstituent*>* rejected) {
    std::vector<const TidalConstituent*> order(candidates.begin(), candidates.end());
    std::stable_sort(order.begin(), order.end(),
                     [](const TidalConstituent* a, const TidalConstituent* b) { return a->priority < b->priority; });
    const double minimum = spanHours > 0 ? rayleighFactor / spanHours : INFINITY;
    // The mean is always fitted, at frequency 0.
    std::vector<double> keptFrequencies = {0.0};
    std::vector<const TidalConstituent*> kept;
    for (const TidalConstituent* c : order) {
        const double f = ConstituentFrequency(*c);
        const bool apart = std::all_of(keptFrequencies.begin(), keptFrequencies.end(),
                                       [&](double g) { return std::abs(f - g) >= minimum; });
        if (apart) {
            kept.push_back(c);
            keptFrequencies.push_back(f);
        } else if (rejected) {
            rejected->push_back(c);
        }
    }
    std::sort(kept.begin(), kept.end(), [](const TidalConstituent* a, const TidalConstituent* b) {
        return ConstituentFrequency(*a) < ConstituentFrequency(*b);
    });
    return kept;
}

}  // namespace corvan
