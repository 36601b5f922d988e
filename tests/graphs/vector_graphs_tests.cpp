// The vector graphs' numbers: legend texts, equal scale, captions, day marks,
// sticks and sector values.

#include <gtest/gtest.h>

#include "graphs/scale_settings.h"
#include "graphs/vector_graphs.h"
#include "stats_test_data.h"

namespace corvan {
namespace {

TEST(ProgressiveVector, ConstantEastCurrentEndsAt600Metres) {
    DataSet data;
    testing::FillDataSet(data, std::vector<testing::Rec>(10, {10.0f, 90.0}));
    std::vector<ProgressivePoint> path;
    const ProgressiveFigures f = ComputeProgressiveFigures(data, &path);
    ASSERT_EQ(path.size(), 11u);
    EXPECT_NEAR(path[1].east, 60.0, 1e-3);
    EXPECT_NEAR(path.back().east, 600.0, 1e-3);
    EXPECT_NEAR(path.back().north, 0.0, 1e-3);
    const ProgressiveLegend l = ProgressiveLegendTexts(f, data.rangeCount);
    EXPECT_EQ(l.neumann, "Neumann parameter: 1.000");
    EXPECT_EQ(l.restSpeed, "Rest speed: 10.0 cm/s");
    EXPECT_EQ(l.restDirection, "Rest direction: 90 deg.");
    EXPECT_EQ(l.averageSpeed, "Average speed: 10.0 cm/s");
    EXPECT_FALSE(l.validPointsShown);
}

TEST(ProgressiveVector, SkippedRecordsAreCountedAndNoted) {
    ProgressiveFigures f;
    f.plottedCount = 7;
    f.restSpeed = 2.5f;
    const ProgressiveLegend l = ProgressiveLegendTexts(f, 9);
    EXPECT_TRUE(l.validPointsShown);
    EXPECT_EQ(l.validPoints, "Valid data points: 7");
    // F(3, 1) pads to three characters.
    EXPECT_EQ(l.restSpeed, "Rest speed: 2.5 cm/s");
    EXPECT_EQ(ProgressiveCaptions(100, 100, true).leftCaption, "meters N (Skipped invalid data.)");
}

TEST(ProgressiveVector, KilometresOnlyWhenTheSmallerSpanExceeds5000) {
    VectorAxisCaptions c = ProgressiveCaptions(20000, 5001, false);
    EXPECT_EQ(c.increment, 1000.0);
    EXPECT_EQ(c.leftCaption, "km N");
    EXPECT_EQ(c.footCaption, "km E");
    EXPECT_EQ(ProgressiveCaptions(20000, 5001, true).leftCaption, "km N (Skipped invalid data.)");
    c = ProgressiveCaptions(20000, 5000, false);
    EXPECT_EQ(c.increment, 1.0);
    EXPECT_EQ(c.leftCaption, "meters N");
    EXPECT_EQ(c.footCaption, "meters E");
}

TEST(EqualScale, OneMetreTakesTheSamePixelsBothWays) {
    // 0..600 east, 0..100 north on a 500 x 200 pixel plot: east sets the scale.
    const VectorRange r = EqualScaleRange(0, 600, 0, 100, 500, 200);
    EXPECT_DOUBLE_EQ(r.bottomMinimum, -30.0);
    EXPECT_DOUBLE_EQ(r.bottomMaximum, 630.0);
    EXPECT_DOUBLE_EQ(r.leftMinimum, -5.0);
    const double u = (r.bottomMaximum - r.bottomMinimum) / 500;
    EXPECT_DOUBLE_EQ((r.leftMaximum - r.leftMinimum) / 200, u);
    // A single point, and a plot without length, still give usable axes.
    const VectorRange p = EqualScaleRange(0, 0, 0, 0, 500, 200);
    EXPECT_GT(p.bottomMaximum, p.bottomMinimum);
    EXPECT_GT(p.leftMaximum, p.leftMinimum);
    EXPECT_DOUBLE_EQ(ZoomedUnitsPerPixel(100, 0, 50, 100), 1.0);
    EXPECT_DOUBLE_EQ(ZoomedUnitsPerPixel(100, 50, 50, 100), 2.0);
}

TEST(VectorZoom, ViewMovesBackNearTheData) {
    // Data 0..1000, view span 100: the widened extent is -10..1010.
    AxisRange r = KeepViewNearData(-50, 50, 0, 1000);
    EXPECT_DOUBLE_EQ(r.minimum, -10.0);
    EXPECT_DOUBLE_EQ(r.maximum, 90.0);
    r = KeepViewNearData(950, 1050, 0, 1000);
    EXPECT_DOUBLE_EQ(r.minimum, 910.0);
    EXPECT_DOUBLE_EQ(r.maximum, 1010.0);
    r = KeepViewNearData(400, 500, 0, 1000);
    EXPECT_DOUBLE_EQ(r.minimum, 400.0);
    // Wider than the data: starts at the lower limit.
    r = KeepViewNearData(100, 2100, 0, 1000);
    EXPECT_DOUBLE_EQ(r.minimum, -200.0);
}

TEST(DayMarks, FirstMarkAtTheNextMidnight) {
    // T0 at 22:00 with 10 minute records: 12 points to midnight, then 144 a day.
    const double t0 = 36000.0 + 22.0 / 24.0;
    const std::vector<int> marks = DayMarkPoints(t0, 600, 300);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0], 12);
    EXPECT_EQ(marks[1], 156);
    EXPECT_TRUE(DayMarkPoints(t0, 0, 300).empty());
    // More than a day per record: every point starts a day, and the loop ends.
    EXPECT_EQ(DayMarkPoints(t0, 100000, 3), (std::vector<int>{0, 1, 2}));
}

TEST(DayMarks, InvalidPointTakesTheMidpointOfItsValidNeighbours) {
    const std::vector<PixelPoint> px = {{0, 0}, {10, 10}, {20, 21}, {31, 30}, {40, 40}};
    PixelPoint at;
    ASSERT_TRUE(DayMarkPosition(px, {true, true, false, false, true}, 2, at));
    EXPECT_EQ(at.x, 25);
    EXPECT_EQ(at.y, 25);
    ASSERT_TRUE(DayMarkPosition(px, {true, true, true, false, true}, 2, at));
    EXPECT_EQ(at.x, 20);
    // No valid point after it: no mark.
    EXPECT_FALSE(DayMarkPosition(px, {true, true, false, false, false}, 2, at));
    EXPECT_FALSE(DayMarkPosition(px, {true, true, true, true, true}, 5, at));
}

TEST(DayMarks, CrossArmsStayInsideThePlot) {
    EXPECT_TRUE(DayMarkCross({10, 50}, 10, 0, 100, 100).empty());
    const std::vector<PixelLine> full = DayMarkCross({50, 50}, 0, 0, 100, 100);
    ASSERT_EQ(full.size(), 2u);
    EXPECT_EQ(full[0].x0, 45);
    EXPECT_EQ(full[0].x1, 56);
    EXPECT_EQ(full[1].y0, 55);
    EXPECT_EQ(full[1].y1, 44);
    const std::vector<PixelLine> edge = DayMarkCross({12, 98}, 10, 0, 100, 100);
    EXPECT_EQ(edge[0].x0, 10);
    EXPECT_EQ(edge[0].y1, 101);  // b = min(5, 88, 2) = 2, end exclusive
    EXPECT_EQ(edge[1].y0, 100);
}

TEST(Sticks, OneMeanStickPerTwoPenWidths) {
    // Four records on two pixel columns: each stick is the mean of its pair.
    const std::vector<float> v = {10, 10, 20, -999};
    const std::vector<float> d = {testing::Radians(90), testing::Radians(0), testing::Radians(180),
                                  testing::Radians(0)};
    const std::vector<int> xs = {100, 101, 102, 103};
    const std::vector<PixelLine> s = StickLines(v, d, xs, 50, 1.0, 1);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].x0, 100);
    EXPECT_EQ(s[0].x1, 110);
    EXPECT_EQ(s[0].y1, 50);
    // Records 1 and 2: (0, 10) and (0, -20) give (0, -5).
    EXPECT_EQ(s[1].x0, 102);
    EXPECT_EQ(s[1].x1, 102);
    EXPECT_EQ(s[1].y1, 55);
}

TEST(Sectors, AllFluxInSectorSevenIsOneSpikeOf100) {
    SectorStatistics s;
    s.sectorWaterFlux[6] = 42.0f;
    s.sectorCount[6] = 3;
    s.sectorMaxSpeed[6] = 17.0f;
    SectorDiagrams d = BuildSectorDiagrams(s, kVectorFluxNumber, 600);
    EXPECT_DOUBLE_EQ(d.left.values[6], 100.0);
    EXPECT_DOUBLE_EQ(d.left.values[5], 0.0);
    EXPECT_DOUBLE_EQ(d.right.values[6], 3.0);
    EXPECT_EQ(d.left.legend, "Relative water flux (%)\rper 15 deg sector");
    EXPECT_DOUBLE_EQ(90.0 - SectorPolarAngle(6), 97.5);

    d = BuildSectorDiagrams(s, kVectorMaxMean, 600);
    EXPECT_DOUBLE_EQ(d.left.values[6], 17.0);
    EXPECT_NEAR(d.right.values[6], 42.0 / (3 * 600 * 0.01), 1e-9);
    EXPECT_DOUBLE_EQ(d.right.values[0], 0.0);
    EXPECT_TRUE(d.rightShown);

    // No flux at all: zeros, no division by zero.
    d = BuildSectorDiagrams(SectorStatistics{}, kVectorOxygenFlux, 600);
    EXPECT_FALSE(d.rightShown);
    EXPECT_DOUBLE_EQ(d.left.values[3], 0.0);
    EXPECT_EQ(d.left.legend, "Relative oxygen flux (%)\rper 15 deg sector");
    EXPECT_DOUBLE_EQ(BuildSectorDiagrams(SectorStatistics{}, kVectorFluxNumber, 600).left.values[0], 0.0);
}

}  // namespace
}  // namespace corvan
