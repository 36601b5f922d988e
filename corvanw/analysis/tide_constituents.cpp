#include "analysis/tide_constituents.h"

#include <algorithm>
#include <cmath>
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

using N = NodalKind;
constexpr NodalTerm T(NodalKind k, int p = 1) { return NodalTerm{k, p}; }

// Priorities: the constituents that carry most of the tide in shelf seas
// first, so that a short record keeps them and drops their weaker
// neighbours; then the rest by their usual size.
// clang-format off
constexpr TidalConstituent kTable[] = {
    // Long period.
    {"SA",   {0, 0, 1, 0, 0, -1},  0, {}, 13},
    {"SSA",  {0, 0, 2, 0, 0, 0},   0, {}, 14},
    {"MSM",  {0, 1, -2, 1, 0, 0},  0, {T(N::MM)}, 40},
    {"MM",   {0, 1, 0, -1, 0, 0},  0, {T(N::MM)}, 16},
    {"MSF",  {0, 2, -2, 0, 0, 0},  0, {T(N::M2, -1)}, 17},
    {"MF",   {0, 2, 0, 0, 0, 0},   0, {T(N::MF)}, 15},
    // Diurnal.
    {"ALP1", {1, -4, 2, 1, 0, 0},  1, {T(N::O1)}, 60},
    {"2Q1",  {1, -3, 0, 2, 0, 0},  1, {T(N::O1)}, 30},
    {"SIG1", {1, -3, 2, 0, 0, 0},  1, {T(N::O1)}, 35},
    {"Q1",   {1, -2, 0, 1, 0, 0},  1, {T(N::O1)}, 7},
    {"RHO1", {1, -2, 2, -1, 0, 0}, 1, {T(N::O1)}, 25},
    {"O1",   {1, -1, 0, 0, 0, 0},  1, {T(N::O1)}, 3},
    {"TAU1", {1, -1, 2, 0, 0, 0}, -1, {T(N::K1)}, 45},
    {"BET1", {1, 0, -2, 1, 0, 0}, -1, {T(N::O1)}, 50},
    {"NO1",  {1, 0, 0, 1, 0, 0},  -1, {T(N::J1)}, 22},
    {"CHI1", {1, 0, 2, -1, 0, 0}, -1, {T(N::J1)}, 42},
    {"PI1",  {1, 1, -3, 0, 0, 1},  1, {}, 36},
    {"P1",   {1, 1, -2, 0, 0, 0},  1, {}, 6},
    {"S1",   {1, 1, -1, 0, 0, 0},  0, {}, 33},
    {"K1",   {1, 1, 0, 0, 0, 0},  -1, {T(N::K1)}, 1},
    {"PSI1", {1, 1, 1, 0, 0, -1}, -1, {}, 46},
    {"PHI1", {1, 1, 2, 0, 0, 0},  -1, {}, 41},
    {"THE1", {1, 2, -2, 1, 0, 0}, -1, {T(N::J1)}, 43},
    {"J1",   {1, 2, 0, -1, 0, 0}, -1, {T(N::J1)}, 20},
    {"SO1",  {1, 3, -2, 0, 0, 0}, -1, {T(N::J1)}, 44},
    {"OO1",  {1, 3, 0, 0, 0, 0},  -1, {T(N::OO1)}, 23},
    {"UPS1", {1, 4, 0, -1, 0, 0}, -1, {T(N::OO1)}, 55},
    // Semidiurnal.
    {"EPS2", {2, -3, 2, 1, 0, 0},  0, {T(N::M2)}, 47},
    {"2N2",  {2, -2, 0, 2, 0, 0},  0, {T(N::M2)}, 21},
    {"MU2",  {2, -2, 2, 0, 0, 0},  0, {T(N::M2)}, 18},
    {"N2",   {2, -1, 0, 1, 0, 0},  0, {T(N::M2)}, 4},
    {"NU2",  {2, -1, 2, -1, 0, 0}, 0, {T(N::M2)}, 19},
    {"M2",   {2, 0, 0, 0, 0, 0},   0, {T(N::M2)}, 0},
    {"MKS2", {2, 0, 2, 0, 0, 0},   0, {T(N::M2), T(N::K2)}, 48},
    {"LDA2", {2, 1, -2, 1, 0, 0},  2, {T(N::M2)}, 31},
    {"L2",   {2, 1, 0, -1, 0, 0},  2, {T(N::L2)}, 24},
    {"T2",   {2, 2, -3, 0, 0, 1},  0, {}, 32},
    {"S2",   {2, 2, -2, 0, 0, 0},  0, {}, 2},
    {"R2",   {2, 2, -1, 0, 0, -1}, 2, {}, 49},
    {"K2",   {2, 2, 0, 0, 0, 0},   0, {T(N::K2)}, 5},
    {"MSN2", {2, 3, -2, -1, 0, 0}, 0, {T(N::M2), T(N::M2, -1)}, 51},
    {"2SM2", {2, 4, -4, 0, 0, 0},  0, {T(N::M2, -1)}, 37},
    // Terdiurnal.
    {"MO3",  {3, -1, 0, 0, 0, 0},  1, {T(N::M2), T(N::O1)}, 27},
    {"M3",   {3, 0, 0, 0, 0, 0},   2, {T(N::M3)}, 26},
    {"SO3",  {3, 1, -2, 0, 0, 0},  1, {T(N::O1)}, 52},
    {"MK3",  {3, 1, 0, 0, 0, 0},  -1, {T(N::M2), T(N::K1)}, 28},
    {"SK3",  {3, 3, -2, 0, 0, 0}, -1, {T(N::K1)}, 38},
    // Quarter diurnal.
    {"MN4",  {4, -1, 0, 1, 0, 0},  0, {T(N::M2, 2)}, 10},
    {"M4",   {4, 0, 0, 0, 0, 0},   0, {T(N::M2, 2)}, 8},
    {"SN4",  {4, 1, -2, 1, 0, 0},  0, {T(N::M2)}, 34},
    {"MS4",  {4, 2, -2, 0, 0, 0},  0, {T(N::M2)}, 9},
    {"MK4",  {4, 2, 0, 0, 0, 0},   0, {T(N::M2), T(N::K2)}, 39},
    {"S4",   {4, 4, -4, 0, 0, 0},  0, {}, 29},
    {"SK4",  {4, 4, -2, 0, 0, 0},  0, {T(N::K2)}, 53},
    // Fifth diurnal.
    {"2MK5", {5, 1, 0, 0, 0, 0},  -1, {T(N::M2, 2), T(N::K1)}, 56},
    {"2SK5", {5, 5, -4, 0, 0, 0}, -1, {T(N::K1)}, 58},
    // Sixth diurnal.
    {"2MN6", {6, -1, 0, 1, 0, 0},  0, {T(N::M2, 3)}, 54},
    {"M6",   {6, 0, 0, 0, 0, 0},   0, {T(N::M2, 3)}, 11},
    {"MSN6", {6, 1, -2, 1, 0, 0},  0, {T(N::M2, 2)}, 57},
    {"2MS6", {6, 2, -2, 0, 0, 0},  0, {T(N::M2, 2)}, 12},
    {"2MK6", {6, 2, 0, 0, 0, 0},   0, {T(N::M2, 2), T(N::K2)}, 59},
    {"2SM6", {6, 4, -4, 0, 0, 0},  0, {T(N::M2)}, 61},
    {"MSK6", {6, 4, -2, 0, 0, 0},  0, {T(N::M2), T(N::K2)}, 62},
    // Higher.
    {"3MK7", {7, 1, 0, 0, 0, 0},  -1, {T(N::M2, 3), T(N::K1)}, 63},
    {"M8",   {8, 0, 0, 0, 0, 0},   0, {T(N::M2, 4)}, 64},
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
    const double dayFraction = days - std::floor(days);
    a.tau = Wrap360(180.0 + 360.0 * dayFraction + a.h - a.s);
    return a;
}

std::span<const TidalConstituent> StandardConstituents() { return kTable; }

const TidalConstituent* FindConstituent(std::string_view name) {
    for (const TidalConstituent& c : kTable) {
        if (c.name.size() != name.size()) continue;
        if (std::equal(c.name.begin(), c.name.end(), name.begin(),
                       [](char a, char b) { return a == (b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b); }))
            return &c;
    }
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

NodalCorrection BasicNodalCorrection(NodalKind kind, const Astronomy& a) {
    // The node enters through the inclination I of the lunar orbit to the
    // equator and the angles nu, xi that it shifts the moon's longitude by.
    const double n = -a.nPrime * kDeg;
    const double cosI = 0.91370 - 0.03569 * std::cos(n);
    const double I = std::acos(cosI);
    const double sinI = std::sin(I);
    const double nu = std::asin(std::clamp(0.08968 * std::sin(n) / sinI, -1.0, 1.0));
    // tan(N/2) is infinite at N = 180 degrees; atan2 of the half angles
    // keeps xi continuous there.
    const double xi = n - 2.0 * std::atan2(0.64412 * std::sin(n / 2), std::cos(n / 2)) - nu;
    const double sin2I = std::sin(2 * I);
    const double cosHalf = std::cos(I / 2);
    const double sinHalf = std::sin(I / 2);
    NodalCorrection r;
    switch (kind) {
        case NodalKind::None:
            break;
        case NodalKind::M2:
            r.f = std::pow(cosHalf, 4) / 0.9154;
            r.u = 2 * xi - 2 * nu;
            break;
        case NodalKind::M3:
            r.f = std::pow(cosHalf, 6) / 0.8758;
            r.u = 3 * xi - 3 * nu;
            break;
        case NodalKind::O1:
            r.f = sinI * cosHalf * cosHalf / 0.3800;
            r.u = 2 * xi - nu;
            break;
        case NodalKind::K1: {
            r.f = std::sqrt(0.8965 * sin2I * sin2I + 0.6001 * sin2I * std::cos(nu) + 0.1006);
            r.u = -std::atan2(sin2I * std::sin(nu), sin2I * std::cos(nu) + 0.3347);
            break;
        }
        case NodalKind::K2: {
            const double s2 = sinI * sinI;
            r.f = std::sqrt(19.0444 * s2 * s2 + 2.7702 * s2 * std::cos(2 * nu) + 0.0981);
            r.u = -std::atan2(s2 * std::sin(2 * nu), s2 * std::cos(2 * nu) + 0.0727);
            break;
        }
        case NodalKind::J1:
            r.f = sin2I / 0.7214;
            r.u = -nu;
            break;
        case NodalKind::OO1:
            r.f = sinI * sinHalf * sinHalf / 0.01640;
            r.u = -2 * xi - nu;
            break;
        case NodalKind::MF:
            r.f = sinI * sinI / 0.1578;
            r.u = -2 * xi;
            break;
        case NodalKind::MM:
            r.f = (2.0 / 3.0 - sinI * sinI) / 0.5021;
            r.u = 0;
            break;
        case NodalKind::L2: {
            // L2 also feels the lunar perigee: its amplitude swings with
            // the angle P between perigee and the intersection.
            const double P = a.p * kDeg - xi;
            const double t2 = std::pow(std::tan(I / 2), 2);
            const double inverseRa = std::sqrt(std::max(0.0, 1 - 12 * t2 * std::cos(2 * P) + 36 * t2 * t2));
            const double R = std::atan2(std::sin(2 * P), 1 / (6 * t2) - std::cos(2 * P));
            r.f = std::pow(cosHalf, 4) / 0.9154 * inverseRa;
            r.u = 2 * xi - 2 * nu - R;
            break;
        }
    }
    r.u /= kDeg;
    return r;
}

NodalCorrection NodalCorrectionOf(const TidalConstituent& c, const Astronomy& a) {
    NodalCorrection total;
    for (const NodalTerm& term : c.nodal) {
        if (term.kind == NodalKind::None || term.power == 0) continue;
        const NodalCorrection basic = BasicNodalCorrection(term.kind, a);
        total.f *= std::pow(basic.f, std::abs(term.power));
        total.u += term.power * basic.u;
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
