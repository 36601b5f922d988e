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
    // At midnight the mean sun is 180 degrees from the meridian: K1 is
    // h + 90 and M3 is 3h - 3s + 180 (T + h - 90 and 3T - 3s + 3h with
    // T = 180).
    const Astronomy m = AstronomyAt(At(1995, 2, 3, 0));
    EXPECT_LT(AngleGap(AstronomicalArgument(*FindConstituent("K1"), m), m.h + 90), 1e-9);
    EXPECT_LT(AngleGap(AstronomicalArgument(*FindConstituent("M3"), m), 3 * m.h - 3 * m.s + 180), 1e-9);
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
    EXPECT_EQ(FindConstituent("m1"), FindConstituent("NO1"));
    EXPECT_EQ(FindConstituent("X9"), nullptr);
}

TEST(TideAstronomy, NodalCorrectionsSumTheSatellites) {
    // 2006-06-20 the ascending node stood at the equinox (N = 0, lunar
    // orbit 28.6 degrees to the equator); 2015-10-10 at N = 180 (18.3
    // degrees). f and u worked from Foreman's satellite table, and beside
    // them the classical closed forms (cos I = 0.91370 - 0.03569 cos N),
    // which ignore the perigee and so differ by up to 0.7 per cent.
    struct Case {
        DateTime when;
        double m2, k1, o1, s2, l2, l2u;
        double m2Closed, k1Closed, o1Closed;
    };
    for (const Case& c :
         {Case{At(2006, 6, 20), 0.9639, 1.1132, 1.1761, 1.0023, 0.6549, 14.99, 0.9632, 1.1129, 1.1829},
          Case{At(2015, 10, 10), 1.0382, 0.8812, 0.8004, 0.9979, 0.8790, -1.86, 1.0379, 0.8815, 0.8054}}) {
        const Astronomy a = AstronomyAt(c.when);
        auto nodal = [&](const char* name) { return NodalCorrectionOf(*FindConstituent(name), a); };
        EXPECT_NEAR(nodal("M2").f, c.m2, 5e-4) << c.when.Iso();
        EXPECT_NEAR(nodal("K1").f, c.k1, 5e-4) << c.when.Iso();
        EXPECT_NEAR(nodal("O1").f, c.o1, 5e-4) << c.when.Iso();
        EXPECT_NEAR(nodal("S2").f, c.s2, 5e-4) << c.when.Iso();
        EXPECT_NEAR(nodal("L2").f, c.l2, 5e-4) << c.when.Iso();
        EXPECT_NEAR(nodal("L2").u, c.l2u, 0.05) << c.when.Iso();
        EXPECT_NEAR(nodal("M2").f, c.m2Closed, 0.002) << c.when.Iso();
        EXPECT_NEAR(nodal("K1").f, c.k1Closed, 0.002) << c.when.Iso();
        EXPECT_NEAR(nodal("O1").f, c.o1Closed, 0.008) << c.when.Iso();
        // At the extremes the node shifts no phase.
        EXPECT_NEAR(nodal("M2").u, 0.0, 0.1);
        EXPECT_NEAR(nodal("K1").u, 0.0, 0.2);
        EXPECT_NEAR(nodal("O1").u, 0.0, 0.2);
        // Compound tides take their parts' corrections; the long-period
        // tides have no satellites in the table.
        EXPECT_NEAR(nodal("M4").f, nodal("M2").f * nodal("M2").f, 1e-12);
        EXPECT_NEAR(nodal("MSN2").f, nodal("M2").f * nodal("S2").f * nodal("N2").f, 1e-12);
        EXPECT_NEAR(nodal("MSN2").u, nodal("M2").u + nodal("S2").u - nodal("N2").u, 1e-9);
        EXPECT_EQ(nodal("MF").f, 1.0);
    }
    // A quarter turn later the phase shifts are largest: M2 -2.17, K1
    // -8.80 and O1 +10.94 degrees from the table, -2.1, -8.9 and +10.7
    // from the closed forms (N = 90).
    const Astronomy q = AstronomyAt(At(2001, 10, 27));
    ASSERT_NEAR(360 - q.nPrime, 90.0, 1.0);
    EXPECT_NEAR(NodalCorrectionOf(*FindConstituent("M2"), q).u, -2.17, 0.05);
    EXPECT_NEAR(NodalCorrectionOf(*FindConstituent("K1"), q).u, -8.80, 0.05);
    EXPECT_NEAR(NodalCorrectionOf(*FindConstituent("O1"), q).u, 10.94, 0.05);
}

TEST(TideAstronomy, LatitudeScalesTheThirdDegreeSatellites) {
    // NO1 (M1) is mostly third-degree satellites: worked from the table at
    // N = 180, without latitude f 1.1072 u -2.64, at 60 N 1.1412 -19.34,
    // at 20 S 1.1089 -9.13. K1's third-degree satellites are tiny.
    const Astronomy a = AstronomyAt(At(2015, 10, 10));
    const TidalConstituent& no1 = *FindConstituent("NO1");
    const TidalConstituent& k1 = *FindConstituent("K1");
    EXPECT_NEAR(NodalCorrectionOf(no1, a).f, 1.1072, 5e-4);
    EXPECT_NEAR(NodalCorrectionOf(no1, a).u, -2.64, 0.05);
    EXPECT_NEAR(NodalCorrectionOf(no1, a, 60.0).f, 1.1412, 5e-4);
    EXPECT_NEAR(NodalCorrectionOf(no1, a, 60.0).u, -19.34, 0.05);
    EXPECT_NEAR(NodalCorrectionOf(no1, a, -20.0).f, 1.1089, 5e-4);
    EXPECT_NEAR(NodalCorrectionOf(no1, a, -20.0).u, -9.13, 0.05);
    EXPECT_NEAR(NodalCorrectionOf(k1, a, 60.0).f, NodalCorrectionOf(k1, a).f, 5e-4);
    // Near the equator the diurnal ratio would grow without bound; it is
    // held at its value 5 degrees off (north at the equator itself).
    EXPECT_EQ(NodalCorrectionOf(no1, a, 0.0).f, NodalCorrectionOf(no1, a, 5.0).f);
    EXPECT_EQ(NodalCorrectionOf(no1, a, -1.0).u, NodalCorrectionOf(no1, a, -5.0).u);
    EXPECT_TRUE(std::isfinite(NodalCorrectionOf(no1, a, 0.0).u));
}

TEST(TideAstronomy, CompoundConstituentsAreTheSumsOfTheirParts) {
    // The arguments of a compound tide must be those of its parts added,
    // or its Greenwich phase means nothing.
    for (const TidalConstituent& c : StandardConstituents()) {
        if (c.parts[0].times == 0) continue;
        std::array<int, 6> sum{};
        int quarters = 0;
        for (const ConstituentPart& part : c.parts) {
            if (part.times == 0) continue;
            const TidalConstituent* main = FindConstituent(part.name);
            ASSERT_NE(main, nullptr) << c.name;
            ASSERT_EQ(main->parts[0].times, 0) << c.name << " is made of compounds";
            for (std::size_t k = 0; k < 6; ++k) sum[k] += part.times * main->doodson[k];
            quarters += part.times * main->quarters;
        }
        EXPECT_EQ(sum, c.doodson) << c.name;
        EXPECT_EQ(((quarters - c.quarters) % 4 + 4) % 4, 0) << c.name;
    }
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
