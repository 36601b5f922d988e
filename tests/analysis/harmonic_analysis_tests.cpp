// Recovery of known constituents from synthetic records with noise and
// gaps, the ellipse conventions, and prediction and residual.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "analysis/harmonic_analysis.h"

namespace corvan {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

double AngleGap(double a, double b, double period = 360.0) { return std::abs(std::remainder(a - b, period)); }

struct TrueEllipse {
    const char* name;
    double major, minor, inclination, phase;
};

// The current of each ellipse written out directly from its definition:
// along the major axis M cos(theta - g), along the axis a quarter turn
// anticlockwise m sin(theta - g), theta = V(t) + u with f on the axes.
// Arguments are taken from the astronomy of each sample's own time, so the
// analysis' rotation recursion and centring are checked, not repeated.
TidalInput Synthetic(DateTime start, int count, const std::vector<TrueEllipse>& tide, double meanEast, double meanNorth,
                     double noise, double gapFraction, unsigned seed, double latitude = std::nan("")) {
    TidalInput in;
    in.firstTime = start;
    in.intervalSeconds = 600;
    std::mt19937 rng(seed);
    std::normal_distribution<double> gauss(0.0, noise);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    const Astronomy mid = AstronomyAt(start.AddSeconds(static_cast<long long>(count - 1) * 300));
    for (int k = 0; k < count; ++k) {
        const Astronomy a = AstronomyAt(start.AddSeconds(static_cast<long long>(k) * 600));
        double e = meanEast, n = meanNorth, t = 9.0;
        for (const TrueEllipse& c : tide) {
            const TidalConstituent& tc = *FindConstituent(c.name);
            const NodalCorrection nodal = NodalCorrectionOf(tc, mid, latitude);
            const double theta = (AstronomicalArgument(tc, a) + nodal.u - c.phase) * kDeg;
            const double along = nodal.f * c.major * std::cos(theta);
            const double across = nodal.f * c.minor * std::sin(theta);
            const double inc = c.inclination * kDeg;
            e += along * std::cos(inc) - across * std::sin(inc);
            n += along * std::sin(inc) + across * std::cos(inc);
            if (std::string(c.name) == "M2") t += 0.5 * nodal.f * std::cos(theta + (c.phase - 60.0) * kDeg);
        }
        const bool gap = uniform(rng) < gapFraction;
        in.east.push_back(gap ? std::nan("") : e + gauss(rng));
        in.north.push_back(gap ? std::nan("") : n + gauss(rng));
        in.temperature.push_back(gap ? std::nan("") : t + 0.05 * gauss(rng));
    }
    return in;
}

const CurrentConstituent* Find(const TidalAnalysis& a, const char* name) {
    for (const CurrentConstituent& c : a.constituents)
        if (c.constituent->name == name) return &c;
    return nullptr;
}

TEST(HarmonicAnalysis, RecoversFourConstituentsThroughNoiseAndGaps) {
    // 30 days at ten minutes, one record in ten missing, 1 cm/s noise.
    // M2 and K1 turn anticlockwise, S2 and O1 clockwise.
    const std::vector<TrueEllipse> tide = {
        {"M2", 50.0, 10.0, 30.0, 120.0},
        {"S2", 20.0, -5.0, 150.0, 200.0},
        {"K1", 12.0, 3.0, 80.0, 45.0},
        {"O1", 10.0, -2.0, 100.0, 300.0},
    };
    const TidalInput in =
        Synthetic(*DateTime::FromCivil({2012, 3, 1, 0, 0, 0}), 30 * 144, tide, 5.0, -3.0, 1.0, 0.1, 7);
    const TidalAnalysis a = AnalyseTide(in);
    ASSERT_TRUE(a.error.empty()) << a.error;
    EXPECT_NEAR(a.recordDays, 30.0, 0.05);
    EXPECT_NEAR(a.meanEast, 5.0, 0.1);
    EXPECT_NEAR(a.meanNorth, -3.0, 0.1);
    EXPECT_GT(a.varianceExplained, 0.99);
    EXPECT_LT(a.varianceExplained, 1.0);
    for (const TrueEllipse& t : tide) {
        const CurrentConstituent* c = Find(a, t.name);
        ASSERT_NE(c, nullptr) << t.name;
        EXPECT_NEAR(c->major, t.major, 0.01 * t.major) << t.name;
        EXPECT_NEAR(c->minor, t.minor, 0.01 * t.major) << t.name;
        EXPECT_LT(AngleGap(c->inclination, t.inclination), 1.0) << t.name;
        EXPECT_LT(AngleGap(c->phase, t.phase), 1.0) << t.name;
        EXPECT_GE(c->inclination, 0.0);
        EXPECT_LT(c->inclination, 180.0);
        // The interval is of the size the noise allows: the coefficients
        // vary by about sqrt(2 / N) cm/s.
        EXPECT_GT(c->majorCi, 0.01) << t.name;
        EXPECT_LT(c->majorCi, 0.2) << t.name;
        EXPECT_GT(c->snr, 1000.0) << t.name;
    }
    // Constituents that are not there come out small and not significant.
    const CurrentConstituent* n2 = Find(a, "N2");
    ASSERT_NE(n2, nullptr);
    EXPECT_LT(n2->major, 0.15);
    EXPECT_LT(n2->snr, 10.0);

    // Temperature as a scalar: 0.5 degree of M2 lagging the current by 60.
    ASSERT_TRUE(a.hasTemperature);
    EXPECT_NEAR(a.meanTemperature, 9.0, 0.01);
    const auto m2t = std::find_if(a.temperature.begin(), a.temperature.end(),
                                  [](const ScalarConstituent& s) { return s.constituent->name == "M2"; });
    ASSERT_NE(m2t, a.temperature.end());
    EXPECT_NEAR(m2t->amplitude, 0.5, 0.005);
    EXPECT_LT(AngleGap(m2t->phase, 60.0), 1.0);
    EXPECT_GT(m2t->amplitudeCi, 0.0);
}

TEST(HarmonicAnalysis, MostlyMissingRecordsGiveTheSameTide) {
    // With most records missing the normal equations are summed over the
    // valid rows, otherwise over the gaps taken from the whole grid: both
    // must give the tide.
    const std::vector<TrueEllipse> tide = {{"M2", 25.0, -6.0, 110.0, 40.0}, {"K1", 6.0, 2.0, 20.0, 250.0}};
    for (double gaps : {0.3, 0.7}) {
        const TidalInput in =
            Synthetic(*DateTime::FromCivil({2003, 11, 20, 0, 0, 0}), 40 * 144, tide, -1.0, 2.0, 0.3, gaps, 21);
        const TidalAnalysis a = AnalyseTide(in);
        ASSERT_TRUE(a.error.empty()) << a.error;
        EXPECT_NEAR(a.meanEast, -1.0, 0.05) << gaps;
        for (const TrueEllipse& t : tide) {
            const CurrentConstituent* c = Find(a, t.name);
            ASSERT_NE(c, nullptr);
            EXPECT_NEAR(c->major, t.major, 0.01 * t.major) << t.name << " " << gaps;
            EXPECT_NEAR(c->minor, t.minor, 0.01 * t.major) << t.name << " " << gaps;
            EXPECT_LT(AngleGap(c->phase, t.phase), 1.0) << t.name << " " << gaps;
            EXPECT_LT(AngleGap(c->inclination, t.inclination), 1.0) << t.name << " " << gaps;
        }
    }
}

TEST(HarmonicAnalysis, TwentyDaysCannotTellK1FromP1) {
    const std::vector<TrueEllipse> tide = {{"M2", 40.0, 0.0, 0.0, 10.0}, {"K1", 10.0, 0.0, 90.0, 200.0}};
    const TidalInput in =
        Synthetic(*DateTime::FromCivil({1998, 7, 10, 6, 0, 0}), 20 * 144, tide, 0.0, 0.0, 0.5, 0.0, 3);
    TidalOptions options;
    for (const char* name : {"M2", "S2", "K1", "O1", "P1"}) options.constituents.push_back(FindConstituent(name));
    const TidalAnalysis a = AnalyseTide(in, options);
    ASSERT_TRUE(a.error.empty()) << a.error;
    EXPECT_EQ(a.constituents.size(), 4u);
    EXPECT_EQ(Find(a, "P1"), nullptr);
    ASSERT_EQ(a.leftOut.size(), 1u);
    EXPECT_EQ(a.leftOut[0]->name, "P1");
    const CurrentConstituent* k1 = Find(a, "K1");
    ASSERT_NE(k1, nullptr);
    EXPECT_NEAR(k1->major, 10.0, 0.1);
    EXPECT_LT(AngleGap(k1->inclination, 90.0), 1.0);
}

TEST(HarmonicAnalysis, EllipseSenseInclinationAndPhase) {
    // East leads north by a quarter period: the vector turns from east to
    // north, anticlockwise, so the minor axis is positive.
    Ellipse e = EllipseFromComponents(10.0, 30.0, 10.0, 120.0);
    EXPECT_NEAR(e.major, 10.0, 1e-9);
    EXPECT_NEAR(e.minor, 10.0, 1e-9);
    e = EllipseFromComponents(10.0, 30.0, 4.0, 300.0);
    EXPECT_NEAR(e.major, 10.0, 1e-9);
    EXPECT_NEAR(e.minor, -4.0, 1e-9);
    EXPECT_NEAR(e.inclination, 0.0, 1e-9);
    EXPECT_NEAR(e.phase, 30.0, 1e-9);
    // A flow to and fro along north-west/south-east: inclination 135, and
    // the phase is that of the north-west going half.
    e = EllipseFromComponents(7.0, 250.0, 7.0, 70.0);
    EXPECT_NEAR(e.inclination, 135.0, 1e-9);
    EXPECT_NEAR(e.minor, 0.0, 1e-9);
    EXPECT_NEAR(e.major, 7.0 * std::sqrt(2.0), 1e-9);
    EXPECT_LT(AngleGap(e.phase, 70.0), 1e-9);
    // Purely north-south: inclination 90, never 270 or -90.
    e = EllipseFromComponents(0.0, 0.0, 5.0, 200.0);
    EXPECT_NEAR(e.inclination, 90.0, 1e-9);
    EXPECT_LT(AngleGap(e.phase, 200.0), 1e-9);
}

TEST(HarmonicAnalysis, ResidualOfAnExactTideIsTheMeanAndPredictionRepeatsIt) {
    const std::vector<TrueEllipse> tide = {{"M2", 30.0, 5.0, 60.0, 90.0}, {"S2", 10.0, -2.0, 60.0, 130.0}};
    const DateTime start = *DateTime::FromCivil({2020, 1, 5, 0, 10, 0});
    const int count = 16 * 144;
    const TidalInput in = Synthetic(start, count, tide, 2.0, 1.0, 0.0, 0.05, 11);
    TidalOptions options;
    options.constituents = {FindConstituent("M2"), FindConstituent("S2")};
    const TidalAnalysis a = AnalyseTide(in, options);
    ASSERT_TRUE(a.error.empty());
    const TidalPrediction p = PredictTide(a, start, 600, count);
    ASSERT_EQ(p.east.size(), static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        if (std::isnan(in.east[static_cast<std::size_t>(k)])) continue;
        EXPECT_NEAR(p.east[static_cast<std::size_t>(k)], in.east[static_cast<std::size_t>(k)], 0.01) << k;
        EXPECT_NEAR(p.north[static_cast<std::size_t>(k)], in.north[static_cast<std::size_t>(k)], 0.01) << k;
    }
    EXPECT_NEAR(a.varianceExplained, 1.0, 1e-6);
}

TEST(HarmonicAnalysis, LatitudeEntersTheFitAndLongPredictionsFollowTheNode) {
    // NO1 at 60 N in the autumn of 2015: its third-degree satellites turn
    // its phase by 17 degrees from what it would be without them.
    const std::vector<TrueEllipse> tide = {{"M2", 30.0, 5.0, 60.0, 90.0}, {"NO1", 5.0, 1.0, 30.0, 40.0}};
    const DateTime start = *DateTime::FromCivil({2015, 9, 1, 0, 0, 0});
    const TidalInput in = Synthetic(start, 60 * 144, tide, 0.0, 0.0, 0.0, 0.0, 3, 60.0);
    TidalOptions options;
    options.constituents = {FindConstituent("M2"), FindConstituent("NO1")};
    options.latitude = 60.0;
    const TidalAnalysis a = AnalyseTide(in, options);
    ASSERT_TRUE(a.error.empty());
    EXPECT_EQ(a.latitude, 60.0);
    const CurrentConstituent* no1 = Find(a, "NO1");
    ASSERT_NE(no1, nullptr);
    EXPECT_NEAR(no1->major, 5.0, 0.05);
    EXPECT_LT(AngleGap(no1->phase, 40.0), 0.2);
    options.latitude = std::nan("");
    EXPECT_GT(AngleGap(Find(AnalyseTide(in, options), "NO1")->phase, 40.0), 10.0);

    // Four years of K1 hourly: its amplitude follows f of each month, not
    // the middle's (f falls from about 1.11 to 0.95 over these years).
    TidalAnalysis k1;
    CurrentConstituent c;
    c.constituent = FindConstituent("K1");
    c.eastAmplitude = 10.0;
    k1.constituents.push_back(c);
    const DateTime from = *DateTime::FromCivil({2006, 1, 1, 0, 0, 0});
    const int hours = 4 * 8766;
    const TidalPrediction p = PredictTide(k1, from, 3600, hours);
    const double omega = 2 * std::numbers::pi * ConstituentFrequency(*c.constituent);
    for (int window : {0, hours / 2, hours - 240}) {
        // Least squares of a cosine and a sine over ten days.
        double cc = 0, cs = 0, ss = 0, yc = 0, ys = 0;
        for (int k = window; k < window + 240; ++k) {
            const double y = p.east[static_cast<std::size_t>(k)], co = std::cos(omega * k), si = std::sin(omega * k);
            cc += co * co, cs += co * si, ss += si * si, yc += y * co, ys += y * si;
        }
        const double det = cc * ss - cs * cs;
        const double amplitude = std::hypot((yc * ss - ys * cs) / det, (ys * cc - yc * cs) / det);
        const double f = NodalCorrectionOf(*c.constituent, AstronomyAt(from.AddSeconds((window + 120) * 3600LL))).f;
        EXPECT_NEAR(amplitude, 10.0 * f, 0.01) << window;
    }
}

TEST(HarmonicAnalysis, RefusesWhatCannotBeFitted) {
    TidalInput in;
    in.firstTime = *DateTime::FromCivil({2020, 1, 1, 0, 0, 0});
    in.east.assign(100, std::nan(""));
    in.north.assign(100, std::nan(""));
    EXPECT_FALSE(AnalyseTide(in).error.empty());
    // Three valid records cannot carry a mean and two constituents.
    in.east[0] = in.east[50] = in.east[99] = 1.0;
    in.north[0] = in.north[50] = in.north[99] = 1.0;
    TidalOptions options;
    options.constituents = {FindConstituent("M2")};
    options.rayleighFactor = 0.0;
    EXPECT_FALSE(AnalyseTide(in, options).error.empty());
}

}  // namespace
}  // namespace corvan
