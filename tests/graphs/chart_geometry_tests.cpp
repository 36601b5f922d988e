#include "graphs/chart_geometry.h"

#include <gtest/gtest.h>

#include "data/date_time.h"

namespace corvan {
namespace {

double Days(int y, int mo, int d, int h = 0) { return DateTime::FromCivil({y, mo, d, h, 0, 0})->Days(); }

TEST(AxisMapping, HorizontalAndVerticalBothWays) {
    const AxisMapping bottom{0.0, 100.0, 50.0, 250.0};
    EXPECT_DOUBLE_EQ(bottom.ValueToPixel(25.0), 100.0);
    EXPECT_DOUBLE_EQ(bottom.PixelToValue(100.0), 25.0);
    // A vertical axis runs from its bottom pixel up.
    const AxisMapping left{10.0, 20.0, 300.0, 100.0};
    EXPECT_DOUBLE_EQ(left.ValueToPixel(15.0), 200.0);
    EXPECT_DOUBLE_EQ(left.ValueToPixel(20.0), 100.0);
    EXPECT_DOUBLE_EQ(left.PixelToValue(250.0), 12.5);
    EXPECT_DOUBLE_EQ(left.Length(), 200.0);
    // A collapsed axis maps to one pixel instead of dividing by zero.
    const AxisMapping flat{5.0, 5.0, 0.0, 100.0};
    EXPECT_DOUBLE_EQ(flat.ValueToPixel(7.0), 0.0);
}

TEST(LeftAxis, FirstPassRoundsTheMinimumDownToTheIncrement) {
    EXPECT_NEAR(LeftAxisRoundedMinimum(9.9, 0.1), 9.9, 1e-9);
    EXPECT_NEAR(LeftAxisRoundedMinimum(10.03, 0.1), 10.0, 1e-9);
    EXPECT_NEAR(LeftAxisRoundedMinimum(10.07, 0.1), 10.0, 1e-9);
    EXPECT_NEAR(LeftAxisRoundedMinimum(-3.2, 1.0), -4.0, 1e-9);
    EXPECT_NEAR(LeftAxisRoundedMinimum(17.0, 5.0), 15.0, 1e-9);
}

TEST(LeftAxis, LabelIncrementGrowsByOneTwoFiveUntilLabelsFit) {
    // Labels of 10 px with 10 % separation need 11 px each on 200 px.
    EXPECT_DOUBLE_EQ(LabelIncrement(0.0, 10.0, 0.1, 200.0, 10.0, 10.0), 1.0);
    EXPECT_DOUBLE_EQ(LabelIncrement(0.0, 10.0, 0.1, 1200.0, 10.0, 10.0), 0.1);
    EXPECT_DOUBLE_EQ(LabelIncrement(0.0, 360.0, 1.0, 300.0, 12.0, 10.0), 20.0);
    // Nothing to divide: the requested increment stays.
    EXPECT_DOUBLE_EQ(LabelIncrement(5.0, 5.0, 0.1, 200.0, 10.0, 10.0), 0.1);
    EXPECT_DOUBLE_EQ(LabelIncrement(0.0, 10.0, 0.1, 0.0, 10.0, 10.0), 0.1);
}

TEST(LeftAxis, SecondPassRoundsOutwardsWithHeadroom) {
    AxisRange r = LeftAxisRoundedLimits(2.3, 48.7, 5.0, 302.0);
    EXPECT_DOUBLE_EQ(r.minimum, 0.0);
    EXPECT_DOUBLE_EQ(r.maximum, 50.0);
    // 49.9 rounds to 50, less than two pixels above the data.
    r = LeftAxisRoundedLimits(2.3, 49.9, 5.0, 302.0);
    EXPECT_NEAR(r.maximum, 49.9 + 2.0 * 50.0 / 300.0, 1e-9);
    r = LeftAxisRoundedLimits(-7.2, 3.0, 2.0, 100.0);
    EXPECT_DOUBLE_EQ(r.minimum, -8.0);
    EXPECT_DOUBLE_EQ(r.maximum, 4.0);
}

TEST(LeftAxis, BothPassesAndTheirLabels) {
    // Temperature 9.9 .. 10.1 on a tall axis keeps the increment 0.1.
    LeftAxis a = AdjustLeftAxis(kModeTime, 9.9, 10.1, 0.1, 400.0, 600.0, 12.0, 10.0);
    EXPECT_NEAR(a.minimum, 9.9, 1e-9);
    EXPECT_GE(a.maximum, 10.1);
    EXPECT_DOUBLE_EQ(a.increment, 0.1);
    std::vector<double> labels = LeftAxisLabelValues(kModeTime, a, 9.9, 10.1, 0.1);
    ASSERT_GE(labels.size(), 3u);
    EXPECT_NEAR(labels[0], 9.9, 1e-9);
    EXPECT_NEAR(labels[2], 10.1, 1e-9);

    // Direction 0..360 on 300 px: 20 degree labels; 18.5 increments round
    // to the even 18, so only the headroom lies above 360.
    a = AdjustLeftAxis(kModeTime, 0.0, 360.0, 1.0, 300.0, 600.0, 12.0, 10.0);
    EXPECT_DOUBLE_EQ(a.increment, 20.0);
    EXPECT_DOUBLE_EQ(a.minimum, 0.0);
    EXPECT_GT(a.maximum, 360.0);
    labels = LeftAxisLabelValues(kModeTime, a, 0.0, 360.0, 1.0);
    ASSERT_EQ(labels.size(), 19u);
    EXPECT_DOUBLE_EQ(labels.back(), 360.0);

    // The stick diagram gives the data maximum a fifth of the bottom axis.
    a = AdjustLeftAxis(kModeStick, 0.0, 30.0, 1.0, 200.0, 500.0, 12.0, 10.0);
    EXPECT_DOUBLE_EQ(a.minimum, -60.0);
    EXPECT_DOUBLE_EQ(a.maximum, 60.0);
    EXPECT_EQ(StickLeftRange(0.0, 30.0, 50.0, 500.0).maximum, 30.0);
    EXPECT_EQ(StickLeftRange(0.0, 30.0, 50.0, 0.0).maximum, 30.0);
}

TEST(AxisLabels, ValuesAndTexts) {
    const std::vector<double> v = AxisLabelValues(-50.0, 7300.0, 3600.0);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_DOUBLE_EQ(v[0], 0.0);
    EXPECT_DOUBLE_EQ(v[2], 7200.0);
    EXPECT_EQ(AxisLabelText(7200.0, 3600.0, true, 0, "."), "2");
    EXPECT_EQ(AxisLabelText(3000.0, 1000.0, true, 0, "."), "3");
    EXPECT_EQ(AxisLabelText(7200.0, 3600.0, false, 0, "."), "7200");
    EXPECT_EQ(AxisLabelText(12.34, 0.1, false, 1, ","), "12,3");
    EXPECT_EQ(AxisLabelText(-0.01, 0.1, false, 1, "."), "0.0");
    EXPECT_EQ(AxisLabelText(5.0, 1.0, true, 0, "."), "5");
    EXPECT_EQ(FormatDecimals("0.0"), 1);
    EXPECT_EQ(FormatDecimals("0"), 0);
    const AxisRange r = DataRange(10.05, 9.9, 0.1);
    EXPECT_NEAR(r.maximum, 10.1, 1e-9);
    EXPECT_EQ(DataRange(50.0, 2.0, 0.1).maximum, 50.0);
}

TEST(TimeUnit, ChosenBySpanAndInterval) {
    EXPECT_STREQ(BottomTimeUnit(0, 300, 2).caption, "Seconds");
    EXPECT_STREQ(BottomTimeUnit(0, 86400, 600).caption, "Hours");
    EXPECT_STREQ(BottomTimeUnit(0, 11 * 86400.0, 600).caption, "Days");
    EXPECT_STREQ(BottomTimeUnit(0, 599, 60).caption, "Minutes");
    EXPECT_STREQ(BottomTimeUnit(0, 599, 59).caption, "Seconds");
    EXPECT_STREQ(BottomTimeUnit(1000, 36999, 600).caption, "Minutes");
    EXPECT_STREQ(BottomTimeUnit(0, 36000, 600).caption, "Hours");
    EXPECT_STREQ(BottomTimeUnit(0, 863999, 600).caption, "Hours");
    EXPECT_STREQ(BottomTimeUnit(0, 864000, 600).caption, "Days");
    // Hourly data never shows minutes.
    EXPECT_STREQ(BottomTimeUnit(0, 7200, 3600).caption, "Hours");
    EXPECT_EQ(BottomTimeUnit(0, 864000, 600).increment, 86400.0);
    EXPECT_EQ(BottomTimeUnit(0, 7200, 60).increment, 60.0);
}

TEST(DateAxis, DayLabelsPositionsAndLift) {
    EXPECT_EQ(DateAxisLabel(Days(1997, 3, 5, 12)), "05.Mar");
    EXPECT_EQ(DateAxisLabel(Days(2001, 12, 31)), "31.Dec");

    const double t0 = Days(1997, 2, 27, 18);
    const AxisRange range = DateAxisRange(t0, 0.0, 2 * 86400.0);
    EXPECT_DOUBLE_EQ(range.maximum - range.minimum, 2.0);
    std::vector<DayMark> days = DateAxisDays(range);
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(days[0].label, "28.Feb");
    EXPECT_EQ(days[1].label, "01.Mar");
    EXPECT_EQ(DateAxisDays(DateAxisRange(t0, 0.0, 10 * 86400.0), 2.0).size(), 5u);

    // 1997-02-28 00:00 is a quarter of the way along 2 days from 18:00.
    const AxisMapping axis{range.minimum, range.maximum, 100.0, 500.0};
    std::vector<int> x = DayGridPositions(days, axis);
    ASSERT_EQ(x.size(), 2u);
    EXPECT_EQ(x[0], 150);
    EXPECT_EQ(x[1], 350);
    // A day on the axis end draws no grid line; one pixel takes one line.
    const AxisRange midnight{Days(1997, 3, 1), Days(1997, 3, 3)};
    x = DayGridPositions(DateAxisDays(midnight), AxisMapping{midnight.minimum, midnight.maximum, 0.0, 200.0});
    ASSERT_EQ(x.size(), 1u);
    EXPECT_EQ(x[0], 100);
    const std::vector<DayMark> twice{{Days(1997, 3, 2), ""}, {Days(1997, 3, 2), ""}};
    EXPECT_EQ(DayGridPositions(twice, AxisMapping{midnight.minimum, midnight.maximum, 0.0, 200.0}).size(), 1u);

    EXPECT_DOUBLE_EQ(DateAxisLiftPercent(13, 1, 10, 300), 10.0);
    EXPECT_DOUBLE_EQ(DateAxisLiftPercent(13, 1, 10, 0), 0.0);
}

TEST(Zoom, KeepsThreeIntervalsAndNoNegativeTime) {
    // Less than three intervals: widened to the left.
    AxisRange r = ZoomBottomRange(6000, 6500, 600, 100000);
    EXPECT_DOUBLE_EQ(r.minimum, 4700);
    EXPECT_DOUBLE_EQ(r.maximum, 6500);
    // Near the start: from 0 over three intervals.
    r = ZoomBottomRange(1000, 1500, 600, 100000);
    EXPECT_DOUBLE_EQ(r.minimum, 0);
    EXPECT_DOUBLE_EQ(r.maximum, 1800);
    // Dragged from left of the axis: the first three intervals, whatever
    // the rectangle's right end (the rule users learn).
    r = ZoomBottomRange(-100, 5000, 600, 100000);
    EXPECT_DOUBLE_EQ(r.minimum, 0);
    EXPECT_DOUBLE_EQ(r.maximum, 1800);
    r = ZoomBottomRange(-100, 5000, 600, 1000);
    EXPECT_DOUBLE_EQ(r.maximum, 1000);
    // Shorter data than three intervals: up to its end.
    r = ZoomBottomRange(0, 100, 600, 1200);
    EXPECT_DOUBLE_EQ(r.maximum, 1200);
    r = ZoomBottomRange(2000, 9000, 600, 100000);
    EXPECT_DOUBLE_EQ(r.minimum, 2000);
    EXPECT_DOUBLE_EQ(r.maximum, 9000);
}

TEST(Zoom, ViewStaysInsideTheData) {
    AxisRange r = KeepInsideData(-50, 950, 0, 5000);
    EXPECT_DOUBLE_EQ(r.minimum, 0);
    EXPECT_DOUBLE_EQ(r.maximum, 1000);
    r = KeepInsideData(4500, 5500, 0, 5000);
    EXPECT_DOUBLE_EQ(r.minimum, 4000);
    EXPECT_DOUBLE_EQ(r.maximum, 5000);
    r = KeepInsideData(100, 7000, 0, 5000);
    EXPECT_DOUBLE_EQ(r.minimum, 0);
    EXPECT_DOUBLE_EQ(r.maximum, 6900);
    r = KeepInsideData(100, 900, 0, 5000);
    EXPECT_DOUBLE_EQ(r.minimum, 100);
}

TEST(Pan, RefusedAtTheLimitsAndSetThereInstead) {
    PanResult p = PanBottomRange(1000, 2000, 0, 5000);
    EXPECT_TRUE(p.allowed);
    p = PanBottomRange(-100, 900, 0, 5000);
    EXPECT_FALSE(p.allowed);
    EXPECT_DOUBLE_EQ(p.minimum, 0);
    EXPECT_DOUBLE_EQ(p.maximum, 1000);
    p = PanBottomRange(4500, 5500, 0, 5000);
    EXPECT_FALSE(p.allowed);
    EXPECT_DOUBLE_EQ(p.minimum, 4000);
    EXPECT_DOUBLE_EQ(p.maximum, 5000);
    p = PanBottomRange(100, 6100, 0, 5000);
    EXPECT_FALSE(p.allowed);
    EXPECT_DOUBLE_EQ(p.minimum, 0);
    EXPECT_DOUBLE_EQ(p.maximum, 6000);
    EXPECT_TRUE(PanBottomRange(-0.2, -0.15, 0, 5000).allowed);
}

TEST(DoubleClick, RecordUnderTheMouse) {
    EXPECT_EQ(RecordAtX(1250, 600, 10, 100, 1000), 12);
    EXPECT_EQ(RecordAtX(-900, 600, 10, 100, 1000), 10);
    EXPECT_EQ(RecordAtX(1e7, 600, 10, 100, 1000), 100);
    EXPECT_EQ(RecordAtX(1e7, 600, 10, 100, 50), 50);
    EXPECT_EQ(RecordAtX(1e300, 0.0, 10, 100, 1000), 10);
}

}  // namespace
}  // namespace corvan
