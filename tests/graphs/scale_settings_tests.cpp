#include "graphs/scale_settings.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

ScaleSettings AutomaticSpeedOf2_3To48_7() {
    ScaleSettings s;
    s.speedMin = 2.3f;
    s.speedMax = 48.7f;
    s.temperatureMin = 4.0f;
    s.temperatureMax = 11.5f;
    s.speedBarMax = 20;
    s.directionBarMax = 30;
    s.speedRange = 1;
    return s;
}

ScaleFields Unchanged(const ScaleSettings& s) { return FillScaleFields(s, ScaleFieldAvailability{}, "."); }

TEST(ScaleFields, FilledWithOneDecimalAndOnlyForTheFilesChannels) {
    ScaleSettings s = AutomaticSpeedOf2_3To48_7();
    s.optionalMax = 12.25f;
    s.speedRange = 3;
    ScaleFields f = FillScaleFields(s, ScaleFieldAvailability{}, ",");
    EXPECT_EQ(f.speedMin, "2,3");
    EXPECT_EQ(f.speedMax, "48,7");
    EXPECT_EQ(f.temperatureMax, "11,5");
    EXPECT_EQ(f.optionalMax, "");
    EXPECT_EQ(f.oxygenFluxMin, "");
    EXPECT_EQ(f.fluxMax, "");
    EXPECT_EQ(f.speedBarMax, "20");
    EXPECT_EQ(f.speedRangeIndex, 2);
    f = FillScaleFields(s, ScaleFieldAvailability{true, true, false}, ".");
    EXPECT_EQ(f.optionalMax, "12.3");
    EXPECT_EQ(f.oxygenMglMin, "0.0");
    EXPECT_EQ(f.fluxMax, "");
}

TEST(ScaleFields, UnchangedFieldsGiveNoWarning) {
    ScaleSettings s = AutomaticSpeedOf2_3To48_7();
    s.speedMin = 2.34f;   // shown as 2.3
    s.speedMax = 48.74f;  // shown as 48.7
    EXPECT_TRUE(ApplyManualScaleFields(s, Unchanged(s)));
    EXPECT_FLOAT_EQ(s.speedMin, 2.3f);
    EXPECT_FLOAT_EQ(s.speedMax, 48.7f);
}

TEST(ScaleFields, RaisedMinimumWarnsAndIsKept) {
    ScaleSettings s = AutomaticSpeedOf2_3To48_7();
    ScaleFields f = Unchanged(s);
    f.speedMin = "5";
    EXPECT_FALSE(ApplyManualScaleFields(s, f));
    EXPECT_FLOAT_EQ(s.speedMin, 5.0f);

    s = AutomaticSpeedOf2_3To48_7();
    f.speedMin = "2.35";
    EXPECT_TRUE(ApplyManualScaleFields(s, f));
    EXPECT_FLOAT_EQ(s.speedMin, 2.35f);
}

TEST(ScaleFields, LoweredMaximumWarns) {
    ScaleSettings s = AutomaticSpeedOf2_3To48_7();
    ScaleFields f = Unchanged(s);
    f.temperatureMax = "11.4";
    EXPECT_FALSE(ApplyManualScaleFields(s, f));
    s = AutomaticSpeedOf2_3To48_7();
    f.temperatureMax = "11.42";
    EXPECT_TRUE(ApplyManualScaleFields(s, f));
    s = AutomaticSpeedOf2_3To48_7();
    f = Unchanged(s);
    f.directionBarMax = "29";
    EXPECT_FALSE(ApplyManualScaleFields(s, f));
    EXPECT_EQ(s.directionBarMax, 29);
}

TEST(ScaleFields, NonNumbersAreIgnoredWithoutWarning) {
    ScaleSettings s = AutomaticSpeedOf2_3To48_7();
    ScaleFields f = Unchanged(s);
    f.temperatureMax = "abc";
    f.speedBarMax = "";
    EXPECT_TRUE(ApplyManualScaleFields(s, f));
    EXPECT_FLOAT_EQ(s.temperatureMax, 11.5f);
    EXPECT_EQ(s.speedBarMax, 20);
}

TEST(ScaleFields, BarMaximaAreRoundedAndTheRangeTaken) {
    ScaleSettings s = AutomaticSpeedOf2_3To48_7();
    ScaleFields f = Unchanged(s);
    f.speedBarMax = "12.6";
    f.directionBarMax = "40.5";
    f.speedRangeIndex = 3;
    EXPECT_FALSE(ApplyManualScaleFields(s, f));  // 12.6 lowers 20
    EXPECT_EQ(s.speedBarMax, 13);
    EXPECT_EQ(s.directionBarMax, 40);  // halves to even
    EXPECT_EQ(s.speedRange, 4);
    f.speedBarMax = "1e300";
    ApplyManualScaleFields(s, f);
    EXPECT_EQ(s.speedBarMax, 2147483647);
}

TEST(ScaleFields, RunningStartValuesAreNotTakenAsLimits) {
    ScaleSettings s = AutomaticSpeedOf2_3To48_7();
    ScaleFields f = Unchanged(s);
    f.speedMin = "1e30";
    f.speedMax = "-1e30";
    EXPECT_TRUE(ApplyManualScaleFields(s, f));
    EXPECT_FLOAT_EQ(s.speedMin, 2.3f);
    EXPECT_FLOAT_EQ(s.speedMax, 48.7f);
    // The temperature has no such guard; a value beyond single range is cut to it.
    f = Unchanged(s);
    f.temperatureMin = "-1e300";
    EXPECT_TRUE(ApplyManualScaleFields(s, f));
    EXPECT_EQ(s.temperatureMin, -std::numeric_limits<float>::max());
}

TEST(ScaleFields, NumbersWithEitherSeparator) {
    double v = 0;
    EXPECT_TRUE(ParseScaleNumber(" 3,5 ", v));
    EXPECT_DOUBLE_EQ(v, 3.5);
    EXPECT_TRUE(ParseScaleNumber("-2.25", v));
    EXPECT_DOUBLE_EQ(v, -2.25);
    EXPECT_TRUE(ParseScaleNumber("+1e3", v));
    EXPECT_DOUBLE_EQ(v, 1000.0);
    for (const char* bad : {"", "  ", "abc", "1.2.3", "nan", "inf", "5x", "+-1", "1,2,3"})
        EXPECT_FALSE(ParseScaleNumber(bad, v)) << bad;
}

}  // namespace
}  // namespace corvan
