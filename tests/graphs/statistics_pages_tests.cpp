#include "graphs/statistics_pages.h"

#include <gtest/gtest.h>

#include <sstream>

#include "graphs/number_format.h"
#include "stats_test_data.h"

namespace corvan {
namespace {

using testing::FillDataSet;
using testing::Rec;

TEST(NumberFormat, RoundsHalvesAwayFromZeroOnTheExactValue) {
    EXPECT_EQ(FixedText(0.25, 1, 1), "0.3");
    EXPECT_EQ(FixedText(-0.25, 1, 1), "-0.3");
    EXPECT_EQ(FixedText(2.35f, 1, 1), "2.3");  // the float lies just below 2.35
    EXPECT_EQ(FixedText(1234.5, 6, 0), "  1235");
    EXPECT_EQ(FixedText(9.96, 5, 1), " 10.0");
    EXPECT_EQ(FixedText(999.96, 1, 1), "1000.0");
    EXPECT_EQ(FixedText(-0.04, 1, 1), "0.0");
    EXPECT_EQ(FixedText(12.345, 6, 1), "  12.3");
    EXPECT_EQ(FixedText(0.0, 6, 0), "     0");
}

TEST(NumberFormat, PrecisionSeparatorAndAlignment) {
    EXPECT_EQ(FormatFloatFixed(1234567.89, 7, 1, "."), "1234568.0");
    EXPECT_EQ(FormatFloatFixed(12345678.0, 7, 1, "."), "1.234568E7");
    EXPECT_EQ(FormatFloatFixed(2.25, 7, 1, ","), "2,3");
    EXPECT_EQ(FormatFloatFixed(0.000123, 10, 3, "."), "0.000");
    EXPECT_EQ(FormatAligned(5.5, 1, 6, ","), "      5,5");
    EXPECT_EQ(FormatAligned(58.3333, 3, 8, "."), "    58.333");
    EXPECT_EQ(FormatAligned(123456.7, 1, 6, "."), "123456.7");
    EXPECT_EQ(RoundHalfEven(12.6), 13);
    EXPECT_EQ(RoundHalfEven(12.5), 12);
    EXPECT_EQ(RoundHalfEven(13.5), 14);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.6), -3);
}

// Three valid speeds in two sectors and one record without speed.
struct KnownSet {
    DataSet data;
    ScaleSettings scale;
    Statistics stats;
    explicit KnownSet(int type = 0, int kind = 0, int interval = 600) {
        FillDataSet(data, {{10.0f, 5, 10, 1}, {20.0f, 10, 10, 2}, {5.0f, 100, 10, 3}, {-999.0f, 100, 10, 4}}, type,
                    kind, interval);
        ComputeStatistics(data, scale, stats);
    }
};

TEST(SummaryPage, TextsOfAKnownSet) {
    KnownSet k;
    const SummaryPageTexts t = SummaryTexts(k.data, k.stats, ".");
    EXPECT_EQ(t.mean[0], "    11.7");
    EXPECT_EQ(t.variance[0], "    58.333");
    EXPECT_EQ(t.stdDev[0], "      7.638");
    EXPECT_EQ(t.relStdDev[0], "      0.655");
    EXPECT_EQ(t.maxSpeed, "    20.0");
    EXPECT_EQ(t.minSpeed, "      5.0");
    EXPECT_EQ(t.significantMax, "    20.0");
    EXPECT_EQ(t.significantMin, "      5.0");
    EXPECT_EQ(t.validSpeed, "3");
    EXPECT_EQ(t.validDirection, "4");
    EXPECT_EQ(t.validTemperature, "4");
    EXPECT_TRUE(t.validRowVisible);
    EXPECT_EQ(SummaryTexts(k.data, k.stats, ",").mean[0], "    11,7");

    const std::string text = SummaryPageAsText(t);
    EXPECT_NE(text.find("Minimum  current velocity"), std::string::npos);
    EXPECT_NE(text.find("Valid measurements"), std::string::npos);
    EXPECT_NE(text.find("58.333"), std::string::npos);
}

TEST(SummaryPage, ValidRowHiddenWhenEverythingIsValid) {
    DataSet d;
    FillDataSet(d, {{1, 10}, {2, 20}, {3, 30}});
    ScaleSettings scale;
    Statistics stats;
    ComputeStatistics(d, scale, stats);
    const SummaryPageTexts t = SummaryTexts(d, stats, ".");
    EXPECT_FALSE(t.validRowVisible);
    EXPECT_EQ(SummaryPageAsText(t).find("Valid measurements"), std::string::npos);
    d.records[1].temperature = -999.0f;
    ComputeStatistics(d, scale, stats);
    EXPECT_TRUE(ValidMeasurementsRowVisible(d, stats.summary));
}

TEST(SummaryPage, TwoValidSpeedsShowZeroSpread) {
    DataSet d;
    FillDataSet(d, {{4, 10}, {6, 20}});
    ScaleSettings scale;
    Statistics stats;
    ComputeStatistics(d, scale, stats);
    const SummaryPageTexts t = SummaryTexts(d, stats, ".");
    EXPECT_EQ(t.mean[0], "      5.0");
    EXPECT_EQ(t.variance[0], "      0.000");
    EXPECT_EQ(t.stdDev[2], "      0.000");
    EXPECT_EQ(t.significantMax, "      0.0");
}

TEST(MatrixPage, CellsOfAKnownSet) {
    KnownSet k;
    const TextGrid g = MatrixCellTexts(k.data, k.stats);
    ASSERT_EQ(g.size(), 27u);
    ASSERT_EQ(g[0].size(), 17u);
    EXPECT_EQ(g[0][1], "Current speed groups");
    EXPECT_EQ(g[0][15], "Total flow");
    EXPECT_EQ(g[0][16], "Max");
    EXPECT_EQ(g[1][16], "curr");
    EXPECT_EQ(g[1][13], "Sum%");
    EXPECT_EQ(g[1][14], "m³/m²");
    EXPECT_EQ(g[1][15], "%");
    EXPECT_EQ(g[1][1], "1");
    EXPECT_EQ(g[1][12], "100");
    EXPECT_EQ(g[2][0], "0");
    EXPECT_EQ(g[25][0], "345");
    EXPECT_EQ(g[26][0], "Sum%");
    // Sector 1 (row 2): 10 cm/s in class 7, 20 cm/s in class 9.
    EXPECT_EQ(g[2][7], "1");
    EXPECT_EQ(g[2][9], "1");
    EXPECT_EQ(g[2][8], "0");
    EXPECT_EQ(g[2][13], " 66.7");
    EXPECT_EQ(g[2][14], "   180");
    EXPECT_EQ(g[2][15], "85.7");
    EXPECT_EQ(g[2][16], " 20.0");
    // Sector 7 (100 degrees): 5 cm/s in class 4.
    EXPECT_EQ(g[8][4], "1");
    EXPECT_EQ(g[8][13], " 33.3");
    EXPECT_EQ(g[8][14], "    30");
    EXPECT_EQ(g[8][15], "14.3");
    EXPECT_EQ(g[8][16], "  5.0");
    EXPECT_EQ(g[3][15], "0.0");
    EXPECT_EQ(g[3][13], "  0.0");
    EXPECT_EQ(g[26][7], "33.3");
    EXPECT_EQ(g[26][1], "0.0");
    EXPECT_EQ(g[26][14], "   210");
    EXPECT_EQ(g[26][16], " 20.0");

    const std::string text = MatrixPageAsText(g);
    EXPECT_NE(text.find("Current speed groups"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 30);
}

TEST(MatrixPage, ZeroTotalFlowShowsNoShare) {
    KnownSet k(0, 0, 0);
    const TextGrid g = MatrixCellTexts(k.data, k.stats);
    EXPECT_EQ(g[2][15], "0.0");
    EXPECT_EQ(g[2][14], "     0");
}

TEST(MatrixPage, CaptionsPerSensorKind) {
    KnownSet turbidity(3, 2);
    TextGrid g = MatrixCellTexts(turbidity.data, turbidity.stats);
    ASSERT_EQ(g[0].size(), 19u);
    EXPECT_EQ(g[0][18], "Tot. part. flux");
    EXPECT_EQ(g[1][17], "FTU g");
    EXPECT_EQ(g[1][18], "%");
    // 600 * (10 * 1 + 20 * 2) * 0.01 = 300 in sector 1, 600 * 5 * 3 * 0.01 = 90 in sector 7.
    EXPECT_EQ(g[2][17], "   300");
    EXPECT_EQ(g[2][18], "76.9");
    EXPECT_EQ(g[26][17], "   390");

    KnownSet fluorescence(3, 3);
    g = MatrixCellTexts(fluorescence.data, fluorescence.stats);
    EXPECT_EQ(g[0][18], "Tot. part. flux");
    EXPECT_EQ(g[1][17], "mg");

    KnownSet oxygen(3, 1);
    g = MatrixCellTexts(oxygen.data, oxygen.stats);
    EXPECT_EQ(g[0][18], "Tot. Ox. flux");
    EXPECT_EQ(g[1][17], "g/m²");

    KnownSet conductivity(3, 4);
    EXPECT_EQ(MatrixCellTexts(conductivity.data, conductivity.stats)[0].size(), 17u);
}

TEST(MatrixPage, HeaderFollowsTheSpeedRangeOnlyWhileValid) {
    DataSet d;
    FillDataSet(d, {{150, 10}, {20, 10}});
    ScaleSettings scale;
    Statistics stats;
    ComputeStatistics(d, scale, stats);
    TextGrid g = MatrixCellTexts(d, stats);
    EXPECT_EQ(g[1][12], "200");
    d.statisticsValid = false;
    g = MatrixCellTexts(d, stats);
    EXPECT_EQ(g[1][12], "100");
    EXPECT_EQ(g[2][1], "");
    EXPECT_EQ(g[2][0], "0");
}

TEST(InformationPanel, LabelsOfAKnownSet) {
    KnownSet k;
    InformationPanelTexts t = InformationTexts(k.data, "buoy.CVN");
    EXPECT_EQ(t.fileName, "File name: buoy.CVN");
    EXPECT_EQ(t.seriesNumber, "Series number: 1");
    EXPECT_EQ(t.refNumber, "Ref. number: 4711");
    EXPECT_EQ(t.intervalTime, "Interval time: 10 Minutes");
    EXPECT_EQ(t.displayedFromTo, "Data displayed from: 12:10 - 25.Feb-97   To: 12:40 - 25.Feb-97");
    EXPECT_EQ(t.measurementCount, "Number of measurements in data set: 4");
    EXPECT_EQ(IntervalMinutesText(630), "10:30");
    EXPECT_EQ(IntervalMinutesText(90), "1:30");
    k.data.statisticsValid = false;
    t = InformationTexts(k.data, "buoy.CVN");
    EXPECT_EQ(t.fileName, "File name: ");
    EXPECT_EQ(t.displayedFromTo, "Data displayed from: ");
}

}  // namespace
}  // namespace corvan
