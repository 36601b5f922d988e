// The thermistor calculators: the three-point solve against its inverse, the
// failure values, the resistance search's ends and the texts of the boxes.

#include <gtest/gtest.h>

#include <cmath>

#include "tools/calibration.h"
#include "tools/number_entry.h"

namespace corvan {
namespace {

// A common 10 kOhm thermistor.
const Coefficients kThermistor{1.129148e-3, 2.34125e-4, 8.76741e-8};
// One that spans about -1 .. 300 deg C over the searched 0.9 .. 6399.9 ohm.
const Coefficients kSearchable = SolveSteinhartHart({6000.0, 2000.0, 700.0}, {0.0, 20.0, 40.0});

TEST(NumberEntry, EitherSeparatorWhateverTheSystemUses) {
    EXPECT_DOUBLE_EQ(*ParseUserNumber("25,5", '.'), 25.5);
    EXPECT_DOUBLE_EQ(*ParseUserNumber("25.5", '.'), 25.5);
    EXPECT_DOUBLE_EQ(*ParseUserNumber("25.5", ','), 25.5);
    EXPECT_DOUBLE_EQ(*ParseUserNumber(" -1,5E+03 ", ','), -1500.0);
    EXPECT_DOUBLE_EQ(*ParseUserNumber("+7", '.'), 7.0);
    // Only the first foreign separator becomes the system's.
    EXPECT_FALSE(ParseUserNumber("1,234,5", '.'));
    for (const char* bad : {"", " ", "abc", "1e", ".", "-", "12a", "1..2", "0x10", "inf", "nan"})
        EXPECT_FALSE(ParseUserNumber(bad, '.')) << bad;
}

TEST(NumberEntry, DisplayFormats) {
    EXPECT_EQ(FormatExponent(1.2345678e-3), "1.234568E-03");
    EXPECT_EQ(FormatExponent(-999.0), "-9.990000E+02");
    EXPECT_EQ(FormatExponent(2.5e-7, 7, ','), "2,500000E-07");
    EXPECT_EQ(FormatFixed(25.5, 2), "25.50");
    EXPECT_EQ(FormatFixed(25.5, 2, 15, ','), "25,50");
    EXPECT_EQ(FormatFixed(9999.6, 0), "10000");
    // Six significant digits first, then the decimals.
    EXPECT_EQ(FormatFixed(12345.678, 2, 6), "12345.70");
    EXPECT_EQ(FormatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(FormatFixed(1234567.0, 1, 6), "1.23457E+06");
    EXPECT_EQ(FormatWidth(1000.0, 6, 0), "  1000");
    EXPECT_EQ(FormatWidth(2.5, 5, 2), " 2.50");
    EXPECT_EQ(FormatWidth(1234567.0, 6, 0), "1234567");
}

TEST(SteinhartHart, ThreePointsSolveBackToTheirCurve) {
    const std::array<double, 3> r{30000.0, 10000.0, 3000.0};
    std::array<double, 3> t{};
    for (int i = 0; i < 3; ++i)
        t[static_cast<std::size_t>(i)] = *TemperatureOfResistance(kThermistor, r[static_cast<std::size_t>(i)]);
    EXPECT_NEAR(t[1], 25.0 - 0.01, 0.1);  // 10 kOhm near 25 deg C with the 273.16 offset
    const Coefficients k = SolveSteinhartHart(r, t);
    EXPECT_NEAR(k.a, kThermistor.a, 1e-12);
    EXPECT_NEAR(k.b, kThermistor.b, 1e-13);
    EXPECT_NEAR(k.c, kThermistor.c, 1e-15);
    for (double rr : {500.0, 5000.0, 50000.0})
        EXPECT_NEAR(*TemperatureOfResistance(k, rr), *TemperatureOfResistance(kThermistor, rr), 1e-7);
}

TEST(SteinhartHart, UnsolvableInputGivesTheFailureValues) {
    for (const std::array<double, 3>& r :
         {std::array<double, 3>{0.0, 10000.0, 3000.0}, std::array<double, 3>{30000.0, -5.0, 3000.0},
          std::array<double, 3>{10000.0, 10000.0, 3000.0}}) {
        const Coefficients k = SolveSteinhartHart(r, {0.0, 10.0, 20.0});
        EXPECT_EQ(k.a, kFailedCoefficient);
        EXPECT_EQ(k.b, kFailedCoefficient);
        EXPECT_EQ(k.c, kFailedCoefficient);
    }
    EXPECT_FALSE(TemperatureOfResistance(kThermistor, 0.0));
    EXPECT_FALSE(TemperatureOfResistance(kThermistor, -1.0));
    EXPECT_FALSE(TemperatureOfResistance(Coefficients{}, 1000.0));  // denominator 0
}

TEST(CalRawDialogRules, BoxesCoefficientsAndTheSheet) {
    CalRawModel m('.');
    EXPECT_EQ(m.Enter(CalRawModel::R1, "30000"), "30000");
    EXPECT_EQ(m.Enter(CalRawModel::T1, "5,5"), "5.50");
    EXPECT_EQ(m.Enter(CalRawModel::R2, "10000,4"), "10000");
    EXPECT_EQ(m.Enter(CalRawModel::T2, "25"), "25.00");
    EXPECT_EQ(m.Enter(CalRawModel::R3, "x"), "x");
    EXPECT_EQ(m.Enter(CalRawModel::T3, "40"), "40.00");
    EXPECT_FALSE(m.AllValid());
    EXPECT_EQ(m.Enter(CalRawModel::R3, "5000"), "5000");
    ASSERT_TRUE(m.AllValid());
    // The computed curve passes through the three points.
    EXPECT_EQ(m.TestPad("10000.4"), "25.00");
    EXPECT_EQ(m.TestPad("5000"), "40.00");
    EXPECT_EQ(m.TestPad("0"), kErrorText);
    EXPECT_EQ(m.TestPad(""), kErrorText);

    const auto sheet = m.SheetHeading("CV 1234");
    ASSERT_EQ(sheet.size(), 11u);
    EXPECT_EQ(sheet[0], "Temperature calibration from RAW data.");
    EXPECT_EQ(sheet[1], "");
    EXPECT_EQ(sheet[2], "Instrument number:CV 1234");
    EXPECT_EQ(sheet[4], "R1 =  30000  T1=  5.50");
    EXPECT_EQ(sheet[5], "R2 =  10000  T2= 25.00");
    EXPECT_EQ(sheet[7].substr(0, 4), "A = ");
    EXPECT_EQ(sheet[7].substr(4), m.CoefficientText(0));
    EXPECT_EQ(sheet[10], "");
    EXPECT_EQ(m.SheetTestLine("10000", "25.00"), "R =  10000  T = 25.00");
    EXPECT_EQ(m.SheetTestLine("abc", "Error"), "R =      0  T =  0.00");

    m.Enter(CalRawModel::R2, "-1");
    EXPECT_EQ(m.CoefficientText(0), "-9.990000E+02");
    EXPECT_EQ(m.CoefficientText(2), "-9.990000E+02");
}

TEST(ResistanceSearch, FindsTheFirstCandidateFromTheTopThatReachesTheTemperature) {
    for (double t : {0.0, 4.37, 25.0, 60.0, 150.0}) {
        const ResistanceSearch s = SearchResistance(kSearchable, t);
        ASSERT_EQ(s.end, SearchEnd::Found) << t;
        EXPECT_GE(SearchTemperature(kSearchable, s.k), t);
        // Every candidate above it stayed below the temperature.
        for (int k = s.k + 1; k <= kSearchTop; ++k) ASSERT_LT(SearchTemperature(kSearchable, k), t) << k;
    }
}

TEST(ResistanceSearch, EndsOfTheWalk) {
    // Anything at or below T(6399.9) is reached at the very first step.
    const double coolest = SearchTemperature(kSearchable, kSearchTop);
    EXPECT_EQ(SearchResistance(kSearchable, coolest).end, SearchEnd::Underflow);
    EXPECT_EQ(SearchResistance(kSearchable, coolest).k, kSearchTop);
    EXPECT_EQ(SearchResistance(kSearchable, coolest + 1e-6).end, SearchEnd::Found);
    // Hotter than T(0.9) is never reached.
    const double hottest = SearchTemperature(kSearchable, kSearchBottom);
    EXPECT_EQ(SearchResistance(kSearchable, hottest + 1.0).end, SearchEnd::Overflow);
    // Exactly T(0.9) stops at k = 9, still below 10.
    EXPECT_EQ(SearchResistance(kSearchable, hottest).end, SearchEnd::Overflow);
    EXPECT_EQ(SearchResistance(kSearchable, SearchTemperature(kSearchable, 10)).k, 10);
    // Where the curve cannot be computed the search sees 9999.
    EXPECT_EQ(SearchTemperature(Coefficients{}, 1000), 9999.0);
    EXPECT_EQ(SearchResistance(Coefficients{}, 100.0).end, SearchEnd::Underflow);
}

TEST(ReCalcDialogRules, RtAndNewA) {
    const Coefficients k = kSearchable;
    ReCalcModel m('.');
    EXPECT_EQ(m.EnterCoefficient(0, FormatExponent(k.a, 15)), FormatExponent(k.a));
    m.EnterCoefficient(1, FormatExponent(k.b, 15));
    EXPECT_FALSE(m.AllValid());
    EXPECT_EQ(m.EnterCoefficient(2, "abc"), "abc");
    EXPECT_FALSE(m.AllValid());
    m.EnterCoefficient(2, FormatExponent(k.c, 15));
    ASSERT_TRUE(m.AllValid());

    const std::string rt = m.RtText("20");
    EXPECT_NEAR(std::stod(rt), 2000.0, 0.11);
    EXPECT_EQ(rt.find('.'), rt.size() - 2);
    EXPECT_EQ(m.RtText("abc"), "");
    EXPECT_EQ(m.RtText("-50"), kUnderflowText);
    EXPECT_EQ(m.RtText("5000"), kOverflowText);

    // The reference agrees with the measurement: A comes back (to the
    // resolution of Rt).
    const std::string a = m.NewAText(rt, "20,0");
    EXPECT_NEAR(std::stod(a), k.a, 1e-7);
    // A sensor that reads 0.5 degrees low needs a smaller A.
    EXPECT_LT(std::stod(m.NewAText(rt, "20.5")), k.a);
    EXPECT_EQ(m.NewAText("0.04", "20"), "");
    EXPECT_EQ(m.NewAText("Overflow", "20"), "");
    EXPECT_EQ(m.NewAText(rt, ""), "");
    EXPECT_EQ(m.NewAText(rt, "-273.16"), kOverflowText);
    // Rt is typed freely; a resistance above the 16-bit range keeps its value.
    EXPECT_NE(m.NewAText("7000", "20"), m.NewAText("446.4", "20"));
}

}  // namespace
}  // namespace corvan
