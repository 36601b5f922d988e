// The astronomical arguments and nodal corrections against published
// values: mean longitudes at J2000, the node's extremes, argument identities.

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/tide_constituents.h"

namespace corvan {
namespace {

DateTime At(int y, int mo, int d, int h = 0, int mi = 0) { return *DateTime::FromCivil({y, mo, d, h, mi, 0}); }

double AngleGap(double a, double b) { return std::abs(std::remainder(a - b, 360.0)); }

TEST(TideAstronomy, MeanLongitudesAtJ2000MatchTheAlmanac) {
    // 2000-01-01 12:00: moon 218.3165, sun 280.4665, perigee 83.3532,
    // node 125.0445 degrees; the almanac's time scale is 64 s ahead of UT,
    // which the moon covers in 0.01 degree.
    const Astronomy a = AstronomyAt(At(2000, 1, 1, 12));
    EXPECT_LT(AngleGap(a.s, 218.3165), 0.05);
    EXPECT_LT(AngleGap(a.h, 280.4665), 0.01);
    EXPECT_LT(AngleGap(a.p, 83.3532), 0.02);
    EXPECT_LT(AngleGap(-a.nPrime, 125.0445), 0.01);
}

TEST(TideAstronomy, ArgumentsFollowTheSunAndAddUp) {
    const TidalConstituent& s2 = *FindConstituent("S2");
    // S2 is twice the mean sun's hour angle: 0 at midnight, 180 at 06:00.
    EXPECT_LT(AngleGap(AstronomicalArgument(s2, AstronomyAt(At(2011, 3, 7, 0))), 0.0), 1e-6);
    EXPECT_LT(AngleGap(AstronomicalArgument(s2, AstronomyAt(At(2011, 3, 7, 6))), 180.0), 1e-6);
    // K1 + O1 = M2 and M2 + S2 = MS4 at any moment.
    const Astronomy a = AstronomyAt(At(1987, 8, 14, 17, 40));
    auto v = [&](const char* name) { return AstronomicalArgument(*FindConstituent(name), a); };
    EXPECT_LT(AngleGap(v("K1") + v("O1"), v("M2")), 1e-9);
    EXPECT_LT(AngleGap(v("M2") + v("S2"), v("MS4")), 1e-9);
    EXPECT_LT(AngleGap(v("S2") - v("M2"), v("MSF")), 1e-9);
}

TEST(TideAstronomy, FrequenciesOfTheMainConstituents) {
    // Degrees per hour as tabulated.
    EXPECT_NEAR(ConstituentFrequency(*FindConstituent("M2")) * 360, 28.9841042, 1e-6);
    EXPECT_NEAR(ConstituentFrequency(*FindConstituent("S2")) * 360, 30.0, 1e-9);
    EXPECT_NEAR(ConstituentFrequency(*FindConstituent("K1")) * 360, 15.0410686, 1e-6);
    EXPECT_NEAR(ConstituentFrequency(*FindConstituent("O1")) * 360, 13.9430356, 1e-6);
    EXPECT_NEAR(ConstituentFrequency(*FindConstituent("N2")) * 360, 28.4397295, 1e-6);
    EXPECT_NEAR(ConstituentFrequency(*FindConstituent("MF")) * 360, 1.0980331, 1e-6);
    EXPECT_EQ(FindConstituent("m2"), FindConstituent("M2"));
    EXPECT_EQ(FindConstituent("X9"), nullptr);
}

TEST(TideAstronomy, NodalFactorsAtTheNodesExtremes) {
    // 2006-06-20 the ascending node stood at the equinox (N = 0, lunar
    // orbit 28.6 degrees to the equator); 2015-10-10 at N = 180 (18.3
    // degrees). Worked from cos I = 0.91370 - 0.03569 cos N:
    // M2 cos^4(I/2)/0.9154, K1 from sin 2I, O1 sin I cos^2(I/2)/0.38.
    struct Case {
        DateTime when;
        double m2, k1, o1;
    };
    for (const Case& c :
         {Case{At(2006, 6, 20), 0.9632, 1.1129, 1.1829}, Case{At(2015, 10, 10), 1.0379, 0.8815, 0.8054}}) {
        const Astronomy a = AstronomyAt(c.when);
        const NodalCorrection m2 = NodalCorrectionOf(*FindConstituent("M2"), a);
        const NodalCorrection k1 = NodalCorrectionOf(*FindConstituent("K1"), a);
        const NodalCorrection o1 = NodalCorrectionOf(*FindConstituent("O1"), a);
        EXPECT_NEAR(m2.f, c.m2, 0.001) << c.when.Iso();
        EXPECT_NEAR(k1.f, c.k1, 0.002) << c.when.Iso();
        EXPECT_NEAR(o1.f, c.o1, 0.002) << c.when.Iso();
        // At the extremes the node shifts no phase.
        EXPECT_NEAR(m2.u, 0.0, 0.1);
        EXPECT_NEAR(k1.u, 0.0, 0.2);
        EXPECT_NEAR(o1.u, 0.0, 0.2);
        // Compound tides take their parts' corrections.
        EXPECT_NEAR(NodalCorrectionOf(*FindConstituent("M4"), a).f, m2.f * m2.f, 1e-12);
        EXPECT_NEAR(NodalCorrectionOf(*FindConstituent("S2"), a).f, 1.0, 0.0);
    }
    // A quarter turn later the phase shifts are largest: M2 about -2.1,
    // K1 about -8.9 and O1 about +10.8 degrees (N = 90).
    const Astronomy q = AstronomyAt(At(2001, 10, 27));
    ASSERT_NEAR(360 - q.nPrime, 90.0, 1.0);
    EXPECT_NEAR(NodalCorrectionOf(*FindConstituent("M2"), q).u, -2.1, 0.15);
    EXPECT_NEAR(NodalCorrectionOf(*FindConstituent("K1"), q).u, -8.9, 0.3);
    EXPECT_NEAR(NodalCorrectionOf(*FindConstituent("O1"), q).u, 10.7, 0.3);
}

TEST(TideAstronomy, RayleighKeepsTheStrongerOfAClosePair) {
    std::vector<const TidalConstituent*> all;
    for (const TidalConstituent& c : StandardConstituents()) all.push_back(&c);
    auto names = [](const std::vector<const TidalConstituent*>& list) {
        std::string out;
        for (const TidalConstituent* c : list) out += std::string(c->name) + " ";
        return out;
    };
    std::vector<const TidalConstituent*> dropped;
    // 20 days: K1 and P1 are 182 days apart in beat, S2 and K2 too.
    const auto kept = SelectByRayleigh(all, 20 * 24.0, 1.0, &dropped);
    const std::string k = " " + names(kept);
    for (const char* name : {" M2 ", " S2 ", " K1 ", " O1 ", " M4 ", " MS4 ", " M6 ", " MF "})
        EXPECT_NE(k.find(name), std::string::npos) << name << " in" << k;
    for (const char* name : {" P1 ", " K2 ", " N2 ", " SA ", " SSA ", " MM "})
        EXPECT_EQ(k.find(name), std::string::npos) << name;
    EXPECT_NE((" " + names(dropped)).find(" P1 "), std::string::npos);
    // Every pair kept is at least one cycle per record apart.
    for (std::size_t i = 1; i < kept.size(); ++i)
        EXPECT_GE(ConstituentFrequency(*kept[i]) - ConstituentFrequency(*kept[i - 1]), 1.0 / 480 - 1e-12);
    // 227 days, a full file at ten minutes: about sixty, SA still not.
    const auto full = SelectByRayleigh(all, 227 * 24.0, 1.0);
    EXPECT_GE(full.size(), 50u);
    EXPECT_EQ((" " + names(full)).find(" SA "), std::string::npos);
    EXPECT_NE((" " + names(full)).find(" P1 "), std::string::npos);
}

}  // namespace
}  // namespace corvan
