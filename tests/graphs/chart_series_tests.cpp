#include "graphs/chart_series.h"

#include <gtest/gtest.h>

#include <numeric>

#include "stats_test_data.h"

namespace corvan {
namespace {

using testing::FillDataSet;
using testing::Rec;

void ExpectPoint(const ChartPoint& p, double x, double y) {
    EXPECT_FALSE(p.null);
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
}

TEST(DirectionLine, CrossesNorthInBothDirections) {
    // 350 then 10 at 600 s: up to 360 half-way, break, on from 0.
    std::vector<ChartPoint> p = DirectionPoints({350.0f, 10.0f}, 600.0);
    ASSERT_EQ(p.size(), 5u);
    ExpectPoint(p[0], 0, 350);
    ExpectPoint(p[1], 300, 360);
    EXPECT_TRUE(p[2].null);
    ExpectPoint(p[3], 300, 0);
    ExpectPoint(p[4], 600, 10);

    // 10 then 340: down to 0 a third of the way (10 of 30 degrees).
    p = DirectionPoints({10.0f, 340.0f}, 600.0);
    ASSERT_EQ(p.size(), 5u);
    ExpectPoint(p[1], 200, 0);
    ExpectPoint(p[3], 200, 360);
    ExpectPoint(p[4], 600, 340);

    // A jump of exactly 180 is drawn straight.
    EXPECT_EQ(DirectionPoints({90.0f, 270.0f}, 600.0).size(), 2u);
}

TEST(DirectionLine, NoCrossingAcrossAGap) {
    std::vector<ChartPoint> p = DirectionPoints({350.0f, -999.0f, 10.0f}, 600.0);
    ASSERT_EQ(p.size(), 3u);
    ExpectPoint(p[0], 0, 350);
    EXPECT_TRUE(p[1].null);
    ExpectPoint(p[2], 1200, 10);
    // An invalid first record does not make a crossing from -999.
    p = DirectionPoints({-999.0f, 350.0f, 10.0f}, 60.0);
    ASSERT_EQ(p.size(), 6u);
    EXPECT_TRUE(p[0].null);
    ExpectPoint(p[1], 60, 350);
    ExpectPoint(p[2], 90, 360);
}

TEST(LineGraph, SpeedWithAGapAndItsCaptions) {
    DataSet data;
    FillDataSet(data, {{10.0f, 5}, {-999.0f, 10}, {30.0f, 20}});
    ScaleSettings scale;
    scale.speedMin = 10.0f;
    scale.speedMax = 30.0f;
    LineGraph g = BuildLineGraph(data, scale, kLineSpeed);
    ASSERT_TRUE(g.drawn);
    EXPECT_EQ(g.leftCaption, "Current speed (cm/s)");
    EXPECT_EQ(g.labelFormat, "0.0");
    EXPECT_DOUBLE_EQ(g.bottomStep, 600.0);
    ASSERT_EQ(g.points.size(), 3u);
    ExpectPoint(g.points[0], 0, 10);
    EXPECT_TRUE(g.points[1].null);
    ExpectPoint(g.points[2], 1200, 30);
    EXPECT_DOUBLE_EQ(g.dataMinimum, 10.0);
    EXPECT_DOUBLE_EQ(g.dataMaximum, 30.0);

    g = BuildLineGraph(data, scale, kLineDirection);
    EXPECT_TRUE(g.direction);
    EXPECT_EQ(g.leftCaption, "Current dir (\u00B0)");
    EXPECT_EQ(g.labelFormat, "0");
    EXPECT_DOUBLE_EQ(g.dataMaximum, 360.0);
    ASSERT_EQ(g.points.size(), 3u);
    EXPECT_NEAR(g.points[2].y, 20.0, 1e-4);
}

TEST(LineGraph, NearlyFlatTemperatureGetsRoomBelow) {
    DataSet data;
    FillDataSet(data, {{10.0f, 5, 10.0f}, {10.0f, 5, 10.05f}});
    ScaleSettings scale;
    scale.temperatureMin = 10.0f;
    scale.temperatureMax = 10.05f;
    const LineGraph g = BuildLineGraph(data, scale, kLineTemperature);
    EXPECT_EQ(g.leftCaption, "Temperature (\u00B0C)");
    EXPECT_NEAR(g.dataMinimum, 9.9, 1e-6);
    EXPECT_NEAR(g.dataMaximum, 10.1, 1e-6);
    // A flat range near zero is not lowered.
    scale.temperatureMin = 0.05f;
    scale.temperatureMax = 0.06f;
    EXPECT_NEAR(BuildLineGraph(data, scale, kLineTemperature).dataMinimum, 0.05, 1e-6);
}

TEST(LineGraph, QuantitiesTheSeriesLacksStayEmpty) {
    DataSet data;
    FillDataSet(data, {{10.0f, 5}, {20.0f, 10}});
    ScaleSettings scale;
    for (int kind : {kLineOptional, kLineFlux, kLineOxygenMgl, kLineOxygenFlux}) {
        const LineGraph g = BuildLineGraph(data, scale, kind);
        EXPECT_FALSE(g.drawn) << kind;
        EXPECT_TRUE(g.points.empty()) << kind;
    }
    // A temperature logger (type 4) has temperature but no current.
    FillDataSet(data, {{10.0f, 5}, {20.0f, 10}}, 4);
    EXPECT_FALSE(BuildLineGraph(data, scale, kLineSpeed).drawn);
    EXPECT_TRUE(BuildLineGraph(data, scale, kLineTemperature).drawn);
    EXPECT_FALSE(BuildLineGraph(data, scale, 7).drawn);
}

TEST(LineGraph, FluxAndOxygenValues) {
    DataSet data;
    // Turbidity (kind 2) on an optional-sensor instrument.
    FillDataSet(data, {{50.0f, 5, 10.0f, 4.0f}, {-999.0f, 5, 10.0f, 4.0f}}, 3, 2);
    ScaleSettings scale;
    LineGraph g = BuildLineGraph(data, scale, kLineFlux);
    ASSERT_TRUE(g.drawn);
    EXPECT_EQ(g.leftCaption, std::string(data.FluxChannel().longName) + " (" + data.FluxChannel().unit + ")");
    ExpectPoint(g.points[0], 0, 2.0);
    EXPECT_TRUE(g.points[1].null);
    g = BuildLineGraph(data, scale, kLineOptional);
    ExpectPoint(g.points[1], 600, 4.0);

    // Oxygen (kind 1): the concentration never gaps, its flux does.
    FillDataSet(data, {{50.0f, 5, 10.0f, 90.0f}, {-999.0f, 5, 10.0f, 90.0f}}, 3, 1);
    g = BuildLineGraph(data, scale, kLineOxygenMgl);
    EXPECT_EQ(g.leftCaption, "Ox (mg/l)");
    const double mgl = OxygenMgL(data, 1, 10.0, 90.0);
    ExpectPoint(g.points[0], 0, mgl);
    ExpectPoint(g.points[1], 600, mgl);
    g = BuildLineGraph(data, scale, kLineOxygenFlux);
    EXPECT_EQ(g.leftCaption, "v * Ox (mg/l) (g/m\u00B2s)");
    ExpectPoint(g.points[0], 0, mgl * 50.0 / 100.0);
    EXPECT_TRUE(g.points[1].null);
}

struct Computed {
    DataSet data;
    ScaleSettings scale;
    Statistics stats;
    explicit Computed(const std::vector<Rec>& recs, int type = 0, int kind = 0) {
        FillDataSet(data, recs, type, kind);
        ComputeStatistics(data, scale, stats);
    }
};

TEST(BarGraph, SpeedClassesInNumbersAndPercent) {
    Computed c({{0.5f, 5}, {2.0f, 10}, {2.5f, 100}, {80.0f, 200}});
    BarGraph b = BuildBarGraph(c.data, c.stats, kBarSpeed, kBarScaleNumber);
    ASSERT_TRUE(b.drawn);
    EXPECT_EQ(b.modeCaption, "cm/s");
    EXPECT_EQ(b.leftCaption, "Number of measurements");
    ASSERT_EQ(b.labels.size(), 12u);
    EXPECT_EQ(b.labels[0], "0-1");
    EXPECT_EQ(b.labels[1], "1-3");
    EXPECT_EQ(b.labels[11], "75-100");
    EXPECT_DOUBLE_EQ(b.values[0], 1.0);
    EXPECT_DOUBLE_EQ(b.values[1], 2.0);
    EXPECT_DOUBLE_EQ(b.values[11], 1.0);
    EXPECT_DOUBLE_EQ(b.dataMaximum, 2.0);
    EXPECT_EQ(b.minimumLabelSpacing, 0);

    b = BuildBarGraph(c.data, c.stats, kBarSpeed, kBarScalePercent);
    EXPECT_EQ(b.leftCaption, "Percent of measurements");
    EXPECT_DOUBLE_EQ(std::accumulate(b.values.begin(), b.values.end(), 0.0), 100.0);
    EXPECT_DOUBLE_EQ(b.dataMaximum, 50.0);
    // Scale 0 behaves as the numbers.
    EXPECT_EQ(BuildBarGraph(c.data, c.stats, kBarSpeed, 0).leftCaption, "Number of measurements");
}

TEST(BarGraph, DirectionSectorsAndOxygenFluxWithoutFlux) {
    Computed c({{10.0f, 5}, {20.0f, 10}, {5.0f, 100}});
    BarGraph b = BuildBarGraph(c.data, c.stats, kBarDirection, kBarScaleNumber);
    ASSERT_EQ(b.labels.size(), 24u);
    EXPECT_EQ(b.labels[1], "15");
    EXPECT_EQ(b.labels[23], "345");
    EXPECT_EQ(b.modeCaption, "Deg");
    EXPECT_EQ(b.minimumLabelSpacing, 10);
    EXPECT_DOUBLE_EQ(std::accumulate(b.values.begin(), b.values.end(), 0.0), 3.0);
    // Two counts fall short of two increments of room.
    EXPECT_DOUBLE_EQ(b.dataMaximum, std::max(2.0, static_cast<double>(c.stats.sectors.maxSectorCount)));

    b = BuildBarGraph(c.data, c.stats, kBarOxygenFlux, kBarScalePercent);
    EXPECT_EQ(b.leftCaption, "Relative Ox flux");
    EXPECT_EQ(b.modeCaption, "g/m\u00B2");
    for (double v : b.values) EXPECT_EQ(v, 0.0);
    EXPECT_EQ(BuildBarGraph(c.data, c.stats, kBarOxygenFlux, kBarScaleNumber).leftCaption, "Total Ox flux");
}

TEST(BarGraph, NeedsReferenceDataAndTwoRecords) {
    Computed c({{10.0f, 5}, {20.0f, 10}});
    c.data.rangeLast = c.data.rangeFirst;
    EXPECT_FALSE(BuildBarGraph(c.data, c.stats, kBarSpeed, kBarScaleNumber).drawn);
    c.data.rangeLast = 1;
    c.data.referenceLoaded = false;
    EXPECT_FALSE(BuildBarGraph(c.data, c.stats, kBarDirection, kBarScaleNumber).drawn);
}

}  // namespace
}  // namespace corvan
